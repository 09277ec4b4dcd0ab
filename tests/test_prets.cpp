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
#include <QTableView>
#include <QPointer>
#include <QPushButton>
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

void traiterSuppressions()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Makes the cell of the album table with this text current.
bool choisirCellule(Phylacto& fenetre, const QString& texte)
{
    auto* table = enfant<QTableWidget>(&fenetre, "LstAlbum");
    const QList<QTableWidgetItem*> trouves = table->findItems(texte, Qt::MatchExactly);
    if (trouves.isEmpty())
        return false;
    table->setCurrentItem(trouves.first());
    return true;
}

// Opens the borrower dialog for the current cell.
saisiePret* ouvrirSaisie(Phylacto& fenetre)
{
    const QList<saisiePret*> avant = fenetre.findChildren<saisiePret*>();
    enfant<QPushButton>(&fenetre, "pbPreter")->setEnabled(true);
    enfant<QPushButton>(&fenetre, "pbPreter")->click();
    for (saisiePret* dialogue : fenetre.findChildren<saisiePret*>()) {
        if (!avant.contains(dialogue))
            return dialogue;
    }
    return nullptr;
}

void valider(saisiePret* dialogue, const QString& nom)
{
    enfant<QLineEdit>(dialogue, "lePret")->setText(nom);
    enfant<QPushButton>(dialogue, "validerPret")->click();
}

Pret* ouvrirPrets(Phylacto& fenetre)
{
    const QList<Pret*> avant = fenetre.findChildren<Pret*>();
    if (!declencherAction(&fenetre, "actionGestion_des_prets"))
        return nullptr;
    for (Pret* dialogue : fenetre.findChildren<Pret*>()) {
        if (!avant.contains(dialogue))
            return dialogue;
    }
    return nullptr;
}

QStringList ligneTable(const QTableWidget* table, int ligne)
{
    QStringList textes;
    for (int colonne = 0; colonne < table->columnCount(); ++colonne)
        textes << (table->item(ligne, colonne) ? table->item(ligne, colonne)->text() : QString());
    return textes;
}

void choisirLigne(QTableWidget* table, const QString& titre)
{
    for (int ligne = 0; ligne < table->rowCount(); ++ligne) {
        if (table->item(ligne, 1)->text() == titre) {
            table->setCurrentCell(ligne, 0);
            return;
        }
    }
    QFAIL("row not found");
}

// Deletes through the context menu of the album table or of the series list,
// as the user does.
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
    void dateSurDixCaracteres_data()
    {
        QTest::addColumn<QDate>("jour");
        QTest::addColumn<QString>("texte");
        QTest::newRow("1er mars") << QDate(2014, 3, 1) << "01/03/2014";
        QTest::newRow("fin d'année") << QDate(1999, 12, 31) << "31/12/1999";
        QTest::newRow("5 mars") << QDate(2014, 3, 5) << "05/03/2014";
    }

    void dateSurDixCaracteres()
    {
        QFETCH(QDate, jour);
        QTEST(Emprunt::formaterDate(jour), "texte");
    }

    void reglesDuPret()
    {
        BD album("S", "T", 1, "", "", "", "", 0, "", "", "", "", 0.0, 0, "", 0, 0, 3, "", "");
        Emprunt::preter(album, "Marc", QDate(2014, 3, 1));
        QCOMPARE(album.getEmprunteur(), QString("Marc"));
        QCOMPARE(album.getDateEmprunt(), QString("01/03/2014"));
        QCOMPARE(album.nbEmprunts, 4);
        Emprunt::rendre(album);
        QVERIFY(album.getEmprunteur().isEmpty());
        QVERIFY(!album.getEmprunteur().isNull());
        QCOMPARE(album.getDateEmprunt(), QString("01/03/2014"));
        QCOMPARE(album.nbEmprunts, 4);

        QVERIFY(Emprunt::nomValide(""));
        QVERIFY(Emprunt::nomValide("Jean-Marc d'Ici"));
        QVERIFY(!Emprunt::nomValide("Marc;Paul"));
    }

    void preterSansAlbumCourant()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligneAlbum("S", "T1", 1));
        RepondeurModal repondeur;
        Phylacto fenetre;
        enfant<QTableWidget>(&fenetre, "LstAlbum")->setCurrentItem(nullptr);
        QCOMPARE(ouvrirSaisie(fenetre), nullptr);
        QCOMPARE(repondeur.textesBoites(), QStringList("Veuillez selectioner un album"));
        QVERIFY(!repondeur.boites().first().avecParent);
    }

    void preterUnAlbum()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligneAlbum("S", "T1", 1) + ligneAlbum("S", "T2", 2));
        Phylacto fenetre;
        QVERIFY(choisirCellule(fenetre, "T2"));
        QPointer<saisiePret> dialogue = ouvrirSaisie(fenetre);
        QVERIFY(dialogue);
        QVERIFY(dialogue->isVisible());
        QVERIFY(!dialogue->isModal());
        QCOMPARE(dialogue->windowTitle(), QString("Enregistrer pret"));
        QCOMPARE(enfant<QLineEdit>(dialogue, "lePret")->text(), QString());

        valider(dialogue, "Marc");
        const BD* album = fenetre.getAlbums().at(1);
        QCOMPARE(album->getEmprunteur(), QString("Marc"));
        QCOMPARE(album->nbEmprunts, 1);
        QCOMPARE(album->getDateEmprunt(), QDate::currentDate().toString("dd/MM/yyyy"));
        QCOMPARE(album->getDateEmprunt().size(), 10);
        QVERIFY(fenetre.getAlbums().at(0)->getEmprunteur().isEmpty());
        QVERIFY(fenetre.estModifie());
        auto* bouton = enfant<QPushButton>(&fenetre, "pbPreter");
        QCOMPARE(bouton->text(), QString("BD pretée à Marc"));
        QVERIFY(!bouton->isEnabled());
        QVERIFY(!dialogue->isVisible());
        traiterSuppressions();
        QVERIFY(!dialogue);
    }

    void preterSansNomCompteQuandMeme()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligneAlbum("S", "T1", 1));
        Phylacto fenetre;
        QVERIFY(choisirCellule(fenetre, "T1"));
        valider(ouvrirSaisie(fenetre), "");
        const BD* album = fenetre.getAlbums().first();
        QCOMPARE(album->getEmprunteur(), QString());
        QCOMPARE(album->nbEmprunts, 1);
        QCOMPARE(album->getDateEmprunt(), QDate::currentDate().toString("dd/MM/yyyy"));
        QVERIFY(fenetre.estModifie());
        auto* bouton = enfant<QPushButton>(&fenetre, "pbPreter");
        QCOMPARE(bouton->text(), QString("Preter"));
        QVERIFY(bouton->isEnabled());

        Pret* prets = ouvrirPrets(fenetre);
        QVERIFY(prets);
        QCOMPARE(enfant<QTableWidget>(prets, "LstPrets")->rowCount(), 0);
    }

    void deuxDialoguesPourUnAlbum()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligneAlbum("S", "T1", 1));
        Phylacto fenetre;
        QVERIFY(choisirCellule(fenetre, "T1"));
        saisiePret* premier = ouvrirSaisie(fenetre);
        saisiePret* second = ouvrirSaisie(fenetre);
        QVERIFY(premier && second && premier != second);
        valider(second, "Paul");
        valider(premier, "Marc");
        const BD* album = fenetre.getAlbums().first();
        QCOMPARE(album->getEmprunteur(), QString("Marc"));
        QCOMPARE(album->nbEmprunts, 2);
    }

    void pointVirguleRefuse()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligneAlbum("S", "T1", 1));
        RepondeurModal repondeur;
        Phylacto fenetre;
        QVERIFY(choisirCellule(fenetre, "T1"));
        saisiePret* dialogue = ouvrirSaisie(fenetre);
        valider(dialogue, "Marc;Paul");
        QCOMPARE(repondeur.boites().size(), 1);
        QVERIFY(repondeur.boites().first().texte.contains(";"));
        QVERIFY(dialogue->isVisible());
        const BD* album = fenetre.getAlbums().first();
        QVERIFY(album->getEmprunteur().isEmpty());
        QCOMPARE(album->nbEmprunts, 0);
        QVERIFY(!fenetre.estModifie());

        valider(dialogue, "Marc et Paul");
        QCOMPARE(album->getEmprunteur(), QString("Marc et Paul"));
    }

    void memeTitreEtCelluleDuTome()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(
            ligneAlbum("S", "T", 4) + ligneAlbum("S", "T", 7) + ligneAlbum("Autre", "T", 1));
        Phylacto fenetre;
        QCOMPARE(fenetre.getSerieCourante(), QString("Autre"));
        enfant<QListWidget>(&fenetre, "LstSerie")->setCurrentRow(1);
        QCOMPARE(fenetre.getSerieCourante(), QString("S"));

        // The volume cell's text is taken as a title: no album, no dialog.
        QVERIFY(choisirCellule(fenetre, "7"));
        QCOMPARE(ouvrirSaisie(fenetre), nullptr);

        auto* table = enfant<QTableWidget>(&fenetre, "LstAlbum");
        table->setCurrentCell(table->findItems("7", Qt::MatchExactly).first()->row(), 1);
        valider(ouvrirSaisie(fenetre), "Marc");
        QCOMPARE(fenetre.getAlbums().at(0)->getEmprunteur(), QString("Marc"));
        QVERIFY(fenetre.getAlbums().at(1)->getEmprunteur().isEmpty());
        QVERIFY(fenetre.getAlbums().at(2)->getEmprunteur().isEmpty());
    }

    void albumSupprimeAvantValidation()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligneAlbum("S", "T1", 1) + ligneAlbum("S", "T2", 2));
        Phylacto fenetre;
        QVERIFY(choisirCellule(fenetre, "T1"));
        QPointer<saisiePret> dialogue = ouvrirSaisie(fenetre);
        fenetre.getCatalogue().supprimerAlbum(fenetre.getAlbums().first());
        valider(dialogue, "Marc");
        QCOMPARE(fenetre.getAlbums().size(), 1);
        QVERIFY(fenetre.getAlbums().first()->getEmprunteur().isEmpty());
        QCOMPARE(fenetre.getAlbums().first()->nbEmprunts, 0);
        QVERIFY(!fenetre.estModifie());
        QVERIFY(!dialogue->isVisible());
    }

    void annulerNeChangeRien()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligneAlbum("S", "T1", 1));
        Phylacto fenetre;
        QVERIFY(choisirCellule(fenetre, "T1"));
        saisiePret* dialogue = ouvrirSaisie(fenetre);
        enfant<QLineEdit>(dialogue, "lePret")->setText("Marc");
        enfant<QPushButton>(dialogue, "pbAnnuler")->click();
        QVERIFY(!dialogue->isVisible());
        QVERIFY(fenetre.getAlbums().first()->getEmprunteur().isEmpty());
        QCOMPARE(fenetre.getAlbums().first()->nbEmprunts, 0);
        QVERIFY(!fenetre.estModifie());
    }

    void listeDesPrets()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(lignePret("S", "T1", 1, "Marc", "01/03/2014", 1)
            + lignePret("S", "T2", 2, "_") + lignePret("S", "T3", 3, "")
            + lignePret("A", "T4", 4, "Zoé", "05/06/2015", 3));
        Phylacto fenetre;
        Pret* prets = ouvrirPrets(fenetre);
        QVERIFY(prets);
        QVERIFY(prets->isVisible());
        QVERIFY(!prets->isModal());
        QCOMPARE(prets->windowTitle(), QString("Gestion des prets"));
        auto* table = enfant<QTableWidget>(prets, "LstPrets");
        QCOMPARE(table->columnCount(), 4);
        QStringList entetes;
        for (int colonne = 0; colonne < 4; ++colonne)
            entetes << table->horizontalHeaderItem(colonne)->text();
        QCOMPARE(entetes, QStringList({ "Serie", "Titre", "Emprunteur", "Date d'emprunt" }));
        QCOMPARE(table->rowCount(), 2);
        QStringList lignes { ligneTable(table, 0).join('|'), ligneTable(table, 1).join('|') };
        lignes.sort();
        QCOMPARE(lignes, QStringList({ "A|T4|Zoé|05/06/2015", "S|T1|Marc|01/03/2014" }));
        QVERIFY(!(table->item(0, 0)->flags() & Qt::ItemIsEditable));
        QVERIFY(!(table->item(1, 3)->flags() & Qt::ItemIsEditable));
        QVERIFY(table->isSortingEnabled());
        QCOMPARE(enfant<QPushButton>(prets, "pbRendue")->text(), QString("Rendue"));
        QCOMPARE(enfant<QPushButton>(prets, "pbQuitter")->text(), QString("Quitter"));
        // Until a row becomes current (showing the dialog may focus one).
        Pret cache(Emprunt::albumsPretes(fenetre.getAlbums()), &fenetre);
        QVERIFY(!enfant<QPushButton>(&cache, "pbRendue")->isEnabled());
        QCOMPARE(enfant<QTableWidget>(&cache, "LstPrets")->rowCount(), 2);

        // A snapshot: a loan made meanwhile shows at the next opening only.
        enfant<QListWidget>(&fenetre, "LstSerie")->setCurrentRow(1);
        QVERIFY(choisirCellule(fenetre, "T2"));
        valider(ouvrirSaisie(fenetre), "Paul");
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(enfant<QTableWidget>(ouvrirPrets(fenetre), "LstPrets")->rowCount(), 3);
    }

    void rendreApresTriParUneAutreColonne()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(lignePret("S", "T1", 1, "Zoé", "01/03/2014", 1)
            + lignePret("S", "T2", 2, "Anne", "02/03/2014", 2)
            + lignePret("S", "T3", 3, "Marc", "03/03/2014", 5));
        Phylacto fenetre;
        Pret* prets = ouvrirPrets(fenetre);
        auto* table = enfant<QTableWidget>(prets, "LstPrets");
        table->sortByColumn(2, Qt::AscendingOrder);
        QCOMPARE(table->item(0, 2)->text(), QString("Anne"));
        table->setCurrentCell(2, 0);
        QCOMPARE(table->item(2, 1)->text(), QString("T1"));
        auto* rendue = enfant<QPushButton>(prets, "pbRendue");
        QVERIFY(rendue->isEnabled());
        rendue->click();

        const BD* t1 = fenetre.getAlbums().at(0);
        QCOMPARE(t1->getEmprunteur(), QString(""));
        QVERIFY(!t1->getEmprunteur().isNull());
        QCOMPARE(t1->getDateEmprunt(), QString("01/03/2014"));
        QCOMPARE(t1->nbEmprunts, 1);
        QCOMPARE(fenetre.getAlbums().at(1)->getEmprunteur(), QString("Anne"));
        QCOMPARE(fenetre.getAlbums().at(2)->getEmprunteur(), QString("Marc"));
        QCOMPARE(table->rowCount(), 2);
        QVERIFY(table->findItems("T1", Qt::MatchExactly).isEmpty());
        QVERIFY(fenetre.estModifie());
    }

    void memeTitreRendLePremier()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(lignePret("S", "T", 1, "Marc") + lignePret("S", "T", 2, "Paul"));
        Phylacto fenetre;
        Pret* prets = ouvrirPrets(fenetre);
        auto* table = enfant<QTableWidget>(prets, "LstPrets");
        const int lignePaul = table->findItems("Paul", Qt::MatchExactly).first()->row();
        table->setCurrentCell(lignePaul, 2);
        enfant<QPushButton>(prets, "pbRendue")->click();
        QVERIFY(fenetre.getAlbums().at(0)->getEmprunteur().isEmpty());
        QCOMPARE(fenetre.getAlbums().at(1)->getEmprunteur(), QString("Paul"));
    }

    void rendreLaDerniereLigne()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(lignePret("S", "T1", 1, "Marc") + lignePret("S", "T2", 2, "Paul"));
        Phylacto fenetre;
        Pret* prets = ouvrirPrets(fenetre);
        auto* table = enfant<QTableWidget>(prets, "LstPrets");
        auto* rendue = enfant<QPushButton>(prets, "pbRendue");
        choisirLigne(table, "T2");
        rendue->click();
        // The current row moves to the remaining one, which is now selected.
        QCOMPARE(table->rowCount(), 1);
        rendue->click();
        QCOMPARE(table->rowCount(), 0);
        QVERIFY(fenetre.getAlbums().at(0)->getEmprunteur().isEmpty());
        QVERIFY(fenetre.getAlbums().at(1)->getEmprunteur().isEmpty());

        fenetre.setModifie(false);
        rendue->click();
        QCOMPARE(table->rowCount(), 0);
        QVERIFY(!fenetre.estModifie());
    }

    void albumSupprimeNonEcrit()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(lignePret("S", "T1", 1, "Marc") + lignePret("S", "T2", 2, "Paul")
            + lignePret("Z", "T9", 1, "Léa"));
        Phylacto fenetre;
        Pret* prets = ouvrirPrets(fenetre);
        auto* table = enfant<QTableWidget>(prets, "LstPrets");
        auto* rendue = enfant<QPushButton>(prets, "pbRendue");

        // Deleted while its row is current.
        choisirLigne(table, "T1");
        fenetre.getCatalogue().supprimerAlbum(fenetre.getAlbums().first());
        rendue->click();
        QCOMPARE(table->rowCount(), 3);
        QVERIFY(!fenetre.estModifie());

        // Deleted before its row is chosen, with the whole series.
        fenetre.getCatalogue().supprimerSerie("Z");
        choisirLigne(table, "T9");
        rendue->click();
        QCOMPARE(table->rowCount(), 3);
        QVERIFY(!fenetre.estModifie());
        QCOMPARE(fenetre.getAlbums().first()->getEmprunteur(), QString("Paul"));
    }

    void suppressionParLeMenuDialoguesOuverts()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(lignePret("S", "T1", 1, "Marc", "01/03/2014", 1)
            + lignePret("S", "T2", 2, "Paul", "02/03/2014", 2) + lignePret("S", "T3", 3, "")
            + lignePret("Z", "Z1", 1, "Léa", "03/03/2014", 3));
        Phylacto fenetre;
        QCOMPARE(fenetre.getSerieCourante(), QString("S"));
        QVERIFY(choisirCellule(fenetre, "T3"));
        QPointer<saisiePret> saisie = ouvrirSaisie(fenetre);
        QPointer<Pret> prets = ouvrirPrets(fenetre);
        QVERIFY(saisie && prets);
        declencherAction(&fenetre, "actionExploration_bd");
        QPointer<filtre> explorateur = fenetre.findChild<filtre*>();
        QVERIFY(explorateur);
        auto* tableExplorateur = enfant<QTableView>(explorateur, "tableResult");
        for (int ligne = 0; ligne < tableExplorateur->model()->rowCount(); ++ligne) {
            if (tableExplorateur->model()->index(ligne, 1).data() == "T3")
                explorateur->updateDataLigne(tableExplorateur->model()->index(ligne, 1));
        }
        auto* tablePrets = enfant<QTableWidget>(prets, "LstPrets");
        choisirLigne(tablePrets, "T1");

        QVERIFY(choisirCellule(fenetre, "T3"));
        supprimerParLeMenu(fenetre, "LstAlbum", "Supprimer album");
        QVERIFY(choisirCellule(fenetre, "T1"));
        supprimerParLeMenu(fenetre, "LstAlbum", "Supprimer album");
        auto* series = enfant<QListWidget>(&fenetre, "LstSerie");
        series->setCurrentItem(series->findItems("Z", Qt::MatchExactly).first());
        supprimerParLeMenu(fenetre, "LstSerie", "Supprimer série");
        QCOMPARE(fenetre.getAlbums().size(), 1);
        QVERIFY(saisie && prets && explorateur);
        fenetre.setModifie(false);
        auto* serie = enfant<QLineEdit>(&fenetre, "leSerie");
        serie->setText("rien");

        valider(saisie, "Jean");
        enfant<QPushButton>(prets, "pbRendue")->click();
        choisirLigne(tablePrets, "Z1");
        enfant<QPushButton>(prets, "pbRendue")->click();
        enfant<QPushButton>(explorateur, "pbShowMain")->click();

        const BD* reste = fenetre.getAlbums().first();
        QCOMPARE(reste->getTitre(), QString("T2"));
        QCOMPARE(reste->getEmprunteur(), QString("Paul"));
        QCOMPARE(reste->nbEmprunts, 2);
        QCOMPARE(reste->getDateEmprunt(), QString("02/03/2014"));
        QCOMPARE(tablePrets->rowCount(), 3);
        QCOMPARE(serie->text(), QString("rien"));
        QVERIFY(!fenetre.estModifie());

        // The album still there is returned as usual.
        choisirLigne(tablePrets, "T2");
        enfant<QPushButton>(prets, "pbRendue")->click();
        QVERIFY(reste->getEmprunteur().isEmpty());
        QCOMPARE(tablePrets->rowCount(), 2);
    }

    void quitterFermeSansRien()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(lignePret("S", "T1", 1, "Marc"));
        Phylacto fenetre;
        QPointer<Pret> prets = ouvrirPrets(fenetre);
        enfant<QTableWidget>(prets, "LstPrets")->setCurrentCell(0, 0);
        enfant<QPushButton>(prets, "pbQuitter")->click();
        QVERIFY(!prets->isVisible());
        traiterSuppressions();
        QVERIFY(!prets);
        QCOMPARE(fenetre.getAlbums().first()->getEmprunteur(), QString("Marc"));
        QVERIFY(!fenetre.estModifie());
    }
};

QTEST_MAIN(TestPrets)
#include "test_prets.moc"
