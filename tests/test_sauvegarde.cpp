// Writing the collection file: bytes of the lines, atomic checked writes,
// "Enregistrer" and "Enregistrer sous" from the window.
#include "app/phylacto.h"
#include "model/bd.h"
#include "model/catalogue.h"
#include "settings/codecs.h"
#include "store/ecriturecollection.h"
#include "store/fichiercollection.h"
#include "store/lignecollection.h"
#include "support/albumtest.h"
#include "support/dossiertravail.h"
#include "support/repondeur.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QSettings>
#include <QTextCodec>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

// Accepts limite bytes, then fails like a full disk.
class AppareilLimite : public QIODevice
{
public:
    explicit AppareilLimite(qint64 limite)
        : m_limite(limite)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    QByteArray recu;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* donnees, qint64 taille) override
    {
        const qint64 place = m_limite - recu.size();
        if (place <= 0) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        const qint64 pris = qMin(taille, place);
        recu.append(donnees, pris);
        return pris;
    }

private:
    qint64 m_limite;
};

QByteArray lire(const QString& chemin)
{
    QFile fichier(chemin);
    return fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : QByteArray();
}

QStringList fichiersDe(const QString& dossier)
{
    return QDir(dossier).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

int albumsRelus(const QString& chemin, const char* codec)
{
    Catalogue relu;
    const LectureCollection lecture
        = FichierCollection::charger(chemin, QTextCodec::codecForName(codec), relu);
    return lecture.etat == LectureCollection::Complete ? lecture.albumsLus : -1;
}

const QByteArray ligneZ1 = ligneAlbum("Zorro", "Z1", 1);

} // namespace

class TestSauvegarde : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { Codecs::setCodec8Bits(nullptr); }

    // --- Bytes of the lines -------------------------------------------------

    void lignes()
    {
        Catalogue catalogue;
        QCOMPARE(EcritureCollection::encoder(catalogue.albums(), QTextCodec::codecForName("UTF-8"))
                     .octets,
            QByteArray());

        catalogue.attacher(albumTest("Blake", "B1", "ligne 1\nligne 2"));
        BD* deuxieme = albumTest("Blake", "B;2");
        deuxieme->reel13 = 1234567.5;
        deuxieme->setEmprunteur("Marc");
        catalogue.attacher(deuxieme);
        const OctetsCollection resultat
            = EcritureCollection::encoder(catalogue.albums(), QTextCodec::codecForName("UTF-8"));
        QCOMPARE(resultat.octets,
            QByteArray("Blake;B1;1;Dessinateur;Scenariste;Dargaud;ligne 1 ligne "
                       "2;0;Aventure;;;;0;0;_;0;0;0;;Coloriste\n"
                       "Blake;B,2;1;Dessinateur;Scenariste;Dargaud;;0;Aventure;;Marc;;1.23457e+06;"
                       "0;_;0;0;0;;Coloriste\n"));
        QCOMPARE(resultat.premierAlbumIntraduisible, -1);
        for (const QByteArray& ligne : resultat.octets.split('\n').mid(0, 2))
            QCOMPARE(ligne.count(';'), 19);
    }

    void nombres_data()
    {
        QTest::addColumn<double>("reel");
        QTest::addColumn<int>("entier");
        QTest::addColumn<QString>("champs");
        QTest::newRow("zéro") << 0.0 << 0 << "0;0;0";
        QTest::newRow("moins zéro") << -0.0 << -1 << "-1;0;-1";
        QTest::newRow("décimal") << 12.5 << 2147483647 << "2147483647;12.5;2147483647";
        QTest::newRow("petit") << 0.00001 << -2147483647 - 1 << "-2147483648;1e-05;-2147483648";
        QTest::newRow("grand") << 1234567.0 << 7 << "7;1.23457e+06;7";
    }

    void nombres()
    {
        QFETCH(double, reel);
        QFETCH(int, entier);
        BD* album = albumTest("S", "T");
        album->entier8 = entier;
        album->reel13 = reel;
        album->type = entier;
        const QString ligne = LigneCollection::encoder(*album);
        delete album;
        const QStringList parties = ligne.split(';');
        QTEST(QStringList({ parties.at(7), parties.at(12), parties.at(13) }).join(';'), "champs");
    }

    void encodages_data()
    {
        QTest::addColumn<QByteArray>("codec");
        QTest::addColumn<QString>("titre");
        QTest::addColumn<QByteArray>("octetsTitre");
        QTest::addColumn<int>("intraduisible");

        QTest::newRow("UTF-8") << QByteArray("UTF-8") << "é" << QByteArray("\xc3\xa9") << -1;
        QTest::newRow("Windows-1250")
            << QByteArray("Windows-1250") << "é" << QByteArray("\xe9") << -1;
        QTest::newRow("Apple Roman")
            << QByteArray("Apple Roman") << "é" << QByteArray("\x8e") << -1;
        // No byte-order mark, the machine's byte order (what the load reads back).
        QTest::newRow("UTF-16") << QByteArray("UTF-16") << "é"
                                << QTextCodec::codecForName("UTF-16LE")->fromUnicode(u"é"_qs) << -1;
        QTest::newRow("€ en KOI8-R") << QByteArray("KOI8-R") << "5 €" << QByteArray("5 ?") << 1;
        QTest::newRow("€ en Windows-1250")
            << QByteArray("Windows-1250") << "€" << QByteArray("\x80") << -1;
    }

    void encodages()
    {
        QFETCH(QByteArray, codec);
        QFETCH(QString, titre);
        QFETCH(QByteArray, octetsTitre);
        QTextCodec* leCodec = QTextCodec::codecForName(codec);
        QVERIFY(leCodec);

        Catalogue catalogue;
        catalogue.attacher(albumTest("S", "T"));
        catalogue.attacher(albumTest("S", titre));
        const OctetsCollection resultat = EcritureCollection::encoder(catalogue.albums(), leCodec);
        QTEST(resultat.premierAlbumIntraduisible, "intraduisible");

        const QByteArray debut
            = "S;T;1;Dessinateur;Scenariste;Dargaud;;0;Aventure;;;;0;0;_;0;0;0;;Coloriste\nS;";
        const QByteArray fin
            = ";1;Dessinateur;Scenariste;Dargaud;;0;Aventure;;;;0;0;_;0;0;0;;Coloriste\n";
        if (codec == "UTF-16") {
            QTextCodec* le = QTextCodec::codecForName("UTF-16LE");
            QCOMPARE(resultat.octets,
                le->fromUnicode(QString::fromLatin1(debut)) + octetsTitre
                    + le->fromUnicode(QString::fromLatin1(fin)));
        } else {
            QCOMPARE(resultat.octets, debut + octetsTitre + fin);
        }
    }

    // --- Checked, atomic writes ---------------------------------------------

    void ecrireSurAppareil()
    {
        const QByteArray octets = ligneZ1.repeated(50);
        QBuffer tampon;
        tampon.open(QIODevice::WriteOnly);
        QCOMPARE(EcritureCollection::ecrire(tampon, octets), QString());
        QCOMPARE(tampon.data(), octets);

        AppareilLimite plein(100);
        QCOMPARE(EcritureCollection::ecrire(plein, octets), QString("No space left on device"));
        QCOMPARE(plein.recu, octets.left(100));
    }

    void enregistrerFichier()
    {
        QTemporaryDir dossier;
        const QString chemin = dossier.filePath("c.csv");
        QFile ancien(chemin);
        QVERIFY(ancien.open(QIODevice::WriteOnly));
        ancien.write(ligneZ1.repeated(5));
        ancien.close();

        // A longer old file shrinks to the new content; nothing stays beside it.
        QCOMPARE(EcritureCollection::enregistrer(chemin, ligneZ1), QString());
        QCOMPARE(lire(chemin), ligneZ1);
        QCOMPARE(EcritureCollection::enregistrer(chemin, QByteArray()), QString());
        QVERIFY(QFile::exists(chemin));
        QCOMPARE(QFileInfo(chemin).size(), 0);
        QCOMPARE(fichiersDe(dossier.path()), QStringList("c.csv"));

        // A parent that is a regular file: nothing can be created there.
        const QString impossible = dossier.filePath("c.csv/sous.csv");
        QVERIFY(!EcritureCollection::enregistrer(impossible, ligneZ1).isEmpty());
        QCOMPARE(fichiersDe(dossier.path()), QStringList("c.csv"));
    }

#ifdef Q_OS_UNIX
    void enregistrerSurDisquePlein()
    {
        // The file-size limit makes the disk refuse bytes, as a full disk does.
        QTemporaryDir dossier;
        const QString chemin = dossier.filePath("c.csv");
        QFile ancien(chemin);
        QVERIFY(ancien.open(QIODevice::WriteOnly));
        ancien.write(ligneZ1);
        ancien.close();

        rlimit avant {};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &avant), 0);
        rlimit limite = avant;
        limite.rlim_cur = 4096;
        const auto ancienSignal = std::signal(SIGXFSZ, SIG_IGN);
        const bool limiteePosee = setrlimit(RLIMIT_FSIZE, &limite) == 0;
        const QString erreur = EcritureCollection::enregistrer(chemin, ligneZ1.repeated(1000));
        setrlimit(RLIMIT_FSIZE, &avant);
        std::signal(SIGXFSZ, ancienSignal);

        QVERIFY(limiteePosee);
        QVERIFY2(!erreur.isEmpty(), "the failed write was reported as a success");
        QCOMPARE(lire(chemin), ligneZ1);
        QCOMPARE(fichiersDe(dossier.path()), QStringList("c.csv"));
    }
#endif

    void copieDeSecours()
    {
        QTemporaryDir dossier;
        const QString chemin = dossier.filePath("collection.csv");
        const QDateTime quand(QDate(2026, 12, 6), QTime(18, 32, 59));
        QCOMPARE(EcritureCollection::nomCopie(chemin, quand), chemin + ".2026-12-06-1832.bak");

        QFile original(chemin);
        QVERIFY(original.open(QIODevice::WriteOnly));
        original.write(ligneZ1 + "\n");
        original.close();
        QString erreur;
        QCOMPARE(EcritureCollection::garderCopie(chemin, quand, &erreur),
            chemin + ".2026-12-06-1832.bak");
        QCOMPARE(EcritureCollection::garderCopie(chemin, quand, &erreur),
            chemin + ".2026-12-06-1832-2.bak");
        QCOMPARE(lire(chemin + ".2026-12-06-1832-2.bak"), ligneZ1 + "\n");

        QVERIFY(QDir(dossier.path()).mkdir("dossier.csv"));
        QCOMPARE(EcritureCollection::garderCopie(dossier.filePath("dossier.csv"), quand, &erreur),
            QString());
        QVERIFY(!erreur.isEmpty());
    }

    void nomDansParametres()
    {
        DossierTravail dossier;
        QTemporaryDir ailleurs;
        QCOMPARE(EcritureCollection::nomDansParametres(dossier.chemin("c.csv")), QString("c.csv"));
        QCOMPARE(EcritureCollection::nomDansParametres(dossier.chemin("data/c.csv")),
            QString("data/c.csv"));
        QCOMPARE(EcritureCollection::nomDansParametres(ailleurs.filePath("c.csv")),
            ailleurs.filePath("c.csv"));
    }

    // --- "Enregistrer" ------------------------------------------------------

    void saveCatalogueVide()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(QByteArray());
        Phylacto fenetre;
        fenetre.setModifie(true);
        fenetre.save();
        QVERIFY(QFile::exists(dossier.chemin("collection.csv")));
        QCOMPARE(dossier.lireFichier("collection.csv"), QByteArray());
        QVERIFY(!fenetre.estModifie());
    }

    void saveReecritToutLeFichier()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(
            ligneZ1 + ligneAlbum("Zorro", "Z2", 2) + ligneAlbum("Blake", "B1", 1));
        Phylacto fenetre;
        Catalogue& catalogue = fenetre.getCatalogue();
        catalogue.supprimerAlbum(catalogue.albums().at(2));
        catalogue.supprimerAlbum(catalogue.albums().at(1));
        catalogue.attacher(albumTest("Akira", "A1", "Tokyo\nNéo", 2));
        fenetre.setModifie(true);

        fenetre.save();
        QCOMPARE(dossier.lireFichier("collection.csv"),
            ligneZ1
                + u"Akira;A1;1;Dessinateur;Scenariste;Dargaud;Tokyo Néo;0;Aventure;;;;0;2;_;0;0;0;;Coloriste\n"_qs
                      .toUtf8());
        QVERIFY(!fenetre.estModifie());
        QCOMPARE(fichiersDe(dossier.chemin()), QStringList({ "collection.csv", "data", "images" }));
    }

    void saveEncodage_data()
    {
        QTest::addColumn<QString>("encodage");
        QTest::addColumn<QByteArray>("octets");
        QTest::newRow("UTF-8") << "UTF-8" << QByteArray("\xc3\xa9");
        QTest::newRow("Windows-1250") << "Windows-1250" << QByteArray("\xe9");
    }

    void saveEncodage()
    {
        QFETCH(QString, encodage);
        QFETCH(QByteArray, octets);
        DossierTravail dossier;
        dossier.ecrireCollection(QByteArray(), "collection.csv", encodage);
        Phylacto fenetre;
        fenetre.getCatalogue().attacher(albumTest("S", "é"));
        fenetre.save();
        QCOMPARE(dossier.lireFichier("collection.csv"),
            "S;" + octets
                + ";1;Dessinateur;Scenariste;Dargaud;;0;Aventure;;;;0;0;_;0;0;0;;Coloriste\n");
    }

    // --- "Enregistrer sous" -------------------------------------------------

    void saveAsCopie()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligneZ1, "collection.csv", "Windows-1250");
        RepondeurModal repondeur;
        Phylacto fenetre;
        fenetre.getCatalogue().attacher(albumTest("S", "é"));
        fenetre.setModifie(true);

        repondeur.repondreFichier(dossier.chemin("copie.csv"));
        QVERIFY(declencherAction(&fenetre, "actionEnregistrer_sous"));
        QCOMPARE(repondeur.nbDialoguesFichier(), 1);
        QCOMPARE(repondeur.titreDernierDialogueFichier(), QString("Enregistrer sous..."));
        QCOMPARE(repondeur.filtresDernierDialogueFichier(), QStringList("CSV (*.csv)"));
        QVERIFY(repondeur.boites().isEmpty());
        // The application's 8-bit codec (UTF-8), not the collection's.
        QCOMPARE(dossier.lireFichier("copie.csv"),
            ligneZ1
                + u"S;é;1;Dessinateur;Scenariste;Dargaud;;0;Aventure;;;;0;0;_;0;0;0;;Coloriste\n"_qs
                      .toUtf8());
        QCOMPARE(dossier.lireFichier("collection.csv"), ligneZ1);
        QCOMPARE(dossier.valeurParametre("BASE/FileName"), QString("collection.csv"));
        QVERIFY(fenetre.estModifie());

        fenetre.save();
        QCOMPARE(dossier.lireFichier("collection.csv"),
            ligneZ1
                + "S;\xe9;1;Dessinateur;Scenariste;Dargaud;;0;Aventure;;;;0;0;_;0;0;0;;"
                  "Coloriste\n");
        QCOMPARE(repondeur.nbDialoguesFichier(), 1);
    }

    void saveAsAnnule()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligneZ1);
        RepondeurModal repondeur;
        Phylacto fenetre;
        fenetre.setModifie(true);
        const QStringList avant = fichiersDe(dossier.chemin());
        QVERIFY(declencherAction(&fenetre, "actionEnregistrer_sous"));
        QCOMPARE(repondeur.nbDialoguesFichier(), 1);
        QCOMPARE(fichiersDe(dossier.chemin()), avant);
        QVERIFY(fenetre.estModifie());
    }

    // --- Failures and the guards around them --------------------------------

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
        QVERIFY2(texte.contains(dossier.chemin("fichier/collection.csv")), qPrintable(texte));
        QVERIFY2(texte.startsWith("Impossible d'enregistrer "), qPrintable(texte));
        QVERIFY(!texte.endsWith(":\n"));
        QVERIFY(fenetre.estModifie());
        QCOMPARE(dossier.lireFichier("fichier"), QByteArray("pas un dossier"));
    }

    void sansNomDeFichier()
    {
        DossierTravail dossier;
        dossier.ecrireParametres({ { "BASE/Encodage", "Windows-1250" } });
        RepondeurModal repondeur;
        Phylacto fenetre;
        fenetre.getCatalogue().attacher(albumTest("S", "é"));
        fenetre.setModifie(true);

        // Cancelled: nothing written, nothing remembered.
        const QStringList avant = fichiersDe(dossier.chemin());
        fenetre.save();
        QCOMPARE(repondeur.nbDialoguesFichier(), 1);
        QCOMPARE(fichiersDe(dossier.chemin()), avant);
        QVERIFY(fenetre.estModifie());
        QCOMPARE(dossier.valeurParametre("BASE/FileName"), QString());

        // Chosen inside the working directory: stored relative, written in the
        // collection's encoding, and used by the next save without asking.
        repondeur.repondreFichier(dossier.chemin("data/ma collection.csv"));
        fenetre.save();
        QCOMPARE(repondeur.nbDialoguesFichier(), 2);
        QCOMPARE(repondeur.titreDernierDialogueFichier(), QString("Enregistrer sous..."));
        QCOMPARE(dossier.valeurParametre("BASE/FileName"), QString("data/ma collection.csv"));
        QVERIFY(dossier.lireFichier("data/ma collection.csv").startsWith("S;\xe9;"));
        QVERIFY(!fenetre.estModifie());

        fenetre.getCatalogue().attacher(albumTest("S", "T2"));
        fenetre.save();
        QCOMPARE(repondeur.nbDialoguesFichier(), 2);
        QCOMPARE(dossier.lireFichier("data/ma collection.csv").count('\n'), 2);
    }

    void sansNomDeFichierHorsDuDossier()
    {
        DossierTravail dossier;
        QTemporaryDir ailleurs;
        RepondeurModal repondeur;
        Phylacto fenetre;
        fenetre.getCatalogue().attacher(albumTest("S", "T"));
        repondeur.repondreFichier(ailleurs.filePath("loin.csv"));
        fenetre.save();
        QCOMPARE(dossier.valeurParametre("BASE/FileName"), ailleurs.filePath("loin.csv"));
        QCOMPARE(albumsRelus(ailleurs.filePath("loin.csv"), "UTF-8"), 1);
    }

    void chargementIncompletGardeUneCopie()
    {
        DossierTravail dossier;
        const QByteArray origine = ligneZ1 + "\n" + ligneAlbum("Blake", "B1", 1);
        dossier.ecrireCollection(origine);
        RepondeurModal repondeur;
        Phylacto fenetre;
        QCOMPARE(repondeur.boites().size(), 1); // the bad line
        repondeur.oublier();
        QVERIFY(fenetre.chargementIncomplet());
        fenetre.getCatalogue().attacher(albumTest("S", "T"));
        fenetre.setModifie(true);

        fenetre.save();
        const QStringList copies = QDir(dossier.chemin()).entryList({ "collection.csv.*.bak" });
        QCOMPARE(copies.size(), 1);
        QVERIFY(QRegularExpression("^collection\\.csv\\.\\d{4}-\\d\\d-\\d\\d-\\d{4}\\.bak$")
                    .match(copies.first())
                    .hasMatch());
        QCOMPARE(dossier.lireFichier(copies.first()), origine);
        QCOMPARE(repondeur.boites().size(), 1);
        QVERIFY2(repondeur.boites().first().texte.contains(dossier.chemin(copies.first())),
            qPrintable(repondeur.boites().first().texte));
        QCOMPARE(albumsRelus(dossier.chemin("collection.csv"), "UTF-8"), 2);
        QVERIFY(!fenetre.estModifie());

        // Once is enough: the copy already holds the unread albums.
        fenetre.setModifie(true);
        fenetre.save();
        QCOMPARE(repondeur.boites().size(), 1);
        QCOMPARE(QDir(dossier.chemin()).entryList({ "*.bak" }).size(), 1);
    }

    void chargementIncompletEnregistrerSous()
    {
        // Replacing the file through "Enregistrer sous" is protected the same way.
        DossierTravail dossier;
        const QByteArray origine = ligneZ1 + "x;y\n";
        dossier.ecrireCollection(origine);
        RepondeurModal repondeur;
        Phylacto fenetre;
        repondeur.oublier();
        repondeur.repondreFichier(dossier.chemin("collection.csv"));
        repondeur.repondreBoite(QMessageBox::Yes); // the dialog's "replace it?"
        fenetre.saveAs();
        const QStringList copies = QDir(dossier.chemin()).entryList({ "collection.csv.*.bak" });
        QCOMPARE(copies.size(), 1);
        QCOMPARE(dossier.lireFichier(copies.first()), origine);
        QCOMPARE(dossier.lireFichier("collection.csv"), ligneZ1);
    }

    void fichierIlliblePasEcrase()
    {
        // An existing collection "file" that cannot be read or copied: the save
        // refuses rather than destroy it.
        DossierTravail dossier;
        QVERIFY(QDir(dossier.chemin()).mkdir("collection.csv"));
        dossier.ecrireParametres(
            { { "BASE/FileName", "collection.csv" }, { "BASE/Encodage", "UTF-8" } });
        RepondeurModal repondeur;
        Phylacto fenetre;
        QVERIFY(fenetre.chargementIncomplet());
        fenetre.getCatalogue().attacher(albumTest("S", "T"));
        fenetre.setModifie(true);
        fenetre.save();
        QCOMPARE(repondeur.boites().size(), 1);
        QVERIFY2(repondeur.boites().first().texte.startsWith("Enregistrement annulé"),
            qPrintable(repondeur.boites().first().texte));
        QVERIFY(fenetre.estModifie());
        QVERIFY(QFileInfo(dossier.chemin("collection.csv")).isDir());
    }

    void separateurDansUnTexte()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(QByteArray());
        RepondeurModal repondeur;
        Phylacto fenetre;
        fenetre.getCatalogue().attacher(albumTest("Point;virgule", "T;1", "a;b;c"));
        fenetre.getCatalogue().attacher(albumTest("S", "T"));
        fenetre.save();
        repondeur.repondreFichier(dossier.chemin("copie.csv"));
        fenetre.saveAs();
        for (const char* nom : { "collection.csv", "copie.csv" }) {
            QCOMPARE(albumsRelus(dossier.chemin(nom), "UTF-8"), 2);
            QVERIFY(dossier.lireFichier(nom).startsWith("Point,virgule;T,1;"));
        }
        QVERIFY(repondeur.boites().isEmpty());
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

    void cheminAbsolu()
    {
        DossierTravail dossier;
        QTemporaryDir ailleurs;
        const QString chemin = ailleurs.filePath("c.csv");
        QFile fichier(chemin);
        QVERIFY(fichier.open(QIODevice::WriteOnly));
        fichier.write(ligneZ1);
        fichier.close();
        dossier.ecrireParametres({ { "BASE/FileName", chemin }, { "BASE/Encodage", "UTF-8" } });
        Phylacto fenetre;
        QCOMPARE(fenetre.getAlbums().size(), 1);
        fenetre.getCatalogue().attacher(albumTest("S", "T"));
        fenetre.save();
        QCOMPARE(albumsRelus(chemin, "UTF-8"), 2);
        QCOMPARE(fichiersDe(dossier.chemin()), QStringList({ "data", "images" }));
    }
};

QTEST_MAIN(TestSauvegarde)
#include "test_sauvegarde.moc"
