#pragma once

#include "covers/sourcescouvertures.h"

#include <QElapsedTimer>
#include <QList>
#include <QNetworkRequest>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

class QNetworkAccessManager;
class QNetworkReply;

// Sends GET requests through a queue that keeps to the Cadence: requests to
// a busy or recently used host wait their turn, others go at once. Every
// request carries "User-Agent: Phylacto/<version>" and the transfer timeout.
class Cadenceur : public QObject
{
    Q_OBJECT

public:
    using Fin = std::function<void(QNetworkReply*)>;

    Cadenceur(QNetworkAccessManager* manager, QObject* parent = nullptr);

    // fin receives the finished reply (deleted afterwards); nothing is
    // delivered once contexte is gone or the queue was emptied.
    void envoyer(const QUrl& url, QObject* contexte, Fin fin);
    // Forgets the requests not yet sent and the answers still awaited.
    void vider();
    void setDelaiTransfert(int millisecondes) { m_delaiTransfert = millisecondes; }

    static QByteArray agentUtilisateur();

private:
    struct EnAttente
    {
        QUrl url;
        QPointer<QObject> contexte;
        Fin fin;
        quint64 generation = 0;
    };

    void avancer();
    void partir(const EnAttente& demande);

    QNetworkAccessManager* m_manager = nullptr;
    SourcesCouvertures::Cadence m_cadence;
    QList<EnAttente> m_file;
    QElapsedTimer m_horloge;
    QTimer m_minuterie;
    quint64 m_generation = 0;
    int m_delaiTransfert = 30000;
};
