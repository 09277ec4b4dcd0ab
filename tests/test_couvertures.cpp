// Covers: the signed search against the loopback service, its answer and the
// image download, the choice panel, and the cover operations of the window.
#include "covers/albuminfos.h"
#include "covers/cachevignettes.h"
#include "dialogs/choitimage.h"
#include "dialogs/xml_dom.h"
#include "model/catalogue.h"
#include "support/fixture.h"
#include "support/serveurtest.h"

#include <QAuthenticator>
#include <QNetworkReply>

namespace {
// One search to its end: the value of xmlFinished, 99 when none came.
int rechercher(AlbumInfos& infos, const QString& texte)
{
    QSignalSpy fin(&infos, &AlbumInfos::xmlFinished);
    infos.envoyerRequete(texte);
    return fin.wait(5000) ? fin.first().first().toInt() : 99;
}

qsizetype reponsesEnVie(QNetworkAccessManager* manager)
{
    traiterEvenements();
    return manager->findChildren<QNetworkReply*>().size();
}

QString image(Phylacto& f, const QString& serie, const QString& titre)
{
    return f.getCatalogue().premierAlbum(serie, titre)->getImage();
}

QList<QDialog*> dialogues(Phylacto& f)
{
    QList<QDialog*> trouves;
    for (QDialog* d : f.findChildren<QDialog*>())
        if (d->findChild<choitImage*>() && d->isVisible())
            trouves << d;
    return trouves;
}

using Service = QList<QPair<QByteArray, ServeurTest::Reponse>>;

QString proposition(QWidget* panneau)
{
    return enfant<QLineEdit>(panneau, "leTitreRecherche")->text();
}
} // namespace

class TestCouvertures : public QObject
{
    Q_OBJECT

private slots:
    // A scratch folder, the service the settings point at, its answer in place.
    void init()
    {
        s = std::make_unique<Scene>();
        serveur = std::make_unique<ServeurTest>();
        QVERIFY(serveur->demarrer());
        QVERIFY(s->parametres(serveur->parametresService()));
        QVERIFY(s->ecrire("data/tutu.xml", serveur->documentRecherche()));
    }

    void cleanup() { s.reset(), serveur.reset(); }

    void rechercheSigneeEtReponsesSansSucces()
    {
        AlbumInfos infos;
        QCOMPARE(rechercher(infos, "Tintin au Tibet"), 0);
        const ServeurTest::Requete r = serveur->requetes().value(0);
        QCOMPARE(r.cles(),
            QList<QByteArray>({ "AWSAccessKeyId", "AssociateTag", "Keywords", "Operation",
                "ResponseGroup", "SearchIndex", "Service", "Signature", "SignatureMethod",
                "SignatureVersion", "Timestamp" }));
        QCOMPARE(r.valeur("Keywords"), QByteArray("Tintin%20au%20Tibet"));
        QCOMPARE(r.valeur("AWSAccessKeyId"), ServeurTest::accessKeyId());
        QVERIFY(QRegularExpression("^\\d{4}-\\d\\d-\\d\\dT\\d\\d%3A\\d\\d%3A\\d\\dZ$")
                    .match(QString(r.valeur("Timestamp")))
                    .hasMatch());
        QCOMPARE(s->lire("data/tutu.xml"), serveur->documentRecherche());
        QList<QByteArray> items = r.requete.split('&');
        items.removeAt(7); // the signature
        QCOMPARE(s->lire("data/signature.txt"), "GET\n127.0.0.1\n/onca/xml\n" + items.join('&'));
        // Accepted signatures, until one holding "+" and "/" has gone out.
        bool vu = false;
        for (int i = 0; i < 80 && !vu; ++i) {
            serveur->oublier();
            QCOMPARE(rechercher(infos, QString("Blake %1").arg(i)), 0);
            QVERIFY(serveur->signatureValide(serveur->requetes().first()));
            vu = serveur->requetes().first().valeur("Signature").contains("%2B")
                && serveur->requetes().first().valeur("Signature").contains("%2F");
        }
        QVERIFY(vu);
        QCOMPARE(reponsesEnVie(infos.getManager()), 0);
        // An empty body: -1 and no answer file, not even the old one.
        serveur->setReponseRecherche({ 200, QByteArray(), {}, 0, false });
        QCOMPARE(rechercher(infos, "Spirou"), -1);
        QVERIFY(!QFile::exists(s->chemin("data/tutu.xml")));
        Xml_Dom dom(infos.getManager());
        QVERIFY(!dom.downloadImage(0));
        QCOMPARE(Boites::boitesVues().value(0).titre, QString("Retrieve information"));
        QCOMPARE(Boites::boitesVues().value(0).texte,
            "Probleme durant les transfert d'information depuis amazon. Veuillez reesayer.\nAstuce "
            ": choisissez la source BnF ou Open Library dans Configuration Phylacto.");
        // A silent service, an endless answer: given up, reported as empty, never stored.
        infos.setDelais(150, 5000);
        for (const ServeurTest::Reponse& r : { ServeurTest::Reponse { 200, "<trop tard/>", {}, -1 },
                 { 200, QByteArray(1 << 16, 'x'), {}, 0, false, -1, 0 } })
            QCOMPARE((serveur->setReponseRecherche(r), rechercher(infos, "Spirou")), -1);
        QVERIFY(!QFile::exists(s->chemin("data/tutu.xml")));
        // A redirection is the answer itself, not followed.
        serveur->oublier();
        serveur->setReponseRecherche(
            { 301, "<moved/>", { { "Location", serveur->urlImage("x.xml") } }, 0, false });
        QCOMPARE(rechercher(infos, "Tintin"), 0);
        QTest::qWait(150);
        QCOMPARE(serveur->requetes().size(), 1);
        QCOMPARE(s->lire("data/tutu.xml"), QByteArray("<moved/>"));
        QVERIFY(s->parametres({ "AMAZON/Endpoint=http://127.0.0.1:1/onca/xml" }));
        QCOMPARE(rechercher(infos, "Spirou"), -1);
    }

    void proxy()
    {
        AlbumInfos infos;
        QAuthenticator fixe;
        infos.Proxy(QNetworkProxy(), &fixe);
        infos.setProxy(QString(), "3128", "jdupont", "secret"); // no address: no proxy
        QCOMPARE(rechercher(infos, "Gaston"), 0);
        QVERIFY(!serveur->requetes().first().viaProxy);
        // The configured login first; the fixed pair answers the next challenge.
        QVERIFY(s->parametres(serveur->parametresService("http://webservices.test/onca/xml")));
        serveur->oublier();
        serveur->exigerAuthentificationProxy(fixe.user().toLatin1(), fixe.password().toLatin1());
        infos.setProxy("127.0.0.1", QString::number(serveur->port()), "jdupont", "secret");
        QCOMPARE(rechercher(infos, "Gaston"), 0);
        QList<QByteArray> autorisations;
        for (const ServeurTest::Requete& r : serveur->requetes())
            autorisations << (r.viaProxy && r.hote == "webservices.test"
                    ? r.entete("Proxy-Authorization")
                    : "direct");
        QVERIFY(autorisations.indexOf("Basic " + QByteArray("jdupont:secret").toBase64()) >= 0);
        QCOMPARE(autorisations.last(),
            "Basic " + (fixe.user() + ':' + fixe.password()).toLatin1().toBase64());
        // A cleared address leaves the proxy set.
        infos.setProxy(QString(), QString(), QString(), QString());
        serveur->oublier();
        QCOMPARE(rechercher(infos, "Gaston"), 0);
        QVERIFY(serveur->requetes().last().viaProxy);
    }

    void telechargementsEtEchanges()
    {
        AlbumInfos infos;
        QSignalSpy fin(&infos, &AlbumInfos::xmlFinished);
        Xml_Dom dom(infos.getManager());
        QSignalSpy pret(&dom, &Xml_Dom::readyToPrint);
        QSignalSpy erreur(&dom, &Xml_Dom::erreurBadRequest);
        // A download that completes during a search is not taken for its answer.
        QVERIFY(dom.downloadImage(1));
        serveur->setReponseRecherche({ 200, serveur->documentRecherche(), {}, 300, false });
        infos.envoyerRequete("Lucky Luke");
        QVERIFY(pret.wait(5000));
        QCOMPARE(fin.size(), 0);
        QVERIFY(fin.wait(5000));
        QCOMPARE(fin.first().first().toInt(), 0);
        // A search sent before the previous one has completed replaces it.
        fin.clear();
        infos.envoyerRequete("Largo Winch");
        infos.envoyerRequete("XIII");
        QVERIFY(fin.wait(5000));
        QTest::qWait(400);
        QCOMPARE(fin.size(), 1);
        // The second item has no small image: one rank per item all the same.
        serveur->oublier();
        for (int rang : { 0, 1, 2 }) {
            QVERIFY(dom.downloadImage(rang));
            QVERIFY(pret.wait(5000));
            QCOMPARE(s->lire("data/tutu.jpg"),
                ServeurTest::octetsImage("grand-" + QByteArray::number(rang + 1) + ".jpg"));
        }
        QCOMPARE(serveur->requetes().size(), 3);
        QVERIFY(dom.downloadImage(3)); // no such item: nothing asked
        // Downloads replaced, or whose panel has gone, are released all the same.
        serveur->setReponse("/images/grand-1.jpg",
            { 200, ServeurTest::octetsImage("grand-1.jpg"), {}, 200, false });
        pret.clear();
        QVERIFY(dom.downloadImage(0));
        QVERIFY(dom.downloadImage(1));
        QVERIFY(pret.wait(5000));
        auto* parti = new Xml_Dom(infos.getManager());
        QVERIFY(parti->downloadImage(0));
        delete parti;
        QTRY_COMPARE(serveur->requetesVers("/images/grand-1.jpg").size(), 3);
        QTRY_COMPARE(reponsesEnVie(infos.getManager()), 0);
        QCOMPARE(pret.size(), 1);
        QCOMPARE(s->lire("data/tutu.jpg"), ServeurTest::octetsImage("grand-2.jpg"));
        // An HTTP error, a silent host and a cut body keep the previous image.
        dom.setDelais(150, 5000);
        serveur->setReponse("/images/grand-1.jpg", { 404, "absente", {}, 0, false });
        serveur->setReponse("/images/grand-2.jpg", { 200, "jamais", {}, -1, false });
        serveur->setReponse("/images/grand-3.jpg", { 200, "debut", {}, 0, true });
        for (int rang : { 0, 1, 2 }) {
            QVERIFY(dom.downloadImage(rang));
            QVERIFY(erreur.wait(3000));
        }
        QCOMPARE(pret.size(), 1);
        QCOMPARE(s->lire("data/tutu.jpg"), ServeurTest::octetsImage("grand-2.jpg"));
        // A redirection is not followed and stores nothing (the old image is gone).
        serveur->oublier();
        serveur->setReponse("/images/grand-1.jpg",
            { 302, QByteArray(), { { "Location", serveur->urlImage("ailleurs.jpg") } }, 0, false });
        QVERIFY(dom.downloadImage(0));
        QTRY_VERIFY(!QFile::exists(s->chemin("data/tutu.jpg")));
        QTest::qWait(150);
        QCOMPARE(serveur->requetes().size(), 1);
        QCOMPARE(reponsesEnVie(infos.getManager()), 0);
        // Unreadable answers: the reader's message, in a box with a parent.
        QVERIFY(s->ecrire("data/tutu.xml", "<Items><Item></Items>"));
        QVERIFY(dom.downloadImage(0));
        const Boites::Boite boite = Boites::boitesVues().value(0);
        QCOMPARE(boite.titre, QString("QXSRExample::parseXML"));
        QVERIFY(!boite.texte.isEmpty());
        QVERIFY(boite.parent);
    }

    // Servers misbehaving against the limits of one exchange: what the asker
    // learns (empty: the answer came), and the requests that went out.
    void limites_data()
    {
        QTest::addColumn<Service>("service"); // the first path is asked
        QTest::addColumn<bool>("image");
        QTest::addColumn<int>("silence"); // ms; under a second, the whole exchange gets 800 ms
        QTest::addColumn<QString>("erreur");
        QTest::addColumn<int>("requetes");
        const QByteArray bloc(1 << 16, 'x');
        QTest::newRow("sans fin") << Service { { "/a", { 200, bloc, {}, 0, false, -1, 0 } } }
                                  << false << 5000 << "réponse trop volumineuse (plus de 8 Mo)"
                                  << 1;
        QTest::newRow("annonce 100 Mo")
            << Service { { "/a", { 200, "court", {}, 0, false, 100 << 20, 200 } } } << true << 5000
            << "image trop volumineuse (plus de 20 Mo)" << 1;
        QTest::newRow("annonce moins") << Service { { "/a", { 200, bloc, {}, 0, false, 1000, 0 } } }
                                       << false << 5000 << "" << 1;
        QTest::newRow("goutte lente")
            << Service { { "/a", { 200, "x", {}, 0, false, -1, 400 } } } << false << 150
            << "le serveur ne répond plus (aucune donnée depuis 150 ms)" << 1;
        QTest::newRow("goutte rapide")
            << Service { { "/a", { 200, "x", {}, 0, false, -1, 20 } } } << false << 150
            << "délai dépassé (pas de réponse complète en 800 ms)" << 1;
        QTest::newRow("muet") << Service { { "/a", { 200, "x", {}, -1 } } } << false << 150
                              << "le serveur ne répond plus (aucune donnée depuis 150 ms)" << 1;
        QTest::newRow("boucle") << Service { { "/a", { 302, "", { { "Location", "/a" } } } } }
                                << false << 5000 << "trop de redirections (plus de 5)" << 6;
        QTest::newRow("vers file")
            << Service { { "/a", { 301, "", { { "Location", "file:///etc/passwd" } } } } } << false
            << 5000 << "redirection refusée vers file:///etc/passwd" << 1;
        QTest::newRow("suivie") << Service { { "/a", { 307, "", { { "Location", "/b" } } } },
            { "/b", { 308, "", { { "Location", "b/../c" } } } }, { "/c", { 200, "fin", {} } } }
                                << false << 5000 << "" << 3;
    }
    void limites()
    {
        QFETCH(Service, service);
        QFETCH(bool, image);
        QFETCH(int, silence);
        for (const auto& [chemin, r] : service)
            serveur->setReponse(chemin, r);
        QNetworkAccessManager manager;
        Recuperation::Limites limites
            = image ? Recuperation::pourImage(true) : Recuperation::pourReponse(true);
        limites.silenceMax = silence;
        limites.dureeMax = silence < 1000 ? 800 : 10000;
        QPointer<Recuperation> r = new Recuperation(
            &manager, QNetworkRequest(QUrl(serveur->base() + service.first().first)), limites);
        QSignalSpy fin(r, &Recuperation::terminee);
        QVERIFY(fin.wait(12000));
        QTEST(r->erreur(), "erreur");
        QTRY_VERIFY(!r); // then gone, having ended once
        QCOMPARE(fin.size(), 1);
        QTEST(int(serveur->requetes().size()), "requetes");
    }

    void panneau()
    {
        choitImage panneau(nullptr, nullptr, false);
        QSignalSpy demandes(&panneau, &choitImage::demandeRecherche);
        QSignalSpy images(&panneau, &choitImage::newImage);
        auto* label = enfant<QLabel>(&panneau, "labelImage");
        // Rewritten under the same name: the new picture shows, not a cached one.
        const QList<QPair<QByteArray, QSize>> vues = { { imagePng(100, 50), QSize(500, 250) },
            { imagePng(40, 80), QSize(250, 500) }, { "pas une image", QSize() } };
        for (const auto& [octets, taille] : vues) {
            QVERIFY(s->ecrire("data/tutu.jpg", octets));
            panneau.changeImage();
            QCOMPARE(label->pixmap().isNull() ? QSize() : label->pixmap().size(), taille);
        }
        // The text is used unchanged once "Rechercher" is pressed; before any
        // picture the name is reported, nothing copied.
        QVERIFY(QFile::remove(s->chemin("data/tutu.jpg")));
        panneau.setRecherche("Astérix Tome 3");
        QCOMPARE(panneau.getRecherche(), QString());
        QVERIFY(cliquer(&panneau, "pbRechercher"));
        QVERIFY(cliquer(&panneau, "pbSelectionner"));
        QCOMPARE(demandes.value(0).value(0).toString(), QString("Astérix Tome 3"));
        QCOMPARE(images.value(0).value(0).toString(), QString("Astérix_Tome_3.jpg"));
        QVERIFY(!QFile::exists(s->chemin("images/Astérix_Tome_3.jpg")));
        // Twice under the same name: the first cover stays.
        for (const QByteArray& octets : { imagePng(10, 10), imagePng(20, 10) }) {
            QVERIFY(s->ecrire("data/tutu.jpg", octets));
            QVERIFY(cliquer(&panneau, "pbSelectionner"));
            QCOMPARE(s->lire("images/Astérix_Tome_3.jpg"), imagePng(10, 10));
        }
        // The automatic mode hands the file and the search text, and stays in images/.
        choitImage automatique(nullptr, nullptr, true);
        QSignalSpy fichiers(&automatique, &choitImage::newImageFile);
        automatique.setRecherche("../../evasion Tome 1");
        QVERIFY(cliquer(&automatique, "pbRechercher"));
        QVERIFY(cliquer(&automatique, "pbSelectionner"));
        QCOMPARE(
            fichiers.value(0), QVariantList({ "____evasion_Tome_1.jpg", "../../evasion_Tome_1" }));
        QVERIFY(QFile::exists(s->chemin("images/____evasion_Tome_1.jpg")));
        QCOMPARE(images.size(), 3);
    }

    void uneRecherche()
    {
        QVERIFY(s->collection(ligneAlbum("Les Aventures", "Tome 4", 4)
            + ligneAlbum("Les Aventures", "Tome 5", 5) + ligneAlbum("Autre", "Tome 4", 4)));
        Phylacto& f = s->ouvrir();
        QVERIFY(s->choisir("Les Aventures"));
        QVERIFY(cliquer(&f, "pbChercherImage")); // no current cell: a message, no dialog
        QCOMPARE(Boites::textesVus(), QStringList("Veuillez selectioner un album"));
        QVERIFY(dialogues(f).isEmpty());
        QVERIFY(s->choisir("Les Aventures", "Tome 4"));
        QVERIFY(cliquer(&f, "pbChercherImage"));
        QPointer<QDialog> dialogue = dialogues(f).value(0);
        QVERIFY(dialogue);
        QVERIFY(!dialogue->isModal());
        auto* panneau = dialogue->findChild<choitImage*>();
        QCOMPARE(proposition(panneau), QString("Les Aventures Tome 4"));
        QVERIFY(cliquer(panneau, "pbRechercher"));
        QTRY_VERIFY(!enfant<QLabel>(panneau, "labelImage")->pixmap().isNull());
        QCOMPARE(serveur->requetesVers("/onca/xml").value(0).valeur("Keywords"),
            QByteArray("Les%20Aventures%20Tome%204"));
        QVERIFY(cliquer(panneau, "pbSelectionner"));
        QCOMPARE(
            s->lire("images/Les_Aventures_Tome_4.jpg"), ServeurTest::octetsImage("grand-1.jpg"));
        QCOMPARE(image(f, "Les Aventures", "Tome 4"), QString("images//Les_Aventures_Tome_4.jpg"));
        QCOMPARE(image(f, "Autre", "Tome 4"), QString());
        QVERIFY(!s->w<QLabel>("LabelImage")->pixmap().isNull());
        QVERIFY(f.estModifie());

        // Still one dialog, proposing the album chosen last; from the menu nothing is proposed.
        QVERIFY(s->choisir("Les Aventures", "Tome 5"));
        QVERIFY(cliquer(&f, "pbChercherImage"));
        QVERIFY(declencherAction(&f, "actionRerchercher_un_album"));
        QCOMPARE(dialogues(f), QList<QDialog*>({ dialogue }));
        QCOMPARE(proposition(panneau), QString("Les Aventures Tome 5"));
        QVERIFY(s->ecrire("images/autre.jpg", "image")); // only a file of images/ is attached
        emit panneau->newImage("autre.jpg"); // attaches to the album selected now
        QCOMPARE(image(f, "Les Aventures", "Tome 5"), QString("images//autre.jpg"));
        // A search, then an image, over their caps: why, over the dialog; nothing to select.
        serveur->setReponse("/onca/xml", { 200, "x", {}, 0, false, 100 << 20 });
        QVERIFY(cliquer(panneau, "pbRechercher"));
        QTRY_COMPARE(Boites::textesVus().value(1),
            "La recherche de couverture a échoué : réponse trop volumineuse (plus de 8 Mo)");
        serveur->setReponse("/onca/xml", { 200, serveur->documentRecherche(), {} });
        serveur->setReponse("/images/grand-1.jpg", { 200, "x", {}, 0, false, 100 << 20 });
        QVERIFY(cliquer(panneau, "pbRechercher"));
        QTRY_COMPARE(Boites::boitesVues().size(), 4);
        QCOMPARE(Boites::boitesVues().last().texte,
            "L'image n'a pas été téléchargée : image trop volumineuse (plus de 20 Mo)");
        QCOMPARE(Boites::boitesVues().last().parent, static_cast<QWidget*>(dialogue));
        QVERIFY(cliquer(panneau, "pbSelectionner"));
        QVERIFY(!QFile::exists(s->chemin("images/Les_Aventures_Tome_5.jpg")));
        // Closed while its search is under way: destroyed, reached by nothing.
        serveur->setReponse("/images/grand-1.jpg",
            { 200, ServeurTest::octetsImage("grand-1.jpg"), {}, 300, false });
        QVERIFY(cliquer(panneau, "pbRechercher"));
        dialogue->close();
        traiterEvenements();
        QVERIFY(!dialogue);
        QVERIFY(declencherAction(&f, "actionRerchercher_un_album"));
        QCOMPARE(proposition(dialogues(f).value(0)), QString());
        f.properlyDestroyed(0);
        f.properlyDestroyed(0); // delivered again, destroys nothing twice
        QTest::qWait(500);
        traiterEvenements();
        QVERIFY(f.findChildren<choitImage*>().isEmpty());
        QCOMPARE(Boites::textesVus().size(), 4);
        QVERIFY(cliquer(&f, "pbChercherImage")); // the window closes with a search open
        s->fenetre.reset();
    }

    void imageLocale()
    {
        QVERIFY(s->collection(ligneAlbum("S", "Tome 4", 4) + ligneAlbum("S", "Tome 5", 5)));
        Phylacto& f = s->ouvrir();
        QVERIFY(s->ecrire("ma couverture;2.jpg", imagePng(20, 40)));
        auto* label = s->w<QLabel>("LabelImage");
        QVERIFY(s->choisir("S", "Tome 5"));
        QTest::mouseClick(label, Qt::LeftButton); // cancelled: nothing happens
        QVERIFY(!f.estModifie());
        QCOMPARE(Boites::nbDialoguesFichier(), 1);
        // No album selected: copied all the same, then the message.
        QVERIFY(s->choisir("S"));
        Boites::setProchainFichier(s->chemin("ma couverture;2.jpg"));
        QTest::mouseClick(label, Qt::RightButton);
        QCOMPARE(Boites::textesVus(), QStringList("Merci de selectionner l'album souhaité"));
        QCOMPARE(s->lire("images/ma couverture_2.jpg"), imagePng(20, 40));
        QVERIFY(!f.estModifie());
        // Selected: the album points at the copy, whose name lost its ";", and shows it.
        QVERIFY(s->choisir("S", "Tome 5"));
        Boites::setProchainFichier(s->chemin("ma couverture;2.jpg"));
        QTest::mouseClick(label, Qt::LeftButton);
        QCOMPARE(image(f, "S", "Tome 5"), QString("images//ma couverture_2.jpg"));
        QVERIFY(f.estModifie());
        QCOMPARE(label->pixmap().size(), QSize(250, 500));
    }

    // Wall thumbnails: a disk entry is believed only when sound and made for
    // the picture as it is now; memory keeps at most its bytes.
    void vignettes()
    {
        using C = CacheVignettes;
        const QString image = s->chemin("images/c.bmp"), dossier = s->chemin("cache");
        const auto peindre = [&](Qt::GlobalColor couleur, int annee) {
            QImage picture(600, 900, QImage::Format_RGB32);
            picture.fill(couleur);
            QFile fichier(image);
            return picture.save(image) && fichier.open(QIODevice::ReadWrite)
                && fichier.setFileTime(
                    QDateTime(QDate(annee, 1, 1), QTime(0, 0)), QFileDevice::FileModificationTime);
        };
        const auto couleur = [&](const C::Fichier& f) {
            const QColor point = C::produire(f, { 96, 128 }, dossier).pixelColor(5, 5);
            return point.red() > point.blue() ? "rouge" : "bleu";
        };
        QVERIFY(peindre(Qt::red, 2020));
        const C::Fichier rouge = C::decrire(image);
        QCOMPARE(C::produire(rouge, { 96, 128 }, dossier).size(), QSize(85, 128));
        const QString entree = "cache/" + C::nomEntree(C::cle(rouge));
        QVERIFY(QFileInfo(s->chemin(entree)).isFile());
        // An entry for the key with a wrong checksum, or cut: rebuilt.
        QImage bleue(20, 30, QImage::Format_RGB32);
        bleue.fill(Qt::blue);
        QByteArray fausse = C::entree(C::cle(rouge), bleue);
        fausse[fausse.size() - 1] = char(fausse.back() ^ 1);
        for (const QByteArray& abimee : { fausse, s->lire(entree).left(100) }) {
            QVERIFY(s->ecrire(entree, abimee));
            QCOMPARE(couleur(rouge), "rouge");
            QVERIFY(!C::lireEntree(s->lire(entree), C::cle(rouge)).isNull());
        }
        // The same bytes count, changed later: another key.
        QVERIFY(peindre(Qt::blue, 2021));
        const C::Fichier change = C::decrire(image);
        QCOMPARE(change.octets, rouge.octets);
        QVERIFY(C::cle(change) != C::cle(rouge));
        QCOMPARE(couleur(change), "bleu");
        QCOMPARE(C::decrire(s->chemin("images")).octets, -1);

        // Memory: 4 MB at least; 41 thumbnails of 96x128 to 256x341 are twice that.
        C cache(dossier, 0);
        QImage vue;
        QCOMPARE(cache.vignette(s->chemin("absente.png"), { 96, 128 }, &vue), C::Etat::SansImage);
        qint64 octets = 0;
        for (int passe = 0; passe < 2; ++passe) {
            for (int largeur = 96; largeur <= 256; largeur += 4) {
                if (cache.vignette(image, { largeur, largeur * 4 / 3 }, &vue) == C::Etat::Prete)
                    octets += vue.sizeInBytes();
            }
            QTRY_COMPARE(cache.nbEnAttente(), 0);
        }
        QVERIFY(octets > 0);
        QVERIFY2(octets <= qint64(4) << 20, QByteArray::number(octets));
    }

    void parcoursAutomatique()
    {
        QVERIFY(s->collection(ligneAlbum("Les Aventures", "Douze", 12)
            + ligneAlbum("Les Aventures", "Douze bis", 12)
            + ligneAlbum("Les Aventures", "Rien", 3, 0, "_")
            + ligneAlbum("Les Aventures", "Déjà", 5, 0, "images//x.jpg")
            + ligneAlbum("Autre  Serie", "Un", 1) + ligneAlbum("Astérix", "A", 3)
            + ligneAlbum("Spirou_et Tome", "S", 2) + ligneAlbum("Fin", "F", 9)));
        Phylacto& f = s->ouvrir();
        QVERIFY(s->choisir("Fin", "F"));
        QVERIFY(cliquer(&f, "pbChercherImage"));
        QPointer<QDialog> ouvert = dialogues(f).value(0);
        QStringList proposes;
        // 1: searches through the service and chooses its picture, then the close box.
        Boites::setProchaineEtape([&](QWidget* d) {
            auto* panneau = d->findChild<choitImage*>();
            proposes << proposition(panneau);
            QVERIFY(d->isModal());
            QVERIFY(enfant<QLineEdit>(panneau, "leTitreRecherche")->isReadOnly());
            QVERIFY(!enfant<QWidget>(panneau, "pbStopRecherche")->isHidden());
            QVERIFY(cliquer(panneau, "pbRechercher"));
            QVERIFY(QTest::qWaitFor(
                [panneau] { return !enfant<QLabel>(panneau, "labelImage")->pixmap().isNull(); }));
            serveur->setReponseRecherche({ 200, QByteArray(), {}, -1, false }); // mute from now on
            QVERIFY(cliquer(panneau, "pbSelectionner"));
            d->close();
        });
        // Then: the twin, whose first is now covered; Escape after choosing;
        // two more chosen; "BD Suivante" (none: Escape), then stop.
        for (const char* bouton :
            { "pbBDSuivante", "", "pbBDSuivante", "pbBDSuivante", "!pbStopRecherche" })
            Boites::setProchaineEtape([&, bouton](QWidget* d) {
                auto* panneau = d->findChild<choitImage*>();
                proposes << proposition(panneau);
                // The service is mute: this search's picture arrives by hand.
                if (*bouton != '!') {
                    QVERIFY(cliquer(panneau, "pbRechercher"));
                    QVERIFY(s->ecrire("data/tutu.jpg", ServeurTest::octetsImage("grand-1.jpg")));
                    QVERIFY(cliquer(panneau, "pbSelectionner"));
                }
                if (*bouton)
                    QVERIFY(cliquer(panneau, QString(bouton).remove('!')));
                else
                    QTest::keyClick(d, Qt::Key_Escape);
            });
        QVERIFY(declencherAction(&f, "actionChercher_image_manquantes"));
        QVERIFY(!ouvert); // the walk closed the open search
        QCOMPARE(Boites::etapesEnAttente(), 0);
        QCOMPARE(Boites::modauxVus(), QStringList(6, "Chercher les images manquantes"));
        QCOMPARE(proposes,
            QStringList({ "Les Aventures Tome 12", "Les Aventures Tome 12", "Autre  Serie Tome 1",
                "Astérix Tome 3", "Spirou_et Tome Tome 2", "Fin Tome 9" }));
        QCOMPARE(
            s->lire("images/Les_Aventures_Tome_12.jpg"), ServeurTest::octetsImage("grand-1.jpg"));
        QStringList images;
        for (const BD* a : f.getAlbums())
            images << a->getImage().mid(8);
        QCOMPARE(images,
            QStringList({ "Les_Aventures_Tome_12.jpg", "Les_Aventures_Tome_12.jpg", "", "x.jpg",
                "Autre__Serie_Tome_1.jpg", "Astérix_Tome_3.jpg", "Spirou_et_Tome_Tome_2.jpg",
                "" }));
        QVERIFY(f.estModifie());
        QCOMPARE(Boites::textesVus(), QStringList());
        traiterEvenements();
        QVERIFY(f.findChildren<QDialog*>().isEmpty());

        // The next walk starts again from the first album still without a cover.
        f.getCatalogue().premierAlbum("Astérix", "A")->setImage(QString());
        Boites::setProchaineEtape([&](QWidget* d) {
            proposes << proposition(d);
            QVERIFY(cliquer(d->findChild<choitImage*>(), "pbStopRecherche"));
        });
        QVERIFY(declencherAction(&f, "actionChercher_image_manquantes"));
        QCOMPARE(proposes.last(), QString("Astérix Tome 3"));
        // Outside a walk the text names the first album of that volume.
        for (const char* nom : { "images/c.jpg", "images/f.jpg", "images/x.jpg", "images/a.jpg" })
            QVERIFY(s->ecrire(nom, "image"));
        f.setModifie(false);
        f.setImageBD("c.jpg", "Inconnue_Tome_1");
        QVERIFY(!f.estModifie());
        f.setImageBD("f.jpg", "Fin_Tome_9");
        f.setImageBD("x.jpg", "Astérix_Tome_3");
        f.setImageBD("a.jpg", "Les_Aventures_Tome_12");
        QCOMPARE(image(f, "Les Aventures", "Douze"), QString("images//a.jpg"));
        QVERIFY(f.estModifie());
        // Nothing left without a cover: no dialog at all.
        QVERIFY(declencherAction(&f, "actionChercher_image_manquantes"));
        QCOMPARE(Boites::modauxVus().size(), 7);
    }

private:
    std::unique_ptr<ServeurTest> serveur;
    std::unique_ptr<Scene> s;
};

QTEST_MAIN(TestCouvertures)
#include "test_couvertures.moc"
