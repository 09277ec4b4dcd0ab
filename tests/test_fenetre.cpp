// The main window and its dialogs: browsing, entry form, changes and
// deletions, loans, the explorer and the settings window.
#include "dialogs/filtre.h"
#include "dialogs/gestionreseau.h"
#include "dialogs/pret.h"
#include "dialogs/saise.h"
#include "dialogs/saisiepret.h"
#include "model/serie.h"
#include "model/validateurtome.h"
#include "settings/codecs.h"
#include "support/fixture.h"

namespace {
// The twelve fields of an album as the entry form sets them.
QString fiche(const BD* a)
{
    return a ? QStringList { a->getSerie(), a->getTitre(), QString::number(a->tome),
        a->getDessinateur(), a->getScenariste(), a->getColoriste(), a->getCommentaire(),
        QString::number(a->type), QString::number(a->note), QString::number(a->serieFinie),
        a->getEditeur(), a->getGenre() }
                   .join('/')
             : QString();
}

QString emprunt(const BD* a)
{
    return a->getEmprunteur() + '/' + a->getDateEmprunt() + '/' + QString::number(a->nbEmprunts);
}

QStringList lignesPrets(Pret* prets)
{
    auto* table = enfant<QTableWidget>(prets, "LstPrets");
    QStringList lignes;
    for (int l = 0; l < table->rowCount(); ++l)
        lignes << table->item(l, 0)->text() + '|' + table->item(l, 1)->text() + '|'
                + table->item(l, 2)->text() + '|' + table->item(l, 3)->text();
    lignes.sort();
    return lignes;
}

bool rendre(Pret* prets, const QString& texte)
{
    const QTableWidgetItem* ligne
        = enfant<QTableWidget>(prets, "LstPrets")->findItems(texte, Qt::MatchExactly).value(0);
    return ligne
        && (ligne->tableWidget()->setCurrentCell(ligne->row(), 0), cliquer(prets, "pbRendue"));
}

QStringList stockes(const Scene& s)
{
    return { s.parametre("RESEAU/Address"), s.parametre("RESEAU/Port"), s.parametre("RESEAU/Login"),
        s.parametre("RESEAU/Password"), s.parametre("BASE/Encodage") };
}

GestionReseau* ouvrirReglages(Scene& s)
{
    if (!declencherAction(s.fenetre.get(), "actionConfiguration_reseau"))
        return nullptr;
    const QWidgetList fenetres = QApplication::topLevelWidgets();
    for (auto it = fenetres.rbegin(); it != fenetres.rend(); ++it)
        if (auto* r = qobject_cast<GestionReseau*>(*it);
            r && r->isVisible() && !r->property("vu").toBool())
            return r->setProperty("vu", true), r;
    return nullptr;
}
} // namespace

class TestFenetre : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { Codecs::setCodec8Bits(nullptr); }

    void parcourir()
    {
        Scene s(ligneAlbum("Blake", "Tome 2", 2, 0, "images//bleu.png", "Marc")
            + ligneAlbum("Blake", "Tome 10", 10, 0, "_", "_")
            + ligneAlbum("Blake", "Tome 1", 1, 0, "images//absente.png")
            + ligneAlbum("Zorro", "Tome 1", 1, 0, "images//c.png")
            + ligneAlbum("Zorro", "Tome 1", 5) + ligneAlbum("Autre", "Tome 1", 9, 1));
        QVERIFY(s.ecrire("images/bleu.png", imagePng(40, 60, Qt::blue)));
        QVERIFY(s.ecrire("data/AddPicture.bmp", imagePng(40, 60, Qt::red)));
        QVERIFY(s.ecrire("images/c.png", imagePng(40, 60, Qt::green)));
        s.ouvrir();
        const auto couverture = [&s] { return s.w<QLabel>("LabelImage")->pixmap().toImage(); };
        // Text cells: "10" sorts before "2"; the panel shows the first album in catalogue order.
        QCOMPARE(s.resume(),
            QString("Autre,Blake,Zorro | E:Blake,Zorro | C:Autre | M: | [Autre] 9:Tome 1 | 6 5 1 0 "
                    "| Autre/Tome 1/9"));
        QVERIFY(s.choisir("Blake"));
        QCOMPARE(s.resume().section(" | ", 4),
            QString("[Blake] 1:Tome 1,10:Tome 10,2:Tome 2 | 6 5 1 0 | Blake/Tome 2/2"));
        auto* table = s.w<QTableWidget>("LstAlbum");
        auto* preter = s.w<QPushButton>("pbPreter");
        QVERIFY(!(table->item(0, 1)->flags() & Qt::ItemIsEditable));
        table->setCurrentCell(1, 0); // the volume cell names the row's album too
        QCOMPARE(s.w<QLineEdit>("leTitre")->text(), QString("Tome 10"));
        QCOMPARE(QColor(couverture().pixel(20, 20)), QColor(Qt::red)); // "_": the placeholder
        QVERIFY(preter->isEnabled());
        table->setCurrentCell(2, 1);
        QCOMPARE_GE(couverture().width(), 250);
        QCOMPARE_GE(couverture().height(), 250);
        QCOMPARE(QColor(couverture().pixel(125, 125)), QColor(Qt::blue));
        QVERIFY(!preter->isEnabled());
        QCOMPARE(preter->text(), QString("BD pretée à Marc"));
        table->setCurrentCell(0, 1);
        QVERIFY(couverture().isNull());
        QStringList panneau;
        for (const char* champ :
            { "leDessinateur", "leScenariste", "leColoriste", "leEditeur", "leGenre" })
            panneau << s.w<QLineEdit>(champ)->text();
        QCOMPARE(panneau.join('|'), QString("Dessinateur|Scenariste|Coloriste|Dargaud|Aventure"));

        // Another tab's list; either row of a repeated title shows the first album,
        // its cover read again once rewritten.
        s.w<QListWidget>("LstBDEuro")->setCurrentRow(1);
        QCOMPARE(QColor(couverture().pixel(10, 10)), QColor(Qt::green));
        QCOMPARE(s.w<QListWidget>("LstSerie")->currentItem()->text(), QString("Blake"));
        QVERIFY(s.ecrire("images/c.png", imagePng(40, 60, Qt::yellow)));
        table->setCurrentCell(1, 1);
        QCOMPARE(s.resume().section(" | ", 4),
            QString("[Zorro] 1:Tome 1,5:Tome 1 | 6 5 1 0 | Zorro/Tome 1/1"));
        QCOMPARE(QColor(couverture().pixel(10, 10)), QColor(Qt::yellow));
        s.fenetre->MAJListesSeries();
        QCOMPARE(s.textes("LstSerie").size(), 3);

        // An emptied series keeps the panel; context menus delete through their entries.
        s.fenetre->getCatalogue().supprimerSerie("Autre");
        s.w<QListWidget>("LstComics")->setCurrentRow(0);
        QCOMPARE(s.resume().section(" | ", 4, 4), QString("[Autre] "));
        QStringList menus;
        const auto menu = [&menus](const QString& entree) {
            return [&menus, entree](QWidget* m) {
                for (QAction* a : m->actions())
                    menus << a->text();
                for (QAction* a : m->actions())
                    if (a->text() == entree)
                        a->trigger();
            };
        };
        QVERIFY(s.choisir("Zorro", "Tome 1"));
        Boites::setProchaineEtape(menu("Supprimer album"));
        emit table->customContextMenuRequested({ 1, 1 });
        Boites::setProchaineEtape(menu("Supprimer série"));
        emit s.w<QListWidget>("LstManga")->customContextMenuRequested({ 1, 1 });
        QCOMPARE(menus,
            QStringList({ "Supprimer album", "Ajouter une suite", "Supprimer série",
                "Renommer la série…" }));
        QCOMPARE(s.resume(),
            QString("Autre,Blake | E:Blake | C:Autre | M: | [Blake] 1:Tome 1,10:Tome 10,2:Tome 2 | "
                    "3 3 0 0 | Blake/Tome 2/2"));
        QVERIFY(s.fenetre->estModifie());
        QCOMPARE(Boites::modauxVus(), QStringList({ "menu", "menu" }));
    }

    void saisie_data()
    {
        QTest::addColumn<QStringList>("champs");
        QTest::addColumn<QString>("album"); // fiche() of the album added, or the message
        const QString p = "Dargaud/Fantastique";
        QTest::newRow("série seule")
            << QStringList("leSerie=Astérix") << "Astérix/Tome 0/0/////0/0/0/" + p;
        QTest::newRow("tome effacé")
            << QStringList { "leSerie=S", "leTome=" } << "S/Tome /0/////0/0/0/" + p;
        QTest::newRow("série de blancs")
            << QStringList("leSerie=   ") << "   /Tome 0/0/////0/0/0/" + p;
        QTest::newRow("auteurs, manga fini") << QStringList { "leSerie=M", "leAlbum=Un", "leTome=3",
            "leNote=4", "rBManga", "serieFinie", "leDessinateur=Uderzo", "leScenariste=Goscinny",
            "leColoriste=Mébarki",
            "cbGenre=Policier" } << "M/Un/3/Uderzo/Goscinny/Mébarki//2/4/2/Dargaud/Policier";
        QTest::newRow("comic, tome non entier, éditeur tapé")
            << QStringList { "leSerie=C", "leTome=abc", "leNote=x", "rBComic", "cbEditeur=Glénat" }
            << "C/Tome abc/0/////1/0/0/Glénat/Fantastique";
        QTest::newRow("retour à la ligne") << QStringList { "leSerie=S", "leComment=un\ndeux" }
                                           << "S/Tome 0/0////un\ndeux/0/0/0/" + p;
        QTest::newRow("sans série")
            << QStringList { "leAlbum=Gardé" } << "Un nom de série est necessaire";
        QTest::newRow("; dans le commentaire")
            << QStringList { "leSerie=S", "leComment=un;deux" }
            << "Le caractère « ; » n'est pas autorisé dans le champ Commentaire";
        QTest::newRow("; dans l'éditeur") << QStringList { "leSerie=S",
            "cbEditeur=A;B" } << "Le caractère « ; » n'est pas autorisé dans le champ Editeur";
    }

    void saisie()
    {
        QFETCH(QStringList, champs);
        QFETCH(QString, album);
        Scene s;
        Phylacto& f = s.ouvrir();
        QVERIFY(declencherAction(&f, "actionAjouter_Album"));
        Saise* saisie = s.dernier<Saise>();
        QVERIFY(saisie);
        QVERIFY(saisie->isVisible());
        QVERIFY(
            qobject_cast<const ValidateurTome*>(enfant<QLineEdit>(saisie, "leTome")->validator()));
        QVERIFY(remplir(saisie, champs << "pbValider"));
        QCOMPARE(fiche(f.getAlbums().value(0)) + Boites::textesVus().join('|'), album);
        QCOMPARE(saisie->isVisible(), f.getAlbums().isEmpty()); // a refusal keeps the form
        QCOMPARE(f.estModifie(), !f.getAlbums().isEmpty());
    }

    void suiteEtChangement()
    {
        Scene s(donnee("suites.csv"));
        Phylacto& f = s.ouvrir();
        f.ajouterSuite(); // nothing selected: an empty form, cancelled
        QVERIFY(remplir(s.dernier<Saise>(), { "leSerie=S", "pbAnnuler" }));
        // Fixed entries first, then the collection's, other case and empty included.
        QStringList editeurs;
        auto* liste = enfant<QComboBox>(s.dernier<Saise>(), "cbEditeur");
        for (int i = 11; i < liste->count(); ++i)
            editeurs << liste->itemText(i);
        QCOMPARE(editeurs, QStringList({ "dargaud", "", "Glénat" }));

        // A sequel of the selected album: a type 7 shows as Euro and is sent as 0.
        QVERIFY(s.choisir("S", "Vol"));
        s.w<QTableWidget>("LstAlbum")->selectRow(s.w<QTableWidget>("LstAlbum")->currentRow());
        f.ajouterSuite();
        QCOMPARE(f.findChildren<Saise*>().size(), 1); // the cancelled one is gone
        QVERIFY(remplir(s.dernier<Saise>(), { "pbValider" }));
        QCOMPARE(
            fiche(f.getAlbums().last()), QString("S/Tome 5/5/Des/Sc/Col//0/3/2/Glénat/Aventure"));
        QCOMPARE(s.resume().section(" | ", 4),
            QString("[S] 1:1,1:2,1:3,5:Vol,5:Tome 5 | 5 5 0 0 | S/Tome 5/5"));

        // A double click on the title opens the change, comment shown; cover and loan stay.
        f.setModifie(false);
        QVERIFY(s.choisir("S", "Vol"));
        f.ModifAlbum({});
        QVERIFY(remplir(s.dernier<Saise>(),
            { "leAlbum=Neuf", "leTome=9", "leDessinateur=A", "leScenariste=B", "pbValider" }));
        const BD* change = f.getAlbums().at(3);
        QCOMPARE(fiche(change) + '/' + change->getImage() + '/' + emprunt(change),
            QString("S/Neuf/9/A/B/Col/perso/0/3/2/Glénat/Aventure/img/Marc//4"));
        QCOMPARE(s.resume().section(" | ", 4),
            QString("[S] 1:1,1:2,1:3,5:Tome 5,9:Neuf | 5 5 0 0 | S/Neuf/9"));
        QVERIFY(f.estModifie());

        // Another album's pair is refused; the "N°" cell opens nothing.
        f.setModifie(false);
        QVERIFY(s.choisir("S", "Neuf"));
        f.ModifAlbum({});
        QVERIFY(remplir(s.dernier<Saise>(), { "leAlbum=1", "pbValider" }));
        QCOMPARE(Boites::textesVus(), QStringList("Album 1 de la série S déjà existant"));
        QVERIFY(!f.estModifie());
        QCOMPARE(change->getTitre(), "Neuf");
        s.w<QTableWidget>("LstAlbum")->setCurrentCell(0, 0);
        f.ModifAlbum({});
        QCOMPARE(f.findChildren<Saise*>().size(), 1);

        // Into a new series, then the added ones: refused duplicate, other case, new kind.
        QVERIFY(s.choisir("S", "Neuf"));
        f.ModifAlbum({});
        QVERIFY(remplir(s.dernier<Saise>(), { "leSerie=Neuve", "rBComic", "pbValider" }));
        QCOMPARE(s.resume(),
            QString("Neuve,S | E:S | C:Neuve | M: | [S] 1:1,1:2,1:3,5:Tome 5 | 5 4 1 0 | "
                    "Neuve/Neuf/9"));
        for (const QStringList& champs : { QStringList { "leSerie=S", "leAlbum=2" },
                 { "leSerie=S", "leAlbum=vol", "leTome=7" }, { "leSerie=Z", "rBManga" } }) {
            QVERIFY(declencherAction(&f, "actionAjouter_Album"));
            QVERIFY(remplir(s.dernier<Saise>(), QStringList(champs) << "pbValider"));
        }
        QCOMPARE(Boites::textesVus().last(), QString("Album 2 de la série S déjà existant"));
        QCOMPARE(s.resume(),
            QString("Neuve,S,Z | E:S | C:Neuve | M:Z | [S] 1:1,1:2,1:3,5:Tome 5,7:vol | 7 5 1 1 | "
                    "S/vol/7"));
        QVERIFY(s.choisir("Z", "Tome 0")); // a manga's change form says so
        f.ModifAlbum({});
        QVERIFY(enfant<QRadioButton>(s.dernier<Saise>(), "rBManga")->isChecked());
    }

    void suppressions()
    {
        Scene s(ligneAlbum("Beta", "Tome 1") + ligneAlbum("Alpha", "Tome 1")
            + ligneAlbum("Alpha", "A2", 2) + ligneAlbum("Gamma", "G1", 1, 2)
            + ligneAlbum("Alpha", "A4", 4));
        Phylacto& f = s.ouvrir();
        QVERIFY(s.choisir("Alpha", "Tome 1"));
        s.w<QTableWidget>("LstAlbum")
            ->setCurrentCell(s.w<QTableWidget>("LstAlbum")->currentRow(), 0);
        f.suppAlbum();
        QCOMPARE(s.resume(),
            QString("Alpha,Beta,Gamma | E:Alpha,Beta | C: | M:Gamma | [Alpha] 2:A2,4:A4 | 4 3 0 1 "
                    "| Alpha/A2/2"));
        QVERIFY(f.estModifie());
        f.setModifie(false);
        f.suppSerie();
        QCOMPARE(s.resume().section(" | ", 0, 3) + s.resume().section(" | ", 5, 5),
            QString("Beta,Gamma | E:Beta | C: | M:Gamma2 1 0 1"));
        QVERIFY(f.estModifie());

        // The last album of a series goes, the series stays listed; then nothing to delete.
        QVERIFY(s.choisir("Gamma", "G1"));
        f.suppAlbum();
        QCOMPARE(
            s.resume(), QString("Beta,Gamma | E:Beta | C: | M:Gamma | [Gamma]  | 1 1 0 0 | //"));
        for (const char* champ :
            { "leDessinateur", "leScenariste", "leColoriste", "leEditeur", "leGenre" })
            QCOMPARE(s.w<QLineEdit>(champ)->text(), QString());
        f.setModifie(false);
        f.suppAlbum();
        QVERIFY(!f.estModifie());
        f.suppSerie();
        f.suppSerie();
        QCOMPARE(s.resume().section(" | ", 5, 5), QString("0 0 0 0"));
        f.setModifie(false);
        f.suppSerie();
        QVERIFY(!f.estModifie());
    }

    void prets()
    {
        Scene s(donnee("prets.csv"));
        Phylacto& f = s.ouvrir();
        QVERIFY(s.choisir("S"));
        QVERIFY(cliquer(&f, "pbPreter")); // no current cell: a message
        QCOMPARE(Boites::textesVus(), QStringList("Veuillez selectioner un album"));
        s.w<QTableWidget>("LstAlbum")->setCurrentCell(s.textes("LstAlbum").indexOf("7"), 0);
        QVERIFY(cliquer(&f, "pbPreter"));
        QVERIFY(!s.dernier<saisiePret>()); // a volume is no title

        // Same title: the first album of the series; two dialogs count two loans.
        QVERIFY(s.choisir("S", "T1"));
        QVERIFY(cliquer(&f, "pbPreter"));
        QVERIFY(cliquer(&f, "pbPreter"));
        const QList<saisiePret*> deux = f.findChildren<saisiePret*>();
        QVERIFY(remplir(deux.last(), { "lePret=Paul", "validerPret" }));
        QVERIFY(remplir(deux.first(), { "lePret=Marc", "validerPret" }));
        QCOMPARE(emprunt(f.getAlbums().at(0)).section('/', 0, 0)
                + emprunt(f.getAlbums().at(0)).section('/', 4),
            QString("Marc2"));
        QCOMPARE(f.getAlbums().at(1)->getEmprunteur(), QString());
        QVERIFY(!s.w<QPushButton>("pbPreter")->isEnabled());
        // A ";" or a blank name is refused and the dialog stays; "Annuler" lends nothing.
        QVERIFY(s.choisir("S", "T2"));
        QVERIFY(cliquer(&f, "pbPreter"));
        QPointer<saisiePret> dialogue = s.dernier<saisiePret>();
        f.setModifie(false);
        QVERIFY(
            remplir(dialogue, { "lePret=Marc;Paul", "validerPret", "lePret= ", "validerPret" }));
        QVERIFY(dialogue->isVisible());
        QCOMPARE(Boites::textesVus().size(), 3);
        QVERIFY(!f.estModifie());
        QVERIFY(remplir(dialogue, { "lePret=Marc", "pbAnnuler" }));
        traiterEvenements();
        QVERIFY(!dialogue);
        QCOMPARE(emprunt(f.getAlbums().at(2)), QString("_//0"));

        // The loans dialog: lent albums only, a snapshot, rows still naming their album once
        // sorted.
        QVERIFY(declencherAction(&f, "actionGestion_des_prets"));
        QPointer<Pret> prets = s.dernier<Pret>();
        QVERIFY(prets);
        QVERIFY(prets->isVisible());
        QVERIFY(!prets->isModal());
        auto* table = enfant<QTableWidget>(prets, "LstPrets");
        QCOMPARE(table->item(0, 0)->text(), QString("A"));
        // The row Qt makes current on the table's first focus is not picked by the user.
        QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(table, &focus);
        QCOMPARE(table->currentRow(), 0);
        QVERIFY(cliquer(prets, "pbRendue"));
        QCOMPARE(lignesPrets(prets).join(' '),
            QString("A|T4|Zoé|05/06/2015 S|T1|Marc|" + QDate::currentDate().toString("dd/MM/yyyy")
                + " S|T3|Anne|02/03/2014 Z|Z1|Léa|"));
        Pret cache(f.getAlbums(), f.getCatalogue(), &f);
        QVERIFY(!enfant<QPushButton>(&cache, "pbRendue")->isEnabled());
        // The lend button is used only when the program enabled it.
        QVERIFY(s.choisir("S", "T2"));
        QVERIFY(s.w<QPushButton>("pbPreter")->isEnabled());
        QVERIFY(cliquer(&f, "pbPreter"));
        QVERIFY(remplir(s.dernier<saisiePret>(), { "lePret=Paul", "validerPret" }));
        QCOMPARE(lignesPrets(prets).size(), 4);
        f.setModifie(false);
        table->sortByColumn(2, Qt::AscendingOrder);
        QVERIFY(rendre(prets, "Zoé"));
        QCOMPARE(emprunt(f.getAlbums().at(4)), QString("/05/06/2015/3"));
        QVERIFY(f.estModifie());

        // Deleted meanwhile: nothing open writes through it.
        QVERIFY(s.choisir("S", "T5"));
        QVERIFY(cliquer(&f, "pbPreter"));
        QPointer<saisiePret> saisie = s.dernier<saisiePret>();
        QVERIFY(saisie);
        QVERIFY(declencherAction(&f, "actionExploration_bd"));
        QPointer<filtre> explorateur = s.dernier<filtre>();
        QVERIFY(explorateur);
        const QAbstractItemModel* modele = enfant<QTableView>(explorateur, "tableResult")->model();
        explorateur->updateDataLigne(
            modele->match(modele->index(0, 1), Qt::DisplayRole, "T5").value(0));
        table->setCurrentCell(table->findItems("Z1", Qt::MatchExactly).first()->row(), 0);
        f.getCatalogue().supprimerAlbum(f.getCatalogue().premierAlbum("S", "T5"));
        f.getCatalogue().supprimerSerie("Z");
        f.setModifie(false);
        s.w<QLineEdit>("leSerie")->setText("rien");
        QVERIFY(remplir(saisie, { "lePret=Jean", "validerPret" }));
        QVERIFY(cliquer(prets, "pbRendue"));
        QVERIFY(cliquer(explorateur, "pbShowMain"));
        QVERIFY(!f.estModifie());
        QCOMPARE(s.w<QLineEdit>("leSerie")->text(), "rien");
        QCOMPARE(f.getAlbums().size(), 5);
        QVERIFY(rendre(prets, "Anne"));
        QVERIFY(f.estModifie());
        QCOMPARE(emprunt(f.getAlbums().at(3)), QString("/02/03/2014/2"));
        QVERIFY(cliquer(prets, "pbQuitter"));
        traiterEvenements();
        QVERIFY(!prets);
    }

    void explorateur_data()
    {
        // Choices "<list>=<text>" (0 artists, 1 writers, 2 publishers; "2!" calls the publisher
        // filter with a text its list cannot offer); each list sorted, empty entry first.
        QTest::addColumn<QString>("choix");
        QTest::addColumn<QString>("lignes");
        QTest::addColumn<QString>("listes");
        const auto ligne
            = [](const char* cas, const char* choix, const char* lignes, const char* listes) {
                  QTest::newRow(cas) << QString(choix) << QString(lignes) << QString(listes);
              };
        ligne("rien", "", "S1/T1 S1/T2 S2/T1 S2/T2 S3/Titre S3/Titre",
            ",Jean,Jean-Marc,Marc,Pierre,X | ,Luc,Marie,Paul,Y | "
            ",Casterman,Dargaud,Dupuis,Z,dargaud");
        ligne("casse", "0=Jean 2=Dargaud", "S1/T1", ",Jean | ,Paul | ,Dargaud");
        ligne("l'entrée vide n'ôte que son filtre", "0=Jean 2=Dargaud 0=", "S1/T1",
            ",Jean | ,Paul | ,Dargaud");
        ligne("en chaîne", "0=Pierre 1=Paul", "S2/T1", ",Pierre | ,Paul | ,Dupuis");
        ligne("en vigueur sous l'entrée vide", "0=Jean 2=dargaud", "S1/T2",
            ",Jean-Marc | ,Luc | ,dargaud");
        ligne("en vigueur, éditeur ôté", "0=Jean 2=dargaud 2=", "S1/T1 S1/T2 S2/T2",
            ",Jean,Jean-Marc | ,Luc,Marie,Paul | ,Dargaud,Dupuis,dargaud");
        ligne("aucune ligne", "0=Marc 2!Dupuis", "", " |  | ");
    }

    void explorateur()
    {
        QFETCH(QString, choix);
        Scene s(donnee("explorateur.csv"));
        Phylacto& f = s.ouvrir();
        QVERIFY(declencherAction(&f, "actionExploration_bd"));
        filtre* e = s.dernier<filtre>();
        QVERIFY(e);
        QVERIFY(e->isVisible());
        QVERIFY(!e->isModal());
        QComboBox* listes[] = { enfant<QComboBox>(e, "cbDessinteur"),
            enfant<QComboBox>(e, "cbScenariste"), enfant<QComboBox>(e, "cbEditeur") };
        for (const QString& etape : choix.split(' ', Qt::SkipEmptyParts)) {
            if (etape.at(1) == '!')
                e->filtrerEditeur(etape.mid(2));
            else
                listes[etape.left(1).toInt()]->setCurrentIndex(
                    listes[etape.left(1).toInt()]->findText(etape.mid(2)));
        }
        auto* table = enfant<QTableView>(e, "tableResult");
        const QAbstractItemModel* m = table->model();
        QStringList lignes, listesVues;
        for (int l = 0; l < m->rowCount(); ++l)
            lignes << m->index(l, 0).data().toString() + "/" + m->index(l, 1).data().toString();
        for (QComboBox* liste : listes) {
            QStringList entrees;
            for (int i = 0; i < liste->count(); ++i)
                entrees << liste->itemText(i);
            entrees.sort();
            listesVues << entrees.join(',');
        }
        const int s2t1 = int(lignes.indexOf("S2/T1"));
        lignes.sort();
        QTEST(lignes.join(' '), "lignes");
        QTEST(listesVues.join(" | "), "listes");
        if (!choix.isEmpty())
            return;
        QCOMPARE(m->index(0, 0).data().toString(), QString("S1")); // A-Z at first

        // Columns: series, title, volume, writer, artist, publisher, colourist.
        QStringList cellules;
        for (int c = 0; c < m->columnCount(); ++c)
            cellules << m->index(s2t1, c).data().toString();
        QCOMPARE(cellules.join(','), QString("S2,T1,1,Paul,Pierre,Dupuis,Col S2"));
        // Shown: the first album of that pair, through a sort; nothing without a row.
        s.w<QLineEdit>("leSerie")->setText("rien");
        QVERIFY(cliquer(e, "pbShowMain"));
        QCOMPARE(s.w<QLineEdit>("leSerie")->text(), QString("rien"));
        table->sortByColumn(2, Qt::AscendingOrder);
        e->updateDataLigne(m->index(5, 1));
        QVERIFY(cliquer(e, "pbShowMain"));
        QCOMPARE(s.resume().section(" | ", 6), QString("S3/Titre/9"));
        // Edited in place: the table only, and the edited title names nothing.
        QVERIFY(const_cast<QAbstractItemModel*>(m)->setData(m->index(5, 1), "Autre"));
        s.w<QLineEdit>("leSerie")->setText("rien");
        e->updateDataLigne(m->index(5, 1));
        QVERIFY(cliquer(e, "pbShowMain"));
        QCOMPARE(s.w<QLineEdit>("leSerie")->text(), QString("rien"));
        QVERIFY(!f.estModifie());
    }

    void reglages()
    {
        Scene s(ligneAlbum("Été", "T"));
        QVERIFY(s.parametres({ "RESEAU/Login=ancien", "RESEAU/Port=3128" }));
        s.ouvrir();
        const auto proprietaireSeul = [&s] {
            return (QFile::permissions(s.chemin("data/settings.ini")) & 0x7077)
                == (QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        };
        QVERIFY(proprietaireSeul());
        QStringList relayees;
        connect(s.fenetre.get(), &Phylacto::relayInfoReseau, this,
            [&](QString a, QString p, QString l, QString m) {
                relayees = QStringList { a, p, l, m,
                    s.fenetre->getSettings()->value("RESEAU/Address").toString() };
            });
        GestionReseau* r = ouvrirReglages(s);
        QVERIFY(r);
        QVERIFY(!r->parent());
        // Without an address the proxy shows unchecked with empty fields.
        QVERIFY(!enfant<QCheckBox>(r, "cBProxy")->isChecked());
        QCOMPARE(enfant<QLineEdit>(r, "leLogin")->text(), QString());
        QCOMPARE(enfant<QComboBox>(r, "cbEncodage")->currentText(), QString("UTF8"));
        QVERIFY(remplir(r,
            { "cBProxy", "leAdresse=proxy.local", "leport=3128", "leLogin=jdupont",
                "lePassw=s3cret", "pushValider" }));
        QCOMPARE(relayees,
            QStringList(
                { "proxy.local", "3128", "jdupont", "s3cret", "proxy.local" })); // stored first
        QCOMPARE(stockes(s), QStringList({ "proxy.local", "3128", "jdupont", "s3cret", "UTF8" }));
        QVERIFY(proprietaireSeul());

        // Two windows at once; unchecked, four empty values are stored and relayed.
        r = ouvrirReglages(s);
        GestionReseau* autre = ouvrirReglages(s);
        QVERIFY(r);
        QVERIFY(autre);
        QVERIFY(r != autre);
        QVERIFY(enfant<QCheckBox>(r, "cBProxy")->isChecked());
        QCOMPARE(enfant<QLineEdit>(r, "leLogin")->text(), QString("jdupont"));
        QVERIFY(remplir(r, { "cBProxy", "cbEncodage=Windows-1250" }));
        QVERIFY(!enfant<QLineEdit>(r, "leLogin")->isEnabled());
        QCOMPARE(enfant<QLineEdit>(r, "leLogin")->text(), "jdupont");
        QVERIFY(remplir(r, { "pushValider" }));
        // Another encoding waits for the file to be rewritten in it.
        QCOMPARE(stockes(s), QStringList({ "", "", "", "", "UTF8" }));
        QCOMPARE(relayees.mid(0, 4), QStringList({ "", "", "", "" }));
        // The chosen codec becomes the 8-bit one: "Enregistrer sous" writes with it.
        Boites::setProchainFichier(s.chemin("copie.csv"));
        s.fenetre->saveAs();
        QVERIFY(s.lire("copie.csv").startsWith("\xC9t\xE9;T;1;"));

        // "Annuler" and the close box store and relay nothing.
        relayees.clear();
        QVERIFY(remplir(autre, { "leAdresse=x", "cbEncodage=UTF-16", "pushAnnuler" }));
        r = ouvrirReglages(s);
        QCOMPARE(enfant<QComboBox>(r, "cbEncodage")->currentText(), QString("Windows-1250"));
        QVERIFY(remplir(r, { "leAdresse=x" }));
        QVERIFY(r->close());
        traiterEvenements();
        QVERIFY(relayees.isEmpty());
        QCOMPARE(stockes(s), QStringList({ "", "", "", "", "UTF8" }));
        QCOMPARE(Codecs::codec8Bits()->name(), QByteArray("windows-1250"));

        // Closing the main window ends the program with a settings window open.
        QPointer<GestionReseau> ouverte = ouvrirReglages(s);
        s.fenetre->show();
        QTimer::singleShot(0, s.fenetre.get(), [&s] { s.fenetre->close(); });
        QTimer garde;
        garde.callOnTimeout([] { QCoreApplication::exit(1); });
        garde.start(2000);
        QCOMPARE(QCoreApplication::exec(), 0);
        delete ouverte.data();
    }
};

QTEST_MAIN(TestFenetre)
#include "test_fenetre.moc"
