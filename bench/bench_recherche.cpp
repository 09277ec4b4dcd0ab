// Quick search keystrokes, the missing-volumes dialog and the statistics on a
// 100,000-album collection over 5,000 series.
#include "app/phylacto.h"
#include "dialogs/fenetrestatistiques.h"
#include "dialogs/listetomesmanquants.h"
#include "generateur.h"
#include "model/recherche.h"
#include "model/statistiques.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>

#include <cstdio>

namespace {

constexpr int nbAlbums = 100000;
constexpr int nbSeries = 5000;

double ms(const QElapsedTimer& chrono)
{
    return double(chrono.nsecsElapsed()) / 1e6;
}

int montrees(const QListWidget* liste)
{
    int nombre = 0;
    for (int ligne = 0; ligne < liste->count(); ++ligne)
        nombre += liste->isRowHidden(ligne) ? 0 : 1;
    return nombre;
}

} // namespace

int main(int argc, char** argv)
{
    choisirAffichageHorsEcran();
    QApplication application(argc, argv);

    QTemporaryDir dossier;
    if (!preparerDossier(dossier, nbAlbums, nbSeries))
        return 1;
    Phylacto fenetre;
    if (!montrer(fenetre, nbAlbums))
        return 1;
    auto* recherche = fenetre.findChild<QLineEdit*>(QStringLiteral("leRechercheRapide"));
    const auto* liste = fenetre.findChild<QListWidget*>(QStringLiteral("LstSerie"));

    {
        IndexRecherche index;
        QElapsedTimer chrono;
        chrono.start();
        index.seriesTrouvees(fenetre.getCatalogue(), QStringLiteral("x"));
        std::printf("construction de l'index seul : %.1f ms\n", ms(chrono));
        chrono.restart();
        const int trouvees
            = int(index.seriesTrouvees(fenetre.getCatalogue(), QStringLiteral("12")).size());
        std::printf(
            "recherche seule dans tout l'index (%d series) : %.1f ms\n", trouvees, ms(chrono));
    }

    // Typed, then erased key by key; the first key also builds the index.
    const QString texte = QStringLiteral("scenariste 12");
    QList<double> frappes;
    auto frapper = [&](const QString& contenu) {
        QElapsedTimer chrono;
        chrono.start();
        recherche->setText(contenu);
        QApplication::processEvents();
        frappes.append(ms(chrono));
        if (qEnvironmentVariableIsSet("DETAIL"))
            std::printf("  \"%s\" %.1f ms\n", qPrintable(contenu), frappes.last());
    };
    for (int i = 1; i <= texte.size(); ++i) {
        frapper(texte.left(i));
        if (i == 1)
            std::printf("premiere frappe, index construit (%d series montrees) : %.1f ms\n",
                montrees(liste), frappes.last());
    }
    std::printf("\"%s\" : %d series montrees\n", qPrintable(texte), montrees(liste));
    for (int i = texte.size() - 1; i >= 0; --i)
        frapper(texte.left(i));
    frappes.removeFirst();
    const Stats stats = resumer(frappes);
    std::printf("frappe (%d frappes) : mediane %.1f ms, max %.1f ms (but 30 ms)\n",
        int(frappes.size()), stats.mediane, stats.max);

    // Accented letters and a ligature on every key.
    frappes.clear();
    for (const QString& contenu :
        { QStringLiteral("S"), QStringLiteral("Sé"), QStringLiteral("Sér"), QStringLiteral("Séri"),
            QStringLiteral("Série"), QStringLiteral("Série n°4"), QStringLiteral("Œ"), QString() })
        frapper(contenu);
    const Stats accents = resumer(frappes);
    std::printf("frappe accentuee : mediane %.1f ms, max %.1f ms (but 30 ms)\n", accents.mediane,
        accents.max);

    QElapsedTimer chrono;
    chrono.start();
    fenetre.findChild<QAction*>(QStringLiteral("actionTomesManquants"))->trigger();
    QApplication::processEvents();
    std::printf("ouverture des tomes manquants : %.1f ms (but 300 ms)\n", ms(chrono));

    chrono.restart();
    const Statistiques calcul
        = Statistiques::calculer(fenetre.getCatalogue(), QDate::currentDate());
    std::printf(
        "calcul des statistiques (%d prets) : %.1f ms\n", int(calcul.prets.size()), ms(chrono));
    chrono.restart();
    fenetre.findChild<QAction*>(QStringLiteral("actionStatistiques"))->trigger();
    QApplication::processEvents();
    std::printf("ouverture des statistiques : %.1f ms (but 300 ms)\n", ms(chrono));
    std::printf("memoire max : %.0f Mo\n", memoireMaxMo());
    fenetre.setModifie(false);
    return 0;
}
