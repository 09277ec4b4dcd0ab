#include "dialogs/pret.h"

#include "dialogs/cellules.h"
#include "model/bd.h"
#include "model/catalogue.h"
#include "model/emprunt.h"
#include "ui_pret.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>

using Cellules::celluleFixe;

Pret::Pret(const QList<BD*>& albums, const Catalogue& catalogue, QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::Pret)
    , catalogue(catalogue)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);

    tablePrets = new QTableWidget(0, 4, this);
    tablePrets->setObjectName(QStringLiteral("LstPrets"));
    tablePrets->setHorizontalHeaderLabels(
        { tr("Serie"), tr("Titre"), tr("Emprunteur"), tr("Date d'emprunt") });
    auto* pbQuitter = new QPushButton(tr("Quitter"), this);
    pbQuitter->setObjectName(QStringLiteral("pbQuitter"));
    pbRendue = new QPushButton(tr("Rendue"), this);
    pbRendue->setObjectName(QStringLiteral("pbRendue"));
    pbRendue->setEnabled(false);
    ui->LayoutPinrcipal->addWidget(tablePrets);
    ui->LayoutPinrcipal->addWidget(pbQuitter);
    ui->LayoutPinrcipal->addWidget(pbRendue);

    connect(pbQuitter, &QPushButton::clicked, this, &QWidget::close);
    connect(pbRendue, &QPushButton::clicked, this, &Pret::bdRendue);
    connect(tablePrets, &QTableWidget::currentItemChanged, this, &Pret::setCurrentItem);

    tablePrets->setRowCount(int(albums.size()));
    for (int ligne = 0; ligne < albums.size(); ++ligne) {
        const BD* album = albums.at(ligne);
        tablePrets->setItem(ligne, 0, celluleFixe(album->getSerie()));
        tablePrets->setItem(ligne, 1, celluleFixe(album->getTitre()));
        tablePrets->setItem(ligne, 2, celluleFixe(album->getEmprunteur()));
        tablePrets->setItem(ligne, 3, celluleFixe(album->getDateEmprunt()));
    }
    // A-Z under an arrow that says so; Qt's header would start Z-A.
    tablePrets->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    tablePrets->setSortingEnabled(true);
    albumChoisi = false;
}

Pret::~Pret()
{
    delete ui;
}

void Pret::setCurrentItem(QTableWidgetItem* current, QTableWidgetItem* previous)
{
    Q_UNUSED(previous);
    pbRendue->setEnabled(true);
    albumChoisi = false;
    if (!current)
        return;
    const QTableWidgetItem* titre = tablePrets->item(current->row(), 1);
    if (!titre)
        return;
    const QTableWidgetItem* serie = tablePrets->item(current->row(), 0);
    serieChoisie = serie ? serie->text() : QString();
    titreChoisi = titre->text();
    albumChoisi = true;
}

void Pret::bdRendue()
{
    const int ligne = tablePrets->currentRow();
    // The row the table makes current when it first gets the focus is not
    // selected: only a row the user picked is returned.
    if (ligne < 0 || !albumChoisi
        || !tablePrets->selectionModel()->isSelected(tablePrets->currentIndex()))
        return;
    BD* album = catalogue.premierAlbum(serieChoisie, titreChoisi);
    if (!album)
        return;
    emit albumRendu(album);
    tablePrets->removeRow(ligne);
    // Qt makes a neighbour current; nothing is, until the user picks a row.
    tablePrets->clearSelection();
    tablePrets->setCurrentIndex(QModelIndex());
    albumChoisi = false;
}
