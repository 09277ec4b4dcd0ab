// The database explorer: table, chained filters and lists, and showing a row's
// album in the main window.
#include "app/phylacto.h"
#include "dialogs/filtre.h"
#include "model/bd.h"
#include "support/dossiertravail.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

namespace {

// Artists that contain each other, publishers differing by case, a repeated series and title.
const QByteArray collection = "S1;T1;1;Jean;Paul;Dargaud;;0;G;_;_;;0;0;_;0;0;0;;Col S1\n"
                              "S1;T2;2;Jean-Marc;Luc;dargaud;;0;G;_;_;;0;0;_;0;0;0;;Col S1\n"
                              "S2;T1;1;Pierre;Paul;Dupuis;;0;G;_;_;;0;0;_;0;0;0;;Col S2\n"
                              "S2;T2;2;Jean;Marie;Dupuis;;0;G;_;_;;0;0;_;0;0;0;;Col S2\n"
                              "S3;Titre;9;Marc;;Casterman;;0;G;_;_;;0;0;_;0;0;0;;Col S3\n"
                              "S3;Titre;7;X;Y;Z;;0;G;_;_;;0;0;_;0;0;0;;Col S3\n";

QString entrees(const QComboBox* liste, bool trier = false)
{
    QStringList textes;
    for (int i = 0; i < liste->count(); ++i)
        textes << liste->itemText(i);
    if (trier)
        textes.sort();
    return textes.join(',');
}

struct Explorateur
{
    filtre* dialogue = nullptr;
    QComboBox* listes[3] = {}; // artists, writers, publishers
    QTableView* table = nullptr;

    explicit Explorateur(Phylacto& fenetre)
    {
        declencherAction(&fenetre, "actionExploration_bd");
        dialogue = fenetre.findChild<filtre*>();
        listes[0] = enfant<QComboBox>(dialogue, "cbDessinteur");
        listes[1] = enfant<QComboBox>(dialogue, "cbScenariste");
        listes[2] = enfant<QComboBox>(dialogue, "cbEditeur");
        table = enfant<QTableView>(dialogue, "tableResult");
    }

    // "serie/titre" of the rows shown, sorted unless their row numbers are wanted.
    QStringList lignes(bool trier = true) const
    {
        const QAbstractItemModel* modele = table->model();
        QStringList resultat;
        for (int ligne = 0; ligne < modele->rowCount(); ++ligne)
            resultat << modele->index(ligne, 0).data().toString() + "/"
                    + modele->index(ligne, 1).data().toString();
        if (trier)
            resultat.sort();
        return resultat;
    }

    QModelIndex index(const QString& serieEtTitre, int colonne = 1) const
    {
        return table->model()->index(lignes(false).indexOf(serieEtTitre), colonne);
    }

    void cliquer(const QString& serieEtTitre, int colonne = 1) const
    {
        const QRect zone = table->visualRect(index(serieEtTitre, colonne));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, zone.center());
    }

    void montrer() const { enfant<QPushButton>(dialogue, "pbShowMain")->click(); }
};

void choisir(QComboBox* liste, const QString& texte)
{
    const int index = liste->findText(texte);
    QVERIFY2(index >= 0, qPrintable(texte));
    liste->setCurrentIndex(index);
}

} // namespace

class TestExplorateur : public QObject
{
    Q_OBJECT

private slots:
    void ouvertureMontrerEtFermeture()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(collection);
        Phylacto fenetre;
        auto* serie = enfant<QLineEdit>(&fenetre, "leSerie");
        auto* titre = enfant<QLineEdit>(&fenetre, "leTitre");
        Explorateur explorateur(fenetre);
        QPointer<filtre> dialogue = explorateur.dialogue;
        QVERIFY(dialogue && dialogue->isVisible() && !dialogue->isModal());
        QAbstractItemModel* modele = explorateur.table->model();
        QCOMPARE(dialogue->windowTitle(), QString("Explorer la base de donnée"));

        // First occurrence order, after the empty entry.
        QCOMPARE(entrees(explorateur.listes[0]), QString(",Jean,Jean-Marc,Pierre,Marc,X"));
        QCOMPARE(entrees(explorateur.listes[1]), QString(",Paul,Luc,Marie,Y"));
        QCOMPARE(entrees(explorateur.listes[2]), QString(",Dargaud,dargaud,Dupuis,Casterman,Z"));
        for (const QComboBox* liste : explorateur.listes)
            QVERIFY(liste->currentIndex() == 0 && !liste->isEditable());

        QStringList entetes;
        QStringList cellules;
        for (int colonne = 0; colonne < modele->columnCount(); ++colonne) {
            entetes << modele->headerData(colonne, Qt::Horizontal).toString();
            cellules << explorateur.index("S2/T1", colonne).data().toString();
        }
        QCOMPARE(entetes.join(','),
            QString("Serie,Titre,Tome,Scenariste,Dessinateur,Editeur,Coloriste"));
        QCOMPARE(cellules.join(','), QString("S2,T1,1,Paul,Pierre,Dupuis,Col S2"));
        QVERIFY(explorateur.table->isSortingEnabled());

        serie->setText("rien");
        explorateur.montrer();
        QCOMPARE(serie->text(), QString("rien"));

        // Same series and title: the first album in catalogue order.
        choisir(explorateur.listes[0], "X");
        explorateur.cliquer("S3/Titre");
        explorateur.montrer();
        QCOMPARE(enfant<QLineEdit>(&fenetre, "leTome")->text(), QString("9"));
        QCOMPARE(QStringList({ serie->text(), titre->text() }), QStringList({ "S3", "Titre" }));
        QVERIFY(dialogue->isVisible());

        // Through a filter and a sort, the row clicked is the one shown.
        choisir(explorateur.listes[0], "");
        explorateur.table->sortByColumn(1, Qt::DescendingOrder);
        QCOMPARE(explorateur.lignes(false).first(), QString("S3/Titre"));
        choisir(explorateur.listes[0], "Jean");
        explorateur.cliquer("S2/T2", 4);
        explorateur.montrer();
        QCOMPARE(QStringList({ serie->text(), titre->text() }), QStringList({ "S2", "T2" }));
        QVERIFY(!fenetre.estModifie());

        // Edited in place: only the table changes, and the edited title finds nothing.
        choisir(explorateur.listes[0], "");
        QVERIFY(modele->flags(explorateur.index("S3/Titre")) & Qt::ItemIsEditable);
        QVERIFY(modele->setData(explorateur.index("S3/Titre"), "Autre"));
        QCOMPARE(fenetre.getAlbums().at(4)->getTitre(), QString("Titre"));
        serie->setText("rien");
        explorateur.cliquer("S3/Autre");
        explorateur.montrer();
        QCOMPARE(serie->text(), QString("rien"));

        // Deleted from the main window after the click: nothing happens.
        explorateur.cliquer("S2/T1");
        fenetre.getCatalogue().supprimerSerie("S2");
        explorateur.montrer();
        QCOMPARE(serie->text(), QString("rien"));

        enfant<QPushButton>(dialogue, "pushButton")->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!dialogue);
        QCOMPARE(fenetre.getAlbums().size(), 4);
    }

    void filtres_data()
    {
        // Choices "<list>=<text>" (0 artists, 1 writers, 2 publishers; "2!" calls the publisher
        // filter slot with a text its list cannot offer). Each list: sorted entries, the empty
        // one first, joined by commas.
        QTest::addColumn<QString>("choix");
        QTest::addColumn<QString>("lignes");
        QTest::addColumn<QString>("courants");
        QTest::addColumn<QString>("listes");

        QTest::newRow("sous-chaîne") << "0=Jean" << "S1/T1 S1/T2 S2/T2" << "Jean,,"
            << ",Jean,Jean-Marc | ,Luc,Marie,Paul | ,Dargaud,Dupuis,dargaud";
        QTest::newRow("casse")
            << "0=Jean 2=Dargaud" << "S1/T1" << "Jean,,Dargaud" << ",Jean | ,Paul | ,Dargaud";
        QTest::newRow("l'entrée vide n'ôte que son filtre")
            << "0=Jean 2=Dargaud 0=" << "S1/T1" << ",,Dargaud" << ",Jean | ,Paul | ,Dargaud";
        QTest::newRow("tout revient")
            << "0=Jean 2=Dargaud 0= 2=" << "S1/T1 S1/T2 S2/T1 S2/T2 S3/Titre S3/Titre" << ",,"
            << ",Jean,Jean-Marc,Marc,Pierre,X | ,Luc,Marie,Paul,Y"
               " | ,Casterman,Dargaud,Dupuis,Z,dargaud";
        QTest::newRow("en chaîne")
            << "0=Pierre 1=Paul" << "S2/T1" << "Pierre,Paul," << ",Pierre | ,Paul | ,Dupuis";
        QTest::newRow("en chaîne, dessinateur ôté") << "0=Pierre 1=Paul 0=" << "S1/T1 S2/T1"
            << ",Paul," << ",Jean,Pierre | ,Paul | ,Dargaud,Dupuis";
        // The artist list shows its empty entry, yet "Jean" stays in force.
        QTest::newRow("filtre en vigueur sous l'entrée vide")
            << "0=Jean 2=dargaud" << "S1/T2" << ",,dargaud" << ",Jean-Marc | ,Luc | ,dargaud";
        QTest::newRow("filtre en vigueur, éditeur ôté")
            << "0=Jean 2=dargaud 2=" << "S1/T1 S1/T2 S2/T2" << "Jean,,"
            << ",Jean,Jean-Marc | ,Luc,Marie,Paul | ,Dargaud,Dupuis,dargaud";
        QTest::newRow("aucune ligne") << "0=Marc 2!Dupuis" << "" << ",," << " |  | ";
    }

    void filtres()
    {
        QFETCH(QString, choix);
        DossierTravail dossier;
        dossier.ecrireCollection(collection);
        Phylacto fenetre;
        Explorateur explorateur(fenetre);
        for (const QString& etape : choix.split(' ')) {
            if (etape.at(1) == '!')
                explorateur.dialogue->filtrerEditeur(etape.mid(2));
            else
                choisir(explorateur.listes[etape.left(1).toInt()], etape.mid(2));
        }
        QTEST(explorateur.lignes().join(' '), "lignes");
        QStringList courants;
        QStringList listes;
        for (const QComboBox* liste : explorateur.listes) {
            courants << liste->currentText();
            listes << entrees(liste, true);
        }
        QTEST(courants.join(','), "courants");
        QTEST(listes.join(" | "), "listes");
    }
};

QTEST_MAIN(TestExplorateur)
#include "test_explorateur.moc"
