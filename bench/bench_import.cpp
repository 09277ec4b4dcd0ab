// Import of a large file: conversion of a ".db" file, then the import of the
// converted file and of a collection file into a catalogue already full, and
// the encoding of the result for a save. Each also gives the longest stretch
// it went without reporting progress (the window repaints only then; goal:
// under a second). Usage: bench_import [albums] [series]
#include "generateur.h"
#include "model/catalogue.h"
#include "store/ecriturecollection.h"
#include "store/importation.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextCodec>

#include <algorithm>
#include <cstdio>

namespace {

QByteArray genererAncien(int nbAlbums, int nbSeries)
{
    QByteArray contenu;
    contenu.reserve(qsizetype(nbAlbums) * 160);
    for (int i = 0; i < nbAlbums; ++i) {
        const int serie = i % nbSeries;
        contenu += QStringLiteral(
            "\"Série n°%1\" \"Album %1-%2\" %2 \"Dessinateur %3\" \"Scénariste\" "
            "\"Dargaud\" \"Bon\" 0 \"Aventure\" \"images\\\\s%1-%2.jpg\" \"_\" \"_\" "
            "0 %4 \"_\" 3 0 0 \"_\"\r\n")
                       .arg(QString::number(serie), QString::number(i / nbSeries + 1),
                           QString::number(serie % 997), QString::number(serie % 3))
                       .toUtf8();
    }
    return contenu;
}

// Times the gaps between progress reports, the start and the end included.
class Silence
{
public:
    Avancement ecouter()
    {
        m_chrono.start();
        m_pire = m_dernier = 0;
        return [this](qint64, qint64) { noter(); };
    }
    double plusLongue()
    {
        noter();
        return double(m_pire) / 1e9;
    }

private:
    void noter()
    {
        const qint64 maintenant = m_chrono.nsecsElapsed();
        m_pire = std::max(m_pire, maintenant - m_dernier);
        m_dernier = maintenant;
    }
    QElapsedTimer m_chrono;
    qint64 m_pire = 0;
    qint64 m_dernier = 0;
};

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
    Silence silence;
    chrono.start();
    const QString converti = Importation::nomConverti(ancien);
    const ConversionAncienne conversion
        = Importation::convertirFichier(ancien, converti, utf8, silence.ecouter());
    std::printf("conversion of %d legacy lines: %.3f s, longest without progress %.3f s\n",
        conversion.lignesConverties, chrono.nsecsElapsed() / 1e9, silence.plusLongue());

    Catalogue catalogue;
    chrono.restart();
    const LectureCollection premiere
        = Importation::importer(collection, utf8, catalogue, silence.ecouter());
    std::printf("import of %d albums into an empty catalogue: %.3f s, longest without progress "
                "%.3f s\n",
        premiere.albumsLus, chrono.nsecsElapsed() / 1e9, silence.plusLongue());
    chrono.restart();
    const LectureCollection seconde
        = Importation::importer(converti, utf8, catalogue, silence.ecouter());
    std::printf("import of the %d converted albums into a catalogue of %d: %.3f s, longest "
                "without progress %.3f s\n",
        seconde.albumsLus, premiere.albumsLus, chrono.nsecsElapsed() / 1e9, silence.plusLongue());
    chrono.restart();
    const OctetsCollection octets = EcritureCollection::encoder(
        catalogue.albums(), QTextCodec::codecForName("Windows-1250"), silence.ecouter());
    std::printf("encoding of %lld albums for a save (%lld bytes): %.3f s, longest without "
                "progress %.3f s\n",
        static_cast<long long>(catalogue.albums().size()),
        static_cast<long long>(octets.octets.size()), chrono.nsecsElapsed() / 1e9,
        silence.plusLongue());
    std::printf("series: %lld, albums: %lld\n", static_cast<long long>(catalogue.series().size()),
        static_cast<long long>(catalogue.albums().size()));
    std::printf("peak memory: %.1f MB\n", memoireMaxMo());
    return 0;
}
