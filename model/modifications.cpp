#include "model/modifications.h"

#include "model/serie.h"
#include "model/traduction.h"

using Traduction::tr;

QString entreeDeMenu(const QString& entree, int longueur)
{
    if (entree.size() <= longueur)
        return entree;
    qsizetype garde = longueur - 1;
    // Never half a character written with two UTF-16 units.
    if (garde > 0 && entree.at(garde - 1).isHighSurrogate())
        --garde;
    return entree.left(garde).trimmed() + QChar(0x2026);
}

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

AjoutAlbums::AjoutAlbums(const QString& texte, const Catalogue& catalogue, SeriesAvantAjout avant)
    : ModificationCatalogue(texte)
    , m_avant(std::move(avant))
    , m_albums(catalogue.albums().mid(m_avant.nbAlbums))
{
    m_avant.compacter(catalogue.series());
}

AjoutAlbums::~AjoutAlbums()
{
    if (m_retires)
        qDeleteAll(m_albums);
}

void AjoutAlbums::refaire(Catalogue& catalogue)
{
    if (!m_retires)
        return;
    for (BD* album : std::as_const(m_albums))
        catalogue.attacher(album);
    m_retires = false;
}

void AjoutAlbums::annuler(Catalogue& catalogue)
{
    if (m_retires)
        return;
    m_albums = catalogue.retirerAjout(m_avant);
    m_retires = true;
}

BD* AjoutAlbums::albumAMontrer() const
{
    return m_retires || m_albums.isEmpty() ? nullptr : m_albums.first();
}

RenommageSerie::RenommageSerie(const QString& ancien, const QString& nouveau)
    : ModificationCatalogue(tr("le renommage de la série %1 en %2").arg(ancien, nouveau))
    , m_ancien(ancien)
    , m_nouveau(nouveau)
{
}

RenommageSerie::~RenommageSerie()
{
    if (m_renommee.fait)
        delete m_renommee.source.serie;
}

void RenommageSerie::refaire(Catalogue& catalogue)
{
    if (!m_renommee.fait)
        m_renommee = catalogue.renommerSerie(m_ancien, m_nouveau);
}

void RenommageSerie::annuler(Catalogue& catalogue)
{
    if (!m_renommee.fait)
        return;
    catalogue.annulerRenommage(m_renommee);
    // The albums stay known: they are the ones to show.
    m_renommee.fait = false;
    m_renommee.source = {};
}

RemplacementCatalogue::RemplacementCatalogue(const QString& texte, std::unique_ptr<Catalogue> autre)
    : ModificationCatalogue(texte)
    , m_autre(std::move(autre))
{
}

void RemplacementCatalogue::refaire(Catalogue& catalogue)
{
    if (m_remplace)
        return;
    catalogue.echanger(*m_autre);
    m_remplace = true;
}

void RemplacementCatalogue::annuler(Catalogue& catalogue)
{
    if (!m_remplace)
        return;
    catalogue.echanger(*m_autre);
    m_remplace = false;
}
