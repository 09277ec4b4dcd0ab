// Quick search, missing volumes and statistics: the rules on a catalogue,
// then one window scene.
#include "dialogs/fenetrestatistiques.h"
#include "dialogs/listetomesmanquants.h"
#include "model/recherche.h"
#include "model/statistiques.h"
#include "model/tomes.h"
#include "support/fixture.h"

#include <QClipboard>

namespace {

void ajouter(Catalogue& catalogue, const QString& serie, const QString& titre, int tome,
    const QString& scenariste = QString(), const QString& dessinateur = QString(), int type = 0)
{
    catalogue.ajouter({ serie, titre, scenariste, dessinateur, tome, {}, type, 0, 0, {}, {}, {} });
}

QStringList trie(const QSet<QString>& noms)
{
    QStringList liste(noms.cbegin(), noms.cend());
    liste.sort();
    return liste;
}

} // namespace

class TestRecherche : public QObject
{
    Q_OBJECT

private slots:
    void seriesTrouvees_data()
    {
        QTest::addColumn<QStringList>("frappes"); // typed one after the other
        QTest::addColumn<QStringList>("attendues");
        const auto ligne = [](const char* nom, QStringList frappes, QStringList attendues) {
            QTest::newRow(nom) << frappes << attendues;
        };
        ligne("accents du nom", { "eleve" }, { "L'Élève Ducobu" });
        ligne("ligature du titre", { "coeur" }, { "Zoé" });
        ligne("cedille du scenariste", { "FRANCOIS" }, { "Blake" });
        ligne("dessinateur", { "zep" }, { "L'Élève Ducobu" });
        ligne("majuscules accentuees tapees", { "ÉLÈVE" }, { "L'Élève Ducobu" });
        ligne("rien", { "xyz" }, {});
        ligne("deux champs ne font pas un mot", { "cobuzep" }, {});
        ligne("frappe apres frappe", { "b", "bl", "bla" }, { "Blake" });
        ligne("retour arriere", { "bla", "b" }, { "Blake", "L'Élève Ducobu" });
        ligne("texte efface", { "bla", "" }, { "Blake", "L'Élève Ducobu", "Vide", "Zoé" });
    }

    void seriesTrouvees()
    {
        QFETCH(QStringList, frappes);
        QFETCH(QStringList, attendues);
        Catalogue catalogue;
        ajouter(catalogue, "L'Élève Ducobu", "Un élève modèle", 1, "Godi", "Zep");
        ajouter(catalogue, "Blake", "Le Piège", 1, "François Sente", "Juillard");
        ajouter(catalogue, "Zoé", "Le Cœur en fête", 2, "", "");
        ajouter(catalogue, "Vide", "T", 1);
        IndexRecherche index;
        QSet<QString> trouvees;
        for (const QString& frappe : std::as_const(frappes))
            trouvees = index.seriesTrouvees(catalogue, frappe);
        QCOMPARE(trie(trouvees), attendues);
    }

    void indexSuitLeCatalogue()
    {
        Catalogue catalogue;
        ajouter(catalogue, "Blake", "Le Piège", 1, "Sente");
        IndexRecherche index;
        QCOMPARE(trie(index.seriesTrouvees(catalogue, "sente")), QStringList { "Blake" });
        ajouter(catalogue, "Thorgal", "La Magicienne trahie", 1, "", "Sentenac");
        QCOMPARE(trie(index.seriesTrouvees(catalogue, "sente")), (QStringList { "Blake", "Thorgal" }));
        catalogue.modifier("Thorgal", "La Magicienne trahie",
            { "Thorgal", "La Magicienne trahie", "Van Hamme", "", 1, {}, 0, 0, 0, {}, {}, {} });
        QCOMPARE(trie(index.seriesTrouvees(catalogue, "sente")), QStringList { "Blake" });
        catalogue.supprimerSerie("Blake");
        QCOMPARE(trie(index.seriesTrouvees(catalogue, "e")), QStringList { "Thorgal" });
    }

    void manques_data()
    {
        QTest::addColumn<QList<int>>("tomes");
        QTest::addColumn<QString>("etiquette");
        QTest::addColumn<qint64>("nombre");
        QTest::newRow("trous") << QList<int> { 8, 1, 2, 4 } << "Tomes manquants : 3, 5 à 7" << qint64(4);
        QTest::newRow("deux de suite") << QList<int> { 1, 4 } << "Tomes manquants : 2, 3" << qint64(2);
        QTest::newRow("debut manquant") << QList<int> { 3 } << "Tomes manquants : 1, 2" << qint64(2);
        QTest::newRow("complete, doublons") << QList<int> { 2, 1, 2, 3 } << "Aucun tome manquant" << qint64(0);
        QTest::newRow("hors-serie ignores") << QList<int> { 0, -4, 2 } << "Tomes manquants : 1" << qint64(1);
        QTest::newRow("sans numero") << QList<int> { 0, 0 } << "" << qint64(0);
        QTest::newRow("aucun album") << QList<int> {} << "" << qint64(0);
        QTest::newRow("tome enorme") << QList<int> { 1, 2000000000 } << "Tomes manquants : 2 à 1999999999"
                                     << qint64(1999999998);
    }

    void manques()
    {
        QFETCH(QList<int>, tomes);
        const Tomes::Manques manques = Tomes::manques(tomes);
        QTEST(Tomes::texteEtiquette(manques), "etiquette");
        QTEST(manques.nombre, "nombre");
    }

    void statistiques()
    {
        Catalogue catalogue;
        // Series Sj: volumes 1 to 12-j, kind j%3; publisher Ek on k+1 albums.
        for (int i = 0; i < 12; ++i)
            for (int j = 0; j <= i; ++j)
                catalogue.ajouter({ "S" + QString::number(j), QString::number(i), "Scé", "", i - j + 1, {},
                    j % 3, 0, j == 0 ? 2 : 0, "E" + QString::number(11 - i + j), {}, {} });
        ajouter(catalogue, "Inconnu", "x", 5, {}, {}, 7);
        BD* recent = catalogue.albums().at(0);
        BD* ancien = catalogue.albums().at(3);
        BD* illisible = catalogue.albums().at(5);
        recent->setEmprunteur("Marc");
        recent->setDateEmprunt("01/03/2014");
        ancien->setEmprunteur("Léa");
        ancien->setDateEmprunt("28/02/2014");
        illisible->setEmprunteur("Zoé");
        illisible->setDateEmprunt("hier");
        catalogue.albums().at(1)->setImage("images//a.jpg");
        catalogue.albums().at(2)->setImage("_");

        const Statistiques stats = Statistiques::calculer(catalogue, QDate(2014, 3, 11));
        // Euro: S0, S3, S6, S9 and kind 7; "Inconnu" holds only volume 5.
        QCOMPARE(QList<qint64>({ stats.albumsParType[Euro], stats.albumsParType[Comic], stats.albumsParType[Manga], stats.seriesParType[Euro],
                     stats.seriesParType[Comic], stats.seriesFinies, stats.albumsSansCouverture, stats.tomesManquants }),
            QList<qint64>({ 12 + 9 + 6 + 3 + 1, 11 + 8 + 5 + 2, 10 + 7 + 4 + 1, 5, 4, 1, 78, 4 }));
        QStringList prets, editeurs;
        for (const Statistiques::Pret& pret : stats.prets)
            prets << pret.emprunteur + QString::number(pret.jours);
        for (const Statistiques::Frequence& editeur : stats.editeurs)
            editeurs << editeur.nom + ':' + QString::number(editeur.albums);
        QCOMPARE(prets, QStringList({ "Léa11", "Marc10", "Zoé-1" }));
        QCOMPARE(editeurs.join(' '), QString("E11:12 E10:11 E9:10 E8:9 E7:8 E6:7 E5:6 E4:5 E3:4 E2:3"));
        QVERIFY(stats.scenaristes.size() == 1 && stats.dessinateurs.isEmpty());
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
        QVERIFY(recherche && etiquette && tous && mangas);
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

        QVERIFY(declencherAction(&fenetre, "actionTomesManquants"));
        auto* manquants = fenetre.findChild<ListeTomesManquants*>();
        QVERIFY(manquants);
        enfant<QPushButton>(manquants, "pbCopier")->click();
        QCOMPARE(QGuiApplication::clipboard()->text(),
            "Série\tType\tTomes manquants\tNombre\nCœur\tManga\t2, 3\t2\n");

        QVERIFY(declencherAction(&fenetre, "actionStatistiques"));
        auto* statistiques = fenetre.findChild<FenetreStatistiques*>();
        QVERIFY(statistiques);
        QCOMPARE(enfant<QTableWidget>(statistiques, "LstParType")->item(3, 0)->text(), "7");
        fenetre.setModifie(false);
    }
};

QTEST_MAIN(TestRecherche)
#include "test_recherche.moc"
