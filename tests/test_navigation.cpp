// Browsing: series lists, album table, detail panel, counters, context menus.
#include "app/phylacto.h"
#include "model/bd.h"
#include "support/dossiertravail.h"
#include "support/repondeur.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTabWidget>
#include <QtTest>

namespace {

QTableWidget* table(Phylacto& fenetre)
{
    return enfant<QTableWidget>(&fenetre, "LstAlbum");
}

QString titreAffiche(Phylacto& fenetre)
{
    return enfant<QLineEdit>(&fenetre, "leTitre")->text();
}

void choisirSerie(Phylacto& fenetre, const QString& nom, const QString& liste = "LstSerie")
{
    auto* lst = enfant<QListWidget>(&fenetre, liste);
    const auto trouves = lst->findItems(nom, Qt::MatchExactly);
    QVERIFY2(!trouves.isEmpty(), qPrintable(nom));
    lst->setCurrentItem(trouves.first());
}

int ligneDuTitre(Phylacto& fenetre, const QString& titre)
{
    for (int ligne = 0; ligne < table(fenetre)->rowCount(); ++ligne) {
        if (table(fenetre)->item(ligne, 1)->text() == titre)
            return ligne;
    }
    return -1;
}

void ecrireImage(DossierTravail& dossier, const QString& relatif, QColor couleur)
{
    QImage image(40, 60, QImage::Format_RGB32);
    image.fill(couleur);
    QVERIFY(image.save(dossier.chemin(relatif), "PNG"));
}

} // namespace

class TestNavigation : public QObject
{
    Q_OBJECT

private slots:
    void tableauDesAlbums()
    {
        DossierTravail dossier;
        QByteArray lignes;
        for (int tome : {2, 10, 1})
            lignes += ligneAlbum("Blake", QString("Tome %1").arg(tome), tome);
        lignes += ligneAlbum("Zorro", "Tome 1", 1);
        dossier.ecrireCollection(lignes);
        Phylacto fenetre;

        QCOMPARE(fenetre.getSerieCourante(), QString("Blake"));
        QCOMPARE(table(fenetre)->rowCount(), 3);
        // Text cells: "10" sorts before "2"; each row keeps its pair.
        QCOMPARE(table(fenetre)->item(0, 0)->text(), QString("1"));
        QCOMPARE(table(fenetre)->item(1, 0)->text(), QString("10"));
        QCOMPARE(table(fenetre)->item(2, 0)->text(), QString("2"));
        for (int ligne = 0; ligne < 3; ++ligne)
            QCOMPARE(table(fenetre)->item(ligne, 1)->text(), "Tome " + table(fenetre)->item(ligne, 0)->text());
        QVERIFY(!(table(fenetre)->item(0, 1)->flags() & Qt::ItemIsEditable));
        // The panel shows the first album in catalogue order, not in table order.
        QCOMPARE(titreAffiche(fenetre), QString("Tome 2"));

        // Both cells of a row show the same album.
        table(fenetre)->setCurrentCell(1, 0);
        QCOMPARE(titreAffiche(fenetre), QString("Tome 10"));
        table(fenetre)->setCurrentCell(0, 1);
        QCOMPARE(titreAffiche(fenetre), QString("Tome 1"));
        table(fenetre)->setCurrentCell(2, 0);
        QCOMPARE(titreAffiche(fenetre), QString("Tome 2"));
        QCOMPARE(enfant<QLineEdit>(&fenetre, "leSerie")->text(), QString("Blake"));
        QCOMPARE(enfant<QLineEdit>(&fenetre, "leTome")->text(), QString("2"));
        QCOMPARE(enfant<QLineEdit>(&fenetre, "leColoriste")->text(), QString("Coloriste"));
        QVERIFY(!enfant<QLineEdit>(&fenetre, "leGenre")->isEnabled());

        // A series of another tab; switching tabs alone changes nothing.
        enfant<QTabWidget>(&fenetre, "tabWidget")->setCurrentIndex(1);
        QCOMPARE(fenetre.getSerieCourante(), QString("Blake"));
        choisirSerie(fenetre, "Zorro", "LstBDEuro");
        QCOMPARE(fenetre.getSerieCourante(), QString("Zorro"));
        QCOMPARE(table(fenetre)->rowCount(), 1);
        QCOMPARE(enfant<QListWidget>(&fenetre, "LstSerie")->currentItem()->text(), QString("Blake"));
    }

    void memeTitreDansLaSerieEtAilleurs()
    {
        DossierTravail dossier;
        QByteArray lignes = ligneAlbum("Autre", "Tome 1", 9);
        lignes += ligneAlbum("Blake", "Tome 1", 4);
        lignes += ligneAlbum("Blake", "Tome 1", 5);
        dossier.ecrireCollection(lignes);
        Phylacto fenetre;
        choisirSerie(fenetre, "Blake");
        QCOMPARE(table(fenetre)->rowCount(), 2);
        // Either row shows the first album of the shown series with that title.
        table(fenetre)->setCurrentCell(1, 1);
        QCOMPARE(enfant<QLineEdit>(&fenetre, "leTome")->text(), QString("4"));
        table(fenetre)->setCurrentCell(0, 0);
        QCOMPARE(enfant<QLineEdit>(&fenetre, "leTome")->text(), QString("4"));
    }

    void couvertureEtPret()
    {
        DossierTravail dossier;
        ecrireImage(dossier, "images/bleu.png", Qt::blue);
        ecrireImage(dossier, "data/AddPicture.bmp", Qt::red);
        QByteArray lignes = ligneAlbum("S", "Avec", 1, 0, "images//bleu.png", "Marc");
        lignes += ligneAlbum("S", "Souligne", 2, 0, "_", "_");
        lignes += ligneAlbum("S", "Absente", 3, 0, "images//absente.png");
        dossier.ecrireCollection(lignes);
        Phylacto fenetre;
        auto* couverture = enfant<QLabel>(&fenetre, "LabelImage");
        auto* preter = enfant<QPushButton>(&fenetre, "pbPreter");

        table(fenetre)->setCurrentCell(ligneDuTitre(fenetre, "Avec"), 1);
        QImage image = couverture->pixmap().toImage();
        QVERIFY(image.width() >= 250 && image.height() >= 250); // scaled by expanding
        QCOMPARE(QColor(image.pixel(image.width() / 2, image.height() / 2)), QColor(Qt::blue));
        QVERIFY(!preter->isEnabled());
        QCOMPARE(preter->text(), QString("BD pretée à Marc"));

        table(fenetre)->setCurrentCell(ligneDuTitre(fenetre, "Souligne"), 1);
        image = couverture->pixmap().toImage();
        QCOMPARE(QColor(image.pixel(image.width() / 2, image.height() / 2)), QColor(Qt::red));
        QVERIFY(preter->isEnabled());
        QCOMPARE(preter->text(), QString("Preter"));

        table(fenetre)->setCurrentCell(ligneDuTitre(fenetre, "Absente"), 1);
        QVERIFY(couverture->pixmap().isNull());
    }

    void couvertureReecriteRelue()
    {
        // A cover file rewritten under the same name shows its new picture.
        DossierTravail dossier;
        ecrireImage(dossier, "images/c.png", Qt::green);
        dossier.ecrireCollection(ligneAlbum("S", "A", 1, 0, "images//c.png")
                                 + ligneAlbum("S", "B", 2, 0, "images//c.png"));
        Phylacto fenetre;
        table(fenetre)->setCurrentCell(ligneDuTitre(fenetre, "A"), 1);
        ecrireImage(dossier, "images/c.png", Qt::yellow);
        table(fenetre)->setCurrentCell(ligneDuTitre(fenetre, "B"), 1);
        const QImage image = enfant<QLabel>(&fenetre, "LabelImage")->pixmap().toImage();
        QCOMPARE(QColor(image.pixel(10, 10)), QColor(Qt::yellow));
    }

    void listesEtCompteurs()
    {
        DossierTravail dossier;
        QByteArray lignes = ligneAlbum("Euro", "1", 1, 0) + ligneAlbum("Comic", "1", 1, 1)
                            + ligneAlbum("Manga", "1", 1, 2) + ligneAlbum("Cinq", "1", 1, 5)
                            + ligneAlbum("Euro", "2", 2, 2); // Manga album in a Euro series
        dossier.ecrireCollection(lignes);
        Phylacto fenetre;
        QCOMPARE(enfant<QListWidget>(&fenetre, "LstSerie")->count(), 4);
        QCOMPARE(enfant<QListWidget>(&fenetre, "LstBDEuro")->count(), 1);
        QCOMPARE(enfant<QListWidget>(&fenetre, "LstComics")->count(), 1);
        QCOMPARE(enfant<QListWidget>(&fenetre, "LstManga")->count(), 1);
        QCOMPARE(enfant<QLabel>(&fenetre, "lbTotale")->text(), QString("5"));
        QCOMPARE(enfant<QLabel>(&fenetre, "lbEuro")->text(), QString("2")); // type 5 counts as Euro
        QCOMPARE(enfant<QLabel>(&fenetre, "lbComics")->text(), QString("1"));
        QCOMPARE(enfant<QLabel>(&fenetre, "lbManga")->text(), QString("2"));

        fenetre.MAJListesSeries();
        fenetre.MAJListesSeries();
        QCOMPARE(enfant<QListWidget>(&fenetre, "LstSerie")->count(), 4);
        QCOMPARE(enfant<QListWidget>(&fenetre, "LstSerie")->item(0)->text(), QString("Cinq"));
    }

    void serieVideeGardeLePanneau()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligneAlbum("A", "a1", 1) + ligneAlbum("B", "b1", 1));
        Phylacto fenetre;
        QCOMPARE(titreAffiche(fenetre), QString("a1"));
        fenetre.getCatalogue().supprimerAlbum(fenetre.getCatalogue().premierAlbum("B", "b1"));
        choisirSerie(fenetre, "B");
        QCOMPARE(table(fenetre)->rowCount(), 0);
        QCOMPARE(titreAffiche(fenetre), QString("a1"));
    }

    void menusContextuels()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligneAlbum("A", "a1", 1));
        Phylacto fenetre;
        RepondeurModal repondeur;
        emit table(fenetre)->customContextMenuRequested(QPoint(1, 1));
        emit enfant<QListWidget>(&fenetre, "LstManga")->customContextMenuRequested(QPoint(1, 1));
        QCOMPARE(repondeur.menus().size(), 2);
        QCOMPARE(repondeur.menus().at(0), (QStringList{"Supprimer album", "Ajouter une suite"}));
        QCOMPARE(repondeur.menus().at(1), QStringList{"Supprimer série"});
    }

    void fenetreEtMenus()
    {
        DossierTravail dossier;
        Phylacto fenetre;
        QCOMPARE(fenetre.windowTitle(), QString("Phylacto"));
        QCOMPARE(fenetre.size(), QSize(1127, 372));
        QCOMPARE(enfant<QPushButton>(&fenetre, "pbChercherImage")->text(), QString("Rerchercher Image"));
        const QStringList menus = {"menuFichier", "menuBDs", "menuOutils", "menuCOnfiguration"};
        QStringList titres;
        for (const QString& nom : menus)
            titres << enfant<QMenu>(&fenetre, nom)->title();
        QCOMPARE(titres, (QStringList{"Fichier", "Albums", "Outils", "Configuration"}));
        QStringList fichier;
        for (QAction* action : enfant<QMenu>(&fenetre, "menuFichier")->actions())
            fichier << (action->isSeparator() ? "-" : action->text());
        QCOMPARE(fichier, (QStringList{"Importer Csv ou DB", "Exporter Csv", "Exporter pour un tableur…",
                                       "-", "Enregistrer", "Enregistrer sous",
                                       "Restaurer une sauvegarde…", "-", "Quitter"}));
        // Declared but connected to nothing.
        QVERIFY(declencherAction(&fenetre, "actionExporter_Csv"));
        QVERIFY(declencherAction(&fenetre, "actionConvertir_DB_en_CSV"));
        QVERIFY(!fenetre.estModifie());
    }
};

QTEST_MAIN(TestNavigation)
#include "test_navigation.moc"
