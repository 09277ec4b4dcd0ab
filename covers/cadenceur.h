#pragma once

#include "covers/sourcescouvertures.h"

#include "covers/recuperation.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
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
    // way, so that a slow host does not hold back the next search.
    void vider();
    // ms: silence, whole exchange.
    void setDelais(int silenceMax, int dureeMax)
    {
        m_silenceMax = silenceMax;
        m_dureeMax = dureeMax;
    }

    static QByteArray agentUtilisateur();

private:
    struct EnAttente
    {
        QUrl url;
        bool image = false;
        QPointer<QObject> contexte;
        Fin fin;
        quint64 generation = 0;
    };

    void avancer();
    void partir(const EnAttente& demande);

    QNetworkAccessManager* m_manager = nullptr;
    SourcesCouvertures::Cadence m_cadence;
    QList<EnAttente> m_file;
    QList<QPointer<Recuperation>> m_envoyees;
    QElapsedTimer m_horloge;
    QTimer m_minuterie;
    quint64 m_generation = 0;
    int m_silenceMax = Recuperation::Limites().silenceMax;
    int m_dureeMax = Recuperation::Limites().dureeMax;
};
