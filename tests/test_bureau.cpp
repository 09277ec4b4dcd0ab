// Keyboard, a layout that grows and is remembered, what saving, lending and long work
// show, undo and redo with the unsaved flag, and quick search, missing volumes,
// statistics and the covers wall in the window.
#include "app/travaillong.h"
#include "dialogs/fenetrestatistiques.h"
#include "dialogs/listetomesmanquants.h"
#include "dialogs/pret.h"
#include "dialogs/saise.h"
#include "dialogs/saisiepret.h"
#include "model/catalogue.h"
#include "model/serie.h"
#include "store/ecriturecollection.h"
#include "store/importation.h"
#include "store/lignecollection.h"
#include "support/fixture.h"

namespace {

const char* const titreLong = "Le Trésor du Capitaine Frégate et la très longue croisière";

// A window on three albums, shown and active so that keys reach it.
struct Bureau : Scene
{
    Bureau()
        : Scene(ligneAlbum("Frégate", titreLong, 1, 0, "images//c.png")
            + ligneAlbum("Frégate", "Mutinerie", 2) + ligneAlbum("Frégate", "L'Archipel", 3))
    {
    }
    QTableWidget* table = nullptr;

    bool ouvrir()
    {
        QImage(300, 400, QImage::Format_RGB32).save(chemin("images/c.png"));
        Scene::ouvrir();
        table = w<QTableWidget>("LstAlbum");
        fenetre->show();
        table->setFocus();
        table->setCurrentCell(0, 0);
        return QTest::qWaitForWindowActive(fenetre.get()) && table->hasFocus();
    }
    // Opens the context menu with that key and returns its entries.
    int entreesDuMenu(QWidget* vue, QKeyCombination touche)
    {
        int entrees = -1;
        Boites::setProchaineEtape(
            [&entrees](QWidget* menu) { entrees = int(menu->actions().size()); });
        QTest::keyClick(vue, touche.key(), touche.keyboardModifiers());
        return entrees;
    }
};

// Everything undo must give back: every field of every album in catalogue
// order, the series lists, then the window's lists, table and counters (last).
QStringList etat(Scene& scene)
{
    QStringList lignes;
    for (const BD* a : scene.fenetre->getAlbums())
        lignes << LigneCollection::encoder(*a);
    Catalogue& catalogue = scene.fenetre->getCatalogue();
    for (const QList<Serie*>* liste : { &catalogue.series(), &catalogue.seriesEuro(),
             &catalogue.seriesComics(), &catalogue.seriesManga() }) {
        QStringList noms;
        for (const Serie* s : *liste)
            noms << QString("%1/%2/%3").arg(s->getNom()).arg(s->tomeMax).arg(s->serieFinie);
        lignes << noms.join(',');
    }
    // The detail panel shows the album the step touched: left out.
    return lignes << scene.resume().section(" | ", 0, -2);
}

} // namespace

class TestBureau : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QApplication::closeAllWindows(); }

    void raccourcisDesMenus_data()
    {
        QTest::addColumn<QKeySequence>("touche");
        QTest::addColumn<QString>("action");
        const QList<QKeySequence> preferences
            = QKeySequence::keyBindings(QKeySequence::Preferences);
        // The shortcuts the program sets itself; the form's own are not restated.
        QTest::newRow("configuration")
            << (preferences.isEmpty() ? QKeySequence("Ctrl+,") : preferences.first())
            << "actionConfiguration_reseau";
        QTest::newRow("rétablir") << QKeySequence("Ctrl+Shift+Z") << "actionRetablir";
        QTest::newRow("rétablir Y") << QKeySequence("Ctrl+Y") << "actionRetablir";
    }
    void raccourcisDesMenus()
    {
        QFETCH(QKeySequence, touche);
        QFETCH(QString, action);
        Bureau scene;
        QVERIFY(scene.ouvrir());
        scene.fenetre->suppAlbum(); // something to undo, and then to redo
        if (action == "actionRetablir")
            QVERIFY(declencherAction(scene.fenetre.get(), "actionAnnuler"));
        QSignalSpy declenchee(scene.fenetre->findChild<QAction*>(action), &QAction::triggered);
        QTest::keySequence(scene.fenetre.get(), touche);
        QCOMPARE(declenchee.count(), 1);
    }

    void touchesDeLaTable()
    {
        Bureau scene;
        QVERIFY(scene.ouvrir());
        QTest::keyClick(scene.table, Qt::Key_Return); // on the volume cell
        auto* saisie = scene.fenetre->findChild<Saise*>();
        QVERIFY(saisie);
        QVERIFY(saisie->isVisible());
        QCOMPARE(enfant<QLineEdit>(saisie, "leAlbum")->text(), QString(titreLong));
        saisie->close();

        QCOMPARE(scene.entreesDuMenu(scene.table, Qt::Key_Menu), 2);
        QCOMPARE(scene.entreesDuMenu(scene.table, Qt::SHIFT | Qt::Key_F10), 2);
        QCOMPARE(
            scene.entreesDuMenu(enfant<QListWidget>(scene.fenetre.get(), "LstSerie"), Qt::Key_Menu),
            2);

        scene.table->setFocus();
        QTest::keyClick(scene.table, Qt::Key_Delete);
        QCOMPARE(scene.fenetre->getAlbums().size(), 2);
        QCOMPARE(scene.table->rowCount(), 2);
        QTest::keyClick(scene.table, Qt::Key_Tab); // other keys reach the table
        QVERIFY(!scene.table->hasFocus());
    }

    // Ctrl+2 shows the wall of the current series: its album is the table's
    // both ways, it takes the table's keys, the quick search filters it.
    void murDansLaFenetre()
    {
        Bureau scene;
        QVERIFY(scene.ouvrir());
        auto* mur = scene.w<QListView>("vueMurCouvertures");
        QTest::keyClick(scene.fenetre.get(), Qt::Key_2, Qt::ControlModifier);
        QVERIFY(mur->isVisible());
        QVERIFY(!scene.table->isVisible());
        QCOMPARE(mur->model()->rowCount(), 3);
        QCOMPARE(mur->currentIndex().row(), 0);
        mur->setCurrentIndex(mur->model()->index(2, 0));
        QCOMPARE(scene.resume().section(" | ", -1), "Frégate/L'Archipel/3");
        scene.table->setCurrentCell(1, 1);
        QCOMPARE(mur->currentIndex().row(), 1);
        QCOMPARE(scene.entreesDuMenu(mur, Qt::Key_Menu), 2);
        QTest::keyClick(mur, Qt::Key_Delete);
        QCOMPARE(mur->model()->rowCount(), 2);
        scene.w<QLineEdit>("leRechercheRapide")->setText("zzz");
        QCOMPARE(mur->model()->rowCount(), 0);
        QTest::keyClick(scene.fenetre.get(), Qt::Key_1, Qt::ControlModifier);
        QVERIFY(scene.table->isVisible());
        QVERIFY(!mur->isVisible());
    }

    void dispositionQuiGranditEtSeRetient()
    {
        QTemporaryDir ailleurs;
        QSettings disposition(ailleurs.filePath("fenetre.ini"), QSettings::IniFormat);
        Bureau scene;
        QVERIFY(scene.ouvrir());
        scene.fenetre->restaurerDisposition(&disposition);
        auto* titre = enfant<QLineEdit>(scene.fenetre.get(), "leTitre");
        auto* couverture = enfant<QLabel>(scene.fenetre.get(), "LabelImage");
        const int largeurDefaut = titre->width();
        const QSize couvertureDefaut = couverture->pixmap().size();
        scene.fenetre->resize(1600, 1000);
        QVERIFY(QTest::qWaitFor([&]() { return titre->width() > largeurDefaut; }));
        QCOMPARE(titre->cursorPosition(), 0); // its beginning shows, readable when disabled
        QCOMPARE(titre->palette().color(QPalette::Disabled, QPalette::Text),
            titre->palette().color(QPalette::Active, QPalette::Text));
        QCOMPARE_GT(couverture->pixmap().width(), couvertureDefaut.width());
        QCOMPARE_GT(couverture->pixmap().height(), couvertureDefaut.height());

        auto* panneaux = enfant<QSplitter>(scene.fenetre.get(), "splitterPrincipal");
        panneaux->setSizes({ 500, 300, 400, 300 });
        const QList<int> tailles = panneaux->sizes();
        scene.table->setColumnWidth(1, 321);
        QVERIFY(scene.fenetre->close());

        Bureau suite;
        QVERIFY(suite.ouvrir());
        suite.fenetre->restaurerDisposition(&disposition);
        QCOMPARE(suite.fenetre->size(), QSize(1600, 1000));
        QCOMPARE(enfant<QSplitter>(suite.fenetre.get(), "splitterPrincipal")->sizes(), tailles);
        QCOMPARE(suite.table->columnWidth(1), 321);
        QVERIFY(suite.parametre("FENETRE/Geometrie").isEmpty());
    }

    // The help menu, last; each panel usable at the window's minimum width; notices read
    // whole across the window.
    void aideEtroitesseEtAvis()
    {
        Bureau scene;
        QVERIFY(scene.ouvrir());
        Phylacto& f = *scene.fenetre;
        QCOMPARE(f.menuBar()->actions().last()->menu()->objectName(), QString("menuAide"));
        QVERIFY(declencherAction(&f, "actionAPropos"));
        QVERIFY(declencherAction(&f, "actionAProposQt"));
        const QString aPropos = Boites::boitesVues().value(0).texte;
        for (const QString& fait :
            { QRegularExpression::escape(QDir::currentPath()), QString("Phylacto \\d+\\.\\d+"),
                QString("GPL-3\\.0-or-later"), QString("BnF"), QString("Open Library") })
            QVERIFY2(aPropos.contains(QRegularExpression(fait)), qPrintable(fait));
        QCOMPARE(Boites::boitesVues().value(1).titre, QString("À propos de Qt"));

        QVERIFY(f.minimumWidth() <= 1127);
        f.resize(1, f.height());
        QTRY_COMPARE(f.width(), f.minimumWidth());
        QVERIFY(scene.table->viewport()->width()
            >= 40 + 20 * scene.table->fontMetrics().averageCharWidth());

        auto* panneaux = enfant<QWidget>(&f, "splitterPrincipal");
        const int hauteur = panneaux->height();
        f.ajouterAvis(QString(titreLong).repeated(8));
        f.ajouterAvis("Deux");
        auto* texte = enfant<QLabel>(&f, "lbTexte");
        QTRY_VERIFY(texte->isVisible());
        QTRY_VERIFY(texte->height() >= texte->heightForWidth(texte->width()));
        QCOMPARE(enfant<QWidget>(&f, "barreMessage")->width(), panneaux->width());
        QTRY_COMPARE(panneaux->height(), hauteur); // the window grew instead
    }

    void enregistrementEtPretAnnonces()
    {
        Bureau scene;
        QVERIFY(scene.ouvrir());
        scene.fenetre->save();
        QCOMPARE(scene.fenetre->statusBar()->currentMessage(), "Collection enregistrée (3 albums)");
        scene.table->setCurrentCell(0, 1);
        scene.fenetre->Preter();
        auto* pret = scene.fenetre->findChild<saisiePret*>();
        QVERIFY(pret);
        QVERIFY(enfant<QLabel>(pret, "lbAlbumPrete")->text().contains(titreLong));
    }

    void actionAnnuleeEtRetablie_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("texteAnnuler");
        QTest::addColumn<QString>("titreRetabli"); // in the detail panel after a redo
        // Entries past 40 characters are cut.
        const auto ligne = [](const char* nom, QString action, QString texte, QString titre) {
            QTest::newRow(nom) << action << texte << titre;
        };
        ligne("album", "album", "Annuler la suppression de l'album Arcti…", "");
        ligne("série", "serie", "Annuler la suppression de la série Blac…", "Le Chien debout");
        ligne(
            "changement", "changement", "Annuler la modification de l'album Arct…", "Titre changé");
        ligne("série finie", "finie", "Annuler la modification de l'album Arct…", "Titre changé");
        ligne("prêt", "pret", "Annuler le prêt de l'album Arctic Nation", "Arctic Nation");
        ligne("retour", "retour", "Annuler le retour de l'album Quelque pa…", "Quelque part");
        ligne("ajout", "ajout", "Annuler l'ajout de Blacksad – Âme", "Âme");
        ligne("couverture", "couverture", "Annuler le choix de la couverture de Ar…",
            "Arctic Nation");
    }
    void actionAnnuleeEtRetablie()
    {
        QFETCH(QString, action);
        QFETCH(QString, texteAnnuler);
        QFETCH(QString, titreRetabli);
        // Blacksad's albums stand apart in the file, one lent, one with a cover.
        Scene scene(ligneAlbum("Blacksad", "Quelque part", 1, 0, "", "Marc")
            + ligneAlbum("Aldebaran", "La Catastrophe", 1, 1)
            + ligneAlbum("Blacksad", "Arctic Nation", 2, 0, "images//a.jpg")
            + ligneAlbum("Aldebaran", "La Blonde", 2, 1) + ligneAlbum("Blacksad", "Ame Rouge", 3)
            + ligneAlbum("Canardo", "Le Chien debout", 1));
        Phylacto& fenetre = scene.ouvrir();
        QVERIFY(scene.choisir("Blacksad", "Arctic Nation"));
        const QStringList avant = etat(scene);

        if (action == "album") {
            fenetre.suppAlbum();
        } else if (action == "serie") {
            fenetre.suppSerie();
        } else if (action == "changement" || action == "finie") {
            fenetre.ModifAlbum({});
            fenetre.UpdateAlbum(action == "finie" ? "Blacksad" : "Nouvelle", "Titre changé", "S",
                "D", 9, "c", action == "finie" ? 0 : 2, 5, 2, "E", "G", "C");
        } else if (action == "ajout") {
            fenetre.nouvelAlbum("Blacksad", "Âme", "", "", 4, "", 0, 0, 2, "", "", "");
        } else if (action == "couverture") {
            QVERIFY(scene.ecrire("images/b.png", imagePng(4, 4)));
            QVERIFY(fenetre.affecterImage("Arctic Nation", "b.png"));
        } else if (action == "pret") {
            fenetre.Preter();
            auto* dialogue = fenetre.findChild<saisiePret*>();
            QVERIFY(dialogue);
            emit dialogue->pretValide("Blacksad", "Arctic Nation", "Julie");
        } else {
            fenetre.affichagePret();
            auto* dialogue = fenetre.findChild<Pret*>();
            QVERIFY(dialogue);
            emit dialogue->albumRendu(fenetre.getAlbums().first());
        }
        const QStringList apres = etat(scene);
        QVERIFY(apres != avant);
        QVERIFY(fenetre.estModifie());
        QCOMPARE(fenetre.findChild<QAction*>("actionAnnuler")->text(), texteAnnuler);

        for (int tour = 0; tour < 2; ++tour) {
            QVERIFY(declencherAction(&fenetre, "actionAnnuler"));
            QCOMPARE(etat(scene), avant);
            QCOMPARE(fenetre.isWindowModified(), false); // back to the file as loaded
            QVERIFY(declencherAction(&fenetre, "actionRetablir"));
            QCOMPARE(etat(scene).mid(0, apres.size() - 1), apres.mid(0, apres.size() - 1));
            QCOMPARE(scene.w<QLineEdit>("leTitre")->text(), titreRetabli);
            QCOMPARE(fenetre.isWindowModified(), true);
        }
    }

    void retourAuPointEnregistre()
    {
        Scene scene(ligneAlbum("Blacksad", "Quelque part", 1)
            + ligneAlbum("Blacksad", "Arctic Nation", 2) + ligneAlbum("Blacksad", "Ame Rouge", 3));
        Phylacto& fenetre = scene.ouvrir();
        QVERIFY(scene.choisir("Blacksad", "Quelque part"));
        fenetre.suppAlbum();
        fenetre.suppAlbum();
        fenetre.save();
        QVERIFY(declencherAction(&fenetre, "actionAnnuler"));
        QVERIFY(declencherAction(&fenetre, "actionAnnuler"));
        QCOMPARE(fenetre.getAlbums().size(), 3);
        QVERIFY(fenetre.estModifie());
        QVERIFY(declencherAction(&fenetre, "actionRetablir"));
        QVERIFY(declencherAction(&fenetre, "actionRetablir"));
        QVERIFY(!fenetre.estModifie()); // the saved state again

        // An album added is a step too: undoing it and the deletion is the saved state.
        QVERIFY(scene.choisir("Blacksad", "Ame Rouge"));
        fenetre.suppAlbum();
        fenetre.nouvelAlbum("Blacksad", "Neuf", "", "", 4, "", 0, 0, 0, "", "", "");
        QVERIFY(declencherAction(&fenetre, "actionAnnuler"));
        QVERIFY(fenetre.estModifie());
        QVERIFY(declencherAction(&fenetre, "actionAnnuler"));
        QVERIFY(!fenetre.estModifie());
        QCOMPARE(fenetre.getAlbums().size(), 1);
    }

    // The title names the file with the unsaved mark; a series renamed from its
    // context menu onto another one merges after a question, as one step.
    void titreEtRenommage()
    {
        Scene scene(ligneAlbum("Blacksad", "Quelque part", 1)
            + ligneAlbum("Blaksad", "Âme rouge", 3) + ligneAlbum("Blaksad", "Arctic Nation", 2));
        Phylacto& fenetre = scene.ouvrir();
        QCOMPARE(fenetre.windowTitle(), "collection.csv[*] — Phylacto");
        QVERIFY(scene.choisir("Blaksad", "Âme rouge"));
        const QStringList avant = etat(scene);
        Boites::setProchaineEtape([](QWidget* menu) { menu->actions().last()->trigger(); });
        Boites::setProchainTexte(" Blacksad ");
        Boites::setProchaineReponse(QMessageBox::Yes);
        emit scene.w<QListWidget>("LstSerie")->customContextMenuRequested({ 1, 1 });
        QCOMPARE(Boites::textesVus().value(0),
            "La série Blacksad existe déjà. Y déplacer les 2 albums de la série Blaksad ?");
        QCOMPARE(scene.resume(),
            "Blacksad | E:Blacksad | C: | M: | [Blacksad] 1:Quelque part,2:Arctic Nation,3:Âme "
            "rouge | 3 3 0 0 | Blacksad/Âme rouge/3");
        QCOMPARE(fenetre.isWindowModified(), true);
        QVERIFY(declencherAction(&fenetre, "actionAnnuler"));
        QCOMPARE(etat(scene), avant);
        QCOMPARE(fenetre.isWindowModified(), false);
    }

    // Long work reports how far it has come, in order, up to its end; the
    // window is not closed under it.
    void travauxLongsSuivis()
    {
        Scene scene;
        QByteArray lignes;
        for (int i = 0; i <= 3 * pasAvancement; ++i)
            lignes += ligneAlbum("Série", QString::number(i), i);
        QVERIFY(scene.ecrire("c.csv", lignes));
        QVERIFY(scene.ecrire("b.db", donnee("ligne-ancienne.db").repeated(2 * pasAvancement)));
        QList<QPair<qint64, qint64>> rapports;
        const Avancement noter = [&rapports](qint64 fait, qint64 total) {
            rapports.append({ fait, total });
        };
        Catalogue catalogue;
        QTextCodec* utf8 = QTextCodec::codecForName("UTF-8");
        const std::function<void()> travaux[] = {
            [&] { Importation::importer(scene.chemin("c.csv"), utf8, catalogue, noter); },
            [&] {
                Importation::convertirFichier(
                    scene.chemin("b.db"), scene.chemin("b.csv"), utf8, noter);
            },
            [&] { EcritureCollection::encoder(catalogue.albums(), utf8, noter); },
            [&] {
                EcritureCollection::enregistrer(
                    scene.chemin("d.csv"), QByteArray(9 << 20, 'x'), noter);
            },
        };
        for (const auto& travail : travaux) {
            rapports.clear();
            travail();
            QVERIFY(rapports.size() >= 3);
            for (int i = 1; i < rapports.size(); ++i) {
                QCOMPARE_LE(rapports[i - 1].first, rapports[i].first);
                QCOMPARE_LE(rapports[i].first, rapports[i].second);
            }
            QCOMPARE(rapports.last().first, rapports.last().second);
        }
        QCOMPARE(catalogue.albums().size(), 3 * pasAvancement + 1);
        QCOMPARE(scene.lire("b.csv").count('\n'), 2 * pasAvancement);

        // Started on, then importing, more series than are sorted one by one, in reverse order.
        QByteArray series[2];
        for (int i = 20; i > 0; --i)
            for (const char* lettre : { "S", "R" })
                series[*lettre == 'R']
                    += ligneAlbum(lettre + QString("%1").arg(i, 2, 10, QChar('0')), "A", 1, i % 2);
        QVERIFY(scene.collection(series[0]));
        QVERIFY(scene.ecrire("r.csv", series[1]));
        scene.ouvrir().show();
        for (int taille : { 20, 40 }) {
            for (const char* liste : { "LstSerie", "LstBDEuro" }) {
                const QStringList noms = scene.textes(liste);
                QCOMPARE_GE(noms.size() * 2, taille);
                QVERIFY(std::is_sorted(noms.begin(), noms.end()));
                QVERIFY(noms[0] < "S03");
            }
            Boites::setProchainFichier(scene.chemin("r.csv"));
            scene.fenetre->ImportCsv();
        }
        {
            TravailLong travail(scene.fenetre->statusBar(), "…");
            QVERIFY(!scene.fenetre->close());
        }
        QVERIFY(scene.fenetre->close());
    }

    void scene()
    {
        Scene scene(ligneAlbum("Élève", "E1", 1) + ligneAlbum("Élève", "E3", 3)
            + ligneAlbum("Cœur", "C1", 1, Manga) + ligneAlbum("Cœur", "C4", 4, Manga)
            + ligneAlbum("Blake", "Hors-série", 0, Comic));
        Phylacto& fenetre = scene.ouvrir();
        fenetre.show();
        QVERIFY(QTest::qWaitForWindowActive(&fenetre));
        auto* recherche = enfant<QLineEdit>(&fenetre, "leRechercheRapide");
        auto* etiquette = enfant<QLabel>(&fenetre, "lbTomesManquants");
        auto* tous = enfant<QListWidget>(&fenetre, "LstSerie");
        auto* mangas = enfant<QListWidget>(&fenetre, "LstManga");
        QVERIFY(recherche);
        QVERIFY(etiquette);
        QVERIFY(tous);
        QVERIFY(mangas);
        QCOMPARE(etiquette->text(), ""); // "Blake", first, has no numbered volume
        QVERIFY(QApplication::focusWidget() != recherche);

        mangas->setCurrentRow(0);
        QCOMPARE(etiquette->text(), "Tomes manquants : 2, 3");
        tous->setCurrentItem(tous->findItems("Élève", Qt::MatchExactly).first());
        QCOMPARE(etiquette->text(), "Tomes manquants : 2");

        QTest::keyClick(&fenetre, Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget(), recherche);
        QTest::keyClicks(recherche, "eleve");
        const auto montrees = [](QListWidget* liste) {
            QStringList noms;
            for (int ligne = 0; ligne < liste->count(); ++ligne)
                if (!liste->isRowHidden(ligne))
                    noms << liste->item(ligne)->text();
            return noms;
        };
        QCOMPARE(montrees(tous), QStringList { "Élève" });
        QVERIFY(montrees(mangas).isEmpty());
        // Albums entered meanwhile: a new series the text misses stays hidden.
        fenetre.nouvelAlbum("Zorro", "Z1", "", "", 1, "", 0, 0, 0, "", "", "");
        fenetre.nouvelAlbum("Élève", "E2", "", "", 2, "", 0, 0, 0, "", "", "");
        QCOMPARE(montrees(tous), QStringList { "Élève" });
        QCOMPARE(etiquette->text(), "Aucun tome manquant");

        QTest::keyClick(recherche, Qt::Key_Escape);
        QVERIFY(recherche->text().isEmpty());
        QCOMPARE(montrees(tous), (QStringList { "Blake", "Cœur", "Zorro", "Élève" }));
        QCOMPARE(tous->currentItem()->text(), "Élève");
        QCOMPARE(mangas->currentItem()->text(), "Cœur");
        // The current series hidden: the first one shown takes its place, or none.
        QTest::keyClicks(recherche, "bla");
        QCOMPARE(scene.resume().section(" | ", 4),
            "[Blake] 0:Hors-série | 7 4 1 2 | Blake/Hors-série/0");
        QTest::keyClicks(recherche, "xyz");
        QCOMPARE(scene.resume().section(" | ", 4), "[]  | 7 4 1 2 | //");
        QTest::keyClick(recherche, Qt::Key_Escape);

        QVERIFY(declencherAction(&fenetre, "actionTomesManquants"));
        QVERIFY(cliquer(fenetre.findChild<ListeTomesManquants*>(), "pbCopier"));
        QCOMPARE(QGuiApplication::clipboard()->text(),
            "Série\tType\tTomes manquants\tNombre\nCœur\tManga\t2, 3\t2\n");

        QVERIFY(declencherAction(&fenetre, "actionStatistiques"));
        auto* statistiques = fenetre.findChild<FenetreStatistiques*>();
        QVERIFY(statistiques);
        QCOMPARE(enfant<QTableWidget>(statistiques, "LstParType")->item(3, 0)->text(), "7");
        Boites::setProchainFichier(scene.chemin("types"));
        QVERIFY(cliquer(statistiques, "pbEnregistrerImage"));
        QVERIFY(!QImage(scene.chemin("types.png")).isNull());
        fenetre.setModifie(false);
    }
};

QTEST_MAIN(TestBureau)
#include "test_bureau.moc"
