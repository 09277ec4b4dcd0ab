// Closing the window with and without unsaved changes, by the title bar and by "Quitter".
#include "app/phylacto.h"
#include "support/albumtest.h"
#include "support/dossiertravail.h"
#include "support/repondeur.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QtTest>

using Boutons = QList<QMessageBox::StandardButton>;
Q_DECLARE_METATYPE(Boutons)

class TestFermeture : public QObject
{
    Q_OBJECT

private slots:
    void fermer_data()
    {
        // "fichier" is a regular file, so "fichier/..." cannot be written.
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QString>("encodage");
        QTest::addColumn<bool>("modifie");
        QTest::addColumn<bool>("parQuitter");
        QTest::addColumn<Boutons>("reponses");
        QTest::addColumn<QString>("choisi");
        QTest::addColumn<bool>("ferme");
        QTest::addColumn<int>("nbBoites");
        QTest::addColumn<int>("lignesEcrites");

        const QString c = "collection.csv";
        const Boutons save { QMessageBox::Save };
        // clang-format off
        QTest::newRow("sans changement") << c << "UTF-8" << false << false << Boutons() << "" << true << 0 << 1;
        QTest::newRow("Cancel") << c << "UTF-8" << true << false << Boutons { QMessageBox::Cancel } << "" << false << 1 << 1;
        QTest::newRow("Quitter: Cancel") << c << "UTF-8" << true << true << Boutons { QMessageBox::Cancel } << "" << false << 1 << 1;
        QTest::newRow("Discard") << c << "UTF-8" << true << false << Boutons { QMessageBox::Discard } << "" << true << 1 << 1;
        QTest::newRow("Quitter: Discard") << c << "UTF-8" << true << true << Boutons { QMessageBox::Discard } << "" << true << 1 << 1;
        QTest::newRow("Save") << c << "UTF-8" << true << false << save << "" << true << 1 << 2;
        QTest::newRow("défaut") << c << "UTF-8" << true << false << Boutons { QMessageBox::NoButton } << "" << true << 1 << 2;
        QTest::newRow("écriture impossible") << "fichier/c.csv" << "UTF-8" << true << false << save << "" << false << 2 << 0;
        QTest::newRow("sans nom, annulé") << "" << "UTF-8" << true << true << save << "" << false << 1 << 0;
        QTest::newRow("sans nom, choisi") << "" << "UTF-8" << true << true << save << "premiere.csv" << true << 1 << 1;
        QTest::newRow("intraduisible, annulé") << c << "KOI8-R" << true << false << Boutons { QMessageBox::Save, QMessageBox::Cancel } << "" << false << 2 << 1;
        // clang-format on
    }

    void fermer()
    {
        QFETCH(QString, nom);
        QFETCH(QString, encodage);
        QFETCH(bool, parQuitter);
        QFETCH(Boutons, reponses);
        QFETCH(QString, choisi);
        QFETCH(bool, ferme);
        DossierTravail dossier;
        dossier.ecrireFichier("fichier", "pas un dossier");
        dossier.ecrireParametres({ { "BASE/FileName", nom }, { "BASE/Encodage", encodage } });
        if (nom == "collection.csv")
            dossier.ecrireFichier(nom, ligneAlbum("Zorro", "Z1", 1));
        RepondeurModal repondeur;
        Phylacto fenetre;
        fenetre.show();
        fenetre.getCatalogue().attacher(albumTest("Largo", "Cent €"));
        QFETCH(bool, modifie);
        fenetre.setModifie(modifie);

        for (QMessageBox::StandardButton reponse : reponses)
            repondeur.repondreBoite(reponse);
        if (!choisi.isEmpty())
            repondeur.repondreFichier(dossier.chemin(choisi));
        if (parQuitter)
            QVERIFY(declencherAction(&fenetre, "actionQuitter"));
        else
            QCOMPARE(fenetre.close(), ferme);

        QCOMPARE(fenetre.isVisible(), !ferme);
        if (!ferme)
            QVERIFY(fenetre.estModifie());
        QTEST(int(repondeur.boites().size()), "nbBoites");
        QTEST(
            int(dossier.lireFichier(choisi.isEmpty() ? nom : choisi).count('\n')), "lignesEcrites");
        if (repondeur.boites().isEmpty())
            return;
        const RepondeurModal::BoiteVue boite = repondeur.boites().first();
        QCOMPARE(boite.texte, QString("Votre base de données a ete modifiée"));
        QCOMPARE(boite.texteInformatif, QString("Voulez vous sauvegarder les changements?"));
        QCOMPARE(boite.boutons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        QCOMPARE(boite.boutonParDefaut, QMessageBox::Save);
        QVERIFY(!boite.avecParent);
        if (nom.startsWith("fichier/"))
            QVERIFY(repondeur.boites().at(1).texte.startsWith("Impossible d'enregistrer "));
    }

    // The settings window is a top-level window of its own: it must not keep
    // the program running once the main window has closed.
    void fermetureTermineLeProgramme()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligneAlbum("Zorro", "Z1", 1));
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
        QTimer garde;
        garde.callOnTimeout([] { QCoreApplication::exit(1); });
        garde.start(2000);
        QVERIFY2(
            QCoreApplication::exec() == 0, "the event loop went on after the main window closed");
        QVERIFY(!fenetre.isVisible());
        delete parametres.data();
    }
};

QTEST_MAIN(TestFermeture)
#include "test_fermeture.moc"
