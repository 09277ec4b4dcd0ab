#include "app/phylacto.h"

#include "dialogs/filtre.h"
#include "dialogs/pret.h"
#include "dialogs/saisiepret.h"
#include "model/emprunt.h"
#include "ui_phylacto.h"

#include <QMessageBox>

void Phylacto::affichagePret()
{
    auto* dialogue = new Pret(Emprunt::albumsPretes(catalogue.albums()), this);
    dialogue->show();
}

void Phylacto::Preter()
{
    const QTableWidgetItem* cellule = ui->LstAlbum->currentItem();
    if (!cellule) {
        QMessageBox boite;
        boite.setText(tr("Veuillez selectioner un album"));
        boite.exec();
        return;
    }
    if (BD* album = catalogue.premierAlbum(serieCourante, cellule->text()))
        (new saisiePret(album, this))->show();
}

void Phylacto::AfficherRecherche()
{
    (new filtre(this))->show();
}
