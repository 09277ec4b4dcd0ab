#include "app/phylacto.h"

#include "dialogs/boites.h"
#include "dialogs/saise.h"
#include "model/bd.h"
#include "model/modifications.h"
#include "ui_phylacto.h"

namespace {

void refuserDoublon(const QString& serie, const QString& titre)
{
    Boites::informer(Phylacto::tr("Album %1 de la série %2 déjà existant").arg(titre, serie));
}

} // namespace

Saise* Phylacto::ouvrirSaisie(BD* album)
{
    // The entry dialog is modal: the one opened before is closed by now.
    delete m_saisie;
    m_saisie = new Saise(album, this, catalogue.albums());
    return m_saisie;
}

void Phylacto::ajouterAlbum()
{
    Saise* saisie = ouvrirSaisie(nullptr);
    connect(saisie, &Saise::nouvelAlbum, this, &Phylacto::nouvelAlbum);
    saisie->show();
}

void Phylacto::ajouterSuite()
{
    const QList<QTableWidgetItem*> selection = ui->LstAlbum->selectedItems();
    BD* album = selection.isEmpty() ? nullptr : albumDeLaLigne(selection.first()->row());
    Saise* saisie = ouvrirSaisie(album);
    connect(saisie, &Saise::nouvelAlbum, this, &Phylacto::nouvelAlbum);
    saisie->show();
}

void Phylacto::ModifAlbum(QModelIndex aIndex)
{
    Q_UNUSED(aIndex);
    const QTableWidgetItem* courant = ui->LstAlbum->currentItem();
    if (!courant || courant->column() != 1)
        return;
    BD* album = albumDeLaLigne(courant->row());
    if (!album)
        return;
    m_serieModifiee = album->getSerie();
    m_titreModifie = album->getTitre();
    Saise* saisie = ouvrirSaisie(album);
    saisie->afficherTitre(album->getTitre());
    // Without it, validating any change would erase the comment.
    saisie->afficherCommentaire(album->getCommentaire());
    connect(saisie, &Saise::nouvelAlbum, this, &Phylacto::UpdateAlbum);
    saisie->show();
}

void Phylacto::nouvelAlbum(QString serie, QString titre, QString scenariste, QString dessinateur,
    int tome, QString commentaire, int type, int note, int serieFinie, QString editeur,
    QString genre, QString coloriste)
{
    const SeriesAvantAjout releve = catalogue.releverSeries();
    const ResultatEdition resultat = catalogue.ajouter({ serie, titre, scenariste, dessinateur,
        tome, commentaire, type, note, serieFinie, editeur, genre, coloriste });
    if (resultat.etat == ResultatEdition::Doublon) {
        refuserDoublon(serie, titre);
        return;
    }
    BD* album = resultat.album;
    executer(std::make_unique<AjoutAlbums>(
        tr("l'ajout de %1 – %2").arg(serie, titre), catalogue, releve));

    if (serie == serieCourante) {
        // Filled unsorted so that the new row keeps its pair of cells.
        ui->LstAlbum->setSortingEnabled(false);
        const int ligne = ui->LstAlbum->rowCount();
        ui->LstAlbum->insertRow(ligne);
        remplirLigneAlbum(ligne, album);
        QTableWidgetItem* cellule = ui->LstAlbum->item(ligne, 1);
        ui->LstAlbum->setSortingEnabled(true);
        // Its row is selected, so that "Preter" lends the album the panel shows.
        ui->LstAlbum->setCurrentItem(cellule);
    }

    // Only a new series can be missing from the lists.
    if (resultat.serieCreee)
        MAJListesSeries();
    else
        MAJCompteurs();
    if (BD* aMontrer = catalogue.premierAlbum(serieCourante, titre))
        updateInfosBd(aMontrer);
    update();
}

void Phylacto::UpdateAlbum(QString serie, QString titre, QString scenariste, QString dessinateur,
    int tome, QString commentaire, int type, int note, int serieFinie, QString editeur,
    QString genre, QString coloriste)
{
    noterEtatEnregistre();
    BD* avantChangement = catalogue.premierAlbum(m_serieModifiee, m_titreModifie);
    const ChampsAlbum avant = avantChangement ? avantChangement->champs() : ChampsAlbum();
    const EtatSerie serieAvant = catalogue.etatSerie(serie);
    const ResultatEdition resultat = catalogue.modifier(m_serieModifiee, m_titreModifie,
        { serie, titre, scenariste, dessinateur, tome, commentaire, type, note, serieFinie, editeur,
            genre, coloriste });
    if (resultat.etat == ResultatEdition::Introuvable)
        return;
    if (resultat.etat == ResultatEdition::Doublon) {
        refuserDoublon(serie, titre);
        return;
    }
    executer(std::make_unique<ChangementAlbum>(
        tr("la modification de l'album %1").arg(avant.titre), resultat.album, avant, serieAvant));
    BD* album = resultat.album;
    MAJListesSeries();

    // Refilled so that no row keeps a title, a volume or an album that has left.
    remplirTableAlbums();
    if (album->getSerie() == serieCourante) {
        for (int ligne = 0; ligne < ui->LstAlbum->rowCount(); ++ligne) {
            const QTableWidgetItem* cellule = ui->LstAlbum->item(ligne, 1);
            if (cellule && cellule->text() == album->getTitre()) {
                ui->LstAlbum->setCurrentCell(ligne, 1);
                break;
            }
        }
    }
    updateInfosBd(album);
    update();
}

void Phylacto::suppAlbum()
{
    const QTableWidgetItem* courant = ui->LstAlbum->currentItem();
    if (!courant)
        return;
    const int ligne = courant->row();
    BD* album = albumDeLaLigne(ligne);
    if (!album)
        return;

    const QString serie = album->getSerie();
    const QString titre = album->getTitre();
    executer(std::make_unique<SuppressionAlbum>(album));
    ui->LstAlbum->removeRow(ligne);
    // The row that became current shows its album; with none left, the panel
    // must not go on showing the deleted one.
    if (ui->leSerie->text() == serie && ui->leTitre->text() == titre
        && !catalogue.premierAlbum(serie, titre))
        viderDetail();

    MAJCompteurs();
    update();
}

void Phylacto::suppSerie()
{
    const QString nom = serieCourante;
    if (!catalogue.findSerie(nom) && catalogue.albumsParNom(nom, true).isEmpty())
        return;
    executer(std::make_unique<SuppressionSerie>(nom));

    retirerSerieDesListes(nom);
    // No list moved to another series: the table must not keep showing rows
    // of albums that are gone.
    if (serieCourante == nom)
        ui->LstAlbum->setRowCount(0);
    if (ui->leSerie->text() == nom)
        viderDetail();

    MAJCompteurs();
    update();
}

void Phylacto::renommerSerie()
{
    const QString ancien = serieCourante;
    if (!catalogue.findSerie(ancien))
        return;
    const QString nouveau = Boites::texteSaisi(
        this, tr("Renommer la série"), tr("Nouveau nom de la série %1 :").arg(ancien), ancien)
                                .trimmed();
    const ExamenRenommage examen = catalogue.examinerRenommage(ancien, nouveau);
    switch (examen.etat) {
    case ExamenRenommage::Rien:
        return;
    case ExamenRenommage::NomInvalide:
        if (!nouveau.isEmpty())
            Boites::informer(tr("Une série ne peut pas s'appeler « %1 » : le point-virgule "
                                "sépare les champs du fichier.")
                                 .arg(nouveau));
        return;
    case ExamenRenommage::Doublon:
        refuserDoublon(nouveau, examen.collision->getTitre());
        return;
    case ExamenRenommage::Fusion: {
        Boites::Boite question;
        question.icone = QMessageBox::Question;
        question.texte = examen.nbAlbums == 1
            ? tr("La série %1 existe déjà. Y déplacer l'album de la série %2 ?")
                  .arg(nouveau, ancien)
            : tr("La série %1 existe déjà. Y déplacer les %2 albums de la série %3 ?")
                  .arg(nouveau)
                  .arg(examen.nbAlbums)
                  .arg(ancien);
        question.boutons = QMessageBox::Yes | QMessageBox::No;
        question.boutonParDefaut = QMessageBox::No;
        if (Boites::montrer(question) != QMessageBox::Yes)
            return;
        break;
    }
    case ExamenRenommage::Renommage:
        break;
    }
    BD* affiche = catalogue.premierAlbum(ui->leSerie->text(), ui->leTitre->text());
    auto renommage = std::make_unique<RenommageSerie>(ancien, nouveau);
    const RenommageSerie& fait = *renommage;
    executer(std::move(renommage));
    montrerPas(fait);
    if (affiche && affiche->getSerie() == nouveau)
        montrerAlbum(affiche);
}

void Phylacto::viderDetail()
{
    for (QLineEdit* champ : champsDetail())
        champ->clear();
    m_couverture = QPixmap();
    ui->LabelImage->clear();
    ui->pbPreter->setEnabled(true);
    ui->pbPreter->setText(tr("Preter"));
}
