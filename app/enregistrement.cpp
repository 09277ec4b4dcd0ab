#include "app/phylacto.h"
#include "app/travaillong.h"

#include "dialogs/barremessage.h"
#include "dialogs/boites.h"
#include "model/bd.h"
#include "settings/codecs.h"
#include "settings/parametres.h"
#include "store/ecriturecollection.h"
#include "store/fichiercollection.h"
#include "ui_phylacto.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStatusBar>
#include <QTextCodec>
#include <QUndoStack>

using Parametres::Cle;

void Phylacto::chargerBase(const QString& fileName)
{
    const QString encodage = Parametres::lire(*settings, Cle::Encodage);
    if (!fileName.isEmpty()) {
        m_fichierCharge = FichierCollection::chemin(m_chemins, fileName);
        const LectureCollection lecture = FichierCollection::charger(
            m_fichierCharge, Codecs::codecParNom(encodage), catalogue, Codecs::encodagesProposes());
        m_chargementIncomplet = lecture.etat != LectureCollection::Complete
            || lecture.sequencesInvalides > 0 || lecture.utf8EnMonoOctet;
        m_etatCollection = lecture.fichier;
        if (lecture.etat == LectureCollection::LigneInvalide)
            Boites::informer(FichierCollection::messageLigneInvalide(lecture));
        signalerChargement(lecture, encodage);
    }
    update();
    MAJListesSeries();
}

// Problems of the start-up load are notices inside the window: the
// constructor never waits on a box for them.
void Phylacto::signalerChargement(const LectureCollection& lecture, const QString& encodage)
{
    const QString fichier = QDir::toNativeSeparators(QDir::cleanPath(m_fichierCharge));
    if (lecture.etat == LectureCollection::Illisible) {
        ui->barreMessage->ajouter(
            tr("Le fichier de collection %1 n'a pas pu être lu : %2. Le catalogue affiché est "
               "vide, mais le fichier n'a pas été modifié : vérifiez-le (droits, emplacement, "
               "nom dans data/settings.ini), puis relancez Phylacto.")
                .arg(fichier, lecture.erreur),
            BarreMessage::Erreur);
    }
    if (lecture.sequencesInvalides == 0 && !lecture.utf8EnMonoOctet)
        return;
    const QString lu = encodage.isEmpty() ? tr("encodage du système") : encodage;
    QString texte = lecture.utf8EnMonoOctet
        ? tr("Le fichier de collection %1 est écrit en UTF-8, mais il est lu en %2 : ses lettres "
             "accentuées sont mal affichées. Le fichier tel qu'il est sera copié avant le premier "
             "enregistrement.")
              .arg(fichier, lu)
        : tr("Le fichier de collection %1 contient des octets invalides en %2, dès la ligne %3 : "
             "ils sont affichés « \uFFFD ». Le fichier tel qu'il est sera copié avant le premier "
             "enregistrement.")
              .arg(fichier, lu)
              .arg(lecture.ligneSequenceInvalide);
    if (!lecture.encodageSansErreur.isEmpty()) {
        m_encodagePropose = lecture.encodageSansErreur;
        texte += QLatin1Char(' ')
            + tr("Il se lit sans erreur en %1 : « Relire en %1 » le relit dans cet encodage et "
                 "le garde pour ce fichier.")
                  .arg(m_encodagePropose);
        ui->barreMessage->setAction(tr("Relire en %1").arg(m_encodagePropose));
    }
    ui->barreMessage->ajouter(texte, BarreMessage::Avertissement);
}

void Phylacto::save()
{
    enregistrer();
}

void Phylacto::saveAs()
{
    const QString chemin = demanderFichier();
    if (chemin.isEmpty())
        return;
    const bool collection = QFileInfo(chemin)
        == QFileInfo(
            FichierCollection::chemin(m_chemins, Parametres::lire(*settings, Cle::NomFichier)));
    if (collection) {
        if (refuserEcriture())
            return;
        const Remplacement reponse = confirmerRemplacement(chemin);
        if (reponse == Remplacement::AutreNom)
            enregistrerSousNouveauNom();
        if (reponse != Remplacement::Remplacer)
            return;
    }
    // Over the collection file, the copy is the file: in the file's encoding.
    ecrireCatalogue(chemin, collection ? codecCollection() : Codecs::codec8Bits(), collection);
}

void Phylacto::closeEvent(QCloseEvent* event)
{
    // A close asked while an import or a save is under way waits for it.
    if (TravailLong::enCours()) {
        event->ignore();
        return;
    }
    if (!modifie) {
        memoriserDisposition();
        event->accept();
        return;
    }
    Boites::Boite question;
    question.texte = tr("Votre base de données a ete modifiée");
    question.texteInformatif = tr("Voulez vous sauvegarder les changements?");
    question.boutons = QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel;
    question.boutonParDefaut = QMessageBox::Save;
    if (enLectureSeule()) {
        question.texteInformatif
            = tr("Le dossier est en lecture seule : ces modifications seront "
                 "perdues. Annulez pour en garder une copie avec « Enregistrer "
                 "sous ».");
        question.boutons = QMessageBox::Discard | QMessageBox::Cancel;
        question.boutonParDefaut = QMessageBox::Cancel;
    }
    const QMessageBox::StandardButton reponse = Boites::montrer(question);
    // A save that failed or was cancelled keeps the window, and the changes, open.
    if (reponse == QMessageBox::Discard || (reponse == QMessageBox::Save && enregistrer())) {
        memoriserDisposition();
        event->accept();
    } else {
        event->ignore();
    }
}

void Phylacto::closeProg()
{
    close();
}

bool Phylacto::enregistrer()
{
    if (refuserEcriture())
        return false;
    const QString nom = Parametres::lire(*settings, Cle::NomFichier);
    if (nom.isEmpty())
        return enregistrerSousNouveauNom();
    switch (confirmerRemplacement(FichierCollection::chemin(m_chemins, nom))) {
    case Remplacement::Remplacer:
        return enregistrerDans(nom, false);
    case Remplacement::AutreNom:
        return enregistrerSousNouveauNom();
    case Remplacement::Annuler:
        break;
    }
    return false;
}

bool Phylacto::enregistrerSousNouveauNom()
{
    const QString nom = demanderFichier();
    return !nom.isEmpty() && enregistrerDans(nom, true);
}

// A synchronised or shared folder may bring another version of the file
// between two saves: it is not overwritten unasked.
Phylacto::Remplacement Phylacto::confirmerRemplacement(const QString& chemin)
{
    if (!m_etatCollection.changeSur(chemin))
        return Remplacement::Remplacer;
    Boites::Boite question;
    question.icone = QMessageBox::Warning;
    question.texte = tr("Le fichier de la collection %1 a été modifié en dehors de Phylacto "
                        "depuis sa lecture ou son dernier enregistrement.")
                         .arg(QDir::toNativeSeparators(QDir::cleanPath(chemin)));
    question.texteInformatif = tr("Le remplacer fera perdre ces modifications. Enregistré sous "
                                  "un autre nom, le catalogue y restera : ce fichier deviendra "
                                  "celui de la collection.");
    question.boutons = QMessageBox::Yes | QMessageBox::Save | QMessageBox::Cancel;
    question.libelles = { { QMessageBox::Yes, tr("Remplacer") },
        { QMessageBox::Save, tr("Enregistrer sous un autre nom") },
        { QMessageBox::Cancel, tr("Annuler") } };
    question.boutonParDefaut = QMessageBox::Cancel;
    switch (Boites::montrer(question)) {
    case QMessageBox::Yes:
        return Remplacement::Remplacer;
    case QMessageBox::Save:
        return Remplacement::AutreNom;
    default:
        return Remplacement::Annuler;
    }
}

bool Phylacto::enregistrerDans(const QString& nom, bool nouveauNom)
{
    if (!ecrireCatalogue(FichierCollection::chemin(m_chemins, nom), codecCollection(), true))
        return false;

    if (nouveauNom) {
        Parametres::ecrire(*settings, Cle::NomFichier, EcritureCollection::nomDansParametres(nom));
        Parametres::enregistrer(*settings);
    }
    m_annulation->setClean();
    setModifie(false);
    majTitre();
    statusBar()->showMessage(
        tr("Collection enregistrée (%1 albums)").arg(catalogue.albums().size()), 5000);
    return true;
}

bool Phylacto::ecrireCatalogue(const QString& chemin, QTextCodec* codec, bool fichierCollection)
{
    const auto signalerEchec = [&chemin](const QString& erreur) {
        Boites::Boite boite;
        boite.icone = QMessageBox::Warning;
        boite.texte = tr("Impossible d'enregistrer %1 :\n%2")
                          .arg(QDir::toNativeSeparators(QDir::cleanPath(chemin)), erreur);
        Boites::montrer(boite);
        return false;
    };
    // Before anything reads it for a copy: a pipe would never end.
    QString erreur;
    if (EcritureCollection::cibleRemplacable(chemin, &erreur).isEmpty())
        return signalerEchec(erreur);

    OctetsCollection contenu;
    {
        TravailLong travail(
            statusBar(), tr("Enregistrement de %1 albums…").arg(catalogue.albums().size()));
        contenu = EcritureCollection::encoder(catalogue.albums(), codec, travail.avancement());
    }
    if (contenu.premierAlbumIntraduisible >= 0) {
        const BD* album = catalogue.albums().at(contenu.premierAlbumIntraduisible);
        Boites::Boite question;
        question.icone = QMessageBox::Warning;
        question.texte
            = tr("L'encodage %1 ne peut pas écrire tous les caractères du catalogue, "
                 "à commencer par ceux de l'album « %2 - %3 ».")
                  .arg(QString::fromLatin1(codec->name()), album->getSerie(), album->getTitre());
        question.texteInformatif
            = tr("Enregistrer quand même ? Ces caractères seront remplacés dans le fichier.");
        question.boutons = QMessageBox::Save | QMessageBox::Cancel;
        question.boutonParDefaut = QMessageBox::Cancel;
        if (Boites::montrer(question) != QMessageBox::Save)
            return false;
    }
    if (!garderCopieAvantEcrasement(chemin))
        return false;
    QString probleme;
    const QString sauvegarde
        = fichierCollection ? sauvegarderAvantEcrasement(chemin, &probleme) : QString();

    {
        TravailLong travail(statusBar(), tr("Écriture de %1…").arg(QFileInfo(chemin).fileName()));
        erreur = EcritureCollection::enregistrer(chemin, contenu.octets, travail.avancement());
    }
    if (!erreur.isEmpty()) {
        // The file was not replaced: its backup would only push out an older one.
        if (!sauvegarde.isEmpty())
            QFile::remove(sauvegarde);
        return signalerEchec(erreur);
    }
    if (fichierCollection) {
        m_etatCollection = EtatFichier::relever(chemin, contenu.octets);
        noterEncodageEcrit();
        terminerSauvegarde(chemin, sauvegarde, probleme);
    }
    return true;
}

// The albums an incomplete start-up load left on disk must survive the first
// overwrite of their file.
bool Phylacto::garderCopieAvantEcrasement(const QString& chemin)
{
    if (!m_chargementIncomplet || m_copieGardee || QFileInfo(chemin) != QFileInfo(m_fichierCharge)
        || !QFileInfo::exists(chemin))
        return true;

    QString erreur;
    const QString copie
        = EcritureCollection::garderCopie(chemin, QDateTime::currentDateTime(), &erreur);
    if (copie.isEmpty()) {
        Boites::Boite boite;
        boite.icone = QMessageBox::Warning;
        boite.texte = tr("Enregistrement annulé : %1 contient des albums qui n'ont pas été lus au "
                         "démarrage et n'a pas pu être copié.\n%2")
                          .arg(QDir::toNativeSeparators(QDir::cleanPath(chemin)), erreur);
        Boites::montrer(boite);
        return false;
    }
    m_copieGardee = true;
    Boites::informer(tr("Les albums qui n'ont pas été lus au démarrage sont conservés dans %1")
                         .arg(QDir::toNativeSeparators(QDir::cleanPath(copie))));
    return true;
}

QString Phylacto::demanderFichier()
{
    return demanderFichierCsv(tr("Enregistrer sous..."), tr("CSV (*.csv)"));
}

// The file dialog asked about replacing the name as typed: the name with
// ".csv" added gets its own question, and "Non" goes back to the dialog.
QString Phylacto::demanderFichierCsv(const QString& titre, const QString& filtre)
{
    for (;;) {
        const QString tape
            = Boites::fichierAEnregistrer(this, titre, m_chemins.dossierTravail(), filtre);
        const QString chemin = EcritureCollection::avecExtensionCsv(tape);
        if (chemin == tape || !QFileInfo::exists(chemin))
            return chemin;
        Boites::Boite question;
        question.parent = this;
        question.icone = QMessageBox::Warning;
        question.texte = tr("%1 existe déjà.").arg(QFileInfo(chemin).fileName());
        question.texteInformatif = tr("Voulez-vous le remplacer ?");
        question.boutons = QMessageBox::Yes | QMessageBox::No;
        question.boutonParDefaut = QMessageBox::No;
        if (Boites::montrer(question) == QMessageBox::Yes)
            return chemin;
    }
}
