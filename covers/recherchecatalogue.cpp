#include "covers/recherchecatalogue.h"

#include "covers/cadenceur.h"
#include "covers/recuperation.h"
#include "settings/parametres.h"

#include <QPointer>
#include <QSettings>

using namespace NoticesCatalogue;
using Parametres::Cle;

struct RechercheCatalogue::Interrogation
{
    QPointer<QObject> contexte;
    Fin fin;
    Critere critere = Critere::Tout;
    QString texte;
    QUrl baseBnf;
    QUrl baseOpenLibrary;
    QUrl baseImagesOpenLibrary;
    QList<NoticeAlbum> notices;
    QStringList echecs; // "BnF : HTTP 503"
    int pages = 0;
    bool tronque = false;
};

namespace {

// Pictures kept for the run, in kB: a few hundred covers.
constexpr int coutMaxImages = 64 * 1024;

} // namespace

RechercheCatalogue::RechercheCatalogue(QSettings* settings, Cadenceur* cadenceur, QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_cadenceur(cadenceur)
    , m_images(coutMaxImages)
{
}

void RechercheCatalogue::chercherIsbn(const QString& isbn13, QObject* contexte, Fin fin)
{
    commencer(Critere::Isbn, isbn13, contexte, std::move(fin));
}

void RechercheCatalogue::chercherTexte(const QString& texte, QObject* contexte, Fin fin)
{
    commencer(Critere::Tout, texte, contexte, std::move(fin));
}

void RechercheCatalogue::commencer(
    Critere critere, const QString& texte, QObject* contexte, Fin fin)
{
    auto interrogation = std::make_shared<Interrogation>();
    interrogation->critere = critere;
    interrogation->texte = texte;
    interrogation->contexte = contexte;
    interrogation->fin = std::move(fin);
    interrogation->baseBnf = QUrl(Parametres::lire(*m_settings, Cle::CouverturesBnf));
    interrogation->baseOpenLibrary
        = QUrl(Parametres::lire(*m_settings, Cle::CouverturesOpenLibrary));
    interrogation->baseImagesOpenLibrary
        = QUrl(Parametres::lire(*m_settings, Cle::CouverturesOpenLibraryImages));
    demanderBnf(interrogation, 1);
}

void RechercheCatalogue::demanderBnf(const std::shared_ptr<Interrogation>& interrogation, int debut)
{
    const auto finBnf = [this, interrogation] {
        if (interrogation->notices.isEmpty())
            demanderOpenLibrary(interrogation);
        else
            terminer(interrogation, interrogation->notices);
    };
    obtenir(
        urlBnf(interrogation->baseBnf, interrogation->critere, interrogation->texte, debut),
        interrogation->contexte,
        [this, interrogation, debut, finBnf](const QByteArray& corps) {
            const PageNotices page = lireSru(corps, interrogation->baseBnf, debut);
            if (!page.valide) {
                interrogation->echecs << tr("BnF : réponse illisible");
                finBnf();
                return false;
            }
            interrogation->notices += page.notices;
            if (page.suivant > 0 && ++interrogation->pages < pagesMax) {
                demanderBnf(interrogation, page.suivant);
            } else {
                interrogation->tronque = page.suivant > 0;
                finBnf();
            }
            return true;
        },
        [interrogation, finBnf](const QString& raison) {
            interrogation->echecs << tr("BnF : %1").arg(raison);
            finBnf();
        });
}

void RechercheCatalogue::demanderOpenLibrary(const std::shared_ptr<Interrogation>& interrogation)
{
    obtenir(
        urlOpenLibrary(
            interrogation->baseOpenLibrary, interrogation->critere, interrogation->texte),
        interrogation->contexte,
        [this, interrogation](const QByteArray& corps) {
            const PageNotices page = lireOpenLibrary(corps, interrogation->baseImagesOpenLibrary);
            if (!page.valide)
                interrogation->echecs << tr("Open Library : réponse illisible");
            terminer(interrogation, page.notices);
            return page.valide;
        },
        [this, interrogation](const QString& raison) {
            interrogation->echecs << tr("Open Library : %1").arg(raison);
            terminer(interrogation, {});
        });
}

void RechercheCatalogue::terminer(
    const std::shared_ptr<Interrogation>& interrogation, const QList<NoticeAlbum>& notices)
{
    Resultat resultat;
    resultat.notices = notices;
    resultat.message = interrogation->echecs.join(QStringLiteral(" ; "));
    resultat.tronque = interrogation->tronque;
    resultat.etat = !notices.isEmpty()    ? Etat::Trouve
        : interrogation->echecs.isEmpty() ? Etat::Aucun
                                          : Etat::Echec;
    if (interrogation->contexte)
        interrogation->fin(resultat);
}

void RechercheCatalogue::obtenir(const QUrl& url, QObject* contexte,
    const std::function<bool(const QByteArray&)>& lire,
    const std::function<void(const QString&)>& echouer)
{
    const QString cle = url.toString(QUrl::FullyEncoded);
    const auto connue = m_reponses.constFind(cle);
    if (connue != m_reponses.cend()) {
        lire(*connue);
        return;
    }
    m_cadenceur->envoyer(url, false, contexte, [this, cle, lire, echouer](const Recuperation& r) {
        QString raison = r.erreur();
        const int statut = r.statut();
        if (raison.isEmpty() && statut == 429)
            raison = tr("le service limite les demandes : réessayez dans un moment");
        else if (raison.isEmpty() && (statut < 200 || statut >= 300))
            raison = QStringLiteral("HTTP %1").arg(statut);
        if (!raison.isEmpty()) {
            echouer(raison);
            return;
        }
        const QByteArray corps = r.corps();
        if (lire(corps))
            m_reponses.insert(cle, corps);
    });
}

void RechercheCatalogue::image(const QUrl& url, Source source, QObject* contexte, FinImage fin)
{
    const QString cle = url.toString(QUrl::FullyEncoded);
    if (url.isEmpty()) {
        fin({});
        return;
    }
    if (const QByteArray* connue = m_images.object(cle)) {
        fin(*connue);
        return;
    }
    m_cadenceur->envoyer(url, true, contexte, [this, cle, source, fin](const Recuperation& r) {
        const int statut = r.statut();
        // A failed exchange is not kept: the next album showing it asks again.
        if (!r.erreur().isEmpty() || (statut != 404 && (statut < 200 || statut >= 300))) {
            fin({});
            return;
        }
        QByteArray octets = statut == 404 ? QByteArray() : r.corps();
        if (SourcesCouvertures::examinerImage(octets, source == Source::Bnf)
            != SourcesCouvertures::Image::Couverture)
            octets.clear();
        m_images.insert(cle, new QByteArray(octets), qMax(1, int(octets.size() / 1024)));
        fin(octets);
    });
}
