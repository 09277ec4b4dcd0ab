// Damaged, odd and hostile files, start-up problems, the file checker, and which folder
// Phylacto works in and what a first start puts there (last: they change HOME).
#include "app/demarrage.h"
#include "covers/nomimage.h"
#include "dialogs/barremessage.h"
#include "dialogs/filtre.h"
#include "store/fichiercollection.h"
#include "store/verificationcollection.h"
#include "support/fixture.h"

#include <QProcess>

#include <csignal>
#include <optional>

#include <sys/resource.h>
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

// Restores the only backup through its dialog; the last box's text.
QString restaurer(Phylacto& fenetre, int* lignesListees = nullptr)
{
    declencherAction(&fenetre, "actionRestaurer");
    auto* table
        = enfant<QTableWidget>(fenetre.findChild<QDialog*>("Restauration"), "LstSauvegardes");
    if (lignesListees)
        *lignesListees = table->rowCount();
    if (table->rowCount() == 0)
        return {};
    table->selectRow(0);
    Boites::setProchaineReponse(QMessageBox::Yes);
    enfant<QPushButton>(table->parentWidget(), "pbRestaurer")->click();
    return table->item(0, 2)->text() + " " + Boites::textesVus().last();
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
    void chargementsFautifs_data()
    {
        QTest::addColumn<QByteArray>("octets");
        QTest::addColumn<QString>("encodage");
        QTest::addColumn<int>("ligne"); // of the first invalid bytes, told in a notice; 0: none
        QTest::addColumn<QString>("propose");
        QTest::addColumn<QString>("montre"); // the bad line as its box shows it; null: no box
        QTest::addColumn<QString>(
            "cas"); // a collection file that cannot be read (a notice, no box), or a fifo cover
        const QByteArray theo = ligneAlbum("A", "B", 1) + ligneAlbum("Théo", "T", 2),
                         bon = ligneAlbum("A", "T", 1);
        const QByteArray retours = bon.repeated(30).replace('\n', '\r');
        QTest::newRow("utf8") << theo << "UTF-8" << 0 << "" << QString() << "";
        QTest::newRow("latin1 en utf8")
            << latin1(theo) << "UTF-8" << 2 << "Windows-1252" << QString() << "";
        QTest::newRow("utf8 en utf16") << theo << "UTF-16" << 1 << "UTF8" << QString() << "";
        QTest::newRow("coupé") << theo + "\xc3"
                               << "UTF-8" << 3 << "Windows-1252" << QString() << "";
        QTest::newRow("bom") << "\xef\xbb\xbf" + theo << "KOI8-R" << 0 << "" << QString() << "";
        QTest::newRow("2000") << bon + QByteArray(2000, 'x') + "\n" + bon << "UTF-8" << 0 << ""
                              << QString(2000, 'x') << "";
        QTest::newRow("50000") << bon + QByteArray(50000, 'y') << "UTF-8" << 0 << ""
                               << QString(2000, 'y') + "…"
                               << "";
        QTest::newRow("CR seuls") << bon + retours << "UTF-8" << 0 << ""
                                  << QString::fromUtf8(retours.left(2000)) + "…"
                                  << "";
        QTest::newRow("lien") << QByteArray() << "UTF-8" << 0 << "" << QString() << "lien";
        QTest::newRow("couverture fifo") << ligneAlbum("A", "T", 1, 0, "images//fifo") << "UTF-8"
                                         << 0 << "" << QString() << "fifo";
    }
    void chargementsFautifs()
    {
        QFETCH(QByteArray, octets);
        QFETCH(QString, encodage);
        QFETCH(int, ligne);
        QFETCH(QString, propose);
        QFETCH(QString, montre);
        QFETCH(QString, cas);
        DossierTravail dossier;
        dossier.collection(octets, encodage);
        const QString collection = dossier.chemin("collection.csv");
        if (cas == "lien") {
            QVERIFY(QFile::remove(collection));
            QVERIFY(QFile::link(dossier.chemin("cible.csv"), collection));
        }
        if (cas == "fifo")
            QCOMPARE(::mkfifo(qPrintable(dossier.chemin("images/fifo")), 0600), 0);
        const bool illisible = !cas.isEmpty() && cas != "fifo";
        Phylacto fenetre;
        QCOMPARE(fenetre.chargementIncomplet(), ligne > 0 || !montre.isNull() || illisible);
        if (!cas.isEmpty())
            QCOMPARE(Boites::textesVus(), QStringList());
        QVERIFY(!QFileInfo::exists(dossier.chemin("cible.csv")));
        if (!montre.isNull()) {
            QCOMPARE(Boites::textesVus().size(), 1);
            QVERIFY(Boites::textesVus().first().startsWith("Erreur à la ligne " + montre + ".\n"));
            QCOMPARE(fenetre.getAlbums().size(), 1);
        }
        const QStringList textes = notices(fenetre);
        QCOMPARE(textes.size(), ligne > 0 || illisible ? 1 : 0);
        if (ligne > 0) {
            QVERIFY2(
                textes.first().contains(QString("ligne %1 ").arg(ligne)), qPrintable(textes[0]));
            QVERIFY2(textes.first().contains(" en " + propose + " "), qPrintable(textes[0]));
        }
    }

    // Whatever a file to read turns out to be, every reader refuses it at once and says why.
    void lecturesBornees_data()
    {
        QTest::addColumn<QString>("genre");
        QTest::addColumn<QString>("raison");
        const QString special = "fichier spécial (périphérique, tube…)",
                      gros = "fichier trop volumineux (%1 Mo, au plus 256 Mo)";
        QTest::newRow("tube") << QString("tube") << special;
        QTest::newRow("lien vers /dev/zero") << QString("zero") << special;
        QTest::newRow("dossier") << QString("dossier") << QString("c'est un dossier");
        QTest::newRow("juste trop gros") << QString("creux") << gros.arg(257);
        QTest::newRow("64 Gio") << QString("énorme") << gros.arg(65536);
    }
    void lecturesBornees()
    {
        QFETCH(QString, genre);
        QFETCH(QString, raison);
        DossierTravail dossier;
        dossier.collection({});
        for (const QString nom : { "collection.csv", "x.csv", "bd.db",
                 "data/sauvegardes/collection-2026-01-02-030405.csv", "icon.ico" }) {
            const QString chemin = dossier.chemin(nom);
            QVERIFY(QDir().mkpath(QFileInfo(chemin).path()));
            QVERIFY(!QFile::exists(chemin) || QFile::remove(chemin));
            QVERIFY(genre == "tube"   ? ::mkfifo(qPrintable(chemin), 0600) == 0
                    : genre == "zero" ? QFile::link("/dev/zero", chemin)
                    : genre == "dossier"
                    ? QDir().mkdir(chemin)
                    : fichierCreux(chemin,
                        genre == "creux" ? FichierCollection::tailleMax + 1 : qint64(64) << 30));
        }
        Phylacto fenetre;
        QVERIFY2(notices(fenetre).value(0).contains(raison), qPrintable(notices(fenetre).value(0)));
        QVERIFY(fenetre.windowIcon().pixmap(16).isNull());
        fenetre.setModifie(false);
        for (const char* nom : { "x.csv", "bd.db" }) {
            Boites::setProchainFichier(dossier.chemin(nom));
            QVERIFY(declencherAction(&fenetre, "actionImporter_Csv"));
            QVERIFY2(Boites::textesVus().last().contains(
                         dossier.chemin(nom) + " n'a pas pu être lu (" + raison + ")"),
                qPrintable(Boites::textesVus().last()));
        }
        QCOMPARE(fenetre.getAlbums().size(), 0);
        QVERIFY(!fenetre.estModifie());
        QVERIFY(!QFile::exists(dossier.chemin("bd.csv")));
        // A special file is no backup; one too large is listed without its count, and not restored.
        int listees = 0;
        const QString refus = restaurer(fenetre, &listees);
        QCOMPARE(listees, genre == "creux" || genre == "énorme" ? 1 : 0);
        if (listees > 0) {
            QVERIFY2(refus.startsWith("? La sauvegarde "), qPrintable(refus));
            QVERIFY2(refus.endsWith(raison), qPrintable(refus));
        }
        const RapportVerification rapport = VerificationCollection::verifierFichier(
            dossier.chemin("collection.csv"), nullptr, dossier.chemin(), {});
        QCOMPARE(VerificationCollection::codeSortie(rapport), 2);
        QCOMPARE(rapport.erreur, raison);
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

    void importConversion_data()
    {
        QTest::addColumn<QString>("fichier");
        QTest::addColumn<QByteArray>("contenu");
        QTest::addColumn<int>("ajoutes"); // none: the catalogue is not marked modified
        QTest::addColumn<QStringList>("convertis"); // beside bd.csv afterwards
        QTest::addColumn<QString>("boite"); // the end of the last box
        const QByteArray ancienne = donnee("ligne-ancienne.db");
        QTest::newRow("octets invalides")
            << "x.csv" << latin1(ligneAlbum("A", "B", 1) + ligneAlbum("Théo", "T", 2)) << 0
            << QStringList() << "puis importez-le de nouveau.";
        QTest::newRow("sans écraser")
            << "bd.db" << ancienne << 1 << QStringList("bd-2.csv") << "seront aussi importé.";
        QTest::newRow("disque plein") << "bd.db" << ancienne.repeated(1000) << 0 << QStringList()
                                      << "il est supprimé et rien n'est importé.";
    }
    void importConversion()
    {
        QFETCH(QString, fichier);
        QFETCH(int, ajoutes);
        DossierTravail dossier;
        dossier.collection({});
        dossier.ecrire("bd.csv", "garde");
        QFETCH(QByteArray, contenu);
        dossier.ecrire(fichier, contenu);
        Phylacto fenetre;
        fenetre.setModifie(false);
        Boites::setProchainFichier(dossier.chemin(fichier));
        // A full disk: no file of this process grows past 4 kB meanwhile.
        rlimit limite {};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &limite), 0);
        QVERIFY(std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR);
        const rlimit plein { 4096, limite.rlim_max };
        QVERIFY(::setrlimit(RLIMIT_FSIZE,
                    QTest::currentDataTag() == QLatin1String("disque plein") ? &plein : &limite)
            == 0);
        const bool action = declencherAction(&fenetre, "actionImporter_Csv");
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limite), 0);
        QVERIFY(action);
        QCOMPARE(fenetre.getAlbums().size(), ajoutes);
        QCOMPARE(fenetre.estModifie(), ajoutes > 0);
        QCOMPARE(dossier.lire("bd.csv"), QByteArray("garde"));
        QTEST(QDir(dossier.chemin()).entryList({ "bd?*.csv" }), "convertis");
        QFETCH(QString, boite);
        QVERIFY2(
            Boites::textesVus().last().endsWith(boite), qPrintable(Boites::textesVus().last()));
    }

    // Bytes that do not decode are never restored: the next save would write U+FFFD.
    void restaurationsRefusees_data()
    {
        QTest::addColumn<QByteArray>("octets");
        QTest::addColumn<QString>("raison");
        const QByteArray theo = ligneAlbum("A", "B", 1) + ligneAlbum("Théo", "T", 2);
        QTest::newRow("Windows-1252 en UTF-8")
            << latin1(theo) << "elle contient des octets invalides en UTF-8, dès la ligne 2.";
        QTest::newRow("coupé dans un caractère")
            << theo + "\xc3"
            << "elle contient des octets invalides en UTF-8, dès la ligne 3.";
    }
    void restaurationsRefusees()
    {
        QFETCH(QByteArray, octets);
        QFETCH(QString, raison);
        DossierTravail dossier;
        dossier.collection(ligneAlbum("Garde", "G"));
        dossier.ecrire("data/sauvegardes/collection-2026-01-02-030405.csv", octets);
        Phylacto fenetre;
        const QString refus = restaurer(fenetre);
        QVERIFY2(
            refus.contains("collection-2026-01-02-030405.csv n'a pas été restaurée :\n" + raison),
            qPrintable(refus));
        QCOMPARE(fenetre.getAlbums().size(), 1);
        QVERIFY(!fenetre.estModifie());
    }

    // Where a save, an export or a conversion (of bd.db into bd.csv) writes: only a regular
    // file is replaced, through a link that stays, with its permissions; beside it, only
    // our own leftovers are removed.
    void remplacements_data()
    {
        QTest::addColumn<QString>("geste");
        QTest::addColumn<QString>(
            "cible"); // fifo, lientube (a link to a fifo), lien (to a file), restes
        for (const char* geste : { "save", "saveAs", "export", "import" })
            for (const char* cible : { "fifo", "lientube", "lien", "restes" })
                if (QByteArray(geste) != "import" || QByteArray(cible) != "restes")
                    QTest::addRow("%s %s", geste, cible) << geste << cible;
    }
    void remplacements()
    {
        QFETCH(QString, geste);
        QFETCH(QString, cible);
        DossierTravail d;
        QVERIFY(d.collection(ligneAlbum("A", "T")));
        const QString nom = geste == "save" ? "collection.csv"
            : geste == "import"             ? "bd.csv"
                                            : "cible.csv",
                      c = d.chemin(nom), vrai = d.chemin("vrai.csv");
        Phylacto f;
        f.getCatalogue().attacher(albumTest("S", "T"));
        const QStringList restes { ".Copie1", ".BACKUP", ".Avant1", ".2024v1", ".ABC123", ".a1b2c3",
            ".phylacto-tmp-Ab3dE9" };
        const auto droits = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther;
        if (cible == "restes") {
            for (const QString& reste : restes)
                QVERIFY(d.ecrire(nom + reste, "x"));
        } else {
            QVERIFY(d.ecrire("vrai.csv", "vrai"));
            QVERIFY(QFile::setPermissions(vrai, droits));
            QVERIFY(!QFile::exists(c) || QFile::remove(c));
        }
        if (cible == "fifo")
            QCOMPARE(::mkfifo(qPrintable(c), 0600), 0);
        // Never a link to a real device: a broken check would replace it.
        if (cible == "lientube")
            QCOMPARE(::mkfifo(qPrintable(d.chemin("tube")), 0600), 0);
        if (cible == "lientube" || cible == "lien")
            QVERIFY(QFile::link(cible == "lientube" ? d.chemin("tube") : vrai, c));
        QVERIFY(d.ecrire("bd.db", donnee("ligne-ancienne.db")));
        Boites::setProchainFichier(geste == "import" ? d.chemin("bd.db") : c);
        QVERIFY(geste == "save" ? QMetaObject::invokeMethod(&f, "save")
                                : declencherAction(&f,
                                    geste == "saveAs"       ? "actionEnregistrer_sous"
                                        : geste == "export" ? "actionExporterTableur"
                                                            : "actionImporter_Csv"));
        const bool refuse = (cible == "fifo" || cible == "lientube") && geste != "import";
        QCOMPARE(Boites::textesVus()
                     .filter(c + " :\n")
                     .filter("n'est pas un fichier ordinaire : rien n'y est écrit")
                     .size(),
            refuse ? 1 : 0);
        QCOMPARE(QFileInfo(c).isSymLink(), cible == "lientube" || cible == "lien");
        QCOMPARE(QFileInfo(c).isFile(), cible == "lien" || cible == "restes");
        QCOMPARE(QFileInfo(c).isFile() && QFileInfo(c).size() > 0 && d.lire(nom).contains("S;T;1;"),
            !refuse && (geste != "import" || cible == "restes"));
        QVERIFY(cible == "restes" || (QFile::permissions(vrai) & 0x7077) == droits);
        for (const QString& reste : restes)
            QCOMPARE(QFileInfo::exists(d.chemin(nom + reste)),
                cible == "restes" && !reste.contains("phylacto"));
        QCOMPARE(f.getAlbums().size(), geste == "import" ? 3 : 2);
    }

    void parametresIllisibles()
    {
        DossierTravail dossier;
        dossier.ecrire("data/settings.ini", imagePng(40, 40, {}, 7)); // noise, every byte value
        QString erreur;
        QVERIFY2(Demarrage::nommerCollection(dossier.chemin(), &erreur), qPrintable(erreur));
    }

    void deuxiemeCopie()
    {
        // A running copy keeps the folder; killed, its lock is taken over.
        DossierTravail dossier;
        std::unique_ptr<QProcess> premiere(lancer({ dossier.chemin() })), seconde;
        const QByteArray pid = QByteArray::number(premiere->processId());
        QTRY_VERIFY_WITH_TIMEOUT(dossier.lire("data/phylacto.lock").startsWith(pid + '\n'), 20000);
        seconde.reset(lancer({ dossier.chemin() }));
        QByteArray sortie;
        QTRY_VERIFY_WITH_TIMEOUT((sortie += seconde->readAllStandardError())
                                     .contains("Un autre Phylacto (processus " + pid + ' '),
            20000);
        for (QProcess* copie : { seconde.get(), premiere.get() }) {
            copie->kill();
            copie->waitForFinished();
        }
        std::unique_ptr<QProcess> reprise(lancer({ "--screenshot", "vue.png", dossier.chemin() }));
        QVERIFY(reprise->waitForFinished(30000));
        QCOMPARE(reprise->exitCode(), 0);
        QVERIFY(QFileInfo(dossier.chemin("vue.png")).size() > 0);
    }

    void verrous_data()
    {
        QTest::addColumn<QString>("forme"); // at data/phylacto.lock; "%h": this computer
        QTest::addColumn<int>("reponse"); // to the question about another computer
        QTest::addColumn<int>("issue");
        QTest::addColumn<QString>("texte"); // told by the start; empty: nothing
        using P = Verrou::Prise;
        const QString remplace = "était endommagé (%1) : il a été remplacé.";
        QTest::newRow("vide") << "fichier:" << 0 << int(P::Pris) << remplace.arg("vide");
        QTest::newRow("n'importe quoi") << "fichier:n'importe quoi\n"
                                        << 0 << int(P::Pris) << remplace.arg("contenu invalide");
        QTest::newRow("processus seul")
            << "fichier:123" << 0 << int(P::Pris) << remplace.arg("contenu invalide");
        QTest::newRow("dossier vide")
            << "dossier" << 0 << int(P::Pris) << remplace.arg("dossier vide");
        QTest::newRow("lien mort")
            << "lien" << 0 << int(P::Pris) << remplace.arg("lien vers un fichier absent");
        QTest::newRow("tube") << "tube" << 0 << int(P::Pris) << remplace.arg("fichier spécial");
        QTest::newRow("dossier plein")
            << "dossier/x" << 0 << int(P::LectureSeule) << "est un dossier qui n'est pas vide";
        QTest::newRow("mort ici") << "fichier:2147483646\nphylacto\n%h\n"
                                  << 0 << int(P::Pris) << "";
        QTest::newRow("ailleurs, quitter")
            << "fichier:2147483646\nphylacto\nailleurs\n"
            << int(QMessageBox::Close) << int(P::AutreOrdinateur) << "";
        QTest::newRow("ailleurs, ouvrir") << "fichier:2147483646\nphylacto\nailleurs\n"
                                          << int(QMessageBox::Open) << int(P::Pris) << "";
        QTest::newRow("impossible à créer")
            << "bloque" << 0 << int(P::LectureSeule) << "n'a pas pu être créé";
    }
    void verrous()
    {
        QFETCH(QString, forme);
        QFETCH(int, reponse);
        QFETCH(int, issue);
        QFETCH(QString, texte);
        DossierTravail dossier;
        Demarrage::Emplacements e { dossier.chemin(), dossier.chemin(), QString(), QString(),
            QString() };
        const QString chemin = dossier.chemin(e.verrou);
        if (forme.startsWith("fichier:"))
            QVERIFY(dossier.ecrire(
                e.verrou, forme.mid(8).replace("%h", QSysInfo::machineHostName()).toUtf8()));
        QVERIFY(!forme.startsWith("dossier")
            || QDir().mkpath(dossier.chemin("data/phylacto.lock/" + forme.mid(8))));
        QVERIFY(forme != "lien" || QFile::link(dossier.chemin("absent"), chemin));
        QVERIFY(forme != "tube" || ::mkfifo(qPrintable(chemin), 0600) == 0);
        if (forme == "bloque") { // a file where a folder is expected: nothing can be created there
            e.verrou = "data/bloque/phylacto.lock";
            QVERIFY(dossier.ecrire("data/bloque", ""));
        }
        if (reponse)
            Boites::setProchaineReponse(QMessageBox::StandardButton(reponse));
        Verrou::Prise prise;
        QString erreur;
        const QString ouvert = Demarrage::demarrer(e, &prise, &erreur);
        QCOMPARE(int(prise.issue), issue);
        QVERIFY2(texte.isEmpty() ? prise.texte.isEmpty() : prise.texte.contains(texte),
            qPrintable(prise.texte));
        QCOMPARE(ouvert.isEmpty(), issue == Verrou::Prise::AutreOrdinateur);
        QCOMPARE(erreur, QString());
        // Nothing is written before the folder is ours.
        QCOMPARE(dossier.parametre("BASE/FileName").isEmpty(), issue != Verrou::Prise::Pris);
        QCOMPARE(issue == Verrou::Prise::Pris,
            dossier.lire("data/phylacto.lock")
                .startsWith(QByteArray::number(QCoreApplication::applicationPid()) + '\n'));
        QCOMPARE(Boites::textesVus(),
            reponse ? QStringList(QString("Le dossier %1 est utilisé par Phylacto (processus "
                                          "2147483646) sur l'ordinateur « ailleurs ».")
                                      .arg(dossier.chemin()))
                    : QStringList());
        QVERIFY(!reponse
            || Boites::boitesVues().first().libelles.value(QMessageBox::Open)
                == "Ouvrir quand même");
    }

    void lectureSeule()
    {
        Scene scene(ligneAlbum("A", "T", 1));
        Phylacto& fenetre = scene.ouvrir();
        fenetre.ouvrirEnLectureSeule("le disque est plein");
        QCOMPARE(scene.textes("LstSerie"), QStringList("A"));
        QVERIFY(notices(fenetre).first().endsWith(
            " en lecture seule : le disque est plein. Les modifications ne pourront pas être "
            "enregistrées ; « Enregistrer sous » en garde une copie ailleurs."));
        fenetre.nouvelAlbum("A", "T2", "", "", 2, "", 0, 0, 0, "", "", "");
        Boites::setProchainFichier(scene.chemin("collection.csv"));
        QVERIFY(declencherAction(&fenetre, "actionEnregistrer"));
        QVERIFY(declencherAction(&fenetre, "actionEnregistrer_sous"));
        QVERIFY(!fenetre.close()); // Cancel, the default: the window stays, with the album
        QCOMPARE(Boites::textesVus().filter("n'est pas enregistrée : le dossier").size(), 2);
        QCOMPARE(Boites::boitesVues().last().boutons, QMessageBox::Discard | QMessageBox::Cancel);
        QCOMPARE(scene.lire("collection.csv"), ligneAlbum("A", "T", 1));
        QCOMPARE(QDir(scene.chemin("data/sauvegardes")).exists(), false);
        QVERIFY(!declencherAction(&fenetre, "actionConfiguration_reseau"));
    }

    // The file checker from the command line, without any display.
    void verificateur()
    {
        DossierTravail dossier;
        dossier.ecrire("images/a.jpg", "a");
        dossier.ecrire("c.csv", donnee("collection-a-verifier.csv"));
        std::unique_ptr<QProcess> processus(
            lancer({ "--verifier", "c.csv", dossier.chemin() }, "aucun"));
        QVERIFY(processus->waitForFinished(20000));
        QCOMPARE(processus->exitCode(), 1);
        QCOMPARE(processus->readAllStandardOutput().count('\n'), 6);
        processus.reset(lancer({ "--verifier", "images", dossier.chemin() }, "aucun"));
        QVERIFY(processus->waitForFinished(20000));
        QCOMPARE(processus->exitCode(), 2);
        processus.reset(lancer({ "--help" }, "aucun")); // in French, Qt's own lines included
        QVERIFY(processus->waitForFinished(20000));
        QCOMPARE(processus->readAllStandardOutput().count("Affiche l'aide"), 2); // -h, --help-all
    }

    void fenetreApresCorrections()
    {
        DossierTravail dossier;
        dossier.collection(ligneAlbum("A", "T1", 1, 0, "", "Marc")
            + ligneAlbum("A", "T4", 4, 0, "", "Luc")
            + ligneAlbum("Z", "X", 1).replace("Dessinateur", QByteArray(5500, 'n')));
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
        QCOMPARE(fenetre.getCatalogue().premierAlbum("A", "T5")->getImage(),
            QString("images//cover-2.jpg"));
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

        QVERIFY(declencherAction(&fenetre, "actionExploration_bd"));
        auto* explorateur = fenetre.findChild<filtre*>();
        explorateur->show();
        QVERIFY(explorateur->width() <= explorateur->screen()->availableGeometry().width());
    }

    void choix_data()
    {
        // Paths relative to the temporary root, where "home" is the fake home.
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("courant");
        QTest::addColumn<bool>("parametres"); // the current folder holds data/settings.ini
        QTest::addColumn<QString>("attendu");
        const QString user = "home/.local/share/Phylacto";
        const auto ligne = [](const char* cas, const QString& argument, const QString& courant,
                               bool parametres, const QString& attendu) {
            QTest::newRow(cas) << argument << courant << parametres << attendu;
        };
        ligne("bureau: home sans paramètres", "", "home", false, user);
        ligne("bureau: home par lien", "", "lien-home", false, user);
        ligne("bureau: racine du système", "", "/", false, user);
        ligne("home déjà dossier de travail", "", "home", true, "home");
        ligne("autre dossier", "", "ailleurs", false, "ailleurs");
        ligne("DIR absolu", "@", "home", false, "collection");
        ligne("DIR relatif", "bd/../mes-bd", "ailleurs", false, "ailleurs/mes-bd");
        ligne("DIR gagne sur les paramètres", "@", "ailleurs", true, "collection");
    }

    void choix()
    {
        QVERIFY(preparerDemarrage());
        QFETCH(QString, argument);
        QFETCH(QString, courant);
        const auto absolu
            = [this](const QString& p) { return p.startsWith('/') ? p : racine->chemin(p); };
        const Demarrage::Emplacements e { argument == "@" ? absolu("collection") : argument,
            absolu(courant), home, Demarrage::dossierUtilisateur(), QString() };
        QVERIFY(QDir().mkpath(e.courant));
        QFETCH(bool, parametres);
        QVERIFY(!parametres
            || racine->ecrire(courant + "/data/settings.ini", "[BASE]\nFileName=a.csv\n"));
        QFETCH(QString, attendu);
        QCOMPARE(Demarrage::choisirDossierTravail(e), absolu(attendu));
        QCOMPARE(Demarrage::dossierDefauts("/opt/phylacto/bin"),
            QString("/opt/phylacto/share/phylacto"));
    }

    void premierDemarrage()
    {
        QVERIFY(preparerDemarrage());
        const QString xdg = racine->chemin("xdg");
        qputenv("XDG_DATA_HOME", QFile::encodeName(xdg));
        QDir::setCurrent(home);
        const Demarrage::Emplacements e { QString(), home, home, Demarrage::dossierUtilisateur(),
            defauts };
        QString erreur;
        const QString dossier = Demarrage::demarrer(e, &verrou, &erreur);
        QCOMPARE(dossier, xdg + "/Phylacto");
        QCOMPARE(QDir::currentPath(), dossier);
        QVERIFY(QFileInfo(dossier + "/images").isDir());
        QVERIFY(!QFileInfo::exists(home + "/data"));
        QCOMPARE(racine->lire("xdg/Phylacto/icon.ico")
                + racine->lire("xdg/Phylacto/data/AddPicture.bmp"),
            QByteArray("iconecouverture"));
        const QByteArray reglages = racine->lire("xdg/Phylacto/data/settings.ini");
        QVERIFY(reglages.contains("FileName=collection.csv"));
        QVERIFY(reglages.contains("Source=auto"));
        // Second start: what the user changed stays, and no cover source is chosen for it.
        QVERIFY(racine->ecrire("xdg/Phylacto/icon.ico", "mienne"));
        QVERIFY(racine->ecrire("xdg/Phylacto/data/settings.ini", "[BASE]\nFileName=a.csv\n"));
        QDir::setCurrent(home);
        QCOMPARE(Demarrage::demarrer(e, &verrou, &erreur), dossier);
        QCOMPARE(racine->lire("xdg/Phylacto/icon.ico"), QByteArray("mienne"));
        QVERIFY(!racine->lire("xdg/Phylacto/data/settings.ini").contains("Source"));
    }

    void dossierDonne()
    {
        QVERIFY(preparerDemarrage());
        // A DIR holding a collection: its files stay as they are.
        const QByteArray parametres = "[BASE]\nFileName=vieille.csv\n";
        QVERIFY(racine->ecrire("collection/data/settings.ini", parametres));
        QVERIFY(racine->ecrire("collection/data/AddPicture.bmp", "ma couverture"));
        Demarrage::Emplacements e { racine->chemin("collection"), home, home,
            Demarrage::dossierUtilisateur(), defauts };
        QString erreur;
        QCOMPARE(Demarrage::demarrer(e, &verrou, &erreur), e.argument);
        QCOMPARE(racine->lire("collection/data/AddPicture.bmp")
                + racine->lire("collection/data/settings.ini"),
            "ma couverture" + parametres);
        QVERIFY(!QFileInfo::exists(Demarrage::dossierUtilisateur()));
        // Run from the build tree: nothing installed beside the program.
        e = { racine->chemin("neuf"), home, home, QString(), racine->chemin("absent") };
        QCOMPARE(Demarrage::demarrer(e, &verrou, &erreur), e.argument);
        QVERIFY(!QFileInfo::exists(e.argument + "/icon.ico"));
        QVERIFY(QFileInfo(e.argument + "/data").isDir());
        QVERIFY(!racine->lire("neuf/data/settings.ini").contains("Source"));
    }

    void echecs()
    {
        QVERIFY(preparerDemarrage());
        // A file where the working folder should be, then where "images" should be.
        QVERIFY(racine->ecrire("occupe", "x"));
        QVERIFY(racine->ecrire("bloque/images", "x"));
        for (const QString nom : { "occupe", "bloque/images" }) {
            const Demarrage::Emplacements e { racine->chemin(nom.section('/', 0, 0)), home, home,
                QString(), defauts };
            QString erreur;
            QVERIFY(Demarrage::demarrer(e, &verrou, &erreur).isEmpty());
            QVERIFY2(erreur.contains(nom.section('/', -1)), qPrintable(erreur));
        }
        QString erreur; // no "data" to copy the placeholder cover into
        QVERIFY(!Demarrage::copierFichiersParDefaut(defauts, home, &erreur));
        QVERIFY2(erreur.contains("AddPicture.bmp"), qPrintable(erreur));
    }

private:
    // A temporary root with a fake home (and a link to it) and installed defaults.
    // The environment is this process's own: it is not restored.
    bool preparerDemarrage()
    {
        verrou = {};
        racine.emplace();
        home = racine->chemin("home");
        qputenv("HOME", QFile::encodeName(home));
        qunsetenv("XDG_DATA_HOME");
        defauts = racine->chemin("usr/share/phylacto");
        return QDir().mkpath(home) && QFile::link(home, racine->chemin("lien-home"))
            && racine->ecrire("usr/share/phylacto/icon.ico", "icone")
            && racine->ecrire("usr/share/phylacto/AddPicture.bmp", "couverture");
    }

    std::optional<DossierTravail> racine;
    Verrou::Prise verrou;
    QString home;
    QString defauts;
};

QTEST_MAIN(TestRobustesse)
#include "test_robustesse.moc"
