#pragma once

#include "covers/sourcescouvertures.h"

#include "covers/recuperation.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTimer>

#include <functional>

class QNetworkAccessManager;

// Sends GET requests through a queue that keeps to the Cadence: requests to
// a busy or recently used host wait their turn, others go at once. Every
// request carries "User-Agent: Phylacto/<version>" and the limits of a
// Recuperation, so that a silent host frees its turn.
class Cadenceur : public QObject
{
    Q_OBJECT

public:
    using Fin = std::function<void(const Recuperation&)>;

    Cadenceur(QNetworkAccessManager* manager, QObject* parent = nullptr);

    // fin receives the finished exchange (deleted afterwards); nothing is
    // delivered once contexte is gone or the queue was emptied. An image
    // may be larger than a search answer.
    void envoyer(const QUrl& url, bool image, QObject* contexte, Fin fin);
    // Forgets the requests not yet sent and gives up the exchanges under
    // way, so that a slow host does not hold back the next search: those of
    // one asker, or everyone's. Nothing is delivered for them.
    void vider(const QObject* contexte = nullptr);
    // ms: silence, whole exchange.
    void setDelais(int silenceMax, int dureeMax)
    {
        m_silenceMax = silenceMax;
        m_dureeMax = dureeMax;
    }
    void setIntervalle(int ms) { m_cadence.setIntervalle(ms); }

    static QByteArray agentUtilisateur();

private:
    struct EnAttente
    {
        QUrl url;
        bool image = false;
        QPointer<QObject> contexte;
        Fin fin;
    };
    struct Envoyee
    {
        QPointer<Recuperation> recuperation;
        const QObject* contexte = nullptr; // compared, never used
    };

    void avancer();
    void partir(const EnAttente& demande);

    QNetworkAccessManager* m_manager = nullptr;
    SourcesCouvertures::Cadence m_cadence;
    QList<EnAttente> m_file;
    QList<Envoyee> m_envoyees;
    QSet<const Recuperation*> m_ecartees; // given up by vider(): nothing to deliver
    QElapsedTimer m_horloge;
    QTimer m_minuterie;
    int m_silenceMax = Recuperation::Limites().silenceMax;
    int m_dureeMax = Recuperation::Limites().dureeMax;
};
