#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QUrl>

// The signed ItemSearch request and the reading of its answer, without any
// network: everything AlbumInfos and Xml_Dom compute lives here.
namespace Signature {

// Where the requests go and how they are signed. The compiled values are
// placeholders; "AMAZON/Endpoint", "AMAZON/AccessKeyId" and "AMAZON/SecretKey"
// of the settings file replace them.
struct Service
{
    QUrl endpoint;
    QString accessKeyId;
    QByteArray secretKey;
    QString associateTag;
};

Service serviceParDefaut();
// The compiled service, overridden by the non-empty "AMAZON/..." keys of that INI file.
Service serviceDepuis(const QString& fichierParametres);

// Every UTF-8 byte but A-Z a-z 0-9 - . _ ~ as %XX (upper-case hex).
QByteArray encoderPourcent(const QString& texte);

// Current UTC time as 2014-05-19T08:05:09Z.
QByteArray horodatage();

// The ten request parameters, values already percent-encoded, sorted by key.
QMap<QString, QString> parametresRecherche(
    const QString& rechercher, const Service& service, const QByteArray& horodatage);

// key=value&key=value... in key order, values taken as they are.
QByteArray requete(const QMap<QString, QString>& parametres);

// "GET\n" host "\n" path "\n" then the sorted query.
QByteArray chaineASigner(const QUrl& endpoint, const QMap<QString, QString>& parametres);

// Percent-encoded signature of the string to sign.
QByteArray signer(const QByteArray& chaineASigner, const QByteArray& secretKey);

// Endpoint followed by the already encoded query; nothing is encoded again.
QUrl construireUrl(const QUrl& endpoint, const QMap<QString, QString>& parametres);

// Result of looking for the "URL" of the LargeImage of a given rank.
struct ImageTrouvee
{
    bool trouvee = false;
    QByteArray url; // Latin-1 bytes of the element's text
    QString erreur; // reader's message when the document is not well-formed
};
ImageTrouvee urlGrandeImage(const QByteArray& xml, int rang);

} // namespace Signature

// Base64 of HMAC-SHA1(key, message) (RFC 2104), 28 characters.
QString hmacSha1(const QByteArray& cle, const QByteArray& message);
