#include "covers/cadenceur.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QSet>

Cadenceur::Cadenceur(QNetworkAccessManager* manager, QObject* parent)
    : QObject(parent)
    , m_manager(manager)
{
    m_horloge.start();
    m_minuterie.setSingleShot(true);
    // A coarse timer may fire a little early; the wait is checked again anyway.
    m_minuterie.setTimerType(Qt::PreciseTimer);
    connect(&m_minuterie, &QTimer::timeout, this, &Cadenceur::avancer);
}

QByteArray Cadenceur::agentUtilisateur()
{
    const QString version = QCoreApplication::applicationVersion();
    return version.isEmpty() ? QByteArrayLiteral("Phylacto") : "Phylacto/" + version.toUtf8();
}

void Cadenceur::envoyer(const QUrl& url, bool image, QObject* contexte, Fin fin)
{
    m_file.append({ url, image, contexte, std::move(fin) });
    avancer();
}

void Cadenceur::vider(const QObject* contexte)
{
    m_file.removeIf(
        [contexte](const EnAttente& demande) { return !contexte || demande.contexte == contexte; });
    const QList<Envoyee> envoyees = m_envoyees;
    for (const Envoyee& envoyee : envoyees) {
        if (envoyee.recuperation && (!contexte || envoyee.contexte == contexte)) {
            m_ecartees.insert(envoyee.recuperation);
            envoyee.recuperation->abandonner();
        }
    }
}

void Cadenceur::avancer()
{
    qint64 prochaine = -1;
    // A host keeps its own order: a request never overtakes an older one to
    // the same host.
    QSet<QString> hotesPasses;
    for (int i = 0; i < m_file.size();) {
        // Its asker is gone (the window closing): nothing to send for it.
        if (!m_file.at(i).contexte) {
            m_file.removeAt(i);
            continue;
        }
        const QString hote = m_file.at(i).url.host();
        const qint64 attente
            = hotesPasses.contains(hote) ? -1 : m_cadence.attente(hote, m_horloge.elapsed());
        hotesPasses.insert(hote);
        if (attente == 0) {
            partir(m_file.takeAt(i));
            continue;
        }
        if (attente > 0 && (prochaine < 0 || attente < prochaine))
            prochaine = attente;
        ++i;
    }
    if (prochaine >= 0)
        m_minuterie.start(int(prochaine));
}

void Cadenceur::partir(const EnAttente& demande)
{
    const QString hote = demande.url.host();
    QNetworkRequest requete(demande.url);
    requete.setHeader(QNetworkRequest::UserAgentHeader, agentUtilisateur());
    // Covers may move, a few times, but never from https down to http.
    Recuperation::Limites limites
        = demande.image ? Recuperation::pourImage(true) : Recuperation::pourReponse(true);
    limites.silenceMax = m_silenceMax;
    limites.dureeMax = m_dureeMax;
    m_cadence.envoye(hote);
    auto* recuperation = new Recuperation(m_manager, requete, limites);
    m_envoyees.append({ recuperation, demande.contexte.data() });
    connect(recuperation, &Recuperation::terminee, this, [this, recuperation, hote, demande] {
        m_envoyees.removeIf([recuperation](const Envoyee& envoyee) {
            return envoyee.recuperation == recuperation;
        });
        m_cadence.termine(hote, m_horloge.elapsed());
        const bool ecartee = m_ecartees.remove(recuperation);
        if (demande.contexte && !ecartee)
            demande.fin(*recuperation);
        avancer();
    });
}
