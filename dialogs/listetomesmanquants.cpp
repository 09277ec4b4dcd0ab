#include "dialogs/listetomesmanquants.h"

#include "dialogs/cellules.h"
#include "model/bd.h"
#include "model/catalogue.h"
#include "model/tomes.h"
#include "ui_listetomesmanquants.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

using Cellules::cellule;
using Cellules::celluleNombre;

} // namespace

ListeTomesManquants::ListeTomesManquants(const Catalogue& catalogue, QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::ListeTomesManquants)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);

    const QList<Tomes::SerieIncomplete> series = Tomes::seriesIncompletes(catalogue);
    QTableWidget* table = ui->LstTomesManquants;
    table->setSortingEnabled(false);
    table->setRowCount(int(series.size()));
    qint64 total = 0;
    for (int ligne = 0; ligne < series.size(); ++ligne) {
        const Tomes::SerieIncomplete& serie = series.at(ligne);
        table->setItem(ligne, 0, cellule(serie.nom));
        table->setItem(ligne, 1, cellule(Tomes::nomType(serie.type)));
        table->setItem(ligne, 2, cellule(Tomes::texte(serie.manques)));
        table->setItem(ligne, 3, celluleNombre(serie.manques.nombre));
        total += serie.manques.nombre;
    }
    table->setSortingEnabled(true);
    table->sortByColumn(0, Qt::AscendingOrder);
    table->setColumnWidth(0, 220);
    table->setColumnWidth(2, 180);

    ui->lbResume->setText(series.isEmpty()
            ? tr("Aucun tome manquant")
            : tr("%n série(s) incomplète(s), %1 tome(s) manquant(s)", nullptr, int(series.size()))
                  .arg(total));
    ui->pbCopier->setEnabled(!series.isEmpty());
    connect(ui->pbCopier, &QPushButton::clicked, this, &ListeTomesManquants::copier);
}

ListeTomesManquants::~ListeTomesManquants()
{
    delete ui;
}

QList<QStringList> ListeTomesManquants::lignesAffichees() const
{
    const QTableWidget* table = ui->LstTomesManquants;
    QList<QStringList> lignes;
    QStringList entete;
    for (int colonne = 0; colonne < table->columnCount(); ++colonne)
        entete.append(table->horizontalHeaderItem(colonne)->text());
    lignes.append(entete);
    for (int ligne = 0; ligne < table->rowCount(); ++ligne) {
        QStringList cellules;
        for (int colonne = 0; colonne < table->columnCount(); ++colonne)
            cellules.append(table->item(ligne, colonne)->text());
        lignes.append(cellules);
    }
    return lignes;
}

void ListeTomesManquants::copier()
{
    QGuiApplication::clipboard()->setText(Tomes::texteTabule(lignesAffichees()));
}
