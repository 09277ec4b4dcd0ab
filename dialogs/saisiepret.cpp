#include "dialogs/saisiepret.h"

#include "app/phylacto.h"
#include "model/bd.h"
#include "model/emprunt.h"
#include "ui_saisiepret.h"

#include <QMessageBox>

saisiePret::saisiePret(BD* album, Phylacto* fenetre)
    : QDialog(fenetre)
    , ui(new Ui::saisiePret)
    , fenetre(fenetre)
    , serie(album->getSerie())
    , titre(album->getTitre())
{
    ui->setupUi(this);
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
    if (!Emprunt::nomValide(nom)) {
        QMessageBox boite;
        boite.setText(tr("Le nom de l'emprunteur ne peut pas contenir de point-virgule (;)."));
        boite.exec();
        return;
    }
    if (BD* album = fenetre->getCatalogue().premierAlbum(serie, titre)) {
        Emprunt::preter(*album, nom, QDate::currentDate());
        fenetre->setModifie(true);
        fenetre->updateInfosBd(album);
    }
    close();
}
