// Entering, changing and deleting albums and series from the main window.
#include "app/phylacto.h"
#include "dialogs/saise.h"
#include "model/bd.h"
#include "model/serie.h"
#include "support/dossiertravail.h"
#include "support/repondeur.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>

namespace {

QStringList textes(const QAbstractItemModel* modele, int colonne = 0)
{
    QStringList liste;
    for (int l = 0; l < modele->rowCount(); ++l)
        liste << modele->index(l, colonne).data().toString();
    return liste;
}

QStringList liste(Phylacto& fenetre, const char* nom = "LstSerie")
{
    return textes(enfant<QListWidget>(&fenetre, nom)->model());
}

// The titles the table shows, sorted unless their row numbers are wanted.
QStringList titres(Phylacto& fenetre, bool trier = true)
{
    QStringList liste = textes(enfant<QTableWidget>(&fenetre, "LstAlbum")->model(), 1);
    if (trier)
        liste.sort();
    return liste;
}

// The one entry dialog the window holds; null when none is open.
Saise* saisieOuverte(Phylacto& fenetre)
{
    const QList<Saise*> saisies = fenetre.findChildren<Saise*>();
    return saisies.size() == 1 && saisies.first()->isVisible() ? saisies.first() : nullptr;
}

// Series, title, volume, artist, writer, colourist, comment, note, publisher, genre.
QStringList contenu(Saise* saisie)
{
    QStringList champs;
    for (const char* nom : { "leSerie", "leAlbum", "leTome", "leDessinateur", "leScenariste",
             "leColoriste", "leComment", "leNote" })
        champs << enfant<QLineEdit>(saisie, nom)->text();
    return champs << enfant<QComboBox>(saisie, "cbEditeur")->currentText()
                  << enfant<QComboBox>(saisie, "cbGenre")->currentText();
}

// What "Valider" sends: series, title, writer, artist, volume, comment, type, note,
// finished, publisher, genre, colourist.
QVariantList envoi(const QString& serie, const QString& titre, int tome = 0, int type = 0,
    int note = 0, int finie = 0, const QString& editeur = "Dargaud")
{
    return { serie, titre, "", "", tome, "", type, note, finie, editeur, "Fantastique", "" };
}

// Types text as keystrokes, accented letters included.
void taper(QWidget* champ, const QString& texte)
{
    for (const QChar c : texte)
        QTest::sendKeyEvent(QTest::Click, champ, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// Selects all, erases and types; a newline cannot be typed, so it is pasted.
void remplacer(Saise* saisie, const char* nom, const QString& texte)
{
    auto* champ = saisie->findChild<QWidget*>(nom);
    QTest::keyClick(champ, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(champ, Qt::Key_Backspace);
    if (texte.contains('\n')) {
        QGuiApplication::clipboard()->setText(texte);
        QTest::keyClick(champ, Qt::Key_V, Qt::ControlModifier);
    } else {
        taper(champ, texte);
    }
}

void valider(Saise* saisie)
{
    enfant<QPushButton>(saisie, "pbValider")->click();
    QCoreApplication::processEvents();
}

// Types a new album through "Ajouter Album".
void saisir(Phylacto& fenetre, const QString& serie, const QString& titre, int tome = 1)
{
    QVERIFY(declencherAction(&fenetre, "actionAjouter_Album"));
    Saise* saisie = saisieOuverte(fenetre);
    QVERIFY(saisie);
    taper(enfant<QLineEdit>(saisie, "leSerie"), serie);
    taper(enfant<QLineEdit>(saisie, "leAlbum"), titre);
    remplacer(saisie, "leTome", QString::number(tome));
    valider(saisie);
}

// Opens the change dialog as a double click on the title cell does.
Saise* modifier(Phylacto& fenetre, const QString& titre)
{
    const int ligne = titres(fenetre, false).indexOf(titre);
    enfant<QTableWidget>(&fenetre, "LstAlbum")->setCurrentCell(ligne, 1);
    fenetre.ModifAlbum(QModelIndex());
    return saisieOuverte(fenetre);
}

} // namespace

class TestEdition : public QObject
{
    Q_OBJECT

private slots:
    void formulaireSuiteEtAnnulation()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligneAlbum("S", "1", 1)
            + "S;2;1;D;S;dargaud;;0;Aventure;;;;0;0;_;0;0;0;;C\n"
              "S;3;1;D;S;;;0;Fantastique;;;;0;0;_;0;0;0;;C\n"
              "S;Vol;5;Des;Sc;Glénat;perso;0;Aventure;;;;0;7;_;3;2;0;;Col\n"
              "S;5;1;D;S;dargaud;;0;Policier;;;;0;0;_;0;0;0;;C\n");
        Phylacto fenetre;
        auto* table = enfant<QTableWidget>(&fenetre, "LstAlbum");
        table->clearSelection();
        fenetre.ajouterSuite();
        Saise* saisie = saisieOuverte(fenetre);
        QVERIFY(saisie);
        QCOMPARE(saisie->windowTitle(), QString("Saisie d'une BD"));
        QVERIFY(saisie->isModal());
        QCOMPARE(contenu(saisie),
            QStringList({ "", "", "0", "", "", "", "", "", "Dargaud", "Fantastique" }));

        // Fixed items first, then what the collection adds: other case and empty included.
        auto* editeur = enfant<QComboBox>(saisie, "cbEditeur");
        auto* genre = enfant<QComboBox>(saisie, "cbGenre");
        QCOMPARE(textes(editeur->model()),
            QStringList({ "Dargaud", "Delcourt", "Soleil", "Futuropolis", "12 bis", "Panini",
                "Urban", "Lombard", "Casterman", "Dupuis", "Ankama", "dargaud", "", "Glénat" }));
        QCOMPARE(textes(genre->model()),
            QStringList({ "Fantastique", "Policier", "Science fiction", "Aventure" }));
        QCOMPARE(editeur->insertPolicy(), QComboBox::InsertAlphabetically);

        const QStringList ordre = { "leSerie", "leAlbum", "leTome", "leDessinateur", "leScenariste",
            "leColoriste", "cbGenre", "cbEditeur", "leComment", "rBBDEuro", "rBManga", "rBComic",
            "leNote", "serieFinie", "pbValider", "pbAnnuler" };
        QStringList parcours;
        for (QWidget* w = enfant<QLineEdit>(saisie, "leSerie"); parcours.size() < ordre.size();
             w = w->nextInFocusChain()) {
            if (ordre.contains(w->objectName()))
                parcours.append(w->objectName());
        }
        QCOMPARE(parcours, ordre);

        // Cancelled: no "Tome 0" in the titles at the end.
        taper(enfant<QLineEdit>(saisie, "leSerie"), "S");
        enfant<QPushButton>(saisie, "pbAnnuler")->click();
        QVERIFY(!saisie->isVisible());

        // A sequel of the selected album: a type 7 shows as Euro and is sent as 0.
        table->selectRow(titres(fenetre, false).indexOf("Vol"));
        fenetre.ajouterSuite();
        QCOMPARE(fenetre.findChildren<Saise*>().size(), 1); // the cancelled one is gone
        saisie = saisieOuverte(fenetre);
        QVERIFY(saisie);
        QCOMPARE(contenu(saisie),
            QStringList({ "S", "", "5", "Des", "Sc", "Col", "", "3", "Glénat", "Aventure" }));
        QVERIFY(enfant<QCheckBox>(saisie, "serieFinie")->isChecked());
        QVERIFY(enfant<QRadioButton>(saisie, "rBBDEuro")->isChecked());
        QSignalSpy spy(saisie, &Saise::nouvelAlbum);
        valider(saisie);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(QVariantList({ spy.first()[1], spy.first()[6], spy.first()[8] }),
            QVariantList({ "Tome 5", 0, 2 }));
        QCOMPARE(titres(fenetre), QStringList({ "1", "2", "3", "5", "Tome 5", "Vol" }));
    }

    void validation_data()
    {
        QTest::addColumn<QString>("serie");
        QTest::addColumn<QStringList>("champs"); // "objectName=text", typed over the form's text
        QTest::addColumn<QStringList>("clics");
        QTest::addColumn<QVariantList>("attendu"); // empty: refused with this message
        QTest::addColumn<QString>("message");

        const QStringList rien;
        const QVariantList refuse;
        QTest::newRow("seulement la série")
            << "Astérix" << rien << rien << envoi("Astérix", "Tome 0") << "";
        QTest::newRow("tome effacé")
            << "S" << QStringList("leTome=") << rien << envoi("S", "Tome ") << "";
        QTest::newRow("série de blancs") << "   " << rien << rien << envoi("   ", "Tome 0") << "";
        QTest::newRow("manga fini") << "M" << QStringList({ "leTome=3", "leNote=4" })
            << QStringList({ "rBManga", "serieFinie" }) << envoi("M", "Tome 3", 3, 2, 4, 2) << "";
        QTest::newRow("comic, tome non entier, éditeur tapé")
            << "C" << QStringList({ "leTome=abc", "leNote=x", "cbEditeur=Glénat" })
            << QStringList("rBComic") << envoi("C", "Tome abc", 0, 1, 0, 0, "Glénat") << "";
        QTest::newRow("sans série") << "" << QStringList("leAlbum=Gardé") << rien << refuse
            << "Un nom de série est necessaire";
        QTest::newRow("; dans le commentaire") << "S" << QStringList("leComment=un;deux") << rien
            << refuse << "Le caractère « ; » n'est pas autorisé dans le champ Commentaire";
        QTest::newRow("; dans l'éditeur") << "S" << QStringList("cbEditeur=A;B") << rien << refuse
            << "Le caractère « ; » n'est pas autorisé dans le champ Editeur";
    }

    void validation()
    {
        QFETCH(QString, serie);
        QFETCH(QStringList, champs);
        QFETCH(QStringList, clics);
        QFETCH(QVariantList, attendu);

        DossierTravail dossier;
        RepondeurModal repondeur;
        Phylacto fenetre;
        QVERIFY(declencherAction(&fenetre, "actionAjouter_Album"));
        Saise* saisie = saisieOuverte(fenetre);
        QVERIFY(saisie);
        QSignalSpy spy(saisie, &Saise::nouvelAlbum);
        taper(enfant<QLineEdit>(saisie, "leSerie"), serie);
        for (const QString& champ : champs)
            remplacer(saisie, qPrintable(champ.section('=', 0, 0)), champ.section('=', 1));
        for (const QString& bouton : clics)
            enfant<QAbstractButton>(saisie, bouton)->click();
        const QStringList tape = contenu(saisie);
        valider(saisie);

        if (attendu.isEmpty()) {
            QTEST(repondeur.textesBoites().join('|'), "message");
            QVERIFY(!repondeur.boites().first().avecParent);
            QVERIFY(saisie->isVisible() && spy.isEmpty() && fenetre.getAlbums().isEmpty());
            QCOMPARE(contenu(saisie), tape);
            saisie->Verify(nullptr); // runs the series check only
            QCOMPARE(repondeur.boites().size(), serie.isEmpty() ? 2 : 1);
            return;
        }
        QVERIFY(repondeur.boites().isEmpty());
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.first(), attendu);
        QVERIFY(!saisie->isVisible());
        const BD* cree = fenetre.getAlbums().first();
        QCOMPARE(QVariantList({ cree->getSerie(), cree->getTitre(), cree->type, cree->serieFinie,
                     cree->getEditeur() }),
            QVariantList({ attendu[0], attendu[1], attendu[6], attendu[8], attendu[9] }));
        QVERIFY(cree->nbEmprunts == 0 && !cree->aUneImage() && !cree->estPretee());
    }

    void ajoutsEtDoublons()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligneAlbum("Akira", "A1", 1) + ligneAlbum("Blake", "B1", 1, 1));
        RepondeurModal repondeur;
        Phylacto fenetre;
        auto* table = enfant<QTableWidget>(&fenetre, "LstAlbum");

        saisir(fenetre, "Blake", "B1");
        QCOMPARE(repondeur.textesBoites(), QStringList("Album B1 de la série Blake déjà existant"));
        QVERIFY(!repondeur.boites().first().avecParent);
        QVERIFY(!fenetre.estModifie());

        // Same title elsewhere or in another case: accepted.
        saisir(fenetre, "Blake", "b1", 7);
        QVERIFY(fenetre.estModifie());
        QCOMPARE(fenetre.findSerie("Blake")->tomeMax, 7);
        QCOMPARE(titres(fenetre), QStringList("A1")); // another series: no row
        saisir(fenetre, "blake", "B1");
        saisir(fenetre, "Akira", "B1", 2);
        QCOMPARE(repondeur.boites().size(), 1);
        QCOMPARE(enfant<QLabel>(&fenetre, "lbTotale")->text(), QString("5"));

        // The shown series gets its row and the panel shows the new album.
        QCOMPARE(titres(fenetre), QStringList({ "A1", "B1" }));
        QCOMPARE(table->item(titres(fenetre, false).indexOf("B1"), 0)->text(), QString("2"));
        QCOMPARE(enfant<QLineEdit>(&fenetre, "leTitre")->text(), QString("B1"));

        // A new series: listed in General and in its kind, no row.
        QVERIFY(declencherAction(&fenetre, "actionAjouter_Album"));
        Saise* saisie = saisieOuverte(fenetre);
        taper(enfant<QLineEdit>(saisie, "leSerie"), "Zorro");
        enfant<QRadioButton>(saisie, "rBManga")->click();
        valider(saisie);
        QVERIFY(liste(fenetre).contains("Zorro"));
        QCOMPARE(liste(fenetre, "LstManga"), QStringList("Zorro"));
        QVERIFY(!liste(fenetre, "LstBDEuro").contains("Zorro"));
        QCOMPARE(enfant<QLabel>(&fenetre, "lbManga")->text(), QString("1"));
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(fenetre.getSerieCourante(), QString("Akira"));
    }

    void doubleClic()
    {
        DossierTravail dossier;
        dossier.ecrireCollection("Akira;A1;4;D;S;Dargaud;dédicacé;0;Aventure;;;;0;0;_;0;0;0;;C\n");
        Phylacto fenetre;
        fenetre.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fenetre));
        auto* table = enfant<QTableWidget>(&fenetre, "LstAlbum");
        for (int colonne : { 0, 1 }) {
            const QPoint centre = table->visualItemRect(table->item(0, colonne)).center();
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, centre);
            QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, centre);
            if (colonne == 0) // "N°"
                QVERIFY(fenetre.findChildren<Saise*>().isEmpty());
        }
        Saise* saisie = saisieOuverte(fenetre);
        QVERIFY(saisie);
        QCOMPARE(contenu(saisie),
            QStringList(
                { "Akira", "A1", "4", "D", "S", "C", "dédicacé", "0", "Dargaud", "Aventure" }));
    }

    void changements()
    {
        // A file may repeat an album: either copy stays editable under its own
        // series and title, but cannot take another album's pair.
        DossierTravail dossier;
        dossier.ecrireCollection(
            "Akira;A1;1;D;S;Dargaud;rare;0;Aventure;images//a1.jpg;Marc;;0;0;_;0;0;3;;C\n"
            "Akira;A1;1;D;S;Dargaud;copie;0;Aventure;;;;0;0;_;0;0;0;;C\n"
            + ligneAlbum("Akira", "A2", 2) + ligneAlbum("Blake", "B1", 1));
        RepondeurModal repondeur;
        Phylacto fenetre;
        auto* table = enfant<QTableWidget>(&fenetre, "LstAlbum");
        BD* cible = fenetre.getAlbums().first();

        Saise* saisie = modifier(fenetre, "A1");
        QVERIFY(saisie);
        remplacer(saisie, "leComment", "corrigé");
        remplacer(saisie, "leTome", "3");
        valider(saisie);
        QCOMPARE(
            QVariantList({ cible->getCommentaire(), cible->tome }), QVariantList({ "corrigé", 3 }));
        QCOMPARE(fenetre.getAlbums().at(1)->getCommentaire(), QString("copie"));
        QVERIFY(fenetre.estModifie());

        fenetre.setModifie(false);
        remplacer(modifier(fenetre, "A1"), "leAlbum", "A2");
        valider(saisieOuverte(fenetre));
        QCOMPARE(repondeur.textesBoites(), QStringList("Album A2 de la série Akira déjà existant"));
        QCOMPARE(cible->getTitre(), QString("A1"));
        QVERIFY(!fenetre.estModifie());

        // Cover, loan and comment stay through a title change.
        saisie = modifier(fenetre, "A1");
        remplacer(saisie, "leAlbum", "Nouveau");
        remplacer(saisie, "leTome", "9");
        valider(saisie);
        QCOMPARE(QVariantList({ cible->getTitre(), cible->tome, cible->getImage(),
                     cible->getEmprunteur(), cible->nbEmprunts, cible->getCommentaire() }),
            QVariantList({ "Nouveau", 9, "images//a1.jpg", "Marc", 3, "corrigé" }));
        QCOMPARE(fenetre.findSerie("Akira")->tomeMax, 9);
        QVERIFY(fenetre.estModifie());
        QCOMPARE(table->rowCount(), 3);
        QCOMPARE(table->item(titres(fenetre, false).indexOf("Nouveau"), 0)->text(), QString("9"));
        QCOMPARE(enfant<QLineEdit>(&fenetre, "leTitre")->text(), QString("Nouveau"));
        QCOMPARE(enfant<QPushButton>(&fenetre, "pbPreter")->text(), QString("BD pretée à Marc"));

        remplacer(modifier(fenetre, "A2"), "leAlbum", "Nouveau");
        valider(saisieOuverte(fenetre));
        QCOMPARE(repondeur.textesBoites().last(),
            QString("Album Nouveau de la série Akira déjà existant"));
        QCOMPARE(fenetre.getAlbums().at(2)->getTitre(), QString("A2"));

        // Into a series typed for the first time, then into an existing one.
        saisie = modifier(fenetre, "A1");
        remplacer(saisie, "leSerie", "Neuve");
        enfant<QRadioButton>(saisie, "rBComic")->click();
        valider(saisie);
        QCOMPARE(fenetre.getAlbums().at(1)->getSerie(), QString("Neuve"));
        QCOMPARE(fenetre.findSerie("Neuve")->type, 1);
        QCOMPARE(liste(fenetre), QStringList({ "Akira", "Blake", "Neuve" }));
        QCOMPARE(liste(fenetre, "LstComics"), QStringList("Neuve"));
        QCOMPARE(titres(fenetre), QStringList({ "A2", "Nouveau" }));
        QCOMPARE(enfant<QLineEdit>(&fenetre, "leSerie")->text(), QString("Neuve"));
        remplacer(modifier(fenetre, "A2"), "leSerie", "Blake");
        valider(saisieOuverte(fenetre));
        QCOMPARE(fenetre.getAlbums().at(2)->getSerie(), QString("Blake"));
        QCOMPARE(fenetre.findSerie("Blake")->tomeMax, 2);
        QCOMPARE(titres(fenetre), QStringList("Nouveau"));
        enfant<QListWidget>(&fenetre, "LstSerie")->setCurrentRow(1);
        QCOMPARE(titres(fenetre), QStringList({ "A2", "B1" }));
    }

    void suppressions()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligneAlbum("Beta", "Tome 1", 1) + ligneAlbum("Alpha", "Tome 1", 1)
            + ligneAlbum("Alpha", "A2", 2) + ligneAlbum("Alpha", "A3", 3)
            + ligneAlbum("Gamma", "G1", 1) + ligneAlbum("Alpha", "A4", 4));
        Phylacto fenetre;
        auto* table = enfant<QTableWidget>(&fenetre, "LstAlbum");
        QPointer<BD> album = fenetre.getAlbums().at(1);
        QPointer<BD> suivant = fenetre.getAlbums().at(2);

        // The "N°" cell names the row's album too.
        table->setCurrentCell(titres(fenetre, false).indexOf("Tome 1"), 0);
        fenetre.suppAlbum();
        QVERIFY(!fenetre.getAlbums().contains(album)); // kept alive for undo only
        QCOMPARE(fenetre.getAlbums().first()->getSerie(), QString("Beta"));
        QCOMPARE(titres(fenetre), QStringList({ "A2", "A3", "A4" }));
        QCOMPARE(enfant<QLabel>(&fenetre, "lbTotale")->text(), QString("5"));
        QVERIFY(fenetre.estModifie());

        fenetre.setModifie(false);
        fenetre.suppSerie();
        QVERIFY(!fenetre.getAlbums().contains(suivant) && !fenetre.findSerie("Alpha"));
        QCOMPARE(fenetre.getAlbums().size(), 2);
        QCOMPARE(enfant<QLabel>(&fenetre, "lbTotale")->text(), QString("2"));
        QCOMPARE(enfant<QLabel>(&fenetre, "lbEuro")->text(), QString("2"));
        QCOMPARE(liste(fenetre), QStringList({ "Beta", "Gamma" }));
        QCOMPARE(liste(fenetre, "LstBDEuro"), QStringList({ "Beta", "Gamma" }));
        QVERIFY(fenetre.estModifie());
        // The selection moved on: the table shows the series now selected.
        QCOMPARE(titres(fenetre),
            QStringList(fenetre.getSerieCourante() == "Beta" ? "Tome 1" : "G1"));

        // A name removed then entered again comes back as a new series; its
        // last album's deletion keeps it listed.
        saisir(fenetre, "Alpha", "A9");
        QCOMPARE(liste(fenetre, "LstBDEuro"), QStringList({ "Alpha", "Beta", "Gamma" }));
        enfant<QListWidget>(&fenetre, "LstSerie")->setCurrentRow(0);
        table->setCurrentCell(0, 1);
        fenetre.suppAlbum();
        QCOMPARE(table->rowCount(), 0);
        QVERIFY(enfant<QLineEdit>(&fenetre, "leTitre")->text().isEmpty());
        QCOMPARE(liste(fenetre), QStringList({ "Alpha", "Beta", "Gamma" }));

        // Nothing to delete: nothing changes.
        fenetre.setModifie(false);
        fenetre.suppAlbum();
        QVERIFY(!fenetre.estModifie());
        for (int i = 0; i < 3; ++i)
            fenetre.suppSerie();
        QVERIFY(fenetre.getAlbums().isEmpty() && liste(fenetre).isEmpty());
        QCOMPARE(enfant<QLabel>(&fenetre, "lbTotale")->text(), QString("0"));
        fenetre.setModifie(false);
        fenetre.suppSerie();
        QVERIFY(!fenetre.estModifie());
    }
};

QTEST_MAIN(TestEdition)
#include "test_edition.moc"
