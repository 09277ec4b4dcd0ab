#pragma once

#include <QObject>
#include <QString>

class QNetworkAccessManager;

// Sends the signed product searches of the cover search.
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
    void setProxy(QString aAdd, QString aPort, QString aLogin, QString aPassword);

private:
    QNetworkAccessManager* manager = nullptr;
    QString proxyAdresse;
    QString proxyPort;
    QString proxyLogin;
    QString proxyPassword;
};
