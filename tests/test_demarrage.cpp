// Start-up: which folder Phylacto works in, and what a first start puts there.
#include "app/demarrage.h"
#include "support/fixture.h"

#include <optional>

class TestDemarrage : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        // The environment is this process's own: it is not restored.
        racine.emplace();
        home = racine->chemin("home");
        QVERIFY(QDir().mkpath(home) && QFile::link(home, racine->chemin("lien-home")));
        qputenv("HOME", QFile::encodeName(home));
        qunsetenv("XDG_DATA_HOME");
        defauts = racine->chemin("usr/share/phylacto");
        QVERIFY(racine->ecrire("usr/share/phylacto/icon.ico", "icone") && racine->ecrire("usr/share/phylacto/AddPicture.bmp", "couverture"));
    }

    void choix_data()
    {
        // Paths relative to the temporary root, where "home" is the fake home.
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("courant");
        QTest::addColumn<bool>("parametres"); // the current folder holds data/settings.ini
        QTest::addColumn<QString>("attendu");
        const QString user = "home/.local/share/Phylacto";
        QTest::newRow("bureau: home sans paramètres") << "" << "home" << false << user;
        QTest::newRow("bureau: home par lien") << "" << "lien-home" << false << user;
        QTest::newRow("bureau: racine du système") << "" << "/" << false << user;
        QTest::newRow("home déjà dossier de travail") << "" << "home" << true << "home";
        QTest::newRow("autre dossier") << "" << "ailleurs" << false << "ailleurs";
        QTest::newRow("DIR absolu") << "@" << "home" << false << "collection";
        QTest::newRow("DIR relatif") << "bd/../mes-bd" << "ailleurs" << false << "ailleurs/mes-bd";
        QTest::newRow("DIR gagne sur les paramètres") << "@" << "ailleurs" << true << "collection";
    }

    void choix()
    {
        QFETCH(QString, argument);
        QFETCH(QString, courant);
        const auto absolu = [this](const QString& p) { return p.startsWith('/') ? p : racine->chemin(p); };
        const Demarrage::Emplacements e { argument == "@" ? absolu("collection") : argument, absolu(courant), home, Demarrage::dossierUtilisateur(), QString() };
        QVERIFY(QDir().mkpath(e.courant));
        QFETCH(bool, parametres);
        QVERIFY(!parametres || racine->ecrire(courant + "/data/settings.ini", "[BASE]\nFileName=a.csv\n"));
        QFETCH(QString, attendu);
        QCOMPARE(Demarrage::choisirDossierTravail(e), absolu(attendu));
        QCOMPARE(Demarrage::dossierDefauts("/opt/phylacto/bin"), QString("/opt/phylacto/share/phylacto"));
    }

    void premierDemarrage()
    {
        const QString xdg = racine->chemin("xdg");
        qputenv("XDG_DATA_HOME", QFile::encodeName(xdg));
        QDir::setCurrent(home);
        const Demarrage::Emplacements e { QString(), home, home, Demarrage::dossierUtilisateur(), defauts };
        QString erreur;
        const QString dossier = Demarrage::demarrer(e, &erreur);
        QCOMPARE(dossier, xdg + "/Phylacto");
        QCOMPARE(QDir::currentPath(), dossier);
        QVERIFY(QFileInfo(dossier + "/images").isDir() && !QFileInfo::exists(home + "/data"));
        QCOMPARE(racine->lire("xdg/Phylacto/icon.ico") + racine->lire("xdg/Phylacto/data/AddPicture.bmp"), QByteArray("iconecouverture"));
        const QByteArray reglages = racine->lire("xdg/Phylacto/data/settings.ini");
        QVERIFY(reglages.contains("FileName=collection.csv") && reglages.contains("Source=auto"));
        // Second start: what the user changed stays, and no cover source is chosen for it.
        QVERIFY(racine->ecrire("xdg/Phylacto/icon.ico", "mienne") && racine->ecrire("xdg/Phylacto/data/settings.ini", "[BASE]\nFileName=a.csv\n"));
        QDir::setCurrent(home);
        QCOMPARE(Demarrage::demarrer(e, &erreur), dossier);
        QCOMPARE(racine->lire("xdg/Phylacto/icon.ico"), QByteArray("mienne"));
        QVERIFY(!racine->lire("xdg/Phylacto/data/settings.ini").contains("Source"));
    }

    void dossierDonne()
    {
        // A DIR holding a collection: its files stay as they are.
        const QByteArray parametres = "[BASE]\nFileName=vieille.csv\n";
        QVERIFY(racine->ecrire("collection/data/settings.ini", parametres) && racine->ecrire("collection/data/AddPicture.bmp", "ma couverture"));
        Demarrage::Emplacements e { racine->chemin("collection"), home, home, Demarrage::dossierUtilisateur(), defauts };
        QString erreur;
        QCOMPARE(Demarrage::demarrer(e, &erreur), e.argument);
        QCOMPARE(racine->lire("collection/data/AddPicture.bmp") + racine->lire("collection/data/settings.ini"), "ma couverture" + parametres);
        QVERIFY(!QFileInfo::exists(Demarrage::dossierUtilisateur()));
        // Run from the build tree: nothing installed beside the program.
        e = { racine->chemin("neuf"), home, home, QString(), racine->chemin("absent") };
        QCOMPARE(Demarrage::demarrer(e, &erreur), e.argument);
        QVERIFY(!QFileInfo::exists(e.argument + "/icon.ico") && QFileInfo(e.argument + "/data").isDir()
            && !racine->lire("neuf/data/settings.ini").contains("Source"));
    }

    void echecs()
    {
        // A file where the working folder should be, then where "images" should be.
        QVERIFY(racine->ecrire("occupe", "x") && racine->ecrire("bloque/images", "x"));
        for (const QString nom : { "occupe", "bloque/images" }) {
            const Demarrage::Emplacements e { racine->chemin(nom.section('/', 0, 0)), home, home, QString(), defauts };
            QString erreur;
            QVERIFY(Demarrage::demarrer(e, &erreur).isEmpty());
            QVERIFY2(erreur.contains(nom.section('/', -1)), qPrintable(erreur));
        }
        QString erreur; // no "data" to copy the placeholder cover into
        QVERIFY(!Demarrage::copierFichiersParDefaut(defauts, home, &erreur) && erreur.contains("AddPicture.bmp"));
    }

private:
    std::optional<DossierTravail> racine;
    QString home;
    QString defauts;
};

QTEST_GUILESS_MAIN(TestDemarrage)
#include "test_demarrage.moc"
