// Start-up: which folder Phylacto works in, and what a first start puts there.
#include "app/demarrage.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void ecrire(const QString& chemin, const QByteArray& contenu)
{
    QDir().mkpath(QFileInfo(chemin).absolutePath());
    QFile fichier(chemin);
    QVERIFY(fichier.open(QIODevice::WriteOnly));
    fichier.write(contenu);
}

QByteArray lire(const QString& chemin)
{
    QFile fichier(chemin);
    return fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : QByteArray();
}

QString valeur(const QString& dossier, const QString& cle)
{
    return QSettings(dossier + "/data/settings.ini", QSettings::IniFormat).value(cle).toString();
}

} // namespace

class TestDemarrage : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(m_racine.isValid());
        m_ancienDossier = QDir::currentPath();
        m_ancienHome = qgetenv("HOME");
        m_ancienXdg = qgetenv("XDG_DATA_HOME");
        m_home = m_racine.filePath("home");
        QDir().mkpath(m_home);
        qputenv("HOME", QFile::encodeName(m_home));
        qunsetenv("XDG_DATA_HOME");
        // What an installation puts in share/phylacto.
        m_defauts = m_racine.filePath("usr/share/phylacto");
        ecrire(m_defauts + "/icon.ico", "icone installee");
        ecrire(m_defauts + "/AddPicture.bmp", "couverture installee");
    }

    void cleanup()
    {
        QDir::setCurrent(m_ancienDossier);
        qputenv("HOME", m_ancienHome);
        if (m_ancienXdg.isEmpty())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", m_ancienXdg);
        QDir(m_racine.path()).removeRecursively();
        QDir().mkpath(m_racine.path());
    }

    void dossierUtilisateurSuitXdg()
    {
        QCOMPARE(Demarrage::dossierUtilisateur(), m_home + "/.local/share/Phylacto");
        const QString xdg = m_racine.filePath("xdg");
        qputenv("XDG_DATA_HOME", QFile::encodeName(xdg));
        QCOMPARE(Demarrage::dossierUtilisateur(), xdg + "/Phylacto");
    }

    void dossierDefautsRelatifAuProgramme()
    {
        QCOMPARE(Demarrage::dossierDefauts("/opt/phylacto/bin"),
            QString("/opt/phylacto/share/phylacto"));
        QCOMPARE(Demarrage::dossierDefauts("/usr/bin/"), QString("/usr/share/phylacto"));
    }

    void choix_data()
    {
        // Paths are relative to the temporary root; "@home" is the fake home.
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("courant");
        QTest::addColumn<bool>("parametresDansCourant");
        QTest::addColumn<QString>("attendu");

        // clang-format off
        QTest::newRow("bureau: home sans parametres") << "" << "@home" << false << "@user";
        QTest::newRow("bureau: racine du systeme") << "" << "/" << false << "@user";
        QTest::newRow("home deja dossier de travail") << "" << "@home" << true << "@home";
        QTest::newRow("autre dossier, comme avant") << "" << "ailleurs" << false << "ailleurs";
        QTest::newRow("autre dossier avec parametres") << "" << "ailleurs" << true << "ailleurs";
        QTest::newRow("DIR absolu depuis home") << "@abs" << "@home" << false << "collection";
        QTest::newRow("DIR relatif") << "bd/../mes-bd" << "ailleurs" << false << "ailleurs/mes-bd";
        QTest::newRow("DIR gagne sur les parametres") << "@abs" << "ailleurs" << true << "collection";
        // clang-format on
    }

    void choix()
    {
        QFETCH(QString, argument);
        QFETCH(QString, courant);
        QFETCH(bool, parametresDansCourant);
        QFETCH(QString, attendu);

        const auto resoudre = [this](const QString& p) {
            if (p == "@home")
                return m_home;
            if (p == "@user")
                return m_home + "/.local/share/Phylacto";
            if (p == "@abs")
                return m_racine.filePath("collection");
            return p.startsWith('/') ? p : m_racine.filePath(p);
        };
        Demarrage::Emplacements e;
        e.argument = argument.startsWith('@') ? resoudre(argument) : argument;
        e.courant = resoudre(courant);
        e.personnel = m_home;
        e.utilisateur = Demarrage::dossierUtilisateur();
        QDir().mkpath(e.courant);
        if (parametresDansCourant && e.courant != "/")
            ecrire(e.courant + "/data/settings.ini", "[BASE]\nFileName=a.csv\n");
        QCOMPARE(Demarrage::choisirDossierTravail(e), resoudre(attendu));
    }

    void homeParLienSymbolique()
    {
        const QString lien = m_racine.filePath("lien-home");
        QVERIFY(QFile::link(m_home, lien));
        Demarrage::Emplacements e;
        e.courant = m_home;
        e.personnel = lien;
        e.utilisateur = m_racine.filePath("user");
        QCOMPARE(Demarrage::choisirDossierTravail(e), e.utilisateur);
    }

    void premierDemarrageDepuisLeMenu()
    {
        const QString xdg = m_racine.filePath("xdg");
        qputenv("XDG_DATA_HOME", QFile::encodeName(xdg));
        QDir::setCurrent(m_home);
        Demarrage::Emplacements e { QString(), m_home, m_home, Demarrage::dossierUtilisateur(),
            m_defauts };

        QString erreur;
        const QString dossier = Demarrage::demarrer(e, &erreur);
        QCOMPARE(dossier, xdg + "/Phylacto");
        QVERIFY2(erreur.isEmpty(), qPrintable(erreur));
        QCOMPARE(QDir::currentPath(), dossier);
        QVERIFY(QFileInfo(dossier + "/data").isDir());
        QVERIFY(QFileInfo(dossier + "/images").isDir());
        QCOMPARE(lire(dossier + "/icon.ico"), QByteArray("icone installee"));
        QCOMPARE(lire(dossier + "/data/AddPicture.bmp"), QByteArray("couverture installee"));
        QCOMPARE(valeur(dossier, "BASE/FileName"), QString(Demarrage::nomCollectionParDefaut));
        // The home folder itself stays clean.
        QVERIFY(!QFileInfo::exists(m_home + "/data"));

        // Second start: what the user changed stays.
        ecrire(dossier + "/icon.ico", "icone de l'utilisateur");
        QFile::remove(dossier + "/data/AddPicture.bmp");
        QSettings(dossier + "/data/settings.ini", QSettings::IniFormat)
            .setValue("BASE/FileName", "mes-bd.csv");
        QDir::setCurrent(m_home);
        QCOMPARE(Demarrage::demarrer(e, &erreur), dossier);
        QCOMPARE(lire(dossier + "/icon.ico"), QByteArray("icone de l'utilisateur"));
        QCOMPARE(lire(dossier + "/data/AddPicture.bmp"), QByteArray("couverture installee"));
        QCOMPARE(valeur(dossier, "BASE/FileName"), QString("mes-bd.csv"));
    }

    void dossierDonneGardeSesFichiers()
    {
        const QString dossier = m_racine.filePath("collection");
        ecrire(dossier + "/data/settings.ini", "[BASE]\nFileName=vieille.csv\nEncodage=KOI8-R\n");
        ecrire(dossier + "/data/AddPicture.bmp", "ma couverture");
        Demarrage::Emplacements e { dossier, m_home, m_home, Demarrage::dossierUtilisateur(),
            m_defauts };

        QString erreur;
        QCOMPARE(Demarrage::demarrer(e, &erreur), dossier);
        QCOMPARE(lire(dossier + "/data/AddPicture.bmp"), QByteArray("ma couverture"));
        QCOMPARE(valeur(dossier, "BASE/FileName"), QString("vieille.csv"));
        QCOMPARE(valeur(dossier, "BASE/Encodage"), QString("KOI8-R"));
        QVERIFY(QFileInfo(dossier + "/images").isDir());
        QVERIFY(!QFileInfo::exists(Demarrage::dossierUtilisateur()));
    }

    void sansDefautsInstalles()
    {
        // Run from the build tree: nothing installed beside the program.
        const QString dossier = m_racine.filePath("neuf");
        Demarrage::Emplacements e { dossier, m_home, m_home, QString(),
            m_racine.filePath("absent") };
        QString erreur;
        QCOMPARE(Demarrage::demarrer(e, &erreur), dossier);
        QVERIFY(!QFileInfo::exists(dossier + "/icon.ico"));
        QVERIFY(QFileInfo(dossier + "/data").isDir());
    }

    void echecs()
    {
        // A file where the working folder should be.
        ecrire(m_racine.filePath("occupe"), "x");
        Demarrage::Emplacements e { m_racine.filePath("occupe"), m_home, m_home, QString(),
            m_defauts };
        QString erreur;
        QVERIFY(Demarrage::demarrer(e, &erreur).isEmpty());
        QVERIFY(erreur.contains("occupe"));

        // A file where "images" should be.
        const QString dossier = m_racine.filePath("bloque");
        ecrire(dossier + "/images", "x");
        e.argument = dossier;
        erreur.clear();
        QVERIFY(Demarrage::demarrer(e, &erreur).isEmpty());
        QVERIFY(erreur.contains("images"));

        // No "data" to copy the placeholder cover into.
        const QString autre = m_racine.filePath("autre");
        QDir().mkpath(autre);
        erreur.clear();
        QVERIFY(!Demarrage::copierFichiersParDefaut(m_defauts, autre, &erreur));
        QVERIFY(erreur.contains("AddPicture.bmp"));
    }

private:
    QTemporaryDir m_racine;
    QString m_ancienDossier;
    QByteArray m_ancienHome;
    QByteArray m_ancienXdg;
    QString m_home;
    QString m_defauts;
};

QTEST_GUILESS_MAIN(TestDemarrage)
#include "test_demarrage.moc"
