// Opening the explorer, one filter choice and opening the loans dialog on a
// collection of 100,000 albums over 5,000 series.
#include "app/phylacto.h"
#include "dialogs/filtre.h"
#include "dialogs/pret.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

namespace {

constexpr int nbAlbums = 100000;
constexpr int nbSeries = 5000;

void ecrireCollection(const QString& chemin)
{
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::WriteOnly))
        return;
    QTextStream flux(&fichier);
    flux.setEncoding(QStringConverter::Utf8);
    for (int i = 0; i < nbAlbums; ++i) {
        const int serie = i % nbSeries;
        // One album in twenty is lent.
        const QString emprunteur = i % 20 == 0 ? QStringLiteral("Emprunteur %1").arg(i % 97)
                                               : QStringLiteral("_");
        const QString date = i % 20 == 0 ? QStringLiteral("01/03/2014") : QString();
        flux << QStringLiteral("Série %1;Album %2;%3;Dessinateur %4;Scénariste %5;Éditeur %6;;0;"
                               "Aventure;_;%7;%8;0;%9;_;0;0;0;;Coloriste %10\n")
                    .arg(serie)
                    .arg(i)
                    .arg(i / nbSeries + 1)
                    .arg((i * 7) % 2000)
                    .arg((i * 13) % 1500)
                    .arg(i % 150)
                    .arg(emprunteur, date)
                    .arg(i % 3)
                    .arg(i % 800);
    }
}

double ms(const QElapsedTimer& chrono)
{
    return double(chrono.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QTemporaryDir dossier;
    if (!dossier.isValid())
        return 1;
    QDir::setCurrent(dossier.path());
    QDir().mkpath(QStringLiteral("data"));
    QDir().mkpath(QStringLiteral("images"));
    ecrireCollection(dossier.filePath(QStringLiteral("collection.csv")));
    {
        QSettings parametres(dossier.filePath(QStringLiteral("data/settings.ini")),
                             QSettings::IniFormat);
        parametres.setValue(QStringLiteral("BASE/FileName"), QStringLiteral("collection.csv"));
        parametres.setValue(QStringLiteral("BASE/Encodage"), QStringLiteral("UTF-8"));
    }

    Phylacto fenetre;
    fenetre.show();
    QApplication::processEvents();
    std::printf("albums charges : %d\n", int(fenetre.getAlbums().size()));

    QElapsedTimer chrono;
    chrono.start();
    fenetre.AfficherRecherche();
    QApplication::processEvents();
    std::printf("ouverture de l'explorateur : %.1f ms\n", ms(chrono));

    auto* explorateur = fenetre.findChild<filtre*>();
    auto* dessinateurs = explorateur->findChild<QComboBox*>(QStringLiteral("cbDessinteur"));
    auto* editeurs = explorateur->findChild<QComboBox*>(QStringLiteral("cbEditeur"));
    auto* table = explorateur->findChild<QTableView*>(QStringLiteral("tableResult"));

    // An entry is named by its text: each choice rebuilds the lists.
    auto choisir = [&](QComboBox* liste, const QString& entree, const char* quoi) {
        const int index = liste->findText(entree);
        QElapsedTimer chronoChoix;
        chronoChoix.start();
        liste->setCurrentIndex(index);
        QApplication::processEvents();
        std::printf("%s (%d lignes) : %.1f ms\n", quoi, table->model()->rowCount(),
                    ms(chronoChoix));
    };
    const QString dessinateur1 = QStringLiteral("Dessinateur 1");
    choisir(dessinateurs, dessinateur1, "choix du dessinateur \"Dessinateur 1\"");
    choisir(editeurs, editeurs->itemText(1), "choix d'un editeur ensuite");
    choisir(editeurs, QString(), "editeur vide");
    choisir(dessinateurs, QString(), "dessinateur vide, tout revient");
    table->sortByColumn(1, Qt::AscendingOrder);
    QApplication::processEvents();
    choisir(dessinateurs, dessinateur1, "table triee par titre, choix du dessinateur");
    choisir(dessinateurs, QString(), "table triee par titre, dessinateur vide");

    chrono.restart();
    delete explorateur;
    std::printf("destruction de l'explorateur : %.1f ms\n", ms(chrono));

    chrono.restart();
    fenetre.affichagePret();
    QApplication::processEvents();
    std::printf("ouverture de la gestion des prets : %.1f ms\n", ms(chrono));

    fenetre.setModifie(false);
    return 0;
}
