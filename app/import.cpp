#include "app/phylacto.h"

#include "settings/codecs.h"
#include "store/fichiercollection.h"
#include "store/importation.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>

void Phylacto::ImportCsv()
{
    const QString nom = QFileDialog::getOpenFileName(this, tr("Importer fichier"), QDir::currentPath(),
                                                     tr("CSV (*.csv);;BD (*.db)"));
    if (!nom.isEmpty()) {
        const LectureCollection lecture =
            Importation::importer(convertir(nom), Codecs::codec8Bits(), catalogue);
        if (lecture.etat == LectureCollection::LigneInvalide) {
            QMessageBox boite;
            boite.setText(FichierCollection::messageLigneInvalide(lecture));
            boite.exec();
        }
    }
    MAJListesSeries();
    modifie = true;
}

QString Phylacto::convertir(QString fileName)
{
    if (fileName.endsWith(QLatin1String("csv")))
        return fileName;

    QMessageBox avertissement;
    avertissement.setText(tr("Attention ! Votre fichier va être convertit en CSV. Si vous avez pensez à "
                             "mettre le repertoire images au même endroits, les images seront aussi importé."));
    avertissement.exec();

    const QString collection =
        settings ? settings->value(QStringLiteral("BASE/FileName")).toString() : QString();
    const QString converti = Importation::nomConverti(
        fileName, collection.isEmpty() ? QString() : FichierCollection::chemin(collection));
    const ConversionAncienne conversion =
        Importation::convertirFichier(fileName, converti, Codecs::codec8Bits());
    if (conversion.ligneInvalide > 0) {
        QMessageBox erreur;
        erreur.setText(tr("Erreur à la ligne %1.\n Merci de toujours laisser 19 parametres, même vide")
                           .arg(conversion.ligneInvalide));
        erreur.exec();
    }

    const QString images = QFileInfo(fileName).absolutePath() + QStringLiteral("//images");
    if (QDir(images).isReadable()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        Importation::copierImages(images, QDir::currentPath() + QStringLiteral("//images"));
        QApplication::restoreOverrideCursor();
    }
    // Without a converted file of its own, an older file of that name would be imported.
    return conversion.ecrit ? converti : QString();
}
