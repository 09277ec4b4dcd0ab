// Import of collection files and conversion of the older ".db" files.
#include "app/phylacto.h"
#include "model/bd.h"
#include "model/catalogue.h"
#include "model/serie.h"
#include "settings/codecs.h"
#include "store/importation.h"
#include "store/ligneancienne.h"
#include "store/lignecollection.h"
#include "support/dossiertravail.h"
#include "support/repondeur.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTextCodec>
#include <QtTest>

#include <cfloat>
#include <climits>
#include <memory>

namespace {

const QString avertissement = QStringLiteral(
    "Attention ! Votre fichier va être convertit en CSV. Si vous avez pensez à mettre le "
    "repertoire images au même endroits, les images seront aussi importé.");

QString erreurAncienne(int ligne)
{
    return QStringLiteral("Erreur à la ligne %1.\n Merci de toujours laisser 19 parametres, même vide")
        .arg(ligne);
}

// A legacy line with these series, title, cover and comment.
QByteArray ligneAncienne(const QByteArray& serie, const QByteArray& titre,
                         const QByteArray& image = "_", const QByteArray& commentaire = "Bon")
{
    return "\"" + serie + "\" \"" + titre + "\" 1 \"Dessinateur\" \"Scenariste\" \"Dargaud\" \""
           + commentaire + "\" 0 \"Aventure\" \"" + image
           + "\" \"_\" \"_\" 0 0 \"_\" 3 0 0 \"_\"\n";
}

QStringList lignesDuCatalogue(const QList<BD*>& albums)
{
    QStringList lignes;
    for (const BD* album : albums)
        lignes.append(LigneCollection::encoder(*album));
    return lignes;
}

} // namespace

class TestImport : public QObject
{
    Q_OBJECT

private slots:
    void analyseLigneAncienne_data()
    {
        QTest::addColumn<QByteArray>("ligne");
        QTest::addColumn<bool>("valide");
        QTest::addColumn<QByteArray>("convertie");

        const QByteArray milieu = " \"D\" \"Sc\" \"E\" \"C\" 7 \"G\" \"images\\\\a.jpg\" \"_\" \"_\" ";
        QTest::newRow("ordinaire")
            << QByteArray("\"Blake\" \"Marque\" 6" + milieu + "12.5 1 \"_\" 4 1 2 \"t19\"\r\n") << true
            << QByteArray("Blake;Marque;6;D;Sc;E;C;7;G;images//a.jpg;_;_;12.5;1;_;4;1;2;t19\n");
        QTest::newRow("bases automatiques")
            << QByteArray("\"S\" \"T\" 010" + milieu + "0 0x1A \"_\" -0X7f +9 08 \"x\"") << false
            << QByteArray(); // "08": 0, then 8 for the next integer, then "x" is not where a number is
        QTest::newRow("octal et hexadécimal")
            << QByteArray("\"S\" \"T\" 010" + milieu + "0 0x1A \"_\" -0X7f +9 007 \"x\"") << true
            << QByteArray("S;T;8;D;Sc;E;C;7;G;images//a.jpg;_;_;0;26;_;-127;9;7;x\n");
        QTest::newRow("sans blancs, tabulations")
            << QByteArray("\"S\"\"T\"1\t\"D\"\"Sc\"\"E\"\"C\"7\"G\"\"I\"\"_\"\"_\"-1.5e+3 0\"_\"0 0 0\"x\"")
            << true << QByteArray("S;T;1;D;Sc;E;C;7;G;I;_;_;-1500;0;_;0;0;0;x\n");
        QTest::newRow("suite ignorée")
            << QByteArray("\"S\" \"T\" 1" + milieu + ".5 0 \"_\" 0 0 0 \"x\" \"encore\" 12\n") << true
            << QByteArray("S;T;1;D;Sc;E;C;7;G;images//a.jpg;_;_;0.5;0;_;0;0;0;x\n");
        QTest::newRow("0x sans chiffre") << QByteArray("\"S\" \"T\" 0x \"D\"") << false << QByteArray();
        QTest::newRow("texte vide")
            << QByteArray("\"S\" \"\" 1" + milieu + "0 0 \"_\" 0 0 0 \"x\"\n") << false << QByteArray();
        QTest::newRow("ligne blanche") << QByteArray("\n") << false << QByteArray();
        QTest::newRow("blanc en tête")
            << QByteArray(" \"S\" \"T\" 1" + milieu + "0 0 \"_\" 0 0 0 \"x\"\n") << false << QByteArray();
        QTest::newRow("18 champs")
            << QByteArray("\"S\" \"T\" 1" + milieu + "0 0 \"_\" 0 0 0\n") << false << QByteArray();
        QTest::newRow("dernier guillemet absent")
            << QByteArray("\"S\" \"T\" 1" + milieu + "0 0 \"_\" 0 0 0 \"x\n") << false << QByteArray();
        QTest::newRow("nombre sans chiffre")
            << QByteArray("\"S\" \"T\" 1" + milieu + "- 0 \"_\" 0 0 0 \"x\"\n") << false << QByteArray();
        QTest::newRow("entiers hors limites")
            << QByteArray("\"S\" \"T\" 99999999999" + milieu + "0 -0x80000001 \"_\" 2147483647 -2147483648 0 \"x\"")
            << true
            << QByteArray("S;T;2147483647;D;Sc;E;C;7;G;images//a.jpg;_;_;0;-2147483648;_;2147483647;-2147483648;0;x\n");
        QTest::newRow("réels hors limites")
            << QByteArray("\"S\" \"T\" 1" + milieu + "-1e400 0 \"_\" 0 0 0 \"x\"") << true
            << QByteArray("S;T;1;D;Sc;E;C;7;G;images//a.jpg;_;_;-1.79769e+308;0;_;0;0;0;x\n");
        // One ";" would give 20 fields, which the import would read shifted.
        QTest::newRow("point-virgule")
            << QByteArray("\"S\" \"T\" 1" + milieu + "0 0 \"_\" 0 0 0 \"a;b\"") << true
            << QByteArray("S;T;1;D;Sc;E;C;7;G;images//a.jpg;_;_;0;0;_;0;0;0;a;b;\n");
        QTest::newRow("deux points-virgules")
            << QByteArray("\"S;\" \"T\" 1" + milieu + "0 0 \"_\" 0 0 0 \"a;b\"") << true
            << QByteArray("S;;T;1;D;Sc;E;C;7;G;images//a.jpg;_;_;0;0;_;0;0;0;a;b\n");
    }

    void analyseLigneAncienne()
    {
        QFETCH(QByteArray, ligne);
        QFETCH(QByteArray, convertie);
        bool valide = false;
        const QByteArray obtenue =
            LigneAncienne::convertir(ligne, QTextCodec::codecForName("UTF-8"), &valide);
        QTEST(valide, "valide");
        QCOMPARE(obtenue, convertie);
        if (valide) {
            int nbParties = 0;
            std::unique_ptr<BD> album(LigneCollection::decoder(QString::fromUtf8(obtenue.chopped(1)), &nbParties));
            QCOMPARE(bool(album), !obtenue.contains("a;b"));
        }
    }

    void texteLongEtOctetsQuelconques()
    {
        const QByteArray long5000(5000, 'x');
        AlbumAncien album;
        QVERIFY(LigneAncienne::analyser("\"S\" \"T\" 1 \"D\" \"Sc\" \"E\" \"" + long5000
                                            + "\" 0 \"G\" \"I\" \"_\" \"_\" 1e-5 2 \"_\" 0 0 0 \"\t\x01\xff\"",
                                        album));
        QCOMPARE(album.commentaire, long5000);
        QCOMPARE(album.reel13, 1e-5);
        QCOMPARE(album.type, 2);
        QCOMPARE(album.texte19, QByteArray("\t\x01\xff"));
        // The analysis stops at the view's end, whatever follows in memory.
        const QByteArray tampon = "\"S\" \"T\" 1 \"D\" \"Sc\" \"E\" \"C\" 0 \"G\" \"I\" \"_\" \"_\" 0 2 \"_\" 0 0 0 \"x\"";
        QVERIFY(!LigneAncienne::analyser(QByteArrayView(tampon).chopped(1), album));
        QVERIFY(!LigneAncienne::analyser(QByteArrayView(tampon).first(18), album));
    }

    void nomDuFichierConverti_data()
    {
        QTest::addColumn<QString>("ancien");
        QTest::addColumn<QString>("converti");
        QTest::newRow("db") << "/tmp/x/bd.db" << "/tmp/x/bd.csv";
        QTest::newRow("txt") << "/tmp/x/liste.txt" << "/tmp/x/liste.tcsv";
        QTest::newRow("CSV majuscule") << "/tmp/x/file.CSV" << "/tmp/x/file.Ccsv";
        QTest::newRow("dossier à point") << "/tmp/x.db/b" << "/tmp/x.db/csv";
    }

    void nomDuFichierConverti()
    {
        QFETCH(QString, ancien);
        QTEST(Importation::nomConverti(ancien), "converti");
        QTEST(Importation::nomConverti(ancien, "/tmp/autre.csv"), "converti");
    }

    void importRelitLeCatalogue()
    {
        DossierTravail dossier;
        Catalogue original;
        original.attacher(new BD("Astérix", "Le Tour", 5, "Uderzo", "Goscinny", "Dargaud", "Bon", 7,
                                 "Humour", "images//a.jpg", "Marc", "01/03/2014", 1234567.5, 0, "",
                                 4, 1, 3, "t19", "Coloriste"));
        original.attacher(new BD("Akira", "Vol 1", 1, "Otomo", "Otomo", "Glénat", "", 0, "SF", "_",
                                 "_", "", 0.25, 2, "x", 0, 0, 0, "", ""));
        original.attacher(new BD("Astérix", "La Zizanie", 15, "", "", "", "", 0, "", "", "", "",
                                 0, 1, "", 0, 0, 0, "", "C"));
        QByteArray contenu;
        for (const BD* album : original.albums())
            contenu += (LigneCollection::encoder(*album) + '\n').toUtf8();
        // The file as "Enregistrer" writes it, then an empty catalogue imports it.
        dossier.ecrireCollection(contenu, "sauve.csv");
        {
            Phylacto source;
            QCOMPARE(source.getAlbums().size(), 3);
            source.setModifie(true);
            source.save();
        }
        QCOMPARE(dossier.lireFichier("sauve.csv"), contenu);
        dossier.ecrireParametres({{"BASE/FileName", "vide.csv"}});

        RepondeurModal repondeur;
        Phylacto fenetre;
        QVERIFY(fenetre.getAlbums().isEmpty());
        repondeur.repondreFichier(dossier.chemin("sauve.csv"));
        QVERIFY(declencherAction(&fenetre, "actionImporter_Csv"));
        QCOMPARE(repondeur.nbDialoguesFichier(), 1);
        QCOMPARE(repondeur.titreDernierDialogueFichier(), QString("Importer fichier"));
        QCOMPARE(repondeur.filtresDernierDialogueFichier(), QStringList({"CSV (*.csv)", "BD (*.db)"}));
        QVERIFY(repondeur.textesBoites().isEmpty());
        const QStringList lignes = lignesDuCatalogue(original.albums());
        QCOMPARE(lignesDuCatalogue(fenetre.getAlbums()), lignes);
        QCOMPARE(fenetre.getCatalogue().series().size(), 2);
        QCOMPARE(fenetre.findSerie("Astérix")->type, 0);
        QVERIFY(fenetre.estModifie());
        QCOMPARE(enfant<QListWidget>(&fenetre, "LstSerie")->count(), 2);
        QCOMPARE(enfant<QListWidget>(&fenetre, "LstManga")->count(), 1);
        QCOMPARE(enfant<QLabel>(&fenetre, "lbTotale")->text(), QString("3"));

        repondeur.repondreFichier(dossier.chemin("sauve.csv"));
        QVERIFY(declencherAction(&fenetre, "actionImporter_Csv"));
        QCOMPARE(repondeur.nbDialoguesFichier(), 2);
        QCOMPARE(lignesDuCatalogue(fenetre.getAlbums()), lignes + lignes);
        QCOMPARE(fenetre.getCatalogue().series().size(), 2);
        QCOMPARE(enfant<QListWidget>(&fenetre, "LstSerie")->count(), 2);
        QCOMPARE(enfant<QLabel>(&fenetre, "lbTotale")->text(), QString("6"));
    }

    void importCsvLignesDiverses()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligneAlbum("Déjà", "D1", 1));
        dossier.ecrireFichier("crlf.csv", "S;T;1;D;Sc;E;C;0;G;_;_;;0;0;_;0;0;0;;Col\r\n"
                                          "S;T2;1;D;Sc;E;C;0;G;_;_;;0;0;_;0;0;0;\r\n"
                                          "S;T3;trop;de;champs;E;C;0;G;_;_;;0;0;_;0;0;0;;Col;x\r\n"
                                          "S;T4;1;D;Sc;E;C;0;G;_;_;;0;0;_;0;0;0;;Col\r\n");
        RepondeurModal repondeur;
        Phylacto fenetre;
        repondeur.repondreFichier(dossier.chemin("crlf.csv"));
        QVERIFY(declencherAction(&fenetre, "actionImporter_Csv"));
        QCOMPARE(fenetre.getAlbums().size(), 3);
        QCOMPARE(fenetre.getAlbums().at(1)->getColoriste(), QString("Col"));
        QCOMPARE(fenetre.getAlbums().at(2)->getColoriste(), QString());
        QCOMPARE(fenetre.getAlbums().at(2)->getTexte19(), QString());
        QCOMPARE(repondeur.textesBoites(),
                 QStringList("Erreur à la ligne S;T3;trop;de;champs;E;C;0;G;_;_;;0;0;_;0;0;0;;Col;x.\n"
                             " Merci de toujours laisser 20 parametres et non 21, même vide"));

        // Cancelled, or a file that cannot be read: nothing added; cancelled, still counted as changed.
        fenetre.setModifie(false);
        QVERIFY(declencherAction(&fenetre, "actionImporter_Csv"));
        QVERIFY(fenetre.estModifie());
        QCOMPARE(fenetre.getAlbums().size(), 3);
        Catalogue catalogue;
        QCOMPARE(Importation::importer(dossier.chemin("absent.csv"), Codecs::codec8Bits(), catalogue).etat,
                 LectureCollection::Illisible);
        QCOMPARE(Importation::importer(QString(), Codecs::codec8Bits(), catalogue).etat,
                 LectureCollection::Illisible);
        QVERIFY(catalogue.albums().isEmpty());
        QCOMPARE(repondeur.textesBoites().size(), 1);
    }

    void conversionAvecImages()
    {
        DossierTravail dossier;
        dossier.ecrireFichier("ancien/bd.db", ligneAncienne("Blake", "Marque", "images\\marque.jpg")
                                                   + ligneAncienne("Blake", "Espadon", "images\\espadon.jpg")
                                                   + ligneAncienne("Tintin", "Lotus", "_", "Très bon"));
        dossier.ecrireFichier("ancien/images/marque.jpg", "nouvelle marque");
        dossier.ecrireFichier("ancien/images/espadon.jpg", "espadon");
        dossier.ecrireFichier("ancien/images/.cachee.jpg", "cachée");
        dossier.ecrireFichier("ancien/images/sous/dedans.jpg", "dans un dossier");
        dossier.ecrireFichier("images/marque.jpg", "marque déjà là");

        RepondeurModal repondeur;
        Phylacto fenetre;
        repondeur.repondreFichier(dossier.chemin("ancien/bd.db"));
        QVERIFY(declencherAction(&fenetre, "actionImporter_Csv"));
        QCOMPARE(repondeur.textesBoites(), QStringList(avertissement));
        QVERIFY(!repondeur.boites().first().avecParent);
        QVERIFY(repondeur.boites().first().titre.isEmpty());

        QCOMPARE(dossier.lireFichier("ancien/bd.csv"),
                 "Blake;Marque;1;Dessinateur;Scenariste;Dargaud;Bon;0;Aventure;images/marque.jpg;_;_;0;0;_;3;0;0;_\n"
                 "Blake;Espadon;1;Dessinateur;Scenariste;Dargaud;Bon;0;Aventure;images/espadon.jpg;_;_;0;0;_;3;0;0;_\n"
                 + QString("Tintin;Lotus;1;Dessinateur;Scenariste;Dargaud;Très bon;0;Aventure;_;_;_;0;0;_;3;0;0;_\n").toUtf8());
        QCOMPARE(fenetre.getAlbums().size(), 3);
        for (const BD* album : fenetre.getAlbums())
            QVERIFY(album->getColoriste().isEmpty());
        QCOMPARE(fenetre.getAlbums().at(0)->getImage(), QString("images/marque.jpg"));
        QCOMPARE(fenetre.getAlbums().at(2)->getCommentaire(), QString("Très bon"));
        QCOMPARE(fenetre.getCatalogue().series().size(), 2);
        QVERIFY(fenetre.estModifie());

        QCOMPARE(dossier.lireFichier("images/marque.jpg"), QByteArray("marque déjà là"));
        QCOMPARE(dossier.lireFichier("images/espadon.jpg"), QByteArray("espadon"));
        QVERIFY(!QFile::exists(dossier.chemin("images/.cachee.jpg")));
        QVERIFY(!QFile::exists(dossier.chemin("images/sous")));
        QVERIFY(!QFile::exists(dossier.chemin("images/dedans.jpg")));
        QVERIFY(!QApplication::overrideCursor());
    }

    void conversionArreteeALaLigneFautive_data()
    {
        QTest::addColumn<QByteArray>("fautive");
        QTest::newRow("texte vide") << ligneAncienne("Blake", "");
        QTest::newRow("ligne blanche") << QByteArray("\n");
        QTest::newRow("ligne blanche crlf") << QByteArray("\r\n");
    }

    void conversionArreteeALaLigneFautive()
    {
        QFETCH(QByteArray, fautive);
        DossierTravail dossier;
        dossier.ecrireFichier("ancien/bd.db", ligneAncienne("A", "1") + ligneAncienne("B", "2") + fautive
                                                   + ligneAncienne("C", "3"));
        RepondeurModal repondeur;
        Phylacto fenetre;
        repondeur.repondreFichier(dossier.chemin("ancien/bd.db"));
        QVERIFY(declencherAction(&fenetre, "actionImporter_Csv"));
        QCOMPARE(repondeur.textesBoites(), QStringList({avertissement, erreurAncienne(3)}));
        QCOMPARE(dossier.lireFichier("ancien/bd.csv").count('\n'), 2);
        QCOMPARE(fenetre.getAlbums().size(), 2);
        QCOMPARE(fenetre.getAlbums().at(1)->getSerie(), QString("B"));
    }

    void fichierCsvEnMajusculesTraiteCommeAncien()
    {
        DossierTravail dossier;
        dossier.ecrireFichier("file.CSV", ligneAlbum("S", "T", 1));
        RepondeurModal repondeur;
        Phylacto fenetre;
        repondeur.repondreFichier(dossier.chemin("file.CSV"));
        QVERIFY(declencherAction(&fenetre, "actionImporter_Csv"));
        QCOMPARE(repondeur.textesBoites(), QStringList({avertissement, erreurAncienne(1)}));
        QCOMPARE(dossier.lireFichier("file.Ccsv"), QByteArray());
        QVERIFY(QFile::exists(dossier.chemin("file.Ccsv")));
        QVERIFY(fenetre.getAlbums().isEmpty());
    }

    void fichiersEnLectureSeuleEtAbsents()
    {
        DossierTravail dossier;
        dossier.ecrireFichier("ancien/bd.db", ligneAncienne("A", "1"));
        dossier.ecrireFichier("ancien/lu.csv", ligneAlbum("L", "1", 1));
        QFile::setPermissions(dossier.chemin("ancien/bd.db"), QFile::ReadOwner);
        QFile::setPermissions(dossier.chemin("ancien/lu.csv"), QFile::ReadOwner);
        RepondeurModal repondeur;
        Phylacto fenetre;
        repondeur.repondreFichier(dossier.chemin("ancien/bd.db"));
        QVERIFY(declencherAction(&fenetre, "actionImporter_Csv"));
        repondeur.repondreFichier(dossier.chemin("ancien/lu.csv"));
        QVERIFY(declencherAction(&fenetre, "actionImporter_Csv"));
        QCOMPARE(fenetre.getAlbums().size(), 2);
        QCOMPARE(fenetre.getAlbums().at(0)->getSerie(), QString("A"));
        QCOMPARE(fenetre.getAlbums().at(1)->getSerie(), QString("L"));

        // A legacy file that cannot be read: an older converted file beside it
        // is not imported in its place.
        dossier.ecrireFichier("ancien/absent.csv", ligneAlbum("Périmé", "1", 1));
        QCOMPARE(fenetre.convertir(dossier.chemin("ancien/absent.db")), QString());
        QCOMPARE(dossier.lireFichier("ancien/absent.csv"), ligneAlbum("Périmé", "1", 1));
        QCOMPARE(fenetre.convertir(dossier.chemin("ancien/x.csv")), dossier.chemin("ancien/x.csv"));
    }

    void collectionJamaisEcraseeParLaConversion()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligneAlbum("Collection", "C1", 1), "bd.csv");
        dossier.ecrireFichier("bd.db", ligneAncienne("Ancien", "A1"));
        RepondeurModal repondeur;
        Phylacto fenetre;
        repondeur.repondreFichier(dossier.chemin("bd.db"));
        QVERIFY(declencherAction(&fenetre, "actionImporter_Csv"));
        QCOMPARE(dossier.lireFichier("bd.csv"), ligneAlbum("Collection", "C1", 1));
        QVERIFY(QFile::exists(dossier.chemin("bd.converti.csv")));
        QCOMPARE(fenetre.getAlbums().size(), 2);
        QCOMPARE(fenetre.getAlbums().at(1)->getSerie(), QString("Ancien"));
    }

    void codecHuitBits()
    {
        DossierTravail dossier;
        dossier.ecrireFichier("ancien/bd.db", "\"B\xe9zier\" \"\xc9t\xe9\" 1 \"D\" \"Sc\" \"E\" \"C\" 0 \"G\" "
                                              "\"I\" \"_\" \"_\" 0 0 \"_\" 0 0 0 \"x\"\n");
        RepondeurModal repondeur;
        Phylacto fenetre;
        Codecs::setCodec8Bits(QTextCodec::codecForName("Windows-1250"));
        repondeur.repondreFichier(dossier.chemin("ancien/bd.db"));
        QVERIFY(declencherAction(&fenetre, "actionImporter_Csv"));
        Codecs::setCodec8Bits(nullptr);
        QCOMPARE(dossier.lireFichier("ancien/bd.csv"),
                 QByteArray("B\xe9zier;\xc9t\xe9;1;D;Sc;E;C;0;G;I;_;_;0;0;_;0;0;0;x\n"));
        QCOMPARE(fenetre.getAlbums().size(), 1);
        QCOMPARE(fenetre.getAlbums().first()->getSerie(), QString("Bézier"));
        QCOMPARE(fenetre.getAlbums().first()->getTitre(), QString("Été"));
    }
};

QTEST_MAIN(TestImport)
#include "test_import.moc"
