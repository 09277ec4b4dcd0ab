#include "dialogs/choitimage.h"

#include "covers/nomimage.h"
#include "dialogs/boites.h"
#include "dialogs/xml_dom.h"
#include "ui_choitimage.h"

#include <QDir>
#include <QFile>
#include <QPixmap>

choitImage::choitImage(
    QNetworkAccessManager* manager, QWidget* parent, bool modeAuto, const Chemins& chemins)
    : QWidget(parent)
    , ui(new Ui::choitImage)
    , xmlDom(new Xml_Dom(manager, nullptr, chemins))
    , chemins(chemins)
{
    connect(xmlDom, &Xml_Dom::readyToPrint, this, &choitImage::changeImage);
    connect(xmlDom, &Xml_Dom::erreurBadRequest, this, &choitImage::Next);
    connect(xmlDom, &Xml_Dom::imageRefusee, this, &choitImage::echecImage);

    ui->setupUi(this);
    connect(ui->pbRechercher, &QPushButton::clicked, this, &choitImage::memoriserRecherche);
    connect(ui->pbSelectionner, &QPushButton::clicked, this, &choitImage::saveImage);
    connect(ui->pbStopRecherche, &QPushButton::clicked, this, &choitImage::DemandeStop);
    connect(ui->pbBDSuivante, &QPushButton::clicked, this, &choitImage::DemandeSuivant);

    this->modeAuto = modeAuto;
    ui->pbStopRecherche->hide();
    ui->pbBDSuivante->hide();
    if (modeAuto)
        ui->leTitreRecherche->setReadOnly(true);
}

choitImage::~choitImage()
{
    // The downloader has no parent: going first detaches it from the shared
    // manager, so a download still under way can no longer reach this panel.
    delete xmlDom;
    delete ui;
}

void choitImage::setRecherche(const QString& texte)
{
    ui->leTitreRecherche->setText(texte);
}

void choitImage::afficherBoutonsAuto(bool visibles)
{
    ui->pbStopRecherche->setVisible(visibles);
    ui->pbBDSuivante->setVisible(visibles);
}

void choitImage::memoriserRecherche()
{
    // Kept as typed: the text names the cover file and, in the automatic
    // search, must find its album back, accents included.
    recherche = ui->leTitreRecherche->text();
    emit demandeRecherche(recherche);
}

void choitImage::afficherImage(int index)
{
    xmlDom->downloadImage(index < 0 ? 0 : index);
}

void choitImage::Next() { }

void choitImage::Prev() { }

void choitImage::changeImage()
{
    // Read from its bytes: "tutu.jpg" is rewritten under the same name.
    QPixmap image;
    image.loadFromData(NomImage::octetsCouverture(chemins.imageRecherche()));
    if (!image.isNull())
        image = image.scaled(250, 250, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    ui->labelImage->setPixmap(image);
}

void choitImage::saveImage()
{
    recherche.replace(QLatin1Char(' '), QLatin1Char('_'));
    QString fichier = NomImage::nomFichier(recherche);

    // Without a picture nothing is stored and the name is reported anyway;
    // the window only takes names of files that are in the images folder.
    const QByteArray image = NomImage::octetsCouverture(chemins.imageRecherche());
    if (!image.isEmpty()) {
        QString erreur;
        const QString stocke
            = NomImage::stockerCouverture(chemins.dossierImages(), fichier, image, &erreur);
        if (stocke.isEmpty()) {
            Boites::informer(tr("L'image n'a pas pu être enregistrée dans %1 : %2")
                                 .arg(QDir::toNativeSeparators(QDir::cleanPath(chemins.dossierImages())),
                                     erreur));
            return;
        }
        fichier = stocke;
    }

    if (modeAuto)
        emit newImageFile(fichier, recherche);
    else
        emit newImage(fichier);
}
