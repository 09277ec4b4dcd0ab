#include "model/modelemurcouvertures.h"

#include "model/bd.h"
#include "model/serie.h"
#include "model/traduction.h"

#include <QHash>

#include <algorithm>
#include <vector>

using Traduction::tr;

bool ModeleMurCouvertures::Choix::operator==(const Choix& autre) const
{
    return collection == autre.collection && serie == autre.serie && genre == autre.genre
        && parRecherche == autre.parRecherche
        && (!parRecherche || seriesTrouvees == autre.seriesTrouvees);
}

ModeleMurCouvertures::ModeleMurCouvertures(const Catalogue& catalogue, QObject* parent)
    : QAbstractListModel(parent)
    , m_catalogue(&catalogue)
{
    catalogue.suivre(this);
}

ModeleMurCouvertures::~ModeleMurCouvertures()
{
    if (m_catalogue)
        m_catalogue->nePlusSuivre(this);
}

void ModeleMurCouvertures::choisir(const Choix& choix)
{
    const bool change = !m_actif || !(choix == m_choix) || !aJour();
    m_choix = choix;
    m_actif = true;
    if (change)
        reconstruire();
}

bool ModeleMurCouvertures::aJour() const
{
    return m_touches.isEmpty() && (!m_catalogue || m_revision == m_catalogue->revisionContenu());
}

void ModeleMurCouvertures::vider()
{
    m_actif = false;
    beginResetModel();
    m_albums.clear();
    m_touches.clear();
    endResetModel();
}

int ModeleMurCouvertures::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_albums.size());
}

BD* ModeleMurCouvertures::album(int ligne) const
{
    if (ligne < 0 || ligne >= m_albums.size())
        return nullptr;
    BD* album = m_albums.at(ligne);
    return m_touches.contains(album) ? nullptr : album;
}

int ModeleMurCouvertures::ligne(const BD* album) const
{
    if (!album || m_touches.contains(album))
        return -1;
    return int(m_albums.indexOf(album));
}

QVariant ModeleMurCouvertures::data(const QModelIndex& index, int role) const
{
    const BD* bd = index.isValid() ? album(index.row()) : nullptr;
    if (!bd)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
    case RoleTitre:
        return bd->getTitre();
    case RoleSerie:
        return bd->getSerie();
    case RoleTome:
        return bd->tome;
    case RoleImage:
        return bd->aUneImage() ? bd->getImage() : QString();
    case Qt::ToolTipRole:
        return tr("%1\nTome %2\n%3").arg(bd->getSerie(), QString::number(bd->tome), bd->getTitre());
    default:
        return QVariant();
    }
}

void ModeleMurCouvertures::avantChangement(const BD& album)
{
    if (!m_actif)
        return;
    m_touches.insert(&album);
    // Rebuilt once the change is over, whatever it was: the catalogue is
    // only whole again then.
    if (!m_reconstructionPrevue) {
        m_reconstructionPrevue = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_reconstructionPrevue = false;
                if (m_actif && !aJour())
                    reconstruire();
            },
            Qt::QueuedConnection);
    }
}

void ModeleMurCouvertures::catalogueDetruit()
{
    m_catalogue = nullptr;
    vider();
}

void ModeleMurCouvertures::reconstruire()
{
    beginResetModel();
    m_touches.clear();
    m_albums = selectionner();
    m_revision = m_catalogue ? m_catalogue->revisionContenu() : 0;
    endResetModel();
}

QList<BD*> ModeleMurCouvertures::selectionner() const
{
    if (!m_catalogue)
        return {};
    const auto garder = [this](const Serie* serie) {
        return (m_choix.genre < 0 || serie->type == m_choix.genre)
            && (!m_choix.parRecherche || m_choix.seriesTrouvees.contains(serie->getNom()));
    };

    struct Place
    {
        int rangSerie;
        int tome;
        int position;
    };
    std::vector<Place> places;
    const QList<BD*>& albums = m_catalogue->albums();
    if (!m_choix.collection) {
        const Serie* serie = m_catalogue->findSerie(m_choix.serie);
        if (!serie || !garder(serie))
            return {};
        for (int position = 0; position < albums.size(); ++position) {
            if (albums.at(position)->getSerie() == m_choix.serie)
                places.push_back({ 0, albums.at(position)->tome, position });
        }
    } else {
        // The series in the lists' order, by name.
        QList<const Serie*> series;
        for (const Serie* serie : m_catalogue->series()) {
            if (garder(serie))
                series.append(serie);
        }
        std::sort(series.begin(), series.end(),
            [](const Serie* a, const Serie* b) { return a->getNom() < b->getNom(); });
        QHash<QString, int> rangs;
        rangs.reserve(series.size());
        for (int rang = 0; rang < series.size(); ++rang)
            rangs.insert(series.at(rang)->getNom(), rang);
        places.reserve(size_t(albums.size()));
        for (int position = 0; position < albums.size(); ++position) {
            const auto rang = rangs.constFind(albums.at(position)->getSerie());
            if (rang != rangs.cend())
                places.push_back({ *rang, albums.at(position)->tome, position });
        }
    }
    std::sort(places.begin(), places.end(), [](const Place& a, const Place& b) {
        if (a.rangSerie != b.rangSerie)
            return a.rangSerie < b.rangSerie;
        if (a.tome != b.tome)
            return a.tome < b.tome;
        return a.position < b.position;
    });
    QList<BD*> choisis;
    choisis.reserve(qsizetype(places.size()));
    for (const Place& place : places)
        choisis.append(albums.at(place.position));
    return choisis;
}
