// Lending albums from the main window and returning them from the loans dialog.
#include "app/phylacto.h"
#include "dialogs/filtre.h"
#include "dialogs/pret.h"
#include "dialogs/saisiepret.h"
#include "model/bd.h"
#include "model/emprunt.h"
#include "support/dossiertravail.h"
#include "support/repondeur.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>

namespace {

// A collection line with a loan: borrower, date and loan count.
QByteArray lignePret(const QString& serie, const QString& titre, int tome,
    const QString& emprunteur, const QString& date = QString(), int nbEmprunts = 0)
{
    return QStringLiteral("%1;%2;%3;D;S;E;;0;G;_;%4;%5;0;0;_;0;0;%6;;C\n")
        .arg(serie, titre, QString::number(tome), emprunteur, date, QString::number(nbEmprunts))
        .toUtf8();
}

// Makes the cell of the album table with this text current.
void choisirCellule(Phylacto& fenetre, const QString& texte)
{
    auto* table = enfant<QTableWidget>(&fenetre, "LstAlbum");
    const QList<QTableWidgetItem*> trouves = table->findItems(texte, Qt::MatchExactly);
    QVERIFY2(!trouves.isEmpty(), qPrintable(texte));
    table->setCurrentItem(trouves.first());
}

// Runs the action and returns the dialog of this kind it opened, if any.
template <typename T, typename Action>
T* ouvert(Phylacto& fenetre, Action action)
{
    const qsizetype avant = fenetre.findChildren<T*>().size();
    action();
    const QList<T*> dialogues = fenetre.findChildren<T*>();
    return dialogues.size() > avant ? dialogues.last() : nullptr;
}

// Opens the borrower dialog for the current cell.
saisiePret* ouvrirSaisie(Phylacto& fenetre)
{
    auto* bouton = enfant<QPushButton>(&fenetre, "pbPreter");
    bouton->setEnabled(true);
    return ouvert<saisiePret>(fenetre, [bouton] { bouton->click(); });
}

void valider(saisiePret* dialogue, const QString& nom)
{
    enfant<QLineEdit>(dialogue, "lePret")->setText(nom);
    enfant<QPushButton>(dialogue, "validerPret")->click();
}

Pret* ouvrirPrets(Phylacto& fenetre)
{
    return ouvert<Pret>(fenetre, [&] { declencherAction(&fenetre, "actionGestion_des_prets"); });
}

// The rows of the loans table, "serie|titre|emprunteur|date|", sorted.
QStringList lignes(const QTableWidget* table)
{
    QStringList resultat;
    for (int ligne = 0; ligne < table->rowCount(); ++ligne) {
        resultat << QString();
        for (int colonne = 0; colonne < table->columnCount(); ++colonne)
            resultat.last() += table->item(ligne, colonne)->text() + '|';
    }
    resultat.sort();
    return resultat;
}

void rendreLigne(Pret* prets, const QString& titre)
{
    auto* table = enfant<QTableWidget>(prets, "LstPrets");
    const QList<QTableWidgetItem*> trouves = table->findItems(titre, Qt::MatchExactly);
    QVERIFY2(!trouves.isEmpty(), qPrintable(titre));
    table->setCurrentCell(trouves.first()->row(), 0);
    enfant<QPushButton>(prets, "pbRendue")->click();
}

// Deletes through a context menu, as the user does.
void supprimerParLeMenu(Phylacto& fenetre, const char* liste, const QString& entree)
{
    RepondeurModal repondeur;
    repondeur.repondreMenu(entree);
    emit enfant<QWidget>(&fenetre, liste)->customContextMenuRequested(QPoint(1, 1));
    QCoreApplication::processEvents();
}

} // namespace

class TestPrets : public QObject
{
    Q_OBJECT

private slots:
    void dateSurDixCaracteresEtCompte()
    {
        BD album("S", "T", 1, "", "", "", "", 0, "", "", "", "", 0.0, 0, "", 0, 0, 3, "", "");
        Emprunt::preter(album, "Marc", QDate(2014, 3, 1));
        QCOMPARE(album.getDateEmprunt(), QString("01/03/2014"));
        QCOMPARE(album.nbEmprunts, 4);
    }

    void saisieDUnPret_data()
    {
        QTest::addColumn<QString>("nom"); // null: typed "Marc" then "Annuler"
        QTest::addColumn<bool>("compte");
        QTest::addColumn<QString>("bouton");
        QTest::newRow("nommé") << "Marc" << true << "BD pretée à Marc";
        QTest::newRow("sans nom, compté quand même") << "" << true << "Preter";
        QTest::newRow("point-virgule refusé") << "Marc;Paul" << false << "Preter";
        QTest::newRow("annulé") << QString() << false << "Preter";
    }

    void saisieDUnPret()
    {
        QFETCH(QString, nom);
        QFETCH(bool, compte);
        QFETCH(QString, bouton);

        DossierTravail dossier;
        dossier.ecrireCollection(ligneAlbum("S", "T1", 1) + ligneAlbum("S", "T2", 2));
        RepondeurModal repondeur;
        Phylacto fenetre;
        choisirCellule(fenetre, "T2");
        QPointer<saisiePret> dialogue = ouvrirSaisie(fenetre);
        QVERIFY(dialogue && dialogue->isVisible() && !dialogue->isModal());
        QCOMPARE(dialogue->windowTitle(), QString("Enregistrer pret"));
        if (nom.isNull()) {
            enfant<QLineEdit>(dialogue, "lePret")->setText("Marc");
            enfant<QPushButton>(dialogue, "pbAnnuler")->click();
        } else {
            valider(dialogue, nom);
        }

        const BD* bd = fenetre.getAlbums().at(1);
        const QString date = compte ? QDate::currentDate().toString("dd/MM/yyyy") : "";
        QCOMPARE(QVariantList({ bd->getEmprunteur(), bd->nbEmprunts, bd->getDateEmprunt() }),
            QVariantList({ compte ? nom : "", int(compte), date }));
        QVERIFY(fenetre.getAlbums().at(0)->getEmprunteur().isEmpty());
        QCOMPARE(fenetre.estModifie(), compte);
        QCOMPARE(enfant<QPushButton>(&fenetre, "pbPreter")->text(), bouton);
        QCOMPARE(enfant<QPushButton>(&fenetre, "pbPreter")->isEnabled(), bouton == "Preter");
        // A refused name leaves the dialog open; otherwise it goes away.
        const bool refuse = nom.contains(';');
        QCOMPARE(repondeur.boites().size(), int(refuse));
        QCOMPARE(dialogue->isVisible(), refuse);
        if (refuse) {
            QVERIFY(repondeur.boites().first().texte.contains(";"));
            valider(dialogue, "Marc et Paul");
            QCOMPARE(bd->getEmprunteur(), QString("Marc et Paul"));
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!dialogue);
    }

    void albumVise()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(
            ligneAlbum("S", "T", 4) + ligneAlbum("S", "T", 7) + ligneAlbum("Autre", "T", 1));
        RepondeurModal repondeur;
        Phylacto fenetre;
        auto* table = enfant<QTableWidget>(&fenetre, "LstAlbum");
        table->setCurrentItem(nullptr);
        QCOMPARE(ouvrirSaisie(fenetre), nullptr);
        QCOMPARE(repondeur.textesBoites(), QStringList("Veuillez selectioner un album"));
        QVERIFY(!repondeur.boites().first().avecParent);

        enfant<QListWidget>(&fenetre, "LstSerie")->setCurrentRow(1);
        // The volume cell's text is taken as a title: no album, no dialog.
        choisirCellule(fenetre, "7");
        QCOMPARE(ouvrirSaisie(fenetre), nullptr);

        // Same title: the first album of the series; two dialogs count two loans.
        table->setCurrentCell(table->currentRow(), 1);
        saisiePret* premier = ouvrirSaisie(fenetre);
        saisiePret* second = ouvrirSaisie(fenetre);
        QVERIFY(premier && second && premier != second);
        valider(second, "Paul");
        valider(premier, "Marc");
        QCOMPARE(QVariantList({ fenetre.getAlbums().at(0)->getEmprunteur(),
                     fenetre.getAlbums().at(0)->nbEmprunts }),
            QVariantList({ "Marc", 2 }));
        QVERIFY(fenetre.getAlbums().at(1)->getEmprunteur().isEmpty()
            && fenetre.getAlbums().at(2)->getEmprunteur().isEmpty());
    }

    void listeDesPrets()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(lignePret("S", "T1", 1, "Marc", "01/03/2014", 1)
            + lignePret("S", "T2", 2, "_") + lignePret("S", "T3", 3, "")
            + lignePret("A", "T4", 4, "Zoé", "05/06/2015", 3));
        Phylacto fenetre;
        QPointer<Pret> prets = ouvrirPrets(fenetre);
        QVERIFY(prets && prets->isVisible() && !prets->isModal());
        QCOMPARE(prets->windowTitle(), QString("Gestion des prets"));
        auto* table = enfant<QTableWidget>(prets, "LstPrets");
        QStringList entetes;
        for (int colonne = 0; colonne < table->columnCount(); ++colonne)
            entetes << table->horizontalHeaderItem(colonne)->text();
        QCOMPARE(entetes, QStringList({ "Serie", "Titre", "Emprunteur", "Date d'emprunt" }));
        QCOMPARE(lignes(table), QStringList({ "A|T4|Zoé|05/06/2015|", "S|T1|Marc|01/03/2014|" }));
        QVERIFY(!(table->item(1, 3)->flags() & Qt::ItemIsEditable));
        QVERIFY(table->isSortingEnabled());
        QCOMPARE(enfant<QPushButton>(prets, "pbRendue")->text(), QString("Rendue"));
        QCOMPARE(enfant<QPushButton>(prets, "pbQuitter")->text(), QString("Quitter"));
        // Until a row becomes current (showing the dialog may focus one).
        Pret cache(Emprunt::albumsPretes(fenetre.getAlbums()), fenetre.getCatalogue(), &fenetre);
        QVERIFY(!enfant<QPushButton>(&cache, "pbRendue")->isEnabled());

        // A snapshot: a loan made meanwhile shows at the next opening only.
        enfant<QListWidget>(&fenetre, "LstSerie")->setCurrentRow(1);
        choisirCellule(fenetre, "T2");
        valider(ouvrirSaisie(fenetre), "Paul");
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(enfant<QTableWidget>(ouvrirPrets(fenetre), "LstPrets")->rowCount(), 3);

        fenetre.setModifie(false);
        table->setCurrentCell(0, 0);
        enfant<QPushButton>(prets, "pbQuitter")->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!prets);
        QVERIFY(!fenetre.estModifie());
    }

    void rendre()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(lignePret("S", "T1", 1, "Zoé", "01/03/2014", 1)
            + lignePret("S", "T2", 2, "Anne", "02/03/2014", 2)
            + lignePret("S", "T3", 3, "Marc", "03/03/2014", 5) + lignePret("S", "T3", 4, "Paul"));
        Phylacto fenetre;
        Pret* prets = ouvrirPrets(fenetre);
        auto* table = enfant<QTableWidget>(prets, "LstPrets");
        auto* rendue = enfant<QPushButton>(prets, "pbRendue");
        // After sorting by another column, the current row still names its album.
        table->sortByColumn(2, Qt::AscendingOrder);
        table->setCurrentCell(3, 0);
        QCOMPARE(table->item(3, 1)->text(), QString("T1"));
        rendue->click();
        const BD* t1 = fenetre.getAlbums().at(0);
        QVERIFY(t1->getEmprunteur().isEmpty() && !t1->getEmprunteur().isNull());
        QCOMPARE(t1->getDateEmprunt(), QString("01/03/2014"));
        QCOMPARE(t1->nbEmprunts, 1);
        QCOMPARE(lignes(table),
            QStringList({ "S|T2|Anne|02/03/2014|", "S|T3|Marc|03/03/2014|", "S|T3|Paul||" }));
        QVERIFY(fenetre.estModifie());

        // Same series and title: the first album is returned.
        rendreLigne(prets, "Paul");
        QVERIFY(fenetre.getAlbums().at(2)->getEmprunteur().isEmpty());
        QCOMPARE(fenetre.getAlbums().at(3)->getEmprunteur(), QString("Paul"));

        // After a return nothing is current: "Rendue" waits for a row to be chosen.
        rendue->click();
        QCOMPARE(table->rowCount(), 2);
        for (int reste = 1; reste >= 0; --reste) {
            table->setCurrentCell(0, 0);
            rendue->click();
            QCOMPARE(table->rowCount(), reste);
        }
        QVERIFY(fenetre.getAlbums().at(1)->getEmprunteur().isEmpty());
        fenetre.setModifie(false);
        rendue->click();
        QVERIFY(!fenetre.estModifie());
    }

    // Nothing open may write through an album deleted meanwhile.
    void suppressionParLeMenuDialoguesOuverts()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(lignePret("S", "T1", 1, "Marc", "01/03/2014", 1)
            + lignePret("S", "T2", 2, "Paul", "02/03/2014", 2) + lignePret("S", "T3", 3, "")
            + lignePret("Z", "Z1", 1, "Léa", "03/03/2014", 3));
        Phylacto fenetre;
        choisirCellule(fenetre, "T3");
        QPointer<saisiePret> saisie = ouvrirSaisie(fenetre);
        QPointer<Pret> prets = ouvrirPrets(fenetre);
        declencherAction(&fenetre, "actionExploration_bd");
        QPointer<filtre> explorateur = fenetre.findChild<filtre*>();
        QVERIFY(saisie && prets && explorateur);
        QAbstractItemModel* modele = enfant<QTableView>(explorateur, "tableResult")->model();
        explorateur->updateDataLigne(
            modele->match(modele->index(0, 1), Qt::DisplayRole, "T3", 1, Qt::MatchExactly).first());
        auto* tablePrets = enfant<QTableWidget>(prets, "LstPrets");
        tablePrets->setCurrentCell(tablePrets->findItems("T1", Qt::MatchExactly).first()->row(), 0);

        choisirCellule(fenetre, "T3");
        supprimerParLeMenu(fenetre, "LstAlbum", "Supprimer album");
        choisirCellule(fenetre, "T1");
        supprimerParLeMenu(fenetre, "LstAlbum", "Supprimer album");
        enfant<QListWidget>(&fenetre, "LstSerie")->setCurrentRow(1);
        supprimerParLeMenu(fenetre, "LstSerie", "Supprimer série");
        QCOMPARE(fenetre.getAlbums().size(), 1);
        QVERIFY(saisie && prets && explorateur);
        fenetre.setModifie(false);
        auto* serie = enfant<QLineEdit>(&fenetre, "leSerie");
        serie->setText("rien");

        valider(saisie, "Jean");
        enfant<QPushButton>(prets, "pbRendue")->click(); // T1, deleted while current
        rendreLigne(prets, "Z1"); // deleted before its row is chosen
        enfant<QPushButton>(explorateur, "pbShowMain")->click();
        const BD* reste = fenetre.getAlbums().first();
        QCOMPARE(QVariantList({ reste->getTitre(), reste->getEmprunteur(), reste->nbEmprunts,
                     reste->getDateEmprunt() }),
            QVariantList({ "T2", "Paul", 2, "02/03/2014" }));
        QCOMPARE(tablePrets->rowCount(), 3);
        QCOMPARE(serie->text(), QString("rien"));
        QVERIFY(!fenetre.estModifie());

        rendreLigne(prets, "T2");
        QVERIFY(reste->getEmprunteur().isEmpty());
        QCOMPARE(tablePrets->rowCount(), 2);
    }
};

QTEST_MAIN(TestPrets)
#include "test_prets.moc"
