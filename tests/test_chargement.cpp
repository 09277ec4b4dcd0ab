// Reading the collection file: line format, encodings, bad lines, start-up.
#include "app/phylacto.h"
#include "model/bd.h"
#include "model/catalogue.h"
#include "model/serie.h"
#include "store/fichiercollection.h"
#include "store/lignecollection.h"
#include "support/dossiertravail.h"
#include "support/repondeur.h"

#include <QLabel>
#include <QListWidget>
#include <QSettings>
#include <QTableWidget>
#include <QTextCodec>
#include <QtTest>

class TestChargement : public QObject
{
    Q_OBJECT

private slots:
    void lignes_data()
    {
        QTest::addColumn<QString>("texte");
        QTest::addColumn<int>("albumsLus");
        QTest::addColumn<int>("etat");
        QTest::addColumn<int>("nbChamps");
        QTest::addColumn<QString>("ligneFautive");

        const QString l20 = "S;T;1;D;Sc;E;C;0;G;_;_;;0;0;_;0;0;0;;Col";
        const QString l19 = "S;T;1;D;Sc;E;C;0;G;_;_;;0;0;_;0;0;0;";
        QTest::newRow("vide") << QString() << 0 << int(LectureCollection::Complete) << 0 << QString();
        QTest::newRow("lf final") << l20 + "\n" << 1 << int(LectureCollection::Complete) << 0 << QString();
        QTest::newRow("sans lf final") << l20 << 1 << int(LectureCollection::Complete) << 0 << QString();
        QTest::newRow("crlf") << l20 + "\r\n" + l19 + "\r\n" << 2 << int(LectureCollection::Complete) << 0 << QString();
        QTest::newRow("ligne vide") << l20 + "\n\n" + l20 + "\n" << 1 << int(LectureCollection::LigneInvalide) << 1 << QString();
        QTest::newRow("21 champs") << l20 + "\n" + l20 + ";x\n" + l20 << 1 << int(LectureCollection::LigneInvalide) << 21 << l20 + ";x";
        QTest::newRow("18 champs") << "a;b;c;d;e;f;g;h;i;j;k;l;m;n;o;p;q;r\n" << 0 << int(LectureCollection::LigneInvalide) << 18 << "a;b;c;d;e;f;g;h;i;j;k;l;m;n;o;p;q;r";
        QTest::newRow("doublons gardés") << l20 + "\n" + l20 + "\n" << 2 << int(LectureCollection::Complete) << 0 << QString();
    }

    void lignes()
    {
        QFETCH(QString, texte);
        Catalogue catalogue;
        const LectureCollection lecture = FichierCollection::lireTexte(texte, catalogue);
        QTEST(lecture.albumsLus, "albumsLus");
        QCOMPARE(int(catalogue.albums().size()), lecture.albumsLus);
        QTEST(int(lecture.etat), "etat");
        if (lecture.etat == LectureCollection::LigneInvalide) {
            QTEST(lecture.nbChamps, "nbChamps");
            QTEST(lecture.ligneFautive, "ligneFautive");
        }
    }

    void champsLus()
    {
        Catalogue catalogue;
        FichierCollection::lireTexte(
            u"Astérix;Le Tour;abc;Uderzo;Goscinny;Dargaud;Bon;7;Humour;images//a.jpg;Marc;01/03/2014;1234567.5;2;_;4;2;3;t19\r\n"
            "Astérix;Autre;5;;;;;-3;;;;;1e-05;1;x;0;0;0;;Col\n"_qs,
            catalogue);
        QCOMPARE(catalogue.albums().size(), 2);
        const BD* a = catalogue.albums().at(0);
        QCOMPARE(a->getSerie(), QString("Astérix"));
        QCOMPARE(a->tome, 0); // "abc"
        QCOMPARE(a->entier8, 7);
        QCOMPARE(a->getImage(), QString("images//a.jpg"));
        QCOMPARE(a->getEmprunteur(), QString("Marc"));
        QCOMPARE(a->getDateEmprunt(), QString("01/03/2014"));
        QCOMPARE(a->reel13, 1234567.5);
        QCOMPARE(a->type, 2);
        QCOMPARE(a->getTexte15(), QString("_"));
        QCOMPARE(a->note, 4);
        QCOMPARE(a->serieFinie, 2);
        QCOMPARE(a->nbEmprunts, 3);
        QCOMPARE(a->getTexte19(), QString("t19"));
        QCOMPARE(a->getColoriste(), QString()); // 19 fields
        const BD* b = catalogue.albums().at(1);
        QCOMPARE(b->getColoriste(), QString("Col")); // no CR left
        QCOMPARE(b->entier8, -3);
        // One series, of the first line's type.
        QCOMPARE(catalogue.series().size(), 1);
        QCOMPARE(catalogue.findSerie("Astérix")->type, 2);

        // Written back: 20 fields, 'g' format, "_" for texte15.
        QCOMPARE(LigneCollection::encoder(*a),
                 u"Astérix;Le Tour;0;Uderzo;Goscinny;Dargaud;Bon;7;Humour;images//a.jpg;Marc;01/03/2014;1.23457e+06;2;_;4;2;3;t19;"_qs);
        QCOMPARE(LigneCollection::encoder(*b), u"Astérix;Autre;5;;;;;-3;;;;;1e-05;1;x;0;0;0;;Col"_qs);
        Catalogue relu;
        FichierCollection::lireTexte(LigneCollection::encoder(*a), relu);
        QCOMPARE(relu.albums().first()->reel13, 1234570.0);
    }

    void encodages()
    {
        const QByteArray latin1 = QByteArray("B\xe9zier;T;1;;;;;0;;;;;0;0;_;0;0;0;;\n");
        Catalogue enUtf8;
        FichierCollection::lireTexte(
            FichierCollection::decoder(latin1, QTextCodec::codecForName("UTF-8")), enUtf8);
        QCOMPARE(enUtf8.albums().first()->getSerie(), QString(u"B\uFFFDzier"_qs));

        Catalogue avecBom;
        FichierCollection::lireTexte(
            FichierCollection::decoder(QByteArray("\xef\xbb\xbf") + u"Bézier;T;1;;;;;0;;;;;0;0;_;0;0;0;;\n"_qs.toUtf8(),
                                       QTextCodec::codecForName("Windows-1250")),
            avecBom);
        QCOMPARE(avecBom.albums().first()->getSerie(), QString("Bézier"));

        Catalogue en1250;
        FichierCollection::lireTexte(
            FichierCollection::decoder(latin1, QTextCodec::codecForName("Windows-1250")), en1250);
        QCOMPARE(en1250.albums().first()->getSerie(), QString("Bézier"));

        // Written without a byte-order mark, read back with the same codec.
        QTextCodec* utf16 = QTextCodec::codecForName("UTF-16");
        Catalogue en16;
        FichierCollection::lireTexte(
            FichierCollection::decoder(utf16->fromUnicode(u"Été;T;1;;;;;0;;;;;0;0;_;0;0;0;;\n"_qs), utf16),
            en16);
        QCOMPARE(en16.albums().first()->getSerie(), QString("Été"));

        // A UTF-16 mark wins over an unknown codec name.
        Catalogue marque16;
        FichierCollection::lireTexte(
            FichierCollection::decoder(QTextCodec::codecForName("UTF-16LE")->fromUnicode(u"\uFEFFÉté;T;1;;;;;0;;;;;0;0;_;0;0;0;;\n"_qs),
                                       nullptr),
            marque16);
        QCOMPARE(marque16.albums().first()->getSerie(), QString("Été"));
    }

    void premierDemarrage()
    {
        DossierTravail dossier;
        Phylacto fenetre;
        QCOMPARE(dossier.valeurParametre("BASE/Encodage"), QString("UTF-8"));
        QCOMPARE(enfant<QLabel>(&fenetre, "lbTotale")->text(), QString("0"));
        QCOMPARE(enfant<QLabel>(&fenetre, "lbManga")->text(), QString("0"));
        QCOMPARE(enfant<QListWidget>(&fenetre, "LstSerie")->count(), 0);
        QVERIFY(!fenetre.estModifie());
        QVERIFY(!fenetre.chargementIncomplet());
    }

    void demarrageAvecCollection()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligneAlbum("Zorro", "Z1", 1) + ligneAlbum("Blake", "B2", 2, 1)
                                 + ligneAlbum("Blake", "B1", 1, 1) + ligneAlbum("Akira", "A1", 1, 2));
        Phylacto fenetre;
        auto* series = enfant<QListWidget>(&fenetre, "LstSerie");
        QCOMPARE(series->count(), 3);
        QCOMPARE(series->currentItem()->text(), QString("Akira"));
        QCOMPARE(fenetre.getSerieCourante(), QString("Akira"));
        auto* table = enfant<QTableWidget>(&fenetre, "LstAlbum");
        QCOMPARE(table->rowCount(), 1);
        QCOMPARE(table->item(0, 1)->text(), QString("A1"));
        QCOMPARE(enfant<QLabel>(&fenetre, "lbTotale")->text(), QString("4"));
        QCOMPARE(enfant<QLabel>(&fenetre, "lbComics")->text(), QString("2"));
        QCOMPARE(enfant<QListWidget>(&fenetre, "LstComics")->count(), 1);
        QVERIFY(!fenetre.estModifie());
    }

    void demarrageSurLigneInvalide()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligneAlbum("Zorro", "Z1", 1) + "\n" + ligneAlbum("Blake", "B1", 1));
        RepondeurModal repondeur;
        Phylacto fenetre;
        QCOMPARE(repondeur.textesBoites(),
                 QStringList("Erreur à la ligne .\n Merci de toujours laisser 20 parametres et non 1, même vide"));
        QCOMPARE(fenetre.getAlbums().size(), 1);
        QVERIFY(fenetre.chargementIncomplet());
        QVERIFY(!fenetre.estModifie());
    }

    void fichierAbsentCreeVide()
    {
        DossierTravail dossier;
        dossier.ecrireParametres({{"BASE/FileName", "nouvelle.csv"}});
        Phylacto fenetre;
        QVERIFY(QFile::exists(dossier.chemin("nouvelle.csv")));
        QCOMPARE(QFileInfo(dossier.chemin("nouvelle.csv")).size(), 0);
        QVERIFY(!fenetre.chargementIncomplet());
    }

    void cheminAbsolu()
    {
        DossierTravail dossier;
        QTemporaryDir ailleurs;
        const QString chemin = ailleurs.filePath("c.csv");
        QFile f(chemin);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(ligneAlbum("Loin", "L1", 1));
        f.close();
        dossier.ecrireParametres({{"BASE/FileName", chemin}});
        Phylacto fenetre;
        QCOMPARE(fenetre.getAlbums().size(), 1);
    }
};

QTEST_MAIN(TestChargement)
#include "test_chargement.moc"
