#pragma once

#include <QNetworkProxy>
#include <QNetworkReply>
#include <QObject>
#include <QString>

class QAuthenticator;
class QNetworkAccessManager;

// Sends the signed product searches of the cover search and stores the
// answer in "//data//tutu.xml".
class AlbumInfos : public QObject
{
    Q_OBJECT

public:
    explicit AlbumInfos(QObject* parent = nullptr);

    QNetworkAccessManager* getManager() const { return manager; }
    void envoyerRequete(const QString& aRechercher);

signals:
    void xmlFinished(int);

public slots:
    void xmlDownloaded(QNetworkReply* aReply);
    void traitementErreur(QNetworkReply::NetworkError aErreur);
    void Proxy(QNetworkProxy Proxy, QAuthenticator* aId);
    void setProxy(QString aAdd, QString aPort, QString aLogin, QString aPassword);

private:
    QNetworkAccessManager* manager = nullptr;
    QString proxyAdresse;
    QString proxyPort;
    QString proxyLogin;
    QString proxyPassword;
};
