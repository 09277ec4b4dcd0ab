#include "dialogs/filtrecolonne.h"

FiltreColonne::FiltreColonne(int colonne, QObject* parent)
    : QSortFilterProxyModel(parent)
{
    setFilterKeyColumn(colonne);
    setFilterCaseSensitivity(Qt::CaseSensitive);
}

void FiltreColonne::setTexte(const QString& texte)
{
    if (texte == m_texte)
        return;
    m_texte = texte;
    invalidate();
}

bool FiltreColonne::filterAcceptsRow(int ligneSource, const QModelIndex& parentSource) const
{
    if (m_texte.isEmpty())
        return true;
    const QModelIndex cellule = sourceModel()->index(ligneSource, filterKeyColumn(), parentSource);
    return cellule.data(filterRole()).toString().contains(m_texte, Qt::CaseSensitive);
}

void FiltreColonne::sort(int colonne, Qt::SortOrder ordre)
{
    if (sourceModel())
        sourceModel()->sort(colonne, ordre);
}

TriColonnes::TriColonnes(const QList<QStringList>* colonnes, QObject* parent)
    : QSortFilterProxyModel(parent)
    , m_colonnes(colonnes)
{
}

bool TriColonnes::lessThan(const QModelIndex& gauche, const QModelIndex& droite) const
{
    const QStringList& colonne = m_colonnes->at(gauche.column());
    return colonne.at(gauche.row()) < colonne.at(droite.row());
}
