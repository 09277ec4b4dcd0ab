#include "app/phylacto.h"
#include "app/travaillong.h"

#include "dialogs/barremessage.h"
#include "dialogs/boites.h"
#include "dialogs/restauration.h"
#include "model/modifications.h"
#include "settings/codecs.h"
#include "settings/parametres.h"
#include "store/fichiercollection.h"
#include "ui_phylacto.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStatusBar>
#include <QUndoStack>

using Parametres::Cle;

namespace {

QString natif(const QString& chemin)
{
    return QDir::toNativeSeparators(QDir::cleanPath(chemin));
}

// Why a backup read with encodage is not restored; bytes that do not decode
// would be saved as U+FFFD, as start-up and import know.
QString raisonRefus(const LectureCollection& lecture, const QString& encodage)
{
    if (lecture.etat == LectureCollection::Illisible)
        return lecture.erreur;
    if (lecture.sequencesInvalides == 0)
        return FichierCollection::messageLigneInvalide(lecture);
    QString raison = Phylacto::tr("elle contient des octets invalides en %1, dès la ligne %2.")
                         .arg(encodage.isEmpty() ? Phylacto::tr("encodage du système") : encodage)
                         .arg(lecture.ligneSequenceInvalide);
    if (!lecture.encodageSansErreur.isEmpty())
        raison += QLatin1Char(' ')
            + Phylacto::tr("Elle se lit sans erreur en %1 : choisissez cet encodage dans "
                           "« Configuration Phylacto », puis restaurez-la de nouveau.")
                  .arg(lecture.encodageSansErreur);
    return raison;
}

} // namespace

QString Phylacto::sauvegarderAvantEcrasement(const QString& chemin, QString* probleme)
{
    if (Parametres::nbSauvegardes(*settings) == 0 || !QFileInfo::exists(chemin))
        return {};
    QString erreur;
    const QString copie = Sauvegardes::sauvegarder(
        chemin, m_chemins.dossierSauvegardes(), QDateTime::currentDateTime(), &erreur);
    if (!erreur.isEmpty())
        *probleme = tr("sa sauvegarde datée n'a pas pu être faite :\n%1").arg(erreur);
    return copie;
}

void Phylacto::terminerSauvegarde(
    const QString& chemin, const QString& sauvegarde, QString probleme)
{
    const int garder = Parametres::nbSauvegardes(*settings);
    if (garder > 0) {
        const QString dossier = m_chemins.dossierSauvegardes();
        const Sauvegardes::Elagage elagage = Sauvegardes::elaguer(
            dossier, chemin, garder, sauvegarde, QDateTime::currentDateTime());
        if (!elagage.echecs.isEmpty() && probleme.isEmpty())
            probleme = tr("ses anciennes sauvegardes n'ont pas pu être supprimées :\n%1")
                           .arg(elagage.echecs);
        // Once a run for each folder: at every save it would only be noise.
        if (!elagage.enAvance.isEmpty() && !m_dossiersEnAvanceSignales.contains(dossier)) {
            m_dossiersEnAvanceSignales.insert(dossier);
            ui->barreMessage->ajouter(
                tr("Dans %1, %n sauvegarde(s) datée(s) de plus d'un jour après l'heure de "
                   "l'ordinateur, dont %2, sont laissées telles quelles et ne comptent pas "
                   "parmi les sauvegardes gardées. Vérifiez l'horloge, ou déplacez-les.",
                    nullptr, int(elagage.enAvance.size()))
                    .arg(natif(dossier), elagage.enAvance.first()));
        }
    }
    if (probleme.isEmpty())
        return;
    Boites::Boite boite;
    boite.icone = QMessageBox::Warning;
    boite.texte = tr("%1 est enregistré, mais %2").arg(natif(chemin), probleme);
    Boites::montrer(boite);
}

void Phylacto::restaurerSauvegarde()
{
    const QString collection
        = FichierCollection::chemin(m_chemins, Parametres::lire(*settings, Cle::NomFichier));
    auto* dialogue
        = new Restauration(Sauvegardes::lister(m_chemins.dossierSauvegardes(), collection,
                               Codecs::codecParNom(Parametres::lire(*settings, Cle::Encodage))),
            QFileInfo(collection).fileName(), this);
    connect(dialogue, &Restauration::restaurationDemandee, this,
        [this, dialogue](const Sauvegardes::Sauvegarde& sauvegarde) {
            if (restaurer(sauvegarde))
                dialogue->close();
        });
    dialogue->show();
}

bool Phylacto::restaurer(const Sauvegardes::Sauvegarde& sauvegarde)
{
    // The automatic search walks the albums that a restore would destroy.
    if (m_rechercheAutoEnCours) {
        Boites::informer(tr("Arrêtez d'abord la recherche automatique des couvertures."));
        return false;
    }
    Boites::Boite question;
    question.icone = QMessageBox::Question;
    question.texte
        = tr("Remplacer le catalogue par la sauvegarde du %1 à %2 (%3 albums) ?")
              .arg(sauvegarde.quand.toString(QStringLiteral("dd/MM/yyyy")),
                  sauvegarde.quand.toString(QStringLiteral("HH:mm:ss")))
              .arg(sauvegarde.nbAlbums < 0 ? tr("?") : QString::number(sauvegarde.nbAlbums));
    // Nothing is lost: Edition › Annuler brings the catalogue before back.
    question.texteInformatif = tr("Le fichier actuel est d'abord gardé comme sauvegarde.");
    question.boutons = QMessageBox::Yes | QMessageBox::No;
    question.boutonParDefaut = QMessageBox::No;
    if (Boites::montrer(question) != QMessageBox::Yes)
        return false;

    // Read first: a backup that cannot be read changes nothing.
    auto restaure = std::make_unique<Catalogue>();
    const QString encodage = Parametres::lire(*settings, Cle::Encodage);
    LectureCollection lecture;
    {
        TravailLong travail(
            statusBar(), tr("Lecture de %1…").arg(QFileInfo(sauvegarde.chemin).fileName()));
        lecture = FichierCollection::lire(sauvegarde.chemin, Codecs::codecParNom(encodage),
            *restaure, Codecs::encodagesProposes(), travail.avancement());
    }
    if (lecture.etat != LectureCollection::Complete || lecture.sequencesInvalides > 0) {
        Boites::informer(tr("La sauvegarde %1 n'a pas été restaurée :\n%2")
                             .arg(natif(sauvegarde.chemin), raisonRefus(lecture, encodage)));
        return false;
    }

    const QString collection
        = FichierCollection::chemin(m_chemins, Parametres::lire(*settings, Cle::NomFichier));
    if (QFileInfo::exists(collection)) {
        QString erreur;
        Sauvegardes::sauvegarder(
            collection, m_chemins.dossierSauvegardes(), QDateTime::currentDateTime(), &erreur);
        if (!erreur.isEmpty()) {
            Boites::informer(tr("Restauration annulée : %1 n'a pas pu être sauvegardé.\n%2")
                                 .arg(natif(collection), erreur));
            return false;
        }
    }

    catalogue.echanger(*restaure);
    // The catalogue before goes with the step, which can bring it back.
    executer(std::make_unique<RemplacementCatalogue>(
        tr("la restauration de la sauvegarde du %1")
            .arg(sauvegarde.quand.toString(QStringLiteral("dd/MM/yyyy HH:mm"))),
        std::move(restaure)));
    reprendreAffichage();
    statusBar()->showMessage(
        tr("Sauvegarde restaurée : enregistrez pour la garder comme catalogue."), 10000);
    return true;
}

void Phylacto::reprendreAffichage()
{
    for (QListWidget* liste : listesSeries()) {
        const QSignalBlocker bloqueur(liste);
        liste->clear();
    }
    m_nomsListes.clear();
    serieCourante.clear();
    ui->LstAlbum->setRowCount(0);
    viderDetail();
    MAJListesSeries();
    if (ui->LstSerie->count() > 0)
        ui->LstSerie->setCurrentRow(0);
}
