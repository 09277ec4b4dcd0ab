// Damaged files: time from the start of the window to its error box laid out
// (a 50 MB line, an 11 MB file with carriage-return-only line ends), and the
// file checker on 250 MB of line feeds and on a large collection.
// Usage: bench_robustesse [albums]
#include "app/phylacto.h"
#include "dialogs/boites.h"
#include "generateur.h"
#include "store/verificationcollection.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTextCodec>

#include <cstdio>
#include <memory>

namespace {

// The window is built until its box would show; the box is then laid out as
// it would be on screen, without waiting on anyone.
double tempsJusquALaBoite(const QTemporaryDir& dossier, const QByteArray& contenu)
{
    if (!preparerDossier(dossier, 1, 1))
        return -1;
    QFile collection(QStringLiteral("collection.csv"));
    if (!collection.open(QIODevice::Append) || collection.write(contenu) != contenu.size())
        return -1;
    collection.close();

    Boites::oublier();
    QElapsedTimer chrono;
    chrono.start();
    auto fenetre = std::make_unique<Phylacto>();
    if (Boites::textesVus().isEmpty())
        return -1;
    QMessageBox boite(QMessageBox::NoIcon, QString(), Boites::textesVus().first());
    boite.adjustSize();
    return chrono.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char* argv[])
{
    choisirAffichageHorsEcran();
    QApplication application(argc, argv);
    Boites::setAutomatique(true);
    const int nbAlbums = argc > 1 ? QString::fromLatin1(argv[1]).toInt() : 100000;
    {
        // First, so that the peak memory printed is its own.
        QTemporaryDir dossier;
        const QString fichier = dossier.filePath(QStringLiteral("retours.csv"));
        QFile retours(fichier);
        const QByteArray tranche(1 << 20, '\n');
        bool ecrit = retours.open(QIODevice::WriteOnly);
        for (int mo = 0; ecrit && mo < 250; ++mo)
            ecrit = retours.write(tranche) == tranche.size();
        retours.close();
        if (!ecrit)
            return 1;
        QElapsedTimer chrono;
        chrono.start();
        const RapportVerification rapport = VerificationCollection::verifierFichier(
            fichier, QTextCodec::codecForName("UTF-8"), dossier.path(), [](const auto&) {});
        std::printf("checker on 250 MB of line feeds: %.3f s, %d lines, peak memory %.1f MB "
                    "(goal: bounded)\n",
            chrono.nsecsElapsed() / 1e9, rapport.lignes, memoireMaxMo());
    }

    {
        QTemporaryDir dossier;
        const double duree = tempsJusquALaBoite(dossier, QByteArray(50 << 20, 'x'));
        std::printf("error box for a 50 MB line: %.3f s (goal < 0.5 s)\n", duree);
    }
    {
        QTemporaryDir dossier;
        QByteArray retours = genererCollection(100000, 5000);
        retours.replace('\n', '\r');
        const double duree = tempsJusquALaBoite(dossier, retours);
        std::printf("error box for a %.1f MB file with CR-only line ends: %.3f s (goal < 0.5 s)\n",
            retours.size() / 1048576.0, duree);
    }
    {
        QTemporaryDir dossier;
        if (!preparerDossier(dossier, nbAlbums, nbAlbums / 20))
            return 1;
        QElapsedTimer chrono;
        chrono.start();
        const RapportVerification rapport
            = VerificationCollection::verifierFichier(QStringLiteral("collection.csv"),
                QTextCodec::codecForName("UTF-8"), dossier.path(), {});
        std::printf("checker on %d albums: %.3f s, %lld problems (goal <= 1 s)\n", rapport.albums,
            chrono.nsecsElapsed() / 1e9, static_cast<long long>(rapport.problemes));
    }
    std::printf("peak memory: %.1f MB\n", memoireMaxMo());
    return 0;
}
