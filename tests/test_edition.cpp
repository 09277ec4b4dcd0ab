// Entering, changing and deleting albums and series from the main window.
#include "app/phylacto.h"
#include "dialogs/saise.h"
#include "model/bd.h"
#include "model/serie.h"
#include "support/dossiertravail.h"
#include "support/repondeur.h"

#include <QCheckBox>
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

struct Album
{
    QString serie;
    QString titre;
    int tome = 1;
    int type = 0;
    QString editeur = QStringLiteral("Dargaud");
    QString genre = QStringLiteral("Aventure");
    QString commentaire;
    QString image;
    QString emprunteur;
    int note = 0;
    int serieFinie = 0;
    int nbEmprunts = 0;
};

Album album(const QString& serie, const QString& titre)
{
    Album a;
    a.serie = serie;
    a.titre = titre;
    return a;
}

QByteArray ligne(const Album& a)
{
    return QStringLiteral("%1;%2;%3;Dess;Scen;%4;%5;0;%6;%7;%8;;0;%9;_;%10;%11;%12;;Col\n")
        .arg(a.serie, a.titre, QString::number(a.tome), a.editeur, a.commentaire, a.genre, a.image,
            a.emprunteur, QString::number(a.type))
        .arg(a.note)
        .arg(a.serieFinie)
        .arg(a.nbEmprunts)
        .toUtf8();
}

QStringList textes(const QComboBox* liste)
{
    QStringList items;
    for (int i = 0; i < liste->count(); ++i)
        items.append(liste->itemText(i));
    return items;
}

QStringList textes(const QListWidget* liste)
{
    QStringList items;
    for (int i = 0; i < liste->count(); ++i)
        items.append(liste->item(i)->text());
    return items;
}

QStringList colonne(const QTableWidget* table, int col)
{
    QStringList cellules;
    for (int l = 0; l < table->rowCount(); ++l)
        cellules.append(table->item(l, col) ? table->item(l, col)->text() : QString());
    return cellules;
}

// The titles the table shows, whatever its sort order.
QStringList titres(const QTableWidget* table)
{
    QStringList liste = colonne(table, 1);
    liste.sort();
    return liste;
}

// The one entry dialog the window holds; null when none is open.
Saise* saisieOuverte(Phylacto& fenetre)
{
    const QList<Saise*> saisies = fenetre.findChildren<Saise*>();
    if (saisies.size() != 1 || !saisies.first()->isVisible())
        return nullptr;
    return saisies.first();
}

// Types text as keystrokes, accented letters included.
void taper(QWidget* champ, const QString& texte)
{
    for (const QChar c : texte)
        QTest::sendKeyEvent(QTest::Click, champ, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void remplacer(QLineEdit* champ, const QString& texte)
{
    champ->selectAll();
    QTest::keyClick(champ, Qt::Key_Backspace);
    taper(champ, texte);
}

void valider(Saise* saisie)
{
    enfant<QPushButton>(saisie, "pbValider")->click();
    QCoreApplication::processEvents();
}

// Types a new album through "Ajouter Album".
void saisir(
    Phylacto& fenetre, const QString& serie, const QString& titre, const QString& tome = "1")
{
    QVERIFY(declencherAction(&fenetre, "actionAjouter_Album"));
    Saise* saisie = saisieOuverte(fenetre);
    QVERIFY(saisie);
    taper(enfant<QLineEdit>(saisie, "leSerie"), serie);
    taper(enfant<QLineEdit>(saisie, "leAlbum"), titre);
    remplacer(enfant<QLineEdit>(saisie, "leTome"), tome);
    valider(saisie);
}

void choisirSerie(Phylacto& fenetre, const QString& nom)
{
    auto* liste = enfant<QListWidget>(&fenetre, "LstSerie");
    const QList<QListWidgetItem*> trouves = liste->findItems(nom, Qt::MatchExactly);
    QVERIFY(!trouves.isEmpty());
    liste->setCurrentItem(trouves.first());
}

int ligneDuTitre(Phylacto& fenetre, const QString& titre)
{
    return colonne(enfant<QTableWidget>(&fenetre, "LstAlbum"), 1).indexOf(titre);
}

// Opens the change dialog as a double click on the title cell does.
Saise* modifier(Phylacto& fenetre, const QString& titre)
{
    auto* table = enfant<QTableWidget>(&fenetre, "LstAlbum");
    table->setCurrentCell(ligneDuTitre(fenetre, titre), 1);
    fenetre.ModifAlbum(QModelIndex());
    return saisieOuverte(fenetre);
}

const QStringList editeursFixes = { "Dargaud", "Delcourt", "Soleil", "Futuropolis", "12 bis",
    "Panini", "Urban", "Lombard", "Casterman", "Dupuis", "Ankama" };
const QStringList genresFixes = { "Fantastique", "Policier", "Science fiction" };

} // namespace

class TestEdition : public QObject
{
    Q_OBJECT

private slots:
    void formulaire()
    {
        DossierTravail dossier;
        Phylacto fenetre;
        fenetre.ajouterAlbum();
        Saise* saisie = saisieOuverte(fenetre);
        QVERIFY(saisie);
        QCOMPARE(saisie->objectName(), QString("Saise"));
        QCOMPARE(saisie->windowTitle(), QString("Saisie d'une BD"));
        QVERIFY(saisie->isModal());
        auto* editeur = enfant<QComboBox>(saisie, "cbEditeur");
        auto* genre = enfant<QComboBox>(saisie, "cbGenre");
        QCOMPARE(textes(editeur), editeursFixes);
        QCOMPARE(textes(genre), genresFixes);
        QCOMPARE(editeur->insertPolicy(), QComboBox::InsertAlphabetically);
        QVERIFY(editeur->isEditable() && genre->isEditable());
        QVERIFY(enfant<QRadioButton>(saisie, "rBBDEuro")->isChecked());
        QCOMPARE(enfant<QLineEdit>(saisie, "leTome")->text(), QString("0"));
        QCOMPARE(enfant<QCheckBox>(saisie, "serieFinie")->layoutDirection(), Qt::RightToLeft);

        const QList<QPair<QString, QString>> etiquettes = { { "label", "Serie" },
            { "label_2", "Album" }, { "label_5", "Tome" }, { "label_3", "Dessinateur" },
            { "label_4", "Scenariste" }, { "label_10", "Coloriste" }, { "label_8", "Genre" },
            { "label_9", "Editeur" }, { "label_7", "Commentaire" }, { "label_6", "Note" } };
        for (const auto& [nom, texte] : etiquettes)
            QCOMPARE(enfant<QLabel>(saisie, nom)->text(), texte);

        const QStringList ordre = { "leSerie", "leAlbum", "leTome", "leDessinateur", "leScenariste",
            "leColoriste", "cbGenre", "cbEditeur", "leComment", "rBBDEuro", "rBManga", "rBComic",
            "leNote", "serieFinie", "pbValider", "pbAnnuler" };
        QStringList parcours;
        QWidget* w = enfant<QLineEdit>(saisie, "leSerie");
        while (parcours.size() < ordre.size()) {
            if (ordre.contains(w->objectName()))
                parcours.append(w->objectName());
            w = w->nextInFocusChain();
        }
        QCOMPARE(parcours, ordre);
    }

    void emission_data()
    {
        QTest::addColumn<QString>("serie");
        QTest::addColumn<QString>("tome"); // null: left as the form has it
        QTest::addColumn<QString>("bouton");
        QTest::addColumn<bool>("finie");
        QTest::addColumn<QString>("note");
        QTest::addColumn<QString>("editeur"); // null: left as the form has it
        QTest::addColumn<QVariantList>("attendu");

        QTest::newRow("seulement la série")
            << "Astérix" << QString() << QString() << false << QString() << QString()
            << QVariantList { "Astérix", "Tome 0", "", "", 0, "", 0, 0, 0, "Dargaud", "Fantastique",
                   "" };
        QTest::newRow("tome effacé")
            << "S"
            << "" << QString() << false << QString() << QString()
            << QVariantList { "S", "Tome ", "", "", 0, "", 0, 0, 0, "Dargaud", "Fantastique", "" };
        QTest::newRow("série de blancs")
            << "   " << QString() << QString() << false << QString() << QString()
            << QVariantList { "   ", "Tome 0", "", "", 0, "", 0, 0, 0, "Dargaud", "Fantastique",
                   "" };
        QTest::newRow("manga fini")
            << "M"
            << "3"
            << "rBManga" << true << "4" << QString()
            << QVariantList { "M", "Tome 3", "", "", 3, "", 2, 4, 2, "Dargaud", "Fantastique", "" };
        QTest::newRow("comic, tome non entier, éditeur tapé")
            << "C"
            << "abc"
            << "rBComic" << false << "x"
            << "Glénat"
            << QVariantList { "C", "Tome abc", "", "", 0, "", 1, 0, 0, "Glénat", "Fantastique",
                   "" };
    }

    void emission()
    {
        QFETCH(QString, serie);
        QFETCH(QString, tome);
        QFETCH(QString, bouton);
        QFETCH(bool, finie);
        QFETCH(QString, note);
        QFETCH(QString, editeur);
        QFETCH(QVariantList, attendu);

        DossierTravail dossier;
        Phylacto fenetre;
        QVERIFY(declencherAction(&fenetre, "actionAjouter_Album"));
        Saise* saisie = saisieOuverte(fenetre);
        QVERIFY(saisie);
        QSignalSpy spy(saisie, &Saise::nouvelAlbum);
        taper(enfant<QLineEdit>(saisie, "leSerie"), serie);
        if (!tome.isNull())
            remplacer(enfant<QLineEdit>(saisie, "leTome"), tome);
        if (!bouton.isEmpty())
            QTest::mouseClick(enfant<QRadioButton>(saisie, bouton), Qt::LeftButton);
        if (finie)
            enfant<QCheckBox>(saisie, "serieFinie")->click();
        taper(enfant<QLineEdit>(saisie, "leNote"), note);
        if (!editeur.isNull()) {
            auto* cb = enfant<QComboBox>(saisie, "cbEditeur");
            cb->clearEditText();
            taper(cb, editeur);
        }
        valider(saisie);

        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.first(), attendu);
        QVERIFY(!saisie->isVisible());
        // The window received the same values.
        QCOMPARE(fenetre.getAlbums().size(), 1);
        const BD* cree = fenetre.getAlbums().first();
        QCOMPARE(cree->getSerie(), attendu.at(0).toString());
        QCOMPARE(cree->getTitre(), attendu.at(1).toString());
        QCOMPARE(cree->type, attendu.at(6).toInt());
        QCOMPARE(cree->serieFinie, attendu.at(8).toInt());
        QCOMPARE(cree->getEditeur(), attendu.at(9).toString());
        QCOMPARE(cree->nbEmprunts, 0);
        QVERIFY(!cree->aUneImage() && !cree->estPretee());
    }

    void refusALaValidation()
    {
        DossierTravail dossier;
        RepondeurModal repondeur;
        Phylacto fenetre;
        fenetre.ajouterAlbum();
        Saise* saisie = saisieOuverte(fenetre);
        QSignalSpy spy(saisie, &Saise::nouvelAlbum);
        taper(enfant<QLineEdit>(saisie, "leAlbum"), "Gardé");
        valider(saisie);
        QCOMPARE(repondeur.textesBoites(), QStringList("Un nom de série est necessaire"));
        QVERIFY(!repondeur.boites().first().avecParent);
        saisie->Verify(nullptr);
        QCOMPARE(repondeur.boites().size(), 2);
        repondeur.oublier();

        taper(enfant<QLineEdit>(saisie, "leSerie"), "S");
        taper(enfant<QLineEdit>(saisie, "leComment"), "un;deux");
        valider(saisie);
        QCOMPARE(repondeur.textesBoites().last(),
            QString("Le caractère « ; » n'est pas autorisé dans le champ Commentaire"));
        enfant<QLineEdit>(saisie, "leComment")->setText("un deux");
        enfant<QComboBox>(saisie, "cbEditeur")->setEditText("A;B");
        valider(saisie);
        QCOMPARE(repondeur.textesBoites().last(),
            QString("Le caractère « ; » n'est pas autorisé dans le champ Editeur"));
        QCOMPARE(spy.count(), 0);
        QVERIFY(saisie->isVisible());
        QCOMPARE(enfant<QLineEdit>(saisie, "leAlbum")->text(), QString("Gardé"));
        QVERIFY(fenetre.getAlbums().isEmpty());

        enfant<QComboBox>(saisie, "cbEditeur")->setEditText("AB");
        enfant<QLineEdit>(saisie, "leDessinateur")->setText("ligne\nsuivante");
        valider(saisie);
        QCOMPARE(repondeur.textesBoites().last(),
            QString("Les retours à la ligne ne sont pas autorisés dans le champ Dessinateur"));
        QCOMPARE(spy.count(), 0);

        enfant<QLineEdit>(saisie, "leDessinateur")->setText("Moebius");
        valider(saisie);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(repondeur.boites().size(), 3);
    }

    void annuler()
    {
        DossierTravail dossier;
        Phylacto fenetre;
        fenetre.ajouterAlbum();
        Saise* saisie = saisieOuverte(fenetre);
        QSignalSpy spy(saisie, &Saise::nouvelAlbum);
        taper(enfant<QLineEdit>(saisie, "leSerie"), "S");
        enfant<QPushButton>(saisie, "pbAnnuler")->click();
        QVERIFY(!saisie->isVisible());

        fenetre.ajouterAlbum();
        QCOMPARE(fenetre.findChildren<Saise*>().size(), 1); // the closed one is gone
        saisie = saisieOuverte(fenetre);
        QSignalSpy spy2(saisie, &Saise::nouvelAlbum);
        taper(enfant<QLineEdit>(saisie, "leSerie"), "S");
        saisie->close();
        QCOMPARE(spy.count(), 0);
        QCOMPARE(spy2.count(), 0);
        QVERIFY(fenetre.getAlbums().isEmpty());
        QVERIFY(!fenetre.estModifie());
    }

    void listesEtenduesParLaCollection()
    {
        DossierTravail dossier;
        Album a = album("S", "1");
        Album b = album("S", "2");
        b.editeur = "dargaud";
        Album c = album("S", "3");
        c.editeur = "";
        c.genre = "Fantastique";
        Album d = album("S", "4");
        d.editeur = "Glénat";
        Album e = album("S", "5");
        e.editeur = "dargaud";
        e.genre = "Policier";
        dossier.ecrireCollection(ligne(a) + ligne(b) + ligne(c) + ligne(d) + ligne(e));
        Phylacto fenetre;
        fenetre.ajouterAlbum();
        Saise* saisie = saisieOuverte(fenetre);
        QCOMPARE(textes(enfant<QComboBox>(saisie, "cbEditeur")),
            editeursFixes + QStringList({ "dargaud", "", "Glénat" }));
        QCOMPARE(
            textes(enfant<QComboBox>(saisie, "cbGenre")), genresFixes + QStringList { "Aventure" });
        QCOMPARE(enfant<QComboBox>(saisie, "cbEditeur")->currentText(), QString("Dargaud"));
    }

    void suiteDUnAlbum()
    {
        DossierTravail dossier;
        Album a = album("Mortelle", "Vol");
        a.tome = 5;
        a.type = 7;
        a.editeur = "Glénat";
        a.commentaire = "note perso";
        a.note = 3;
        a.serieFinie = 2;
        dossier.ecrireCollection(ligne(a));
        Phylacto fenetre;
        auto* table = enfant<QTableWidget>(&fenetre, "LstAlbum");

        // Nothing selected: the empty form.
        table->clearSelection();
        fenetre.ajouterSuite();
        Saise* saisie = saisieOuverte(fenetre);
        QVERIFY(enfant<QLineEdit>(saisie, "leSerie")->text().isEmpty());
        QCOMPARE(enfant<QLineEdit>(saisie, "leTome")->text(), QString("0"));
        saisie->close();

        table->selectRow(0);
        fenetre.ajouterSuite();
        saisie = saisieOuverte(fenetre);
        QVERIFY(saisie);
        QCOMPARE(enfant<QLineEdit>(saisie, "leSerie")->text(), QString("Mortelle"));
        QCOMPARE(enfant<QLineEdit>(saisie, "leTome")->text(), QString("5"));
        QCOMPARE(enfant<QLineEdit>(saisie, "leNote")->text(), QString("3"));
        QCOMPARE(enfant<QLineEdit>(saisie, "leDessinateur")->text(), QString("Dess"));
        QCOMPARE(enfant<QLineEdit>(saisie, "leColoriste")->text(), QString("Col"));
        QVERIFY(enfant<QLineEdit>(saisie, "leAlbum")->text().isEmpty());
        QVERIFY(enfant<QLineEdit>(saisie, "leComment")->text().isEmpty());
        QCOMPARE(enfant<QComboBox>(saisie, "cbEditeur")->currentText(), QString("Glénat"));
        QCOMPARE(enfant<QComboBox>(saisie, "cbGenre")->currentText(), QString("Aventure"));
        QVERIFY(enfant<QCheckBox>(saisie, "serieFinie")->isChecked());
        QVERIFY(enfant<QRadioButton>(saisie, "rBBDEuro")->isChecked());

        QSignalSpy spy(saisie, &Saise::nouvelAlbum);
        valider(saisie);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.first().at(1).toString(), QString("Tome 5"));
        QCOMPARE(spy.first().at(6).toInt(), 0); // type 7 shown as Euro
        QCOMPARE(spy.first().at(8).toInt(), 2);
        QCOMPARE(fenetre.getAlbums().size(), 2);
        QCOMPARE(titres(table), QStringList({ "Tome 5", "Vol" }));
    }

    void ajoutsEtDoublons()
    {
        DossierTravail dossier;
        Album blake = album("Blake", "B1");
        blake.type = 1;
        dossier.ecrireCollection(ligne(album("Akira", "A1")) + ligne(blake));
        RepondeurModal repondeur;
        Phylacto fenetre;
        auto* table = enfant<QTableWidget>(&fenetre, "LstAlbum");
        QCOMPARE(fenetre.getSerieCourante(), QString("Akira"));

        saisir(fenetre, "Blake", "B1");
        QCOMPARE(repondeur.textesBoites(), QStringList("Album B1 de la série Blake déjà existant"));
        QVERIFY(!repondeur.boites().first().avecParent);
        QCOMPARE(fenetre.getAlbums().size(), 2);
        QVERIFY(!fenetre.estModifie());

        // Same title elsewhere or in another case: accepted.
        saisir(fenetre, "Blake", "b1", "7");
        QVERIFY(fenetre.estModifie());
        QCOMPARE(fenetre.findSerie("Blake")->tomeMax, 7);
        QCOMPARE(titres(table), QStringList("A1")); // another series: no row
        saisir(fenetre, "blake", "B1");
        saisir(fenetre, "Akira", "B1", "2");
        QCOMPARE(repondeur.boites().size(), 1);
        QCOMPARE(fenetre.getAlbums().size(), 5);
        QCOMPARE(enfant<QLabel>(&fenetre, "lbTotale")->text(), QString("5"));

        // The shown series gets its row and the panel shows the new album.
        QCOMPARE(titres(table), QStringList({ "A1", "B1" }));
        QCOMPARE(table->item(ligneDuTitre(fenetre, "B1"), 0)->text(), QString("2"));
        QVERIFY(!(table->item(1, 0)->flags() & Qt::ItemIsEditable));
        QCOMPARE(enfant<QLineEdit>(&fenetre, "leSerie")->text(), QString("Akira"));
        QCOMPARE(enfant<QLineEdit>(&fenetre, "leTitre")->text(), QString("B1"));

        // A new series: listed in General and in its kind, no row.
        QVERIFY(declencherAction(&fenetre, "actionAjouter_Album"));
        Saise* saisie = saisieOuverte(fenetre);
        taper(enfant<QLineEdit>(saisie, "leSerie"), "Zorro");
        enfant<QRadioButton>(saisie, "rBManga")->click();
        valider(saisie);
        QVERIFY(textes(enfant<QListWidget>(&fenetre, "LstSerie")).contains("Zorro"));
        QCOMPARE(textes(enfant<QListWidget>(&fenetre, "LstManga")), QStringList("Zorro"));
        QVERIFY(!textes(enfant<QListWidget>(&fenetre, "LstBDEuro")).contains("Zorro"));
        QCOMPARE(enfant<QLabel>(&fenetre, "lbManga")->text(), QString("1"));
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(fenetre.getSerieCourante(), QString("Akira"));
    }

    void doubleClic()
    {
        DossierTravail dossier;
        Album a = album("Akira", "A1");
        a.commentaire = "dédicacé";
        a.tome = 4;
        dossier.ecrireCollection(ligne(a));
        Phylacto fenetre;
        fenetre.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fenetre));
        auto* table = enfant<QTableWidget>(&fenetre, "LstAlbum");

        const QPoint numero = table->visualItemRect(table->item(0, 0)).center();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, numero);
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, numero);
        QVERIFY(fenetre.findChildren<Saise*>().isEmpty());

        const QPoint titre = table->visualItemRect(table->item(0, 1)).center();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, titre);
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, titre);
        Saise* saisie = saisieOuverte(fenetre);
        QVERIFY(saisie);
        QCOMPARE(enfant<QLineEdit>(saisie, "leAlbum")->text(), QString("A1"));
        QCOMPARE(enfant<QLineEdit>(saisie, "leComment")->text(), QString("dédicacé"));
        QCOMPARE(enfant<QLineEdit>(saisie, "leTome")->text(), QString("4"));
        saisie->close();
    }

    void changementDeTitre()
    {
        DossierTravail dossier;
        Album a = album("Akira", "A1");
        a.image = "images//a1.jpg";
        a.emprunteur = "Marc";
        a.nbEmprunts = 3;
        a.commentaire = "rare";
        a.tome = 1;
        Album b = album("Akira", "A2");
        b.tome = 2;
        dossier.ecrireCollection(ligne(a) + ligne(b));
        RepondeurModal repondeur;
        Phylacto fenetre;
        auto* table = enfant<QTableWidget>(&fenetre, "LstAlbum");
        BD* cible = fenetre.getAlbums().first();

        Saise* saisie = modifier(fenetre, "A1");
        QVERIFY(saisie);
        remplacer(enfant<QLineEdit>(saisie, "leAlbum"), "Nouveau");
        remplacer(enfant<QLineEdit>(saisie, "leTome"), "9");
        valider(saisie);

        QCOMPARE(cible->getTitre(), QString("Nouveau"));
        QCOMPARE(cible->tome, 9);
        QCOMPARE(cible->getImage(), QString("images//a1.jpg"));
        QCOMPARE(cible->getEmprunteur(), QString("Marc"));
        QCOMPARE(cible->nbEmprunts, 3);
        QCOMPARE(cible->getCommentaire(), QString("rare"));
        QCOMPARE(fenetre.findSerie("Akira")->tomeMax, 9);
        QVERIFY(fenetre.estModifie());
        const int l = ligneDuTitre(fenetre, "Nouveau");
        QVERIFY(l >= 0);
        QCOMPARE(table->item(l, 0)->text(), QString("9"));
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(enfant<QLineEdit>(&fenetre, "leTitre")->text(), QString("Nouveau"));
        QCOMPARE(enfant<QPushButton>(&fenetre, "pbPreter")->text(), QString("BD pretée à Marc"));

        // Taking the title of another album of the series is refused.
        saisie = modifier(fenetre, "A2");
        remplacer(enfant<QLineEdit>(saisie, "leAlbum"), "Nouveau");
        valider(saisie);
        QCOMPARE(
            repondeur.textesBoites(), QStringList("Album Nouveau de la série Akira déjà existant"));
        QCOMPARE(fenetre.getAlbums().at(1)->getTitre(), QString("A2"));
    }

    void changementDUnAlbumEnDouble()
    {
        // A file may repeat an album: either copy stays editable under its own
        // series and title, but cannot take another album's pair.
        DossierTravail dossier;
        Album a = album("Akira", "A1");
        a.commentaire = "premier";
        dossier.ecrireCollection(ligne(a) + ligne(a) + ligne(album("Akira", "A2")));
        RepondeurModal repondeur;
        Phylacto fenetre;
        BD* premier = fenetre.getAlbums().first();

        Saise* saisie = modifier(fenetre, "A1");
        QVERIFY(saisie);
        remplacer(enfant<QLineEdit>(saisie, "leComment"), "corrigé");
        remplacer(enfant<QLineEdit>(saisie, "leTome"), "3");
        valider(saisie);
        QVERIFY(repondeur.boites().isEmpty());
        QCOMPARE(premier->getCommentaire(), QString("corrigé"));
        QCOMPARE(premier->tome, 3);
        QCOMPARE(fenetre.getAlbums().at(1)->getCommentaire(), QString("premier"));
        QVERIFY(fenetre.estModifie());

        fenetre.setModifie(false);
        saisie = modifier(fenetre, "A1");
        remplacer(enfant<QLineEdit>(saisie, "leAlbum"), "A2");
        valider(saisie);
        QCOMPARE(repondeur.textesBoites(), QStringList("Album A2 de la série Akira déjà existant"));
        QCOMPARE(premier->getTitre(), QString("A1"));
        QVERIFY(!fenetre.estModifie());
    }

    void changementDeSerie()
    {
        DossierTravail dossier;
        Album a = album("Akira", "A1");
        a.tome = 1;
        Album b = album("Akira", "A2");
        b.tome = 2;
        Album c = album("Blake", "B1");
        c.tome = 1;
        dossier.ecrireCollection(ligne(a) + ligne(b) + ligne(c));
        Phylacto fenetre;
        auto* table = enfant<QTableWidget>(&fenetre, "LstAlbum");
        BD* cible = fenetre.getAlbums().first();

        // Into a series typed for the first time.
        Saise* saisie = modifier(fenetre, "A1");
        remplacer(enfant<QLineEdit>(saisie, "leSerie"), "Neuve");
        enfant<QRadioButton>(saisie, "rBComic")->click();
        valider(saisie);
        QCOMPARE(cible->getSerie(), QString("Neuve"));
        QVERIFY(fenetre.findSerie("Neuve"));
        QCOMPARE(fenetre.findSerie("Neuve")->type, 1);
        QVERIFY(fenetre.findSerie("Akira"));
        QCOMPARE(textes(enfant<QListWidget>(&fenetre, "LstSerie")),
            QStringList({ "Akira", "Blake", "Neuve" }));
        QCOMPARE(textes(enfant<QListWidget>(&fenetre, "LstComics")), QStringList("Neuve"));
        QCOMPARE(titres(table), QStringList("A2"));
        QCOMPARE(enfant<QLineEdit>(&fenetre, "leSerie")->text(), QString("Neuve"));

        // Into an existing series, raising its last volume.
        saisie = modifier(fenetre, "A2");
        remplacer(enfant<QLineEdit>(saisie, "leSerie"), "Blake");
        valider(saisie);
        QCOMPARE(fenetre.getAlbums().at(1)->getSerie(), QString("Blake"));
        QCOMPARE(fenetre.findSerie("Blake")->tomeMax, 2);
        QCOMPARE(table->rowCount(), 0);
        choisirSerie(fenetre, "Blake");
        QCOMPARE(titres(table).size(), 2);
    }

    void suppressionDeSerie()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligne(album("Beta", "B1")) + ligne(album("Alpha", "A1"))
            + ligne(album("Alpha", "A2")) + ligne(album("Alpha", "A3"))
            + ligne(album("Gamma", "G1")) + ligne(album("Alpha", "A4")));
        Phylacto fenetre;
        QCOMPARE(fenetre.getSerieCourante(), QString("Alpha"));
        QPointer<BD> supprime = fenetre.getAlbums().at(2);
        QPointer<Serie> serie = fenetre.findSerie("Alpha");

        fenetre.suppSerie();
        QVERIFY(supprime.isNull() && serie.isNull()); // destroyed
        QCOMPARE(fenetre.getAlbums().size(), 2);
        QVERIFY(!fenetre.findSerie("Alpha"));
        QCOMPARE(fenetre.getCatalogue().seriesEuro().size(), 2);
        QCOMPARE(enfant<QLabel>(&fenetre, "lbTotale")->text(), QString("2"));
        QCOMPARE(enfant<QLabel>(&fenetre, "lbEuro")->text(), QString("2"));
        QCOMPARE(
            textes(enfant<QListWidget>(&fenetre, "LstSerie")), QStringList({ "Beta", "Gamma" }));
        QCOMPARE(
            textes(enfant<QListWidget>(&fenetre, "LstBDEuro")), QStringList({ "Beta", "Gamma" }));
        QVERIFY(fenetre.estModifie());
        // The selection moved on: the table shows the series now selected.
        const QStringList attendu
            = fenetre.getSerieCourante() == "Beta" ? QStringList("B1") : QStringList("G1");
        QCOMPARE(titres(enfant<QTableWidget>(&fenetre, "LstAlbum")), attendu);

        // A name removed then entered again comes back as a new series.
        saisir(fenetre, "Alpha", "A9");
        QVERIFY(fenetre.findSerie("Alpha"));
        QCOMPARE(textes(enfant<QListWidget>(&fenetre, "LstSerie")),
            QStringList({ "Alpha", "Beta", "Gamma" }));
        QCOMPARE(textes(enfant<QListWidget>(&fenetre, "LstBDEuro")),
            QStringList({ "Alpha", "Beta", "Gamma" }));
    }

    void suppressionDeLaDerniereSerie()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligne(album("Seule", "S1")));
        Phylacto fenetre;
        fenetre.suppSerie();
        QVERIFY(fenetre.getAlbums().isEmpty());
        QCOMPARE(enfant<QTableWidget>(&fenetre, "LstAlbum")->rowCount(), 0);
        QVERIFY(enfant<QLineEdit>(&fenetre, "leTitre")->text().isEmpty());
        QCOMPARE(enfant<QLabel>(&fenetre, "lbTotale")->text(), QString("0"));

        // Nothing left to delete: nothing changes.
        fenetre.setModifie(false);
        fenetre.suppSerie();
        QVERIFY(!fenetre.estModifie());
    }

    void suppressionDAlbum()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligne(album("Xeno", "Tome 1")) + ligne(album("Yoko", "Tome 1")));
        Phylacto fenetre;
        auto* table = enfant<QTableWidget>(&fenetre, "LstAlbum");
        QCOMPARE(fenetre.getSerieCourante(), QString("Xeno"));
        QPointer<BD> supprime = fenetre.getAlbums().first();

        table->setCurrentCell(0, 0); // the "N°" cell names the row's album too
        fenetre.suppAlbum();
        QVERIFY(supprime.isNull());
        QCOMPARE(fenetre.getAlbums().size(), 1);
        QCOMPARE(fenetre.getAlbums().first()->getSerie(), QString("Yoko"));
        QCOMPARE(table->rowCount(), 0);
        QVERIFY(enfant<QLineEdit>(&fenetre, "leTitre")->text().isEmpty());
        QCOMPARE(enfant<QLabel>(&fenetre, "lbTotale")->text(), QString("1"));
        QVERIFY(fenetre.estModifie());
        // The series of the last album stays.
        QVERIFY(fenetre.findSerie("Xeno"));
        QVERIFY(textes(enfant<QListWidget>(&fenetre, "LstSerie")).contains("Xeno"));

        // No current row: nothing happens.
        fenetre.setModifie(false);
        fenetre.suppAlbum();
        QVERIFY(!fenetre.estModifie());
    }
};

QTEST_MAIN(TestEdition)
#include "test_edition.moc"
