#include "covers/albuminfos.h"

#include "covers/signature.h"

#include <QAuthenticator>
#include <QFile>
#include <QNetworkAccessManager>

namespace {
// Answer of this program to a proxy that keeps asking for credentials.
const QString utilisateurProxy = QStringLiteral("phylact");
const QString motDePasseProxy = QStringLiteral("bdth3que!2");
}

AlbumInfos::AlbumInfos(QObject* parent, const Chemins& chemins)
    : QObject(parent)
    , manager(new QNetworkAccessManager(this))
    , chemins(chemins)
{
}

void AlbumInfos::envoyerRequete(const QString& aRechercher)
{
    QFile::remove(chemins.reponseRecherche());

    const Signature::Service service = Signature::serviceDepuis(chemins.fichierParametres());
    endpoint = service.endpoint;
    secretKey = service.secretKey;

    QMap<QString, QString> parametres
        = Signature::parametresRecherche(aRechercher, service, Signature::horodatage());
    parametres.insert(
        QStringLiteral("Signature"), QString::fromLatin1(calculerSignature(parametres)));
    const QUrl url = construireUrl(parametres);

    QNetworkProxy proxy(QNetworkProxy::HttpProxy, proxyAdresse, quint16(proxyPort.toInt()),
        proxyLogin, proxyPassword);
    if (!proxyAdresse.isEmpty())
        manager->setProxy(proxy);

    connect(manager, &QNetworkAccessManager::proxyAuthenticationRequired, this, &AlbumInfos::Proxy,
        Qt::UniqueConnection);

    // A search sent before the previous one has completed replaces it: the
    // older answer is dropped when it arrives.
    if (rechercheEnCours)
        disconnect(rechercheEnCours, nullptr, this, nullptr);
    rechercheEnCours = new Recuperation(manager, QNetworkRequest(url), limites);
    connect(rechercheEnCours, &Recuperation::terminee, this,
        [this] { xmlDownloaded(rechercheEnCours->reponse()); });
    connect(rechercheEnCours->reponse(), &QNetworkReply::errorOccurred, this,
        &AlbumInfos::traitementErreur);
}

QByteArray AlbumInfos::calculerSignature(const QMap<QString, QString>& parametres) const
{
    const QByteArray chaine = Signature::chaineASigner(endpoint, parametres);
    QFile fichier(chemins.signature());
    if (fichier.open(QIODevice::WriteOnly | QIODevice::Truncate))
        fichier.write(chaine);
    return Signature::signer(chaine, secretKey);
}

QUrl AlbumInfos::construireUrl(const QMap<QString, QString>& parametres) const
{
    return Signature::construireUrl(endpoint, parametres);
}

void AlbumInfos::xmlDownloaded(QNetworkReply* aReply)
{
    // Only the reply of the search under way: the image downloads share the manager.
    if (!rechercheEnCours || aReply != rechercheEnCours->reponse())
        return;
    const QByteArray corps = rechercheEnCours->corps();
    const QString refus = rechercheEnCours->refus();
    rechercheEnCours = nullptr;

    // Reported like an empty answer, once the user knows why.
    if (!refus.isEmpty())
        emit echecRecherche(tr("La recherche de couverture a échoué : %1").arg(refus));
    if (corps.isEmpty()) {
        emit xmlFinished(-1);
        return;
    }
    QFile fichier(chemins.reponseRecherche());
    if (fichier.open(QIODevice::WriteOnly))
        fichier.write(corps);
    fichier.close();
    emit xmlFinished(0);
}

void AlbumInfos::traitementErreur(QNetworkReply::NetworkError aErreur)
{
    // The outcome is read from the body in xmlDownloaded.
    Q_UNUSED(aErreur);
}

void AlbumInfos::Proxy(QNetworkProxy Proxy, QAuthenticator* aId)
{
    Q_UNUSED(Proxy);
    aId->setUser(utilisateurProxy);
    aId->setPassword(motDePasseProxy);
}

void AlbumInfos::setProxy(QString aAdd, QString aPort, QString aLogin, QString aPassword)
{
    proxyAdresse = aAdd;
    proxyPort = aPort;
    proxyLogin = aLogin;
    proxyPassword = aPassword;
}
