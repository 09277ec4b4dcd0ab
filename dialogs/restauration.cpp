#include "dialogs/restauration.h"

#include "ui_restauration.h"

#include <QTableWidgetItem>

Restauration::Restauration(const QList<Sauvegardes::Sauvegarde>& sauvegardes,
    const QString& nomCollection, QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::Restauration)
    , sauvegardes(sauvegardes)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    ui->lbSauvegardes->setText(sauvegardes.isEmpty()
            ? tr("Aucune sauvegarde de %1 pour l'instant.").arg(nomCollection)
            : tr("Sauvegardes de %1, de la plus récente à la plus ancienne :").arg(nomCollection));

    ui->LstSauvegardes->setRowCount(int(sauvegardes.size()));
    for (int ligne = 0; ligne < sauvegardes.size(); ++ligne) {
        const Sauvegardes::Sauvegarde& sauvegarde = sauvegardes.at(ligne);
        const QString textes[] = { sauvegarde.quand.toString(QStringLiteral("dd/MM/yyyy")),
            sauvegarde.quand.toString(QStringLiteral("HH:mm:ss")),
            sauvegarde.nbAlbums < 0 ? tr("?") : QString::number(sauvegarde.nbAlbums) };
        for (int colonne = 0; colonne < 3; ++colonne)
            ui->LstSauvegardes->setItem(ligne, colonne, new QTableWidgetItem(textes[colonne]));
        ui->LstSauvegardes->item(ligne, 2)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }

    connect(ui->pbFermer, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->LstSauvegardes, &QTableWidget::itemSelectionChanged, this,
        [this] { ui->pbRestaurer->setEnabled(ui->LstSauvegardes->currentRow() >= 0); });
    connect(ui->pbRestaurer, &QPushButton::clicked, this, [this] {
        const int ligne = ui->LstSauvegardes->currentRow();
        if (ligne >= 0 && ligne < this->sauvegardes.size())
            emit restaurationDemandee(this->sauvegardes.at(ligne));
    });
}

Restauration::~Restauration()
{
    delete ui;
}
