// Adding one album and deleting one series in a 100,000-album catalogue.
#include "app/phylacto.h"
#include "generateur.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int nbAlbums = 100000;
constexpr int nbSeries = 5000;
constexpr int nbMesures = 20;

QString nomSerie(int i)
{
    return QStringLiteral("Série n°%1").arg(i);
}

} // namespace

int main(int argc, char** argv)
{
    choisirAffichageHorsEcran();
    QApplication app(argc, argv);

    QTemporaryDir dossier;
    if (!preparerDossier(dossier, nbAlbums, nbSeries))
        return 1;

    QElapsedTimer chrono;
    chrono.start();
    Phylacto fenetre;
    std::printf("chargement de %lld albums : %lld ms\n",
        static_cast<long long>(fenetre.getAlbums().size()),
        static_cast<long long>(chrono.elapsed()));
    if (fenetre.getAlbums().size() != nbAlbums)
        return 1;

    // Additions alternate between the shown series, another series and a new one.
    QList<double> ajouts;
    for (int i = 0; i < nbMesures; ++i) {
        QString serie;
        switch (i % 3) {
        case 0:
            serie = fenetre.getSerieCourante();
            break;
        case 1:
            serie = nomSerie(i * 97 % nbSeries);
            break;
        default:
            serie = QStringLiteral("Nouvelle %1").arg(i);
            break;
        }
        chrono.restart();
        fenetre.nouvelAlbum(serie, QStringLiteral("Ajout %1").arg(i), QStringLiteral("Scenariste"),
            QStringLiteral("Dessinateur"), 99, QString(), i % 3, 0, 0, QStringLiteral("Dargaud"),
            QStringLiteral("Fantastique"), QString());
        ajouts.append(chrono.nsecsElapsed() / 1e6);
    }

    auto* liste = fenetre.findChild<QListWidget*>(QStringLiteral("LstSerie"));
    QList<double> suppressions;
    for (int i = 0; i < nbMesures; ++i) {
        liste->setCurrentRow(int(liste->count() * (i + 1) / (nbMesures + 2)));
        const qsizetype avant = fenetre.getAlbums().size();
        chrono.restart();
        fenetre.suppSerie();
        suppressions.append(chrono.nsecsElapsed() / 1e6);
        if (fenetre.getAlbums().size() >= avant)
            return 1;
    }

    const Stats a = resumer(ajouts);
    const Stats s = resumer(suppressions);
    std::printf(
        "ajout d'un album : médiane %.2f ms, max %.2f ms (objectif 50 ms)\n", a.mediane, a.max);
    std::printf("suppression d'une série : médiane %.2f ms, max %.2f ms (objectif 50 ms)\n",
        s.mediane, s.max);
    return (a.max <= 50.0 && s.max <= 50.0) ? 0 : 2;
}
