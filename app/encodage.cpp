#include "app/phylacto.h"
#include "app/travaillong.h"

#include "dialogs/barremessage.h"
#include "dialogs/boites.h"
#include "settings/codecs.h"
#include "settings/parametres.h"
#include "store/fichiercollection.h"
#include "ui_phylacto.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStatusBar>
#include <QTextCodec>
#include <QUndoStack>

#include <utility>

using Parametres::Cle;

QString Phylacto::encodageCollection() const
{
    return m_encodageEnAttente.isEmpty() ? Parametres::lire(*settings, Cle::Encodage)
                                         : m_encodageEnAttente;
}

QTextCodec* Phylacto::codecCollection() const
{
    QTextCodec* codec = Codecs::codecParNom(encodageCollection());
    return codec ? codec : QTextCodec::codecForLocale();
}

void Phylacto::noterEncodageEcrit()
{
    if (m_encodageEnAttente.isEmpty())
        return;
    Parametres::ecrire(*settings, Cle::Encodage, std::exchange(m_encodageEnAttente, QString()));
    Parametres::enregistrer(*settings);
}

void Phylacto::relireEnEncodagePropose()
{
    const QString encodage = m_encodagePropose;
    const QString fichier = QDir::toNativeSeparators(QDir::cleanPath(m_fichierCharge));
    if (encodage.isEmpty())
        return;
    // The automatic search walks the albums that a new reading replaces.
    if (m_rechercheAutoEnCours) {
        Boites::informer(tr("Arrêtez d'abord la recherche automatique des couvertures."));
        return;
    }
    if (modifie) {
        Boites::Boite question;
        question.icone = QMessageBox::Question;
        question.texte = tr("Relire %1 en %2 ?").arg(fichier, encodage);
        question.texteInformatif = tr("Les modifications non enregistrées seront perdues.");
        question.boutons = QMessageBox::Yes | QMessageBox::No;
        question.boutonParDefaut = QMessageBox::No;
        if (Boites::montrer(question) != QMessageBox::Yes)
            return;
    }
    if (!QFileInfo::exists(m_fichierCharge)) {
        Boites::informer(tr("%1 n'existe plus : il n'a pas été relu.").arg(fichier));
        return;
    }

    Catalogue relu;
    LectureCollection lecture;
    {
        TravailLong travail(statusBar(), tr("Lecture de %1…").arg(QFileInfo(fichier).fileName()));
        lecture = FichierCollection::charger(m_fichierCharge, Codecs::codecParNom(encodage), relu,
            Codecs::encodagesProposes(), travail.avancement());
    }
    if (lecture.etat == LectureCollection::Illisible || lecture.sequencesInvalides > 0
        || lecture.utf8EnMonoOctet) {
        Boites::informer(tr("%1 n'a pas été relu en %2 : %3")
                             .arg(fichier, encodage,
                                 lecture.erreur.isEmpty() ? tr("il ne se lit pas sans erreur")
                                                          : lecture.erreur));
        return;
    }
    if (lecture.etat == LectureCollection::LigneInvalide)
        Boites::informer(FichierCollection::messageLigneInvalide(lecture));

    // The file is in that encoding already: storing it makes the two agree.
    Parametres::ecrire(*settings, Cle::Encodage, encodage);
    Parametres::enregistrer(*settings);
    Codecs::setCodecLocale(Codecs::codecParNom(encodage));
    m_encodageEnAttente.clear();
    m_encodagePropose.clear();

    catalogue.echanger(relu);
    m_etatCollection = lecture.fichier;
    m_annulation->clear();
    reprendreAffichage();
    m_chargementIncomplet = lecture.etat != LectureCollection::Complete;
    setModifie(false);
    ui->barreMessage->fermer();
    statusBar()->showMessage(
        tr("Collection relue en %1 (%2 albums)").arg(encodage).arg(catalogue.albums().size()),
        10000);
}
