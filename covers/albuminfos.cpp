#include "covers/albuminfos.h"

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

void AlbumInfos::setProxy(QString aAdd, QString aPort, QString aLogin, QString aPassword)
{
    proxyAdresse = aAdd;
    proxyPort = aPort;
    proxyLogin = aLogin;
    proxyPassword = aPassword;
}
