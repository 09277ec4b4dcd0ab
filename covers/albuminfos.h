#pragma once

#include "covers/recuperation.h"
#include "settings/chemins.h"

#include <QMap>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class QAuthenticator;
class QNetworkAccessManager;

// Sends the signed product searches of the cover search and stores the
// answer in "//data//tutu.xml".
class AlbumInfos : public QObject
{
    Q_OBJECT

public:
    explicit AlbumInfos(
        QObject* parent = nullptr, const Chemins& chemins = Chemins::dossierCourant());

    QNetworkAccessManager* getManager() const { return manager; }
    void envoyerRequete(const QString& aRechercher);
    // Limits of the search answers (ms): silence, whole exchange.
    void setDelais(int silenceMax, int dureeMax)
    {
        limites.silenceMax = silenceMax;
        limites.dureeMax = dureeMax;
    }

signals:
    void xmlFinished(int);
    // An answer given up (too large, too slow), before its xmlFinished(-1).
    void echecRecherche(QString texte);

public slots:
    void xmlDownloaded(QNetworkReply* aReply);
    // Hears every search reply's errors and does nothing: the outcome is read
    // from the answer once it has finished.
    void traitementErreur(QNetworkReply::NetworkError aErreur);
    void Proxy(QNetworkProxy Proxy, QAuthenticator* aId);
    void setProxy(QString aAdd, QString aPort, QString aLogin, QString aPassword);

private:
    QByteArray calculerSignature(const QMap<QString, QString>& parametres) const;
    QUrl construireUrl(const QMap<QString, QString>& parametres) const;

    QNetworkAccessManager* manager = nullptr;
    Chemins chemins;
    // Read from the settings file at every request.
    QUrl endpoint;
    QByteArray secretKey;
    QPointer<Recuperation> rechercheEnCours;
    // A redirection is an answer like any other: stored, never followed.
    Recuperation::Limites limites = Recuperation::pourReponse(false);
    QString proxyAdresse;
    QString proxyPort;
    QString proxyLogin;
    QString proxyPassword;
};
