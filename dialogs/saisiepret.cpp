#include "dialogs/saisiepret.h"

#include "dialogs/boites.h"
#include "model/bd.h"
#include "model/emprunt.h"
#include "ui_saisiepret.h"

saisiePret::saisiePret(const BD* album, QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::saisiePret)
    , serie(album->getSerie())
    , titre(album->getTitre())
{
    ui->setupUi(this);
    ui->lbAlbumPrete->setText(tr("Album : %1 (%2)").arg(titre, serie));
    setAttribute(Qt::WA_DeleteOnClose);
    connect(ui->validerPret, &QPushButton::clicked, this, &saisiePret::validerPret);
    connect(ui->pbAnnuler, &QPushButton::clicked, this, &QWidget::close);
}

saisiePret::~saisiePret()
{
    delete ui;
}

void saisiePret::validerPret()
{
    const QString nom = ui->lePret->text();
    const QString refus = Emprunt::refusNom(nom);
    if (!refus.isEmpty()) {
        Boites::informer(refus);
        return;
    }
    emit pretValide(serie, titre, nom);
    close();
}
