#include "app/phylacto.h"

#include "dialogs/boites.h"
#include "dialogs/filtre.h"
#include "dialogs/pret.h"
#include "dialogs/saisiepret.h"
#include "model/emprunt.h"
#include "model/bd.h"
#include "ui_phylacto.h"

#include <QDate>


void Phylacto::affichagePret()
{
    auto* dialogue = new Pret(Emprunt::albumsPretes(catalogue.albums()), catalogue, this);
    connect(dialogue, &Pret::albumRendu, this, [this](BD* album) {
        changerPret(album, tr("le retour de l'album %1"), Emprunt::rendre);
    });
    dialogue->show();
}

void Phylacto::Preter()
{
    const QTableWidgetItem* cellule = ui->LstAlbum->currentItem();
    if (!cellule) {
        Boites::informer(tr("Veuillez selectioner un album"));
        return;
    }
    const BD* album = catalogue.premierAlbum(serieCourante, cellule->text());
    if (!album)
        return;
    auto* dialogue = new saisiePret(album, this);
    connect(dialogue, &saisiePret::pretValide, this,
        [this](const QString& serie, const QString& titre, const QString& emprunteur) {
            BD* prete = catalogue.premierAlbum(serie, titre);
            if (!prete)
                return;
            changerPret(prete, tr("le prêt de l'album %1"), [&emprunteur](BD& album) {
                Emprunt::preter(album, emprunteur, QDate::currentDate());
            });
            updateInfosBd(prete);
        });
    dialogue->show();
}

void Phylacto::AfficherRecherche()
{
    auto* explorateur = new filtre(catalogue, this);
    connect(explorateur, &filtre::montrerAlbum, this, &Phylacto::updateInfosBd);
    connect(explorateur, &filtre::exporterLignes, this,
        [this, revision = catalogue.revisionPositions()](
            const QList<int>& lignes) { exporterLignes(lignes, revision); });
    explorateur->show();
}
