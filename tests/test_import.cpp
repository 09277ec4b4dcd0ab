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
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTextCodec>
#include <QtTest>

#include <memory>

namespace {

const QString avertissement = QStringLiteral(
    "Attention ! Votre fichier va être convertit en CSV. Si vous avez pensez à mettre le "
    "repertoire images au même endroits, les images seront aussi importé.");

// A legacy line, and what it converts to.
QByteArray ligneAncienne(const QByteArray& serie, const QByteArray& titre, const QByteArray& image = "_")
{
    return "\"" + serie + "\" \"" + titre + "\" 1 \"Dessinateur\" \"Scenariste\" \"Dargaud\" \"Bon\" 0 "
           "\"Aventure\" \"" + image + "\" \"_\" \"_\" 0 0 \"_\" 3 0 0 \"_\"\n";
}

QByteArray ligneConvertie(const QByteArray& serie, const QByteArray& titre, const QByteArray& image = "_")
{
    return serie + ";" + titre + ";1;Dessinateur;Scenariste;Dargaud;Bon;0;Aventure;" + image
           + ";_;_;0;0;_;3;0;0;_\n";
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
        QTest::addColumn<QByteArray>("convertie"); // empty: the line does not parse

        const QByteArray milieu = " \"D\" \"Sc\" \"E\" \"C\" 7 \"G\" \"images\\\\a.jpg\" \"_\" \"_\" ";
        const QByteArray st = "\"S\" \"T\" 1" + milieu;
        const QByteArray debut = "S;T;1;D;Sc;E;C;7;G;images//a.jpg;_;_;";
        const QByteArray long5000(5000, 'x');
        // clang-format off
        QTest::newRow("ordinaire") << "\"Blake\" \"Marque\" 6" + milieu + "12.5 1 \"_\" 4 1 2 \"t19\"\r\n"
            << QByteArray("Blake;Marque;6;D;Sc;E;C;7;G;images//a.jpg;_;_;12.5;1;_;4;1;2;t19\n");
        QTest::newRow("octal et hexadécimal") << "\"S\" \"T\" 010" + milieu + "0 0x1A \"_\" -0X7f +9 007 \"x\""
            << QByteArray("S;T;8;D;Sc;E;C;7;G;images//a.jpg;_;_;0;26;_;-127;9;7;x\n");
        // "08": 0, then 8 for the next integer, then "x" is not where a number is.
        QTest::newRow("08") << st + "0 0x1A \"_\" -0X7f +9 08 \"x\"" << QByteArray();
        QTest::newRow("sans blancs, tabulations") << QByteArray("\"S\"\"T\"1\t\"D\"\"Sc\"\"E\"\"C\"7\"G\"\"I\"\"_\"\"_\"-1.5e+3 0\"_\"0 0 0\"x\"")
            << QByteArray("S;T;1;D;Sc;E;C;7;G;I;_;_;-1500;0;_;0;0;0;x\n");
        QTest::newRow("suite ignorée") << st + ".5 0 \"_\" 0 0 0 \"x\" \"encore\" 12\n" << debut + "0.5;0;_;0;0;0;x\n";
        QTest::newRow("texte de 5000 octets") << "\"S\" \"" + long5000 + "\" 1" + milieu + "0 0 \"_\" 0 0 0 \"x\""
            << "S;" + long5000 + ";1;D;Sc;E;C;7;G;images//a.jpg;_;_;0;0;_;0;0;0;x\n";
        QTest::newRow("0x sans chiffre") << QByteArray("\"S\" \"T\" 0x \"D\"") << QByteArray();
        QTest::newRow("blanc en tête") << " " + st + "0 0 \"_\" 0 0 0 \"x\"\n" << QByteArray();
        QTest::newRow("18 champs") << st + "0 0 \"_\" 0 0 0\n" << QByteArray();
        QTest::newRow("dernier guillemet absent") << st + "0 0 \"_\" 0 0 0 \"x\n" << QByteArray();
        QTest::newRow("nombre sans chiffre") << st + "- 0 \"_\" 0 0 0 \"x\"\n" << QByteArray();
        QTest::newRow("entiers hors limites") << "\"S\" \"T\" 99999999999" + milieu + "0 -0x80000001 \"_\" 2147483647 -2147483648 0 \"x\""
            << QByteArray("S;T;2147483647;D;Sc;E;C;7;G;images//a.jpg;_;_;0;-2147483648;_;2147483647;-2147483648;0;x\n");
        QTest::newRow("réels hors limites") << st + "-1e400 0 \"_\" 0 0 0 \"x\"" << debut + "-1.79769e+308;0;_;0;0;0;x\n";
        // One ";" would give 20 fields, which the import would read shifted.
        QTest::newRow("point-virgule") << st + "0 0 \"_\" 0 0 0 \"a;b\"" << debut + "0;0;_;0;0;0;a;b;\n";
        QTest::newRow("deux points-virgules") << "\"S;\" \"T\" 1" + milieu + "0 0 \"_\" 0 0 0 \"a;b\""
            << QByteArray("S;;T;1;D;Sc;E;C;7;G;images//a.jpg;_;_;0;0;_;0;0;0;a;b\n");
        // clang-format on
    }

    void analyseLigneAncienne()
    {
        QFETCH(QByteArray, ligne);
        QFETCH(QByteArray, convertie);
        bool valide = false;
        QCOMPARE(LigneAncienne::convertir(ligne, QTextCodec::codecForName("UTF-8"), &valide), convertie);
        QCOMPARE(valide, !convertie.isEmpty());
        if (valide) // the import refuses a line a ";" has split
            QCOMPARE(std::unique_ptr<BD>(LigneCollection::decoder(QString::fromUtf8(convertie.chopped(1))))
                         != nullptr, !convertie.contains("a;b"));
    }

    void octetsQuelconquesEtFinDeVue()
    {
        // Any byte but '"' in a text; nothing read past the view's end, whatever follows in memory.
        const QByteArray ligne = "\"S\" \"T\" 1 \"D\" \"Sc\" \"E\" \"C\" 0 \"G\" \"I\" \"_\" \"_\" 1e-5 2 \"_\" 0 0 0 \"\t\x01\xff\"";
        AlbumAncien album;
        QVERIFY(LigneAncienne::analyser(ligne, album) && album.texte19 == "\t\x01\xff");
        QVERIFY(!LigneAncienne::analyser(QByteArrayView(ligne).chopped(1), album));
        QVERIFY(!LigneAncienne::analyser(QByteArrayView(ligne).first(18), album));
    }

    void nomDuFichierConverti()
    {
        // Only the file name loses its last two characters.
        QCOMPARE(Importation::nomConverti("/tmp/x.db/b"), QString("/tmp/x.db/csv"));
        QCOMPARE(Importation::nomConverti("/tmp/x/bd.db", "/tmp/x/./bd.csv"), QString("/tmp/x/bd.converti.csv"));
    }

    void importCsv()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligneAlbum("Astérix", "Le Tour", 5, 0, "images//a.jpg", "Marc")
                + ligneAlbum("Akira", "Vol 1", 1, 2)
                + "Astérix;La Zizanie;15;;;;;0;;;;01/03/2014;1.25e+06;1;x;4;1;3;t19;\n",
            "sauve.csv");
        dossier.ecrireFichier("crlf.csv", "S;T;1;D;Sc;E;C;0;G;_;_;;0;0;_;0;0;0;;Col\r\n"
                                          "S;T2;1;D;Sc;E;C;0;G;_;_;;0;0;_;0;0;0;\r\n"
                                          "S;T3;trop;de;champs;E;C;0;G;_;_;;0;0;_;0;0;0;;Col;x\r\n"
                                          "S;T4;1;D;Sc;E;C;0;G;_;_;;0;0;_;0;0;0;;Col\r\n");
        QFile::setPermissions(dossier.chemin("crlf.csv"), QFile::ReadOwner);
        QStringList lignes;
        {
            Phylacto source;
            source.setModifie(true);
            source.save();
            lignes = lignesDuCatalogue(source.getAlbums());
        }
        dossier.ecrireParametres({ { "BASE/FileName", "vide.csv" } });

        // What save() wrote, imported twice into an empty catalogue.
        RepondeurModal repondeur;
        Phylacto fenetre;
        for (int fois = 1; fois <= 2; ++fois) {
            repondeur.repondreFichier(dossier.chemin("sauve.csv"));
            QVERIFY(declencherAction(&fenetre, "actionImporter_Csv"));
            QCOMPARE(lignesDuCatalogue(fenetre.getAlbums()), fois == 1 ? lignes : lignes + lignes);
            QCOMPARE(fenetre.getCatalogue().series().size(), 2);
            QCOMPARE(enfant<QListWidget>(&fenetre, "LstManga")->count(), 1);
            QCOMPARE(enfant<QLabel>(&fenetre, "lbTotale")->text(), QString::number(3 * fois));
        }
        QCOMPARE(repondeur.titreDernierDialogueFichier(), QString("Importer fichier"));
        QCOMPARE(repondeur.filtresDernierDialogueFichier(), QStringList({ "CSV (*.csv)", "BD (*.db)" }));
        QVERIFY(repondeur.textesBoites().isEmpty());
        QCOMPARE(fenetre.findSerie("Astérix")->type, 0);

        // CRLF lines of 20 and 19 fields, then one of 21 that stops the import.
        repondeur.repondreFichier(dossier.chemin("crlf.csv"));
        QVERIFY(declencherAction(&fenetre, "actionImporter_Csv"));
        QCOMPARE(fenetre.getAlbums().size(), 8);
        QCOMPARE(fenetre.getAlbums().at(6)->getColoriste(), QString("Col"));
        QCOMPARE(fenetre.getAlbums().at(7)->getColoriste(), QString());
        QCOMPARE(repondeur.textesBoites(),
                 QStringList("Erreur à la ligne S;T3;trop;de;champs;E;C;0;G;_;_;;0;0;_;0;0;0;;Col;x.\n"
                             " Merci de toujours laisser 20 parametres et non 21, même vide"));

        // Cancelled: nothing added, still counted as changed.
        fenetre.setModifie(false);
        QVERIFY(declencherAction(&fenetre, "actionImporter_Csv"));
        QVERIFY(fenetre.estModifie());
        QCOMPARE(fenetre.getAlbums().size(), 8);
        Catalogue catalogue;
        for (const QString& illisible : { dossier.chemin("absent.csv"), QString() })
            QCOMPARE(Importation::importer(illisible, Codecs::codec8Bits(), catalogue).etat,
                     LectureCollection::Illisible);

        // An unreadable legacy file: the older converted file beside it is not imported instead.
        dossier.ecrireFichier("vieux.csv", ligneAlbum("Périmé", "1", 1));
        QCOMPARE(fenetre.convertir(dossier.chemin("vieux.db")), QString());
        QCOMPARE(dossier.lireFichier("vieux.csv"), ligneAlbum("Périmé", "1", 1));
    }

    void conversion_data()
    {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QByteArray>("contenu");
        QTest::addColumn<int>("ligneFautive");
        QTest::addColumn<QString>("converti");
        QTest::addColumn<QByteArray>("octetsConvertis");

        const QByteArray debut = ligneAncienne("A", "1") + ligneAncienne("B", "2", "x\\y.jpg");
        const QByteArray convertis = ligneConvertie("A", "1") + ligneConvertie("B", "2", "x/y.jpg");
        const QByteArray fin = ligneAncienne("C", "3");
        // clang-format off
        QTest::newRow("texte vide") << "bd.db" << debut + ligneAncienne("Blake", "") + fin << 3 << "bd.converti.csv" << convertis;
        QTest::newRow("ligne blanche") << "bd.db" << debut + "\n" + fin << 3 << "bd.converti.csv" << convertis;
        QTest::newRow("ligne blanche crlf") << "bd.db" << debut + "\r\n" + fin << 3 << "bd.converti.csv" << convertis;
        QTest::newRow("file.CSV") << "file.CSV" << ligneAlbum("S", "T", 1) << 1 << "file.Ccsv" << QByteArray();
        QTest::newRow("codec 8 bits") << "bd.db" << ligneAncienne("B\xe9zier", "\xc9t\xe9") << 0 << "bd.converti.csv" << ligneConvertie("B\xe9zier", "\xc9t\xe9");
        // clang-format on
    }

    // Beside the collection file, with the images of the legacy collection.
    void conversion()
    {
        QFETCH(QString, nom);
        QFETCH(int, ligneFautive);
        QFETCH(QString, converti);
        QFETCH(QByteArray, octetsConvertis);
        QFETCH(QByteArray, contenu);
        DossierTravail dossier;
        dossier.ecrireCollection(ligneAlbum("Collection", "C1", 1), "ancien/bd.csv");
        dossier.ecrireFichier("ancien/" + nom, contenu);
        QFile::setPermissions(dossier.chemin("ancien/" + nom), QFile::ReadOwner);
        for (const char* image : { "marque.jpg", "espadon.jpg", ".cachee.jpg", "sous/dedans.jpg" })
            dossier.ecrireFichier(QString("ancien/images/") + image, image);
        dossier.ecrireFichier("images/marque.jpg", "marque déjà là");
        RepondeurModal repondeur;
        Phylacto fenetre;
        Codecs::setCodec8Bits(QTextCodec::codecForName("Windows-1250")); // for every byte
        repondeur.repondreFichier(dossier.chemin("ancien/" + nom));
        QVERIFY(declencherAction(&fenetre, "actionImporter_Csv"));

        QStringList boites(avertissement);
        if (ligneFautive > 0)
            boites << QString("Erreur à la ligne %1.\n Merci de toujours laisser 19 parametres, même vide")
                          .arg(ligneFautive);
        QCOMPARE(repondeur.textesBoites(), boites);
        QCOMPARE(dossier.lireFichier("ancien/bd.csv"), ligneAlbum("Collection", "C1", 1));
        QVERIFY(QFile::exists(dossier.chemin("ancien/" + converti)));
        QCOMPARE(dossier.lireFichier("ancien/" + converti), octetsConvertis);
        // The converted albums follow the collection's, with an empty "coloriste".
        QStringList albums(QString::fromUtf8(ligneAlbum("Collection", "C1", 1).chopped(1)));
        for (const QString& ligne : Codecs::codec8Bits()->toUnicode(octetsConvertis).split('\n', Qt::SkipEmptyParts))
            albums << ligne + ';';
        QCOMPARE(lignesDuCatalogue(fenetre.getAlbums()), albums);

        QCOMPARE(dossier.lireFichier("images/marque.jpg"), QByteArray("marque déjà là"));
        QCOMPARE(QDir(dossier.chemin("images")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList({ "espadon.jpg", "marque.jpg" }));
        QVERIFY(!QApplication::overrideCursor());
    }
};

QTEST_MAIN(TestImport)
#include "test_import.moc"
