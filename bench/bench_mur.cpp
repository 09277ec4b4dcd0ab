// The covers wall on 100,000 albums over 5,000 series, the whole collection
// shown: opening it, the longest stall of the event loop while a cold
// thumbnail cache fills (a timer ticks every 5 ms; the gap between two ticks
// is a frame the window could not draw), one screen of scrolling once the
// thumbnails are in memory, and the memory the wall takes beside the table.
// The covers are 300 generated JPEG pictures of 500 x 700 pixels, each shared
// by about 300 albums, the volumes of a series showing different ones; every
// tenth album has none (placeholder).
// Usage: bench_mur [albums, default 100000] [screens scrolled, default 30]
#include "app/phylacto.h"
#include "covers/cachevignettes.h"
#include "generateur.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLinearGradient>
#include <QListView>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int nbImages = 300;

double memoireMo(const char* champ)
{
    QFile etat(QStringLiteral("/proc/self/status"));
    if (!etat.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& ligne : etat.readAll().split('\n')) {
        if (ligne.startsWith(champ))
            return ligne.mid(qstrlen(champ)).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

bool ecrireImages(const QDir& images)
{
    for (int numero = 0; numero < nbImages; ++numero) {
        QImage image(500, 700, QImage::Format_RGB32);
        QPainter peintre(&image);
        QLinearGradient degrade(0, 0, 0, 700);
        degrade.setColorAt(0, QColor::fromHsv(numero * 37 % 360, 160, 120));
        degrade.setColorAt(1, QColor::fromHsv(numero * 53 % 360, 90, 240));
        peintre.fillRect(image.rect(), degrade);
        peintre.setPen(Qt::white);
        peintre.setFont(QFont(QStringLiteral("Sans"), 40, QFont::Bold));
        peintre.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("N° %1").arg(numero));
        peintre.end();
        if (!image.save(
                images.filePath(QStringLiteral("couverture_%1.jpg").arg(numero)), "JPG", 85))
            return false;
    }
    QImage defaut(200, 260, QImage::Format_RGB32);
    defaut.fill(Qt::lightGray);
    return defaut.save(QDir(images.filePath(QStringLiteral("../data"))).filePath("AddPicture.bmp"));
}

// The generated collection with a cover named in the image field.
bool ajouterCouvertures(const QString& fichier, int nbSeries)
{
    QFile collection(fichier);
    if (!collection.open(QIODevice::ReadOnly))
        return false;
    QList<QByteArray> lignes = collection.readAll().split('\n');
    collection.close();
    for (int numero = 0; numero < lignes.size(); ++numero) {
        QList<QByteArray> champs = lignes.at(numero).split(';');
        if (champs.size() < 10 || numero % 10 == 9)
            continue;
        // Neighbours on the wall (the volumes of a series) get different covers.
        const int serie = numero % nbSeries;
        const int tome = numero / nbSeries + 1;
        champs[9]
            = "images//couverture_" + QByteArray::number((serie * 20 + tome) % nbImages) + ".jpg";
        lignes[numero] = champs.join(';');
    }
    return collection.open(QIODevice::WriteOnly) && collection.write(lignes.join('\n')) > 0;
}

void attendre(int ms)
{
    QEventLoop boucle;
    QTimer::singleShot(ms, &boucle, &QEventLoop::quit);
    boucle.exec();
}

// Until the screen shown has all its thumbnails.
bool attendreVignettes(CacheVignettes* cache, QListView* vue)
{
    QElapsedTimer limite;
    limite.start();
    do {
        vue->viewport()->repaint();
        if (cache->nbEnAttente() == 0)
            return true;
        while (cache->nbEnAttente() > 0 && limite.elapsed() < 60000)
            attendre(5);
    } while (limite.elapsed() < 60000);
    return false;
}

double ms(const QElapsedTimer& chrono)
{
    return double(chrono.nsecsElapsed()) / 1e6;
}

// Processor time of the interface thread alone, in ms: on a busy machine,
// what the work costs apart from the wait for a processor.
double msFil()
{
    rusage usage {};
    getrusage(RUSAGE_THREAD, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

} // namespace

int main(int argc, char* argv[])
{
    choisirAffichageHorsEcran();
    QTemporaryDir cache;
    // A cold thumbnail cache of its own, whoever runs the benchmark.
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
    QApplication application(argc, argv);
    const int nbAlbums = argc > 1 ? qMax(1000, atoi(argv[1])) : 100000;
    const int nbEcrans = argc > 2 ? qMax(2, atoi(argv[2])) : 30;

    QTemporaryDir dossier;
    if (!preparerDossier(dossier, nbAlbums, nbAlbums / 20)
        || !ajouterCouvertures(QStringLiteral("collection.csv"), nbAlbums / 20)
        || !ecrireImages(QDir(QStringLiteral("images"))))
        return 1;

    Phylacto fenetre;
    fenetre.resize(1400, 900);
    if (!montrer(fenetre, nbAlbums))
        return 2;
    attendre(50);
    const double memoireTable = memoireMo("VmRSS:");
    const double picTable = memoireMo("VmHWM:");

    auto* vue = fenetre.findChild<QListView*>(QStringLiteral("vueMurCouvertures"));
    fenetre.findChild<QComboBox*>(QStringLiteral("cbPorteeMur"))->setCurrentIndex(1);
    auto* mur = fenetre.findChild<QAction*>(QStringLiteral("actionMurCouvertures"));
    auto* table = fenetre.findChild<QAction*>(QStringLiteral("actionTableAlbums"));

    // Frames: the longest gap between two ticks of a 5 ms timer.
    QElapsedTimer depuisTic;
    double plusLongArret = 0;
    bool mesurerArrets = false;
    QTimer tic;
    tic.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tic, &QTimer::timeout, [&] {
        if (mesurerArrets)
            plusLongArret = qMax(plusLongArret, ms(depuisTic));
        depuisTic.start();
    });
    tic.start(5);
    attendre(20);

    QElapsedTimer chrono;
    chrono.start();
    double fil = msFil();
    mur->trigger();
    QApplication::processEvents();
    vue->viewport()->repaint();
    const double ouverture = ms(chrono);
    const double ouvertureFil = msFil() - fil;
    auto* vignettes = fenetre.findChild<CacheVignettes*>();
    if (!vue || !vignettes || vue->model()->rowCount() != nbAlbums)
        return 3;

    // Cold cache: the user scrolls on through the first screens as they fill.
    QScrollBar* barre = vue->verticalScrollBar();
    const int ecran = vue->viewport()->height();
    attendre(5);
    mesurerArrets = true;
    chrono.start();
    for (int numero = 0; numero < nbEcrans; ++numero) {
        if (!attendreVignettes(vignettes, vue))
            return 4;
        barre->setValue(barre->value() + ecran);
        attendre(5);
    }
    if (!attendreVignettes(vignettes, vue))
        return 4;
    const double remplissage = ms(chrono);
    mesurerArrets = false;
    tic.stop();

    // Warm: the same screens again, each scroll painted at once.
    QList<double> defilements;
    QList<double> defilementsFil;
    barre->setValue(0);
    QApplication::processEvents();
    for (int numero = 0; numero < nbEcrans; ++numero) {
        chrono.start();
        fil = msFil();
        barre->setValue(barre->value() + ecran);
        vue->viewport()->repaint();
        defilements.append(ms(chrono));
        defilementsFil.append(msFil() - fil);
        if (vignettes->nbEnAttente() != 0 && !attendreVignettes(vignettes, vue))
            return 5;
    }
    const double memoireMur = memoireMo("VmRSS:");
    const double picMur = memoireMo("VmHWM:");
    const double octetsVignettes = double(vignettes->octetsEnMemoire());
    const qsizetype nbEntrees = QDir(vignettes->dossier()).entryList(QDir::Files).size();

    table->trigger();
    QApplication::processEvents();
    chrono.start();
    fil = msFil();
    mur->trigger();
    QApplication::processEvents();
    vue->viewport()->repaint();
    const double reouverture = ms(chrono);
    const double reouvertureFil = msFil() - fil;

    const Stats defilement = resumer(defilements);
    const Stats defilementFil = resumer(defilementsFil);
    QFile charge(QStringLiteral("/proc/loadavg"));
    charge.open(QIODevice::ReadOnly);
    std::printf("load average: %s", charge.readAll().constData());
    std::printf("%d albums, %d covers of 500 x 700 (1 album in 10 without), window 1400 x 900\n",
        nbAlbums, nbImages);
    std::printf("wall open, cold cache: %.1f ms, interface thread %.1f ms (goal 300 ms)\n",
        ouverture, ouvertureFil);
    std::printf("wall reopen, warm disk cache: %.1f ms, interface thread %.1f ms\n", reouverture,
        reouvertureFil);
    std::printf("cold fill of %d screens: %.0f ms, longest frame %.1f ms (goal 50 ms)\n",
        nbEcrans + 1, remplissage, plusLongArret);
    std::printf("one screen scrolled, warm: median %.2f ms, worst %.2f ms; interface thread median "
                "%.2f ms, worst %.2f ms (goal 16 ms)\n",
        defilement.mediane, defilement.max, defilementFil.mediane, defilementFil.max);
    std::printf(
        "memory: table %.0f MB, wall %.0f MB, +%.0f MB (goal 64 MB); peak %.0f -> %.0f MB\n",
        memoireTable, memoireMur, memoireMur - memoireTable, picTable, picMur);
    std::printf("thumbnails in memory: %.1f MB; disk entries: %lld\n", octetsVignettes / 1048576.0,
        static_cast<long long>(nbEntrees));
    fenetre.setModifie(false);
    return 0;
}
