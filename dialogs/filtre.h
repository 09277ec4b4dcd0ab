#pragma once

#include <QDialog>
#include <QList>
#include <QModelIndex>
#include <QString>

class BD;
class Catalogue;
class ModeleExplorateur;
class QComboBox;

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

    // The rows shown, in the order shown, as rows of the snapshot; their
    // texts as the table shows them.
    QList<int> lignesAffichees() const;
    QString texte(int ligne, int colonne) const;

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
    static constexpr int lignesMesurees = 50;
    void ajusterColonnes();
    void remplir(QComboBox* liste, int colonne, const QString& filtreEnCours, bool ordreInitial);

    Ui::filtre* ui = nullptr;
    const Catalogue& catalogue;
    ModeleExplorateur* modele = nullptr;

    QString texteDessinateur;
    QString texteScenariste;
    QString texteEditeur;

    bool ligneChoisie = false;
    QString serieChoisie;
    QString titreChoisi;
};
