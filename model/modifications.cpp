#include "model/modifications.h"

#include "model/serie.h"
#include "model/traduction.h"

using Traduction::tr;

SuppressionAlbum::SuppressionAlbum(BD* album)
    : ModificationCatalogue(tr("la suppression de l'album %1").arg(album->getTitre()))
    , m_album(album)
{
}

SuppressionAlbum::~SuppressionAlbum()
{
    if (m_retire)
        delete m_album;
}

void SuppressionAlbum::refaire(Catalogue& catalogue)
{
    m_position = catalogue.retirerAlbum(m_album);
    m_retire = m_position >= 0;
}

void SuppressionAlbum::annuler(Catalogue& catalogue)
{
    if (!m_retire)
        return;
    catalogue.remettreAlbum(m_album, m_position);
    m_retire = false;
}

SuppressionSerie::SuppressionSerie(const QString& nom)
    : ModificationCatalogue(tr("la suppression de la série %1").arg(nom))
    , m_nom(nom)
{
}

void SuppressionSerie::refaire(Catalogue& catalogue)
{
    oublier();
    m_retiree = catalogue.retirerSerie(m_nom);
    m_retire = true;
}

void SuppressionSerie::annuler(Catalogue& catalogue)
{
    if (!m_retire)
        return;
    catalogue.remettreSerie(m_retiree);
    m_retire = false;
}

BD* SuppressionSerie::albumAMontrer() const
{
    return m_retire || m_retiree.albums.isEmpty() ? nullptr : m_retiree.albums.first().second;
}

void SuppressionSerie::oublier()
{
    if (!m_retire)
        return;
    for (const auto& retire : std::as_const(m_retiree.albums))
        delete retire.second;
    delete m_retiree.serie;
    m_retiree = {};
    m_retire = false;
}

ChangementAlbum::ChangementAlbum(
    const QString& texte, BD* album, const ChampsAlbum& avant, const EtatSerie& serieAvant)
    : ModificationCatalogue(texte)
    , m_album(album)
    , m_avant(avant)
    , m_apres(album->champs())
    , m_serieAvant(serieAvant)
{
}

void ChangementAlbum::annuler(Catalogue& catalogue)
{
    catalogue.remettreChamps(m_album, m_avant);
    catalogue.restaurerSerie(m_serieAvant);
}
