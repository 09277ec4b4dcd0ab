#include "store/importation.h"

#include "model/traduction.h"
#include "store/decodage.h"
#include "store/lecturefichier.h"
#include "store/ligneancienne.h"
#include "store/memeemplacement.h"
#include "store/nomlibre.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextCodec>

namespace Importation {

using Traduction::tr;

QString nomConverti(const QString& ancien, const QString& aProteger)
{
    const QFileInfo info(ancien);
    // Only the file name loses its last characters, never its directory.
    const QString base = info.fileName().chopped(qMin<qsizetype>(2, info.fileName().size()));
    const QString dossier = ancien.left(ancien.size() - info.fileName().size());
    const QString nom = dossier + base + QStringLiteral("csv");
    if (!aProteger.isEmpty() && memeEmplacement(nom, aProteger))
        return dossier + base + QStringLiteral("converti.csv");
    return nom;
}

QString nomConvertiLibre(const QString& ancien, const QString& aProteger)
{
    return NomLibre::cheminLibre(nomConverti(ancien, aProteger));
}

ConversionAncienne convertirOctets(
    const QByteArray& ancien, QIODevice* cible, QTextCodec* codec, const Avancement& avancement)
{
    ConversionAncienne conversion;
    conversion.lu = true;
    qsizetype debut = 0;
    int numero = 0;
    while (debut < ancien.size()) {
        qsizetype fin = ancien.indexOf('\n', debut);
        fin = fin < 0 ? ancien.size() : fin + 1;
        if (++numero % pasAvancement == 0 && avancement)
            avancement(fin, ancien.size());
        bool valide = false;
        const QByteArray octets
            = LigneAncienne::convertir(QByteArrayView(ancien).sliced(debut, fin - debut), codec, &valide);
        debut = fin;
        if (!valide) {
            conversion.ligneInvalide = numero;
            break;
        }
        if (cible && cible->write(octets) != octets.size()) {
            conversion.erreur = cible->errorString();
            break;
        }
        ++conversion.lignesConverties;
    }
    if (avancement)
        avancement(ancien.size(), ancien.size());
    return conversion;
}

ConversionAncienne convertirFichier(
    const QString& ancien, const QString& cible, QTextCodec* codec, const Avancement& avancement)
{
    ConversionAncienne conversion;
    QByteArray octets;
    if (!LectureFichier::lire(ancien, tailleMaxAncien, &octets, &conversion.erreur))
        return conversion;
    QFile converti(cible);
    const bool cree = !cible.isEmpty() && converti.open(QIODevice::WriteOnly | QIODevice::NewOnly);
    conversion = convertirOctets(octets, cree ? &converti : nullptr, codec, avancement);
    conversion.cree = cree;
    if (!cree)
        return conversion;
    if (conversion.erreur.isEmpty() && !converti.flush())
        conversion.erreur = converti.errorString();
    converti.close();
    if (conversion.erreur.isEmpty() && converti.error() != QFileDevice::NoError)
        conversion.erreur = converti.errorString();
    conversion.ecrit = conversion.erreur.isEmpty();
    // Half a conversion would import as a whole one.
    if (!conversion.ecrit)
        converti.remove();
    return conversion;
}

int copierImages(const QString& source, const QString& destination, const Avancement& avancement)
{
    const QDir dossier(source);
    int copies = 0;
    const QStringList entrees = dossier.entryList();
    qint64 vues = 0;
    for (const QString& nom : entrees) {
        if (++vues % 64 == 0 && avancement)
            avancement(vues, entrees.size());
        if (nom == QLatin1String(".") || nom == QLatin1String(".."))
            continue;
        const QFileInfo info(dossier.filePath(nom));
        if (!info.isFile() || !info.isReadable())
            continue;
        const QString copie = destination + QStringLiteral("//") + nom;
        if (QFileInfo::exists(copie) || QFileInfo(copie).isSymLink())
            continue;
        if (QFile::copy(info.filePath(), copie))
            ++copies;
    }
    return copies;
}

LectureCollection importer(
    const QString& chemin, QTextCodec* codec, Catalogue& catalogue, const Avancement& avancement)
{
    QByteArray octets;
    QString erreur;
    if (!LectureFichier::lire(chemin, FichierCollection::tailleMax, &octets, &erreur)) {
        LectureCollection lecture;
        lecture.etat = LectureCollection::Illisible;
        lecture.erreur = erreur;
        return lecture;
    }
    const TexteDecode decode = Decodage::decoder(octets, codec, 1, false);
    octets = QByteArray();
    if (decode.sequencesInvalides > 0) {
        LectureCollection lecture;
        lecture.etat = LectureCollection::Illisible;
        lecture.sequencesInvalides = decode.sequencesInvalides;
        lecture.ligneSequenceInvalide = decode.lignesInvalides.value(0, 1);
        lecture.erreur = tr("octets invalides en %1 à la ligne %2")
                             .arg(QString::fromLatin1(codec->name()))
                             .arg(lecture.ligneSequenceInvalide);
        return lecture;
    }
    return FichierCollection::lireTexte(decode.texte, catalogue, avancement);
}

} // namespace Importation
