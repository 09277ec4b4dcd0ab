// Keyboard, a layout that grows and is remembered, and what saving and lending show.
#include "app/travaillong.h"
#include "dialogs/saise.h"
#include "dialogs/saisiepret.h"
#include "model/catalogue.h"
#include "store/ecriturecollection.h"
#include "store/importation.h"
#include "support/fixture.h"

#include <QTextCodec>
#include <QtWidgets>

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
        QTimer::singleShot(0, [&entrees]() {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                entrees = int(menu->actions().size());
                menu->close();
            }
        });
        QTest::keyClick(vue, touche.key(), touche.keyboardModifiers());
        return entrees;
    }
};

} // namespace

class TestBureau : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        for (QWidget* fenetre : QApplication::topLevelWidgets())
            fenetre->close();
    }

    void raccourcisDesMenus_data()
    {
        QTest::addColumn<QKeySequence>("touche");
        QTest::addColumn<QString>("action");
        const QList<QKeySequence> preferences = QKeySequence::keyBindings(QKeySequence::Preferences);
        QTest::newRow("enregistrer") << QKeySequence("Ctrl+S") << "actionEnregistrer";
        QTest::newRow("sous") << QKeySequence("Ctrl+Shift+S") << "actionEnregistrer_sous";
        QTest::newRow("importer") << QKeySequence("Ctrl+O") << "actionImporter_Csv";
        QTest::newRow("ajouter") << QKeySequence("Ctrl+N") << "actionAjouter_Album";
        QTest::newRow("configuration")
            << (preferences.isEmpty() ? QKeySequence("Ctrl+,") : preferences.first())
            << "actionConfiguration_reseau";
        QTest::newRow("annuler") << QKeySequence("Ctrl+Z") << "actionAnnuler";
        QTest::newRow("rétablir") << QKeySequence("Ctrl+Shift+Z") << "actionRetablir";
        QTest::newRow("quitter") << QKeySequence("Ctrl+Q") << "actionQuitter";
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
        QVERIFY(saisie && saisie->isVisible());
        QCOMPARE(enfant<QLineEdit>(saisie, "leAlbum")->text(), QString(titreLong));
        saisie->close();

        QCOMPARE(scene.entreesDuMenu(scene.table, Qt::Key_Menu), 2);
        QCOMPARE(scene.entreesDuMenu(scene.table, Qt::SHIFT | Qt::Key_F10), 2);
        QCOMPARE(scene.entreesDuMenu(enfant<QListWidget>(scene.fenetre.get(), "LstSerie"),
                     Qt::Key_Menu), 1);

        scene.table->setFocus();
        QTest::keyClick(scene.table, Qt::Key_Delete);
        QCOMPARE(scene.fenetre->getAlbums().size(), 2);
        QCOMPARE(scene.table->rowCount(), 2);

        QTest::keyClick(scene.table, Qt::Key_Tab);
        QVERIFY(!scene.table->hasFocus());
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
        QVERIFY(couverture->pixmap().width() > couvertureDefaut.width());
        QVERIFY(couverture->pixmap().height() > couvertureDefaut.height());

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

    // Long work reports how far it has come, in order, up to its end; the
    // window is not closed under it.
    void travauxLongsSuivis()
    {
        Scene scene;
        QByteArray lignes;
        for (int i = 0; i <= 3 * pasAvancement; ++i)
            lignes += ligneAlbum("Série", QString::number(i), i);
        QVERIFY(scene.ecrire("c.csv", lignes));
        QVERIFY(scene.ecrire("b.db", QByteArray("\"S\" \"A\" 1 \"D\" \"Sc\" \"Ed\" \"Bon\" 0 \"G\" "
                                                "\"images\\\\s.jpg\" \"_\" \"_\" 0 0 \"_\" 3 0 0 \"_\"\r\n")
                                         .repeated(2 * pasAvancement)));
        QList<QPair<qint64, qint64>> rapports;
        const Avancement noter = [&rapports](qint64 fait, qint64 total) { rapports.append({ fait, total }); };
        Catalogue catalogue;
        QTextCodec* utf8 = QTextCodec::codecForName("UTF-8");
        const std::function<void()> travaux[] = {
            [&] { Importation::importer(scene.chemin("c.csv"), utf8, catalogue, noter); },
            [&] { Importation::convertirFichier(scene.chemin("b.db"), scene.chemin("b.csv"), utf8, noter); },
            [&] { EcritureCollection::encoder(catalogue.albums(), utf8, noter); },
            [&] { EcritureCollection::enregistrer(scene.chemin("d.csv"), QByteArray(9 << 20, 'x'), noter); },
        };
        for (const auto& travail : travaux) {
            rapports.clear();
            travail();
            QVERIFY(rapports.size() >= 3);
            for (int i = 1; i < rapports.size(); ++i)
                QVERIFY(rapports[i - 1].first <= rapports[i].first && rapports[i].first <= rapports[i].second);
            QCOMPARE(rapports.last().first, rapports.last().second);
        }
        QCOMPARE(catalogue.albums().size(), 3 * pasAvancement + 1);
        QCOMPARE(scene.lire("b.csv").count('\n'), 2 * pasAvancement);

        scene.ouvrir().show();
        {
            TravailLong travail(scene.fenetre->statusBar(), "…");
            QVERIFY(!scene.fenetre->close());
        }
        QVERIFY(scene.fenetre->close());
    }
};

QTEST_MAIN(TestBureau)
#include "test_bureau.moc"
