#include "app/phylacto.h"

#include "settings/codecs.h"
#include "store/fichiercollection.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QSettings>

void Phylacto::chargerBase(const QString& fileName)
{
    const QString encodage = settings ? settings->value(QStringLiteral("BASE/Encodage")).toString()
                                      : QString();
    if (!fileName.isEmpty()) {
        m_fichierCharge = FichierCollection::chemin(fileName);
        const LectureCollection lecture = FichierCollection::charger(
            m_fichierCharge, Codecs::codecParNom(encodage), catalogue);
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
}

void Phylacto::saveAs()
{
}

void Phylacto::closeEvent(QCloseEvent* event)
{
    event->accept();
}

void Phylacto::closeProg()
{
    close();
}
