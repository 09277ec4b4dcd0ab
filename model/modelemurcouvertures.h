#pragma once

#include "model/catalogue.h"

#include <QAbstractListModel>
#include <QList>
#include <QSet>
#include <QString>

class BD;

// The albums of the covers wall: one series or the whole collection, series
// in the order of the series lists, each in volume order. Rows point at the
// catalogue's own albums; once the catalogue says an album is about to
// change or leave, that album is not read again until the rows are rebuilt.
class ModeleMurCouvertures : public QAbstractListModel, private SuiviAlbums
{
    Q_OBJECT

public:
    enum Role {
        RoleSerie = Qt::UserRole + 1,
        RoleTome,
        RoleTitre,
        RoleImage // the album's image field, empty when it has no cover
    };

    // What the wall shows, with the filters of the series lists.
    struct Choix
    {
        bool collection = false; // else only the series named serie
        QString serie;
        int genre = -1; // a TypeBD: the series of that kind's list; -1: every series
        bool parRecherche = false; // only the series of seriesTrouvees
        QSet<QString> seriesTrouvees;
        bool operator==(const Choix& autre) const;
    };

    explicit ModeleMurCouvertures(const Catalogue& catalogue, QObject* parent = nullptr);
    ~ModeleMurCouvertures() override;

    // Rebuilds the rows when the choice or the catalogue changed.
    void choisir(const Choix& choix);
    // No rows, nothing followed, until the next choice (the wall is hidden).
    void vider();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // nullptr when the album changed or left since the rows were built.
    BD* album(int ligne) const;
    int ligne(const BD* album) const; // -1 when not shown

private:
    void avantChangement(const BD& album) override;
    void catalogueDetruit() override;
    // Nothing changed in the catalogue since the rows were built.
    bool aJour() const;
    void reconstruire();
    QList<BD*> selectionner() const;

    const Catalogue* m_catalogue;
    Choix m_choix;
    bool m_actif = false;
    QList<BD*> m_albums;
    QSet<const BD*> m_touches;
    quint64 m_revision = 0;
    bool m_reconstructionPrevue = false;
};
