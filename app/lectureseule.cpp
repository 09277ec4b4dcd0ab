#include "app/phylacto.h"

#include "dialogs/barremessage.h"
#include "dialogs/boites.h"
#include "ui_phylacto.h"

#include <QDir>

namespace {

QString dossierNatif(const Chemins& chemins)
{
    return QDir::toNativeSeparators(chemins.dossierTravail());
}

} // namespace

void Phylacto::ouvrirEnLectureSeule(const QString& raison)
{
    m_lectureSeule = raison;
    // Each would write in the folder: the settings, a backup of the
    // collection, the encoding the start-up notice's button stores.
    ui->actionConfiguration_reseau->setEnabled(false);
    ui->actionRestaurer->setEnabled(false);
    ui->barreMessage->setAction(QString());
    ui->barreMessage->ajouter(tr("Dossier %1 en lecture seule : %2. Les modifications ne pourront "
                                 "pas être enregistrées ; « Enregistrer sous » en garde une copie "
                                 "ailleurs.")
                                  .arg(dossierNatif(m_chemins), raison),
        BarreMessage::Avertissement);
}

void Phylacto::ajouterAvis(const QString& texte)
{
    ui->barreMessage->ajouter(texte, BarreMessage::Avertissement);
}

bool Phylacto::refuserEcriture()
{
    if (m_lectureSeule.isEmpty())
        return false;
    Boites::Boite boite;
    boite.icone = QMessageBox::Warning;
    boite.texte
        = tr("La collection n'est pas enregistrée : le dossier %1 est en lecture seule (%2).")
              .arg(dossierNatif(m_chemins), m_lectureSeule);
    boite.texteInformatif = tr("« Enregistrer sous » en garde une copie ailleurs.");
    Boites::montrer(boite);
    return true;
}
