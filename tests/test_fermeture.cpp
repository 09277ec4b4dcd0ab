// Closing the window with and without unsaved changes, by the title bar and by "Quitter".
#include "app/phylacto.h"
#include "support/albumtest.h"
#include "support/dossiertravail.h"
#include "support/repondeur.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QtTest>

namespace {

const QByteArray ligneZ1 = ligneAlbum("Zorro", "Z1", 1);

} // namespace

class TestFermeture : public QObject
{
    Q_OBJECT

private slots:
    void sansChangementPasDeQuestion()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligneZ1);
        RepondeurModal repondeur;
        Phylacto fenetre;
        fenetre.show();
        QVERIFY(fenetre.close());
        QVERIFY(repondeur.boites().isEmpty());

        // Nor after a save.
        Phylacto deuxieme;
        deuxieme.show();
        deuxieme.getCatalogue().attacher(albumTest("S", "T"));
        deuxieme.setModifie(true);
        deuxieme.save();
        QVERIFY(deuxieme.close());
        QVERIFY(repondeur.boites().isEmpty());
    }

    void question_data()
    {
        QTest::addColumn<bool>("parQuitter");
        QTest::newRow("barre de titre") << false;
        QTest::newRow("Quitter") << true;
    }

    void question()
    {
        QFETCH(bool, parQuitter);
        DossierTravail dossier;
        dossier.ecrireCollection(ligneZ1);
        RepondeurModal repondeur;
        Phylacto fenetre;
        fenetre.show();
        fenetre.getCatalogue().attacher(albumTest("S", "T"));
        fenetre.setModifie(true);

        repondeur.repondreBoite(QMessageBox::Cancel);
        if (parQuitter)
            QVERIFY(declencherAction(&fenetre, "actionQuitter"));
        else
            QVERIFY(!fenetre.close());

        QCOMPARE(repondeur.boites().size(), 1);
        const RepondeurModal::BoiteVue boite = repondeur.boites().first();
        QCOMPARE(boite.texte, QString("Votre base de données a ete modifiée"));
        QCOMPARE(boite.texteInformatif, QString("Voulez vous sauvegarder les changements?"));
        QCOMPARE(boite.boutons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        QCOMPARE(boite.boutonParDefaut, QMessageBox::Save);
        QVERIFY(!boite.avecParent);
        QVERIFY(boite.titre.isEmpty() || boite.titre == QCoreApplication::applicationName());

        QVERIFY(fenetre.isVisible());
        QVERIFY(fenetre.estModifie());
        QCOMPARE(fenetre.getAlbums().size(), 2);
        QCOMPARE(dossier.lireFichier("collection.csv"), ligneZ1);
    }

    void reponses_data()
    {
        QTest::addColumn<int>("reponse");
        QTest::addColumn<bool>("ferme");
        QTest::addColumn<int>("lignesEcrites");
        QTest::newRow("Save") << int(QMessageBox::Save) << true << 2;
        QTest::newRow("Discard") << int(QMessageBox::Discard) << true << 1;
        QTest::newRow("Cancel") << int(QMessageBox::Cancel) << false << 1;
        QTest::newRow("défaut") << int(QMessageBox::NoButton) << true << 2;
    }

    void reponses()
    {
        QFETCH(int, reponse);
        QFETCH(bool, ferme);
        QFETCH(int, lignesEcrites);
        DossierTravail dossier;
        dossier.ecrireCollection(ligneZ1);
        RepondeurModal repondeur;
        Phylacto fenetre;
        fenetre.show();
        fenetre.getCatalogue().attacher(albumTest("S", "T"));
        fenetre.setModifie(true);

        repondeur.repondreBoite(QMessageBox::StandardButton(reponse));
        QCOMPARE(fenetre.close(), ferme);
        QCOMPARE(fenetre.isVisible(), !ferme);
        QCOMPARE(repondeur.boites().size(), 1);
        QCOMPARE(dossier.lireFichier("collection.csv").count('\n'), lignesEcrites);
    }

    // The settings window is a top-level window of its own: it must not keep
    // the program running once the main window has closed.
    void fermetureTermineLeProgramme()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligneZ1);
        Phylacto fenetre;
        fenetre.show();
        QVERIFY(declencherAction(&fenetre, "actionConfiguration_reseau"));
        QPointer<QWidget> parametres;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w != &fenetre && w->isVisible() && w->inherits("GestionReseau"))
                parametres = w;
        }
        QVERIFY(parametres);

        QTimer::singleShot(0, &fenetre, [&fenetre] { fenetre.close(); });
        bool boucleArretee = true;
        QTimer garde;
        garde.setSingleShot(true);
        connect(&garde, &QTimer::timeout, [&boucleArretee] {
            boucleArretee = false;
            QCoreApplication::exit(1);
        });
        garde.start(2000);
        QCoreApplication::exec();
        garde.stop();
        QVERIFY2(boucleArretee, "the event loop went on after the main window closed");
        QVERIFY(!fenetre.isVisible());
        delete parametres.data();
    }

    // A save that does not happen must not lose the changes with the window.
    void saveEchoueFenetreRestee()
    {
        DossierTravail dossier;
        dossier.ecrireFichier("fichier", "pas un dossier");
        dossier.ecrireParametres(
            { { "BASE/FileName", "fichier/collection.csv" }, { "BASE/Encodage", "UTF-8" } });
        RepondeurModal repondeur;
        Phylacto fenetre;
        fenetre.show();
        fenetre.getCatalogue().attacher(albumTest("S", "T"));
        fenetre.setModifie(true);

        repondeur.repondreBoite(QMessageBox::Save);
        QVERIFY(!fenetre.close());
        QCOMPARE(repondeur.boites().size(), 2);
        QVERIFY(repondeur.boites().at(1).texte.startsWith("Impossible d'enregistrer "));
        QVERIFY(fenetre.isVisible());
        QVERIFY(fenetre.estModifie());
    }

    void saveSansNomAnnuleFenetreRestee()
    {
        DossierTravail dossier;
        RepondeurModal repondeur;
        Phylacto fenetre;
        fenetre.show();
        fenetre.getCatalogue().attacher(albumTest("S", "T"));
        fenetre.setModifie(true);

        repondeur.repondreBoite(QMessageBox::Save);
        QVERIFY(declencherAction(&fenetre, "actionQuitter"));
        QCOMPARE(repondeur.nbDialoguesFichier(), 1);
        QVERIFY(fenetre.isVisible());
        QVERIFY(fenetre.estModifie());

        // Second try: a name is chosen, the collection is written and the window closes.
        repondeur.repondreBoite(QMessageBox::Save);
        repondeur.repondreFichier(dossier.chemin("premiere.csv"));
        QVERIFY(fenetre.close());
        QCOMPARE(dossier.lireFichier("premiere.csv").count('\n'), 1);
        QCOMPARE(dossier.valeurParametre("BASE/FileName"), QString("premiere.csv"));
    }

    void saveIntraduisibleAnnuleFenetreRestee()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligneZ1, "collection.csv", "KOI8-R");
        RepondeurModal repondeur;
        Phylacto fenetre;
        fenetre.show();
        fenetre.getCatalogue().attacher(albumTest("Largo", "Cent €"));
        fenetre.setModifie(true);

        repondeur.repondreBoite(QMessageBox::Save);
        repondeur.repondreBoite(QMessageBox::Cancel);
        QVERIFY(!fenetre.close());
        QCOMPARE(repondeur.boites().size(), 2);
        QVERIFY(fenetre.isVisible());
        QCOMPARE(dossier.lireFichier("collection.csv"), ligneZ1);
    }
};

QTEST_MAIN(TestFermeture)
#include "test_fermeture.moc"
