// Keyless cover sources: their answers, the ranking, the pacing, and the
// searches of the main window through them.
#include "covers/cadenceur.h"
#include "covers/recherchecouvertures.h"
#include "covers/sourcescouvertures.h"
#include "dialogs/choitimage.h"
#include "support/fixture.h"
#include "support/serveurtest.h"

using namespace SourcesCouvertures;

namespace {

QByteArray notice(const QByteArray& ark, const QByteArray& titre, const QByteArray& serie,
    const QByteArray& volume = {})
{
    const QByteArray v
        = volume.isEmpty() ? "" : "<m:subfield code=\"v\">" + volume + "</m:subfield>";
    return "<s:record><s:recordData><m:record id=\"ark:/12148/" + ark
        + "\"><m:datafield tag=\"200\"><m:subfield code=\"a\">" + titre
        + "</m:subfield></m:datafield><m:datafield tag=\"225\"><m:subfield code=\"a\">" + serie
        + "</m:subfield>" + v + "</m:datafield></m:record></s:recordData></s:record>";
}

QByteArray sru(const QByteArray& notices)
{
    return "<s:searchRetrieveResponse xmlns:s=\"http://www.loc.gov/zing/srw/\" "
           "xmlns:m=\"info:lc/xmlns/marcxchange-v2\">"
           "<s:records>"
        + notices + "</s:records></s:searchRetrieveResponse>";
}

const QByteArray ol = donnee("openlibrary-blacksad.json");
const AlbumCherche blacksad3 { "Blacksad Tome 3", "Blacksad", QString::fromUtf8("Âme rouge"), 3 };

ServeurTest::Reponse reponse(const QByteArray& corps, int statut = 200, bool tronquee = false)
{
    return { statut, corps, {}, 0, tronquee };
}
using Service = QList<QPair<QByteArray, ServeurTest::Reponse>>;

// The settings that point every keyless source at the loopback service.
bool pointerVers(const DossierTravail& dossier, const QString& source, const ServeurTest& serveur)
{
    const QString base = QString::fromLatin1(serveur.base());
    return dossier.parametres({ "COUVERTURES/Source=" + source, "COUVERTURES/BnF=" + base,
        "COUVERTURES/OpenLibrary=" + base, "COUVERTURES/OpenLibraryCouvertures=" + base });
}

QString interrogation(const ServeurTest& serveur)
{
    return QUrl::fromPercentEncoding(serveur.requetesVers("/api/SRU").value(0).valeur("query"));
}

} // namespace

class TestSources : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QCoreApplication::setApplicationVersion(QStringLiteral("9.8")); }

    void lectures_data()
    {
        QTest::addColumn<bool>("bnf");
        QTest::addColumn<QByteArray>("corps");
        QTest::addColumn<bool>("valide");
        QTest::addColumn<QString>("classees"); // the end of each cover address, best first
        // Ties keep the service's order: the best match comes last here.
        const QByteArray trois = notice("cb1", "Quelque part entre les ombres", "Blacksad", "1")
            + notice("cb5", "AME ROUGE", "BLACKSAD", "T. 2") + notice("cb3", "Âme rouge", "Autre")
            + notice("cb2", "AME ROUGE", "BLACKSAD", "T. 3");
        QTest::newRow("sru rangée") << true << sru(trois) << true << "cb2 cb5 cb3 cb1";
        QTest::newRow("sru sans 225$v")
            << true << sru(notice("cb4", "Blacksad 3 : Âme rouge", "")) << true << "cb4";
        QTest::newRow("sru vide") << true << sru("") << true << "";
        QTest::newRow("sru coupée") << true << sru(trois).left(300) << false << "";
        QTest::newRow("sru diagnostic")
            << true << sru("<d:diagnostic xmlns:d=\"x\"/>") << false << "";
        QTest::newRow("pas du sru") << true << QByteArray("<html><body/></html>") << false << "";
        QTest::newRow("json rangé")
            << false << ol << true << "9-L.jpg?default=false 5-L.jpg?default=false";
        QTest::newRow("json coupé") << false << ol.left(40) << false << "";
        QTest::newRow("json sans docs") << false << QByteArray("{\"error\":1}") << false << "";
    }
    void lectures()
    {
        QFETCH(bool, bnf);
        QFETCH(QByteArray, corps);
        const QUrl base("http://h/");
        const Lecture lue = bnf ? lireReponseSru(corps, base) : lireReponseOpenLibrary(corps, base);
        QTEST(lue.valide, "valide");
        QStringList fins;
        for (const QUrl& url : classer(lue.notices, blacksad3))
            fins << url.toString().section(bnf ? "%2F" : "/", -1).section('&', 0, 0);
        QTEST(fins.join(' '), "classees");
    }

    // "+h@t" sent to h at t, "-h@t" finished, "?h@t=n" wait asked.
    void cadence_data()
    {
        QTest::addColumn<QString>("evenements");
        QTest::newRow("premier envoi") << "?a@0=0";
        QTest::newRow("un à la fois par hôte") << "+a@0 ?a@5000=-1 ?b@10=0";
        QTest::newRow("une seconde après la fin")
            << "+a@0 -a@300 ?a@800=501 ?a@1300=1 ?a@1301=0 ?b@800=0";
    }
    void cadence()
    {
        QFETCH(QString, evenements);
        Cadence cadence;
        for (const QString& e : evenements.split(' ')) {
            const QString hote = e.mid(1, 1);
            const qint64 t = e.section('@', 1).section('=', 0, 0).toLongLong();
            if (e.startsWith('+'))
                cadence.envoye(hote);
            else if (e.startsWith('-'))
                cadence.termine(hote, t);
            else
                QVERIFY2(cadence.attente(hote, t) == e.section('=', 1).toLongLong(), qPrintable(e));
        }
    }

    void rechercheUnAlbum_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<Service>("service");
        QTest::addColumn<QByteArray>("couverture"); // empty: a message instead
        QTest::addColumn<QString>("message");
        const QByteArray une = sru(notice("cb9", "Âme rouge", "Blacksad", "3"));
        // A cover as small as the catalogue's placeholder is a cover elsewhere.
        const QByteArray bnf = imagePng(60, 60, {}, 3), openLibrary = imagePng(38, 38, {}, 4);
        const Service bnfDefaut { { "/api/SRU", reponse(une) },
            { "/couverture", reponse(imagePng(38, 38, {}, 1)) } };
        const Service olServi { { "/search.json", reponse(ol) },
            { "/b/id/9-L.jpg", reponse(openLibrary) } };
        const QByteArray rien;
        QTest::newRow("bnf") << "bnf"
                             << Service { { "/api/SRU", reponse(une) },
                                    { "/couverture", reponse(bnf) } }
                             << bnf << "";
        QTest::newRow("openlibrary") << "openlibrary" << olServi << openLibrary << "";
        QTest::newRow("auto, image par défaut")
            << "auto" << olServi + bnfDefaut << openLibrary << "";
        QTest::newRow("bnf, image par défaut") << "bnf" << bnfDefaut << rien << "Aucune couverture";
        QTest::newRow("page pour image")
            << "openlibrary"
            << Service { { "/search.json", reponse(ol) }, { "/b/id/9-L.jpg", reponse("<html/>") } }
            << rien << "Aucune couverture";
        QTest::newRow("429") << "bnf" << Service { { "/api/SRU", reponse("", 429) } } << rien
                             << "indisponible (BnF : HTTP 429)";
        QTest::newRow("500, rien ailleurs") << "auto"
                                            << Service { { "/api/SRU", reponse("", 500) },
                                                   { "/search.json", reponse(R"({"docs":[]})") } }
                                            << rien << "indisponible (BnF : HTTP 500)";
        QTest::newRow("403 sur l'image")
            << "openlibrary"
            << Service { { "/search.json", reponse(ol) }, { "/b/id/9-L.jpg", reponse("", 403) } }
            << rien << "(Open Library : HTTP 403)";
        QTest::newRow("coupée") << "openlibrary"
                                << Service { { "/search.json", reponse(ol, 200, true) } } << rien
                                << "indisponible (Open Library : ";
        QTest::newRow("vers file")
            << "bnf"
            << Service { { "/api/SRU", { 302, "", { { "Location", "file:///etc/passwd" } } } } }
            << rien << "(BnF : redirection refusée vers file:///etc/passwd)";
        QTest::newRow("image énorme")
            << "openlibrary"
            << Service { { "/search.json", reponse(ol) },
                   { "/b/id/9-L.jpg", { 200, "x", {}, 0, false, 100 << 20 } } }
            << rien << "(Open Library : image trop volumineuse (plus de 20 Mo))";
    }
    void rechercheUnAlbum()
    {
        QFETCH(QString, source);
        QFETCH(QByteArray, couverture);
        QFETCH(QString, message);
        QFETCH(Service, service);
        DossierTravail dossier;
        ServeurTest serveur;
        QVERIFY(serveur.demarrer());
        for (const auto& [chemin, reponse] : service)
            serveur.setReponse(chemin, reponse);
        QVERIFY(dossier.collection(ligneAlbum("Blacksad", QString::fromUtf8("Âme rouge"), 3)));
        QVERIFY(pointerVers(dossier, source, serveur));
        Phylacto fenetre;
        enfant<QTableWidget>(&fenetre, "LstAlbum")->setCurrentCell(0, 1);
        enfant<QPushButton>(&fenetre, "pbChercherImage")->click();
        auto* panneau = fenetre.findChild<choitImage*>();
        QVERIFY(panneau);
        auto* image = enfant<QLabel>(panneau, "labelImage");
        for (int fois = 0; fois < 2; ++fois) {
            enfant<QPushButton>(panneau, "pbRechercher")->click();
            QTRY_VERIFY_WITH_TIMEOUT(
                !image->pixmap().isNull() || Boites::textesVus().size() > fois, 15000);
            if (couverture.isEmpty())
                break;
            image->clear();
        }
        for (const ServeurTest::Requete& requete : serveur.requetes())
            QCOMPARE(requete.entete("User-Agent"), QByteArray("Phylacto/9.8"));
        if (couverture.isEmpty()) {
            QCOMPARE(Boites::textesVus().size(), 1);
            const QString vu = Boites::textesVus().first();
            QVERIFY2(vu.contains(message), qPrintable(vu));
            if (!message.startsWith("Aucune"))
                QVERIFY2(!vu.contains("Aucune"), qPrintable(vu));
            QVERIFY(!QFile::exists(dossier.chemin("data/tutu.jpg")));
            return;
        }
        if (source == "bnf")
            QCOMPARE(interrogation(serveur),
                QString::fromUtf8("bib.anywhere all \"Blacksad Âme rouge\""));
        // The second search was answered from memory.
        QCOMPARE(
            serveur.requetesVers("/api/SRU").size() + serveur.requetesVers("/search.json").size(),
            source == "auto" ? 2 : 1);
        enfant<QPushButton>(panneau, "pbSelectionner")->click();
        QCOMPARE(dossier.lire(QString::fromUtf8("images/Blacksad_Âme_rouge.jpg")), couverture);
        QCOMPARE(fenetre.getAlbums().first()->getImage(),
            QString::fromUtf8("images//Blacksad_Âme_rouge.jpg"));
    }

    // A host that trickles is given up by the next search, which goes out at once.
    void hoteLent()
    {
        DossierTravail dossier;
        ServeurTest serveur;
        QVERIFY(serveur.demarrer());
        QVERIFY(pointerVers(dossier, "bnf", serveur));
        serveur.setReponse("/api/SRU", { 200, "x", {}, 0, false, -1, 100 });
        QSettings parametres(dossier.chemin("data/settings.ini"), QSettings::IniFormat);
        RechercheCouvertures recherche(&parametres);
        recherche.cadenceur()->setDelais(500, 60000);
        QSignalSpy messages(&recherche, &RechercheCouvertures::rechercheSansCouverture);
        recherche.chercher(Source::Bnf, blacksad3);
        QTRY_COMPARE(serveur.requetesVers("/api/SRU").size(), 1);
        serveur.setReponse("/api/SRU", reponse(sru("")));
        recherche.chercher(Source::Bnf, blacksad3);
        QVERIFY(messages.wait(5000));
        QCOMPARE(serveur.requetesVers("/api/SRU").size(), 2);
    }

    // The user goes through five albums as fast as the answers come.
    void marcheAutomatique()
    {
        DossierTravail dossier;
        ServeurTest serveur;
        QVERIFY(serveur.demarrer());
        serveur.setReponse("/api/SRU", reponse(sru(notice("cb9", "Un", "Blacksad", "1"))));
        const QByteArray couverture = imagePng(60, 60, {}, 5);
        serveur.setReponse("/couverture", reponse(couverture));
        QByteArray collection;
        for (int tome = 1; tome <= 5; ++tome)
            collection += ligneAlbum("Blacksad", QString("Titre %1").arg(tome), tome);
        QVERIFY(dossier.collection(collection));
        QVERIFY(pointerVers(dossier, "bnf", serveur));
        Phylacto fenetre;
        for (int i = 0; i < 5; ++i) {
            Boites::setProchaineEtape([](QWidget* dialogue) {
                auto* panneau = dialogue->findChild<choitImage*>();
                QVERIFY(QTest::qWaitFor(
                    [panneau] {
                        if (!panneau->getRecherche().contains("Tome"))
                            enfant<QPushButton>(panneau, "pbRechercher")->click();
                        return !enfant<QLabel>(panneau, "labelImage")->pixmap().isNull();
                    },
                    10000));
                QVERIFY(cliquer(panneau, "pbSelectionner"));
                QVERIFY(cliquer(panneau, "pbBDSuivante"));
            });
        }
        QVERIFY(declencherAction(&fenetre, "actionChercher_image_manquantes"));
        QCOMPARE(Boites::etapesEnAttente(), 0);
        for (const BD* album : fenetre.getAlbums())
            QCOMPARE(dossier.lire(album->getImage()), couverture);
        // The volume is left to the ranking; the title finds the album.
        QCOMPARE(interrogation(serveur), QString("bib.anywhere all \"Blacksad Titre 1\""));
        const QList<ServeurTest::Requete> requetes = serveur.requetes();
        QCOMPARE(requetes.size(), 10);
        for (int i = 1; i < requetes.size(); ++i)
            QVERIFY2(requetes.at(i).recu - requetes.at(i - 1).recu >= 1000,
                qPrintable(QString::number(i)));
    }
};

QTEST_MAIN(TestSources)
#include "test_sources.moc"
