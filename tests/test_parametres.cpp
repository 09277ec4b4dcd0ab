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
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTextCodec>
#include <QtTest>

namespace {
const QStringList champs = { "leAdresse", "leport", "leLogin", "lePassw" };
const QStringList clesReseau
    = { "RESEAU/Address", "RESEAU/Port", "RESEAU/Login", "RESEAU/Password" };

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
    if (!declencherAction(&principale, QStringLiteral("actionConfiguration_reseau")))
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

QStringList valeursStockees(const DossierTravail& dossier)
{
    QStringList valeurs;
    for (const QString& cle : clesReseau)
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
        for (GestionReseau* fenetre : fenetresReglages())
            delete fenetre;
        Codecs::setCodec8Bits(nullptr);
    }

    void formulaire()
    {
        GestionReseau fenetre { QString(), QString(), QString(), QString(), QString() };
        QCOMPARE(fenetre.objectName(), QStringLiteral("GestionReseau"));
        QCOMPARE(fenetre.windowTitle(), QStringLiteral("Paramêtre Phylacto"));
        QCOMPARE(fenetre.size(), QSize(405, 212));
        QCOMPARE(fenetre.windowModality(), Qt::NonModal);
        const QList<QPair<QString, QString>> libelles
            = { { "label", "Adresse du Proxy" }, { "label_2", "Port " }, { "label_3", "Login" },
                  { "label_4", "Mot de passe" }, { "label_5", "Encodage :" } };
        for (const auto& [nom, texte] : libelles)
            QCOMPARE(enfant<QLabel>(&fenetre, nom)->text(), texte);
        QCOMPARE(enfant<QCheckBox>(&fenetre, "cBProxy")->text(), QStringLiteral("Activer Proxy"));
        QCOMPARE(enfant<QPushButton>(&fenetre, "pushAnnuler")->text(), QStringLiteral("Annuler"));
        QCOMPARE(enfant<QPushButton>(&fenetre, "pushValider")->text(), QStringLiteral("Valider"));

        auto* combo = enfant<QComboBox>(&fenetre, "cbEncodage");
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        QCOMPARE(items, QStringList({ "UTF8", "UTF-16", "Windows-1250", "KOI8-R", "Apple Roman" }));

        // Grid cells.
        auto* principale = fenetre.findChild<QGridLayout*>("gridLayout_2");
        auto* grille = fenetre.findChild<QGridLayout*>("gridLayout");
        QVERIFY(principale && grille);
        auto position = [](QGridLayout* layout, QLayoutItem* cherche) {
            for (int i = 0; i < layout->count(); ++i)
                if (layout->itemAt(i) == cherche) {
                    int ligne, colonne, lignes, colonnes;
                    layout->getItemPosition(i, &ligne, &colonne, &lignes, &colonnes);
                    return QList<int> { ligne, colonne, lignes, colonnes };
                }
            return QList<int>();
        };
        QCOMPARE(position(principale, fenetre.findChild<QLayout*>("verticalLayout")),
            QList<int>({ 0, 1, 1, 1 }));
        QCOMPARE(position(principale, fenetre.findChild<QLayout*>("gridLayout_3")),
            QList<int>({ 0, 2, 1, 1 }));
        QCOMPARE(position(principale, grille), QList<int>({ 1, 1, 1, 2 }));
        for (int ligne = 0; ligne < 4; ++ligne)
            QCOMPARE(grille->itemAtPosition(ligne, 1)->widget()->objectName(), champs.at(ligne));
        QCOMPARE(grille->itemAtPosition(4, 1)->layout()->objectName(),
            QStringLiteral("horizontalLayout"));
        QCOMPARE(grille->itemAtPosition(4, 1)->layout()->itemAt(0)->widget()->objectName(),
            QStringLiteral("pushAnnuler"));
    }

    void ouverture_data()
    {
        QTest::addColumn<QStringList>("stockees");
        QTest::addColumn<QString>("encodage");
        QTest::addColumn<bool>("coche");
        QTest::addColumn<QStringList>("affichees");
        QTest::addColumn<QString>("encodageAffiche");
        const QStringList proxy = { "proxy.local", "3128", "jdupont", "secret" };
        QTest::newRow("proxy") << proxy << "KOI8-R" << true << proxy << "KOI8-R";
        QTest::newRow("port sans adresse")
            << QStringList({ "", "3128", "jdupont", "secret" }) << "Windows-1250" << false
            << QStringList({ "", "", "", "" }) << "Windows-1250";
        QTest::newRow("UTF-8 du demarrage") << proxy << "UTF-8" << true << proxy << "UTF8";
        QTest::newRow("rien") << QStringList({ "", "", "", "" }) << "" << false
                              << QStringList({ "", "", "", "" }) << "UTF8";
    }

    void ouverture()
    {
        QFETCH(QStringList, stockees);
        QFETCH(QString, encodage);
        GestionReseau fenetre(stockees[0], stockees[1], stockees[2], stockees[3], encodage);
        QTEST(enfant<QCheckBox>(&fenetre, "cBProxy")->isChecked(), "coche");
        QTEST(textes(&fenetre), "affichees");
        for (const QString& nom : champs)
            QTEST(enfant<QLineEdit>(&fenetre, nom)->isEnabled(), "coche");
        QTEST(enfant<QComboBox>(&fenetre, "cbEncodage")->currentText(), "encodageAffiche");
        QCOMPARE(enfant<QLineEdit>(&fenetre, "lePassw")->echoMode(), QLineEdit::Password);
    }

    void caseProxyEtValidation()
    {
        GestionReseau fenetre(QString(), QString(), QString(), QString(), QStringLiteral("UTF-16"));
        fenetre.show();
        QSignalSpy reseau(&fenetre, &GestionReseau::validationReseau);
        QSignalSpy encodage(&fenetre, &GestionReseau::validationEncodage);
        auto* caseProxy = enfant<QCheckBox>(&fenetre, "cBProxy");
        const QStringList saisie = { "10.0.0.1", "8080", "marc", "mdp" };

        QTest::mouseClick(caseProxy, Qt::LeftButton);
        saisir(&fenetre, saisie);
        QTest::mouseClick(caseProxy, Qt::LeftButton);
        for (const QString& nom : champs)
            QVERIFY(!enfant<QLineEdit>(&fenetre, nom)->isEnabled());
        QCOMPARE(textes(&fenetre), saisie);
        fenetre.Upadtefield(Qt::PartiallyChecked);
        QVERIFY(!enfant<QLineEdit>(&fenetre, "leAdresse")->isEnabled());

        // Unchecked: four empty values whatever the fields hold.
        QTest::mouseClick(enfant<QPushButton>(&fenetre, "pushValider"), Qt::LeftButton);
        QCOMPARE(reseau.size(), 1);
        QCOMPARE(reseau.first(), QVariantList({ "", "", "", "" }));
        QCOMPARE(encodage.first(), QVariantList({ "UTF-16" }));
        QVERIFY(!fenetre.isVisible());

        fenetre.show();
        QTest::mouseClick(caseProxy, Qt::LeftButton);
        QCOMPARE(textes(&fenetre), saisie);
        QVERIFY(enfant<QLineEdit>(&fenetre, "lePassw")->isEnabled());
        QTest::mouseClick(enfant<QPushButton>(&fenetre, "pushValider"), Qt::LeftButton);
        QCOMPARE(reseau.last(), QVariantList({ "10.0.0.1", "8080", "marc", "mdp" }));
    }

    void validationDepuisLaFenetrePrincipale()
    {
        DossierTravail dossier;
        dossier.ecrireParametres({ { "BASE/Encodage", "UTF-8" }, { "RESEAU/Login", "ancien" } });
        Phylacto principale;
        const QString fichier = dossier.chemin("data/settings.ini");
        QCOMPARE(int(QFile::permissions(fichier) & 0x7077),
            int(QFileDevice::ReadOwner | QFileDevice::WriteOwner));

        QStringList relayees;
        connect(&principale, &Phylacto::relayInfoReseau, this,
            [&](QString a, QString p, QString l, QString m) {
                // Stored before being relayed.
                QCOMPARE(principale.getSettings()->value("RESEAU/Address").toString(), a);
                relayees = { a, p, l, m };
            });

        GestionReseau* fenetre = ouvrirReglages(principale);
        QVERIFY(fenetre);
        QVERIFY(!fenetre->parent());
        QCOMPARE(enfant<QComboBox>(fenetre, "cbEncodage")->currentText(), QStringLiteral("UTF8"));
        QTest::mouseClick(enfant<QCheckBox>(fenetre, "cBProxy"), Qt::LeftButton);
        saisir(fenetre, { "proxy.local", "3128", "jdupont", "s3cret" });
        cliquer(fenetre, "pushValider");
        QVERIFY(fenetresReglages().isEmpty());
        QCOMPARE(relayees, QStringList({ "proxy.local", "3128", "jdupont", "s3cret" }));
        QCOMPARE(valeursStockees(dossier), relayees);
        QCOMPARE(dossier.valeurParametre("BASE/Encodage"), QStringLiteral("UTF8"));
        QCOMPARE(int(QFile::permissions(fichier) & 0x7077),
            int(QFileDevice::ReadOwner | QFileDevice::WriteOwner));

        // Unchecked: four empty values stored and relayed.
        fenetre = ouvrirReglages(principale);
        QCOMPARE(textes(fenetre), relayees);
        QTest::mouseClick(enfant<QCheckBox>(fenetre, "cBProxy"), Qt::LeftButton);
        cliquer(fenetre, "pushValider");
        QCOMPARE(valeursStockees(dossier), QStringList({ "", "", "", "" }));
        QCOMPARE(relayees, QStringList({ "", "", "", "" }));
    }

    void annulerEtFermerNeStockentRien()
    {
        DossierTravail dossier;
        dossier.ecrireParametres({ { "BASE/Encodage", "KOI8-R" },
            { "RESEAU/Address", "proxy.local" }, { "RESEAU/Port", "3128" } });
        Phylacto principale;
        const QByteArray avant = dossier.lireFichier("data/settings.ini");
        QSignalSpy relais(&principale, &Phylacto::relayInfoReseau);

        GestionReseau* fenetre = ouvrirReglages(principale);
        saisir(fenetre, { "autre", "1", "x", "y" });
        enfant<QComboBox>(fenetre, "cbEncodage")->setCurrentText("UTF-16");
        cliquer(fenetre, "pushAnnuler");
        fenetre = ouvrirReglages(principale);
        saisir(fenetre, { "encore", "2", "z", "w" });
        fenetre->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        QVERIFY(fenetresReglages().isEmpty());
        QCOMPARE(relais.size(), 0);
        principale.getSettings()->sync();
        QCOMPARE(dossier.lireFichier("data/settings.ini"), avant);
        QVERIFY(Codecs::codec8Bits()->name() == "UTF-8");
    }

    void fermerLaFenetrePrincipaleTermine()
    {
        // An open settings window does not keep the program running.
        DossierTravail dossier;
        Phylacto principale;
        principale.show();
        QVERIFY(ouvrirReglages(principale));
        QTimer fermer;
        fermer.setSingleShot(true);
        connect(&fermer, &QTimer::timeout, &principale, &QWidget::close);
        fermer.start(0);
        QTimer secours;
        secours.setSingleShot(true);
        connect(&secours, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
        secours.start(3000);
        QCOMPARE(QApplication::exec(), 0);
    }

    void deuxFenetresIndependantes()
    {
        DossierTravail dossier;
        Phylacto principale;
        GestionReseau* premiere = ouvrirReglages(principale);
        GestionReseau* seconde = ouvrirReglages(principale);
        QVERIFY(premiere && seconde && premiere != seconde);

        QTest::mouseClick(enfant<QCheckBox>(premiere, "cBProxy"), Qt::LeftButton);
        saisir(premiere, { "un.local", "1111", "un", "mdp1" });
        QTest::mouseClick(enfant<QCheckBox>(seconde, "cBProxy"), Qt::LeftButton);
        saisir(seconde, { "deux.local", "2222", "deux", "mdp2" });
        enfant<QComboBox>(seconde, "cbEncodage")->setCurrentText("KOI8-R");

        cliquer(seconde, "pushValider");
        QCOMPARE(valeursStockees(dossier), QStringList({ "deux.local", "2222", "deux", "mdp2" }));
        QCOMPARE(dossier.valeurParametre("BASE/Encodage"), QStringLiteral("KOI8-R"));
        QCOMPARE(textes(premiere), QStringList({ "un.local", "1111", "un", "mdp1" }));
        cliquer(premiere, "pushValider");
        QCOMPARE(valeursStockees(dossier), QStringList({ "un.local", "1111", "un", "mdp1" }));
        QCOMPARE(dossier.valeurParametre("BASE/Encodage"), QStringLiteral("UTF8"));
    }

    void encodageApplique()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligneAlbum(QStringLiteral("Été"), QStringLiteral("T"), 1));
        Phylacto principale;
        GestionReseau* fenetre = ouvrirReglages(principale);
        enfant<QComboBox>(fenetre, "cbEncodage")->setCurrentText("Windows-1250");
        cliquer(fenetre, "pushValider");
        QCOMPARE(dossier.valeurParametre("BASE/Encodage"), QStringLiteral("Windows-1250"));
        QVERIFY(Codecs::codec8Bits() == QTextCodec::codecForName("windows-1250"));
        QCOMPARE(Codecs::versOctets(QStringLiteral("é")), QByteArray("\xE9"));
        QCOMPARE(Codecs::depuisOctets("\xE9"), QStringLiteral("é"));
        // Literal texts are not affected.
        QCOMPARE(tr("é"), QString::fromUtf8("\xC3\xA9"));

        // "Enregistrer sous" now writes with that codec.
        RepondeurModal repondeur;
        repondeur.repondreFichier(dossier.chemin(QStringLiteral("copie.csv")));
        principale.saveAs();
        const QByteArray copie = dossier.lireFichier(QStringLiteral("copie.csv"));
        QVERIFY(copie.startsWith("\xC9t\xE9;T;1;"));
    }
};

QTEST_MAIN(TestParametres)
#include "test_parametres.moc"
