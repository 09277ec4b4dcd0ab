// Albums added without typing: found in the national catalogue (by ISBN,
// barcode or words), the volumes of a series still to buy, and the
// collections of GCstar and Tellico, through the window.
#include "covers/cadenceur.h"
#include "covers/recherchecouvertures.h"
#include "dialogs/ajoutcatalogue.h"
#include "dialogs/listetomesmanquants.h"
#include "dialogs/saise.h"
#include "model/emprunt.h"
#include "model/isbn.h"
#include "support/fixture.h"
#include "support/serveurtest.h"

#include <zip.h>

Q_DECLARE_METATYPE(ServeurTest::Reponse)

namespace {

using Reponse = ServeurTest::Reponse;

// The n-th record (from 1) of the library's answer kept in tests/data.
QByteArray noticeDuFichier(int n)
{
    const QByteArray xml = donnee("sru-albums.xml");
    qsizetype debut = -1;
    for (int i = 0; i < n; ++i)
        debut = xml.indexOf("<srw:record>", debut + 1);
    return xml.mid(debut, xml.indexOf("</srw:record>", debut) + 13 - debut);
}

ServeurTest::Reponse reponse(const QByteArray& corps, int statut = 200)
{
    return { statut, corps, {} };
}

// Volume tome of the series, numbered isbn, its cover at the library.
QByteArray noticeSerie(const QByteArray& serie, int tome, const QByteArray& isbn = "")
{
    const QByteArray n = QByteArray::number(tome);
    return "<srw:record><srw:recordData><m:record id=\"ark:/12148/cb" + n
        + "\"><m:datafield "
          "tag=\"010\"><m:subfield code=\"a\">"
        + isbn
        + "</m:subfield></m:datafield><m:datafield "
          "tag=\"200\"><m:subfield code=\"a\">Titre "
        + n
        + "</m:subfield><m:subfield "
          "code=\"f\">scénario, Ana Lutz</m:subfield><m:subfield code=\"g\">dessin, Bruno "
          "Kiel</m:subfield></m:datafield><m:datafield tag=\"210\"><m:subfield code=\"c\">Glénat"
          "</m:subfield><m:subfield code=\"d\">"
        + QByteArray::number(2000 + tome)
        + "</m:subfield>"
          "</m:datafield><m:datafield tag=\"225\"><m:subfield code=\"a\">"
        + serie
        + "</m:subfield>"
          "<m:subfield code=\"v\">"
        + n
        + "</m:subfield></m:datafield></m:record></srw:recordData>"
          "</srw:record>";
}

QByteArray sru(const QByteArray& notices, int total, int suivant = 0)
{
    return "<srw:searchRetrieveResponse xmlns:srw=\"http://www.loc.gov/zing/srw/\" "
           "xmlns:mxc=\"info:lc/xmlns/marcxchange-v2\" xmlns:m=\"info:lc/xmlns/marcxchange-v2\">"
           "<srw:numberOfRecords>"
        + QByteArray::number(total) + "</srw:numberOfRecords><srw:records>" + notices
        + "</srw:records>"
        + (suivant ? "<srw:nextRecordPosition>" + QByteArray::number(suivant)
                    + "</srw:nextRecordPosition>"
                   : "")
        + "</srw:searchRetrieveResponse>";
}

const QByteArray couverture = imagePng(60, 60, {}, 5); // larger than the library's "no cover"

// "serie|tome|titre|scenariste|dessinateur|coloriste|editeur|genre|note|commentaire|type|pret|image"
QString resume(const BD* a)
{
    return QStringList { a->getSerie(), QString::number(a->tome), a->getTitre(), a->getScenariste(),
        a->getDessinateur(), a->getColoriste(), a->getEditeur(), a->getGenre(),
        QString::number(a->note), a->getCommentaire(), QString::number(a->type),
        (a->getEmprunteur() + ' ' + a->getDateEmprunt()).trimmed(), a->getImage() }
        .join('|');
}

// A window on a scratch folder whose keyless sources are the loopback service.
struct Banc : Scene
{
    explicit Banc(const QByteArray& lignes = ligneAlbum("Iron Sentinel", "Origins"))
        : Scene(lignes)
    {
        pret = serveur.demarrer()
            && parametres({ "COUVERTURES/BnF=http://127.0.0.1:" + QString::number(serveur.port()),
                "COUVERTURES/OpenLibrary=http://127.0.0.1:" + QString::number(serveur.port()),
                "COUVERTURES/OpenLibraryCouvertures=http://127.0.0.1:"
                    + QString::number(serveur.port()) });
        serveur.setReponse("/couverture", reponse(couverture));
        ouvrir();
        // Pacing is kept; the loopback host need not wait a second between answers.
        fenetre->findChild<RechercheCouvertures*>()->cadenceur()->setIntervalle(0);
    }
    AjoutCatalogue* dialogue()
    {
        if (!dernier<AjoutCatalogue>())
            declencherAction(fenetre.get(), "actionAjouterCatalogue");
        return dernier<AjoutCatalogue>();
    }
    QString etat() { return enfant<QLabel>(dialogue(), "lbEtatCatalogue")->text(); }
    QTableWidget* resultats() { return enfant<QTableWidget>(dialogue(), "tvResultatsCatalogue"); }
    // Typed and Enter, as a barcode scanner does; then the answer.
    bool scanner(const QString& texte)
    {
        auto* champ = enfant<QLineEdit>(dialogue(), "leRechercheCatalogue");
        champ->setText(texte);
        QTest::keyClick(champ, Qt::Key_Return);
        return champ->text().isEmpty()
            && QTest::qWaitFor([this] { return !etat().startsWith("Recherche"); }, 5000);
    }
    bool ajouter(int attendus)
    {
        const qsizetype avant = fenetre->getAlbums().size();
        cliquer(dialogue(), "pbAjouterCatalogue");
        return QTest::qWaitFor(
            [&] { return fenetre->getAlbums().size() == avant + attendus; }, 5000);
    }
    QString annuler() { return enfant<QAction>(fenetre.get(), "actionAnnuler")->text(); }
    ServeurTest serveur;
    bool pret = false;
};

QByteArray isbn(int i)
{
    const QString douze = QString("97820000%1").arg(i, 4, 10, QChar('0'));
    return (douze + Isbn::cle13(douze)).toLatin1();
}

} // namespace

class TestAjouts : public QObject
{
    Q_OBJECT

private slots:
    void trouver_data()
    {
        QTest::addColumn<QString>("saisie");
        QTest::addColumn<Reponse>("bnf");
        QTest::addColumn<Reponse>("openLibrary");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("attendu"); // the album added, or what the dialog says
        const Reponse rien = reponse(R"({"docs":[],"numFound":0})"), aucune = reponse(sru("", 0));
        QTest::newRow("album français")
            << "978-2-205-05005-9" << reponse(sru(noticeDuFichier(1), 1)) << rien << 0
            << "Les Chroniques d'Élise|2|Le Phare d'Écume|Anaïs Ferré, Paul Morel|Mathilde "
               "Roussel|Léa Martin|Dargaud||0||0||images//Les_Chroniques_d'Élise_Tome_2.jpg";
        QTest::newRow("ISBN-10")
            << "2-205-00008-X" << reponse(sru(noticeDuFichier(2), 1)) << rien << 0
            << "Les Voyages de Nour|4|La Cité engloutie|Marc Delorme|Marc Delorme|Julie "
               "Sorel|Casterman||0||0||images//Les_Voyages_de_Nour_Tome_4.jpg";
        QTest::newRow("manga") << "9782505000099" << reponse(sru(noticeDuFichier(3), 1)) << rien
                               << 2
                               << "Kaze no Tabibito|1|Le vent se lève|Hiro "
                                  "Takeda|||Kana||0||2||images//Kaze_no_Tabibito_Tome_1.jpg";
        QTest::newRow("sans série")
            << "Le Dernier Phare" << reponse(sru(noticeDuFichier(4), 1)) << rien << 0
            << "Le Dernier Phare|0|Le Dernier Phare|Claire Vidal|||Delcourt||0||0||";
        QTest::newRow("461") << "978-2-84172-005-7" << reponse(sru(noticeDuFichier(5), 1)) << rien
                             << 1
                             << "Capitaine Frégate|3|La Passe du Nord|Ana Lutz|Bruno "
                                "Kiel||Glénat||0||1||images//Capitaine_Frégate_Tome_3.jpg";
        QTest::newRow("Open Library")
            << "9782205050059" << aucune << reponse(donnee("openlibrary.json")) << 0
            << "Les Chroniques d'Élise|3|Les Chroniques d'Élise|Anaïs "
               "Ferré|||Dargaud||0||0||images//Les_Chroniques_d'Élise_Tome_3.jpg";
        QTest::newRow("clé fausse")
            << "978-2-205-05005-8" << aucune << rien << 0 << "devrait être 9";
        QTest::newRow("aucun résultat")
            << "9782205050059" << aucune << rien << 0 << "Aucun résultat pour « 9782205050059 »";
        QTest::newRow("429") << "Blacksad" << reponse("", 429) << reponse("", 429) << 0
                             << "« Blacksad » : BnF : le service limite les demandes : réessayez "
                                "dans un moment ; Open Library : le service";
        QTest::newRow("illisible")
            << "Blacksad" << reponse("<html>") << reponse("{") << 0
            << "« Blacksad » : BnF : réponse illisible ; Open Library : réponse illisible";
    }
    void trouver()
    {
        QFETCH(QString, saisie);
        QFETCH(QString, attendu);
        Banc banc;
        QVERIFY(banc.pret);
        QFETCH(Reponse, bnf);
        QFETCH(Reponse, openLibrary);
        banc.serveur.setReponse("/api/SRU", bnf);
        banc.serveur.setReponse("/search.json", openLibrary);
        banc.serveur.setReponse("/b/id/812-L.jpg", reponse(couverture));
        QCOMPARE(banc.scanner(saisie), !attendu.startsWith("devrait"));
        if (!attendu.contains('|')) {
            QVERIFY2(banc.etat().contains(attendu), qPrintable(banc.etat()));
            QCOMPARE(banc.resultats()->rowCount(), 0);
            QCOMPARE(banc.serveur.requetes().isEmpty(), attendu.startsWith("devrait"));
            return;
        }
        QFETCH(int, type);
        enfant<QComboBox>(banc.dialogue(), "cbTypeCatalogue")->setCurrentIndex(type);
        banc.resultats()->item(0, 0)->setCheckState(Qt::Checked);
        QVERIFY(banc.ajouter(1));
        const BD* album = banc.fenetre->getAlbums().last();
        QCOMPARE(resume(album), attendu);
        if (album->aUneImage())
            QCOMPARE(banc.lire(album->getImage()), couverture);
        if (saisie.contains('X'))
            QVERIFY(QUrl::fromPercentEncoding(banc.serveur.requetes().first().valeur("query"))
                        .contains("9782205000085"));
    }

    // A shelf of ten new albums and a held one scanned, added with one click, undone in one step.
    void etagere()
    {
        Banc banc(ligneAlbum("Étagère", "Titre 11", 11));
        QVERIFY(banc.pret);
        banc.serveur.setGestionnaire([](const ServeurTest::Requete& r) -> std::optional<Reponse> {
            const QByteArray requete = QUrl::fromPercentEncoding(r.valeur("query")).toUtf8();
            if (r.chemin == "/couverture") // each volume its own cover
                return reponse(
                    imagePng(60, 60, {}, 100 + r.valeur("idArk").split('b').last().toInt()));
            if (r.chemin != "/api/SRU" || !requete.contains("bib.isbn"))
                return std::nullopt;
            const int i = requete.mid(requete.indexOf("978") + 8, 4).toInt();
            return reponse(sru(noticeSerie("Étagère", i, isbn(i)), 1));
        });
        // Scanned faster than the answers come; a cover search given up meanwhile drops none.
        auto* champ = enfant<QLineEdit>(banc.dialogue(), "leRechercheCatalogue");
        for (int i = 1; i <= 11; ++i) {
            champ->setText(isbn(i));
            QTest::keyClick(champ, Qt::Key_Return);
        }
        banc.fenetre->findChild<RechercheCouvertures*>()->annuler();
        QTRY_COMPARE(banc.resultats()->rowCount(), 11);
        QVERIFY(banc.scanner(isbn(4))); // scanned twice: listed once
        QCOMPARE(banc.resultats()->rowCount(), 11);
        QCOMPARE(banc.resultats()->item(10, 10)->text(), "déjà dans la collection");
        QCOMPARE(
            enfant<QLabel>(banc.dialogue(), "lbAttenteCatalogue")->text(), "10 albums en attente");
        banc.resultats()->item(10, 0)->setCheckState(Qt::Checked); // refused all the same
        const QByteArray empreinte = banc.fenetre->getCatalogue().empreinte();
        QVERIFY(banc.ajouter(10));
        QVERIFY(banc.etat().endsWith("Album Titre 11 de la série Étagère déjà existant."));
        QVERIFY(banc.scanner(isbn(1)));
        QCOMPARE(banc.resultats()->item(1, 10)->text(), "déjà dans la collection");
        QCOMPARE(banc.textes("LstAlbum", 1).size(), 11);
        for (int i = 1; i <= 10; ++i) {
            const BD* album = banc.fenetre->getAlbums().at(i);
            QCOMPARE(resume(album),
                QString("Étagère|%1|Titre %1|Ana Lutz|Bruno Kiel||Glénat||0||0||images//"
                        "Étagère_Tome_%1.jpg")
                    .arg(i));
            QCOMPARE(banc.lire(album->getImage()), imagePng(60, 60, {}, 100 + i));
        }
        QVERIFY(banc.fenetre->estModifie());
        QCOMPARE(banc.annuler(), "Annuler l'ajout de 10 albums");
        QVERIFY(declencherAction(banc.fenetre.get(), "actionAnnuler"));
        QCOMPARE(banc.fenetre->getCatalogue().empreinte(), empreinte);
        QCOMPARE(banc.textes("LstAlbum", 1), QStringList { "Titre 11" });

        // Changed in the entry form before it is added.
        banc.resultats()->setCurrentCell(0, 1);
        QVERIFY(cliquer(banc.dialogue(), "pbModifierCatalogue"));
        Saise* saisie = banc.dialogue()->findChild<Saise*>();
        QCOMPARE(enfant<QLineEdit>(saisie, "leScenariste")->text(), "Ana Lutz");
        QVERIFY(remplir(saisie, { "leAlbum=Titre 11 (réédition)", "pbValider" }));
        QTRY_COMPARE(banc.fenetre->getAlbums().size(), 2);
        QCOMPARE(resume(banc.fenetre->getAlbums().last()),
            "Étagère|11|Titre 11 (réédition)|Ana Lutz|Bruno "
            "Kiel||Glénat||0||0||images//Étagère_Tome_11.jpg");
    }

    // Volumes published that the collection lacks, over two pages, asked once.
    void tomesParus()
    {
        QByteArray lignes;
        for (int tome : { 1, 2, 3, 5 })
            lignes += ligneAlbum("Longue", QString("Titre %1").arg(tome), tome);
        Banc banc(lignes);
        QVERIFY(banc.pret);
        banc.serveur.setGestionnaire([](const ServeurTest::Requete& r) -> std::optional<Reponse> {
            const int debut = r.valeur("startRecord").toInt();
            QByteArray page;
            for (int tome = debut; tome < qMin(debut + 50, 61); ++tome)
                page += noticeSerie("Longue", tome);
            return reponse(sru(page, 60, debut == 1 ? 51 : 0));
        });
        QVERIFY(declencherAction(banc.fenetre.get(), "actionTomesManquants"));
        auto* tomes = banc.dernier<ListeTomesManquants>();
        for (int fois = 0; fois < 2; ++fois) {
            QVERIFY(cliquer(tomes, "pbTomesParus"));
            QTRY_VERIFY(enfant<QPushButton>(tomes, "pbTomesParus")->isEnabled());
        }
        QCOMPARE(enfant<QLabel>(tomes, "lbTomesParus")->text(),
            "56 tomes parus de « Longue » vous manquent :");
        QCOMPARE(enfant<QTableWidget>(tomes, "LstTomesParus")->item(0, 1)->text(), "Titre 4");
        QCOMPARE(enfant<QTableWidget>(tomes, "LstTomesParus")->item(55, 2)->text(), "2060");
        QCOMPARE(banc.serveur.requetes().size(), 2);
        // The same search by name in the add dialog: every volume in order, held ones marked.
        QVERIFY(banc.scanner("Longue"));
        QCOMPARE(banc.serveur.requetes().size(), 2);
        QCOMPARE(banc.textes("tvResultatsCatalogue", 2).mid(0, 3), QStringList({ "1", "2", "3" }));
        QCOMPARE(banc.resultats()->item(4, 10)->text(), "déjà dans la collection");
        QCOMPARE(banc.resultats()->item(3, 10)->text(), "");
    }

    void importer_data()
    {
        QTest::addColumn<QString>("fichier");
        QTest::addColumn<QString>("apercu");
        QTest::addColumn<QStringList>("albums");
        const QString jour = Emprunt::formaterDate(QDate::currentDate());
        QTest::newRow("GCstar")
            << "autre/collection.gcs"
            << "« collection.gcs »\nÀ ajouter : 5 albums, 4 nouvelles séries, 1 couverture.\n2 "
               "albums déjà dans la collection ou en double seront ignorés.\n1 entrée sans série "
               "ni titre est ignorée."
            << QStringList {
                   "Les Chroniques d'Élise|1|La Forêt des Lucioles|Anaïs Ferré|Mathilde "
                   "Roussel|Léa Martin|Dargaud|Fantastique|4|Élise part à la recherche de son "
                   "frère. — Dédicacé|2||images//Les_Chroniques_d'Élise_Tome_1.jpg",
                   "Les Chroniques d'Élise|2|Le Phare d'Écume|Anaïs Ferré|Mathilde "
                   "Roussel||Dargaud||5|Prêté à Noël|2|Théo "
                       + jour + "|",
                   "Le Dernier Phare|0|Le Dernier Phare|Claire Vidal||||Drame|0||2||",
                   "Capitaine Frégate|3|Tome 3|Ana Lutz|Bruno Kiel||||0||2||",
                   "iron sentinel|1|origins||||||0||2||"
               };
        QTest::newRow("Tellico")
            << "autre/mes-bd.tc"
            << "« mes-bd.tc »\nÀ ajouter : 3 albums, 2 nouvelles séries, 2 couvertures.\n1 album "
               "déjà dans la collection ou en double sera ignoré."
            << QStringList { "Les Chroniques d'Élise|1|La Forêt des Lucioles|Anaïs Ferré, Paul "
                             "Morel|Mathilde Roussel||Dargaud|Fantastique|4|Élise part à la "
                             "recherche de son frère.|2|Emprunteur inconnu "
                       + jour + "|images//Les_Chroniques_d'Élise_Tome_1.jpg",
                   "Les Chroniques d'Élise|2|Le Phare d'Écume - Première partie||||||5||2|Théo "
                       + jour + "|",
                   "Le Dernier Phare|0|Le Dernier Phare|Claire Vidal|||||0||2||" };
    }
    void importer()
    {
        QFETCH(QString, fichier);
        QFETCH(QStringList, albums);
        Banc banc;
        const QByteArray image = imagePng(40, 50, Qt::blue);
        QVERIFY(banc.ecrire("autre/collection.gcs", donnee("gcstar/collection.gcs")));
        QVERIFY(banc.ecrire("autre/images/foret.jpg", image));
        zip_t* archive = zip_open(
            QFile::encodeName(banc.chemin("autre/mes-bd.tc")).constData(), ZIP_CREATE, nullptr);
        const QList<std::pair<const char*, QByteArray>> entrees {
            { "tellico.xml", donnee("tellico.xml") }, { "images/archive.jpg", image }
        };
        for (const auto& [nom, octets] : entrees)
            zip_file_add(
                archive, nom, zip_source_buffer(archive, octets.constData(), octets.size(), 0), 0);
        QVERIFY(zip_close(archive) == 0);
        const QByteArray empreinte = banc.fenetre->getCatalogue().empreinte();

        Boites::setProchainFichier(banc.chemin(fichier));
        QString apercu;
        Boites::setProchaineEtape([&](QWidget* dialogue) {
            apercu = enfant<QLabel>(dialogue, "lbApercuImport")->text();
            enfant<QComboBox>(dialogue, "cbTypeImport")->setCurrentIndex(Manga);
            cliquer(dialogue, "pbImporter");
        });
        QVERIFY(declencherAction(banc.fenetre.get(), "actionImporterAutreCatalogue"));
        QTEST(apercu, "apercu");
        QStringList ajoutes;
        for (const BD* album : banc.fenetre->getAlbums().mid(1))
            ajoutes << resume(album);
        QCOMPARE(ajoutes, albums);
        QCOMPARE(banc.lire(banc.fenetre->getAlbums().at(1)->getImage()), image);
        QCOMPARE(banc.annuler(), "Annuler l'import de " + QFileInfo(fichier).fileName());
        QVERIFY(declencherAction(banc.fenetre.get(), "actionAnnuler"));
        QCOMPARE(banc.fenetre->getCatalogue().empreinte(), empreinte);
    }
};

QTEST_MAIN(TestAjouts)
#include "test_ajouts.moc"
