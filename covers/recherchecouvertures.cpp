#include "covers/recherchecouvertures.h"

#include "covers/cadenceur.h"
#include "covers/recuperation.h"
#include "settings/parametres.h"

#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QSaveFile>
#include <QSettings>

using namespace SourcesCouvertures;
using Parametres::Cle;

RechercheCouvertures::RechercheCouvertures(
    QSettings* settings, QObject* parent, const Chemins& chemins)
    : QObject(parent)
    , m_settings(settings)
    , m_chemins(chemins)
    , m_manager(new QNetworkAccessManager(this))
    , m_cadenceur(new Cadenceur(m_manager, this))
{
}

void RechercheCouvertures::setProxy(QString aAdd, QString aPort, QString aLogin, QString aPassword)
{
    if (aAdd.isEmpty())
        m_manager->setProxy(QNetworkProxy(QNetworkProxy::DefaultProxy));
    else
        m_manager->setProxy(QNetworkProxy(
            QNetworkProxy::HttpProxy, aAdd, quint16(aPort.toInt()), aLogin, aPassword));
}

void RechercheCouvertures::chercher(Source source, const AlbumCherche& album)
{
    annuler();
    // "Selectionner" must never take the picture of an earlier search.
    QFile::remove(m_chemins.imageRecherche());
    m_album = album;
    m_sources = sourcesInterrogees(source);
    m_indisponibles.clear();
    m_enCours = true;
    sourceSuivante();
}

void RechercheCouvertures::annuler()
{
    m_enCours = false;
    m_sources.clear();
    m_candidats.clear();
    m_cadenceur->vider(this);
}

void RechercheCouvertures::sourceSuivante()
{
    if (m_sources.isEmpty()) {
        finir();
        return;
    }
    m_source = m_sources.takeFirst();
    m_candidats.clear();
    const QString texte = texteInterrogation(m_album);
    const QUrl url = m_source == Source::Bnf
        ? urlRechercheBnf(QUrl(Parametres::lire(*m_settings, Cle::CouverturesBnf)), texte)
        : urlRechercheOpenLibrary(
            QUrl(Parametres::lire(*m_settings, Cle::CouverturesOpenLibrary)), texte);
    const QString cle = url.toString(QUrl::FullyEncoded);
    if (m_reponses.contains(cle)) {
        lireRecherche(m_reponses.value(cle));
        return;
    }
    m_cadenceur->envoyer(url, false, this, [this, cle](const Recuperation& reponse) {
        if (!reussie(reponse)) {
            sourceSuivante();
            return;
        }
        const QByteArray corps = reponse.corps();
        // A garbled answer is not kept: the next search asks again.
        if (lireRecherche(corps))
            m_reponses.insert(cle, corps);
    });
}

bool RechercheCouvertures::lireRecherche(const QByteArray& corps)
{
    const Lecture lecture = m_source == Source::Bnf
        ? lireReponseSru(corps, QUrl(Parametres::lire(*m_settings, Cle::CouverturesBnf)))
        : lireReponseOpenLibrary(
            corps, QUrl(Parametres::lire(*m_settings, Cle::CouverturesOpenLibraryImages)));
    if (!lecture.valide) {
        m_indisponibles << tr("%1 : réponse illisible").arg(nomSource(m_source));
        sourceSuivante();
        return false;
    }
    m_candidats = classer(lecture.notices, m_album).mid(0, candidatsParSource);
    candidatSuivant();
    return true;
}

void RechercheCouvertures::candidatSuivant()
{
    if (m_candidats.isEmpty()) {
        sourceSuivante();
        return;
    }
    m_cadenceur->envoyer(m_candidats.takeFirst(), true, this,
        [this](const Recuperation& reponse) { lireCouverture(reponse); });
}

void RechercheCouvertures::lireCouverture(const Recuperation& reponse)
{
    // No cover behind this record: the next candidate may have one.
    if (reponse.statut() == 404) {
        candidatSuivant();
        return;
    }
    if (!reussie(reponse)) {
        sourceSuivante();
        return;
    }
    const QByteArray octets = reponse.corps();
    if (examinerImage(octets, m_source == Source::Bnf) != Image::Couverture) {
        candidatSuivant();
        return;
    }
    QSaveFile fichier(m_chemins.imageRecherche());
    const bool ecrit = fichier.open(QIODevice::WriteOnly) && fichier.write(octets) == octets.size()
        && fichier.flush() && fichier.commit();
    m_enCours = false;
    m_cadenceur->vider(this);
    if (!ecrit) {
        emit rechercheSansCouverture(
            tr("Impossible d'enregistrer la couverture dans %1").arg(fichier.fileName()));
        return;
    }
    emit couvertureTrouvee();
}

bool RechercheCouvertures::reussie(const Recuperation& reponse)
{
    const int statut = reponse.statut();
    const QString erreur = reponse.erreur();
    if (erreur.isEmpty() && statut >= 200 && statut < 300)
        return true;
    const QString raison = erreur.isEmpty() ? QStringLiteral("HTTP %1").arg(statut) : erreur;
    m_indisponibles << QStringLiteral("%1 : %2").arg(nomSource(m_source), raison);
    return false;
}

void RechercheCouvertures::finir()
{
    if (!m_enCours)
        return;
    m_enCours = false;
    if (!m_indisponibles.isEmpty())
        emit rechercheSansCouverture(tr("Service de couvertures indisponible (%1). Veuillez "
                                        "réessayer plus tard.")
                                         .arg(m_indisponibles.join(QStringLiteral(", "))));
    else
        emit rechercheSansCouverture(
            tr("Aucune couverture trouvée pour « %1 ».").arg(m_album.recherche));
}
