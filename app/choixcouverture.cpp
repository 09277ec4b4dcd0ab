#include "app/phylacto.h"

#include "covers/albuminfos.h"
#include "covers/nomimage.h"
#include "covers/recherchecouvertures.h"
#include "dialogs/boites.h"
#include "dialogs/choitimage.h"
#include "model/bd.h"
#include "settings/parametres.h"
#include "ui_phylacto.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QProgressBar>
#include <QSettings>
#include <QStatusBar>

namespace {

QString dossierImages(const Chemins& chemins)
{
    const QString dossier = chemins.dossierImages();
    QDir().mkpath(dossier);
    return dossier;
}

// Wide enough for its title and a cover; placed over the main window.
void elargirDialogueCouverture(QDialog* dialogue)
{
    const int largeurTitre = dialogue->fontMetrics().horizontalAdvance(dialogue->windowTitle());
    dialogue->resize(qMax(dialogue->sizeHint().width(), qMax(420, largeurTitre + 160)),
        qMax(dialogue->sizeHint().height(), 520));
}

SourcesCouvertures::AlbumCherche albumCherche(const QString& recherche, const BD* album)
{
    SourcesCouvertures::AlbumCherche cherche;
    cherche.recherche = recherche;
    if (album) {
        cherche.serie = album->getSerie();
        cherche.titre = album->getTitre();
        cherche.tome = album->tome;
    }
    return cherche;
}

} // namespace

void Phylacto::ChercherAlbum()
{
    const bool depuisBouton
        = sender() && sender()->objectName() == QLatin1String("pbChercherImage");
    QString proposition;
    BD* propose = nullptr;
    if (depuisBouton) {
        const QTableWidgetItem* courant = ui->LstAlbum->currentItem();
        if (!courant) {
            Boites::informer(tr("Veuillez selectioner un album"));
            return;
        }
        propose = catalogue.premierAlbum(serieCourante, courant->text());
        if (propose)
            proposition = propose->getSerie() + QLatin1Char(' ') + propose->getTitre();
    }

    // One cover dialog at a time: the open one comes back to the front,
    // with the newly chosen album proposed when it is a search for one album.
    if (dialogueRechercheAuto) {
        if (!m_rechercheAutoEnCours && choixImage && !proposition.isEmpty()) {
            choixImage->setRecherche(proposition);
            m_albumPropose = propose;
        }
        dialogueRechercheAuto->raise();
        dialogueRechercheAuto->activateWindow();
        return;
    }

    m_albumPropose = propose;
    choixImage = new choitImage(albumInfos->getManager(), this, false, m_chemins);
    if (depuisBouton)
        choixImage->setRecherche(proposition);
    connect(choixImage, &choitImage::demandeRecherche, this, &Phylacto::LancerRechercheAlbum);
    connect(choixImage, &choitImage::newImage, this, &Phylacto::setNewImage);
    connect(albumInfos, &AlbumInfos::xmlFinished, choixImage, &choitImage::afficherImage);
    relierSourcesCouvertures(choixImage);

    dialogueRechercheAuto = new QDialog(this);
    dialogueRechercheAuto->setWindowTitle(tr("Chercher une image"));
    auto* grille = new QGridLayout(dialogueRechercheAuto);
    connect(dialogueRechercheAuto, &QDialog::finished, this, &Phylacto::properlyDestroyed);
    grille->addWidget(choixImage);
    elargirDialogueCouverture(dialogueRechercheAuto);
    dialogueRechercheAuto->show();
}

void Phylacto::LancerRechercheAlbum(QString aRechercher)
{
    // A picture is only ever stored for the search that fetched it.
    QFile::remove(m_chemins.imageRecherche());
    const SourcesCouvertures::Source source = SourcesCouvertures::lireSource(
        Parametres::lire(*settings, Parametres::Cle::CouverturesSource));
    if (source == SourcesCouvertures::Source::Signe) {
        albumInfos->envoyerRequete(aRechercher);
        return;
    }
    const BD* album = m_rechercheAutoEnCours ? m_albumVisite.data() : m_albumPropose.data();
    rechercheCouvertures->chercher(source, albumCherche(aRechercher, album));
}

void Phylacto::relierSourcesCouvertures(choitImage* panneau)
{
    connect(rechercheCouvertures, &RechercheCouvertures::couvertureTrouvee, panneau,
        &choitImage::changeImage);
    connect(panneau, &choitImage::echecImage, this, &Phylacto::signalerRechercheSansCouverture);
}

void Phylacto::signalerRechercheSansCouverture(const QString& texte)
{
    Boites::Boite boite;
    boite.parent = dialogueRechercheAuto;
    boite.icone = QMessageBox::Information;
    boite.texte = texte;
    Boites::montrer(boite);
}

void Phylacto::setNewImage(QString aRechercher)
{
    const QList<QTableWidgetItem*> choisis = ui->LstAlbum->selectedItems();
    if (choisis.isEmpty())
        return;
    if (const QTableWidgetItem* titre = ui->LstAlbum->item(choisis.first()->row(), 1)) {
        affecterImage(titre->text(), aRechercher);
    }
}

bool Phylacto::affecterImage(QString titre, QString fichier)
{
    BD* album = catalogue.premierAlbum(serieCourante, titre);
    // Never a name whose picture is not in the images folder: the album keeps its cover.
    if (!album || !QFileInfo(m_chemins.fichierImage(fichier)).isFile())
        return false;
    changerCouverture(album, Chemins::champImage(fichier));
    updateInfosBd(album);
    return true;
}

void Phylacto::changeImage()
{
    // Every picture at once first; JPEG files are named either way.
    const QString chemin = Boites::fichierAOuvrir(this, tr("Nouvelle image"),
        m_chemins.dossierTravail(),
        tr("Images (*.jpg *.jpeg *.png *.bmp);;JPG (*.jpg *.jpeg);; BMP (*.bmp) ;; PNG (*.png)"));
    if (chemin.isEmpty())
        return;

    QString erreur = tr("fichier vide");
    const QByteArray octets = NomImage::octetsCouverture(chemin, &erreur);
    const QString nom = octets.isEmpty()
        ? QString()
        : NomImage::stockerCouverture(dossierImages(m_chemins),
            NomImage::nomCopie(QFileInfo(chemin).fileName()), octets, &erreur);
    if (nom.isEmpty()) {
        Boites::informer(
            tr("L'image %1 n'a pas pu être copiée dans %2 : %3")
                .arg(QDir::toNativeSeparators(chemin),
                    QDir::toNativeSeparators(QDir::cleanPath(dossierImages(m_chemins))), erreur));
        return;
    }

    const QList<QTableWidgetItem*> choisis = ui->LstAlbum->selectedItems();
    if (choisis.isEmpty()) {
        Boites::informer(tr("Merci de selectionner l'album souhaité"));
        return;
    }
    if (const QTableWidgetItem* titre = ui->LstAlbum->item(choisis.first()->row(), 1)) {
        affecterImage(titre->text(), nom);
    }
}

void Phylacto::properlyDestroyed(int)
{
    // Acts on the dialog that finished, which may no longer be the current one.
    QDialog* fini = qobject_cast<QDialog*>(sender());
    if (!fini)
        fini = dialogueRechercheAuto;
    if (!fini)
        return;

    disconnect(fini, &QDialog::finished, this, &Phylacto::properlyDestroyed);
    if (fini == dialogueRechercheAuto) {
        dialogueRechercheAuto = nullptr;
        choixImage = nullptr;
        // What a closed panel asked for would land in the next one.
        rechercheCouvertures->annuler();
    }
    // Its panel hears no more searches; it goes with the dialog, later,
    // since this call may come from inside one of the panel's own signals.
    if (choitImage* panneau = fini->findChild<choitImage*>()) {
        disconnect(albumInfos, nullptr, panneau, nullptr);
        disconnect(rechercheCouvertures, nullptr, panneau, nullptr);
        disconnect(panneau, nullptr, this, nullptr);
    }
    fini->close();
    fini->deleteLater();
}

void Phylacto::ChercherToutesImages()
{
    if (m_rechercheAutoEnCours)
        return;
    if (dialogueRechercheAuto)
        dialogueRechercheAuto->close();
    m_rechercheAutoEnCours = true;
    int sansImage = 0;
    for (const BD* album : catalogue.albums())
        sansImage += album->couvertureACherche() ? 1 : 0;
    int vus = 0;

    for (int i = NomImage::prochainAlbumSansImage(catalogue.albums(), 0);
         i >= 0 && !arretRechercheAuto;
         i = NomImage::prochainAlbumSansImage(catalogue.albums(), i + 1)) {
        m_albumVisite = catalogue.albums().at(i);
        statusBar()->showMessage(
            tr("Images manquantes : album %1 sur %2").arg(++vus).arg(sansImage));

        QPointer<QDialog> dialogue = new QDialog(this);
        dialogueRechercheAuto = dialogue;
        dialogue->setWindowTitle(tr("Chercher les images manquantes"));

        choixImage = new choitImage(albumInfos->getManager(), dialogue, true, m_chemins);
        choixImage->setRecherche(NomImage::rechercheAlbum(m_albumVisite));
        choixImage->afficherBoutonsAuto(true);
        connect(choixImage, &choitImage::demandeRecherche, this, &Phylacto::LancerRechercheAlbum);
        connect(choixImage, &choitImage::newImage, this, &Phylacto::setNewImage);
        connect(choixImage, &choitImage::newImageFile, this, &Phylacto::setImageBD);
        connect(albumInfos, &AlbumInfos::xmlFinished, choixImage, &choitImage::afficherImage);
        relierSourcesCouvertures(choixImage);

        auto* grille = new QGridLayout(dialogue);
        connect(dialogue, &QDialog::finished, this, &Phylacto::properlyDestroyed);
        connect(choixImage, &choitImage::DemandeStop, this, &Phylacto::stopRechercheAuto);
        connect(choixImage, &choitImage::DemandeStop, dialogue, &QWidget::close);
        connect(choixImage, &choitImage::DemandeSuivant, dialogue, &QWidget::close);
        grille->addWidget(choixImage, 0, 0);
        // Where the walk stands, in the dialog the user is looking at.
        auto* progression = new QProgressBar(dialogue);
        progression->setObjectName(QStringLiteral("progressionRechercheAuto"));
        progression->setRange(0, sansImage);
        progression->setValue(vus - 1);
        progression->setFormat(tr("Album %1 sur %2").arg(vus).arg(sansImage));
        grille->addWidget(progression, 1, 0);
        elargirDialogueCouverture(dialogue);

        Boites::executer(dialogue);
        // Nothing of the dialog is on the stack any more: free it now rather
        // than after a walk over thousands of albums.
        delete dialogue;
    }

    statusBar()->clearMessage();
    m_albumVisite = nullptr;
    m_rechercheAutoEnCours = false;
    arretRechercheAuto = false;
}

void Phylacto::stopRechercheAuto()
{
    arretRechercheAuto = true;
}

void Phylacto::setImageBD(QString aNom, QString aRecherche)
{
    // The album on screen is recognised by its own search text, which also
    // covers series names holding "_" or "Tome" and twin volumes.
    BD* album = nullptr;
    if (m_albumVisite
        && NomImage::rechercheAlbum(m_albumVisite).replace(QLatin1Char(' '), QLatin1Char('_'))
            == aRecherche)
        album = m_albumVisite;
    else
        album = NomImage::albumDeRecherche(catalogue,
            NomImage::lireRecherche(aRecherche.replace(QLatin1Char('_'), QLatin1Char(' '))));
    if (!album || !QFileInfo(m_chemins.fichierImage(aNom)).isFile())
        return;
    changerCouverture(album, Chemins::champImage(aNom));
}
