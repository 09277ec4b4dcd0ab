#include "app/phylacto.h"
#include "app/travaillong.h"

#include "dialogs/boites.h"
#include "model/modifications.h"
#include "settings/codecs.h"
#include "settings/parametres.h"
#include "store/fichiercollection.h"
#include "store/importation.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTextCodec>

void Phylacto::ImportCsv()
{
    const QString nom = Boites::fichierAOuvrir(
        this, tr("Importer fichier"), m_chemins.dossierTravail(), tr("CSV (*.csv);;BD (*.db)"));
    if (!nom.isEmpty() && !importer(nom))
        return;
    MAJListesSeries();
    // Also after a cancelled dialog, as always: the mark goes at the next save.
    setModifie(true);
}

// False when nothing could be added (told in a box): the catalogue is as it was.
bool Phylacto::importer(const QString& nom)
{
    const QString aImporter = convertir(nom);
    if (aImporter.isEmpty())
        return false;
    const SeriesAvantAjout releve = catalogue.releverSeries();
    LectureCollection lecture;
    {
        TravailLong travail(statusBar(), tr("Import de %1…").arg(QFileInfo(nom).fileName()));
        lecture = Importation::importer(
            aImporter, Codecs::codec8Bits(), catalogue, travail.avancement());
    }
    // What was read before a bad line stays, as one step.
    if (const qsizetype ajoutes = catalogue.albums().size() - releve.nbAlbums; ajoutes > 0) {
        executer(std::make_unique<AjoutAlbums>(ajoutes == 1
                ? tr("l'importation d'un album")
                : tr("l'importation de %1 albums").arg(ajoutes),
            catalogue, releve));
    }
    if (lecture.etat == LectureCollection::LigneInvalide)
        Boites::informer(FichierCollection::messageLigneInvalide(lecture));
    else if (lecture.sequencesInvalides > 0)
        Boites::informer(tr("Import annulé : %1 contient des octets invalides en %2, dès la "
                            "ligne %3. Aucun album n'a été ajouté. Choisissez l'encodage de ce "
                            "fichier dans « Configuration Phylacto », puis importez-le de nouveau.")
                             .arg(QDir::toNativeSeparators(nom),
                                 QString::fromLatin1(Codecs::codec8Bits()->name()))
                             .arg(lecture.ligneSequenceInvalide));
    else if (lecture.etat == LectureCollection::Illisible)
        Boites::informer(tr("Import annulé : %1 n'a pas pu être lu (%2). Aucun album n'a été "
                            "ajouté.")
                             .arg(QDir::toNativeSeparators(aImporter), lecture.erreur));
    return lecture.etat != LectureCollection::Illisible;
}

QString Phylacto::convertir(QString fileName)
{
    if (fileName.endsWith(QLatin1String("csv")))
        return fileName;

    Boites::informer(
        tr("Attention ! Votre fichier va être convertit en CSV. Si vous avez pensez à "
           "mettre le repertoire images au même endroits, les images seront aussi importé."));

    const QString collection = Parametres::lire(*settings, Parametres::Cle::NomFichier);
    const QString converti = Importation::nomConvertiLibre(fileName,
        collection.isEmpty() ? QString() : FichierCollection::chemin(m_chemins, collection));
    ConversionAncienne conversion;
    {
        TravailLong travail(
            statusBar(), tr("Conversion de %1…").arg(QFileInfo(fileName).fileName()));
        conversion = Importation::convertirFichier(
            fileName, converti, Codecs::codec8Bits(), travail.avancement());
    }
    if (!conversion.lu) {
        Boites::informer(tr("Conversion annulée : %1 n'a pas pu être lu (%2). Aucun album n'a été "
                            "ajouté.")
                             .arg(QDir::toNativeSeparators(fileName), conversion.erreur));
    } else if (!conversion.cree) {
        Boites::informer(tr("Le fichier converti n'a pas pu être créé à côté de %1 (%2) : rien "
                            "n'est importé.")
                             .arg(QDir::toNativeSeparators(fileName),
                                 converti.isEmpty() ? tr("aucun nom libre")
                                                    : QDir::toNativeSeparators(converti)));
    } else if (!conversion.ecrit) {
        Boites::informer(tr("Le fichier converti %1 n'a pas pu être écrit en entier (%2) : il est "
                            "supprimé et rien n'est importé.")
                             .arg(QDir::toNativeSeparators(converti), conversion.erreur));
    }
    if (conversion.ligneInvalide > 0 && conversion.erreur.isEmpty()) {
        Boites::informer(
            tr("Erreur à la ligne %1.\n Merci de toujours laisser 19 parametres, même vide")
                .arg(conversion.ligneInvalide));
    }

    const QString images = Chemins(QFileInfo(fileName).absolutePath()).dossierImages();
    if (QDir(images).isReadable()) {
        TravailLong travail(statusBar(), tr("Copie des images…"));
        Importation::copierImages(images, m_chemins.dossierImages(), travail.avancement());
    }
    // Without a converted file of its own, an older file of that name would be imported.
    return conversion.ecrit ? converti : QString();
}
