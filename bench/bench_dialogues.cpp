// Opening the explorer, filter choices in it and opening the loans dialog on a
// 100,000-album collection over 5,000 series (one album in fifty lent).
#include "app/phylacto.h"
#include "dialogs/filtre.h"
#include "dialogs/pret.h"
#include "generateur.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTableView>

#include <cstdio>

namespace {

constexpr int nbAlbums = 100000;
constexpr int nbSeries = 5000;
constexpr int nbOuvertures = 3;

double ms(const QElapsedTimer& chrono)
{
    return double(chrono.nsecsElapsed()) / 1e6;
}

// Opens the explorer and lets it show.
filtre* ouvrirExplorateur(Phylacto& fenetre, double* duree)
{
    QElapsedTimer chrono;
    chrono.start();
    fenetre.AfficherRecherche();
    QApplication::processEvents();
    *duree = ms(chrono);
    const QList<filtre*> ouverts = fenetre.findChildren<filtre*>();
    return ouverts.isEmpty() ? nullptr : ouverts.last();
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

    filtre* explorateur = nullptr;
    for (int i = 0; i < nbOuvertures; ++i) {
        double duree = 0;
        delete explorateur;
        explorateur = ouvrirExplorateur(fenetre, &duree);
        std::printf("ouverture de l'explorateur (%d/%d) : %.1f ms (but 1500 ms)\n", i + 1,
            nbOuvertures, duree);
    }
    if (!explorateur)
        return 1;

    auto* dessinateurs = explorateur->findChild<QComboBox*>(QStringLiteral("cbDessinteur"));
    auto* scenaristes = explorateur->findChild<QComboBox*>(QStringLiteral("cbScenariste"));
    auto* editeurs = explorateur->findChild<QComboBox*>(QStringLiteral("cbEditeur"));
    auto* table = explorateur->findChild<QTableView*>(QStringLiteral("tableResult"));

    // An entry is named by its text: each choice rebuilds the lists.
    auto choisir = [&](QComboBox* liste, const QString& entree, const char* quoi) {
        const int index = liste->findText(entree);
        QElapsedTimer chrono;
        chrono.start();
        liste->setCurrentIndex(index);
        QApplication::processEvents();
        std::printf("%s (%d lignes) : %.1f ms (but 300 ms)\n", quoi, table->model()->rowCount(),
            ms(chrono));
    };
    // "Dessinateur 1" is also part of "Dessinateur 10", "Dessinateur 100"...
    const QString dessinateur1 = QStringLiteral("Dessinateur 1");
    choisir(dessinateurs, dessinateur1, "choix du dessinateur \"Dessinateur 1\"");
    choisir(editeurs, editeurs->itemText(1), "choix d'un editeur ensuite");
    choisir(scenaristes, scenaristes->itemText(1), "choix d'un scenariste ensuite");
    choisir(scenaristes, QString(), "scenariste vide");
    choisir(editeurs, QString(), "editeur vide");
    choisir(dessinateurs, QString(), "dessinateur vide, tout revient");
    choisir(editeurs, QStringLiteral("Dupuis"), "choix de l'editeur \"Dupuis\"");
    choisir(editeurs, QString(), "editeur vide, tout revient");

    QElapsedTimer chrono;
    chrono.start();
    table->sortByColumn(1, Qt::AscendingOrder);
    QApplication::processEvents();
    std::printf("tri par titre (%d lignes) : %.1f ms\n", table->model()->rowCount(), ms(chrono));
    choisir(dessinateurs, dessinateur1, "table triee, choix du dessinateur \"Dessinateur 1\"");
    choisir(dessinateurs, QString(), "table triee, dessinateur vide");

    chrono.restart();
    delete explorateur;
    std::printf("destruction de l'explorateur : %.1f ms\n", ms(chrono));

    chrono.restart();
    fenetre.affichagePret();
    QApplication::processEvents();
    const Pret* prets = fenetre.findChild<Pret*>();
    const auto* tablePrets = prets ? prets->findChild<QTableView*>() : nullptr;
    std::printf("ouverture de la gestion des prets (%d prets) : %.1f ms (but 200 ms)\n",
        tablePrets ? tablePrets->model()->rowCount() : -1, ms(chrono));
    std::printf("memoire max : %.0f Mo\n", memoireMaxMo());

    fenetre.setModifie(false);
    return 0;
}
