// Attach rules, lookups and deletions of the catalogue, without a window.
#include "model/bd.h"
#include "model/catalogue.h"
#include "model/serie.h"

#include <QtTest>

namespace {
BD* album(const QString& serie, const QString& titre, int tome, int type = 0, int finie = 0)
{
    return new BD(serie, titre, tome, {}, {}, {}, {}, 0, {}, {}, {}, {}, 0.0, type, {}, 0, finie,
                  0, {}, {});
}
} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void attachementCreeEtMetAJourLaSerie()
    {
        Catalogue catalogue;
        QVERIFY(catalogue.attacher(album("Blake", "T1", 3, Euro, 0)));
        Serie* blake = catalogue.findSerie("Blake");
        QVERIFY(blake);
        QCOMPARE(blake->tomeMax, 3);
        QCOMPARE(blake->type, int(Euro));

        QVERIFY(!catalogue.attacher(album("Blake", "T0", 1, Manga, 2)));
        QCOMPARE(blake->tomeMax, 3);      // lower volume leaves it
        QCOMPARE(blake->serieFinie, 2);   // non-zero is copied
        QCOMPARE(blake->type, int(Euro)); // type of the first album stays
        QVERIFY(!catalogue.attacher(album("Blake", "T9", 9, Euro, 0)));
        QCOMPARE(blake->tomeMax, 9);
        QCOMPARE(blake->serieFinie, 2); // a zero never clears it

        QCOMPARE(catalogue.series().size(), 1);
        QCOMPARE(catalogue.seriesEuro().size(), 1);
        QVERIFY(catalogue.seriesManga().isEmpty());
        QCOMPARE(catalogue.albums().size(), 3);
    }

    void nomsSensiblesALaCasseEtTypesInconnus()
    {
        Catalogue catalogue;
        catalogue.attacher(album("naruto", "A", 1, Manga));
        catalogue.attacher(album("Naruto", "A", 1, Comic));
        catalogue.attacher(album("Bizarre", "A", 1, 5));
        QCOMPARE(catalogue.series().size(), 3);
        QVERIFY(catalogue.findSerie("naruto") != catalogue.findSerie("Naruto"));
        QVERIFY(!catalogue.findSerie("NARUTO"));
        QCOMPARE(catalogue.seriesManga().size(), 1);
        QCOMPARE(catalogue.seriesComics().size(), 1);
        QCOMPARE(catalogue.seriesEuro().size(), 0); // type 5 is in no per-kind list

        const Compteurs compteurs = catalogue.compter();
        QCOMPARE(compteurs.total, 3);
        QCOMPARE(compteurs.euro, 1); // type 5 counts as Euro
        QCOMPARE(compteurs.comics, 1);
        QCOMPARE(compteurs.manga, 1);
    }

    void recherchesDansLOrdreDuCatalogue()
    {
        Catalogue catalogue;
        BD* a = album("S", "Tome 1", 1);
        BD* b = album("T", "Tome 1", 1);
        BD* c = album("S", "Tome 1", 2);
        catalogue.attacher(a);
        catalogue.attacher(b);
        catalogue.attacher(c);
        QCOMPARE(catalogue.albumsParNom("Tome 1", false), (QList<BD*>{a, b, c}));
        QCOMPARE(catalogue.albumsParNom("S", true), (QList<BD*>{a, c}));
        QVERIFY(catalogue.albumsParNom("tome 1", false).isEmpty());
        QCOMPARE(catalogue.premierAlbum("S", "Tome 1"), a);
        QCOMPARE(catalogue.premierAlbum("T", "Tome 1"), b);
        QVERIFY(!catalogue.premierAlbum("U", "Tome 1"));
    }

    void suppressions()
    {
        Catalogue catalogue;
        catalogue.attacher(album("S", "1", 1));
        catalogue.attacher(album("S", "2", 2));
        catalogue.attacher(album("T", "1", 7));
        catalogue.attacher(album("S", "3", 3));

        QCOMPARE(catalogue.supprimerSerie("S"), 3); // adjacent albums included
        QCOMPARE(catalogue.albums().size(), 1);
        QVERIFY(!catalogue.findSerie("S"));
        QCOMPARE(catalogue.seriesEuro().size(), 1);

        catalogue.supprimerAlbum(catalogue.albums().first());
        QVERIFY(catalogue.albums().isEmpty());
        QVERIFY(catalogue.findSerie("T")); // the series stays with its tomeMax
        QCOMPARE(catalogue.findSerie("T")->tomeMax, 7);

        // A series created again after deletion is a new one.
        catalogue.attacher(album("S", "1", 4, Manga));
        QCOMPARE(catalogue.findSerie("S")->type, int(Manga));
        QCOMPARE(catalogue.seriesManga().size(), 1);
    }

    void texte15VideDevientSouligne()
    {
        BD vide("S", "T", 1, {}, {}, {}, {}, 0, {}, {}, {}, {}, 0, 0, QString(), 0, 0, 0, {}, {});
        QCOMPARE(vide.getTexte15(), QString("_"));
        BD plein("S", "T", 1, {}, {}, {}, {}, 0, {}, {}, {}, {}, 0, 0, "x", 0, 0, 0, {}, {});
        QCOMPARE(plein.getTexte15(), QString("x"));
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "test_catalogue.moc"
