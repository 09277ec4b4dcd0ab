// Damaged, odd and hostile files, start-up problems, and the file checker.
#include "app/demarrage.h"
#include "covers/nomimage.h"
#include "dialogs/barremessage.h"
#include "dialogs/filtre.h"
#include "store/verificationcollection.h"
#include "support/fixture.h"

#include <QProcess>
#include <QScreen>
#include <QTextCodec>

#include <sys/stat.h>

namespace {

QStringList notices(Phylacto& fenetre)
{
    return fenetre.findChild<BarreMessage*>(QStringLiteral("barreMessage"))->notices();
}

// A file of that size that takes no room on the disk.
bool fichierCreux(const QString& chemin, qint64 taille)
{
    QFile fichier(chemin);
    return fichier.open(QIODevice::WriteOnly) && fichier.resize(taille);
}

QByteArray latin1(QByteArray ligne)
{
    return ligne.replace("Th\xc3\xa9o", "Th\xe9o");
}

QProcess* lancer(const QStringList& arguments, const QString& plateforme = "offscreen")
{
    auto* processus = new QProcess;
    QProcessEnvironment environnement = QProcessEnvironment::systemEnvironment();
    environnement.insert("QT_QPA_PLATFORM", plateforme);
    processus->setProcessEnvironment(environnement);
    processus->start(QStringLiteral(PHYLACTO_PROGRAMME), arguments);
    return processus;
}

} // namespace

class TestRobustesse : public QObject
{
    Q_OBJECT

private slots:
    void lignesFautives_data()
    {
        QTest::addColumn<QByteArray>("contenu");
        QTest::addColumn<QString>("montre");
        const QByteArray bon = ligneAlbum("A", "T", 1);
        QByteArray retours = bon.repeated(30).replace('\n', '\r');
        QTest::newRow("2000") << bon + QByteArray(2000, 'x') + "\n" + bon << QString(2000, 'x');
        QTest::newRow("50000") << bon + QByteArray(50000, 'y') << QString(2000, 'y') + "…";
        QTest::newRow("CR seuls") << bon + retours
                                  << QString::fromUtf8(retours.left(2000)) + "…";
    }
    void lignesFautives()
    {
        QFETCH(QByteArray, contenu);
        QFETCH(QString, montre);
        DossierTravail dossier;
        dossier.collection(contenu);
        Phylacto fenetre;
        QCOMPARE(Boites::textesVus().size(), 1);
        QVERIFY(Boites::textesVus().first().startsWith("Erreur à la ligne " + montre + ".\n"));
        QCOMPARE(fenetre.getAlbums().size(), 1);
        QVERIFY(fenetre.chargementIncomplet());
    }

    void encodages_data()
    {
        QTest::addColumn<QByteArray>("octets");
        QTest::addColumn<QString>("encodage");
        QTest::addColumn<int>("ligne");
        QTest::addColumn<QString>("propose");
        const QByteArray theo = ligneAlbum("A", "B", 1) + ligneAlbum("Théo", "T", 2);
        QTest::newRow("utf8") << theo << "UTF-8" << 0 << "";
        QTest::newRow("latin1 en utf8") << latin1(theo) << "UTF-8" << 2 << "Windows-1250";
        QTest::newRow("utf8 en utf16") << theo << "UTF-16" << 1 << "UTF8";
        QTest::newRow("coupé") << theo + "\xc3" << "UTF-8" << 3 << "Windows-1250";
        QTest::newRow("bom") << "\xef\xbb\xbf" + theo << "KOI8-R" << 0 << "";
    }
    void encodages()
    {
        QFETCH(QByteArray, octets);
        QFETCH(QString, encodage);
        QFETCH(int, ligne);
        QFETCH(QString, propose);
        DossierTravail dossier;
        dossier.collection(octets, encodage);
        Phylacto fenetre;
        QCOMPARE(fenetre.chargementIncomplet(), ligne > 0);
        const QStringList textes = notices(fenetre);
        QCOMPARE(textes.size(), ligne > 0 ? 1 : 0);
        if (ligne == 0)
            return;
        QVERIFY2(textes.first().contains(QString("ligne %1 ").arg(ligne)), qPrintable(textes.first()));
        QVERIFY(textes.first().contains(" en " + propose + " "));
    }

    void cheminsCouverture_data()
    {
        QTest::addColumn<QString>("chemin");
        QTest::addColumn<bool>("lue");
        QTest::newRow("image") << "images/a.png" << true;
        QTest::newRow("/dev/zero") << "images//../../../../../../../../../dev/zero" << false;
        QTest::newRow("fifo") << "images/fifo" << false;
        QTest::newRow("dossier") << "images" << false;
        QTest::newRow("trop gros") << "images/gros.jpg" << false;
        QTest::newRow("absent") << "images/absent.jpg" << false;
    }
    void cheminsCouverture()
    {
        QFETCH(QString, chemin);
        DossierTravail dossier;
        dossier.ecrire("images/a.png", "png");
        QCOMPARE(::mkfifo(qPrintable(dossier.chemin("images/fifo")), 0600), 0);
        QVERIFY(fichierCreux(dossier.chemin("images/gros.jpg"), NomImage::tailleMaxCouverture + 1));
        QTEST(!NomImage::octetsCouverture(dossier.chemin(chemin)).isEmpty(), "lue");
    }

    void nomsLibres_data()
    {
        QTest::addColumn<QStringList>("presents"); // "name=content"
        QTest::addColumn<QString>("attendu");
        QTest::newRow("premier") << QStringList() << "cover.jpg";
        QTest::newRow("même image") << QStringList { "cover.jpg=A" } << "cover.jpg";
        QTest::newRow("autre image") << QStringList { "cover.jpg=B" } << "cover-2.jpg";
        QTest::newRow("-2 pris") << QStringList { "cover.jpg=B", "cover-2.jpg=C" } << "cover-3.jpg";
        QTest::newRow("même que -2") << QStringList { "cover.jpg=B", "cover-2.jpg=A" } << "cover-2.jpg";
        QTest::newRow("images est un fichier") << QStringList { "=X" } << "";
    }
    void nomsLibres()
    {
        QFETCH(QStringList, presents);
        QFETCH(QString, attendu);
        DossierTravail dossier;
        QVERIFY(QDir(dossier.chemin("images")).removeRecursively());
        // "=X": images itself is a file.
        const auto chemin = [](const QString& present) { return ("images/" + present.section('=', 0, 0)).chopped(present.startsWith('=') ? 1 : 0); };
        for (const QString& present : presents)
            dossier.ecrire(chemin(present), present.section('=', 1).toUtf8());
        QString erreur;
        QCOMPARE(NomImage::stockerCouverture(dossier.chemin("images"), "cover.jpg", "A", &erreur), attendu);
        QCOMPARE(erreur.isEmpty(), !attendu.isEmpty());
        for (const QString& present : presents)
            QCOMPARE(dossier.lire(chemin(present)), present.section('=', 1).toUtf8());
        if (!attendu.isEmpty())
            QCOMPARE(dossier.lire("images/" + attendu), QByteArray("A"));
    }

    void importConversion_data()
    {
        QTest::addColumn<QString>("fichier");
        QTest::addColumn<QByteArray>("contenu");
        QTest::addColumn<int>("ajoutes");
        QTest::addColumn<QString>("converti");
        QTest::newRow("octets invalides") << "x.csv" << latin1(ligneAlbum("A", "B", 1) + ligneAlbum("Théo", "T", 2)) << 0 << "";
        QTest::newRow("sans écraser") << "bd.db" << QByteArray("\"S\" \"T\" 1 \"D\" \"Sc\" \"E\" \"C\" 0 \"G\" \"_\" \"_\" \"_\" 0 0 \"_\" 0 0 0 \"_\"\n") << 1 << "bd-2.csv";
    }
    void importConversion()
    {
        QFETCH(QString, fichier);
        QFETCH(QString, converti);
        DossierTravail dossier;
        dossier.collection({});
        dossier.ecrire("bd.csv", "garde");
        QFETCH(QByteArray, contenu);
        dossier.ecrire(fichier, contenu);
        Phylacto fenetre;
        Boites::setProchainFichier(dossier.chemin(fichier));
        QVERIFY(declencherAction(&fenetre, "actionImporter_Csv"));
        QTEST(int(fenetre.getAlbums().size()), "ajoutes");
        QCOMPARE(dossier.lire("bd.csv"), QByteArray("garde"));
        if (converti.isEmpty())
            QVERIFY(Boites::textesVus().last().contains("dès la ligne 2."));
        else
            QVERIFY(QFileInfo(dossier.chemin(converti)).isFile());
    }

    void demarrage_data()
    {
        QTest::addColumn<QString>("cas");
        QTest::addColumn<int>("nbNotices");
        QTest::newRow("dossier") << "dossier" << 1;
        QTest::newRow("lien mort") << "lien" << 1;
        QTest::newRow("trop gros") << "gros" << 1;
        QTest::newRow("couverture fifo") << "fifo" << 0;
    }
    void demarrage()
    {
        QFETCH(QString, cas);
        DossierTravail dossier;
        dossier.collection({});
        QFile::remove(dossier.chemin("collection.csv"));
        if (cas == "dossier")
            QVERIFY(QDir().mkdir(dossier.chemin("collection.csv")));
        if (cas == "lien")
            QVERIFY(QFile::link(dossier.chemin("cible.csv"), dossier.chemin("collection.csv")));
        if (cas == "gros")
            QVERIFY(fichierCreux(dossier.chemin("collection.csv"), (qint64(300) << 20)));
        if (cas == "fifo") {
            dossier.ecrire("collection.csv", ligneAlbum("A", "T", 1, 0, "images//fifo"));
            QCOMPARE(::mkfifo(qPrintable(dossier.chemin("images/fifo")), 0600), 0);
        }
        Phylacto fenetre;
        QTEST(int(notices(fenetre).size()), "nbNotices");
        QVERIFY(Boites::textesVus().isEmpty());
        QVERIFY(!QFileInfo::exists(dossier.chemin("cible.csv")));
        QCOMPARE(fenetre.chargementIncomplet(), cas != "fifo");
    }

    void parametresIllisibles()
    {
        DossierTravail dossier;
        QByteArray bruit;
        for (int i = 0; i < 4096; ++i)
            bruit += char((i * 7919) % 256);
        dossier.ecrire("data/settings.ini", bruit);
        QString erreur;
        QVERIFY2(Demarrage::nommerCollection(dossier.chemin(), &erreur), qPrintable(erreur));
    }

    void deuxiemeCopie()
    {
        DossierTravail dossier;
        QString erreur;
        auto verrou = Demarrage::verrouiller(&erreur);
        QVERIFY(verrou);
        std::unique_ptr<QProcess> seconde(lancer({ dossier.chemin() }));
        const QString attendu = QString("Un autre Phylacto (processus %1 ").arg(QCoreApplication::applicationPid());
        QByteArray sortie;
        QTRY_VERIFY_WITH_TIMEOUT((sortie += seconde->readAllStandardError()).contains(attendu.toUtf8()), 20000);
        seconde->kill();
        seconde->waitForFinished();

        // A lock left by a copy that died is taken over.
        verrou.reset();
        dossier.ecrire("data/phylacto.lock", "2147483646\nPhylacto\n\n");
        std::unique_ptr<QProcess> reprise(lancer({ "--screenshot", "vue.png", dossier.chemin() }));
        QVERIFY(reprise->waitForFinished(30000));
        QCOMPARE(reprise->exitCode(), 0);
        QVERIFY(QFileInfo(dossier.chemin("vue.png")).size() > 0);
    }

    void verificateur()
    {
        DossierTravail dossier;
        dossier.ecrire("images/a.jpg", "a");
        const QByteArray contenu = ligneAlbum("A", "T", 1, 0, "images//a.jpg") + "a;b\n"
            + latin1(ligneAlbum("Théo", "T", 2)) + ligneAlbum("S", "T", 1).replace(";1;", ";abc;")
            + ligneAlbum("A", "T", 2) + ligneAlbum("B", "C", 1, 0, "images//absent.jpg");
        const RapportVerification rapport = VerificationCollection::verifierOctets(
            contenu, QTextCodec::codecForName("UTF-8"), dossier.chemin());
        QList<QPair<int, int>> trouves;
        for (const RapportVerification::Probleme& probleme : rapport.problemes)
            trouves.append({ probleme.ligne, int(probleme.genre) });
        using P = RapportVerification::Probleme;
        QCOMPARE(trouves, (QList<QPair<int, int>> { { 2, P::NombreDeChamps }, { 3, P::OctetsInvalides }, { 4, P::NombreInvalide }, { 5, P::Doublon }, { 6, P::CouvertureAbsente } }));
        QCOMPARE(rapport.albums, 5);

        // From the command line, without any display.
        dossier.ecrire("c.csv", contenu);
        std::unique_ptr<QProcess> processus(lancer({ "--verifier", "c.csv", dossier.chemin() }, "aucun"));
        QVERIFY(processus->waitForFinished(20000));
        QCOMPARE(processus->exitCode(), 1);
        QCOMPARE(processus->readAllStandardOutput().count('\n'), 6);
        processus.reset(lancer({ "--verifier", "images", dossier.chemin() }, "aucun"));
        QVERIFY(processus->waitForFinished(20000));
        QCOMPARE(processus->exitCode(), 2);
    }

    void fenetreApresCorrections()
    {
        DossierTravail dossier;
        dossier.collection(ligneAlbum("A", "T1", 1, 0, "", "Marc") + ligneAlbum("A", "T4", 4, 0, "", "Luc") + ligneAlbum("Z", "X", 1).replace("Dessinateur", QByteArray(5500, 'n')));
        dossier.ecrire("collection.csv.Ab3dE9", "reste");
        dossier.ecrire("collection.csv.backup", "à garder");
        Phylacto fenetre;
        auto* table = enfant<QTableWidget>(&fenetre, "LstAlbum");
        fenetre.nouvelAlbum("A", "T5", "", "", 5, "", 0, 0, 0, "", "", "");
        QCOMPARE(table->item(table->currentRow(), 1)->text(), QString("T5"));

        // Two pictures of one name: each keeps its bytes; never a missing file.
        dossier.ecrire("A/cover.jpg", "a");
        dossier.ecrire("B/cover.jpg", "b");
        for (const char* source : { "A/cover.jpg", "B/cover.jpg" }) {
            Boites::setProchainFichier(dossier.chemin(source));
            fenetre.changeImage();
        }
        QCOMPARE(dossier.lire("images/cover.jpg"), QByteArray("a"));
        QCOMPARE(fenetre.getCatalogue().premierAlbum("A", "T5")->getImage(), QString("images//cover-2.jpg"));
        fenetre.setModifie(false);
        fenetre.setNewImage("absent.jpg");
        QVERIFY(!fenetre.estModifie());

        // Nothing is current after a return: a second click returns nothing.
        QVERIFY(declencherAction(&fenetre, "actionGestion_des_prets"));
        auto* prets = fenetre.findChild<QTableWidget*>("LstPrets");
        prets->setCurrentCell(0, 0);
        for (int clic = 0; clic < 2; ++clic)
            enfant<QPushButton>(prets->parentWidget(), "pbRendue")->click();
        QCOMPARE(prets->rowCount(), 1);
        QCOMPARE(prets->currentRow(), -1);

        fenetre.setModifie(false);
        fenetre.MAJEncodage("UTF8"); // the same codec as "UTF-8"
        QVERIFY(!fenetre.estModifie());
        fenetre.MAJEncodage("KOI8-R");
        QVERIFY(fenetre.estModifie());
        fenetre.save();
        QVERIFY(!QFile::exists(dossier.chemin("collection.csv.Ab3dE9")));
        QVERIFY(QFile::exists(dossier.chemin("collection.csv.backup")));

        QVERIFY(declencherAction(&fenetre, "actionExploration_bd"));
        auto* explorateur = fenetre.findChild<filtre*>();
        explorateur->show();
        QVERIFY(explorateur->width() <= explorateur->screen()->availableGeometry().width());
    }
};

QTEST_MAIN(TestRobustesse)
#include "test_robustesse.moc"
