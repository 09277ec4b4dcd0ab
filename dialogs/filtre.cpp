#include "dialogs/filtre.h"

#include "app/phylacto.h"
#include "dialogs/filtrecolonne.h"
#include "model/bd.h"
#include "ui_filtre.h"

#include <QSet>
#include <QStandardItemModel>

namespace {

// Distinct texts in order of first occurrence, after an empty first entry.
class ListeValeurs
{
public:
    ListeValeurs()
    {
        m_valeurs.append(QString());
        m_vues.insert(QString());
    }

    void ajouter(const QString& valeur)
    {
        if (!m_vues.contains(valeur)) {
            m_vues.insert(valeur);
            m_valeurs.append(valeur);
        }
    }

    // Fills the combo box without running its filter; the entry equal to the
    // filter is current, else the empty one.
    void remplir(QComboBox* liste, const QString& filtreEnCours) const
    {
        const QSignalBlocker bloqueur(liste);
        liste->clear();
        liste->addItems(m_valeurs);
        liste->setCurrentIndex(filtreEnCours.isEmpty() ? 0 : qMax(0, int(m_valeurs.indexOf(filtreEnCours))));
    }

private:
    QStringList m_valeurs;
    QSet<QString> m_vues;
};

} // namespace

filtre::filtre(Phylacto* parent)
    : QDialog(parent)
    , ui(new Ui::filtre)
    , fenetre(parent)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);

    const QList<BD*> albums = fenetre->getAlbums();
    ListeValeurs editeurs, dessinateurs, scenaristes;
    modele = new QStandardItemModel(int(albums.size()), NbColonnes, this);
    modele->setHorizontalHeaderLabels({tr("Serie"), tr("Titre"), tr("Tome"), tr("Scenariste"),
                                       tr("Dessinateur"), tr("Editeur"), tr("Coloriste")});
    textes.resize(NbColonnes);
    for (QStringList& colonne : textes)
        colonne.reserve(albums.size());
    for (const BD* album : albums) {
        textes[ColSerie].append(album->getSerie());
        textes[ColTitre].append(album->getTitre());
        textes[ColTome].append(QString::number(album->tome));
        textes[ColScenariste].append(album->getScenariste());
        textes[ColDessinateur].append(album->getDessinateur());
        textes[ColEditeur].append(album->getEditeur());
        textes[ColColoriste].append(album->getColoriste());
        editeurs.ajouter(album->getEditeur());
        dessinateurs.ajouter(album->getDessinateur());
        scenaristes.ajouter(album->getScenariste());
    }
    for (int ligne = 0; ligne < albums.size(); ++ligne) {
        for (int colonne = 0; colonne < NbColonnes; ++colonne)
            modele->setItem(ligne, colonne, new QStandardItem(textes[colonne].at(ligne)));
    }
    connect(modele, &QAbstractItemModel::dataChanged, this, &filtre::noterModification);
    editeurs.remplir(ui->cbEditeur, QString());
    dessinateurs.remplir(ui->cbDessinteur, QString());
    scenaristes.remplir(ui->cbScenariste, QString());

    // Empty filters let every row through, so the table shows the end of the
    // chain from the start and never changes model. A QStandardItemModel is
    // never sorted in place: once its rows are reordered, each item it
    // destroys searches its row linearly.
    tri = new TriColonnes(&textes, this);
    tri->setDynamicSortFilter(false);
    tri->setSourceModel(modele);
    filtreDessinateur = new FiltreColonne(ColDessinateur, this);
    filtreDessinateur->setSourceModel(tri);
    filtreScenariste = new FiltreColonne(ColScenariste, this);
    filtreScenariste->setSourceModel(filtreDessinateur);
    filtreEditeur = new FiltreColonne(ColEditeur, this);
    filtreEditeur->setSourceModel(filtreScenariste);
    ui->tableResult->setModel(filtreEditeur);
    ui->tableResult->setSortingEnabled(true);

    connect(ui->pushButton, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->cbDessinteur, &QComboBox::currentTextChanged, this, &filtre::filtrerDessinateur);
    connect(ui->cbEditeur, &QComboBox::currentTextChanged, this, &filtre::filtrerEditeur);
    connect(ui->cbScenariste, &QComboBox::currentTextChanged, this, &filtre::filtrerScenariste);
    connect(ui->tableResult, &QTableView::clicked, this, &filtre::updateDataLigne);
    connect(ui->pbShowMain, &QPushButton::clicked, this, &filtre::showInPhylacto);
}

filtre::~filtre()
{
    delete ui;
}

void filtre::filtrerDessinateur(QString texte)
{
    texteDessinateur = texte;
    appliquerFiltres();
}

void filtre::filtrerScenariste(QString texte)
{
    texteScenariste = texte;
    appliquerFiltres();
}

void filtre::filtrerEditeur(QString texte)
{
    texteEditeur = texte;
    appliquerFiltres();
}

void filtre::appliquerFiltres()
{
    filtreDessinateur->setTexte(texteDessinateur);
    filtreScenariste->setTexte(texteScenariste);
    filtreEditeur->setTexte(texteEditeur);

    ListeValeurs editeurs, dessinateurs, scenaristes;
    const int nbLignes = filtreEditeur->rowCount();
    for (int ligne = 0; ligne < nbLignes; ++ligne) {
        const int source = ligneSource(ligne);
        editeurs.ajouter(textes[ColEditeur].at(source));
        dessinateurs.ajouter(textes[ColDessinateur].at(source));
        scenaristes.ajouter(textes[ColScenariste].at(source));
    }
    editeurs.remplir(ui->cbEditeur, texteEditeur);
    dessinateurs.remplir(ui->cbDessinteur, texteDessinateur);
    scenaristes.remplir(ui->cbScenariste, texteScenariste);
}

int filtre::ligneSource(int ligneAffichee) const
{
    QModelIndex index = filtreEditeur->index(ligneAffichee, 0);
    index = filtreEditeur->mapToSource(index);
    index = filtreScenariste->mapToSource(index);
    index = filtreDessinateur->mapToSource(index);
    return tri->mapToSource(index).row();
}

void filtre::noterModification(const QModelIndex& hautGauche, const QModelIndex& basDroite)
{
    for (int ligne = hautGauche.row(); ligne <= basDroite.row(); ++ligne) {
        for (int colonne = hautGauche.column(); colonne <= basDroite.column(); ++colonne) {
            if (const QStandardItem* cellule = modele->item(ligne, colonne))
                textes[colonne][ligne] = cellule->text();
        }
    }
}

void filtre::updateDataLigne(QModelIndex index)
{
    if (!index.isValid())
        return;
    serieChoisie = index.siblingAtColumn(ColSerie).data().toString();
    titreChoisi = index.siblingAtColumn(ColTitre).data().toString();
    ligneChoisie = true;
}

void filtre::showInPhylacto()
{
    if (!ligneChoisie)
        return;
    if (BD* album = fenetre->getCatalogue().premierAlbum(serieChoisie, titreChoisi))
        fenetre->updateInfosBd(album);
}
