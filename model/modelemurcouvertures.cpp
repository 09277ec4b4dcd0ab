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
    // The series kept, in the lists' order (by name); one bucket of albums each.
    QList<const Serie*> series;
    if (m_choix.collection) {
        for (const Serie* serie : m_catalogue->series()) {
            if (garder(serie))
                series.append(serie);
        }
        std::sort(series.begin(), series.end(),
            [](const Serie* a, const Serie* b) { return a->getNom() < b->getNom(); });
    } else if (const Serie* serie = m_catalogue->findSerie(m_choix.serie); serie && garder(serie)) {
        series.append(serie);
    }
    if (series.isEmpty())
        return {};
    QHash<QString, int> rangs;
    rangs.reserve(series.size());
    for (int rang = 0; rang < series.size(); ++rang)
        rangs.insert(series.at(rang)->getNom(), rang);
    // Albums read from a file share their series' name: its buffer finds the
    // bucket, or that the series is not shown, without hashing the name.
    QHash<const QChar*, QPair<const Serie*, int>> parTampon;
    parTampon.reserve(m_catalogue->series().size());
    for (const Serie* serie : m_catalogue->series())
        parTampon.insert(serie->getNom().constData(), { serie, rangs.value(serie->getNom(), -1) });

    const QList<BD*>& albums = m_catalogue->albums();
    std::vector<std::vector<BD*>> seaux(size_t(series.size()));
    qsizetype nombre = 0;
    for (BD* album : albums) {
        const QString nom = album->getSerie();
        const auto trouvee = parTampon.constFind(nom.constData());
        const int rang = trouvee != parTampon.cend() && trouvee->first->partageLeTamponDuNom(nom)
            ? trouvee->second
            : rangs.value(nom, -1);
        if (rang >= 0) {
            seaux[size_t(rang)].push_back(album);
            ++nombre;
        }
    }
    QList<BD*> choisis;
    choisis.reserve(nombre);
    for (std::vector<BD*>& seau : seaux) {
        // Volume order; equal volumes stay in catalogue order.
        std::stable_sort(
            seau.begin(), seau.end(), [](const BD* a, const BD* b) { return a->tome < b->tome; });
        choisis.append(QList<BD*>(seau.begin(), seau.end()));
    }
    return choisis;
}
