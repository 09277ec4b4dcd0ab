// Writing the collection file: bytes of the lines, atomic checked writes,
// "Enregistrer" and "Enregistrer sous" from the window.
#include "app/phylacto.h"
#include "model/bd.h"
#include "model/catalogue.h"
#include "settings/codecs.h"
#include "store/ecriturecollection.h"
#include "store/fichiercollection.h"
#include "support/albumtest.h"
#include "support/dossiertravail.h"
#include "support/repondeur.h"

#include <QDateTime>
#include <QDir>
#include <QTextCodec>
#include <QtTest>

#include <csignal>
#include <memory>
#include <sys/resource.h>

namespace {

QByteArray lire(const QString& chemin)
{
    QFile fichier(chemin);
    return fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : QByteArray();
}

QStringList fichiersDe(const QString& dossier)
{
    return QDir(dossier).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

// The line of albumTest("S", titre, commentaire, type) with these fields.
QByteArray ligneS(const QByteArray& titre, const QByteArray& commentaire = "",
    const QByteArray& entier = "0", const QByteArray& reel = "0")
{
    return "S;" + titre + ";1;Dessinateur;Scenariste;Dargaud;" + commentaire + ";" + entier
        + ";Aventure;;;;" + reel + ";" + entier + ";_;0;0;0;;Coloriste\n";
}

const QByteArray ligneZ1 = ligneAlbum("Zorro", "Z1", 1);

} // namespace

class TestSauvegarde : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { Codecs::setCodec8Bits(nullptr); }

    void encoder_data()
    {
        QTest::addColumn<QByteArray>("codec");
        QTest::addColumn<QString>("titre");
        QTest::addColumn<QString>("commentaire");
        QTest::addColumn<double>("reel");
        QTest::addColumn<int>("entier");
        QTest::addColumn<QByteArray>("octets");
        QTest::addColumn<int>("intraduisible");

        // clang-format off
        QTest::newRow("UTF-8") << QByteArray("UTF-8") << "é" << "" << 0.0 << 0 << ligneS("\xc3\xa9") << -1;
        QTest::newRow("Windows-1250") << QByteArray("Windows-1250") << "é" << "" << 0.0 << 0 << ligneS("\xe9") << -1;
        QTest::newRow("Apple Roman") << QByteArray("Apple Roman") << "é" << "" << 0.0 << 0 << ligneS("\x8e") << -1;
        // No byte-order mark, the machine's byte order (what the load reads back).
        QTest::newRow("UTF-16") << QByteArray("UTF-16") << "é" << "" << 0.0 << 0
            << QTextCodec::codecForName("UTF-16LE")->fromUnicode(QString::fromLatin1(ligneS("\xe9"))) << -1;
        QTest::newRow("€ en KOI8-R") << QByteArray("KOI8-R") << "5 €" << "" << 0.0 << 0 << ligneS("5 ?") << 0;
        QTest::newRow("€ en Windows-1250") << QByteArray("Windows-1250") << "€" << "" << 0.0 << 0 << ligneS("\x80") << -1;
        QTest::newRow("sauts de ligne") << QByteArray("UTF-8") << "T" << "ligne 1\nligne 2\n" << 0.0 << 0 << ligneS("T", "ligne 1 ligne 2 ") << -1;
        QTest::newRow("point-virgule") << QByteArray("UTF-8") << "B;2" << "a;b" << 0.0 << 0 << ligneS("B,2", "a,b") << -1;
        QTest::newRow("moins zéro") << QByteArray("UTF-8") << "T" << "" << -0.0 << -1 << ligneS("T", "", "-1", "0") << -1;
        QTest::newRow("décimal") << QByteArray("UTF-8") << "T" << "" << 12.5 << 2147483647 << ligneS("T", "", "2147483647", "12.5") << -1;
        QTest::newRow("petit") << QByteArray("UTF-8") << "T" << "" << 0.00001 << -2147483647 - 1 << ligneS("T", "", "-2147483648", "1e-05") << -1;
        QTest::newRow("grand") << QByteArray("UTF-8") << "T" << "" << 1234567.5 << 7 << ligneS("T", "", "7", "1.23457e+06") << -1;
        // clang-format on
    }

    void encoder()
    {
        QFETCH(QByteArray, codec);
        QFETCH(QString, titre);
        QFETCH(QString, commentaire);
        QFETCH(int, entier);
        Catalogue catalogue;
        BD* album = albumTest("S", titre, commentaire, entier);
        album->entier8 = entier;
        QFETCH(double, reel);
        album->reel13 = reel;
        catalogue.attacher(album);
        const OctetsCollection resultat
            = EcritureCollection::encoder(catalogue.albums(), QTextCodec::codecForName(codec));
        QTEST(resultat.octets, "octets");
        QTEST(resultat.premierAlbumIntraduisible, "intraduisible");
    }

    void disquePlein_data()
    {
        // Beyond the file-size limit, which makes the disk refuse bytes as a full
        // disk does: within the write buffer (refused at the flush), and past it.
        QTest::addColumn<int>("nbLignes");
        QTest::newRow("refus au vidage du tampon") << 60;
        QTest::newRow("refus a l'ecriture") << 1000;
    }

    void disquePlein()
    {
        QFETCH(int, nbLignes);
        DossierTravail dossier;
        dossier.ecrireFichier("c.csv", ligneZ1);
        rlimit avant {};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &avant), 0);
        rlimit limite = avant;
        limite.rlim_cur = 4096;
        const auto ancienSignal = std::signal(SIGXFSZ, SIG_IGN);
        const bool limiteePosee = setrlimit(RLIMIT_FSIZE, &limite) == 0;
        const QString erreur
            = EcritureCollection::enregistrer(dossier.chemin("c.csv"), ligneZ1.repeated(nbLignes));
        setrlimit(RLIMIT_FSIZE, &avant);
        std::signal(SIGXFSZ, ancienSignal);

        QVERIFY(limiteePosee);
        QVERIFY2(!erreur.isEmpty(), "the failed write was reported as a success");
        QCOMPARE(dossier.lireFichier("c.csv"), ligneZ1);
        QCOMPARE(fichiersDe(dossier.chemin()), QStringList({ "c.csv", "data", "images" }));

        QFile plein("/dev/full");
        QVERIFY(plein.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        QVERIFY(!EcritureCollection::ecrire(plein, ligneZ1.repeated(nbLignes)).isEmpty());
    }

    void nomDeLaCopie()
    {
        DossierTravail dossier;
        dossier.ecrireFichier("c.csv", ligneZ1);
        const QString chemin = dossier.chemin("c.csv");
        const QDateTime quand(QDate(2026, 12, 6), QTime(18, 32, 59));
        QString erreur;
        QCOMPARE(EcritureCollection::garderCopie(chemin, quand, &erreur),
            chemin + ".2026-12-06-1832.bak");
        QCOMPARE(EcritureCollection::garderCopie(chemin, quand, &erreur),
            chemin + ".2026-12-06-1832-2.bak");
        QCOMPARE(dossier.lireFichier("c.csv.2026-12-06-1832-2.bak"), ligneZ1);
    }

    // "Enregistrer" over a longer file, which shrinks to the new lines.
    void save_data()
    {
        QTest::addColumn<QString>("encodage");
        QTest::addColumn<bool>("avecAlbum");
        QTest::addColumn<QByteArray>("octets");
        QTest::newRow("vide") << "UTF-8" << false << QByteArray();
        QTest::newRow("UTF-8") << "UTF-8" << true << ligneS("\xc3\xa9", "Tokyo N\xc3\xa9o");
        QTest::newRow("Windows-1250") << "Windows-1250" << true << ligneS("\xe9", "Tokyo N\xe9o");
    }

    void save()
    {
        QFETCH(QString, encodage);
        DossierTravail dossier;
        dossier.ecrireParametres(
            { { "BASE/FileName", "collection.csv" }, { "BASE/Encodage", encodage } });
        Phylacto fenetre;
        dossier.ecrireFichier("collection.csv", ligneZ1.repeated(3));
        QFETCH(bool, avecAlbum);
        if (avecAlbum)
            fenetre.getCatalogue().attacher(albumTest("S", "é", "Tokyo\nNéo"));
        fenetre.setModifie(true);
        QVERIFY(declencherAction(&fenetre, "actionEnregistrer"));
        QTEST(dossier.lireFichier("collection.csv"), "octets");
        QVERIFY(!fenetre.estModifie());
        QCOMPARE(fichiersDe(dossier.chemin()), QStringList({ "collection.csv", "data", "images" }));
    }

    void saveAs()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligneZ1, "collection.csv", "Windows-1250");
        RepondeurModal repondeur;
        Phylacto fenetre;
        fenetre.getCatalogue().attacher(albumTest("S", "é"));
        fenetre.getCatalogue().attacher(albumTest("S", "B;2", "a;b"));
        fenetre.setModifie(true);

        // Cancelled: nothing created.
        QVERIFY(declencherAction(&fenetre, "actionEnregistrer_sous"));
        QCOMPARE(fichiersDe(dossier.chemin()), QStringList({ "collection.csv", "data", "images" }));

        repondeur.repondreFichier(dossier.chemin("copie.csv"));
        QVERIFY(declencherAction(&fenetre, "actionEnregistrer_sous"));
        QCOMPARE(repondeur.nbDialoguesFichier(), 2);
        QCOMPARE(repondeur.titreDernierDialogueFichier(), QString("Enregistrer sous..."));
        QCOMPARE(repondeur.filtresDernierDialogueFichier(), QStringList("CSV (*.csv)"));
        QVERIFY(repondeur.boites().isEmpty());
        // The application's 8-bit codec (UTF-8), not the collection's; ";" written as ",".
        QCOMPARE(
            dossier.lireFichier("copie.csv"), ligneZ1 + ligneS("\xc3\xa9") + ligneS("B,2", "a,b"));
        QCOMPARE(dossier.lireFichier("collection.csv"), ligneZ1);
        QCOMPARE(dossier.valeurParametre("BASE/FileName"), QString("collection.csv"));
        QVERIFY(fenetre.estModifie());

        fenetre.save();
        QCOMPARE(
            dossier.lireFichier("collection.csv"), ligneZ1 + ligneS("\xe9") + ligneS("B,2", "a,b"));
        QCOMPARE(repondeur.nbDialoguesFichier(), 2);
    }

    void echecEcriture()
    {
        DossierTravail dossier;
        dossier.ecrireFichier("fichier", "pas un dossier");
        dossier.ecrireParametres(
            { { "BASE/FileName", "fichier/collection.csv" }, { "BASE/Encodage", "UTF-8" } });
        RepondeurModal repondeur;
        Phylacto fenetre;
        fenetre.getCatalogue().attacher(albumTest("S", "T"));
        fenetre.setModifie(true);

        QVERIFY(declencherAction(&fenetre, "actionEnregistrer"));
        QCOMPARE(repondeur.boites().size(), 1);
        const QString texte = repondeur.boites().first().texte;
        QVERIFY2(texte.startsWith(
                     "Impossible d'enregistrer " + dossier.chemin("fichier/collection.csv")),
            qPrintable(texte));
        QVERIFY2(!texte.endsWith(":\n"), "the reason is missing");
        QVERIFY(fenetre.estModifie());
        QCOMPARE(dossier.lireFichier("fichier"), QByteArray("pas un dossier"));
        QCOMPARE(fichiersDe(dossier.chemin()), QStringList({ "data", "fichier", "images" }));
    }

    void sansNomDeFichier_data()
    {
        QTest::addColumn<bool>("dansLeDossier");
        QTest::newRow("dans le dossier de travail") << true;
        QTest::newRow("ailleurs") << false;
    }

    void sansNomDeFichier()
    {
        QFETCH(bool, dansLeDossier);
        DossierTravail dossier;
        QTemporaryDir ailleurs;
        const QString chemin = dansLeDossier ? dossier.chemin("data/ma collection.csv")
                                             : ailleurs.filePath("loin.csv");
        dossier.ecrireParametres({ { "BASE/Encodage", "Windows-1250" } });
        RepondeurModal repondeur;
        auto fenetre = std::make_unique<Phylacto>();
        fenetre->getCatalogue().attacher(albumTest("S", "é"));
        fenetre->setModifie(true);

        // Cancelled: nothing written, nothing remembered.
        fenetre->save();
        QCOMPARE(fichiersDe(dossier.chemin()), QStringList({ "data", "images" }));
        QVERIFY(fenetre->estModifie());
        QCOMPARE(dossier.valeurParametre("BASE/FileName"), QString());

        // Chosen: stored relative inside the working directory, written in the
        // collection's encoding, and used by the next save and load.
        repondeur.repondreFichier(chemin);
        fenetre->save();
        QCOMPARE(repondeur.nbDialoguesFichier(), 2);
        QCOMPARE(repondeur.titreDernierDialogueFichier(), QString("Enregistrer sous..."));
        QCOMPARE(dossier.valeurParametre("BASE/FileName"),
            dansLeDossier ? QString("data/ma collection.csv") : chemin);
        QVERIFY(!fenetre->estModifie());
        fenetre->getCatalogue().attacher(albumTest("S", "T"));
        fenetre->save();
        QCOMPARE(repondeur.nbDialoguesFichier(), 2);
        QCOMPARE(lire(chemin), ligneS("\xe9") + ligneS("T"));
        fenetre.reset();
        QCOMPARE(Phylacto().getAlbums().size(), 2);
    }

    void chargementIncompletGardeUneCopie_data()
    {
        QTest::addColumn<bool>("parEnregistrerSous");
        QTest::newRow("Enregistrer") << false;
        QTest::newRow("Enregistrer sous") << true;
    }

    void chargementIncompletGardeUneCopie()
    {
        QFETCH(bool, parEnregistrerSous);
        DossierTravail dossier;
        const QByteArray origine = ligneZ1 + "x;y\n" + ligneAlbum("Blake", "B1", 1);
        dossier.ecrireCollection(origine);
        RepondeurModal repondeur;
        Phylacto fenetre;
        QCOMPARE(repondeur.boites().size(), 1); // the bad line
        fenetre.getCatalogue().attacher(albumTest("S", "T"));
        // Twice: once is enough, the copy already holds the unread albums.
        for (int fois = 0; fois < 2; ++fois) {
            if (parEnregistrerSous) {
                repondeur.repondreFichier(dossier.chemin("collection.csv"));
                repondeur.repondreBoite(QMessageBox::Yes); // the dialog's "replace it?"
                fenetre.saveAs();
            } else {
                fenetre.save();
            }
        }
        const QStringList copies = QDir(dossier.chemin()).entryList({ "*.bak" });
        QCOMPARE(copies.size(), 1);
        QVERIFY2(QRegularExpression("^collection\\.csv\\.\\d{4}-\\d\\d-\\d\\d-\\d{4}\\.bak$")
                     .match(copies.first())
                     .hasMatch(),
            qPrintable(copies.first()));
        QCOMPARE(dossier.lireFichier(copies.first()), origine);
        const QStringList avis = repondeur.textesBoites().filter("conservés dans");
        QCOMPARE(avis.size(), 1);
        QVERIFY2(avis.first().contains(dossier.chemin(copies.first())), qPrintable(avis.first()));
        QCOMPARE(dossier.lireFichier("collection.csv"), ligneZ1 + ligneS("T"));
    }

    void fichierIlliblePasEcrase()
    {
        // An existing collection "file" that cannot be read or copied: the save
        // refuses rather than destroy it.
        DossierTravail dossier;
        QVERIFY(QDir(dossier.chemin()).mkdir("collection.csv"));
        dossier.ecrireParametres({ { "BASE/FileName", "collection.csv" } });
        RepondeurModal repondeur;
        Phylacto fenetre;
        fenetre.getCatalogue().attacher(albumTest("S", "T"));
        fenetre.setModifie(true);
        fenetre.save();
        QCOMPARE(repondeur.boites().size(), 1);
        QVERIFY2(repondeur.boites().first().texte.startsWith("Enregistrement annulé"),
            qPrintable(repondeur.boites().first().texte));
        QVERIFY(fenetre.estModifie());
        QVERIFY(QFileInfo(dossier.chemin("collection.csv")).isDir());
    }

    void caracteresIntraduisibles()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligneZ1, "collection.csv", "KOI8-R");
        RepondeurModal repondeur;
        Phylacto fenetre;
        fenetre.getCatalogue().attacher(albumTest("Largo", "Dix millions de €"));
        fenetre.getCatalogue().attacher(albumTest("Largo", "Cent €"));
        fenetre.setModifie(true);

        // The default answer cancels.
        fenetre.save();
        QCOMPARE(repondeur.boites().size(), 1);
        const RepondeurModal::BoiteVue question = repondeur.boites().first();
        QVERIFY2(
            question.texte.contains("« Largo - Dix millions de € »"), qPrintable(question.texte));
        QVERIFY(question.texte.contains("KOI8-R"));
        QCOMPARE(question.boutons, QMessageBox::Save | QMessageBox::Cancel);
        QCOMPARE(question.boutonParDefaut, QMessageBox::Cancel);
        QCOMPARE(dossier.lireFichier("collection.csv"), ligneZ1);
        QVERIFY(fenetre.estModifie());

        repondeur.repondreBoite(QMessageBox::Save);
        fenetre.save();
        QCOMPARE(repondeur.boites().size(), 2);
        QVERIFY(dossier.lireFichier("collection.csv").contains(";Dix millions de ?;"));
        QVERIFY(!fenetre.estModifie());

        // "Enregistrer sous" asks too, about its own codec.
        Codecs::setCodec8Bits(QTextCodec::codecForName("KOI8-R"));
        repondeur.repondreFichier(dossier.chemin("copie.csv"));
        fenetre.saveAs();
        QCOMPARE(repondeur.boites().size(), 3);
        QVERIFY(!QFile::exists(dossier.chemin("copie.csv")));
    }
};

QTEST_MAIN(TestSauvegarde)
#include "test_sauvegarde.moc"
