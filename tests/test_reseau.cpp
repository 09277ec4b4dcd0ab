// The signed search request, its answer and the image download, against the
// loopback service of tests/support.
#include "covers/albuminfos.h"
#include "covers/signature.h"
#include "covers/xml_dom.h"
#include "support/dossiertravail.h"
#include "support/repondeur.h"
#include "support/serveurtest.h"

#include <QAuthenticator>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {
QByteArray basic(const QByteArray& login, const QByteArray& motDePasse)
{
    return "Basic " + (login + ':' + motDePasse).toBase64();
}

const QList<QByteArray> ordreRequete
    = { "AWSAccessKeyId", "AssociateTag", "Keywords", "Operation", "ResponseGroup", "SearchIndex",
          "Service", "Signature", "SignatureMethod", "SignatureVersion", "Timestamp" };

// Replies still alive once the deferred deletions have run.
qsizetype reponsesEnVie(QNetworkAccessManager* manager)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return manager->findChildren<QNetworkReply*>().size();
}

// One search to the end; returns the value of xmlFinished (or 99 when none came).
int rechercher(AlbumInfos& infos, const QString& texte)
{
    QSignalSpy fin(&infos, &AlbumInfos::xmlFinished);
    infos.envoyerRequete(texte);
    return fin.wait(5000) ? fin.first().first().toInt() : 99;
}
} // namespace

class TestReseau : public QObject
{
    Q_OBJECT

private slots:
    // Every test has a scratch directory, a started service the settings point
    // at, and its answer in place.
    void init()
    {
        dossier = std::make_unique<DossierTravail>();
        serveur = std::make_unique<ServeurTest>();
        QVERIFY(serveur->demarrer());
        dossier->ecrireParametres(serveur->parametresService());
        dossier->ecrireFichier("data/tutu.xml", serveur->documentRecherche());
    }

    void cleanup()
    {
        serveur.reset();
        dossier.reset();
    }

    void hmacSha1Rfc2202_data()
    {
        QTest::addColumn<QByteArray>("cle");
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QByteArray>("empreinteHex");
        const QByteArray longue(80, '\xaa');
        const QList<QList<QByteArray>> vecteurs = {
            { QByteArray(20, '\x0b'), "Hi There", "b617318655057264e28bc0b6fb378c8ef146be00" },
            { "Jefe", "what do ya want for nothing?", "effcdf6ae5eb2fa2d27416d5f184df9c259a7c79" },
            { longue, "Test Using Larger Than Block-Size Key - Hash Key First",
                "aa4ae5e15272d00e95705637ce8a3b55ed402112" },
            { longue, "Test Using Larger Than Block-Size Key and Larger Than One Block-Size Data",
                "e8e99d0f45237d786d6bbaa7965c7808bbff1a91" }
        };
        for (const QList<QByteArray>& v : vecteurs)
            QTest::newRow(v[2].left(8).constData()) << v[0] << v[1] << v[2];
    }

    void hmacSha1Rfc2202()
    {
        QFETCH(QByteArray, cle);
        QFETCH(QByteArray, message);
        QFETCH(QByteArray, empreinteHex);
        QCOMPARE(hmacSha1(cle, message), QString(QByteArray::fromHex(empreinteHex).toBase64()));
    }

    void encodagePourcent_data()
    {
        QTest::addColumn<QString>("texte");
        QTest::addColumn<QByteArray>("attendu");
        QTest::newRow("trois mots") << "Tintin au Tibet" << QByteArray("Tintin%20au%20Tibet");
        QTest::newRow("horodatage")
            << "2014-05-19T08:05:09Z" << QByteArray("2014-05-19T08%3A05%3A09Z");
        QTest::newRow("base64") << "a+b/c=" << QByteArray("a%2Bb%2Fc%3D");
        QTest::newRow("accent") << "é" << QByteArray("%C3%A9");
        QTest::newRow("non reserves") << "AZaz09-._~" << QByteArray("AZaz09-._~");
    }

    void encodagePourcent()
    {
        QFETCH(QString, texte);
        QTEST(Signature::encoderPourcent(texte), "attendu");
    }

    void chaineASigner()
    {
        const Signature::Service service = Signature::serviceParDefaut();
        QCOMPARE(service.endpoint.toString(), QString("http://webservices.amazon.fr/onca/xml"));
        QVERIFY(QRegularExpression("^[A-Z0-9]{20}$").match(service.accessKeyId).hasMatch());
        QVERIFY(QRegularExpression("^[A-Za-z0-9+/=]{40}$")
                    .match(QString(service.secretKey))
                    .hasMatch());

        const auto parametres = Signature::parametresRecherche(
            "Les Tuniques Bleues", service, "2014-05-19T08:05:09Z");
        const QByteArray chaine = Signature::chaineASigner(service.endpoint, parametres);
        QCOMPARE(chaine,
            "GET\nwebservices.amazon.fr\n/onca/xml\n"
            "AWSAccessKeyId=PLACEHOLDERACCESSKEY&AssociateTag=comics"
            "&Keywords=Les%20Tuniques%20Bleues&Operation=ItemSearch&ResponseGroup=Images"
            "&SearchIndex=Books&Service=AWSECommerceService&SignatureMethod=HmacSHA1"
            "&SignatureVersion=2&Timestamp=2014-05-19T08%3A05%3A09Z");
    }

    void rechercheSigneeDeBoutEnBout()
    {
        AlbumInfos infos;

        QCOMPARE(rechercher(infos, "Tintin au Tibet"), 0);
        QCOMPARE(serveur->requetes().size(), 1);
        const ServeurTest::Requete requete = serveur->requetes().first();
        QCOMPARE(requete.chemin, QByteArray("/onca/xml"));
        QCOMPARE(requete.cles(), ordreRequete);
        QCOMPARE(requete.valeur("Keywords"), QByteArray("Tintin%20au%20Tibet"));
        QCOMPARE(requete.valeur("AWSAccessKeyId"), ServeurTest::accessKeyId());
        QVERIFY(QRegularExpression("^\\d{4}-\\d\\d-\\d\\dT\\d\\d%3A\\d\\d%3A\\d\\dZ$")
                    .match(QString(requete.valeur("Timestamp")))
                    .hasMatch());
        QCOMPARE(dossier->lireFichier("data/tutu.xml"), serveur->documentRecherche());

        // Host and path of the configured endpoint, the query without the
        // signature, no final line break.
        QList<QByteArray> items = requete.requete.split('&');
        items.removeAt(ordreRequete.indexOf("Signature"));
        QCOMPARE(dossier->lireFichier("data/signature.txt"),
            "GET\n127.0.0.1\n/onca/xml\n" + items.join('&'));

        // Accepted signatures, until one holding "+" and "/" has gone out.
        bool vu = false;
        for (int i = 0; i < 80 && !vu; ++i) {
            serveur->oublier();
            QCOMPARE(rechercher(infos, QString("Blake et Mortimer %1").arg(i)), 0);
            QVERIFY(serveur->signatureValide(serveur->requetes().first()));
            const QByteArray signature = serveur->requetes().first().valeur("Signature");
            vu = signature.contains("%2B") && signature.contains("%2F");
        }
        QVERIFY(vu);
        QCOMPARE(reponsesEnVie(infos.getManager()), 0);
    }

    void reponsesSansSucces()
    {
        AlbumInfos infos;

        // An empty body: -1 and no answer file, even an old one.
        dossier->ecrireFichier("data/tutu.xml", "<ancienne/>");
        serveur->setReponseRecherche({ 200, QByteArray(), {}, 0, false });
        QCOMPARE(rechercher(infos, "Spirou"), -1);
        QVERIFY(!QFile::exists(dossier->chemin("data/tutu.xml")));
        {
            RepondeurModal repondeur;
            Xml_Dom dom(infos.getManager());
            QVERIFY(!dom.downloadImage(0));
            QCOMPARE(repondeur.boites().size(), 1);
            const RepondeurModal::BoiteVue boite = repondeur.boites().first();
            QCOMPARE(boite.titre, QString("Retrieve information"));
            QCOMPARE(boite.texte,
                QString("Probleme durant les transfert d'information depuis amazon. Veuillez "
                        "reesayer."));
            QCOMPARE(boite.boutons, QMessageBox::StandardButtons(QMessageBox::Ok));
        }

        // A silent service: the transfer timeout ends the search as a failure.
        infos.setDelaiTransfert(150);
        serveur->setReponseRecherche({ 200, QByteArray("<trop tard/>"), {}, -1, false });
        QElapsedTimer chrono;
        chrono.start();
        QCOMPARE(rechercher(infos, "Spirou"), -1);
        QVERIFY(chrono.elapsed() < 3000);

        // A search answered with a redirection: the answer itself is kept.
        serveur->oublier();
        serveur->setReponseRecherche({ 301, "<html>moved</html>",
            { { "Location", serveur->urlImage("x.xml") } }, 0, false });
        QCOMPARE(rechercher(infos, "Tintin"), 0);
        QTest::qWait(150);
        QCOMPARE(serveur->requetes().size(), 1);
        QCOMPARE(dossier->lireFichier("data/tutu.xml"), QByteArray("<html>moved</html>"));

        dossier->ecrireParametres({ { "AMAZON/Endpoint", "http://127.0.0.1:1/onca/xml" } });
        QCOMPARE(rechercher(infos, "Spirou"), -1);
    }

    void proxy()
    {
        AlbumInfos infos;
        QAuthenticator fixe;
        infos.Proxy(QNetworkProxy(), &fixe);

        // No address: the manager's proxy is left alone.
        infos.setProxy(QString(), "3128", "jdupont", "secret");
        QCOMPARE(rechercher(infos, "Gaston"), 0);
        QCOMPARE(infos.getManager()->proxy().type(), QNetworkProxy::DefaultProxy);
        QVERIFY(!serveur->requetes().first().viaProxy);

        // The configured login first; the fixed pair answers the next challenge.
        // Through the proxy the service's host needs no name resolution.
        dossier->ecrireParametres(serveur->parametresService("http://webservices.test/onca/xml"));
        serveur->oublier();
        serveur->exigerAuthentificationProxy(fixe.user().toLatin1(), fixe.password().toLatin1());
        infos.setProxy("127.0.0.1", QString::number(serveur->port()), "jdupont", "secret");
        QCOMPARE(rechercher(infos, "Gaston"), 0);
        QList<QByteArray> autorisations;
        for (const ServeurTest::Requete& requete : serveur->requetes()) {
            QVERIFY(requete.viaProxy);
            QCOMPARE(requete.hote, QByteArray("webservices.test"));
            autorisations << requete.entete("Proxy-Authorization");
        }
        const int configure = autorisations.indexOf(basic("jdupont", "secret"));
        QVERIFY2(configure >= 0, autorisations.join(' ').constData());
        QVERIFY(configure < autorisations.size() - 1);
        QCOMPARE(autorisations.last(), basic(fixe.user().toLatin1(), fixe.password().toLatin1()));
        QVERIFY(serveur->signatureValide(serveur->requetes().last()));
        QCOMPARE(dossier->lireFichier("data/tutu.xml"), serveur->documentRecherche());

        // Cleared address: the proxy once set stays set.
        infos.setProxy(QString(), QString(), QString(), QString());
        serveur->oublier();
        QCOMPARE(rechercher(infos, "Gaston"), 0);
        QVERIFY(serveur->requetes().last().viaProxy);
    }

    void reponsesIllisibles_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<int>("rang");
        QTest::addColumn<QByteArray>("demandee");
        const QByteArray document
            = ServeurTest::lireDonnees("itemsearch.xml").replace("@BASE@", "http://127.0.0.1:1");
        const QByteArray coupee
            = document.left(document.indexOf("<LargeImage>", document.indexOf("grand-1")) + 14);
        QTest::newRow("coupee dans LargeImage") << coupee << 1 << QByteArray();
        QTest::newRow("coupee avant le rang") << coupee << 0 << QByteArray("/images/grand-1.jpg");
        QTest::newRow("mal formee") << QByteArray("<Items><Item></Items>") << 0 << QByteArray();
        QTest::newRow("pas du xml") << QByteArray("Service Unavailable") << 0 << QByteArray();
    }

    void reponsesIllisibles()
    {
        QFETCH(QByteArray, xml);
        QFETCH(int, rang);
        QFETCH(QByteArray, demandee);
        const Signature::ImageTrouvee trouvee = Signature::urlGrandeImage(xml, rang);
        QCOMPARE(trouvee.trouvee, !demandee.isEmpty());
        QVERIFY(trouvee.trouvee ? trouvee.url.endsWith(demandee) : !trouvee.erreur.isEmpty());

        dossier->ecrireFichier("data/tutu.xml", xml);
        QNetworkAccessManager manager;
        RepondeurModal repondeur;
        Xml_Dom dom(&manager);
        QVERIFY(dom.downloadImage(rang));
        QCOMPARE(repondeur.boites().size(), trouvee.trouvee ? 0 : 1);
        if (!trouvee.trouvee) {
            QCOMPARE(repondeur.boites().first().titre, QString("QXSRExample::parseXML"));
            QCOMPARE(repondeur.boites().first().texte, trouvee.erreur);
            QVERIFY(repondeur.boites().first().avecParent);
        }
    }

    void telechargements()
    {
        QNetworkAccessManager manager;
        Xml_Dom dom(&manager);
        dom.setDelaiTransfert(150);
        QSignalSpy pret(&dom, &Xml_Dom::readyToPrint);
        QSignalSpy erreur(&dom, &Xml_Dom::erreurBadRequest);
        const QByteArray grand2 = ServeurTest::octetsImage("grand-2.jpg");

        // The second item has no small image: one count per item all the same.
        for (const QByteArray image : { "grand-1.jpg", "grand-2.jpg", "grand-3.jpg" }) {
            serveur->oublier();
            QVERIFY(dom.downloadImage(image.at(6) - '1'));
            QVERIFY(pret.wait(5000));
            QCOMPARE(serveur->requetes().size(), 1);
            QCOMPARE(serveur->requetes().first().chemin, "/images/" + image);
            QCOMPARE(dossier->lireFichier("data/tutu.jpg"), ServeurTest::octetsImage(image));
        }
        QCOMPARE(reponsesEnVie(&manager), 0);
        serveur->oublier();
        QVERIFY(dom.downloadImage(3));
        QTest::qWait(100);
        QVERIFY(serveur->requetes().isEmpty());
        pret.clear();

        // An HTTP error keeps the previous image; the next download works.
        serveur->setReponse("/images/grand-1.jpg", { 404, "absente", {}, 0, false });
        QVERIFY(dom.downloadImage(0));
        QVERIFY(erreur.wait(5000));
        QCOMPARE(dossier->lireFichier("data/tutu.jpg"), ServeurTest::octetsImage("grand-3.jpg"));
        QVERIFY(dom.downloadImage(1));
        QVERIFY(pret.wait(5000));
        QCOMPARE(dossier->lireFichier("data/tutu.jpg"), grand2);

        // A silent host (timeout) and a body cut short are failures too.
        serveur->setReponse("/images/grand-3.jpg", { 200, "jamais", {}, -1, false });
        QVERIFY(dom.downloadImage(2));
        QVERIFY(erreur.wait(3000));
        serveur->setReponse("/images/grand-1.jpg", { 200, "debut", {}, 0, true });
        QVERIFY(dom.downloadImage(0));
        QVERIFY(erreur.wait(3000));
        QCOMPARE(erreur.size(), 3);
        QCOMPARE(pret.size(), 1);
        QCOMPARE(dossier->lireFichier("data/tutu.jpg"), grand2);

        // A redirection is not followed and stores nothing (the old image is gone).
        serveur->oublier();
        serveur->setReponse("/images/grand-1.jpg",
            { 302, QByteArray(), { { "Location", serveur->urlImage("ailleurs.jpg") } }, 0, false });
        QVERIFY(dom.downloadImage(0));
        QTRY_COMPARE(serveur->requetes().size(), 1);
        QTest::qWait(150);
        QCOMPARE(serveur->requetes().size(), 1);
        QCOMPARE(pret.size() + erreur.size(), 4);
        QVERIFY(!QFile::exists(dossier->chemin("data/tutu.jpg")));
    }

    void echangesSimultanes()
    {
        AlbumInfos infos;
        QNetworkAccessManager* manager = infos.getManager();
        QSignalSpy fin(&infos, &AlbumInfos::xmlFinished);
        const QByteArray grand2 = ServeurTest::octetsImage("grand-2.jpg");
        Xml_Dom dom(manager);
        QSignalSpy pret(&dom, &Xml_Dom::readyToPrint);

        // A download that completes during a search is not taken for its answer.
        QVERIFY(dom.downloadImage(1));
        serveur->setReponseRecherche({ 200, serveur->documentRecherche(), {}, 300, false });
        infos.envoyerRequete("Lucky Luke");
        QVERIFY(pret.wait(5000));
        QCOMPARE(fin.size(), 0);
        QVERIFY(fin.wait(5000));
        QCOMPARE(fin.first().first().toInt(), 0);
        QCOMPARE(dossier->lireFichier("data/tutu.xml"), serveur->documentRecherche());
        QCOMPARE(dossier->lireFichier("data/tutu.jpg"), grand2);

        // A search sent before the previous one has completed replaces it.
        serveur->oublier();
        fin.clear();
        infos.envoyerRequete("Largo Winch");
        infos.envoyerRequete("XIII");
        QVERIFY(fin.wait(5000));
        QTest::qWait(400);
        QCOMPARE(fin.size(), 1);
        QCOMPARE(serveur->requetes().size(), 2);

        // A download replaced by the next one, then one whose dialog has gone:
        // replies nobody waits for any more are released all the same.
        serveur->setReponse("/images/grand-1.jpg",
            { 200, ServeurTest::octetsImage("grand-1.jpg"), {}, 200, false });
        pret.clear();
        QVERIFY(dom.downloadImage(0));
        QVERIFY(dom.downloadImage(1));
        QVERIFY(pret.wait(5000));
        QTRY_COMPARE(reponsesEnVie(manager), 0);
        QCOMPARE(pret.size(), 1);
        QCOMPARE(dossier->lireFichier("data/tutu.jpg"), grand2);
        auto* parti = new Xml_Dom(manager);
        QVERIFY(parti->downloadImage(0));
        delete parti;
        QTRY_COMPARE(serveur->requetesVers("/images/grand-1.jpg").size(), 2);
        QTRY_COMPARE(reponsesEnVie(manager), 0);
    }

private:
    std::unique_ptr<DossierTravail> dossier;
    std::unique_ptr<ServeurTest> serveur;
};

QTEST_MAIN(TestReseau)
#include "test_reseau.moc"
