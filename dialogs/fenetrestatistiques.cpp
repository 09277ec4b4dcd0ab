#include "dialogs/fenetrestatistiques.h"

#include "dialogs/boites.h"
#include "dialogs/cellules.h"
#include "dialogs/graphiques.h"
#include "ui_fenetrestatistiques.h"

#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QVBoxLayout>

namespace {

using Cellules::cellule;
using Cellules::celluleNombre;

void remplirFrequences(QTableWidget* table, const QList<Statistiques::Frequence>& frequences)
{
    table->setRowCount(int(frequences.size()));
    for (int ligne = 0; ligne < frequences.size(); ++ligne) {
        table->setItem(ligne, 0, cellule(frequences.at(ligne).nom));
        table->setItem(ligne, 1, celluleNombre(frequences.at(ligne).albums));
    }
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
}

} // namespace

FenetreStatistiques::FenetreStatistiques(const Statistiques& stats, QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::FenetreStatistiques)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);

    int totalAlbums = 0;
    int totalSeries = 0;
    for (int type = 0; type < 3; ++type) {
        ui->LstParType->setItem(type, 0, celluleNombre(stats.albumsParType[type]));
        ui->LstParType->setItem(type, 1, celluleNombre(stats.seriesParType[type]));
        totalAlbums += stats.albumsParType[type];
        totalSeries += stats.seriesParType[type];
    }
    ui->LstParType->setItem(3, 0, celluleNombre(totalAlbums));
    ui->LstParType->setItem(3, 1, celluleNombre(totalSeries));
    ui->LstParType->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    ui->lbSeriesFinies->setText(QString::number(stats.seriesFinies));
    ui->lbSansCouverture->setText(QString::number(stats.albumsSansCouverture));
    ui->lbTotalTomesManquants->setText(QString::number(stats.tomesManquants));

    QTableWidget* prets = ui->LstPretsEnCours;
    prets->setRowCount(int(stats.prets.size()));
    for (int ligne = 0; ligne < stats.prets.size(); ++ligne) {
        const Statistiques::Pret& pret = stats.prets.at(ligne);
        prets->setItem(ligne, 0, cellule(pret.serie));
        prets->setItem(ligne, 1, cellule(pret.titre));
        prets->setItem(ligne, 2, cellule(pret.emprunteur));
        prets->setItem(ligne, 3, cellule(pret.date));
        prets->setItem(ligne, 4, pret.jours >= 0 ? celluleNombre(pret.jours) : cellule(tr("?")));
    }
    prets->setColumnWidth(0, 180);
    prets->setColumnWidth(1, 180);

    remplirFrequences(ui->LstEditeurs, stats.editeurs);
    remplirFrequences(ui->LstScenaristes, stats.scenaristes);
    remplirFrequences(ui->LstDessinateurs, stats.dessinateurs);

    m_graphiques = stats.graphiques();
    m_vue = new QChartView(ui->cadreGraphique);
    m_vue->setObjectName(QStringLiteral("vueGraphique"));
    m_vue->setRenderHint(QPainter::Antialiasing);
    // An opaque background, also in the saved picture.
    m_vue->setBackgroundBrush(palette().brush(QPalette::Window));
    auto* cadre = new QVBoxLayout(ui->cadreGraphique);
    cadre->setContentsMargins(0, 0, 0, 0);
    cadre->addWidget(m_vue);
    for (const Statistiques::Graphique& graphique : std::as_const(m_graphiques))
        ui->LstGraphiques->addItem(graphique.titre);
    connect(ui->LstGraphiques, &QListWidget::currentRowChanged, this,
        &FenetreStatistiques::montrerGraphique);
    connect(ui->pbEnregistrerImage, &QPushButton::clicked, this,
        &FenetreStatistiques::enregistrerImage);
    ui->LstGraphiques->setCurrentRow(0);
}

void FenetreStatistiques::montrerGraphique(int rang)
{
    if (rang < 0 || rang >= m_graphiques.size())
        return;
    QChart* ancien = m_vue->chart();
    m_vue->setChart(Graphiques::creer(m_graphiques.at(rang), palette()));
    delete ancien;
}

void FenetreStatistiques::enregistrerImage()
{
    QString chemin = Boites::fichierAEnregistrer(
        this, tr("Enregistrer l'image"), QDir::currentPath(), tr("Image PNG (*.png)"));
    if (chemin.isEmpty())
        return;
    if (QFileInfo(chemin).suffix().compare(QLatin1String("png"), Qt::CaseInsensitive) != 0)
        chemin += QStringLiteral(".png");
    if (!m_vue->grab().save(chemin, "PNG"))
        Boites::informer(tr("L'image n'a pas pu être enregistrée dans %1.")
                             .arg(QDir::toNativeSeparators(chemin)));
}

FenetreStatistiques::~FenetreStatistiques()
{
    delete ui;
}
