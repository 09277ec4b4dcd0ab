#include "covers/signature.h"

#include "settings/parametres.h"

#include <QDateTime>
#include <QFile>
#include <QMessageAuthenticationCode>
#include <QSettings>
#include <QXmlStreamReader>

namespace Signature {

Service serviceParDefaut()
{
    // Placeholders of the right shapes: a 20-character key id and a 40-character
    // secret. A deployment provides its own through the settings file.
    return { QUrl(QStringLiteral("http://webservices.amazon.fr/onca/xml")),
        QStringLiteral("PLACEHOLDERACCESSKEY"),
        QByteArrayLiteral("PLACEHOLDER/secret+key/NOT/A/REAL/ONE000"), QStringLiteral("comics") };
}

Service serviceDepuis(const QString& fichierParametres)
{
    Service service = serviceParDefaut();
    if (!QFile::exists(fichierParametres))
        return service;
    const QSettings parametres(fichierParametres, QSettings::IniFormat);
    const QString endpoint = Parametres::lire(parametres, Parametres::Cle::AmazonEndpoint);
    const QString accessKeyId = Parametres::lire(parametres, Parametres::Cle::AmazonCle);
    const QString secretKey = Parametres::lire(parametres, Parametres::Cle::AmazonSecret);
    if (!endpoint.isEmpty())
        service.endpoint = QUrl(endpoint);
    if (!accessKeyId.isEmpty())
        service.accessKeyId = accessKeyId;
    if (!secretKey.isEmpty())
        service.secretKey = secretKey.toUtf8();
    return service;
}

QByteArray encoderPourcent(const QString& texte)
{
    return QUrl::toPercentEncoding(texte);
}

QByteArray horodatage()
{
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toUtf8();
}

QMap<QString, QString> parametresRecherche(
    const QString& rechercher, const Service& service, const QByteArray& horodatage)
{
    QMap<QString, QString> parametres;
    parametres.insert(QStringLiteral("AWSAccessKeyId"), service.accessKeyId);
    parametres.insert(QStringLiteral("ResponseGroup"), QStringLiteral("Images"));
    parametres.insert(QStringLiteral("Keywords"), QString::fromLatin1(encoderPourcent(rechercher)));
    parametres.insert(QStringLiteral("Operation"), QStringLiteral("ItemSearch"));
    parametres.insert(QStringLiteral("SearchIndex"), QStringLiteral("Books"));
    parametres.insert(QStringLiteral("Service"), QStringLiteral("AWSECommerceService"));
    parametres.insert(QStringLiteral("SignatureMethod"), QStringLiteral("HmacSHA1"));
    parametres.insert(QStringLiteral("SignatureVersion"), QStringLiteral("2"));
    parametres.insert(QStringLiteral("AssociateTag"), service.associateTag);
    parametres.insert(QStringLiteral("Timestamp"),
        QString::fromLatin1(encoderPourcent(QString::fromUtf8(horodatage))));
    return parametres;
}

QByteArray requete(const QMap<QString, QString>& parametres)
{
    QByteArray resultat;
    for (auto it = parametres.cbegin(); it != parametres.cend(); ++it) {
        if (!resultat.isEmpty())
            resultat += '&';
        resultat += it.key().toUtf8() + '=' + it.value().toUtf8();
    }
    return resultat;
}

QByteArray chaineASigner(const QUrl& endpoint, const QMap<QString, QString>& parametres)
{
    return "GET\n" + endpoint.host().toUtf8() + '\n' + endpoint.path().toUtf8() + '\n'
        + requete(parametres);
}

QByteArray signer(const QByteArray& chaineASigner, const QByteArray& secretKey)
{
    return encoderPourcent(::hmacSha1(secretKey, chaineASigner));
}

QUrl construireUrl(const QUrl& endpoint, const QMap<QString, QString>& parametres)
{
    // Built as bytes and parsed once, strictly, so that the encoded items
    // reach the wire exactly as they were signed.
    QByteArray base = endpoint.toEncoded(QUrl::RemoveQuery | QUrl::RemoveFragment);
    return QUrl::fromEncoded(base + '?' + requete(parametres), QUrl::StrictMode);
}

ImageTrouvee urlGrandeImage(const QByteArray& xml, int rang)
{
    ImageTrouvee resultat;
    QXmlStreamReader lecteur(xml);
    int compteur = 0;
    while (!lecteur.atEnd() && !lecteur.hasError()) {
        lecteur.readNext();
        if (!lecteur.isStartElement() || lecteur.name() != QLatin1String("LargeImage"))
            continue;
        while (!lecteur.atEnd() && !lecteur.hasError() && lecteur.name() != QLatin1String("URL"))
            lecteur.readNext();
        if (lecteur.atEnd() || lecteur.hasError())
            break;
        if (compteur == rang) {
            lecteur.readNext();
            resultat.trouvee = !lecteur.hasError();
            resultat.url = lecteur.text().toLatin1();
            break;
        }
        ++compteur;
    }
    if (lecteur.hasError())
        resultat.erreur = lecteur.errorString();
    return resultat;
}

} // namespace Signature

QString hmacSha1(const QByteArray& cle, const QByteArray& message)
{
    return QString::fromLatin1(
        QMessageAuthenticationCode::hash(message, cle, QCryptographicHash::Sha1).toBase64());
}
