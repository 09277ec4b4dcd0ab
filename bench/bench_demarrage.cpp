// Start-up with a large collection: construction of the window with the load
// (through the selection of the first series), one series selection, memory.
// Usage: bench_demarrage [albums] [series]
#include "app/phylacto.h"
#include "generateur.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>

#include <cstdio>
#include <memory>

int main(int argc, char* argv[])
{
    choisirAffichageHorsEcran();
    QApplication application(argc, argv);
    const int nbAlbums = argc > 1 ? QString::fromLatin1(argv[1]).toInt() : 100000;
    const int nbSeries = argc > 2 ? QString::fromLatin1(argv[2]).toInt() : 5000;

    QTemporaryDir dossier;
    if (!preparerDossier(dossier, nbAlbums, nbSeries))
        return 1;

    QElapsedTimer chrono;
    chrono.start();
    auto fenetre = std::make_unique<Phylacto>();
    const double construction = chrono.nsecsElapsed() / 1e9;
    std::printf("construction with load of %d albums over %d series: %.3f s\n", nbAlbums, nbSeries,
        construction);

    auto* liste = fenetre->findChild<QListWidget*>(QStringLiteral("LstSerie"));
    chrono.restart();
    liste->setCurrentRow(liste->count() / 2);
    std::printf("one series selection: %.4f s\n", chrono.nsecsElapsed() / 1e9);
    std::printf("albums loaded: %lld\n", static_cast<long long>(fenetre->getAlbums().size()));
    std::printf("peak memory: %.1f MB\n", memoireMaxMo());
    return 0;
}
