// Import of a large file: conversion of a ".db" file, then the import of the
// converted file and of a collection file into a catalogue already full.
// Usage: bench_import [albums] [series]
#include "generateur.h"
#include "model/catalogue.h"
#include "store/importation.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextCodec>

#include <cstdio>

namespace {

QByteArray genererAncien(int nbAlbums, int nbSeries)
{
    QByteArray contenu;
    contenu.reserve(qsizetype(nbAlbums) * 160);
    for (int i = 0; i < nbAlbums; ++i) {
        const int serie = i % nbSeries;
        contenu += QStringLiteral("\"Série n°%1\" \"Album %1-%2\" %2 \"Dessinateur %3\" \"Scénariste\" "
                                  "\"Dargaud\" \"Bon\" 0 \"Aventure\" \"images\\\\s%1-%2.jpg\" \"_\" \"_\" "
                                  "0 %4 \"_\" 3 0 0 \"_\"\r\n")
                       .arg(QString::number(serie), QString::number(i / nbSeries + 1),
                            QString::number(serie % 997), QString::number(serie % 3))
                       .toUtf8();
    }
    return contenu;
}

bool ecrire(const QString& chemin, const QByteArray& contenu)
{
    QFile fichier(chemin);
    return fichier.open(QIODevice::WriteOnly) && fichier.write(contenu) == contenu.size();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const int nbAlbums = argc > 1 ? QString::fromLatin1(argv[1]).toInt() : 100000;
    const int nbSeries = argc > 2 ? QString::fromLatin1(argv[2]).toInt() : 5000;
    QTextCodec* utf8 = QTextCodec::codecForName("UTF-8");

    QTemporaryDir dossier;
    const QString ancien = dossier.filePath(QStringLiteral("bd.db"));
    const QString collection = dossier.filePath(QStringLiteral("collection.csv"));
    if (!ecrire(ancien, genererAncien(nbAlbums, nbSeries))
        || !ecrire(collection, genererCollection(nbAlbums, nbSeries)))
        return 1;

    QElapsedTimer chrono;
    chrono.start();
    const QString converti = Importation::nomConverti(ancien);
    const ConversionAncienne conversion = Importation::convertirFichier(ancien, converti, utf8);
    std::printf("conversion of %d legacy lines: %.3f s\n", conversion.lignesConverties,
                chrono.nsecsElapsed() / 1e9);

    Catalogue catalogue;
    chrono.restart();
    const LectureCollection premiere = Importation::importer(collection, utf8, catalogue);
    std::printf("import of %d albums into an empty catalogue: %.3f s\n", premiere.albumsLus,
                chrono.nsecsElapsed() / 1e9);
    chrono.restart();
    const LectureCollection seconde = Importation::importer(converti, utf8, catalogue);
    std::printf("import of the %d converted albums into a catalogue of %d: %.3f s\n",
                seconde.albumsLus, premiere.albumsLus, chrono.nsecsElapsed() / 1e9);
    std::printf("series: %lld, albums: %lld\n", static_cast<long long>(catalogue.series().size()),
                static_cast<long long>(catalogue.albums().size()));
    std::printf("peak memory: %.1f MB\n", memoireMaxMo());
    return 0;
}
