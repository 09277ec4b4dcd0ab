#include "covers/recuperation.h"

#include <QNetworkAccessManager>

namespace {

QString duree(int millisecondes)
{
    return millisecondes % 1000 == 0 ? QStringLiteral("%1 s").arg(millisecondes / 1000)
                                     : QStringLiteral("%1 ms").arg(millisecondes);
}

// The codes Qt itself would follow.
bool estRedirection(int statut)
{
    return statut == 301 || statut == 302 || statut == 303 || statut == 307 || statut == 308;
}

} // namespace

Recuperation::Limites Recuperation::pourReponse(bool suivreRedirections)
{
    Limites limites;
    limites.redirectionsMax = suivreRedirections ? redirectionsSuivies : 0;
    return limites;
}

Recuperation::Limites Recuperation::pourImage(bool suivreRedirections)
{
    Limites limites = pourReponse(suivreRedirections);
    limites.tailleMax = tailleMaxImage;
    limites.image = true;
    return limites;
}

Recuperation::Recuperation(
    QNetworkAccessManager* manager, const QNetworkRequest& requete, const Limites& limites)
    : QObject(manager)
    , m_manager(manager)
    , m_requete(requete)
    , m_limites(limites)
{
    // Followed here, where they are counted and their scheme checked.
    m_requete.setAttribute(
        QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    m_silence.setSingleShot(true);
    m_duree.setSingleShot(true);
    connect(&m_silence, &QTimer::timeout, this, [this] {
        refuser(tr("le serveur ne répond plus (aucune donnée depuis %1)")
                    .arg(duree(m_limites.silenceMax)));
    });
    connect(&m_duree, &QTimer::timeout, this, [this] {
        refuser(tr("délai dépassé (pas de réponse complète en %1)").arg(duree(m_limites.dureeMax)));
    });
    m_duree.start(m_limites.dureeMax);
    envoyer();
}

Recuperation::~Recuperation()
{
    if (m_reponse) {
        m_reponse->disconnect(this);
        delete m_reponse;
    }
}

void Recuperation::abandonner()
{
    refuser(tr("échange abandonné"));
}

int Recuperation::statut() const
{
    return m_reponse ? m_reponse->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() : 0;
}

QString Recuperation::erreur() const
{
    if (!m_refus.isEmpty())
        return m_refus;
    if (!m_reponse || m_reponse->error() == QNetworkReply::NoError)
        return QString();
    if (statut() != 0 && m_reponse->error() >= QNetworkReply::ContentAccessDenied)
        return QString();
    return tr("erreur réseau (%1)").arg(m_reponse->errorString());
}

void Recuperation::envoyer()
{
    m_corps.clear();
    m_reponse = m_manager->get(m_requete);
    m_reponse->setParent(this);
    // Qt would otherwise take in whatever the server sends, ahead of us.
    m_reponse->setReadBufferSize(256 * 1024);
    connect(m_reponse, &QNetworkReply::metaDataChanged, this, &Recuperation::verifierEntetes);
    connect(m_reponse, &QNetworkReply::readyRead, this, &Recuperation::lire);
    connect(m_reponse, &QNetworkReply::finished, this, &Recuperation::finReponse);
    m_silence.start(m_limites.silenceMax);
}

QString Recuperation::texteTropVolumineux() const
{
    const qint64 mo = m_limites.tailleMax >> 20;
    return m_limites.image ? tr("image trop volumineuse (plus de %1 Mo)").arg(mo)
                           : tr("réponse trop volumineuse (plus de %1 Mo)").arg(mo);
}

void Recuperation::verifierEntetes()
{
    m_silence.start(m_limites.silenceMax);
    const QVariant annoncee = m_reponse->header(QNetworkRequest::ContentLengthHeader);
    if (annoncee.isValid() && annoncee.toLongLong() > m_limites.tailleMax) {
        refuser(texteTropVolumineux());
        return;
    }
    // Room for the whole body at once: grown by steps, it would take up to
    // twice the cap while being copied. Only the pages written are used.
    m_corps.reserve(annoncee.isValid() ? annoncee.toLongLong() : m_limites.tailleMax);
}

bool Recuperation::lire()
{
    m_silence.start(m_limites.silenceMax);
    if (m_corps.size() + m_reponse->bytesAvailable() > m_limites.tailleMax) {
        refuser(texteTropVolumineux());
        return false;
    }
    m_corps += m_reponse->readAll();
    return true;
}

void Recuperation::finReponse()
{
    if (!lire())
        return;
    const QUrl cible = m_reponse->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
    if (m_limites.redirectionsMax == 0 || !estRedirection(statut()) || cible.isEmpty()) {
        terminer();
        return;
    }
    if (++m_redirections > m_limites.redirectionsMax) {
        refuser(tr("trop de redirections (plus de %1)").arg(m_limites.redirectionsMax));
        return;
    }
    const QUrl suivante = m_reponse->url().resolved(cible);
    const QString schema = suivante.scheme();
    // Never elsewhere than HTTP, and never down from https to http.
    if ((schema != QLatin1String("http") && schema != QLatin1String("https"))
        || (schema == QLatin1String("http") && m_requete.url().scheme() == QLatin1String("https"))) {
        refuser(tr("redirection refusée vers %1").arg(suivante.toDisplayString()));
        return;
    }
    m_reponse->disconnect(this);
    m_reponse->deleteLater();
    m_requete.setUrl(suivante);
    envoyer();
}

void Recuperation::refuser(const QString& raison)
{
    if (m_terminee)
        return;
    m_refus = raison;
    m_corps = QByteArray();
    if (m_reponse) {
        m_reponse->disconnect(this);
        m_reponse->abort();
    }
    terminer();
}

void Recuperation::terminer()
{
    if (m_terminee)
        return;
    m_terminee = true;
    m_silence.stop();
    m_duree.stop();
    m_corps.squeeze();
    emit terminee();
    deleteLater();
}
