#include "app/phylacto.h"
#include "app/travaillong.h"

#include "covers/ajoutlot.h"
#include "covers/recherchecatalogue.h"
#include "covers/recherchecouvertures.h"
#include "dialogs/ajoutcatalogue.h"
#include "dialogs/apercuimport.h"
#include "dialogs/boites.h"
#include "model/bd.h"
#include "model/modifications.h"
#include "store/autrescatalogues.h"
#include "ui_phylacto.h"

#include <QDate>
#include <QFileInfo>

namespace {

QString compte(int n, const QString& singulier, const QString& pluriel)
{
    return (n == 1 ? singulier : pluriel).arg(n);
}

QString texteApercu(const QString& fichier, const AutresCatalogues::Apercu& apercu, int ignores)
{
    QStringList lignes { Phylacto::tr("« %1 »").arg(fichier) };
    if (apercu.albums == 0)
        lignes << Phylacto::tr("Aucun album à ajouter.");
    else
        lignes << Phylacto::tr("À ajouter : %1, %2, %3.")
                      .arg(compte(
                               apercu.albums, Phylacto::tr("%1 album"), Phylacto::tr("%1 albums")),
                          compte(apercu.series, Phylacto::tr("%1 nouvelle série"),
                              Phylacto::tr("%1 nouvelles séries")),
                          compte(apercu.couvertures, Phylacto::tr("%1 couverture"),
                              Phylacto::tr("%1 couvertures")));
    if (apercu.dejaPresents > 0)
        lignes << compte(apercu.dejaPresents,
            Phylacto::tr("%1 album déjà dans la collection ou en double sera ignoré."),
            Phylacto::tr("%1 albums déjà dans la collection ou en double seront ignorés."));
    if (ignores > 0)
        lignes << compte(ignores, Phylacto::tr("%1 entrée sans série ni titre est ignorée."),
            Phylacto::tr("%1 entrées sans série ni titre sont ignorées."));
    return lignes.join(QLatin1Char('\n'));
}

} // namespace

void Phylacto::preparerAjoutsCatalogue()
{
    m_rechercheCatalogue
        = new RechercheCatalogue(settings, rechercheCouvertures->cadenceur(), this);
    connect(ui->actionAjouterCatalogue, &QAction::triggered, this, &Phylacto::ouvrirAjoutCatalogue);
    connect(ui->actionImporterAutreCatalogue, &QAction::triggered, this,
        &Phylacto::importerAutreCatalogue);
}

void Phylacto::ouvrirAjoutCatalogue()
{
    if (m_ajoutCatalogue) {
        m_ajoutCatalogue->raise();
        m_ajoutCatalogue->activateWindow();
        return;
    }
    m_ajoutCatalogue = new AjoutCatalogue(
        m_rechercheCatalogue, catalogue,
        [this](const QList<AjoutLot::AlbumAAjouter>& albums) {
            const AjoutLot::Bilan bilan = ajouterLot(albums, QString());
            montrerBilan(bilan);
            return bilan;
        },
        this);
    m_ajoutCatalogue->show();
}

AjoutLot::Bilan Phylacto::ajouterLot(const QList<AjoutLot::AlbumAAjouter>& albums,
    const QString& texte, const Avancement& avancement)
{
    // Read before the catalogue moves away from its saved state.
    noterEtatEnregistre();
    SeriesAvantAjout avant = catalogue.releverSeries();
    const AjoutLot::Bilan bilan
        = AjoutLot::ajouter(catalogue, albums, m_chemins.dossierImages(), avancement);
    if (bilan.ajoutes > 0) {
        const BD* premier = catalogue.albums().at(avant.nbAlbums);
        executer(std::make_unique<AjoutAlbums>(!texte.isEmpty() ? texte
                : bilan.ajoutes == 1 ? tr("l'ajout de l'album %1").arg(premier->getTitre())
                                     : tr("l'ajout de %1 albums").arg(bilan.ajoutes),
            catalogue, std::move(avant)));
        MAJListesSeries();
        for (const BD* album : bilan.albums) {
            if (album && album->getSerie() == serieCourante) {
                remplirTableAlbums();
                break;
            }
        }
    }
    return bilan;
}

void Phylacto::montrerBilan(const AjoutLot::Bilan& bilan)
{
    QStringList etat { compte(bilan.ajoutes, tr("%1 album ajouté"), tr("%1 albums ajoutés")) };
    if (bilan.sansCouverture > 0)
        etat << tr("%1 sans couverture").arg(bilan.sansCouverture)
                + (bilan.erreurCouverture.isEmpty()
                        ? QString()
                        : QStringLiteral(" (%1)").arg(bilan.erreurCouverture));
    if (bilan.doublons > 0)
        etat << tr("%1 déjà dans la collection").arg(bilan.doublons);
    statusBar()->showMessage(etat.join(QStringLiteral(", ")), 15000);
}

void Phylacto::importerAutreCatalogue()
{
    const QString nom = Boites::fichierAOuvrir(this, tr("Importer depuis GCstar ou Tellico"),
        m_chemins.dossierTravail(),
        tr("GCstar ou Tellico (*.gcs *.tc);;GCstar (*.gcs);;Tellico (*.tc)"));
    if (nom.isEmpty())
        return;
    const QString fichier = QFileInfo(nom).fileName();
    AutresCatalogues::Lecture lecture;
    AutresCatalogues::Apercu apercu;
    {
        TravailLong travail(statusBar(), tr("Lecture de %1…").arg(fichier));
        lecture = nom.endsWith(QLatin1String(".tc"), Qt::CaseInsensitive)
            ? AutresCatalogues::lireTellico(nom, Euro, QDate::currentDate())
            : AutresCatalogues::lireGcstar(nom, Euro, QDate::currentDate());
        apercu = AutresCatalogues::apercu(lecture.albums, catalogue);
    }
    if (!lecture.erreur.isEmpty()) {
        Boites::informer(tr("Import annulé : %1 Aucun album n'a été ajouté.").arg(lecture.erreur));
        return;
    }
    ApercuImport dialogue(texteApercu(fichier, apercu, lecture.ignores), apercu.albums > 0, this);
    if (Boites::executer(&dialogue) != QDialog::Accepted)
        return;

    QList<AjoutLot::AlbumAAjouter> albums;
    albums.reserve(apercu.retenus.size());
    for (int position : std::as_const(apercu.retenus)) {
        AutresCatalogues::AlbumImporte& lu = lecture.albums[position];
        lu.valeurs.type = dialogue.type();
        const bool couverture = lu.aUneCouverture();
        albums.append({ lu.valeurs, std::exchange(lu.couverture, {}), lu.fichierCouverture,
            couverture, lu.emprunteur, lu.dateEmprunt });
    }
    lecture.albums.clear();
    AjoutLot::Bilan bilan;
    {
        TravailLong travail(statusBar(), tr("Import de %1…").arg(fichier));
        bilan = ajouterLot(albums, tr("l'import de %1").arg(fichier), travail.avancement());
    }
    montrerBilan(bilan);
}
