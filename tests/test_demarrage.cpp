// Start-up: which folder Phylacto works in, and what a first start puts there.
#include "app/demarrage.h"
#include "support/dossiertravail.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <optional>

class TestDemarrage : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        // The environment is this process's own: it is not restored.
        m_racine.emplace();
        m_home = m_racine->chemin("home");
        QDir().mkpath(m_home);
        QVERIFY(QFile::link(m_home, m_racine->chemin("lien-home")));
        qputenv("HOME", QFile::encodeName(m_home));
        qunsetenv("XDG_DATA_HOME");
        // What an installation puts in share/phylacto.
        m_defauts = m_racine->chemin("usr/share/phylacto");
        m_racine->ecrireFichier("usr/share/phylacto/icon.ico", "icone installee");
        m_racine->ecrireFichier("usr/share/phylacto/AddPicture.bmp", "couverture installee");
    }

    void dossierDefautsRelatifAuProgramme()
    {
        QCOMPARE(Demarrage::dossierDefauts("/opt/phylacto/bin"),
            QString("/opt/phylacto/share/phylacto"));
        QCOMPARE(Demarrage::dossierDefauts("/usr/bin/"), QString("/usr/share/phylacto"));
    }

    void choix_data()
    {
        // Paths are relative to the temporary root, where "home" is the fake home.
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("courant");
        QTest::addColumn<bool>("parametresDansCourant");
        QTest::addColumn<QString>("attendu");

        // clang-format off
        const QString user = "home/.local/share/Phylacto";
        QTest::newRow("bureau: home sans parametres") << "" << "home" << false << user;
        QTest::newRow("bureau: home par lien symbolique") << "" << "lien-home" << false << user;
        QTest::newRow("bureau: racine du systeme") << "" << "/" << false << user;
        QTest::newRow("home deja dossier de travail") << "" << "home" << true << "home";
        QTest::newRow("autre dossier, comme avant") << "" << "ailleurs" << false << "ailleurs";
        QTest::newRow("autre dossier avec parametres") << "" << "ailleurs" << true << "ailleurs";
        QTest::newRow("DIR absolu depuis home") << "@abs" << "home" << false << "collection";
        QTest::newRow("DIR relatif") << "bd/../mes-bd" << "ailleurs" << false << "ailleurs/mes-bd";
        QTest::newRow("DIR gagne sur les parametres") << "@abs" << "ailleurs" << true << "collection";
        // clang-format on
    }

    void choix()
    {
        QFETCH(QString, argument);
        QFETCH(QString, courant);
        QFETCH(QString, attendu);
        const auto absolu
            = [this](const QString& p) { return p.startsWith('/') ? p : m_racine->chemin(p); };
        const Demarrage::Emplacements e { argument == "@abs" ? absolu("collection") : argument,
            absolu(courant), m_home, Demarrage::dossierUtilisateur(), QString() };
        QDir().mkpath(e.courant);
        QFETCH(bool, parametresDansCourant);
        if (parametresDansCourant)
            m_racine->ecrireFichier(courant + "/data/settings.ini", "[BASE]\nFileName=a.csv\n");
        QCOMPARE(Demarrage::choisirDossierTravail(e), absolu(attendu));
    }

    void premierDemarrageDepuisLeMenu()
    {
        const QString xdg = m_racine->chemin("xdg");
        qputenv("XDG_DATA_HOME", QFile::encodeName(xdg));
        QDir::setCurrent(m_home);
        const Demarrage::Emplacements e { QString(), m_home, m_home,
            Demarrage::dossierUtilisateur(), m_defauts };
        QString erreur;
        const QString dossier = Demarrage::demarrer(e, &erreur);
        QCOMPARE(dossier, xdg + "/Phylacto");
        QCOMPARE(QDir::currentPath(), dossier);
        QVERIFY(QFileInfo(dossier + "/images").isDir());
        QCOMPARE(m_racine->lireFichier("xdg/Phylacto/icon.ico"), QByteArray("icone installee"));
        QCOMPARE(m_racine->lireFichier("xdg/Phylacto/data/AddPicture.bmp"),
            QByteArray("couverture installee"));
        QVERIFY(m_racine->lireFichier("xdg/Phylacto/data/settings.ini")
                    .contains(QByteArray("FileName=") + Demarrage::nomCollectionParDefaut));
        QVERIFY(!QFileInfo::exists(m_home + "/data"));

        // Second start: what the user changed stays.
        m_racine->ecrireFichier("xdg/Phylacto/icon.ico", "icone de l'utilisateur");
        QDir::setCurrent(m_home);
        QCOMPARE(Demarrage::demarrer(e, &erreur), dossier);
        QCOMPARE(
            m_racine->lireFichier("xdg/Phylacto/icon.ico"), QByteArray("icone de l'utilisateur"));
    }

    // Started with a DIR that holds a collection: its files stay as they are.
    void dossierDonne()
    {
        const QString dossier = m_racine->chemin("collection");
        const QByteArray parametres = "[BASE]\nFileName=vieille.csv\n";
        m_racine->ecrireFichier("collection/data/settings.ini", parametres);
        m_racine->ecrireFichier("collection/data/AddPicture.bmp", "ma couverture");
        Demarrage::Emplacements e { dossier, m_home, m_home, Demarrage::dossierUtilisateur(),
            m_defauts };
        QString erreur;
        QCOMPARE(Demarrage::demarrer(e, &erreur), dossier);
        QCOMPARE(
            m_racine->lireFichier("collection/data/AddPicture.bmp"), QByteArray("ma couverture"));
        QCOMPARE(m_racine->lireFichier("collection/data/settings.ini"), parametres);
        QVERIFY(!QFileInfo::exists(Demarrage::dossierUtilisateur()));

        // Run from the build tree: nothing installed beside the program.
        e = { m_racine->chemin("neuf"), m_home, m_home, QString(), m_racine->chemin("absent") };
        QCOMPARE(Demarrage::demarrer(e, &erreur), e.argument);
        QVERIFY(!QFileInfo::exists(e.argument + "/icon.ico"));
        QVERIFY(QFileInfo(e.argument + "/data").isDir());
    }

    void echecs()
    {
        // A file where the working folder should be, then where "images" should be.
        m_racine->ecrireFichier("occupe", "x");
        m_racine->ecrireFichier("bloque/images", "x");
        for (const char* nom : { "occupe", "bloque/images" }) {
            const Demarrage::Emplacements e { m_racine->chemin(QString(nom).section('/', 0, 0)),
                m_home, m_home, QString(), m_defauts };
            QString erreur;
            QVERIFY(Demarrage::demarrer(e, &erreur).isEmpty());
            QVERIFY2(erreur.contains(QString(nom).section('/', -1)), qPrintable(erreur));
        }

        // No "data" to copy the placeholder cover into.
        QString erreur;
        QVERIFY(!Demarrage::copierFichiersParDefaut(m_defauts, m_home, &erreur));
        QVERIFY(erreur.contains("AddPicture.bmp"));
    }

private:
    std::optional<DossierTravail> m_racine;
    QString m_home;
    QString m_defauts;
};

QTEST_GUILESS_MAIN(TestDemarrage)
#include "test_demarrage.moc"
