// The settings window and what its validation stores and applies.
#include "app/phylacto.h"
#include "settings/codecs.h"
#include "settings/gestionreseau.h"
#include "support/dossiertravail.h"
#include "support/repondeur.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QLineEdit>
#include <QSettings>
#include <QSignalSpy>
#include <QTextCodec>
#include <QtTest>

#include <algorithm>

namespace {
const QStringList champs = { "leAdresse", "leport", "leLogin", "lePassw" };
const QStringList vides = { "", "", "", "" };

QList<GestionReseau*> fenetresReglages()
{
    QList<GestionReseau*> fenetres;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* fenetre = qobject_cast<GestionReseau*>(widget); fenetre && fenetre->isVisible())
            fenetres << fenetre;
    return fenetres;
}

GestionReseau* ouvrirReglages(Phylacto& principale)
{
    const QList<GestionReseau*> avant = fenetresReglages();
    if (!declencherAction(&principale, "actionConfiguration_reseau"))
        return nullptr;
    for (GestionReseau* fenetre : fenetresReglages())
        if (!avant.contains(fenetre))
            return fenetre;
    return nullptr;
}

QStringList textes(QWidget* fenetre)
{
    QStringList resultat;
    for (const QString& nom : champs)
        resultat << enfant<QLineEdit>(fenetre, nom)->text();
    return resultat;
}

bool champsActifs(QWidget* fenetre)
{
    return std::all_of(champs.begin(), champs.end(),
        [fenetre](const QString& nom) { return enfant<QLineEdit>(fenetre, nom)->isEnabled(); });
}

void saisir(QWidget* fenetre, const QStringList& valeurs)
{
    for (int i = 0; i < champs.size(); ++i) {
        auto* champ = enfant<QLineEdit>(fenetre, champs.at(i));
        champ->clear();
        QTest::keyClicks(champ, valeurs.at(i));
    }
}

void cliquer(QWidget* fenetre, const char* bouton)
{
    QTest::mouseClick(enfant<QAbstractButton>(fenetre, QLatin1String(bouton)), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The four proxy values, then the encoding.
QStringList stockees(const DossierTravail& dossier)
{
    QStringList valeurs;
    for (const char* cle :
        { "RESEAU/Address", "RESEAU/Port", "RESEAU/Login", "RESEAU/Password", "BASE/Encodage" })
        valeurs << dossier.valeurParametre(cle);
    return valeurs;
}
} // namespace

class TestParametres : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        qDeleteAll(fenetresReglages());
        Codecs::setCodec8Bits(nullptr);
    }

    void formulaire()
    {
        GestionReseau fenetre { QString(), QString(), QString(), QString(), QString() };
        QCOMPARE(fenetre.objectName(), QString("GestionReseau"));
        QCOMPARE(fenetre.windowTitle(), QString("Paramêtre Phylacto"));
        const QList<QPair<QString, QString>> textes = { { "label", "Adresse du Proxy" },
            { "label_2", "Port " }, { "label_3", "Login" }, { "label_4", "Mot de passe" },
            { "label_5", "Encodage :" }, { "cBProxy", "Activer Proxy" },
            { "pushAnnuler", "Annuler" }, { "pushValider", "Valider" } };
        for (const auto& [nom, texte] : textes)
            QCOMPARE(enfant<QWidget>(&fenetre, nom)->property("text").toString(), texte);
        auto* combo = enfant<QComboBox>(&fenetre, "cbEncodage");
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        QCOMPARE(items, QStringList({ "UTF8", "UTF-16", "Windows-1250", "KOI8-R", "Apple Roman" }));

        auto* grille = fenetre.findChild<QGridLayout*>("gridLayout");
        for (int ligne = 0; ligne < 4; ++ligne)
            QCOMPARE(grille->itemAtPosition(ligne, 1)->widget()->objectName(), champs.at(ligne));
    }

    void ouverture_data()
    {
        QTest::addColumn<QStringList>("stockees");
        QTest::addColumn<QString>("encodage");
        QTest::addColumn<bool>("coche");
        QTest::addColumn<QStringList>("affichees");
        QTest::addColumn<QString>("encodageAffiche");
        const QStringList proxy = { "proxy.local", "3128", "jdupont", "secret" };
        QTest::newRow("port sans adresse") << QStringList({ "", "3128", "jdupont", "secret" })
                                           << "Windows-1250" << false << vides << "Windows-1250";
        QTest::newRow("UTF-8 du demarrage") << proxy << "UTF-8" << true << proxy << "UTF8";
        QTest::newRow("rien") << vides << "" << false << vides << "UTF8";
    }

    void ouverture()
    {
        QFETCH(QStringList, stockees);
        QFETCH(QString, encodage);
        GestionReseau fenetre(stockees[0], stockees[1], stockees[2], stockees[3], encodage);
        QTEST(enfant<QCheckBox>(&fenetre, "cBProxy")->isChecked(), "coche");
        QTEST(textes(&fenetre), "affichees");
        QTEST(champsActifs(&fenetre), "coche");
        QTEST(enfant<QComboBox>(&fenetre, "cbEncodage")->currentText(), "encodageAffiche");
        QCOMPARE(enfant<QLineEdit>(&fenetre, "lePassw")->echoMode(), QLineEdit::Password);
    }

    void validation()
    {
        DossierTravail dossier;
        dossier.ecrireParametres({ { "BASE/Encodage", "UTF-8" }, { "RESEAU/Login", "ancien" } });
        dossier.ecrireCollection(ligneAlbum("Été", "T", 1));
        Phylacto principale;
        auto proprietaireSeul = [&dossier] {
            return (QFile::permissions(dossier.chemin("data/settings.ini")) & 0x7077)
                == (QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        };
        QVERIFY(proprietaireSeul());
        QStringList relayees;
        connect(&principale, &Phylacto::relayInfoReseau, this,
            [&](QString a, QString p, QString l, QString m) {
                // Stored before being relayed.
                QCOMPARE(principale.getSettings()->value("RESEAU/Address").toString(), a);
                relayees = { a, p, l, m };
            });

        GestionReseau* fenetre = ouvrirReglages(principale);
        QVERIFY(fenetre && !fenetre->parent());
        QCOMPARE(enfant<QComboBox>(fenetre, "cbEncodage")->currentText(), QString("UTF8"));
        cliquer(fenetre, "cBProxy");
        saisir(fenetre, { "proxy.local", "3128", "jdupont", "s3cret" });
        cliquer(fenetre, "pushValider");
        QVERIFY(fenetresReglages().isEmpty());
        QCOMPARE(relayees, QStringList({ "proxy.local", "3128", "jdupont", "s3cret" }));
        QCOMPARE(stockees(dossier), relayees + QStringList("UTF8"));
        QVERIFY(proprietaireSeul());

        // Unchecked: the texts stay on screen, four empty values are stored and relayed.
        fenetre = ouvrirReglages(principale);
        const QStringList saisie = textes(fenetre);
        QCOMPARE(saisie, relayees);
        cliquer(fenetre, "cBProxy");
        QVERIFY(!champsActifs(fenetre));
        QCOMPARE(textes(fenetre), saisie);
        enfant<QComboBox>(fenetre, "cbEncodage")->setCurrentText("Windows-1250");
        cliquer(fenetre, "pushValider");
        QCOMPARE(stockees(dossier), vides + QStringList("Windows-1250"));
        QCOMPARE(relayees, vides);

        // The chosen codec becomes the 8-bit one; literal texts stay UTF-8.
        QVERIFY(Codecs::codec8Bits() == QTextCodec::codecForName("windows-1250"));
        QCOMPARE(Codecs::codec8Bits()->toUnicode("\xE9"), QString("é"));
        QCOMPARE(tr("é"), QString::fromUtf8("\xC3\xA9"));
        RepondeurModal repondeur;
        repondeur.repondreFichier(dossier.chemin("copie.csv"));
        principale.saveAs();
        QVERIFY(dossier.lireFichier("copie.csv").startsWith("\xC9t\xE9;T;1;"));
    }

    void fenetresIndependantesEtAbandonnees()
    {
        DossierTravail dossier;
        dossier.ecrireParametres({ { "BASE/Encodage", "KOI8-R" } });
        Phylacto principale;
        GestionReseau* premiere = ouvrirReglages(principale);
        GestionReseau* seconde = ouvrirReglages(principale);
        QVERIFY(premiere && seconde && premiere != seconde);
        const QStringList un = { "un.local", "1111", "un", "mdp1" };
        const QStringList deux = { "deux.local", "2222", "deux", "mdp2" };
        cliquer(premiere, "cBProxy");
        saisir(premiere, un);
        cliquer(seconde, "cBProxy");
        saisir(seconde, deux);
        enfant<QComboBox>(seconde, "cbEncodage")->setCurrentText("UTF-16");
        cliquer(seconde, "pushValider");
        QCOMPARE(stockees(dossier), deux + QStringList("UTF-16"));
        QCOMPARE(textes(premiere), un);
        cliquer(premiere, "pushValider");
        QCOMPARE(stockees(dossier), un + QStringList("KOI8-R"));

        // "Annuler" and the close box store and relay nothing.
        principale.getSettings()->sync();
        const QByteArray avant = dossier.lireFichier("data/settings.ini");
        const QTextCodec* codec = Codecs::codec8Bits();
        QSignalSpy relais(&principale, &Phylacto::relayInfoReseau);
        GestionReseau* fenetre = ouvrirReglages(principale);
        saisir(fenetre, deux);
        enfant<QComboBox>(fenetre, "cbEncodage")->setCurrentText("UTF-16");
        cliquer(fenetre, "pushAnnuler");
        fenetre = ouvrirReglages(principale);
        saisir(fenetre, deux);
        fenetre->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(fenetresReglages().isEmpty());
        QCOMPARE(relais.size(), 0);
        principale.getSettings()->sync();
        QCOMPARE(dossier.lireFichier("data/settings.ini"), avant);
        QCOMPARE(Codecs::codec8Bits(), codec);
    }
};

QTEST_MAIN(TestParametres)
#include "test_parametres.moc"
