// Albums from elsewhere: book numbers, the records of the national catalogue
// and Open Library, and the GCstar and Tellico collections.
#include "covers/noticescatalogue.h"
#include "model/bd.h"
#include "model/isbn.h"
#include "store/autrescatalogues.h"
#include "store/fichiercollection.h"
#include "support/dossier.h"

#include <QtTest>

#include <zip.h>

using namespace NoticesCatalogue;
using AutresCatalogues::AlbumImporte;

namespace {

const QUrl base(QStringLiteral("https://catalogue.test"));
const QDate jour(2026, 3, 1);

// "serie|tome|titre|scenariste|dessinateur|coloriste|editeur|annee|isbn|ark"
QString resume(const NoticeAlbum& n)
{
    const QString ark = QUrlQuery(n.couverture).queryItemValue("idArk", QUrl::FullyDecoded);
    return QStringList { n.serie, QString::number(n.tome), n.titre, n.scenariste, n.dessinateur,
        n.coloriste, n.editeur, QString::number(n.annee), n.isbn,
        n.couverture.isEmpty() ? "-"
            : ark.isEmpty()    ? n.couverture.path()
                               : ark }
        .join('|');
}

// "serie|tome|titre|scenariste|dessinateur|coloriste|editeur|genre|note|commentaire|pret|couverture"
QString resume(const AlbumImporte& a)
{
    const ValeursAlbum& v = a.valeurs;
    const QString couverture = !a.couverture.isEmpty() ? QString::fromUtf8(a.couverture)
        : a.fichierCouverture.isEmpty()                ? QStringLiteral("-")
                                                       : QFileInfo(a.fichierCouverture).fileName();
    return QStringList { v.serie, QString::number(v.tome), v.titre, v.scenariste, v.dessinateur,
        v.coloriste, v.editeur, v.genre, QString::number(v.note), v.commentaire,
        (a.emprunteur + ' ' + a.dateEmprunt).trimmed(), couverture }
        .join('|');
}

QByteArray reponseSru(int total, int prochain, int nombre)
{
    QByteArray xml = "<searchRetrieveResponse><numberOfRecords>" + QByteArray::number(total)
        + "</numberOfRecords><records>" + QByteArray("<record/>").repeated(nombre) + "</records>";
    if (prochain)
        xml += "<nextRecordPosition>" + QByteArray::number(prochain) + "</nextRecordPosition>";
    return xml + "</searchRetrieveResponse>";
}

// A catalogue holding these "serie;titre;tome" albums.
bool charger(Catalogue& catalogue, const QStringList& albums)
{
    QString texte;
    for (const QString& album : albums)
        texte += album + QStringLiteral(";A;S;E;;0;G;;;;0;0;_;0;0;0;;\n");
    return FichierCollection::lireTexte(texte, catalogue).albumsLus == albums.size();
}

// Writes a zip archive of these entries.
bool archiver(const QString& chemin, const QList<QPair<QString, QByteArray>>& entrees)
{
    zip_t* archive
        = zip_open(QFile::encodeName(chemin).constData(), ZIP_CREATE | ZIP_TRUNCATE, nullptr);
    for (const auto& [nom, octets] : entrees) {
        zip_source_t* source
            = zip_source_buffer(archive, octets.constData(), zip_uint64_t(octets.size()), 0);
        if (!archive || zip_file_add(archive, nom.toUtf8().constData(), source, 0) < 0)
            return false;
    }
    return archive && zip_close(archive) == 0;
}

} // namespace

class TestCatalogues : public QObject
{
    Q_OBJECT

private slots:
    void isbn_data()
    {
        QTest::addColumn<QString>("saisie");
        QTest::addColumn<int>("nature");
        QTest::addColumn<QString>("attendu"); // the ISBN-13, or the check digit expected
        const int texte = int(Isbn::Nature::Texte), bon = int(Isbn::Nature::Isbn13),
                  cle = int(Isbn::Nature::CleFausse), longueur = int(Isbn::Nature::LongueurFausse);
        QTest::newRow("13 à tirets") << "978-2-205-05005-9" << bon << "9782205050059";
        QTest::newRow("13 à espaces") << " 978 2 205 05005 9 " << bon << "9782205050059";
        QTest::newRow("10") << "2-205-05005-2" << bon << "9782205050059";
        QTest::newRow("10 à X") << "2-205-00008-X" << bon << "9782205000085";
        QTest::newRow("10 à x, préfixe") << "ISBN-10 : 220500008x" << bon << "9782205000085";
        QTest::newRow("979") << "979-10-221-2345-7" << bon << "9791022123457";
        QTest::newRow("clé 13 fausse") << "978-2-205-05005-8" << cle << "9";
        QTest::newRow("clé 10 fausse") << "2-205-05005-3" << cle << "2";
        QTest::newRow("X au milieu") << "2-205-0X005-2" << texte << "";
        QTest::newRow("11 chiffres") << "978-2-205-0500" << longueur << "";
        QTest::newRow("EAN d'un autre produit")
            << "3771234567894" << int(Isbn::Nature::PasUnLivre) << "";
        QTest::newRow("titre en chiffres") << "1984" << texte << "";
        QTest::newRow("mots") << "XIII" << texte << "";
    }
    void isbn()
    {
        QFETCH(QString, saisie);
        QFETCH(int, nature);
        QFETCH(QString, attendu);
        const Isbn::Lecture lue = Isbn::lire(saisie);
        QCOMPARE(int(lue.nature), nature);
        QCOMPARE(
            lue.nature == Isbn::Nature::CleFausse ? QString(lue.cleAttendue) : lue.isbn13, attendu);
        QCOMPARE(Isbn::texteErreur(lue).isEmpty(), nature <= int(Isbn::Nature::Isbn13));
    }

    void sru()
    {
        const PageNotices page = lireSru(donnee("sru-albums.xml"), base);
        QVERIFY(page.valide);
        QCOMPARE(page.total, 5);
        QCOMPARE(page.suivant, 0);
        const QStringList attendus {
            "Les Chroniques d'Élise|2|Le Phare d'Écume|Anaïs Ferré, Paul Morel|Mathilde "
            "Roussel|Léa Martin|Dargaud|2019|9782205050059|ark:/12148/cb45000001x",
            "Les Voyages de Nour|4|La Cité engloutie|Marc Delorme|Marc Delorme|Julie "
            "Sorel|Casterman|2021|9782205000085|ark:/12148/cb45000002z",
            "Kaze no Tabibito|1|Le vent se lève|Hiro "
            "Takeda|||Kana|2020|9782505000099|ark:/12148/cb45000003q",
            "|0|Le Dernier Phare|Claire Vidal|||Delcourt|2018||-",
            "Capitaine Frégate|3|La Passe du Nord|Ana Lutz|Bruno "
            "Kiel||Glénat|2022|9782841720057|ark:/12148/cb45000005p",
        };
        QCOMPARE(page.notices.size(), attendus.size());
        for (int i = 0; i < attendus.size(); ++i)
            QCOMPARE(resume(page.notices.at(i)), attendus.at(i));
    }

    void sruPages_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<int>("debut");
        QTest::addColumn<bool>("valide");
        QTest::addColumn<int>("suivant");
        const QByteArray albums = donnee("sru-albums.xml");
        QTest::newRow("première de deux") << reponseSru(60, 51, 50) << 1 << true << 51;
        QTest::newRow("sans position suivante") << reponseSru(60, 0, 50) << 1 << true << 51;
        QTest::newRow("dernière") << reponseSru(60, 0, 10) << 51 << true << 0;
        QTest::newRow("qui n'avance pas") << reponseSru(60, 51, 10) << 51 << true << 0;
        QTest::newRow("aucun résultat") << reponseSru(0, 0, 0) << 1 << true << 0;
        QTest::newRow("coupée") << albums.left(albums.size() / 2) << 1 << false << 0;
        QTest::newRow("refusée") << QByteArray(
            "<searchRetrieveResponse><numberOfRecords>0</numberOfRecords>"
            "<diagnostics><diagnostic/></diagnostics></searchRetrieveResponse>")
                                 << 1 << false << 0;
        QTest::newRow("page web") << QByteArray("<html><body/></html>") << 1 << false << 0;
    }
    void sruPages()
    {
        QFETCH(QByteArray, xml);
        QFETCH(int, debut);
        QFETCH(bool, valide);
        QFETCH(int, suivant);
        const PageNotices page = lireSru(xml, base, debut);
        QCOMPARE(page.valide, valide);
        QCOMPARE(page.suivant, suivant);
        QVERIFY(page.notices.isEmpty());
    }

    void urls()
    {
        const QUrl page = urlBnf(base, Critere::Auteur, "Ferré \"A\"", 51);
        const QUrlQuery requete(page);
        QCOMPARE(requete.queryItemValue("query", QUrl::FullyDecoded), "bib.author all \"Ferré A\"");
        QCOMPARE(requete.queryItemValue("startRecord"), "51");
        QCOMPARE(requete.queryItemValue("maximumRecords"), "50");
        QCOMPARE(
            QUrlQuery(urlOpenLibrary(base, Critere::Isbn, "9782205050059")).queryItemValue("isbn"),
            "9782205050059");
    }

    void openLibrary()
    {
        const PageNotices page = lireOpenLibrary(donnee("openlibrary.json"), base);
        QVERIFY(page.valide);
        const QStringList attendus {
            "Les Chroniques d'Élise|3|Les Chroniques d'Élise|Anaïs "
            "Ferré|||Dargaud|2020|9782205050059|/b/id/812-L.jpg",
            "Kaze no Tabibito|3|La Passe|Hiro Takeda||||0||/b/id/813-L.jpg",
            "Capitaine Frégate|3|Capitaine Frégate||||Glénat|0|9782841720057|-",
            "|0|Le Dernier Phare|||||2018||-",
        };
        QCOMPARE(page.notices.size(), attendus.size());
        for (int i = 0; i < attendus.size(); ++i)
            QCOMPARE(resume(page.notices.at(i)), attendus.at(i));
        QCOMPARE(fusionner({}, page.notices).value(0).source, Source::OpenLibrary);
        QVERIFY(!lireOpenLibrary("{\"docs\":[", base).valide);
        QCOMPARE(lireOpenLibrary("{\"docs\":[],\"numFound\":7}", base).total, 7);
        QCOMPARE(lireOpenLibrary("{\"docs\":[{}]}", base).total, 1);
    }

    // Owned albums, the volumes a series lacks, and the order by volume.
    void possedes()
    {
        Catalogue catalogue;
        QVERIFY(charger(catalogue,
            { "Les Chroniques d'Élise;Le Phare d'Écume;0", "Les Chroniques d'Élise;Tome 1;1",
                "Iron Sentinel;Origins;4" }));
        const IndexPossedes index(catalogue);
        QList<NoticeAlbum> notices;
        for (const auto& [tome, titre, annee] :
            QList<std::tuple<int, QString, int>> { { 4, "La Cité engloutie", 2021 },
                { 2, "le phare d’ecume", 2019 }, { 3, "Les Îles de Brume", 2020 },
                { 0, "Hors-série", 2022 }, { 3, "Les Iles de Brume (réédition)", 2024 },
                { 1, "La Forêt des Lucioles", 2018 } })
            notices.append({ {}, "LES CHRONIQUES D'ELISE", tome, titre, {}, {}, {}, {}, annee, {},
                Source::Bnf, false });
        index.marquer(notices);
        QCOMPARE(notices.at(1).possede, true);
        QCOMPARE(notices.at(0).possede, false);
        QVERIFY(!index.possede("Iron Sentinel", "Origin"));
        trierParTome(notices);
        QStringList ordre;
        for (const NoticeAlbum& n : notices)
            ordre << QString::number(n.annee);
        QCOMPARE(ordre.join(' '), "2018 2019 2020 2024 2021 2022");
        QStringList absents;
        for (const TomeParu& t : tomesAbsents(notices, "Les Chroniques d'Élise", index))
            absents << QString("%1 %2 %3").arg(t.tome).arg(t.titre).arg(t.annee);
        QCOMPARE(absents, QStringList({ "3 Les Îles de Brume 2020", "4 La Cité engloutie 2021" }));
    }

    void gcstar()
    {
        const AutresCatalogues::Lecture lue = AutresCatalogues::lireGcstar(
            QStringLiteral(PHYLACTO_TEST_DATA "/gcstar/collection.gcs"), Manga, jour);
        QCOMPARE(lue.erreur, QString());
        QCOMPARE(lue.ignores, 1);
        const QStringList attendus {
            "Les Chroniques d'Élise|1|La Forêt des Lucioles|Anaïs Ferré|Mathilde Roussel|Léa "
            "Martin|Dargaud|Fantastique|4|Élise part à la recherche de son frère. — "
            "Dédicacé||foret.jpg",
            "Les Chroniques d'Élise|2|Le Phare d'Écume|Anaïs Ferré|Mathilde "
            "Roussel||Dargaud||5|Prêté à Noël|Théo 01/03/2026|-",
            "Iron Sentinel|1|Origins|Sam Reed|Ava Stone||||2|||-",
            "Le Dernier Phare|0|Le Dernier Phare|Claire Vidal||||Drame|0|||-",
            "Capitaine Frégate|3|Tome 3|Ana Lutz|Bruno Kiel||||0|||-",
        };
        for (int i = 0; i < attendus.size(); ++i)
            QCOMPARE(resume(lue.albums.value(i)), attendus.at(i));
        QCOMPARE(lue.albums.value(0).valeurs.type, int(Manga));
        QCOMPARE(lue.albums.size(), 7);

        Catalogue catalogue;
        QVERIFY(charger(
            catalogue, { "Iron Sentinel;Origins;1", "Capitaine Frégate;La Passe du Nord;3" }));
        const AutresCatalogues::Apercu apercu = AutresCatalogues::apercu(lue.albums, catalogue);
        QCOMPARE(apercu.retenus, QList<int>({ 0, 1, 3, 4, 6 })); // the same album twice, one held
        QCOMPARE(apercu.albums, 5);
        QCOMPARE(apercu.series, 3); // "iron sentinel" is not "Iron Sentinel"
        QCOMPARE(apercu.couvertures, 1);
        QCOMPARE(apercu.dejaPresents, 2);
    }

    void tellico()
    {
        QTemporaryDir dossier;
        const QString tc = dossier.filePath("mes-bd.tc");
        QVERIFY(archiver(tc,
            { { "tellico.xml", donnee("tellico.xml") },
                { "images/archive.jpg", "couverture archive" } }));
        const AutresCatalogues::Lecture lue = AutresCatalogues::lireTellico(tc, Euro, jour);
        QCOMPARE(lue.erreur, QString());
        const QStringList attendus {
            "Les Chroniques d'Élise|1|La Forêt des Lucioles|Anaïs Ferré, Paul Morel|Mathilde "
            "Roussel||Dargaud|Fantastique|4|Élise part à la recherche de son frère.|Emprunteur "
            "inconnu 01/03/2026|couverture archive",
            "Les Chroniques d'Élise|2|Le Phare d'Écume - Première partie||||||5||Théo "
            "01/03/2026|couverture incluse",
            "Iron Sentinel|1|Origins||||||0|||couverture archive",
            "Le Dernier Phare|0|Le Dernier Phare|Claire Vidal|||||0|||-",
        };
        QCOMPARE(lue.albums.size(), attendus.size());
        for (int i = 0; i < attendus.size(); ++i)
            QCOMPARE(resume(lue.albums.at(i)), attendus.at(i));
        Catalogue catalogue;
        QVERIFY(charger(catalogue, { "Iron Sentinel;Origins;1" }));
        const AutresCatalogues::Apercu apercu = AutresCatalogues::apercu(lue.albums, catalogue);
        QCOMPARE(apercu.albums, 3);
        QCOMPARE(apercu.series, 2);
        QCOMPARE(apercu.couvertures, 2);
        QCOMPARE(apercu.dejaPresents, 1);
    }

    void tellicoRefuse_data()
    {
        QTest::addColumn<QByteArray>("xml"); // empty: no tellico.xml
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<QString>("erreur");
        const QByteArray xml = donnee("tellico.xml");
        QTest::newRow("sans tellico.xml") << QByteArray() << QByteArray("x") << "tellico.xml";
        QTest::newRow("des livres")
            << QByteArray(xml).replace("type=\"6\"", "type=\"2\"") << QByteArray("x") << "(type 2)";
        QTest::newRow("pas du Tellico")
            << QByteArray("<collection/>") << QByteArray("x") << "pas une collection Tellico";
        QTest::newRow("XML coupé") << xml.left(600) << QByteArray("x") << "XML illisible";
        QTest::newRow("image énorme")
            << xml << QByteArray(AutresCatalogues::tailleMaxImage + 1, '\0') << "trop volumineuse";
    }
    void tellicoRefuse()
    {
        QFETCH(QByteArray, xml);
        QFETCH(QByteArray, image);
        QFETCH(QString, erreur);
        QTemporaryDir dossier;
        const QString tc = dossier.filePath("mes-bd.tc");
        QList<QPair<QString, QByteArray>> entrees { { "images/archive.jpg", image } };
        if (!xml.isEmpty())
            entrees.append({ "tellico.xml", xml });
        QVERIFY(archiver(tc, entrees));
        const AutresCatalogues::Lecture lue = AutresCatalogues::lireTellico(tc, Euro, jour);
        QVERIFY2(lue.erreur.contains(erreur), qPrintable(lue.erreur));
        QVERIFY(lue.albums.isEmpty());
        const QString gcs = QStringLiteral(PHYLACTO_TEST_DATA "/gcstar/collection.gcs");
        QVERIFY(AutresCatalogues::lireTellico(gcs, Euro, jour).erreur.contains("pas une archive"));
        QVERIFY(AutresCatalogues::lireGcstar(tc, Euro, jour).erreur.contains("XML illisible"));
    }
};

QTEST_GUILESS_MAIN(TestCatalogues)
#include "test_catalogues.moc"
