// Keyboard, a layout that grows and is remembered, and what saving and lending show.
#include "dialogs/saise.h"
#include "dialogs/saisiepret.h"
#include "support/fixture.h"

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
        // The shortcuts the program sets itself; the form's own are not restated.
        QTest::newRow("configuration")
            << (preferences.isEmpty() ? QKeySequence("Ctrl+,") : preferences.first())
            << "actionConfiguration_reseau";
        QTest::newRow("rétablir") << QKeySequence("Ctrl+Shift+Z") << "actionRetablir";
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
        QCOMPARE(titre->cursorPosition(), 0); // its beginning shows
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
};

QTEST_MAIN(TestBureau)
#include "test_bureau.moc"
