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

namespace {
QByteArray basic(const QByteArray& login, const QByteArray& motDePasse)
{
    return "Basic " + (login + ':' + motDePasse).toBase64();
}

const QList<QByteArray> ordreRequete
    = { "AWSAccessKeyId", "AssociateTag", "Keywords", "Operation", "ResponseGroup", "SearchIndex",
          "Service", "Signature", "SignatureMethod", "SignatureVersion", "Timestamp" };
} // namespace

class TestReseau : public QObject
{
    Q_OBJECT

private:
    // One search to the end; returns the value of xmlFinished (or 99 when none came).
    int rechercher(AlbumInfos& infos, const QString& texte)
    {
        QSignalSpy fin(&infos, &AlbumInfos::xmlFinished);
        infos.envoyerRequete(texte);
        if (!fin.wait(5000))
            return 99;
        return fin.first().first().toInt();
    }

private slots:
    void hmacSha1Rfc2202_data()
    {
        QTest::addColumn<QByteArray>("cle");
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QByteArray>("empreinteHex");
        QByteArray cle4;
        for (char c = 1; c <= 25; ++c)
            cle4 += c;
        QTest::newRow("1") << QByteArray(20, '\x0b') << QByteArray("Hi There")
                           << QByteArray("b617318655057264e28bc0b6fb378c8ef146be00");
        QTest::newRow("2") << QByteArray("Jefe") << QByteArray("what do ya want for nothing?")
                           << QByteArray("effcdf6ae5eb2fa2d27416d5f184df9c259a7c79");
        QTest::newRow("3") << QByteArray(20, '\xaa') << QByteArray(50, '\xdd')
                           << QByteArray("125d7342b9ac11cd91a39af48aa17b4f63f175d3");
        QTest::newRow("4") << cle4 << QByteArray(50, '\xcd')
                           << QByteArray("4c9007f4026250c6bc8414f9bf50c86c2d7235da");
        QTest::newRow("5") << QByteArray(20, '\x0c') << QByteArray("Test With Truncation")
                           << QByteArray("4c1a03424b55e07fe7f27be1d58bb9324a9a5a04");
        QTest::newRow("6 cle de 80 octets")
            << QByteArray(80, '\xaa')
            << QByteArray("Test Using Larger Than Block-Size Key - Hash Key First")
            << QByteArray("aa4ae5e15272d00e95705637ce8a3b55ed402112");
        QTest::newRow("7 cle et message longs")
            << QByteArray(80, '\xaa')
            << QByteArray(
                   "Test Using Larger Than Block-Size Key and Larger Than One Block-Size Data")
            << QByteArray("e8e99d0f45237d786d6bbaa7965c7808bbff1a91");
    }

    void hmacSha1Rfc2202()
    {
        QFETCH(QByteArray, cle);
        QFETCH(QByteArray, message);
        QFETCH(QByteArray, empreinteHex);
        const QString resultat = hmacSha1(cle, message);
        QCOMPARE(resultat, QString::fromLatin1(QByteArray::fromHex(empreinteHex).toBase64()));
        QCOMPARE(resultat.size(), 28);
        QVERIFY(resultat.endsWith(QLatin1Char('=')));
    }

    void encodagePourcent_data()
    {
        QTest::addColumn<QString>("texte");
        QTest::addColumn<QByteArray>("attendu");
        QTest::newRow("trois mots") << "Tintin au Tibet" << QByteArray("Tintin%20au%20Tibet");
        QTest::newRow("horodatage")
            << "2014-05-19T08:05:09Z" << QByteArray("2014-05-19T08%3A05%3A09Z");
        QTest::newRow("base64") << "a+b/c=" << QByteArray("a%2Bb%2Fc%3D");
        QTest::newRow("accent") << QString::fromUtf8("é") << QByteArray("%C3%A9");
        QTest::newRow("non reserves") << "AZaz09-._~" << QByteArray("AZaz09-._~");
        QTest::newRow("vide") << QString() << QByteArray();
    }

    void encodagePourcent()
    {
        QFETCH(QString, texte);
        QTEST(Signature::encoderPourcent(texte), "attendu");
    }

    void chaineASignerEtUrl()
    {
        const Signature::Service service = Signature::serviceParDefaut();
        QCOMPARE(
            service.endpoint.toString(), QStringLiteral("http://webservices.amazon.fr/onca/xml"));
        QCOMPARE(service.accessKeyId.size(), 20);
        QVERIFY(QRegularExpression(QStringLiteral("^[A-Z0-9]{20}$"))
                    .match(service.accessKeyId)
                    .hasMatch());
        QCOMPARE(service.secretKey.size(), 40);
        QVERIFY(QRegularExpression(QStringLiteral("^[A-Za-z0-9+/=]{40}$"))
                    .match(QString::fromLatin1(service.secretKey))
                    .hasMatch());

        auto parametres = Signature::parametresRecherche(
            QStringLiteral("Les Tuniques Bleues"), service, "2014-05-19T08:05:09Z");
        QCOMPARE(parametres.size(), 10);
        const QByteArray chaine = Signature::chaineASigner(service.endpoint, parametres);
        QCOMPARE(chaine,
            "GET\nwebservices.amazon.fr\n/onca/xml\n"
            "AWSAccessKeyId=PLACEHOLDERACCESSKEY&AssociateTag=comics"
            "&Keywords=Les%20Tuniques%20Bleues&Operation=ItemSearch&ResponseGroup=Images"
            "&SearchIndex=Books&Service=AWSECommerceService&SignatureMethod=HmacSHA1"
            "&SignatureVersion=2&Timestamp=2014-05-19T08%3A05%3A09Z");

        // A signature with "+", "/" and "=" keeps them encoded up to the wire.
        QByteArray signature;
        for (int i = 0; i < 500 && !(signature.contains("%2B") && signature.contains("%2F")); ++i)
            signature = Signature::signer(chaine + QByteArray::number(i), service.secretKey);
        QVERIFY(
            signature.contains("%2B") && signature.contains("%2F") && signature.endsWith("%3D"));
        parametres.insert(QStringLiteral("Signature"), QString::fromLatin1(signature));
        const QByteArray url = Signature::construireUrl(service.endpoint, parametres).toEncoded();
        QVERIFY2(url.contains("&Signature=" + signature + "&"), url.constData());
        QVERIFY(url.contains("Timestamp=2014-05-19T08%3A05%3A09Z"));
        QVERIFY(url.startsWith("http://webservices.amazon.fr/onca/xml?AWSAccessKeyId="));
    }

    void rechercheSigneeDeBoutEnBout()
    {
        DossierTravail dossier;
        ServeurTest serveur;
        QVERIFY(serveur.demarrer());
        dossier.ecrireParametres(serveur.parametresService());
        AlbumInfos infos;

        QCOMPARE(rechercher(infos, QStringLiteral("Tintin au Tibet")), 0);
        QCOMPARE(serveur.requetes().size(), 1);
        const ServeurTest::Requete requete = serveur.requetes().first();
        QCOMPARE(requete.chemin, QByteArray("/onca/xml"));
        QCOMPARE(requete.cles(), ordreRequete);
        QCOMPARE(requete.valeur("Keywords"), QByteArray("Tintin%20au%20Tibet"));
        QCOMPARE(requete.valeur("AWSAccessKeyId"), ServeurTest::accessKeyId());
        QVERIFY(
            QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d%3A\\d\\d%3A\\d\\dZ$"))
                .match(QString::fromLatin1(requete.valeur("Timestamp")))
                .hasMatch());
        QVERIFY(serveur.signatureValide(requete));
        QCOMPARE(dossier.lireFichier(QStringLiteral("data/tutu.xml")), serveur.documentRecherche());

        // The string to sign: host and path of the configured endpoint, the
        // query without the signature, no final line break.
        QList<QByteArray> items = requete.requete.split('&');
        items.removeAt(ordreRequete.indexOf("Signature"));
        QCOMPARE(dossier.lireFichier(QStringLiteral("data/signature.txt")),
            "GET\n127.0.0.1\n/onca/xml\n" + items.join('&'));

        // Signatures with "+" and "/" (and always "=") go out encoded and are
        // accepted; a few searches are enough to meet them.
        bool vu = false;
        for (int i = 0; i < 80 && !vu; ++i) {
            serveur.oublier();
            QCOMPARE(rechercher(infos, QStringLiteral("Blake et Mortimer %1").arg(i)), 0);
            const QByteArray signature = serveur.requetes().first().valeur("Signature");
            QVERIFY(signature.endsWith("%3D"));
            QVERIFY(!signature.contains('+') && !signature.contains('/'));
            QCOMPARE(
                dossier.lireFichier(QStringLiteral("data/tutu.xml")), serveur.documentRecherche());
            vu = signature.contains("%2B") && signature.contains("%2F");
        }
        QVERIFY(vu);

        // Finished replies are released.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(infos.getManager()->findChildren<QNetworkReply*>().isEmpty());
    }

    void reponsesSansSucces()
    {
        DossierTravail dossier;
        ServeurTest serveur;
        QVERIFY(serveur.demarrer());
        AlbumInfos infos;

        // A wrong secret key: the service's error document is kept like an answer.
        auto cles = serveur.parametresService();
        cles[2].second = QStringLiteral("WrongSecretKey0000000000000000000000000=");
        dossier.ecrireParametres(cles);
        QCOMPARE(rechercher(infos, QStringLiteral("Astérix")), 0);
        QCOMPARE(serveur.requetes().first().valeur("Keywords"), QByteArray("Ast%C3%A9rix"));
        QCOMPARE(dossier.lireFichier(QStringLiteral("data/tutu.xml")),
            ServeurTest::documentErreurSignature());
        {
            // ...in which no image is found, silently.
            RepondeurModal repondeur;
            Xml_Dom dom(infos.getManager());
            QSignalSpy pret(&dom, &Xml_Dom::readyToPrint);
            serveur.oublier();
            QVERIFY(dom.downloadImage(0));
            QTest::qWait(100);
            QVERIFY(serveur.requetes().isEmpty());
            QVERIFY(repondeur.boites().isEmpty());
            QCOMPARE(pret.size(), 0);
        }

        // An empty body: -1 and no answer file, even an old one.
        dossier.ecrireParametres(serveur.parametresService());
        dossier.ecrireFichier(QStringLiteral("data/tutu.xml"), "<ancienne/>");
        serveur.setReponseRecherche({ 200, QByteArray(), {}, 0, false });
        QCOMPARE(rechercher(infos, QStringLiteral("Spirou")), -1);
        QVERIFY(!QFile::exists(dossier.chemin(QStringLiteral("data/tutu.xml"))));

        // A silent service: the transfer timeout ends the search as a failure.
        infos.setDelaiTransfert(150);
        serveur.setReponseRecherche({ 200, QByteArray("<trop tard/>"), {}, -1, false });
        QElapsedTimer chrono;
        chrono.start();
        QCOMPARE(rechercher(infos, QStringLiteral("Spirou")), -1);
        QVERIFY(chrono.elapsed() < 3000);

        // Nobody listening: a network failure.
        dossier.ecrireParametres({ { QStringLiteral("AMAZON/Endpoint"),
            QStringLiteral("http://127.0.0.1:1/onca/xml") } });
        QCOMPARE(rechercher(infos, QStringLiteral("Spirou")), -1);
    }

    void proxy()
    {
        DossierTravail dossier;
        ServeurTest serveur;
        QVERIFY(serveur.demarrer());
        // Through the proxy the service's host needs no name resolution.
        dossier.ecrireParametres(
            serveur.parametresService(QStringLiteral("http://webservices.test/onca/xml")));
        AlbumInfos infos;

        QAuthenticator fixe;
        infos.Proxy(QNetworkProxy(), &fixe);
        QCOMPARE(fixe.user().size(), 7);
        QVERIFY(fixe.user() == fixe.user().toLower());
        QCOMPARE(fixe.password().size(), 10);

        // No address: the manager's proxy is left alone.
        infos.setProxy(
            QString(), QStringLiteral("3128"), QStringLiteral("jdupont"), QStringLiteral("secret"));
        dossier.ecrireParametres(serveur.parametresService());
        QCOMPARE(rechercher(infos, QStringLiteral("Gaston")), 0);
        QCOMPARE(infos.getManager()->proxy().type(), QNetworkProxy::DefaultProxy);
        QVERIFY(!serveur.requetes().first().viaProxy);

        // The configured login first; the fixed pair answers the next challenge.
        dossier.ecrireParametres(
            serveur.parametresService(QStringLiteral("http://webservices.test/onca/xml")));
        serveur.oublier();
        serveur.exigerAuthentificationProxy(fixe.user().toLatin1(), fixe.password().toLatin1());
        infos.setProxy(QStringLiteral("127.0.0.1"), QString::number(serveur.port()),
            QStringLiteral("jdupont"), QStringLiteral("secret"));
        QCOMPARE(rechercher(infos, QStringLiteral("Gaston")), 0);
        QList<QByteArray> autorisations;
        for (const ServeurTest::Requete& requete : serveur.requetes()) {
            QVERIFY(requete.viaProxy);
            QCOMPARE(requete.hote, QByteArray("webservices.test"));
            autorisations << requete.entete("Proxy-Authorization");
        }
        QVERIFY2(autorisations.contains(basic("jdupont", "secret")),
            autorisations.join(' ').constData());
        QCOMPARE(autorisations.last(), basic(fixe.user().toLatin1(), fixe.password().toLatin1()));
        QVERIFY(autorisations.indexOf(basic("jdupont", "secret")) < autorisations.size() - 1);
        QVERIFY(serveur.signatureValide(serveur.requetes().last()));
        QCOMPARE(dossier.lireFichier(QStringLiteral("data/tutu.xml")), serveur.documentRecherche());

        // Cleared address: the proxy once set stays set.
        infos.setProxy(QString(), QString(), QString(), QString());
        serveur.oublier();
        QCOMPARE(rechercher(infos, QStringLiteral("Gaston")), 0);
        QCOMPARE(infos.getManager()->proxy().hostName(), QStringLiteral("127.0.0.1"));
        QVERIFY(serveur.requetes().last().viaProxy);

        // A port that is not a number is port 0.
        infos.setProxy(QStringLiteral("127.0.0.1"), QStringLiteral("huit"), QString(), QString());
        QCOMPARE(rechercher(infos, QStringLiteral("Gaston")), -1);
        QCOMPARE(infos.getManager()->proxy().port(), quint16(0));
    }

    void rangDeLaGrandeImage_data()
    {
        QTest::addColumn<int>("rang");
        QTest::addColumn<QByteArray>("image");
        QTest::newRow("0") << 0 << QByteArray("grand-1.jpg");
        QTest::newRow("1, sans petite image") << 1 << QByteArray("grand-2.jpg");
        QTest::newRow("2") << 2 << QByteArray("grand-3.jpg");
        QTest::newRow("3, au-dela") << 3 << QByteArray();
    }

    void rangDeLaGrandeImage()
    {
        QFETCH(int, rang);
        QFETCH(QByteArray, image);
        DossierTravail dossier;
        ServeurTest serveur;
        QVERIFY(serveur.demarrer());
        dossier.ecrireFichier(QStringLiteral("data/tutu.xml"), serveur.documentRecherche());
        QNetworkAccessManager manager;
        RepondeurModal repondeur;
        Xml_Dom dom(&manager);
        QSignalSpy pret(&dom, &Xml_Dom::readyToPrint);

        QVERIFY(dom.downloadImage(rang));
        if (image.isEmpty()) {
            QTest::qWait(100);
            QVERIFY(serveur.requetes().isEmpty());
            QCOMPARE(pret.size(), 0);
        } else {
            QVERIFY(pret.wait(5000));
            QCOMPARE(serveur.requetes().size(), 1);
            QCOMPARE(serveur.requetes().first().chemin, "/images/" + image);
            QCOMPARE(dossier.lireFichier(QStringLiteral("data/tutu.jpg")),
                ServeurTest::octetsImage(image));
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(manager.findChildren<QNetworkReply*>().isEmpty());
        }
        QVERIFY(repondeur.boites().isEmpty());
    }

    void reponsesIllisibles_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<int>("rang");
        QTest::addColumn<QByteArray>("demandee");
        const QByteArray document = ServeurTest::lireDonnees(QStringLiteral("itemsearch.xml"))
                                        .replace("@BASE@", "http://127.0.0.1:1");
        const int large2 = document.indexOf("<LargeImage>", document.indexOf("grand-1"));
        QTest::newRow("coupee dans LargeImage") << document.left(large2 + 14) << 1 << QByteArray();
        QTest::newRow("coupee avant le rang")
            << document.left(large2 + 14) << 0 << QByteArray("/images/grand-1.jpg");
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
        if (trouvee.trouvee)
            QVERIFY(trouvee.url.endsWith(demandee));
        else
            QVERIFY(!trouvee.erreur.isEmpty());

        DossierTravail dossier;
        dossier.ecrireFichier(QStringLiteral("data/tutu.xml"), xml);
        QNetworkAccessManager manager;
        RepondeurModal repondeur;
        Xml_Dom dom(&manager);
        QVERIFY(dom.downloadImage(rang));
        if (demandee.isEmpty()) {
            QCOMPARE(repondeur.boites().size(), 1);
            QCOMPARE(repondeur.boites().first().titre, QStringLiteral("QXSRExample::parseXML"));
            QCOMPARE(repondeur.boites().first().texte, trouvee.erreur);
            QVERIFY(repondeur.boites().first().avecParent);
        } else {
            QVERIFY(repondeur.boites().isEmpty());
        }
    }

    void reponseAbsente()
    {
        DossierTravail dossier;
        QNetworkAccessManager manager;
        RepondeurModal repondeur;
        Xml_Dom dom(&manager);
        QVERIFY(!dom.downloadImage(0));
        QCOMPARE(repondeur.boites().size(), 1);
        QCOMPARE(repondeur.boites().first().titre, QStringLiteral("Retrieve information"));
        QCOMPARE(repondeur.boites().first().texte,
            QStringLiteral(
                "Probleme durant les transfert d'information depuis amazon. Veuillez reesayer."));
        QCOMPARE(repondeur.boites().first().boutons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }

    void telechargementsEchoues()
    {
        DossierTravail dossier;
        ServeurTest serveur;
        QVERIFY(serveur.demarrer());
        dossier.ecrireFichier(QStringLiteral("data/tutu.xml"), serveur.documentRecherche());
        dossier.ecrireFichier(QStringLiteral("data/tutu.jpg"), "ancienne image");
        QNetworkAccessManager manager;
        Xml_Dom dom(&manager);
        dom.setDelaiTransfert(150);
        QSignalSpy pret(&dom, &Xml_Dom::readyToPrint);
        QSignalSpy erreur(&dom, &Xml_Dom::erreurBadRequest);

        // An HTTP error keeps the previous image; the next download works.
        serveur.setReponse("/images/grand-1.jpg", { 404, "absente", {}, 0, false });
        QVERIFY(dom.downloadImage(0));
        QVERIFY(erreur.wait(5000));
        QCOMPARE(
            dossier.lireFichier(QStringLiteral("data/tutu.jpg")), QByteArray("ancienne image"));
        QVERIFY(dom.downloadImage(1));
        QVERIFY(pret.wait(5000));
        QCOMPARE(erreur.size(), 1);
        QCOMPARE(dossier.lireFichier(QStringLiteral("data/tutu.jpg")),
            ServeurTest::octetsImage("grand-2.jpg"));

        // A silent host: the timeout reports the failure, the image stays.
        serveur.setReponse("/images/grand-3.jpg", { 200, "jamais", {}, -1, false });
        QVERIFY(dom.downloadImage(2));
        QVERIFY(erreur.wait(3000));
        QCOMPARE(dossier.lireFichier(QStringLiteral("data/tutu.jpg")),
            ServeurTest::octetsImage("grand-2.jpg"));

        // A body cut short is a failure too.
        serveur.setReponse("/images/grand-1.jpg", { 200, "debut", {}, 0, true });
        QVERIFY(dom.downloadImage(0));
        QVERIFY(erreur.wait(3000));
        QCOMPARE(erreur.size(), 3);
        QCOMPARE(pret.size(), 1);
        QCOMPARE(dossier.lireFichier(QStringLiteral("data/tutu.jpg")),
            ServeurTest::octetsImage("grand-2.jpg"));
    }

    void redirectionNonSuivie()
    {
        DossierTravail dossier;
        ServeurTest serveur;
        QVERIFY(serveur.demarrer());
        dossier.ecrireFichier(QStringLiteral("data/tutu.xml"), serveur.documentRecherche());
        serveur.setReponse("/images/grand-1.jpg",
            { 302, QByteArray(), { { "Location", serveur.urlImage("ailleurs.jpg") } }, 0, false });
        QNetworkAccessManager manager;
        Xml_Dom dom(&manager);
        QSignalSpy pret(&dom, &Xml_Dom::readyToPrint);
        QSignalSpy erreur(&dom, &Xml_Dom::erreurBadRequest);
        QVERIFY(dom.downloadImage(0));
        QTRY_COMPARE(serveur.requetes().size(), 1);
        QTest::qWait(150);
        QCOMPARE(serveur.requetes().size(), 1);
        QCOMPARE(pret.size() + erreur.size(), 0);
        QVERIFY(!QFile::exists(dossier.chemin(QStringLiteral("data/tutu.jpg"))));

        // A search answered with a redirection: the answer itself is kept.
        dossier.ecrireParametres(serveur.parametresService());
        serveur.oublier();
        const QByteArray deplace = "<html>moved</html>";
        serveur.setReponseRecherche(
            { 301, deplace, { { "Location", serveur.urlImage("ailleurs.xml") } }, 0, false });
        AlbumInfos infos;
        QCOMPARE(rechercher(infos, QStringLiteral("Tintin")), 0);
        QTest::qWait(150);
        QCOMPARE(serveur.requetes().size(), 1);
        QCOMPARE(dossier.lireFichier(QStringLiteral("data/tutu.xml")), deplace);
    }

    void echangesAbandonnesLiberes()
    {
        // Replies nobody waits for any more are released all the same.
        DossierTravail dossier;
        ServeurTest serveur;
        QVERIFY(serveur.demarrer());
        dossier.ecrireFichier(QStringLiteral("data/tutu.xml"), serveur.documentRecherche());
        ServeurTest::Reponse lente { 200, ServeurTest::octetsImage("grand-1.jpg"), {}, 200, false };
        serveur.setReponse("/images/grand-1.jpg", lente);
        QNetworkAccessManager manager;
        auto reponses = [&manager]() {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            return manager.findChildren<QNetworkReply*>().size();
        };

        // A download replaced by the next one.
        {
            Xml_Dom dom(&manager);
            QSignalSpy pret(&dom, &Xml_Dom::readyToPrint);
            QVERIFY(dom.downloadImage(0));
            QVERIFY(dom.downloadImage(1));
            QVERIFY(pret.wait(5000));
            QCOMPARE(dossier.lireFichier(QStringLiteral("data/tutu.jpg")),
                ServeurTest::octetsImage("grand-2.jpg"));
            QTRY_COMPARE(reponses(), 0);
            QCOMPARE(pret.size(), 1);
        }

        // A download whose dialog has gone.
        {
            auto* dom = new Xml_Dom(&manager);
            QVERIFY(dom->downloadImage(0));
            delete dom;
        }
        QTRY_COMPARE(serveur.requetesVers("/images/grand-1.jpg").size(), 2);
        QTRY_COMPARE(reponses(), 0);
    }

    void rechercheEtTelechargementSurLeMemeGestionnaire()
    {
        // A download that completes during a search is not taken for its answer.
        DossierTravail dossier;
        ServeurTest serveur;
        QVERIFY(serveur.demarrer());
        dossier.ecrireParametres(serveur.parametresService());
        dossier.ecrireFichier(QStringLiteral("data/tutu.xml"), serveur.documentRecherche());
        AlbumInfos infos;
        Xml_Dom dom(infos.getManager());
        QSignalSpy pret(&dom, &Xml_Dom::readyToPrint);
        QSignalSpy fin(&infos, &AlbumInfos::xmlFinished);

        QVERIFY(dom.downloadImage(0));
        serveur.setReponseRecherche({ 200, serveur.documentRecherche(), {}, 300, false });
        infos.envoyerRequete(QStringLiteral("Lucky Luke"));
        QVERIFY(pret.wait(5000));
        QCOMPARE(fin.size(), 0);
        QVERIFY(fin.wait(5000));
        QCOMPARE(fin.first().first().toInt(), 0);
        QCOMPARE(dossier.lireFichier(QStringLiteral("data/tutu.xml")), serveur.documentRecherche());
        QCOMPARE(dossier.lireFichier(QStringLiteral("data/tutu.jpg")),
            ServeurTest::octetsImage("grand-1.jpg"));
        QCOMPARE(pret.size(), 1);

        // A search sent before the previous one has completed replaces it.
        serveur.oublier();
        fin.clear();
        infos.envoyerRequete(QStringLiteral("Largo Winch"));
        infos.envoyerRequete(QStringLiteral("XIII"));
        QVERIFY(fin.wait(5000));
        QTest::qWait(400);
        QCOMPARE(fin.size(), 1);
        QCOMPARE(serveur.requetes().size(), 2);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(infos.getManager()->findChildren<QNetworkReply*>().isEmpty());
    }
};

QTEST_MAIN(TestReseau)
#include "test_reseau.moc"
