// Spreadsheet export of a 100,000-album collection from the window's menu
// (goal 0.5 s): encoding and atomic write, best of five runs.
#include "app/phylacto.h"
#include "dialogs/boites.h"
#include "generateur.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <limits>

int main(int argc, char* argv[])
{
    choisirAffichageHorsEcran();
    QApplication application(argc, argv);
    constexpr int nbAlbums = 100000;
    QTemporaryDir dossier;
    if (!preparerDossier(dossier, nbAlbums, 5000))
        return 1;
    Boites::setAutomatique(true);
    Phylacto fenetre;
    auto* action = fenetre.findChild<QAction*>(QStringLiteral("actionExporterTableur"));
    if (fenetre.getAlbums().size() != nbAlbums || !action)
        return 1;

    const QString cible = dossier.filePath(QStringLiteral("export.csv"));
    qint64 meilleur = std::numeric_limits<qint64>::max();
    QElapsedTimer chrono;
    for (int essai = 0; essai < 5; ++essai) {
        Boites::setProchainFichier(cible);
        chrono.start();
        action->trigger();
        meilleur = std::min(meilleur, chrono.nsecsElapsed());
    }
    const qint64 taille = QFileInfo(cible).size();
    const bool ok = taille > 0 && Boites::boitesVues().isEmpty();
    std::printf("export 100000 albums for a spreadsheet (best of 5): %.3f s, %lld bytes%s\n",
        double(meilleur) / 1e9, static_cast<long long>(taille), ok ? "" : " FAILED");
    std::printf("peak memory: %.0f MB\n", memoireMaxMo());
    return ok ? 0 : 1;
}
