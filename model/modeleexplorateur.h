#pragma once

#include "model/catalogue.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

class BD;

// The explorer's table, read from the albums themselves: which albums and in
// which order is a snapshot taken at construction; the texts are the albums'
// own, except a cell edited in place (kept here, the album never changes) and
// an album changed or deleted in the catalogue since (its texts as they were
// are kept here before the change). Filters and sorting keep row numbers.
class ModeleExplorateur : public QAbstractTableModel, private SuiviAlbums
{
    Q_OBJECT

public:
    enum Colonne {
        ColSerie,
        ColTitre,
        ColTome,
        ColScenariste,
        ColDessinateur,
        ColEditeur,
        ColColoriste,
        NbColonnes
    };

    explicit ModeleExplorateur(const Catalogue& catalogue, QObject* parent = nullptr);
    ~ModeleExplorateur() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& valeur, int role = Qt::EditRole) override;
    // Stable, by text: equal texts keep their order.
    void sort(int colonne, Qt::SortOrder ordre = Qt::AscendingOrder) override;

    // Rows whose artist, writer and publisher contain the three texts
    // (case-sensitive; an empty text keeps every row), in the sorted order.
    void filtrer(const QString& dessinateur, const QString& scenariste, const QString& editeur);

    // Rows of the snapshot shown, in the order shown.
    const QList<int>& lignesAffichees() const { return m_affichees; }
    // The text of a snapshot row's column, as the table shows it.
    QString texte(int ligne, int colonne) const;
    // The distinct texts of a column over the rows shown (all rows in
    // snapshot order before any filter), in order of first occurrence, after
    // an empty first entry.
    QStringList valeursAffichees(int colonne, bool ordreInitial = false) const;

private:
    using TextesLigne = std::array<QString, NbColonnes>;

    void avantChangement(const BD& album) override;
    void catalogueDetruit() override;
    bool accepte(int ligne) const;
    QList<int> selectionner() const;
    void changerLignes(const QList<int>& affichees);

    const Catalogue* m_catalogue;
    QList<BD*> m_albums; // shared with the catalogue until it changes
    QList<int> m_ordre; // every snapshot row, in the sorted order
    QList<int> m_affichees; // the rows passing the filters, in that order
    QString m_filtres[NbColonnes];
    QHash<const BD*, TextesLigne> m_figees;
    QHash<qint64, QString> m_editees; // ligne * NbColonnes + colonne
    bool m_vide = false; // the catalogue is gone
};
