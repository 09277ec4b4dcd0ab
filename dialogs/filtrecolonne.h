#pragma once

#include <QHash>
#include <QList>
#include <QSortFilterProxyModel>
#include <QString>
#include <QStringList>

// The texts of one column, each distinct text stored once and numbered: rows
// hold numbers, so the filters and the lists of values compare integers
// instead of strings.
class ValeursColonne
{
public:
    void ajouterLigne(const QString& texte) { m_numeros.append(numero(texte)); }
    void changer(int ligne, const QString& texte) { m_numeros[ligne] = numero(texte); }

    int numeroLigne(int ligne) const { return m_numeros.at(ligne); }
    const QString& texte(int numero) const { return m_textes.at(numero); }
    int nbTextes() const { return int(m_textes.size()); }

private:
    int numero(const QString& texte);

    QStringList m_textes;
    QHash<QString, int> m_index;
    QList<int> m_numeros;
};

// Keeps the rows whose text in one column contains a fixed text
// (case-sensitive); an empty text keeps every row. The proxy must sit, through
// other proxies or directly, on the model whose column `valeurs` describes.
//
// A new text refreshes the rows in one layout change. QSortFilterProxyModel's
// own filter setters remove and insert rows range by range, which the next
// proxy of a chain replays range by range: far too slow on 100,000 rows.
class FiltreColonne : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    FiltreColonne(const ValeursColonne* valeurs, int colonne, QObject* parent = nullptr);

    QString texte() const { return m_texte; }
    void setTexte(const QString& texte);

    // Sorting is passed down the chain to a sorting proxy under the filters:
    // the filters keep its order, so a new filter text never sorts again.
    void sort(int colonne, Qt::SortOrder ordre = Qt::AscendingOrder) override;

protected:
    bool filterAcceptsRow(int ligneSource, const QModelIndex& parentSource) const override;

private:
    const ValeursColonne* m_valeurs;
    QString m_texte;
    // Whether each distinct text of the column contains m_texte; a text that
    // appeared since (a cell edited in place) is tested when met.
    QList<bool> m_acceptes;
};

// Sorts by the texts of a table kept column by column beside the model:
// comparing two plain strings instead of asking the model for two variants
// makes sorting 100,000 rows several times faster.
class TriColonnes : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    // colonnes[c][r] is the text of row r, column c of the source model; the
    // owner keeps it up to date.
    TriColonnes(const QList<QStringList>* colonnes, QObject* parent = nullptr);

protected:
    bool lessThan(const QModelIndex& gauche, const QModelIndex& droite) const override;

private:
    const QList<QStringList>* m_colonnes;
};
