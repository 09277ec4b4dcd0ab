#include "app/phylacto.h"

#include "covers/cachevignettes.h"
#include "dialogs/deleguemur.h"
#include "model/bd.h"
#include "model/modelemurcouvertures.h"
#include "ui_phylacto.h"

#include <QActionGroup>
#include <QScrollBar>
#include <QSplitter>

void Phylacto::preparerMur()
{
    ui->pageMur->hide();
    auto* vues = new QActionGroup(this);
    vues->addAction(ui->actionTableAlbums);
    vues->addAction(ui->actionMurCouvertures);
    connect(ui->actionMurCouvertures, &QAction::toggled, this, &Phylacto::afficherMur);
    // Nothing more until the wall is first shown: the table is the default view.
}

void Phylacto::creerMur()
{
    QListView* vue = ui->vueMurCouvertures;
    m_cacheVignettes = new CacheVignettes(QString(), CacheVignettes::octetsMemoireParDefaut, this);
    m_delegueMur = new DelegueMur(m_cacheVignettes, m_chemins, vue);
    m_modeleMur = new ModeleMurCouvertures(catalogue, this);
    vue->setViewMode(QListView::IconMode);
    vue->setMovement(QListView::Static);
    vue->setResizeMode(QListView::Adjust);
    vue->setUniformItemSizes(true);
    vue->setSelectionMode(QAbstractItemView::SingleSelection);
    vue->setEditTriggers(QAbstractItemView::NoEditTriggers);
    vue->setDragEnabled(false);
    vue->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    vue->setItemDelegate(m_delegueMur);
    vue->setModel(m_modeleMur);
    changerTailleVignettes(ui->slTailleVignettes->value());

    connect(m_cacheVignettes, &CacheVignettes::vignettePrete, vue->viewport(),
        qOverload<>(&QWidget::update));
    connect(vue->selectionModel(), &QItemSelectionModel::currentChanged, this,
        &Phylacto::choisirAlbumDuMur);
    connect(vue, &QAbstractItemView::doubleClicked, this, &Phylacto::modifierAlbumCourant);
    connect(vue, &QWidget::customContextMenuRequested, this, [this, vue](const QPoint& position) {
        afficherMenu(true, vue->viewport()->mapToGlobal(position));
    });
    vue->installEventFilter(this);

    connect(ui->cbPorteeMur, &QComboBox::currentIndexChanged, this, &Phylacto::actualiserMur);
    connect(ui->slTailleVignettes, &QSlider::valueChanged, this, &Phylacto::changerTailleVignettes);
    connect(ui->tabWidget, &QTabWidget::currentChanged, this, &Phylacto::actualiserMur);
    connect(ui->leRechercheRapide, &QLineEdit::textChanged, this, &Phylacto::actualiserMur);
    for (QListWidget* liste : listesSeries())
        connect(liste, &QListWidget::currentItemChanged, this, &Phylacto::actualiserMur);
}

bool Phylacto::murAffiche() const
{
    return m_modeleMur && ui->actionMurCouvertures->isChecked();
}

void Phylacto::afficherMur(bool mur)
{
    if (mur && !m_modeleMur)
        creerMur();
    ui->LstAlbum->setVisible(!mur);
    ui->lbTomesManquants->setVisible(!mur);
    ui->pageMur->setVisible(mur);
    elargirMur(mur);
    if (!mur) {
        // The table alone costs what it did before the wall was opened.
        if (m_modeleMur)
            m_modeleMur->vider();
        if (m_cacheVignettes)
            m_cacheVignettes->oublierMemoire();
        return;
    }
    actualiserMur();
    ui->vueMurCouvertures->setFocus();
}

void Phylacto::elargirMur(bool mur)
{
    QSplitter* separateur = ui->splitterPrincipal;
    if (!mur) {
        if (!m_separateursTable.isEmpty())
            separateur->setSizes(m_separateursTable);
        m_separateursTable.clear();
        return;
    }
    // A wall needs room: the album group takes half the width, from the
    // series and the cover (the details keep theirs) as far as their minimum
    // widths allow; the table gets its widths back.
    m_separateursTable = separateur->sizes();
    QList<int> tailles = m_separateursTable;
    const int album = separateur->indexOf(ui->groupBox_2);
    const QList<int> cedent
        = { separateur->indexOf(ui->groupBox), separateur->indexOf(ui->groupBox_4) };
    if (album < 0 || cedent.contains(-1))
        return;
    int total = 0;
    int disponible = 0;
    for (int rang = 0; rang < tailles.size(); ++rang) {
        total += tailles.at(rang);
        if (cedent.contains(rang))
            disponible += tailles.at(rang);
    }
    const int manque = qMin(total / 2 - tailles.at(album), disponible);
    if (manque <= 0)
        return;
    for (int rang : cedent)
        tailles[rang] -= tailles.at(rang) * manque / disponible;
    tailles[album] += manque;
    separateur->setSizes(tailles);
}

int Phylacto::genreDeLOnglet() const
{
    const QWidget* onglet = ui->tabWidget->currentWidget();
    if (onglet == ui->tabEuro)
        return Euro;
    if (onglet == ui->tabComic)
        return Comic;
    if (onglet == ui->tabManga)
        return Manga;
    return -1;
}

void Phylacto::actualiserMur()
{
    if (!murAffiche())
        return;
    ModeleMurCouvertures::Choix choix;
    choix.collection = ui->cbPorteeMur->currentIndex() == 1;
    if (!choix.collection)
        choix.serie = serieCourante;
    choix.genre = genreDeLOnglet();
    const QString texte = ui->leRechercheRapide->text();
    if (!texte.isEmpty()) {
        choix.parRecherche = true;
        choix.seriesTrouvees = m_indexRecherche.seriesTrouvees(catalogue, texte);
    }
    m_synchroMur = true;
    m_modeleMur->choisir(choix);
    m_synchroMur = false;
    // While a click on the wall is shown, the album clicked stays current.
    if (!m_choixDepuisMur)
        placerAlbumDansMur();
}

void Phylacto::placerAlbumDansMur()
{
    QListView* vue = ui->vueMurCouvertures;
    const int ligne = m_modeleMur->ligne(m_albumAffiche.data());
    if (ligne == vue->currentIndex().row())
        return;
    m_synchroMur = true;
    if (ligne >= 0)
        vue->setCurrentIndex(m_modeleMur->index(ligne));
    else
        vue->selectionModel()->clear();
    m_synchroMur = false;
}

void Phylacto::choisirAlbumDuMur(const QModelIndex& index)
{
    if (m_synchroMur)
        return;
    BD* album = m_modeleMur->album(index.row());
    if (!album)
        return;
    // The table follows, so that every album action acts on this one.
    m_choixDepuisMur = true;
    montrerAlbum(album);
    m_choixDepuisMur = false;
    placerAlbumDansMur();
}

void Phylacto::suivreAlbumDansMur(BD* album)
{
    m_albumAffiche = album;
    if (!murAffiche() || m_choixDepuisMur)
        return;
    placerAlbumDansMur();
    // Its cover may be new.
    ui->vueMurCouvertures->viewport()->update();
}

void Phylacto::changerTailleVignettes(int largeur)
{
    if (!m_delegueMur)
        return;
    // Steps of 32 pixels: a few sizes, each kept whole in the memory cache.
    const int pas = 32;
    const int minimum = ui->slTailleVignettes->minimum();
    m_delegueMur->setTaille(minimum + (largeur - minimum + pas / 2) / pas * pas);
    QListView* vue = ui->vueMurCouvertures;
    const QSize cellule = m_delegueMur->cellule(vue->fontMetrics());
    if (vue->gridSize() == cellule)
        return;
    vue->setGridSize(cellule);
    vue->verticalScrollBar()->setSingleStep(cellule.height() / 3);
    if (vue->currentIndex().isValid())
        vue->scrollTo(vue->currentIndex());
}
