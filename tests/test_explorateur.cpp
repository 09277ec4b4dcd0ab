// The database explorer: table, chained filters and lists, and showing a row's
// album in the main window.
#include "app/phylacto.h"
#include "dialogs/filtre.h"
#include "model/bd.h"
#include "support/dossiertravail.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

namespace {

QByteArray ligne(const QString& serie, const QString& titre, int tome, const QString& dessinateur,
    const QString& scenariste, const QString& editeur)
{
    return QStringLiteral("%1;%2;%3;%4;%5;%6;;0;G;_;_;;0;0;_;0;0;0;;Col %1\n")
        .arg(serie, titre, QString::number(tome), dessinateur, scenariste, editeur)
        .toUtf8();
}

// Five albums: artists that contain each other, publishers differing by case.
QByteArray collection()
{
    return ligne("S1", "T1", 1, "Jean", "Paul", "Dargaud")
        + ligne("S1", "T2", 2, "Jean-Marc", "Luc", "dargaud")
        + ligne("S2", "T1", 1, "Pierre", "Paul", "Dupuis")
        + ligne("S2", "T2", 2, "Jean", "Marie", "Dupuis")
        + ligne("S3", "Titre", 9, "Marc", "", "Casterman");
}

struct Explorateur
{
    filtre* dialogue = nullptr;
    QComboBox* dessinateurs = nullptr;
    QComboBox* scenaristes = nullptr;
    QComboBox* editeurs = nullptr;
    QTableView* table = nullptr;

    explicit Explorateur(Phylacto& fenetre)
    {
        declencherAction(&fenetre, "actionExploration_bd");
        dialogue = fenetre.findChild<filtre*>();
        if (!dialogue)
            return;
        dessinateurs = enfant<QComboBox>(dialogue, "cbDessinteur");
        scenaristes = enfant<QComboBox>(dialogue, "cbScenariste");
        editeurs = enfant<QComboBox>(dialogue, "cbEditeur");
        table = enfant<QTableView>(dialogue, "tableResult");
    }

    // Series and title of the rows shown, sorted so order does not matter.
    QStringList lignes() const
    {
        QStringList resultat;
        const QAbstractItemModel* modele = table->model();
        for (int ligne = 0; ligne < modele->rowCount(); ++ligne)
            resultat << modele->index(ligne, 0).data().toString() + "/"
                    + modele->index(ligne, 1).data().toString();
        resultat.sort();
        return resultat;
    }

    int ligneDe(const QString& serie, const QString& titre) const
    {
        const QAbstractItemModel* modele = table->model();
        for (int ligne = 0; ligne < modele->rowCount(); ++ligne) {
            if (modele->index(ligne, 0).data() == serie && modele->index(ligne, 1).data() == titre)
                return ligne;
        }
        return -1;
    }

    void cliquer(int ligne, int colonne = 1) const
    {
        const QRect zone = table->visualRect(table->model()->index(ligne, colonne));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, zone.center());
    }

    void montrer() const { enfant<QPushButton>(dialogue, "pbShowMain")->click(); }
};

QStringList entrees(const QComboBox* liste)
{
    QStringList textes;
    for (int i = 0; i < liste->count(); ++i)
        textes << liste->itemText(i);
    return textes;
}

QStringList triees(QStringList textes)
{
    textes.sort();
    return textes;
}

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
    void ouverture()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(collection());
        Phylacto fenetre;
        Explorateur explorateur(fenetre);
        QVERIFY(explorateur.dialogue);
        QVERIFY(explorateur.dialogue->isVisible());
        QVERIFY(!explorateur.dialogue->isModal());
        QCOMPARE(explorateur.dialogue->windowTitle(), QString("Explorer la base de donnée"));

        QCOMPARE(entrees(explorateur.dessinateurs),
            QStringList({ "", "Jean", "Jean-Marc", "Pierre", "Marc" }));
        QCOMPARE(entrees(explorateur.scenaristes), QStringList({ "", "Paul", "Luc", "Marie" }));
        QCOMPARE(entrees(explorateur.editeurs),
            QStringList({ "", "Dargaud", "dargaud", "Dupuis", "Casterman" }));
        for (const QComboBox* liste :
            { explorateur.dessinateurs, explorateur.scenaristes, explorateur.editeurs }) {
            QCOMPARE(liste->currentIndex(), 0);
            QVERIFY(!liste->isEditable());
        }

        const QAbstractItemModel* modele = explorateur.table->model();
        QCOMPARE(modele->rowCount(), 5);
        QStringList entetes;
        for (int colonne = 0; colonne < modele->columnCount(); ++colonne)
            entetes << modele->headerData(colonne, Qt::Horizontal).toString();
        QCOMPARE(entetes,
            QStringList(
                { "Serie", "Titre", "Tome", "Scenariste", "Dessinateur", "Editeur", "Coloriste" }));
        const int s3 = explorateur.ligneDe("S3", "Titre");
        QStringList cellules;
        for (int colonne = 0; colonne < modele->columnCount(); ++colonne)
            cellules << modele->index(s3, colonne).data().toString();
        QCOMPARE(cellules, QStringList({ "S3", "Titre", "9", "", "Marc", "Casterman", "Col S3" }));
        QVERIFY(explorateur.table->isSortingEnabled());
        explorateur.table->sortByColumn(1, Qt::DescendingOrder);
        QCOMPARE(modele->index(0, 1).data().toString(), QString("Titre"));
        explorateur.table->sortByColumn(0, Qt::AscendingOrder);
        QCOMPARE(modele->index(0, 0).data().toString(), QString("S1"));
        QCOMPARE(modele->index(4, 0).data().toString(), QString("S3"));
    }

    void filtresParSousChaineEtCasse()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(collection());
        Phylacto fenetre;
        Explorateur explorateur(fenetre);

        choisir(explorateur.dessinateurs, "Jean");
        QCOMPARE(explorateur.lignes(), QStringList({ "S1/T1", "S1/T2", "S2/T2" }));
        QCOMPARE(explorateur.dessinateurs->currentText(), QString("Jean"));
        // Lists now hold only the values of the rows shown.
        QCOMPARE(
            triees(entrees(explorateur.scenaristes)), QStringList({ "", "Luc", "Marie", "Paul" }));
        QCOMPARE(triees(entrees(explorateur.editeurs)),
            QStringList({ "", "Dargaud", "Dupuis", "dargaud" }));
        QCOMPARE(
            triees(entrees(explorateur.dessinateurs)), QStringList({ "", "Jean", "Jean-Marc" }));
        QCOMPARE(explorateur.scenaristes->currentIndex(), 0);

        choisir(explorateur.editeurs, "Dargaud");
        QCOMPARE(explorateur.lignes(), QStringList({ "S1/T1" }));
        QCOMPARE(entrees(explorateur.scenaristes), QStringList({ "", "Paul" }));
        QCOMPARE(explorateur.editeurs->currentText(), QString("Dargaud"));

        // The empty artist entry drops that filter only; the publisher stays.
        choisir(explorateur.dessinateurs, "");
        QCOMPARE(explorateur.lignes(), QStringList({ "S1/T1" }));
        choisir(explorateur.editeurs, "");
        QCOMPARE(explorateur.lignes().size(), 5);
        QCOMPARE(triees(entrees(explorateur.dessinateurs)),
            QStringList({ "", "Jean", "Jean-Marc", "Marc", "Pierre" }));
        QCOMPARE(entrees(explorateur.editeurs).size(), 5);
        QCOMPARE(entrees(explorateur.scenaristes).size(), 4);
    }

    void listesEnChaine()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(collection());
        Phylacto fenetre;
        Explorateur explorateur(fenetre);

        choisir(explorateur.dessinateurs, "Pierre");
        QCOMPARE(explorateur.lignes(), QStringList({ "S2/T1" }));
        QCOMPARE(entrees(explorateur.scenaristes), QStringList({ "", "Paul" }));
        QCOMPARE(entrees(explorateur.editeurs), QStringList({ "", "Dupuis" }));
        QCOMPARE(entrees(explorateur.dessinateurs), QStringList({ "", "Pierre" }));

        choisir(explorateur.scenaristes, "Paul");
        QCOMPARE(explorateur.lignes(), QStringList({ "S2/T1" }));

        choisir(explorateur.dessinateurs, "");
        QCOMPARE(explorateur.lignes(), QStringList({ "S1/T1", "S2/T1" }));
        QCOMPARE(triees(entrees(explorateur.dessinateurs)), QStringList({ "", "Jean", "Pierre" }));
        QCOMPARE(explorateur.scenaristes->currentText(), QString("Paul"));
    }

    void filtreEnVigueurSousLEntreeVide()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(collection());
        Phylacto fenetre;
        Explorateur explorateur(fenetre);

        choisir(explorateur.dessinateurs, "Jean");
        // Only "Jean-Marc" has this publisher: "Jean" matches it as a substring.
        choisir(explorateur.editeurs, "dargaud");
        QCOMPARE(explorateur.lignes(), QStringList({ "S1/T2" }));
        QCOMPARE(entrees(explorateur.dessinateurs), QStringList({ "", "Jean-Marc" }));
        QCOMPARE(explorateur.dessinateurs->currentIndex(), 0);

        choisir(explorateur.editeurs, "");
        QCOMPARE(explorateur.lignes(), QStringList({ "S1/T1", "S1/T2", "S2/T2" }));
        QCOMPARE(explorateur.dessinateurs->currentText(), QString("Jean"));
    }

    void aucuneLigne()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(collection());
        Phylacto fenetre;
        Explorateur explorateur(fenetre);
        choisir(explorateur.dessinateurs, "Marc");
        QCOMPARE(explorateur.lignes(), QStringList({ "S1/T2", "S3/Titre" }));
        // Lists only offer values of the rows shown: only the slots can combine these.
        explorateur.dialogue->filtrerEditeur("Dupuis");
        QVERIFY(explorateur.lignes().isEmpty());
        for (const QComboBox* liste :
            { explorateur.dessinateurs, explorateur.scenaristes, explorateur.editeurs }) {
            QCOMPARE(entrees(liste), QStringList(""));
            QCOMPARE(liste->currentIndex(), 0);
        }
    }

    void montrerDansPhylacto()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(collection());
        Phylacto fenetre;
        auto* titre = enfant<QLineEdit>(&fenetre, "leTitre");
        auto* serie = enfant<QLineEdit>(&fenetre, "leSerie");
        QCOMPARE(serie->text(), QString("S1"));
        Explorateur explorateur(fenetre);

        serie->setText("rien");
        explorateur.montrer();
        QCOMPARE(serie->text(), QString("rien"));

        explorateur.cliquer(explorateur.ligneDe("S3", "Titre"));
        explorateur.montrer();
        QCOMPARE(serie->text(), QString("S3"));
        QCOMPARE(titre->text(), QString("Titre"));
        QCOMPARE(enfant<QLineEdit>(&fenetre, "leDessinateur")->text(), QString("Marc"));
        QVERIFY(explorateur.dialogue->isVisible());

        // Through a filter and a sort, the row clicked is the one shown.
        explorateur.table->sortByColumn(1, Qt::DescendingOrder);
        choisir(explorateur.dessinateurs, "Jean");
        explorateur.cliquer(explorateur.ligneDe("S2", "T2"), 4);
        explorateur.montrer();
        QCOMPARE(serie->text(), QString("S2"));
        QCOMPARE(titre->text(), QString("T2"));
        QVERIFY(!fenetre.estModifie());
    }

    void memeSerieEtTitre()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(
            ligne("S", "T", 1, "A", "B", "C") + ligne("S", "T", 7, "X", "Y", "Z"));
        Phylacto fenetre;
        auto* tome = enfant<QLineEdit>(&fenetre, "leTome");
        Explorateur explorateur(fenetre);
        choisir(explorateur.dessinateurs, "X");
        QCOMPARE(explorateur.table->model()->rowCount(), 1);
        tome->setText("");
        explorateur.cliquer(0);
        explorateur.montrer();
        QCOMPARE(tome->text(), QString("1"));
    }

    void celluleModifieeOuAlbumSupprime()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(collection());
        Phylacto fenetre;
        auto* serie = enfant<QLineEdit>(&fenetre, "leSerie");
        Explorateur explorateur(fenetre);
        QAbstractItemModel* modele = explorateur.table->model();

        // Edited in place: only the table changes, and the edited title finds nothing.
        const int s3 = explorateur.ligneDe("S3", "Titre");
        QVERIFY(modele->flags(modele->index(s3, 1)) & Qt::ItemIsEditable);
        QVERIFY(modele->setData(modele->index(s3, 1), "Autre"));
        QCOMPARE(fenetre.getAlbums().at(4)->getTitre(), QString("Titre"));
        explorateur.cliquer(explorateur.ligneDe("S3", "Autre"));
        serie->setText("rien");
        explorateur.montrer();
        QCOMPARE(serie->text(), QString("rien"));

        // An artist edited in place is what the lists and the filter then see.
        const int s2 = explorateur.ligneDe("S2", "T1");
        QVERIFY(modele->setData(modele->index(s2, 4), "Zep"));
        choisir(explorateur.editeurs, "Dupuis");
        QCOMPARE(triees(entrees(explorateur.dessinateurs)), QStringList({ "", "Jean", "Zep" }));
        choisir(explorateur.dessinateurs, "Zep");
        QCOMPARE(explorateur.lignes(), QStringList({ "S2/T1" }));

        // Deleted from the main window after the click: nothing happens.
        explorateur.cliquer(0);
        fenetre.getCatalogue().supprimerSerie("S2");
        explorateur.montrer();
        QCOMPARE(serie->text(), QString("rien"));
    }

    void fermer()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(collection());
        Phylacto fenetre;
        Explorateur explorateur(fenetre);
        QPointer<filtre> dialogue = explorateur.dialogue;
        enfant<QPushButton>(dialogue, "pushButton")->click();
        QVERIFY(!dialogue->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!dialogue);
        QCOMPARE(fenetre.getAlbums().size(), 5);
    }
};

QTEST_MAIN(TestExplorateur)
#include "test_explorateur.moc"
