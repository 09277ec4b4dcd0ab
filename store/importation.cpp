#include "store/importation.h"

#include "store/ligneancienne.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextCodec>

namespace Importation {

namespace {

// QFileInfo's own comparison takes two missing files for the same one.
bool memeFichier(const QString& a, const QString& b)
{
    const QFileInfo x(a);
    const QFileInfo y(b);
    const QString canoniqueX = x.canonicalFilePath();
    const QString canoniqueY = y.canonicalFilePath();
    if (!canoniqueX.isEmpty() && !canoniqueY.isEmpty())
        return canoniqueX == canoniqueY;
    return QDir::cleanPath(x.absoluteFilePath()) == QDir::cleanPath(y.absoluteFilePath());
}

} // namespace

QString nomConverti(const QString& ancien, const QString& aProteger)
{
    const QFileInfo info(ancien);
    // Only the file name loses its last characters, never its directory.
    const QString base = info.fileName().chopped(qMin<qsizetype>(2, info.fileName().size()));
    const QString dossier = ancien.left(ancien.size() - info.fileName().size());
    const QString nom = dossier + base + QStringLiteral("csv");
    if (!aProteger.isEmpty() && memeFichier(nom, aProteger))
        return dossier + base + QStringLiteral("converti.csv");
    return nom;
}

ConversionAncienne convertirFichier(const QString& ancien, const QString& cible, QTextCodec* codec)
{
    ConversionAncienne conversion;
    QFile source(ancien);
    if (!source.open(QIODevice::ReadOnly))
        return conversion;
    QFile converti(cible);
    conversion.ecrit = converti.open(QIODevice::WriteOnly | QIODevice::Truncate);

    int numero = 0;
    while (!source.atEnd()) {
        const QByteArray ligne = source.readLine();
        ++numero;
        bool valide = false;
        const QByteArray octets = LigneAncienne::convertir(ligne, codec, &valide);
        if (!valide) {
            conversion.ligneInvalide = numero;
            break;
        }
        if (conversion.ecrit)
            converti.write(octets);
        ++conversion.lignesConverties;
    }
    return conversion;
}

int copierImages(const QString& source, const QString& destination)
{
    const QDir dossier(source);
    int copies = 0;
    const QStringList entrees = dossier.entryList();
    for (const QString& nom : entrees) {
        if (nom == QLatin1String(".") || nom == QLatin1String(".."))
            continue;
        const QFileInfo info(dossier.filePath(nom));
        if (!info.isFile() || !info.isReadable())
            continue;
        const QString copie = destination + QStringLiteral("//") + nom;
        if (QFileInfo::exists(copie))
            continue;
        if (QFile::copy(info.filePath(), copie))
            ++copies;
    }
    return copies;
}

LectureCollection importer(const QString& chemin, QTextCodec* codec, Catalogue& catalogue)
{
    QFile fichier(chemin);
    if (chemin.isEmpty() || !fichier.open(QIODevice::ReadOnly)) {
        LectureCollection lecture;
        lecture.etat = LectureCollection::Illisible;
        lecture.erreur = fichier.errorString();
        return lecture;
    }
    const QByteArray octets = fichier.readAll();
    return FichierCollection::lireTexte(codec->toUnicode(octets), catalogue);
}

} // namespace Importation
