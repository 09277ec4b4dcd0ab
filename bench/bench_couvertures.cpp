// The automatic cover search on a 100,000-album catalogue: one step from an
// album to the next, reaching the only album without a cover at the very
// end, and attaching a chosen cover by its search text.
#include "app/phylacto.h"
#include "dialogs/choitimage.h"
#include "generateur.h"
#include "model/bd.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int nbAlbums = 100000;
constexpr int nbSeries = 5000;
constexpr int nbEtapes = 200;

// Calls agir with each new dialog of the automatic search as soon as it shows.
QTimer* piloter(const std::function<void(QDialog*)>& agir)
{
    auto* minuterie = new QTimer(qApp);
    auto dernier = std::make_shared<QPointer<QWidget>>();
    QObject::connect(minuterie, &QTimer::timeout, minuterie, [=]() {
        auto* dialogue = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialogue || dialogue == *dernier)
            return;
        *dernier = dialogue;
        agir(dialogue);
    });
    minuterie->start(0);
    return minuterie;
}

void cliquer(QDialog* dialogue, const char* bouton)
{
    dialogue->findChild<choitImage*>()->findChild<QPushButton*>(QLatin1String(bouton))->click();
}

} // namespace

int main(int argc, char** argv)
{
    choisirAffichageHorsEcran();
    // The offscreen platform warns at every dialog shown.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QApplication app(argc, argv);

    QTemporaryDir dossier;
    if (!preparerDossier(dossier, nbAlbums, nbSeries))
        return 1;
    Phylacto fenetre;
    if (fenetre.getAlbums().size() != nbAlbums)
        return 1;

    // From "BD Suivante" to the next album's dialog.
    QList<double> etapes;
    QElapsedTimer chrono;
    int vus = 0;
    QTimer* pilote = piloter([&](QDialog* dialogue) {
        if (vus > 0)
            etapes.append(double(chrono.nsecsElapsed()) / 1e6);
        ++vus;
        chrono.start();
        cliquer(dialogue, vus > nbEtapes ? "pbStopRecherche" : "pbBDSuivante");
    });
    fenetre.ChercherToutesImages();
    delete pilote;
    const Stats pas = resumer(etapes);
    std::printf("album suivant (%lld etapes) : mediane %.2f ms, max %.2f ms (objectif 50 ms)\n",
        static_cast<long long>(etapes.size()), pas.mediane, pas.max);

    // Every album but the last has a cover: the walk goes straight to it.
    for (BD* album : fenetre.getAlbums())
        album->setImage(QStringLiteral("images//x.jpg"));
    fenetre.getAlbums().last()->setImage(QString());
    double premier = -1;
    pilote = piloter([&](QDialog* dialogue) {
        premier = double(chrono.nsecsElapsed()) / 1e6;
        cliquer(dialogue, "pbStopRecherche");
    });
    chrono.start();
    fenetre.ChercherToutesImages();
    delete pilote;
    std::printf(
        "premier album sans couverture en fin de catalogue : %.2f ms (objectif 100 ms)\n", premier);

    // A cover attached by its search text outside the walk.
    QList<double> attaches;
    for (int i = 0; i < 20; ++i) {
        chrono.start();
        fenetre.setImageBD(QStringLiteral("c.jpg"),
            QStringLiteral("Série_n°%1_Tome_%2").arg(i * 211 % nbSeries).arg(i % 20 + 1));
        attaches.append(double(chrono.nsecsElapsed()) / 1e6);
    }
    const Stats attache = resumer(attaches);
    std::printf(
        "couverture attachee par son texte : mediane %.2f ms, max %.2f ms (objectif 50 ms)\n",
        attache.mediane, attache.max);
    std::printf("memoire max : %.0f Mo\n", memoireMaxMo());
    return 0;
}
