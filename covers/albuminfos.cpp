#include "covers/albuminfos.h"

#include <QAuthenticator>
#include <QNetworkAccessManager>

AlbumInfos::AlbumInfos(QObject* parent)
    : QObject(parent)
    , manager(new QNetworkAccessManager(this))
{
}

void AlbumInfos::envoyerRequete(const QString& aRechercher)
{
    Q_UNUSED(aRechercher);
}

void AlbumInfos::xmlDownloaded(QNetworkReply* aReply)
{
    Q_UNUSED(aReply);
}

void AlbumInfos::traitementErreur(QNetworkReply::NetworkError aErreur)
{
    Q_UNUSED(aErreur);
}

void AlbumInfos::Proxy(QNetworkProxy Proxy, QAuthenticator* aId)
{
    Q_UNUSED(Proxy);
    Q_UNUSED(aId);
}

void AlbumInfos::setProxy(QString aAdd, QString aPort, QString aLogin, QString aPassword)
{
    proxyAdresse = aAdd;
    proxyPort = aPort;
    proxyLogin = aLogin;
    proxyPassword = aPassword;
}
