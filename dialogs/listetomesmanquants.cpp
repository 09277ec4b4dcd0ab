#include "dialogs/listetomesmanquants.h"

#include "covers/recherchecatalogue.h"
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

ListeTomesManquants::ListeTomesManquants(const Catalogue& catalogue, QWidget* parent,
    RechercheCatalogue* recherche, const QString& serieProposee)
    : QDialog(parent)
    , ui(new Ui::ListeTomesManquants)
    , m_catalogue(catalogue)
    , m_recherche(recherche)
    , m_serieProposee(serieProposee)
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
    ui->pbTomesParus->setVisible(m_recherche);
    ui->LstTomesParus->hide();
    ui->lbTomesParus->hide();
    connect(
        ui->pbTomesParus, &QPushButton::clicked, this, &ListeTomesManquants::chercherTomesParus);
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

void ListeTomesManquants::chercherTomesParus()
{
    const QTableWidgetItem* choisie = ui->LstTomesManquants->currentItem();
    const QString serie
        = choisie ? ui->LstTomesManquants->item(choisie->row(), 0)->text() : m_serieProposee;
    ui->lbTomesParus->show();
    if (serie.isEmpty()) {
        ui->lbTomesParus->setText(tr("Choisissez d'abord une série."));
        return;
    }
    ui->lbTomesParus->setText(tr("Recherche des tomes parus de « %1 »…").arg(serie));
    ui->pbTomesParus->setEnabled(false);
    m_recherche->chercherTexte(
        serie, this, [this, serie](const RechercheCatalogue::Resultat& resultat) {
            ui->pbTomesParus->setEnabled(true);
            const QList<NoticesCatalogue::TomeParu> absents = NoticesCatalogue::tomesAbsents(
                resultat.notices, serie, NoticesCatalogue::IndexPossedes(m_catalogue));
            QTableWidget* table = ui->LstTomesParus;
            table->setRowCount(int(absents.size()));
            for (int ligne = 0; ligne < absents.size(); ++ligne) {
                const NoticesCatalogue::TomeParu& tome = absents.at(ligne);
                table->setItem(ligne, 0, celluleNombre(tome.tome));
                table->setItem(ligne, 1, cellule(tome.titre));
                table->setItem(
                    ligne, 2, cellule(tome.annee > 0 ? QString::number(tome.annee) : QString()));
            }
            table->setVisible(!absents.isEmpty());
            QString texte;
            if (resultat.etat == RechercheCatalogue::Etat::Echec)
                texte = tr("« %1 » : %2").arg(serie, resultat.message);
            else if (absents.isEmpty())
                texte = tr("Aucun tome paru de « %1 » ne vous manque, d'après le catalogue.")
                            .arg(serie);
            else
                texte = absents.size() == 1
                    ? tr("1 tome paru de « %1 » vous manque :").arg(serie)
                    : tr("%1 tomes parus de « %2 » vous manquent :").arg(absents.size()).arg(serie);
            ui->lbTomesParus->setText(texte);
        });
}
