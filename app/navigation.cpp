#include "app/phylacto.h"

#include "covers/nomimage.h"
#include "dialogs/boites.h"
#include "dialogs/cellules.h"
#include "model/bd.h"
#include "model/serie.h"
#include "ui_phylacto.h"

#include <algorithm>

#include <QCursor>
#include <QFile>
#include <QMenu>
#include <QPixmap>

namespace {

// Covers are read from their bytes: a file rewritten under the same name must
// never show a cached picture.
QPixmap lireImage(const QString& chemin)
{
    QPixmap image;
    image.loadFromData(NomImage::octetsCouverture(chemin));
    return image;
}

} // namespace

using Cellules::celluleFixe;

void Phylacto::updateLstAlbum(QListWidgetItem* current, QListWidgetItem* previous)
{
    Q_UNUSED(previous);
    if (!current)
        return;
    serieCourante = current->text();
    const QList<BD*> albumsSerie = remplirTableAlbums();
    if (!albumsSerie.isEmpty())
        updateInfosBd(albumsSerie.first());
}

QList<BD*> Phylacto::remplirTableAlbums()
{
    ui->LstAlbum->setRowCount(0);
    const QList<BD*> albumsSerie = catalogue.albumsParNom(serieCourante, true);
    majEtiquetteTomes(albumsSerie);
    if (albumsSerie.isEmpty())
        return albumsSerie;

    // Filled unsorted so that each row keeps its pair of cells.
    ui->LstAlbum->setSortingEnabled(false);
    ui->LstAlbum->setRowCount(int(albumsSerie.size()));
    for (int ligne = 0; ligne < albumsSerie.size(); ++ligne)
        remplirLigneAlbum(ligne, albumsSerie.at(ligne));
    ui->LstAlbum->setSortingEnabled(true);
    return albumsSerie;
}

void Phylacto::remplirLigneAlbum(int ligne, const BD* album)
{
    ui->LstAlbum->setItem(ligne, 0, celluleFixe(QString::number(album->tome)));
    ui->LstAlbum->setItem(ligne, 1, celluleFixe(album->getTitre()));
}

void Phylacto::updateLstAlbum(QTableWidgetItem* current, QTableWidgetItem* previous)
{
    Q_UNUSED(previous);
    if (!current)
        return;
    if (current->column() == 0) {
        current = ui->LstAlbum->item(current->row(), 1);
        if (!current)
            return;
    }
    if (BD* album = catalogue.premierAlbum(serieCourante, current->text()))
        updateInfosBd(album);
}

BD* Phylacto::albumDeLaLigne(int ligne) const
{
    const QTableWidgetItem* cellule = ui->LstAlbum->item(ligne, 1);
    if (!cellule)
        return nullptr;
    return catalogue.premierAlbum(serieCourante, cellule->text());
}

void Phylacto::updateInfosBd(BD* lBd)
{
    if (!lBd)
        return;
    ui->leDessinateur->setText(lBd->getDessinateur());
    ui->leScenariste->setText(lBd->getScenariste());
    ui->leColoriste->setText(lBd->getColoriste());
    ui->leSerie->setText(lBd->getSerie());
    ui->leTitre->setText(lBd->getTitre());
    ui->leTome->setText(QString::number(lBd->tome));
    ui->leEditeur->setText(lBd->getEditeur());
    ui->leGenre->setText(lBd->getGenre());
    // A long text shows its beginning, not its end.
    for (QLineEdit* champ : champsDetail())
        champ->setCursorPosition(0);

    const QString chemin = lBd->aUneImage() ? m_chemins.fichierTravail(lBd->getImage())
                                            : m_chemins.couvertureParDefaut();
    m_couverture = lireImage(chemin);
    afficherCouverture();

    if (lBd->estPretee()) {
        ui->pbPreter->setEnabled(false);
        ui->pbPreter->setText(tr("BD pretée à %1").arg(lBd->getEmprunteur()));
    } else {
        ui->pbPreter->setEnabled(true);
        ui->pbPreter->setText(tr("Preter"));
    }
    suivreAlbumDansMur(lBd);
}

QList<QLineEdit*> Phylacto::champsDetail() const
{
    return { ui->leDessinateur, ui->leScenariste, ui->leColoriste, ui->leSerie, ui->leTitre,
        ui->leTome, ui->leEditeur, ui->leGenre };
}

QList<QPair<QListWidget*, const QList<Serie*>*>> Phylacto::listesEtSeries() const
{
    return {
        { ui->LstSerie, &catalogue.series() },
        { ui->LstManga, &catalogue.seriesManga() },
        { ui->LstBDEuro, &catalogue.seriesEuro() },
        { ui->LstComics, &catalogue.seriesComics() },
    };
}

void Phylacto::MAJListesSeries()
{
    // The lists change only with the catalogue: after the load, the
    // constructor's refresh has nothing to add to them.
    if (m_revisionListes != catalogue.revisionContenu()) {
        m_revisionListes = catalogue.revisionContenu();
        for (const auto& [liste, seriesListe] : listesEtSeries())
            ajouterSeriesManquantes(liste, *seriesListe);
    }
    MAJCompteurs();
    update();
}

void Phylacto::ajouterSeriesManquantes(QListWidget* liste, const QList<Serie*>& seriesListe)
{
    QSet<QString>& affiches = m_nomsListes[liste];
    // Grown once: every growth hashes every name again.
    affiches.reserve(seriesListe.size());
    QStringList nouveaux;
    for (const Serie* serie : seriesListe) {
        const QString nom = serie->getNom();
        if (!affiches.contains(nom)) {
            affiches.insert(nom);
            nouveaux.append(nom);
        }
    }
    if (nouveaux.isEmpty())
        return;
    if (nouveaux.size() <= 16) {
        // A few names (an album entered): sorted insertion beats a full sort.
        for (const QString& nom : std::as_const(nouveaux))
            liste->addItem(nom);
        return;
    }
    // One sort for the whole batch instead of one sorted insertion per name;
    // an empty list (the start) takes the names already in the list's order.
    const bool vide = liste->count() == 0;
    if (vide)
        std::sort(nouveaux.begin(), nouveaux.end());
    liste->setSortingEnabled(false);
    liste->addItems(nouveaux);
    liste->setSortingEnabled(true);
    if (!vide)
        liste->sortItems(Qt::AscendingOrder);
}

void Phylacto::MAJCompteurs()
{
    const Compteurs compteurs = catalogue.compter();
    ui->lbTotale->setText(QString::number(compteurs.total));
    ui->lbComics->setText(QString::number(compteurs.comics));
    ui->lbEuro->setText(QString::number(compteurs.euro));
    ui->lbManga->setText(QString::number(compteurs.manga));
    suivreCatalogue();
}

void Phylacto::myMenu(QPoint)
{
    afficherMenu(sender() && sender()->objectName() == QLatin1String("LstAlbum"), QCursor::pos());
}

void Phylacto::afficherMenu(bool pourAlbums, const QPoint& position)
{
    QMenu menu(this);
    if (pourAlbums) {
        menu.addAction(actionSuppAlbum);
        menu.addAction(actionAjouterSuite);
    } else {
        menu.addAction(actionSuppSerie);
        menu.addAction(actionRenommerSerie);
    }
    Boites::executer(&menu, position);
}

void Phylacto::retirerSerieDesListes(const QString& nom)
{
    for (QListWidget* liste : { ui->LstManga, ui->LstBDEuro, ui->LstComics, ui->LstSerie }) {
        if (!m_nomsListes[liste].contains(nom))
            continue;
        const QList<QListWidgetItem*> trouves = liste->findItems(nom, Qt::MatchExactly);
        if (trouves.isEmpty())
            continue;
        m_nomsListes[liste].remove(nom);
        delete trouves.first();
    }
}
