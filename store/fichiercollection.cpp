#include "store/fichiercollection.h"

#include "model/bd.h"
#include "model/catalogue.h"
#include "model/traduction.h"
#include "settings/chemins.h"
#include "store/decodage.h"
#include "store/detectionencodage.h"
#include "store/lecturefichier.h"
#include "store/lecturetranches.h"
#include "store/lignecollection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextCodec>

namespace FichierCollection {

using Traduction::tr;

QString chemin(const Chemins& chemins, const QString& nomFichier)
{
    if (QDir::isAbsolutePath(nomFichier))
        return nomFichier;
    return chemins.fichierTravail(nomFichier);
}

QString decoder(const QByteArray& octets, QTextCodec* codec)
{
    return Decodage::decoder(octets, codec, 0).texte;
}

LectureCollection lireTexte(QStringView texte, Catalogue& catalogue, const Avancement& avancement)
{
    return LectureTranches::lireTexte(texte, catalogue, avancement);
}

LectureCollection charger(const QString& chemin, QTextCodec* codec, Catalogue& catalogue,
    const QStringList& encodagesProposes, const Avancement& avancement)
{
    const QFileInfo info(chemin);
    if (!info.exists() && !info.isSymLink()) {
        // First start on a new name: the collection file is created empty.
        QFile fichier(chemin);
        LectureCollection lecture;
        if (fichier.open(QIODevice::WriteOnly)) {
            fichier.close();
            lecture.fichier = EtatFichier::relever(chemin, {});
        }
        return lecture;
    }
    return lire(chemin, codec, catalogue, encodagesProposes, avancement);
}

LectureCollection lire(const QString& chemin, QTextCodec* codec, Catalogue& catalogue,
    const QStringList& encodagesProposes, const Avancement& avancement)
{
    QByteArray octets;
    QString erreur;
    if (!LectureFichier::lire(chemin, tailleMax, &octets, &erreur)) {
        LectureCollection lecture;
        lecture.etat = LectureCollection::Illisible;
        lecture.erreur = erreur;
        return lecture;
    }
    const EtatFichier lu = EtatFichier::relever(chemin, octets);
    QTextCodec* choisi = Decodage::codecDe(octets, codec);
    if (Decodage::decoupable(choisi)) {
        // Decoded by slices: the whole text never exists beside the bytes.
        LectureCollection lecture
            = LectureTranches::lireOctets(octets, choisi, catalogue, avancement);
        if (lecture.sequencesInvalides > 0 || lecture.utf8EnMonoOctet)
            lecture.encodageSansErreur = Decodage::encodageSansErreur(
                octets, encodagesProposes, QString::fromLatin1(choisi->name()));
        lecture.fichier = lu;
        return lecture;
    }
    const TexteDecode decode = Decodage::decoder(octets, codec);
    QString encodageSansErreur;
    const bool utf8EnMonoOctet = decode.sequencesInvalides == 0
        && !DetectionEncodage::unicode(decode.codec) && DetectionEncodage::utf8NonAscii(octets);
    if (decode.sequencesInvalides > 0 || utf8EnMonoOctet)
        encodageSansErreur = Decodage::encodageSansErreur(
            octets, encodagesProposes, QString::fromLatin1(decode.codec->name()));
    // The bytes are not needed while the albums are built.
    octets = QByteArray();
    LectureCollection lecture = lireTexte(decode.texte, catalogue, avancement);
    lecture.sequencesInvalides = decode.sequencesInvalides;
    lecture.encodageSansErreur = encodageSansErreur;
    lecture.utf8EnMonoOctet = utf8EnMonoOctet;
    lecture.fichier = lu;
    if (decode.sequencesInvalides > 0)
        lecture.ligneSequenceInvalide = decode.lignesInvalides.value(0, 1);
    return lecture;
}

QString messageLigneInvalide(const LectureCollection& lecture)
{
    return tr(
        "Erreur à la ligne %1.\n Merci de toujours laisser 20 parametres et non %2, même vide")
        .arg(lecture.ligneFautive, QString::number(lecture.nbChamps));
}

} // namespace FichierCollection
