#include "app/phylacto.h"

#include "model/bd.h"
#include "settings/codecs.h"
#include "store/ecriturecollection.h"
#include "store/fichiercollection.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <QTextCodec>

void Phylacto::chargerBase(const QString& fileName)
{
    const QString encodage
        = settings ? settings->value(QStringLiteral("BASE/Encodage")).toString() : QString();
    if (!fileName.isEmpty()) {
        m_fichierCharge = FichierCollection::chemin(fileName);
        const LectureCollection lecture
            = FichierCollection::charger(m_fichierCharge, Codecs::codecParNom(encodage), catalogue);
        m_chargementIncomplet = lecture.etat != LectureCollection::Complete;
        if (lecture.etat == LectureCollection::LigneInvalide) {
            QMessageBox boite;
            boite.setText(FichierCollection::messageLigneInvalide(lecture));
            boite.exec();
        }
    }
    update();
    MAJListesSeries();
}

void Phylacto::save()
{
    enregistrer();
}

void Phylacto::saveAs()
{
    const QString chemin = demanderFichier();
    if (!chemin.isEmpty())
        ecrireCatalogue(chemin, Codecs::codec8Bits());
}

void Phylacto::closeEvent(QCloseEvent* event)
{
    if (!modifie) {
        event->accept();
        return;
    }
    QMessageBox question;
    question.setText(tr("Votre base de données a ete modifiée"));
    question.setInformativeText(tr("Voulez vous sauvegarder les changements?"));
    question.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    question.setDefaultButton(QMessageBox::Save);
    const int reponse = question.exec();
    // A save that failed or was cancelled keeps the window, and the changes, open.
    if (reponse == QMessageBox::Discard || (reponse == QMessageBox::Save && enregistrer()))
        event->accept();
    else
        event->ignore();
}

void Phylacto::closeProg()
{
    close();
}

bool Phylacto::enregistrer()
{
    QString nom
        = settings ? settings->value(QStringLiteral("BASE/FileName")).toString() : QString();
    const bool nouveauNom = nom.isEmpty();
    if (nouveauNom && (nom = demanderFichier()).isEmpty())
        return false;

    const QString encodage = settings ? settings->value(QStringLiteral("BASE/Encodage")).toString()
                                      : QStringLiteral("UTF-8");
    QTextCodec* codec = Codecs::codecParNom(encodage);
    if (!ecrireCatalogue(
            FichierCollection::chemin(nom), codec ? codec : QTextCodec::codecForLocale()))
        return false;

    if (nouveauNom && settings) {
        settings->setValue(
            QStringLiteral("BASE/FileName"), EcritureCollection::nomDansParametres(nom));
        settings->sync();
    }
    modifie = false;
    return true;
}

bool Phylacto::ecrireCatalogue(const QString& chemin, QTextCodec* codec)
{
    const OctetsCollection contenu = EcritureCollection::encoder(catalogue.albums(), codec);
    if (contenu.premierAlbumIntraduisible >= 0) {
        const BD* album = catalogue.albums().at(contenu.premierAlbumIntraduisible);
        QMessageBox question;
        question.setIcon(QMessageBox::Warning);
        question.setText(
            tr("L'encodage %1 ne peut pas écrire tous les caractères du catalogue, "
               "à commencer par ceux de l'album « %2 - %3 ».")
                .arg(QString::fromLatin1(codec->name()), album->getSerie(), album->getTitre()));
        question.setInformativeText(
            tr("Enregistrer quand même ? Ces caractères seront remplacés dans le fichier."));
        question.setStandardButtons(QMessageBox::Save | QMessageBox::Cancel);
        question.setDefaultButton(QMessageBox::Cancel);
        if (question.exec() != QMessageBox::Save)
            return false;
    }
    if (!garderCopieAvantEcrasement(chemin))
        return false;

    const QString erreur = EcritureCollection::enregistrer(chemin, contenu.octets);
    if (!erreur.isEmpty()) {
        QMessageBox boite;
        boite.setIcon(QMessageBox::Warning);
        boite.setText(tr("Impossible d'enregistrer %1 :\n%2")
                          .arg(QDir::toNativeSeparators(QDir::cleanPath(chemin)), erreur));
        boite.exec();
        return false;
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
    QMessageBox boite;
    if (copie.isEmpty()) {
        boite.setIcon(QMessageBox::Warning);
        boite.setText(tr("Enregistrement annulé : %1 contient des albums qui n'ont pas été lus au "
                         "démarrage et n'a pas pu être copié.\n%2")
                          .arg(QDir::toNativeSeparators(QDir::cleanPath(chemin)), erreur));
        boite.exec();
        return false;
    }
    m_copieGardee = true;
    boite.setText(tr("Les albums qui n'ont pas été lus au démarrage sont conservés dans %1")
                      .arg(QDir::toNativeSeparators(QDir::cleanPath(copie))));
    boite.exec();
    return true;
}

QString Phylacto::demanderFichier()
{
    return QFileDialog::getSaveFileName(
        this, tr("Enregistrer sous..."), QDir::currentPath(), tr("CSV (*.csv)"));
}
