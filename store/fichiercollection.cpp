#include "store/fichiercollection.h"

#include "model/bd.h"
#include "model/catalogue.h"
#include "settings/parametres.h"
#include "store/lignecollection.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextCodec>

namespace FichierCollection {

QString chemin(const QString& nomFichier)
{
    if (QDir::isAbsolutePath(nomFichier))
        return nomFichier;
    return Chemins::fichierTravail(nomFichier);
}

QString decoder(const QByteArray& octets, QTextCodec* codec)
{
    QTextCodec* parDefaut = codec ? codec : QTextCodec::codecForLocale();
    QTextCodec* choisi = QTextCodec::codecForUtfText(octets, parDefaut);
    // The codec drops the byte-order mark itself.
    return choisi->toUnicode(octets);
}

LectureCollection lireTexte(QStringView texte, Catalogue& catalogue)
{
    LectureCollection lecture;
    qsizetype debut = 0;
    const qsizetype taille = texte.size();
    int numero = 0;
    while (debut < taille) {
        qsizetype fin = texte.indexOf(QLatin1Char('\n'), debut);
        if (fin < 0)
            fin = taille;
        QStringView ligne = texte.mid(debut, fin - debut);
        if (ligne.endsWith(QLatin1Char('\r')))
            ligne.chop(1);
        debut = fin + 1;
        ++numero;

        int nbParties = 0;
        BD* album = LigneCollection::decoder(ligne, &nbParties, &catalogue.textesPartages());
        if (!album) {
            lecture.etat = LectureCollection::LigneInvalide;
            lecture.ligneFautive = ligne.toString();
            lecture.nbChamps = nbParties;
            lecture.numeroLigne = numero;
            break;
        }
        catalogue.attacher(album);
        ++lecture.albumsLus;
    }
    return lecture;
}

LectureCollection charger(const QString& chemin, QTextCodec* codec, Catalogue& catalogue)
{
    QFile fichier(chemin);
    if (!fichier.exists()) {
        // First start on a new name: the collection file is created empty.
        if (fichier.open(QIODevice::WriteOnly))
            fichier.close();
        return {};
    }
    if (!fichier.open(QIODevice::ReadOnly)) {
        LectureCollection lecture;
        lecture.etat = LectureCollection::Illisible;
        lecture.erreur = fichier.errorString();
        return lecture;
    }
    QByteArray octets = fichier.readAll();
    if (fichier.error() != QFileDevice::NoError) {
        LectureCollection lecture;
        lecture.etat = LectureCollection::Illisible;
        lecture.erreur = fichier.errorString();
        return lecture;
    }
    fichier.close();
    const QString texte = decoder(octets, codec);
    // The bytes are not needed while the albums are built.
    octets = QByteArray();
    return lireTexte(texte, catalogue);
}

QString messageLigneInvalide(const LectureCollection& lecture)
{
    return QCoreApplication::translate(
               "Phylacto",
               "Erreur à la ligne %1.\n Merci de toujours laisser 20 parametres et non %2, même vide")
        .arg(lecture.ligneFautive, QString::number(lecture.nbChamps));
}

} // namespace FichierCollection
