#pragma once

#include "dialogs/filtrecolonne.h"

#include <QDialog>
#include <QList>
#include <QModelIndex>
#include <QString>
#include <QStringList>

class BD;
class Catalogue;
class QComboBox;
class QStandardItemModel;

namespace Ui {
class filtre;
}

// Every album in one table, narrowed by artist, writer and publisher. The
// rows are a snapshot taken at opening; the explorer never changes an album.
class filtre : public QDialog
{
    Q_OBJECT

public:
    filtre(const Catalogue& catalogue, QWidget* parent);
    ~filtre() override;

    // Applies the three filter texts, then rebuilds the three lists from the
    // rows shown.
    void appliquerFiltres();
    // Rows of the catalogue the filters show, in the shown order.
    QList<int> lignesAffichees() const;

signals:
    // "Montrer dans Phylacto": the opener shows this album.
    void montrerAlbum(BD* album);
    // "Exporter ces lignes…": the opener writes these rows of the catalogue.
    void exporterLignes(QList<int> lignes);

public slots:
    void filtrerDessinateur(QString texte);
    void filtrerScenariste(QString texte);
    void filtrerEditeur(QString texte);
    void updateDataLigne(QModelIndex index);
    void showInPhylacto();

private:
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

    int ligneSource(int ligneAffichee) const;
    ValeursColonne* valeursDe(int colonne);
    void noterModification(const QModelIndex& hautGauche, const QModelIndex& basDroite);

    Ui::filtre* ui = nullptr;
    const Catalogue& catalogue;
    QStandardItemModel* modele = nullptr;
    // Sorts the table for the view's header; the filters sit above it.
    TriColonnes* tri = nullptr;
    // The model's texts, column by column, for sorting; the three filtered
    // columns also numbered, for the filters and the lists.
    QList<QStringList> textes;
    ValeursColonne valeursScenariste;
    ValeursColonne valeursDessinateur;
    ValeursColonne valeursEditeur;
    // Built once: artist (column 4), then writer (3), then publisher (5).
    FiltreColonne* filtreDessinateur = nullptr;
    FiltreColonne* filtreScenariste = nullptr;
    FiltreColonne* filtreEditeur = nullptr;

    QString texteDessinateur;
    QString texteScenariste;
    QString texteEditeur;

    bool ligneChoisie = false;
    QString serieChoisie;
    QString titreChoisi;
};
