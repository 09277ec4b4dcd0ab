#pragma once

#include <QByteArray>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class QNetworkAccessManager;

// One GET with its limits, whatever the server does: a body larger than the
// cap is refused (on the announced length, and while it arrives), a server
// that goes silent or never finishes is given up, and redirections are
// followed only a few times and only over HTTP(S). Ends exactly once with
// terminee(), then deletes itself; a child of the manager, so it outlives
// whoever asked and goes with the manager at the latest.
class Recuperation : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 tailleMaxReponse = qint64(8) << 20;
    static constexpr qint64 tailleMaxImage = qint64(20) << 20;
    static constexpr int redirectionsSuivies = 5;

    struct Limites
    {
        qint64 tailleMax = tailleMaxReponse;
        bool image = false; // names what was refused
        // 0: a redirection is the answer itself, as any other.
        int redirectionsMax = redirectionsSuivies;
        int silenceMax = 30000; // ms without a byte
        // ms for the whole exchange: a trickle never goes silent.
        int dureeMax = 120000;
    };
    static Limites pourReponse(bool suivreRedirections);
    static Limites pourImage(bool suivreRedirections);

    // Sends at once; the request's redirect policy is replaced.
    Recuperation(QNetworkAccessManager* manager, const QNetworkRequest& requete,
        const Limites& limites);
    ~Recuperation() override;

    // Ends it at once, as refused, when its answer is no longer wanted.
    void abandonner();

    // Valid from terminee() until the object is deleted.
    QByteArray corps() const { return m_corps; }
    int statut() const;
    // The last reply (the answer after the redirections followed).
    QNetworkReply* reponse() const { return m_reponse; }
    // Why the exchange was given up by its limits; the body is then empty.
    QString refus() const { return m_refus; }
    // The refusal, or the network failure when no answer came (an HTTP
    // error status with its body is an answer); empty otherwise.
    QString erreur() const;

signals:
    void terminee();

private:
    void envoyer();
    QString texteTropVolumineux() const;
    void verifierEntetes();
    bool lire(); // false when the cap is passed (the exchange is then refused)
    void finReponse();
    void refuser(const QString& raison);
    void terminer();

    QNetworkAccessManager* m_manager = nullptr;
    QNetworkRequest m_requete;
    Limites m_limites;
    QPointer<QNetworkReply> m_reponse;
    QByteArray m_corps;
    QString m_refus;
    QTimer m_silence;
    QTimer m_duree;
    int m_redirections = 0;
    bool m_terminee = false;
};
