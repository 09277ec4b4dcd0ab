#pragma once

#include <QSortFilterProxyModel>
#include <QString>

// Keeps the rows whose text in one column contains a fixed text
// (case-sensitive); an empty text keeps every row.
//
// A new text refreshes the rows in one layout change. QSortFilterProxyModel's
// own filter setters remove and insert rows range by range, which the next
// proxy of a chain replays range by range: far too slow on 100,000 rows.
class FiltreColonne : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    FiltreColonne(int colonne, QObject* parent = nullptr);

    QString texte() const { return m_texte; }
    void setTexte(const QString& texte);

    // Sorting is passed down the chain to a sorting proxy under the filters:
    // the filters keep its order, so a new filter text never sorts again.
    void sort(int colonne, Qt::SortOrder ordre = Qt::AscendingOrder) override;

protected:
    bool filterAcceptsRow(int ligneSource, const QModelIndex& parentSource) const override;

private:
    QString m_texte;
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
