#include "dialogs/filtre.h"

#include "model/catalogue.h"
#include "model/bd.h"
#include "ui_filtre.h"

#include <QHeaderView>
#include <QScreen>
#include <QStandardItemModel>

namespace {

// Longer texts are elided in the table and the lists; the tooltip shows them whole.
constexpr int longueurSansBulle = 40;

// The distinct texts of one column over some rows, in order of first
// occurrence, after an empty first entry.
class ListeValeurs
{
public:
    explicit ListeValeurs(const ValeursColonne& valeurs)
        : m_valeurs(valeurs)
        , m_vus(valeurs.nbTextes(), false)
    {
        m_textes.append(QString());
    }

    void ajouterLigne(int ligne)
    {
        const int numero = m_valeurs.numeroLigne(ligne);
        if (m_vus.at(numero))
            return;
        m_vus[numero] = true;
        const QString& texte = m_valeurs.texte(numero);
        if (!texte.isEmpty())
            m_textes.append(texte);
    }

    // Fills the combo box without running its filter; the entry equal to the
    // filter is current, else the empty one.
    void remplir(QComboBox* liste, const QString& filtreEnCours) const
    {
        const QSignalBlocker bloqueur(liste);
        liste->clear();
        liste->addItems(m_textes);
        for (int i = 0; i < m_textes.size(); ++i) {
            if (m_textes.at(i).size() > longueurSansBulle)
                liste->setItemData(i, m_textes.at(i), Qt::ToolTipRole);
        }
        const int courante = filtreEnCours.isEmpty() ? 0 : int(m_textes.indexOf(filtreEnCours));
        liste->setCurrentIndex(qMax(0, courante));
    }

private:
    const ValeursColonne& m_valeurs;
    QList<bool> m_vus;
    QStringList m_textes;
};

} // namespace

filtre::filtre(const Catalogue& catalogue, QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::filtre)
    , catalogue(catalogue)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);

    const QList<BD*> albums = catalogue.albums();
    const int nbLignes = int(albums.size());
    textes.resize(NbColonnes);
    for (QStringList& colonne : textes)
        colonne.reserve(nbLignes);
    for (const BD* album : albums) {
        textes[ColSerie].append(album->getSerie());
        textes[ColTitre].append(album->getTitre());
        textes[ColTome].append(QString::number(album->tome));
        textes[ColScenariste].append(album->getScenariste());
        textes[ColDessinateur].append(album->getDessinateur());
        textes[ColEditeur].append(album->getEditeur());
        textes[ColColoriste].append(album->getColoriste());
        valeursScenariste.ajouterLigne(album->getScenariste());
        valeursDessinateur.ajouterLigne(album->getDessinateur());
        valeursEditeur.ajouterLigne(album->getEditeur());
    }

    modele = new QStandardItemModel(nbLignes, NbColonnes, this);
    modele->setHorizontalHeaderLabels({ tr("Serie"), tr("Titre"), tr("Tome"), tr("Scenariste"),
        tr("Dessinateur"), tr("Editeur"), tr("Coloriste") });
    for (int ligne = 0; ligne < nbLignes; ++ligne) {
        for (int colonne = 0; colonne < NbColonnes; ++colonne) {
            const QString& texte = textes[colonne].at(ligne);
            auto* cellule = new QStandardItem(texte);
            if (texte.size() > longueurSansBulle)
                cellule->setToolTip(texte);
            modele->setItem(ligne, colonne, cellule);
        }
    }
    connect(modele, &QAbstractItemModel::dataChanged, this, &filtre::noterModification);

    ListeValeurs editeurs(valeursEditeur), dessinateurs(valeursDessinateur),
        scenaristes(valeursScenariste);
    for (int ligne = 0; ligne < nbLignes; ++ligne) {
        editeurs.ajouterLigne(ligne);
        dessinateurs.ajouterLigne(ligne);
        scenaristes.ajouterLigne(ligne);
    }
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
    filtreDessinateur = new FiltreColonne(&valeursDessinateur, ColDessinateur, this);
    filtreDessinateur->setSourceModel(tri);
    filtreScenariste = new FiltreColonne(&valeursScenariste, ColScenariste, this);
    filtreScenariste->setSourceModel(filtreDessinateur);
    filtreEditeur = new FiltreColonne(&valeursEditeur, ColEditeur, this);
    filtreEditeur->setSourceModel(filtreScenariste);
    ui->tableResult->setModel(filtreEditeur);
    ui->tableResult->setSortingEnabled(true);

    // Never wider than the screen, whatever the length of a name.
    for (QComboBox* liste : { ui->cbScenariste, ui->cbDessinteur, ui->cbEditeur }) {
        liste->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        liste->setMinimumContentsLength(12);
    }
    ui->tableResult->horizontalHeader()->setMaximumSectionSize(
        qMax(100, (screen() ? screen()->availableGeometry().width() : 1024) / 3));
    if (const QScreen* ecran = screen())
        setMaximumWidth(ecran->availableGeometry().width());

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

    ListeValeurs editeurs(valeursEditeur), dessinateurs(valeursDessinateur),
        scenaristes(valeursScenariste);
    const int nbLignes = filtreEditeur->rowCount();
    for (int ligne = 0; ligne < nbLignes; ++ligne) {
        const int source = ligneSource(ligne);
        editeurs.ajouterLigne(source);
        dessinateurs.ajouterLigne(source);
        scenaristes.ajouterLigne(source);
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

ValeursColonne* filtre::valeursDe(int colonne)
{
    switch (colonne) {
    case ColScenariste:
        return &valeursScenariste;
    case ColDessinateur:
        return &valeursDessinateur;
    case ColEditeur:
        return &valeursEditeur;
    default:
        return nullptr;
    }
}

void filtre::noterModification(const QModelIndex& hautGauche, const QModelIndex& basDroite)
{
    for (int ligne = hautGauche.row(); ligne <= basDroite.row(); ++ligne) {
        for (int colonne = hautGauche.column(); colonne <= basDroite.column(); ++colonne) {
            const QStandardItem* cellule = modele->item(ligne, colonne);
            if (!cellule)
                continue;
            textes[colonne][ligne] = cellule->text();
            if (ValeursColonne* valeurs = valeursDe(colonne))
                valeurs->changer(ligne, cellule->text());
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
    if (BD* album = catalogue.premierAlbum(serieChoisie, titreChoisi))
        emit montrerAlbum(album);
}
