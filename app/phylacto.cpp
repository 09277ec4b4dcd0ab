#include "app/phylacto.h"

#include "covers/albuminfos.h"
#include "covers/nomimage.h"
#include "covers/recherchecouvertures.h"
#include "dialogs/barremessage.h"
#include "dialogs/labelclickable.h"
#include "settings/codecs.h"
#include "settings/parametres.h"
#include "store/fichiercollection.h"
#include "ui_phylacto.h"

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QIcon>
#include <QImageReader>
#include <QSettings>
#include <QUndoStack>

using Parametres::Cle;

namespace {

// Every size the icon file holds, read from its bytes: a FIFO or a device
// named icon.ico would otherwise hold the window when it shows.
QIcon iconeFenetre(const QString& chemin)
{
    QBuffer octets;
    octets.setData(NomImage::octetsCouverture(chemin));
    octets.open(QIODevice::ReadOnly);
    QImageReader lecteur(&octets);
    QIcon icone;
    do {
        const QImage image = lecteur.read();
        if (!image.isNull())
            icone.addPixmap(QPixmap::fromImage(image));
    } while (lecteur.jumpToNextImage());
    return icone;
}

} // namespace

Phylacto::Phylacto(QWidget* parent)
    : QMainWindow(parent)
    , ui(new Ui::Phylacto)
    , m_chemins(QDir::currentPath())
{
    ui->setupUi(this);
    resize(1127, 372);
    ui->tabWidget->setCurrentIndex(0);
    ui->LstSerie->setCurrentRow(-1);

    setWindowIcon(iconeFenetre(m_chemins.icone()));

    // Literal texts are UTF-8 sources; only the byte-string codec is an
    // application setting.
    Codecs::setCodec8Bits(Codecs::codecParNom(QStringLiteral("UTF8")));

    settings = Parametres::ouvrir(m_chemins, this);

    albumInfos = new AlbumInfos(this, m_chemins);
    rechercheCouvertures = new RechercheCouvertures(settings, this, m_chemins);

    connect(ui->actionImporter_Csv, &QAction::triggered, this, &Phylacto::ImportCsv);
    connect(ui->actionEnregistrer, &QAction::triggered, this, &Phylacto::save);
    connect(ui->actionAjouter_Album, &QAction::triggered, this, &Phylacto::ajouterAlbum);
    connect(ui->actionQuitter, &QAction::triggered, this, &Phylacto::closeProg);
    connect(ui->actionEnregistrer_sous, &QAction::triggered, this, &Phylacto::saveAs);
    connect(ui->actionExporterTableur, &QAction::triggered, this, &Phylacto::exporterTableur);
    connect(ui->actionRestaurer, &QAction::triggered, this, &Phylacto::restaurerSauvegarde);
    connect(ui->actionConfiguration_reseau, &QAction::triggered, this, &Phylacto::ConfigReseaux);
    connect(ui->actionRerchercher_un_album, &QAction::triggered, this, &Phylacto::ChercherAlbum);
    connect(ui->actionGestion_des_prets, &QAction::triggered, this, &Phylacto::affichagePret);
    connect(ui->actionChercher_image_manquantes, &QAction::triggered, this,
        &Phylacto::ChercherToutesImages);
    connect(ui->actionExploration_bd, &QAction::triggered, this, &Phylacto::AfficherRecherche);

    actionSuppSerie = new QAction(tr("Supprimer série"), this);
    connect(actionSuppSerie, &QAction::triggered, this, &Phylacto::suppSerie);
    actionRenommerSerie = new QAction(tr("Renommer la série…"), this);
    connect(actionRenommerSerie, &QAction::triggered, this, &Phylacto::renommerSerie);
    actionSuppAlbum = new QAction(tr("Supprimer album"), this);
    connect(actionSuppAlbum, &QAction::triggered, this, &Phylacto::suppAlbum);
    actionAjouterSuite = new QAction(tr("Ajouter une suite"), this);
    connect(actionAjouterSuite, &QAction::triggered, this, &Phylacto::ajouterSuite);

    const auto choixSerie
        = qOverload<QListWidgetItem*, QListWidgetItem*>(&Phylacto::updateLstAlbum);
    for (QListWidget* liste : listesSeries())
        connect(liste, &QListWidget::currentItemChanged, this, choixSerie);
    connect(ui->LstAlbum, &QTableWidget::currentItemChanged, this,
        qOverload<QTableWidgetItem*, QTableWidgetItem*>(&Phylacto::updateLstAlbum));
    connect(ui->LstAlbum, &QTableWidget::doubleClicked, this, &Phylacto::ModifAlbum);
    connect(ui->LabelImage, &labelClickable::clicked, this, &Phylacto::changeImage);
    connect(ui->pbChercherImage, &QPushButton::clicked, this, &Phylacto::ChercherAlbum);
    connect(ui->pbPreter, &QPushButton::clicked, this, &Phylacto::Preter);
    for (QListWidget* liste : listesSeries())
        connect(liste, &QWidget::customContextMenuRequested, this, &Phylacto::myMenu);
    connect(ui->LstAlbum, &QWidget::customContextMenuRequested, this, &Phylacto::myMenu);
    connect(this, &Phylacto::relayInfoReseau, albumInfos, &AlbumInfos::setProxy);
    connect(
        ui->barreMessage, &BarreMessage::actionDemandee, this, &Phylacto::relireEnEncodagePropose);
    connect(
        this, &Phylacto::relayInfoReseau, rechercheCouvertures, &RechercheCouvertures::setProxy);
    connect(rechercheCouvertures, &RechercheCouvertures::rechercheSansCouverture, this,
        &Phylacto::signalerRechercheSansCouverture);
    connect(
        albumInfos, &AlbumInfos::echecRecherche, this, &Phylacto::signalerRechercheSansCouverture);
    preparerAnnulation();
    preparerClavier();
    preparerDisposition();
    installerRecherche();
    preparerAjoutsCatalogue();
    preparerAide();
    preparerMur();

    const QString nomFichier = Parametres::lire(*settings, Cle::NomFichier);
    const QString encodage = Parametres::lire(*settings, Cle::Encodage);

    chargerBase(nomFichier);

    if (!encodage.isEmpty()) {
        Codecs::setCodecLocale(Codecs::codecParNom(encodage));
    } else {
        Parametres::ecrire(*settings, Cle::Encodage, QStringLiteral("UTF-8"));
        Codecs::setCodecLocale(Codecs::codecParNom(QStringLiteral("UTF-8")));
    }

    const Parametres::Proxy proxy = Parametres::lireProxy(*settings);
    emit relayInfoReseau(proxy.adresse, proxy.port, proxy.login, proxy.motDePasse);
    // The file holds the proxy password.
    Parametres::enregistrer(*settings);

    setModifie(false);
    majTitre();
    MAJListesSeries();
    // Volumes ascending at first (Qt's header would start descending).
    ui->LstAlbum->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    if (ui->LstSerie->count() > 0)
        ui->LstSerie->setCurrentRow(0);

    ui->LstAlbum->setSortingEnabled(true);
    ui->LstAlbum->verticalHeader()->hide();
    ui->LstAlbum->setColumnWidth(0, largeurNumero);
    ui->LstAlbum->setColumnWidth(1, 200);

    arretRechercheAuto = false;
}

Phylacto::~Phylacto()
{
    // Its signals reach the menu while it empties.
    delete m_annulation;
    delete ui;
    ui = nullptr; // the event filter may still see children go
}

void Phylacto::majTitre()
{
    const QString nom = Parametres::lire(*settings, Cle::NomFichier);
    // The placeholder shows the unsaved mark the way the desktop does.
    setWindowTitle(nom.isEmpty()
            ? tr("Phylacto[*]")
            : tr("%1[*] — Phylacto")
                  .arg(QFileInfo(FichierCollection::chemin(m_chemins, nom)).fileName()));
}

QList<QListWidget*> Phylacto::listesSeries() const
{
    return { ui->LstSerie, ui->LstBDEuro, ui->LstComics, ui->LstManga };
}
