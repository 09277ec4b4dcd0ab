// The collection file from the window: start-up load, saving, closing, import; dated
// backups (listing, retention, saving, restoring) and the spreadsheet export, read back
// by a strict RFC 4180 reader.
#include "dialogs/barremessage.h"
#include "model/catalogue.h"
#include "settings/codecs.h"
#include "settings/parametres.h"
#include "store/ecriturecollection.h"
#include "store/exporttableur.h"
#include "store/importation.h"
#include "store/sauvegardes.h"
#include "support/fixture.h"

namespace {
// The line of albumTest("S", titre) with this comment.
QByteArray ligneS(const QByteArray& titre, const QByteArray& commentaire = "")
{
    return "S;" + titre + ";1;Dessinateur;Scenariste;Dargaud;" + commentaire
        + ";0;Aventure;;;;0;0;_;0;0;0;;Coloriste\n";
}

// Each box's text must start with its prefix.
bool boitesVues(const QStringList& debuts)
{
    const QStringList vues = Boites::textesVus();
    return vues.size() == debuts.size()
        && std::equal(vues.cbegin(), vues.cend(), debuts.cbegin(),
            [](const QString& vue, const QString& debut) { return vue.startsWith(debut); });
}

void reponses(QString boutons) // '-': the default button
{
    for (const QChar b : boutons.remove('-'))
        Boites::setProchaineReponse(
            QList { QMessageBox::Save, QMessageBox::Discard, QMessageBox::Cancel, QMessageBox::Yes }
                .value(QString("SDCY").indexOf(b), QMessageBox::NoButton));
}

const QByteArray z1 = ligneAlbum("Zorro", "Z1");

QStringList sauvegardesDe(const DossierTravail& dossier)
{
    return QDir(dossier.chemin("data/sauvegardes")).entryList(QDir::Files, QDir::Name);
}

// One folder holding them all: name, content, rank newest first (-1: not a backup of
// col.csv), album count.
const std::tuple<const char*, QByteArray, int, int> dossierListe[] = {
    { "col-2026-01-02-030405-2.csv", "a\nb\n", 0, 2 },
    { "col-2026-01-02-030405.csv", "a\r\nb", 1, 2 },
    { "col-2026-01-02-030404.csv", QByteArray("\xff\xfe\n\1\n\0\n\1\n\0", 10), 2, 2 },
    { "col-old-2026-01-01-000000.csv", "", -1, 0 },
};

// Records of a UTF-8 file with a byte-order mark, ";" separated, CRLF ended.
bool lireTableur(const QByteArray& octets, QList<QStringList>* lignes)
{
    static const QRegularExpression champ(R"re((?:"((?:[^"]|"")*)"|([^;"\r\n]*))(;|\r\n))re");
    const QString t = QString::fromUtf8(octets.mid(3));
    QStringList ligne;
    for (qsizetype i = 0; i < t.size();) {
        const QRegularExpressionMatch m = champ.match(
            t, i, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
        if (!m.hasMatch())
            return false;
        ligne.append(m.hasCaptured(1) ? m.captured(1).replace("\"\"", "\"") : m.captured(2));
        i = m.capturedEnd();
        if (m.captured(3) == "\r\n")
            lignes->append(std::exchange(ligne, {}));
    }
    return octets.startsWith("\xEF\xBB\xBF") && ligne.isEmpty();
}
} // namespace

class TestFichiers : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { Codecs::setCodec8Bits(nullptr); }

    void demarrage_data()
    {
        QTest::addColumn<QStringList>("parametres");
        QTest::addColumn<QByteArray>("contenu"); // of c.csv
        QTest::addColumn<QString>("resume");
        QTest::newRow("premier démarrage")
            << QStringList() << QByteArray() << " | E: | C: | M: | []  | 0 0 0 0 | //";
        QTest::newRow("fichier absent créé vide") << QStringList(
            "BASE/FileName=c.csv") << QByteArray() << " | E: | C: | M: | []  | 0 0 0 0 | //";
        QTest::newRow("chemin absolu, Windows-1250")
            << QStringList { "BASE/FileName=@/c.csv", "BASE/Encodage=Windows-1250" }
            << QByteArray("\xc9t\xe9;T;1;;;;;0;;;;;0;0;_;0;0;0;;")
            << "Été | E:Été | C: | M: | [Été] 1:T | 1 1 0 0 | Été/T/1";
    }

    void demarrage()
    {
        QFETCH(QStringList, parametres);
        QFETCH(QByteArray, contenu);
        Scene s;
        QVERIFY(s.parametres(parametres.replaceInStrings("@", s.chemin())));
        if (!contenu.isEmpty())
            QVERIFY(s.ecrire("c.csv", contenu));
        Phylacto& f = s.ouvrir();
        QTEST(s.resume(), "resume");
        QCOMPARE(Boites::textesVus(), QStringList());
        QVERIFY(!f.chargementIncomplet());
        QVERIFY(!f.estModifie());
        QCOMPARE(s.parametre("BASE/Encodage"),
            parametres.isEmpty() ? "UTF-8" : s.parametre("BASE/Encodage"));
        QCOMPARE(QFile::exists(s.chemin("c.csv")), !parametres.isEmpty());
        QCOMPARE(s.lire("c.csv"), contenu);
    }

    void enregistrer_data()
    {
        // The window keeps the first of the albums it loaded (Z1 three times) and
        // adds "é" (comment with a line break) and "B;2"; a gesture follows.
        QTest::addColumn<QStringList>("parametres");
        QTest::addColumn<bool>("modifie");
        // save, saveAs, close, quit; after "autre:", "meme:" or "supprime:", the file was first
        // rewritten on disk (meme: same size and time) or deleted.
        QTest::addColumn<QString>("geste");
        QTest::addColumn<QString>(
            "boutons"); // queued answers: Save Discard Cancel Yes, '-' default
        QTest::addColumn<QString>(
            "choisi"); // file dialogs: chosen files, '|' between; empty: cancelled
        QTest::addColumn<QString>("lu"); // the file read afterwards
        QTest::addColumn<QByteArray>("octets");
        QTest::addColumn<bool>("ferme");
        QTest::addColumn<bool>("apres"); // modified afterwards
        QTest::addColumn<QString>("nomApres"); // BASE/FileName afterwards
        QTest::addColumn<QStringList>("boites");
        const QStringList utf8 { "BASE/FileName=collection.csv", "BASE/Encodage=UTF-8" };
        const QStringList w1250 { "BASE/FileName=collection.csv", "BASE/Encodage=Windows-1250" };
        const QStringList koi8 { "BASE/FileName=collection.csv", "BASE/Encodage=KOI8-R" };
        const QStringList sansNom { "BASE/Encodage=Windows-1250" };
        const QStringList impossible { "BASE/FileName=fichier/c.csv" };
        const QByteArray ecrit = z1 + ligneS("\xc3\xa9", "Tokyo N\xc3\xa9o") + ligneS("B,2", "a,b");
        const QByteArray ecrit1250 = z1 + ligneS("\xe9", "Tokyo N\xe9o") + ligneS("B,2", "a,b");
        const QByteArray avant = z1.repeated(3);
        const QStringList question("Votre base de données a ete modifiée"),
            change("Le fichier de la collection");
        const QStringList rien;
        const QString c = "collection.csv";
        const auto ligne = [](const char* cas, const QStringList& parametres, bool modifie,
                               const QString& geste, const QString& boutons, const QString& choisi,
                               const QString& lu, const QByteArray& octets, bool ferme, bool apres,
                               const QString& nomApres, const QStringList& boites) {
            QTest::newRow(cas) << parametres << modifie << geste << boutons << choisi << lu
                               << octets << ferme << apres << nomApres << boites;
        };
        ligne("Enregistrer en Windows-1250", w1250, true, "save", "", "", c, ecrit1250, false,
            false, c, rien);
        ligne("Enregistrer sous, annulé", w1250, true, "saveAs", "", "", c, avant, false, true, c,
            rien);
        ligne("Enregistrer sous: codec 8 bits", w1250, true, "saveAs", "", "copie.csv", "copie.csv",
            ecrit, false, true, c, rien);
        ligne("écriture impossible", impossible, true, "save", "", "", "fichier", QByteArray("x"),
            false, true, "fichier/c.csv",
            QStringList("Impossible d'enregistrer " + QDir::tempPath()));
        ligne("collection illisible", QStringList("BASE/FileName=data"), true, "save", "", "",
            "data", QByteArray(), false, true, "data", QStringList("Impossible d'enregistrer"));
        ligne("sans nom, annulé", sansNom, true, "save", "", "", c, QByteArray(), false, true, "",
            rien);
        ligne("sans nom, choisi", sansNom, true, "save", "", "data/ma collection.csv",
            "data/ma collection.csv", ecrit1250, false, false, "data/ma collection.csv", rien);
        ligne("intraduisible: annulé par défaut", koi8, true, "save", "", "", c, avant, false, true,
            c, QStringList("L'encodage KOI8-R"));
        ligne("intraduisible: Save", koi8, true, "save", "S", "", c,
            z1 + ligneS("?", "Tokyo N?o") + ligneS("B,2", "a,b"), false, false, c,
            QStringList("L'encodage KOI8-R"));
        ligne(
            "fermer sans changement", utf8, false, "close", "", "", c, avant, true, false, c, rien);
        ligne("fermer: Cancel", utf8, true, "close", "C", "", c, avant, false, true, c, question);
        ligne("fermer: Discard", utf8, true, "close", "D", "", c, avant, true, true, c, question);
        ligne(
            "fermer: Save", w1250, true, "close", "S", "", c, ecrit1250, true, false, c, question);
        ligne(
            "fermer: par défaut", utf8, true, "close", "-", "", c, ecrit, true, false, c, question);
        ligne("fermer: écriture impossible", impossible, true, "close", "S", "", "fichier",
            QByteArray("x"), false, true, "fichier/c.csv",
            question + QStringList("Impossible d'enregistrer"));
        ligne("Quitter sans nom: annulé", sansNom, true, "quit", "S", "", c, QByteArray(), false,
            true, "", question);
        ligne("Quitter sans nom: choisi", sansNom, true, "quit", "S", "premiere.csv",
            "premiere.csv", ecrit1250, true, false, "premiere.csv", question);
        ligne("fermer: intraduisible, Cancel", koi8, true, "close", "SC", "", c, avant, false, true,
            c, question + QStringList("L'encodage KOI8-R"));
        // Changed on disk: Yes replaces it, Save writes another file that becomes the collection's.
        ligne("changé: Remplacer", utf8, true, "autre:save", "Y", "", c, ecrit, false, false, c,
            change);
        ligne("même taille et date: Annuler", utf8, true, "meme:save", "C", "", c,
            ligneAlbum("Zorro", "Z2").repeated(3), false, true, c, change);
        ligne("changé: autre nom", w1250, true, "autre:save", "S", "autre.csv", "autre.csv",
            ecrit1250, false, false, "autre.csv", change);
        ligne("changé, fermer: Annuler", utf8, true, "autre:close", "SC", "", c,
            ligneAlbum("Zorro", "Z2"), false, true, c, question + change);
        ligne("Enregistrer sous sur la collection: autre nom", w1250, true, "meme:saveAs", "S",
            "collection.csv|autre.csv", "autre.csv", ecrit1250, false, false, "autre.csv", change);
        ligne("supprimé", utf8, true, "supprime:save", "", "", c, ecrit, false, false, c, rien);
    }

    void enregistrer()
    {
        QFETCH(QStringList, parametres);
        QFETCH(QString, geste);
        QFETCH(QString, choisi);
        Scene s;
        QVERIFY(s.ecrire("fichier", "x"));
        QVERIFY(s.parametres(parametres));
        if (!parametres.filter("collection.csv").isEmpty())
            QVERIFY(s.ecrire("collection.csv", z1.repeated(3)));
        Phylacto& f = s.ouvrir();
        f.show();
        while (f.getAlbums().size() > 1)
            f.getCatalogue().supprimerAlbum(f.getAlbums().last());
        if (f.getAlbums().isEmpty())
            f.getCatalogue().attacher(albumTest("Zorro", "Z1"));
        f.getCatalogue().attacher(albumTest("S", "é"));
        f.getCatalogue().albums().last()->setCommentaire("Tokyo\nNéo");
        f.getCatalogue().attacher(albumTest("S", "B;2"));
        f.getCatalogue().albums().last()->setCommentaire("a;b");
        QFETCH(bool, modifie);
        f.setModifie(modifie);
        const QString change = geste.section(':', 0, -2), c = s.chemin("collection.csv");
        const QDateTime quand = QFileInfo(c).lastModified();
        QVERIFY(change.isEmpty()
            || (change == "supprime"
                    ? QFile::remove(c)
                    : s.ecrire("collection.csv",
                        ligneAlbum("Zorro", "Z2").repeated(change == "meme" ? 3 : 1))));
        QFile fichier(c);
        if (change == "meme") {
            QVERIFY(fichier.open(QIODevice::Append));
            QVERIFY(fichier.setFileTime(quand, QFileDevice::FileModificationTime));
        }
        geste = geste.section(':', -1);
        QFETCH(QString, boutons);
        reponses(boutons);
        for (const QString& choix : choisi.split('|', Qt::SkipEmptyParts))
            Boites::setProchainFichier(s.chemin(choix));
        QVERIFY(geste == "quit" ? declencherAction(&f, "actionQuitter")
                                : QMetaObject::invokeMethod(&f, qPrintable(geste)));

        QFETCH(QString, lu);
        QTEST(s.lire(lu), "octets");
        QFETCH(QStringList, boites);
        QVERIFY2(boitesVues(boites), qPrintable(Boites::textesVus().join('|')));
        QTEST(!f.isVisible(), "ferme");
        QTEST(f.estModifie(), "apres");
        QTEST(s.parametre("BASE/FileName"), "nomApres");
        QStringList attendus { "data", "fichier", "images" };
        if (!parametres.filter("collection.csv").isEmpty())
            attendus << "collection.csv";
        if (!choisi.isEmpty() && !choisi.contains('/'))
            attendus << choisi.split('|');
        attendus.removeDuplicates();
        attendus.sort();
        QCOMPARE(QDir(s.chemin()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), attendus);
        Boites::oublier(); // what was written here is known: saving again asks nothing
        QVERIFY(f.estModifie()
            || (f.save(), Boites::textesVus().filter("Le fichier de la collection").isEmpty()));
    }

    // The file and "BASE/Encodage" change together, whatever is done before being killed.
    void tourEncodage_data()
    {
        QTest::addColumn<QString>("avant"); // stored at first
        QTest::addColumn<QStringList>(
            "gestes"); // encodings validated, "save", "saveAs" over the file, "D": closed, Discard
        QTest::addColumn<QString>("stocke");
        QTest::newRow("quitté sans enregistrer")
            << "UTF-8" << QStringList { "KOI8-R", "D" } << "UTF-8";
        QTest::newRow("tué") << "UTF-8" << QStringList { "Windows-1252" } << "UTF-8";
        QTest::newRow("enregistré") << "UTF-8" << QStringList { "KOI8-R", "save" } << "KOI8-R";
        QTest::newRow("enregistré sous son nom")
            << "UTF-8" << QStringList { "Apple Roman", "saveAs" } << "Apple Roman";
        QTest::newRow("enregistré sous son nom, sans choix")
            << "KOI8-R" << QStringList { "saveAs" } << "KOI8-R";
        QTest::newRow("remis avant")
            << "UTF-8" << QStringList { "KOI8-R", "UTF8", "save" } << "UTF8";
        QTest::newRow("enregistré, puis un autre")
            << "UTF-8" << QStringList { "ISO-8859-15", "save", "UTF-16", "D" } << "ISO-8859-15";
    }

    void tourEncodage()
    {
        QFETCH(QString, avant);
        QFETCH(QStringList, gestes);
        QFETCH(QString, stocke);
        const QString serie = (gestes + QStringList(avant)).contains("KOI8-R")
            ? "Ёжик в тумане"
            : "Les Chroniques d'Élise";
        const auto fichier = [&serie](const QString& encodage) {
            return QTextCodec::codecForName(encodage.toLatin1())
                ->fromUnicode(QString::fromUtf8(ligneAlbum(serie, "T")));
        };
        Scene s;
        s.collection(fichier(avant), avant);
        s.ouvrir();
        for (const QString& geste : gestes) {
            Boites::setProchainFichier(s.chemin("collection.csv"));
            if (geste == "D") {
                Boites::setProchaineReponse(QMessageBox::Discard);
                QVERIFY(s.fenetre->close());
            } else if (!QMetaObject::invokeMethod(s.fenetre.get(), qPrintable(geste))
                && declencherAction(s.fenetre.get(), "actionConfiguration_reseau"))
                for (QWidget* w : QApplication::topLevelWidgets())
                    QVERIFY(!w->inherits("GestionReseau") || !w->isVisible()
                        || remplir(w, { "cbEncodage=" + geste, "pushValider" }));
        }
        s.fenetre.reset();
        QCOMPARE(s.parametre("BASE/Encodage"), stocke);
        QCOMPARE(s.lire("collection.csv"), fichier(stocke));
        QCOMPARE(s.ouvrir().getAlbums().first()->getSerie(), serie);
    }

    // The start-up notice's button reads the file again in the encoding it names and stores that.
    void relecture_data()
    {
        QTest::addColumn<QByteArray>("octets");
        QTest::addColumn<QString>("encodage");
        QTest::addColumn<QString>("bouton");
        QTest::addColumn<QString>("reponse"); // to the question when modified: Y, N
        const QByteArray elise = ligneAlbum("Les Chroniques d'Élise", "Cœur");
        QTest::newRow("UTF-8 lu en KOI8-R") << elise << "KOI8-R"
                                            << "Relire en UTF8"
                                            << "";
        QTest::newRow("modifié, relu") << elise << "Windows-1250"
                                       << "Relire en UTF8"
                                       << "Y";
        QTest::newRow("modifié, gardé") << elise << "Apple Roman"
                                        << "Relire en UTF8"
                                        << "N";
        QTest::newRow("Windows-1252 lu en UTF-8")
            << QTextCodec::codecForName("Windows-1252")->fromUnicode(QString::fromUtf8(elise))
            << "UTF-8"
            << "Relire en Windows-1252"
            << "";
    }

    void relecture()
    {
        QFETCH(QByteArray, octets);
        QFETCH(QString, encodage);
        QFETCH(QString, bouton);
        QFETCH(QString, reponse);
        Scene s;
        s.collection(octets, encodage);
        auto* barre = s.ouvrir().findChild<BarreMessage*>("barreMessage");
        QCOMPARE(barre->texteAction(), bouton);
        QVERIFY(s.fenetre->chargementIncomplet());
        s.fenetre->setModifie(!reponse.isEmpty());
        Boites::setProchaineReponse(reponse == "Y" ? QMessageBox::Yes : QMessageBox::No);
        QVERIFY(cliquer(barre, "pbAction"));
        const bool relu = reponse != "N";
        QCOMPARE(s.parametre("BASE/Encodage"), relu ? bouton.mid(10) : encodage);
        QCOMPARE(s.fenetre->getAlbums().first()->getSerie() == "Les Chroniques d'Élise", relu);
        QCOMPARE(s.fenetre->estModifie(), !relu);
        QCOMPARE(s.lire("collection.csv"), octets);
    }

    // After a load that stopped early, the file is copied once before the
    // first write over it, with a notice naming the copy.
    void copieAvantEcrasement_data()
    {
        QTest::addColumn<bool>("parEnregistrerSous");
        QTest::newRow("Enregistrer") << false;
        QTest::newRow("Enregistrer sous") << true;
    }

    void copieAvantEcrasement()
    {
        QFETCH(bool, parEnregistrerSous);
        const QByteArray origine = z1 + "x;y\n" + ligneAlbum("Blake", "B1");
        Scene s(origine);
        Phylacto& f = s.ouvrir();
        f.getCatalogue().attacher(albumTest("S", "T"));
        for (int fois = 0; fois < 2; ++fois) {
            Boites::setProchainFichier(s.chemin("collection.csv")); // for "Enregistrer sous" only
            QVERIFY(QMetaObject::invokeMethod(&f, parEnregistrerSous ? "saveAs" : "save"));
        }
        const QStringList copies = QDir(s.chemin()).entryList({ "*.bak" });
        QCOMPARE(copies.size(), 1);
        QVERIFY(QRegularExpression("^collection\\.csv\\.\\d{4}-\\d\\d-\\d\\d-\\d{4}\\.bak$")
                    .match(copies.first())
                    .hasMatch());
        QCOMPARE(s.lire(copies.first()), origine);
        QCOMPARE(Boites::textesVus().size(), 2); // the bad line, then the notice
        QVERIFY(Boites::textesVus().last().contains(s.chemin(copies.first())));
        QCOMPARE(s.lire("collection.csv"), z1 + ligneS("T"));
    }

    void importerCsv()
    {
        Scene s;
        QVERIFY(s.collection(ligneAlbum("Astérix", "Le Tour", 5, 0, "images//a.jpg", "Marc")
                + ligneAlbum("Akira", "Vol 1", 1, 2)
                + "Astérix;La Zizanie;15;;;;;0;;;;01/03/2014;1.25e+06;1;x;4;1;3;t19;\n",
            "UTF-8", "sauve.csv"));
        QVERIFY(s.ecrire("crlf.csv", donnee("import-crlf.csv")));
        QFile::setPermissions(s.chemin("crlf.csv"), QFile::ReadOwner);
        QVERIFY(s.parametres({ "BASE/FileName=vide.csv" }));
        Phylacto& f = s.ouvrir();
        for (int fois = 1; fois <= 2; ++fois) {
            Boites::setProchainFichier(s.chemin("sauve.csv"));
            QVERIFY(declencherAction(&f, "actionImporter_Csv"));
        }
        QCOMPARE(
            s.resume(), QString("Akira,Astérix | E:Astérix | C: | M:Akira | []  | 6 2 2 2 | //"));
        QCOMPARE(f.getAlbums().at(2)->getTexte19(), QString("t19"));
        QCOMPARE(f.getAlbums().at(5)->getEmprunteur(), QString());
        QCOMPARE(Boites::textesVus(), QStringList());
        QVERIFY(f.estModifie());
        QCOMPARE(enfant<QAction>(&f, "actionAnnuler")->text(), "Annuler l'importation de 3 albums");

        Boites::setProchainFichier(s.chemin("crlf.csv"));
        QVERIFY(declencherAction(&f, "actionImporter_Csv"));
        QCOMPARE(f.getAlbums().size(), 8);
        QCOMPARE(f.getAlbums().at(6)->getColoriste(), QString("Col"));
        QCOMPARE(Boites::textesVus(),
            QStringList("Erreur à la ligne S;T3;trop;de;champs;E;C;0;G;_;_;;0;0;_;0;0;0;;Col;x.\n "
                        "Merci de toujours laisser 20 parametres et non 21, même vide"));

        f.setModifie(false); // cancelled: nothing added, counted as a change all the same
        QVERIFY(declencherAction(&f, "actionImporter_Csv"));
        QVERIFY(f.estModifie());
        QCOMPARE(f.getAlbums().size(), 8);
        Catalogue c;
        QCOMPARE(Importation::importer(s.chemin("absent.csv"), nullptr, c).etat,
            LectureCollection::Illisible);
        // An unreadable legacy file: the older converted file beside it is not imported instead.
        QVERIFY(s.ecrire("vieux.csv", ligneAlbum("Périmé", "1")));
        QCOMPARE(f.convertir(s.chemin("vieux.db")), QString());
        QCOMPARE(s.lire("vieux.csv"), ligneAlbum("Périmé", "1"));
        QCOMPARE(
            EcritureCollection::nomDansParametres(s.chemin("data/c.csv")), QString("data/c.csv"));
        QCOMPARE(EcritureCollection::nomDansParametres(QDir::rootPath() + "c.csv"),
            QDir::rootPath() + "c.csv");
    }

    // A legacy file is converted beside itself, with the images of its folder.
    void convertir_data()
    {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QByteArray>("contenu");
        QTest::addColumn<int>("ligneFautive");
        QTest::addColumn<QString>("converti");
        QTest::addColumn<QByteArray>("octets");
        const auto ancienne = [](const QByteArray& serie, const QByteArray& titre,
                                  const QByteArray& image = "_") {
            return "\"" + serie + "\" \"" + titre + "\" 1 \"D\" \"Sc\" \"E\" \"Bon\" 0 \"G\" \""
                + image + "\" \"_\" \"_\" 0 0 \"_\" 3 0 0 \"_\"\n";
        };
        const auto convertie = [](const QByteArray& serie, const QByteArray& titre,
                                   const QByteArray& image = "_") {
            return serie + ";" + titre + ";1;D;Sc;E;Bon;0;G;" + image + ";_;_;0;0;_;3;0;0;_\n";
        };
        const QByteArray debut = ancienne("A", "1") + ancienne("B", "2", "x\\y.jpg");
        const QByteArray convertis = convertie("A", "1") + convertie("B", "2", "x/y.jpg");
        QTest::newRow("texte vide") << "bd.db" << debut + ancienne("Blake", "") + ancienne("C", "3")
                                    << 3 << "bd.converti.csv" << convertis;
        QTest::newRow("ligne blanche crlf") << "bd.db" << debut + "\r\n" + ancienne("C", "3") << 3
                                            << "bd.converti.csv" << convertis;
        QTest::newRow("file.CSV") << "file.CSV" << ligneAlbum("S", "T") << 1 << "file.Ccsv"
                                  << QByteArray();
        QTest::newRow("codec 8 bits") << "bd.db" << ancienne("B\xe9zier", "\xc9t\xe9") << 0
                                      << "bd.converti.csv" << convertie("B\xe9zier", "\xc9t\xe9");
    }

    void convertir()
    {
        QFETCH(QString, nom);
        QFETCH(int, ligneFautive);
        QFETCH(QString, converti);
        QFETCH(QByteArray, octets);
        QFETCH(QByteArray, contenu);
        Scene s;
        QVERIFY(s.collection(ligneAlbum("Collection", "C1"), "UTF-8", "ancien/bd.csv"));
        QVERIFY(s.ecrire("ancien/" + nom, contenu));
        QFile::setPermissions(s.chemin("ancien/" + nom), QFile::ReadOwner);
        for (const char* image : { "marque.jpg", "espadon.jpg", ".cachee.jpg", "sous/dedans.jpg" })
            QVERIFY(s.ecrire(QString("ancien/images/") + image, image));
        QVERIFY(s.ecrire("images/marque.jpg", "déjà là"));
        Phylacto& f = s.ouvrir();
        Codecs::setCodec8Bits(QTextCodec::codecForName("Windows-1250"));
        Boites::setProchainFichier(s.chemin("ancien/" + nom));
        QVERIFY(declencherAction(&f, "actionImporter_Csv"));

        QStringList boites(
            "Attention ! Votre fichier va être convertit en CSV. Si vous avez pensez à mettre le "
            "repertoire images au même endroits, les images seront aussi importé.");
        if (ligneFautive > 0)
            boites << QString(
                "Erreur à la ligne %1.\n Merci de toujours laisser 19 parametres, même vide")
                          .arg(ligneFautive);
        QCOMPARE(Boites::textesVus(), boites);
        QCOMPARE(s.lire("ancien/bd.csv"), ligneAlbum("Collection", "C1"));
        QVERIFY(QFile::exists(s.chemin("ancien/" + converti)));
        QCOMPARE(s.lire("ancien/" + converti), octets);
        QCOMPARE(f.getAlbums().size(), 1 + octets.count('\n'));
        for (int i = 1; i < f.getAlbums().size(); ++i) // with an empty colourist
            QCOMPARE(
                EcritureCollection::encoder({ f.getAlbums().at(i) }, Codecs::codec8Bits()).octets,
                octets.split('\n').at(i - 1) + ";\n");
        QCOMPARE(s.lire("images/marque.jpg"), QByteArray("déjà là"));
        QCOMPARE(QDir(s.chemin("images"))
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList({ "espadon.jpg", "marque.jpg" }));
        QVERIFY(!QApplication::overrideCursor());
    }

    void listerEtElaguer()
    {
        DossierTravail dossier;
        for (const auto& [nom, contenu, rang, albums] : dossierListe)
            dossier.ecrire(nom, contenu);
        const auto liste = Sauvegardes::lister(dossier.chemin(), "/ailleurs/col.csv", nullptr);
        QCOMPARE(liste.size(), 3);
        for (const auto& [nom, contenu, rang, albums] : dossierListe) {
            if (rang >= 0)
                QCOMPARE(QStringList({ QFileInfo(liste[rang].chemin).fileName(),
                             QString::number(liste[rang].nbAlbums) }),
                    QStringList({ nom, QString::number(albums) }));
        }
        QCOMPARE(Sauvegardes::elaguer(
                     dossier.chemin(), "col.csv", 1, {}, QDateTime(QDate(2026, 6, 1), {}))
                     .echecs,
            QString());
        for (const auto& [nom, contenu, rang, albums] : dossierListe)
            QCOMPARE(QFile::exists(dossier.chemin(nom)), rang <= 0);
    }

    // Count from the settings window, bytes kept, retention; an older backup restored
    // (refused, then confirmed); a backup that cannot be made; 0 for none.
    void sauvegarderEtRestaurer()
    {
        const QByteArray avant = ligneAlbum("A", "a1", 1).replace("\n", "\r\n");
        Scene dossier(avant);
        Phylacto& fenetre = dossier.ouvrir();
        QVERIFY(declencherAction(&fenetre, "actionConfiguration_reseau"));
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* nombre = enfant<QSpinBox>(w, "sbSauvegardes")) {
                QCOMPARE(nombre->value(), 10);
                QVERIFY(remplir(w, { "sbSauvegardes=2", "pushValider" }));
            }
        for (int fois = 1; fois <= 3; ++fois) {
            fenetre.getCatalogue().attacher(albumTest("S", QString::number(fois)));
            fenetre.save();
            QCOMPARE(sauvegardesDe(dossier).size(), qMin(fois, 2));
            if (fois == 1)
                QCOMPARE(dossier.lire("data/sauvegardes/" + sauvegardesDe(dossier)[0]), avant);
        }

        const QByteArray actuel = dossier.lire("collection.csv");
        QVERIFY(dossier.choisir("A", "a1"));
        fenetre.suppAlbum(); // a step before the restore, on an album it replaces
        dossier.ecrire("data/sauvegardes/collection-2026-01-02-030405.csv",
            ligneAlbum("C", "c1", 1) + ligneAlbum("C", "c2", 2));
        QVERIFY(declencherAction(&fenetre, "actionRestaurer"));
        auto* dialogue = fenetre.findChild<QDialog*>("Restauration");
        auto* table = enfant<QTableWidget>(dialogue, "LstSauvegardes");
        table->selectRow(2);
        for (const auto reponse : { QMessageBox::No, QMessageBox::Yes }) {
            Boites::setProchaineReponse(reponse);
            enfant<QPushButton>(dialogue, "pbRestaurer")->click();
        }
        QVERIFY(fenetre.estModifie());
        QVERIFY(!dialogue->isVisible());
        QCOMPARE(sauvegardesDe(dossier).size(), 4);
        QFile derniere(
            Sauvegardes::lister(dossier.chemin("data/sauvegardes"), "collection.csv", nullptr)[0]
                .chemin);
        QVERIFY(derniere.open(QIODevice::ReadOnly));
        QCOMPARE(derniere.readAll(), actuel);
        QCOMPARE(
            dossier.resume().section(" | ", 0, 4), QString("C | E:C | C: | M: | [C] 1:c1,2:c2"));
        for (const char* action : { "actionAnnuler", "actionAnnuler", "actionRetablir" })
            QVERIFY(declencherAction(&fenetre, action));
        QCOMPARE(dossier.resume().section(" | ", 0, 1), QString("A,S | E:A,S"));
        QVERIFY(declencherAction(&fenetre, "actionRetablir"));
        QCOMPARE(
            dossier.resume().section(" | ", 0, 4), QString("C | E:C | C: | M: | [C] 1:c1,2:c2"));

        QVERIFY(QDir(dossier.chemin("data/sauvegardes")).removeRecursively());
        dossier.ecrire("data/sauvegardes", "");
        fenetre.save();
        QVERIFY(!fenetre.estModifie());
        QVERIFY(dossier.lire("collection.csv") != actuel);
        QCOMPARE(Boites::boitesVues().size(), 3); // the two questions, then this one

        QFile::remove(dossier.chemin("data/sauvegardes"));
        fenetre.getSettings()->setValue("BASE/Sauvegardes", "0");
        fenetre.save();
        QVERIFY(sauvegardesDe(dossier).isEmpty());
        fenetre.getSettings()->setValue("BASE/Sauvegardes", "-1"); // not a count: the default
        QCOMPARE(Parametres::nbSauvegardes(*fenetre.getSettings()), 10);
    }

    // A backup identical to the newest is not added; the one just made stays, even below a
    // newer one; those dated more than a day ahead stay, count for nothing, are told once.
    void sauvegardesDatees()
    {
        Scene s(z1);
        const QString futur = "collection-2099-01-01-000000.csv",
                      proche = "data/sauvegardes/collection-"
            + QDateTime::currentDateTime().addSecs(3600).toString("yyyy-MM-dd-HHmmss") + ".csv";
        QVERIFY(s.parametres({ "BASE/Sauvegardes=1" }));
        QVERIFY(s.ecrire("data/sauvegardes/" + futur, "f"));
        QVERIFY(s.ecrire(proche, z1));
        Phylacto& f = s.ouvrir();
        for (int fois = 1; fois <= 3; ++fois) {
            if (fois == 2)
                f.getCatalogue().attacher(albumTest("S", "T"));
            f.save();
            QCOMPARE(QFile::exists(s.chemin(proche)), fois < 3);
        }
        const QStringList restent = sauvegardesDe(s);
        QCOMPARE(restent.size(), 2);
        QCOMPARE(s.lire("data/sauvegardes/" + restent.first()), z1 + ligneS("T"));
        QCOMPARE(restent.last(), futur);
        QCOMPARE(f.findChild<BarreMessage*>()->notices().filter(futur).size(), 1);
    }

    void encoder_data()
    {
        // Title and comment, type, finished, borrower and cover; then the
        // expected type, finished, borrower and cover.
        QTest::addColumn<QStringList>("v");
        QTest::newRow("à citer") << QStringList { "Le \"Bon\"; a\r\nb\nc", "1", "2", "x", "Comic",
            "oui", "x", "x" };
        QTest::newRow("manga") << QStringList { "\"\"", "2", "1", "", "Manga", "oui", "", "" };
        QTest::newRow("type inconnu")
            << QStringList { "Élève ; ", "7", "0", "_", "BD Euro", "non", "", "" };
    }
    void encoder()
    {
        QFETCH(QStringList, v);
        const BD album("Série", v[0], 3, "Des", "Sc", "Ed", v[0], 0, "G", v[3], v[3], "01/02/2026",
            0.0, v[1].toInt(), "", 5, v[2].toInt(), 0, "", "Co");
        const QStringList ligne { "Série", v[0], "3", "Sc", "Des", "Co", "Ed", "G", v[4], "5", v[5],
            v[6], "01/02/2026", v[0], v[7] };
        QList<QStringList> lignes;
        QVERIFY(lireTableur(ExportTableur::encoder({ &album, &album }), &lignes));
        QCOMPARE(lignes.takeFirst().join(u';'),
            "Série;Titre;Tome;Scénariste;Dessinateur;Coloriste;Editeur;Genre;Type;Note;Série finie;"
            "Emprunteur;Date d'emprunt;Commentaire;Couverture");
        QCOMPARE(lignes, (QList<QStringList> { ligne, ligne }));
    }

    // The explorer's shown rows in the shown order; refused: an unwritable target,
    // the collection file, rows numbered before a deletion.
    void exporterDepuisLaFenetre()
    {
        DossierTravail dossier;
        dossier.collection(ligneAlbum("A", "a1", 1) + ligneAlbum("B", "b1", 1)
            + ligneAlbum("C", "c1", 1).replace("Dessinateur", "Autre") + ligneAlbum("C", "c2", 2));
        Phylacto fenetre;
        fenetre.AfficherRecherche();
        auto* explorateur = fenetre.findChild<QDialog*>("filtre");
        enfant<QComboBox>(explorateur, "cbDessinteur")->setCurrentText("Dessinateur");
        enfant<QTableView>(explorateur, "tableResult")->sortByColumn(1, Qt::DescendingOrder);
        Boites::setProchainFichier(dossier.chemin("lignes")); // ".csv" added
        enfant<QPushButton>(explorateur, "pbExporter")->click();
        QList<QStringList> lignes;
        QVERIFY(lireTableur(dossier.lire("lignes.csv"), &lignes));
        QCOMPARE(lignes.size(), 4);
        QCOMPARE(QStringList({ lignes[1][1], lignes[2][1], lignes[3][1] }),
            QStringList({ "c2", "b1", "a1" }));

        // Added to a name that is taken: asked first, "Non" by default, then the dialog again.
        Boites::setProchainFichier(dossier.chemin("lignes"));
        QVERIFY(declencherAction(&fenetre, "actionExporterTableur"));
        QCOMPARE(Boites::textesVus(), QStringList("lignes.csv existe déjà."));
        Boites::setProchainFichier(dossier.chemin("absent/x.csv"));
        QVERIFY(declencherAction(&fenetre, "actionExporterTableur"));
        Boites::setProchainFichier(dossier.chemin("collection.csv"));
        QVERIFY(declencherAction(&fenetre, "actionExporterTableur"));
        fenetre.getCatalogue().supprimerSerie("A");
        enfant<QPushButton>(explorateur, "pbExporter")->click();
        QCOMPARE(Boites::boitesVues().size(), 4);
        QCOMPARE(Boites::nbDialoguesFichier(), 5);
    }
};

QTEST_MAIN(TestFichiers)
#include "test_fichiers.moc"
