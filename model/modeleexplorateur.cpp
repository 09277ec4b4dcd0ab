#include "model/modeleexplorateur.h"

#include "model/bd.h"

#include <QCoreApplication>
#include <QSet>

#include <algorithm>
#include <numeric>
#include <vector>

ModeleExplorateur::ModeleExplorateur(const Catalogue& catalogue, QObject* parent)
    : QAbstractTableModel(parent)
    , m_catalogue(&catalogue)
    , m_albums(catalogue.albums())
{
    m_ordre.resize(m_albums.size());
    std::iota(m_ordre.begin(), m_ordre.end(), 0);
    m_affichees = m_ordre;
    catalogue.suivre(this);
}

ModeleExplorateur::~ModeleExplorateur()
{
    if (m_catalogue)
        m_catalogue->nePlusSuivre(this);
}

int ModeleExplorateur::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_affichees.size());
}

int ModeleExplorateur::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : NbColonnes;
}

QString ModeleExplorateur::texte(int ligne, int colonne) const
{
    if (!m_editees.isEmpty()) {
        const auto editee = m_editees.constFind(qint64(ligne) * NbColonnes + colonne);
        if (editee != m_editees.constEnd())
            return editee.value();
    }
    const BD* album = m_albums.at(ligne);
    // A frozen album may be gone: its pointer is never followed again.
    if (!m_figees.isEmpty()) {
        const auto figee = m_figees.constFind(album);
        if (figee != m_figees.constEnd())
            return figee.value()[colonne];
    }
    if (m_vide)
        return QString();
    switch (colonne) {
    case ColSerie:
        return album->getSerie();
    case ColTitre:
        return album->getTitre();
    case ColTome:
        return QString::number(album->tome);
    case ColScenariste:
        return album->getScenariste();
    case ColDessinateur:
        return album->getDessinateur();
    case ColEditeur:
        return album->getEditeur();
    case ColColoriste:
        return album->getColoriste();
    default:
        return QString();
    }
}

QVariant ModeleExplorateur::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return QVariant();
    if (role == Qt::ToolTipRole) {
        // Long texts are elided in their cell: the tooltip shows them whole.
        const QString complet = texte(m_affichees.at(index.row()), index.column());
        return complet.size() > 40 ? QVariant(complet) : QVariant();
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return QVariant();
    return texte(m_affichees.at(index.row()), index.column());
}

QVariant ModeleExplorateur::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Vertical) // the row's place in the snapshot, as filtered tables show
        return section >= 0 && section < m_affichees.size() ? m_affichees.at(section) + 1
                                                             : section + 1;
    static const char* const entetes[NbColonnes] = { QT_TRANSLATE_NOOP("filtre", "Serie"),
        QT_TRANSLATE_NOOP("filtre", "Titre"), QT_TRANSLATE_NOOP("filtre", "Tome"),
        QT_TRANSLATE_NOOP("filtre", "Scenariste"), QT_TRANSLATE_NOOP("filtre", "Dessinateur"),
        QT_TRANSLATE_NOOP("filtre", "Editeur"), QT_TRANSLATE_NOOP("filtre", "Coloriste") };
    if (section < 0 || section >= NbColonnes)
        return QVariant();
    return QCoreApplication::translate("filtre", entetes[section]);
}

Qt::ItemFlags ModeleExplorateur::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemIsDragEnabled
        | Qt::ItemIsDropEnabled;
}

bool ModeleExplorateur::setData(const QModelIndex& index, const QVariant& valeur, int role)
{
    if (!index.isValid() || (role != Qt::EditRole && role != Qt::DisplayRole))
        return false;
    const int ligne = m_affichees.at(index.row());
    m_editees.insert(qint64(ligne) * NbColonnes + index.column(), valeur.toString());
    emit dataChanged(index, index, { Qt::DisplayRole, Qt::EditRole });
    // The filters hold on edited cells too.
    if (!accepte(ligne)) {
        beginRemoveRows(QModelIndex(), index.row(), index.row());
        m_affichees.removeAt(index.row());
        endRemoveRows();
    }
    return true;
}

bool ModeleExplorateur::accepte(int ligne) const
{
    for (int colonne : { ColDessinateur, ColScenariste, ColEditeur }) {
        const QString& filtre = m_filtres[colonne];
        if (!filtre.isEmpty() && !texte(ligne, colonne).contains(filtre, Qt::CaseSensitive))
            return false;
    }
    return true;
}

QList<int> ModeleExplorateur::selectionner() const
{
    if (m_filtres[ColDessinateur].isEmpty() && m_filtres[ColScenariste].isEmpty()
        && m_filtres[ColEditeur].isEmpty())
        return m_ordre;
    // Shared texts repeat from row to row: a text met again is judged by its
    // buffer, remembered while every text of the walk is alive.
    struct Jugement
    {
        const QChar* texte = nullptr;
        qsizetype taille = -1;
        bool accepte = false;
    };
    std::vector<Jugement> jugements(3 * 1024);
    QList<int> lignes;
    for (int ligne : m_ordre) {
        bool garde = true;
        int rang = 0;
        for (int colonne : { ColDessinateur, ColScenariste, ColEditeur }) {
            const QString& filtre = m_filtres[colonne];
            if (filtre.isEmpty())
                continue;
            const QString valeur = texte(ligne, colonne);
            Jugement& jugement
                = jugements[rang++ * 1024 + ((quintptr(valeur.constData()) >> 4) & 1023)];
            if (jugement.texte != valeur.constData() || jugement.taille != valeur.size())
                jugement = { valeur.constData(), valeur.size(), valeur.contains(filtre) };
            if (!jugement.accepte) {
                garde = false;
                break;
            }
        }
        if (garde)
            lignes.append(ligne);
    }
    return lignes;
}

void ModeleExplorateur::changerLignes(const QList<int>& affichees)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // The view's current cell and selection follow their rows.
    const QModelIndexList anciens = persistentIndexList();
    QList<int> places;
    if (!anciens.isEmpty()) {
        places.fill(-1, m_albums.size());
        for (int i = 0; i < affichees.size(); ++i)
            places[affichees.at(i)] = i;
    }
    QModelIndexList nouveaux;
    nouveaux.reserve(anciens.size());
    for (const QModelIndex& ancien : anciens) {
        const int place = places.at(m_affichees.at(ancien.row()));
        nouveaux.append(place < 0 ? QModelIndex() : createIndex(place, ancien.column()));
    }
    m_affichees = affichees;
    changePersistentIndexList(anciens, nouveaux);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ModeleExplorateur::filtrer(
    const QString& dessinateur, const QString& scenariste, const QString& editeur)
{
    m_filtres[ColDessinateur] = dessinateur;
    m_filtres[ColScenariste] = scenariste;
    m_filtres[ColEditeur] = editeur;
    changerLignes(selectionner());
}

void ModeleExplorateur::sort(int colonne, Qt::SortOrder ordre)
{
    if (colonne < 0 || colonne >= NbColonnes) {
        std::iota(m_ordre.begin(), m_ordre.end(), 0);
    } else {
        QList<QString> cles;
        cles.reserve(m_albums.size());
        for (int ligne = 0; ligne < m_albums.size(); ++ligne)
            cles.append(texte(ligne, colonne));
        // Shared texts are equal without a look at their characters.
        const auto moins = [&cles](int a, int b) {
            const QString& x = cles.at(a);
            const QString& y = cles.at(b);
            if (x.constData() == y.constData() && x.size() == y.size())
                return false;
            return x < y;
        };
        if (ordre == Qt::AscendingOrder)
            std::stable_sort(m_ordre.begin(), m_ordre.end(), moins);
        else
            std::stable_sort(
                m_ordre.begin(), m_ordre.end(), [&moins](int a, int b) { return moins(b, a); });
    }
    changerLignes(selectionner());
}

QStringList ModeleExplorateur::valeursAffichees(int colonne, bool ordreInitial) const
{
    QStringList valeurs { QString() };
    QSet<QString> vues;
    // Buffers already met, for the texts this model holds alive; numbers are
    // written afresh for each row.
    QSet<const QChar*> tampons;
    const bool parTampon = colonne != ColTome;
    const auto ajouter = [&](int ligne) {
        const QString valeur = texte(ligne, colonne);
        if (valeur.isEmpty())
            return;
        if (parTampon) {
            if (tampons.contains(valeur.constData()))
                return;
            tampons.insert(valeur.constData());
        }
        if (vues.contains(valeur))
            return;
        vues.insert(valeur);
        valeurs.append(valeur);
    };
    if (ordreInitial) {
        for (int ligne = 0; ligne < m_albums.size(); ++ligne)
            ajouter(ligne);
    } else {
        for (int ligne : m_affichees)
            ajouter(ligne);
    }
    return valeurs;
}

void ModeleExplorateur::avantChangement(const BD& album)
{
    if (m_figees.contains(&album))
        return;
    m_figees.insert(&album,
        { album.getSerie(), album.getTitre(), QString::number(album.tome), album.getScenariste(),
            album.getDessinateur(), album.getEditeur(), album.getColoriste() });
}

void ModeleExplorateur::catalogueDetruit()
{
    // Its albums are going with it: the rows not kept here show empty.
    m_catalogue = nullptr;
    m_vide = true;
}
