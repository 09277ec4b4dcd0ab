// Undo and redo of deletions, changes, loans and returns, and the unsaved flag.
#include "dialogs/pret.h"
#include "dialogs/saisiepret.h"
#include "model/serie.h"
#include "support/fixture.h"

#include <QtWidgets>

namespace {

// Everything undo must give back: every field of every album in catalogue
// order, the series lists, then the window's lists, table and counters (last).
QStringList etat(Scene& scene)
{
    QStringList lignes;
    for (const BD* a : scene.fenetre->getAlbums()) {
        const ChampsAlbum c = a->champs();
        lignes << QStringList { c.serie, c.titre, QString::number(c.tome), c.dessinateur,
            c.scenariste, c.editeur, c.commentaire, QString::number(c.entier8), c.genre, c.image,
            c.emprunteur, c.dateEmprunt, QString::number(c.reel13), QString::number(c.type),
            c.texte15, QString::number(c.note), QString::number(c.serieFinie),
            QString::number(c.nbEmprunts), c.texte19, c.coloriste }.join('|');
    }
    Catalogue& catalogue = scene.fenetre->getCatalogue();
    for (const QList<Serie*>* liste : { &catalogue.series(), &catalogue.seriesEuro(),
             &catalogue.seriesComics(), &catalogue.seriesManga() }) {
        QStringList noms;
        for (const Serie* s : *liste)
            noms << QString("%1/%2/%3").arg(s->getNom()).arg(s->tomeMax).arg(s->serieFinie);
        lignes << noms.join(',');
    }
    // The detail panel shows the album the step touched: left out.
    return lignes << scene.resume().section(" | ", 0, -2);
}

} // namespace

class TestAnnulation : public QObject
{
    Q_OBJECT

private slots:
    void actionAnnuleeEtRetablie_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("texteAnnuler");
        QTest::newRow("album") << "album" << "Annuler la suppression de l'album Arctic Nation";
        QTest::newRow("série") << "serie" << "Annuler la suppression de la série Blacksad";
        QTest::newRow("changement") << "changement" << "Annuler la modification de l'album Arctic Nation";
        QTest::newRow("série finie") << "finie" << "Annuler la modification de l'album Arctic Nation";
        QTest::newRow("prêt") << "pret" << "Annuler le prêt de l'album Arctic Nation";
        QTest::newRow("retour") << "retour" << "Annuler le retour de l'album Quelque part";
    }
    void actionAnnuleeEtRetablie()
    {
        QFETCH(QString, action);
        QFETCH(QString, texteAnnuler);
        // Blacksad's albums stand apart in the file, one lent, one with a cover.
        Scene scene(ligneAlbum("Blacksad", "Quelque part", 1, 0, "", "Marc")
            + ligneAlbum("Aldebaran", "La Catastrophe", 1, 1)
            + ligneAlbum("Blacksad", "Arctic Nation", 2, 0, "images//a.jpg")
            + ligneAlbum("Aldebaran", "La Blonde", 2, 1) + ligneAlbum("Blacksad", "Ame Rouge", 3)
            + ligneAlbum("Canardo", "Le Chien debout", 1));
        Phylacto& fenetre = scene.ouvrir();
        QVERIFY(scene.choisir("Blacksad", "Arctic Nation"));
        const QStringList avant = etat(scene);

        if (action == "album") {
            fenetre.suppAlbum();
        } else if (action == "serie") {
            fenetre.suppSerie();
        } else if (action == "changement" || action == "finie") {
            fenetre.ModifAlbum({});
            fenetre.UpdateAlbum(action == "finie" ? "Blacksad" : "Nouvelle", "Titre changé", "S",
                "D", 9, "c", action == "finie" ? 0 : 2, 5, 2, "E", "G", "C");
        } else if (action == "pret") {
            fenetre.Preter();
            auto* dialogue = fenetre.findChild<saisiePret*>();
            QVERIFY(dialogue);
            emit dialogue->pretValide("Blacksad", "Arctic Nation", "Julie");
        } else {
            fenetre.affichagePret();
            auto* dialogue = fenetre.findChild<Pret*>();
            QVERIFY(dialogue);
            emit dialogue->albumRendu(fenetre.getAlbums().first());
        }
        const QStringList apres = etat(scene);
        QVERIFY(apres != avant);
        QVERIFY(fenetre.estModifie());
        QCOMPARE(fenetre.findChild<QAction*>("actionAnnuler")->text(), texteAnnuler);

        for (int tour = 0; tour < 2; ++tour) {
            QVERIFY(declencherAction(&fenetre, "actionAnnuler"));
            QCOMPARE(etat(scene), avant);
            QVERIFY(!fenetre.estModifie()); // back to the file as loaded
            QVERIFY(declencherAction(&fenetre, "actionRetablir"));
            QCOMPARE(etat(scene).mid(0, apres.size() - 1), apres.mid(0, apres.size() - 1));
            QVERIFY(fenetre.estModifie());
        }
    }

    void retourAuPointEnregistre()
    {
        Scene scene(ligneAlbum("Blacksad", "Quelque part", 1)
            + ligneAlbum("Blacksad", "Arctic Nation", 2) + ligneAlbum("Blacksad", "Ame Rouge", 3));
        Phylacto& fenetre = scene.ouvrir();
        QVERIFY(scene.choisir("Blacksad", "Quelque part"));
        fenetre.suppAlbum();
        fenetre.suppAlbum();
        fenetre.save();
        QVERIFY(declencherAction(&fenetre, "actionAnnuler"));
        QVERIFY(declencherAction(&fenetre, "actionAnnuler"));
        QCOMPARE(fenetre.getAlbums().size(), 3);
        QVERIFY(fenetre.estModifie());
        QVERIFY(declencherAction(&fenetre, "actionRetablir"));
        QVERIFY(declencherAction(&fenetre, "actionRetablir"));
        QVERIFY(!fenetre.estModifie()); // the saved state again

        // An album added outside the stack stays unsaved whatever is undone.
        QVERIFY(scene.choisir("Blacksad", "Ame Rouge"));
        fenetre.suppAlbum();
        fenetre.nouvelAlbum("Blacksad", "Neuf", "", "", 4, "", 0, 0, 0, "", "", "");
        QVERIFY(declencherAction(&fenetre, "actionAnnuler"));
        QVERIFY(fenetre.estModifie());
        QCOMPARE(fenetre.getAlbums().size(), 2);
    }
};

QTEST_MAIN(TestAnnulation)
#include "test_annulation.moc"
