// The performance table for the real window: start-up to a browsable window,
// save through "Enregistrer", explorer opening, one filter choice, closing
// (from the close of the window to the end of the process), peak memory with
// the explorer open and at start-up; then the same scene at 10,000, 100,000,
// 300,000 and 1,000,000 albums. Each scene runs in a fresh process (peak
// memory is per process) and every figure is the median of the runs.
// Usage: bench_performance [runs of the table, default 5] [runs per size, default 3] [sizes...]
//        bench_performance --scene DIR   (one run, used by the above)
#include "app/phylacto.h"
#include "generateur.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTableView>

#include <chrono>
#include <cstdio>
#include <memory>

#include <unistd.h>

namespace {

// One clock for the scene and the process that waits for it to end.
qint64 instantNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Processor time of the children already waited for.
double tempsProcesseurEnfants()
{
    rusage usage {};
    getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double picMemoireMo()
{
    QFile etat(QStringLiteral("/proc/self/status"));
    if (!etat.open(QIODevice::ReadOnly))
        return memoireMaxMo();
    for (const QByteArray& ligne : etat.readAll().split('\n')) {
        if (ligne.startsWith("VmHWM:"))
            return ligne.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return memoireMaxMo();
}

double secondes(const QElapsedTimer& chrono)
{
    return double(chrono.nsecsElapsed()) / 1e9;
}

// The process's own processor time: on a loaded machine, what the work costs
// apart from the wait for a processor.
double tempsProcesseur()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Wall and processor time of one step.
struct Chrono
{
    QElapsedTimer mur;
    double processeur = 0;
    void demarrer()
    {
        mur.start();
        processeur = tempsProcesseur();
    }
    void afficher(const char* nom) const
    {
        std::printf(
            "%s %.6f\n%s_cpu %.6f\n", nom, secondes(mur), nom, tempsProcesseur() - processeur);
    }
};

// One run in the working directory dossier; prints "name value" lines.
int scene(const QString& dossier)
{
    if (!QDir::setCurrent(dossier))
        return 1;
    // The saves of the previous run (3 x 116 MB at a million albums) are
    // still being written out: that would take a processor from the start-up.
    ::sync();
    Chrono chrono;
    chrono.demarrer();
    auto possede = std::make_unique<Phylacto>();
    Phylacto& fenetre = *possede;
    fenetre.show();
    QApplication::processEvents();
    chrono.afficher("demarrage");
    std::printf("memoire_demarrage %.1f\n", picMemoireMo());
    std::printf("albums %lld\n", static_cast<long long>(fenetre.getAlbums().size()));

    auto* enregistrer = fenetre.findChild<QAction*>(QStringLiteral("actionEnregistrer"));
    for (int i = 0; i < 3; ++i) {
        fenetre.setModifie(true);
        chrono.demarrer();
        enregistrer->trigger();
        chrono.afficher("sauvegarde");
        if (fenetre.estModifie())
            return 2;
    }

    chrono.demarrer();
    fenetre.findChild<QAction*>(QStringLiteral("actionExploration_bd"))->trigger();
    QApplication::processEvents();
    chrono.afficher("explorateur");

    auto* dessinateurs = fenetre.findChild<QComboBox*>(QStringLiteral("cbDessinteur"));
    auto* table = fenetre.findChild<QTableView*>(QStringLiteral("tableResult"));
    if (!dessinateurs || !table)
        return 3;
    // "Dessinateur 1" is also part of "Dessinateur 10", "Dessinateur 100"...
    const int entree = dessinateurs->findText(QStringLiteral("Dessinateur 1"));
    chrono.demarrer();
    dessinateurs->setCurrentIndex(entree);
    QApplication::processEvents();
    chrono.afficher("filtre");
    std::printf("lignes_filtrees %d\n", table->model()->rowCount());
    std::printf("memoire_explorateur %.1f\n", picMemoireMo());

    // Closing as the program does it; the rest, up to the end of the
    // process, is timed by the process that waits for it.
    fenetre.setModifie(false);
    std::printf("fermeture_debut %lld\nfermeture_debut_cpu %.6f\n",
        static_cast<long long>(instantNs()), tempsProcesseur());
    std::fflush(stdout);
    chrono.demarrer();
    fenetre.close();
    QApplication::processEvents();
    fenetre.laisserAlbumsAuSysteme();
    possede.reset();
    chrono.afficher("destruction");
    std::fflush(stdout);
    return 0;
}

using Mesures = QMap<QString, QList<double>>;

bool lancer(const QString& dossier, Mesures& mesures)
{
    QProcess processus;
    const double processeurAvant = tempsProcesseurEnfants();
    processus.start(
        QCoreApplication::applicationFilePath(), { QStringLiteral("--scene"), dossier });
    const bool fini = processus.waitForFinished(300000);
    const qint64 fin = instantNs();
    const double processeur = tempsProcesseurEnfants() - processeurAvant;
    if (!fini || processus.exitCode() != 0) {
        std::fprintf(stderr, "scene failed in %s (code %d): %s\n", qPrintable(dossier),
            processus.exitCode(), processus.readAllStandardError().constData());
        return false;
    }
    for (const QByteArray& ligne : processus.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> parties = ligne.split(' ');
        if (parties.size() == 2)
            mesures[QString::fromLatin1(parties.at(0))].append(parties.at(1).toDouble());
    }
    QList<double>& debut = mesures[QStringLiteral("fermeture_debut")];
    QList<double>& debutCpu = mesures[QStringLiteral("fermeture_debut_cpu")];
    if (debut.isEmpty() || debutCpu.isEmpty())
        return false;
    mesures[QStringLiteral("fermeture")].append(double(fin - qint64(debut.takeLast())) / 1e9);
    mesures[QStringLiteral("fermeture_cpu")].append(processeur - debutCpu.takeLast());
    return true;
}

bool mesurer(int nbAlbums, int nbEssais, Mesures& mesures, qint64* tailleFichier)
{
    QTemporaryDir dossier;
    const QString origine = QDir::currentPath();
    if (!preparerDossier(dossier, nbAlbums, nbAlbums / 20))
        return false;
    *tailleFichier = QFileInfo(QStringLiteral("collection.csv")).size();
    QDir::setCurrent(origine);
    for (int essai = 0; essai < nbEssais; ++essai) {
        if (!lancer(dossier.path(), mesures))
            return false;
    }
    return true;
}

double mediane(const Mesures& mesures, const char* cle)
{
    const QList<double> valeurs = mesures.value(QLatin1String(cle));
    return valeurs.isEmpty() ? -1 : resumer(valeurs).mediane;
}

// The table at 100,000 albums.
void tableau(const Mesures& mesures, int nbEssais, qint64 taille)
{
    std::printf("100,000 albums over 5,000 series (%.1f MB file), median of %d runs\n\n",
        double(taille) / 1e6, nbEssais);
    std::printf("| Measure | Phylacto | processor time | Goal |\n|---|---|---|---|\n");
    const struct
    {
        const char* nom;
        const char* cle;
        const char* but;
    } durees[] = { { "start-up", "demarrage", "0.15 s" }, { "save", "sauvegarde", "0.06 s" },
        { "explorer open", "explorateur", "0.25 s" }, { "one filter choice", "filtre", "0.02 s" },
        { "closing", "fermeture", "0.5 s at 1,000,000 albums" } };
    for (const auto& duree : durees) {
        const QByteArray cpu = QByteArray(duree.cle) + "_cpu";
        std::printf("| %s | %.3f s | %.3f s | <= %s |\n", duree.nom, mediane(mesures, duree.cle),
            mediane(mesures, cpu.constData()), duree.but);
    }
    std::printf("| peak memory (explorer open) | %.0f MB | | <= 150 MB |\n",
        mediane(mesures, "memoire_explorateur"));
    std::printf("| start-up peak memory | %.0f MB | | <= 110 MB |\n",
        mediane(mesures, "memoire_demarrage"));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[])
{
    choisirAffichageHorsEcran();
    if (argc == 3 && qstrcmp(argv[1], "--scene") == 0) {
        QApplication application(argc, argv);
        return scene(QString::fromLocal8Bit(argv[2]));
    }
    QApplication application(argc, argv);
    // 0 runs of the table: the scaling series alone.
    const int nbEssais = argc > 1 ? qMax(0, atoi(argv[1])) : 5;
    const int nbEssaisSerie = argc > 2 ? qMax(1, atoi(argv[2])) : 3;

    Mesures mesures;
    qint64 taille = 0;
    if (nbEssais > 0) {
        if (!mesurer(100000, nbEssais, mesures, &taille))
            return 1;
        tableau(mesures, nbEssais, taille);
    }

    std::printf(
        "\nScaling, median of %d runs (wall time, processor time in brackets)\n\n", nbEssaisSerie);
    std::printf("| Albums | file | start-up | save | explorer open | one filter choice | closing | "
                "peak (explorer) | start-up peak |\n|---|---|---|---|---|---|---|---|---|\n");
    QList<int> tailles;
    for (int i = 3; i < argc; ++i)
        tailles.append(qMax(1, atoi(argv[i])));
    if (tailles.isEmpty())
        tailles = { 10000, 100000, 300000, 1000000 };
    for (int nbAlbums : std::as_const(tailles)) {
        Mesures serie;
        if (!mesurer(nbAlbums, nbEssaisSerie, serie, &taille))
            return 1;
        std::printf("| %d | %.0f MB", nbAlbums, double(taille) / 1e6);
        for (const char* cle :
            { "demarrage", "sauvegarde", "explorateur", "filtre", "fermeture" }) {
            const QByteArray cpu = QByteArray(cle) + "_cpu";
            std::printf(" | %.3f s (%.3f)", mediane(serie, cle), mediane(serie, cpu.constData()));
        }
        std::printf(" | %.0f MB | %.0f MB |\n", mediane(serie, "memoire_explorateur"),
            mediane(serie, "memoire_demarrage"));
        std::fflush(stdout);
    }
    return 0;
}
