#include "dialogs/filtrecolonne.h"

int ValeursColonne::numero(const QString& texte)
{
    const auto trouve = m_index.constFind(texte);
    if (trouve != m_index.constEnd())
        return trouve.value();
    const int nouveau = int(m_textes.size());
    m_textes.append(texte);
    m_index.insert(texte, nouveau);
    return nouveau;
}

FiltreColonne::FiltreColonne(const ValeursColonne* valeurs, int colonne, QObject* parent)
    : QSortFilterProxyModel(parent)
    , m_valeurs(valeurs)
{
    setFilterKeyColumn(colonne);
    setFilterCaseSensitivity(Qt::CaseSensitive);
}

void FiltreColonne::setTexte(const QString& texte)
{
    if (texte == m_texte)
        return;
    m_texte = texte;
    m_acceptes.clear();
    if (!m_texte.isEmpty()) {
        m_acceptes.reserve(m_valeurs->nbTextes());
        for (int numero = 0; numero < m_valeurs->nbTextes(); ++numero)
            m_acceptes.append(m_valeurs->texte(numero).contains(m_texte, Qt::CaseSensitive));
    }
    invalidate();
}

void FiltreColonne::sort(int colonne, Qt::SortOrder ordre)
{
    if (sourceModel())
        sourceModel()->sort(colonne, ordre);
}

bool FiltreColonne::filterAcceptsRow(int ligneSource, const QModelIndex& parentSource) const
{
    if (m_texte.isEmpty())
        return true;
    // Down the chain to the row of the model itself.
    QModelIndex index = sourceModel()->index(ligneSource, 0, parentSource);
    while (const auto* proxy = qobject_cast<const QAbstractProxyModel*>(index.model()))
        index = proxy->mapToSource(index);
    const int numero = m_valeurs->numeroLigne(index.row());
    if (numero < m_acceptes.size())
        return m_acceptes.at(numero);
    return m_valeurs->texte(numero).contains(m_texte, Qt::CaseSensitive);
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
