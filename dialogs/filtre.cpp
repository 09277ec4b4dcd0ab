#include "dialogs/filtre.h"

#include "model/bd.h"
#include "model/catalogue.h"
#include "model/modeleexplorateur.h"
#include "ui_filtre.h"

#include <QHeaderView>
#include <QScreen>

filtre::filtre(const Catalogue& catalogue, QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::filtre)
    , catalogue(catalogue)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);

    modele = new ModeleExplorateur(catalogue, this);
    // The lists first, in catalogue order: sorting below must not change them.
    remplir(ui->cbEditeur, ModeleExplorateur::ColEditeur, QString(), true);
    remplir(ui->cbDessinteur, ModeleExplorateur::ColDessinateur, QString(), true);
    remplir(ui->cbScenariste, ModeleExplorateur::ColScenariste, QString(), true);

    ui->tableResult->setModel(modele);
    // A-Z under an arrow that says so; Qt's header would start Z-A.
    ui->tableResult->horizontalHeader()->setSortIndicator(
        ModeleExplorateur::ColSerie, Qt::AscendingOrder);
    ui->tableResult->setSortingEnabled(true);

    // Never wider than the screen, whatever the length of a name.
    for (QComboBox* liste : { ui->cbScenariste, ui->cbDessinteur, ui->cbEditeur }) {
        liste->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        liste->setMinimumContentsLength(12);
    }
    ajusterColonnes();
    if (const QScreen* ecran = screen())
        setMaximumWidth(ecran->availableGeometry().width());

    connect(ui->pushButton, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->cbDessinteur, &QComboBox::currentTextChanged, this, &filtre::filtrerDessinateur);
    connect(ui->cbEditeur, &QComboBox::currentTextChanged, this, &filtre::filtrerEditeur);
    connect(ui->cbScenariste, &QComboBox::currentTextChanged, this, &filtre::filtrerScenariste);
    connect(ui->tableResult, &QTableView::clicked, this, &filtre::updateDataLigne);
    connect(ui->pbShowMain, &QPushButton::clicked, this, &filtre::showInPhylacto);
    connect(ui->pbExporter, &QPushButton::clicked, this,
        [this] { emit exporterLignes(lignesAffichees()); });
}

filtre::~filtre()
{
    delete ui;
}

// Each column as wide as its first rows' texts, up to a third of the screen;
// the last one takes whatever width is left.
void filtre::ajusterColonnes()
{
    QHeaderView* entetes = ui->tableResult->horizontalHeader();
    const int plafond = qMax(100, (screen() ? screen()->availableGeometry().width() : 1024) / 3);
    entetes->setMaximumSectionSize(plafond);
    // Measuring is per row: the first rows size the columns of any collection alike.
    entetes->setResizeContentsPrecision(lignesMesurees);
    for (int colonne = 0; colonne < ModeleExplorateur::NbColonnes; ++colonne) {
        const QAbstractItemView* vue = ui->tableResult;
        const int largeur
            = qMax(vue->sizeHintForColumn(colonne), entetes->sectionSizeHint(colonne));
        entetes->resizeSection(colonne, qMin(largeur, plafond));
    }
    entetes->setStretchLastSection(true);
    // A capped text ends in "…" on its one line.
    ui->tableResult->setWordWrap(false);
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
    modele->filtrer(texteDessinateur, texteScenariste, texteEditeur);
    remplir(ui->cbEditeur, ModeleExplorateur::ColEditeur, texteEditeur, false);
    remplir(ui->cbDessinteur, ModeleExplorateur::ColDessinateur, texteDessinateur, false);
    remplir(ui->cbScenariste, ModeleExplorateur::ColScenariste, texteScenariste, false);
}

// Refills a list without running its filter; the entry equal to the filter is
// current, else the empty one.
void filtre::remplir(QComboBox* liste, int colonne, const QString& filtreEnCours, bool ordreInitial)
{
    const QStringList valeurs = modele->valeursAffichees(colonne, ordreInitial);
    const QSignalBlocker bloqueur(liste);
    liste->clear();
    liste->addItems(valeurs);
    for (int i = 0; i < valeurs.size(); ++i) {
        if (valeurs.at(i).size() > 40)
            liste->setItemData(i, valeurs.at(i), Qt::ToolTipRole);
    }
    const int courante = filtreEnCours.isEmpty() ? 0 : int(valeurs.indexOf(filtreEnCours));
    liste->setCurrentIndex(qMax(0, courante));
}

QList<int> filtre::lignesAffichees() const
{
    return modele->lignesAffichees();
}

QString filtre::texte(int ligne, int colonne) const
{
    return modele->texte(ligne, colonne);
}

void filtre::updateDataLigne(QModelIndex index)
{
    if (!index.isValid())
        return;
    serieChoisie = index.siblingAtColumn(ModeleExplorateur::ColSerie).data().toString();
    titreChoisi = index.siblingAtColumn(ModeleExplorateur::ColTitre).data().toString();
    ligneChoisie = true;
}

void filtre::showInPhylacto()
{
    if (!ligneChoisie)
        return;
    if (BD* album = catalogue.premierAlbum(serieChoisie, titreChoisi))
        emit montrerAlbum(album);
}
