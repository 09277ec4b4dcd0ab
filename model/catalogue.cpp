#include "model/catalogue.h"

#include "model/bd.h"
#include "model/serie.h"

Catalogue::~Catalogue()
{
    // Told first: nothing is worth keeping of albums that all go.
    for (SuiviAlbums* suivi : std::as_const(m_suivis))
        suivi->catalogueDetruit();
    m_suivis.clear();
    vider();
}

void Catalogue::prevenir(const BD& album) const
{
    for (SuiviAlbums* suivi : std::as_const(m_suivis))
        suivi->avantChangement(album);
}

QList<BD*> Catalogue::albumsParNom(const QString& texte, bool parSerie) const
{
    QList<BD*> trouves;
    for (BD* album : m_albums) {
        if ((parSerie ? album->getSerie() : album->getTitre()) == texte)
            trouves.append(album);
    }
    return trouves;
}

BD* Catalogue::premierAlbum(const QString& serie, const QString& titre) const
{
    for (BD* album : m_albums) {
        if (album->getTitre() == titre && album->getSerie() == serie)
            return album;
    }
    return nullptr;
}

ValeursAlbum Catalogue::partager(const ValeursAlbum& valeurs)
{
    ValeursAlbum v = valeurs;
    v.serie = m_textes.partager(v.serie);
    v.scenariste = m_textes.partager(v.scenariste);
    v.dessinateur = m_textes.partager(v.dessinateur);
    v.editeur = m_textes.partager(v.editeur);
    v.genre = m_textes.partager(v.genre);
    v.coloriste = m_textes.partager(v.coloriste);
    return v;
}

ResultatEdition Catalogue::ajouter(const ValeursAlbum& valeurs)
{
    const ValeursAlbum v = partager(valeurs);
    if (premierAlbum(v.serie, v.titre))
        return { ResultatEdition::Doublon, nullptr, false };
    auto* album = new BD(v.serie, v.titre, v.tome, v.dessinateur, v.scenariste, v.editeur,
        v.commentaire, 0, v.genre, QString(), QString(), QString(), 0.0, v.type, QString(), v.note,
        v.serieFinie, 0, QString(), v.coloriste);
    const bool serieCreee = attacher(album);
    return { ResultatEdition::Fait, album, serieCreee };
}

ResultatEdition Catalogue::modifier(
    const QString& serie, const QString& titre, const ValeursAlbum& valeurs)
{
    const ValeursAlbum v = partager(valeurs);
    BD* album = premierAlbum(serie, titre);
    if (!album)
        return { ResultatEdition::Introuvable, nullptr, false };
    // The table, the loans and the explorer name an album by its series and
    // title: a change must not make two albums answer to the same pair.
    if (v.serie != serie || v.titre != titre) {
        const BD* autre = premierAlbum(v.serie, v.titre);
        if (autre && autre != album)
            return { ResultatEdition::Doublon, album, false };
    }
    ++m_revisionHorsAjouts;
    prevenir(*album);
    album->setSerie(v.serie);
    album->setTitre(v.titre);
    album->setDessinateur(v.dessinateur);
    album->setScenariste(v.scenariste);
    album->setColoriste(v.coloriste);
    album->setEditeur(v.editeur);
    album->setCommentaire(v.commentaire);
    album->setGenre(v.genre);
    album->tome = v.tome;
    album->note = v.note;
    album->type = v.type;
    album->serieFinie = v.serieFinie;
    const bool serieCreee = integrerSerie(album);
    return { ResultatEdition::Fait, album, serieCreee };
}

bool Catalogue::attacher(BD* album)
{
    m_albums.append(album);
    return integrerSerie(album);
}

bool Catalogue::integrerSerie(const BD* album)
{
    ++m_revision;
    if (Serie* serie = findSerie(album->getSerie())) {
        if (serie->tomeMax < album->tome)
            serie->tomeMax = album->tome;
        if (album->serieFinie != 0)
            serie->serieFinie = album->serieFinie;
        return false;
    }
    ajouterSerie(new Serie(album->getSerie(), album->tome, album->serieFinie, album->type));
    return true;
}

void Catalogue::ajouterSerie(Serie* serie)
{
    m_series.append(serie);
    m_indexSeries.insert(serie->getNom(), serie);
    switch (serie->type) {
    case Euro:
        m_seriesEuro.append(serie);
        break;
    case Comic:
        m_seriesComics.append(serie);
        break;
    case Manga:
        m_seriesManga.append(serie);
        break;
    default:
        break;
    }
}

void Catalogue::supprimerAlbum(BD* album)
{
    ++m_revision;
    ++m_revisionHorsAjouts;
    if (m_albums.removeOne(album)) {
        prevenir(*album);
        delete album;
    }
}

int Catalogue::supprimerSerie(const QString& nom)
{
    ++m_revision;
    ++m_revisionHorsAjouts;
    int retires = 0;
    QList<BD*> restants;
    restants.reserve(m_albums.size());
    for (BD* album : std::as_const(m_albums)) {
        if (album->getSerie() == nom) {
            prevenir(*album);
            delete album;
            ++retires;
        } else {
            restants.append(album);
        }
    }
    m_albums.swap(restants);

    if (Serie* serie = m_indexSeries.take(nom)) {
        m_series.removeOne(serie);
        m_seriesEuro.removeOne(serie);
        m_seriesComics.removeOne(serie);
        m_seriesManga.removeOne(serie);
        delete serie;
    }
    return retires;
}

void Catalogue::vider()
{
    ++m_revision;
    ++m_revisionHorsAjouts;
    if (!m_suivis.isEmpty()) {
        for (const BD* album : std::as_const(m_albums))
            prevenir(*album);
    }
    qDeleteAll(m_albums);
    qDeleteAll(m_series);
    m_albums.clear();
    m_series.clear();
    m_seriesEuro.clear();
    m_seriesComics.clear();
    m_seriesManga.clear();
    m_indexSeries.clear();
    m_textes.vider();
}

Compteurs Catalogue::compter() const
{
    Compteurs compteurs;
    compteurs.total = int(m_albums.size());
    for (const BD* album : m_albums) {
        if (album->type == Comic)
            ++compteurs.comics;
        else if (album->type == Manga)
            ++compteurs.manga;
        else
            ++compteurs.euro;
    }
    return compteurs;
}
