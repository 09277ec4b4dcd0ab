// Shared texts, the line codec's fast paths and the explorer's table model,
// without a window.
#include "dialogs/modeleexplorateur.h"
#include "model/bd.h"
#include "model/catalogue.h"
#include "store/fichiercollection.h"
#include "store/lignecollection.h"

#include <QtTest>

namespace {

// serie;titre;tome;dessinateur;scenariste;editeur : the other fields empty.
const char* const lignes[] = { "S2;B;2;Jean;Paul;Dupuis", "S1;A;10;Jean-Marc;Luc;dargaud",
    "S2;A;1;Marc;Paul;Dargaud", "S1;C;9;Jean;Marie;Dargaud" };

bool charger(Catalogue& catalogue)
{
    QString texte;
    for (const char* ligne : lignes)
        texte += QLatin1String(ligne) + QStringLiteral(";;0;G;;;;0;0;_;0;0;0;;Col\n");
    return FichierCollection::lireTexte(texte, catalogue).albumsLus == 4;
}

// "serie/titre" of the rows shown, in order.
QString affichees(const ModeleExplorateur& modele)
{
    QStringList resultat;
    for (int ligne : modele.lignesAffichees())
        resultat << modele.texte(ligne, 0) + '/' + modele.texte(ligne, 1);
    return resultat.join(' ');
}

} // namespace

class TestExplorateurModele : public QObject
{
    Q_OBJECT

private slots:
    void champsNumeriques_data()
    {
        QTest::addColumn<QString>("champ");
        for (const char* champ : { "7", "-7", "+7", "007", " 12", "12 ", "1x", "", "-", "999999999",
                 "2147483647", "2147483648", "-2147483648", "٣" })
            QTest::addRow("«%s»", champ) << QString::fromUtf8(champ);
    }

    // The quick path reads every number as the general parser does.
    void champsNumeriques()
    {
        QFETCH(QString, champ);
        const QString ligne = "S;T;" + champ + ";;;;;" + champ + ";;;;;" + champ
            + ";0;_;0;0;0;;";
        QScopedPointer<BD> album(LigneCollection::decoder(ligne));
        QVERIFY(album);
        QCOMPARE(album->tome, champ.toInt());
        QCOMPARE(album->entier8, champ.toInt());
        QCOMPARE(album->reel13, champ.toDouble());
    }

    void textesPartagesEtLignesRelues()
    {
        Catalogue catalogue;
        QVERIFY(charger(catalogue));
        const QList<BD*>& albums = catalogue.albums();
        QCOMPARE(albums.at(2)->getSerie(), QString("S2"));
        QCOMPARE(albums.at(3)->getEditeur(), QString("Dargaud"));
        QCOMPARE(albums.at(0)->getSerie().constData(), albums.at(2)->getSerie().constData());
        QCOMPARE(albums.at(0)->getColoriste().constData(), albums.at(3)->getColoriste().constData());
        // An entry shares the texts already there, and keeps its values.
        ValeursAlbum v;
        v.serie = QString("S") + "1";
        v.titre = "D";
        v.editeur = "Dupuis";
        QCOMPARE(catalogue.ajouter(v).etat, ResultatEdition::Fait);
        QCOMPARE(albums.last()->getSerie().constData(), albums.at(1)->getSerie().constData());
        QCOMPARE(albums.last()->getEditeur(), QString("Dupuis"));

        // Many texts: the table grows and every text keeps its value.
        TextesPartages textes;
        for (int i = 0; i < 3000; ++i)
            QCOMPARE(textes.partager(QString::number(i)), QString::number(i));
        const QString mille = textes.partager(QStringLiteral("1000"));
        QCOMPARE(textes.partager(QStringView(u"1000")).constData(), mille.constData());
        QCOMPARE(textes.nombre(), qsizetype(3000));
    }

    void tableTriFiltresEtInstantane()
    {
        auto* catalogue = new Catalogue;
        QVERIFY(charger(*catalogue));
        ModeleExplorateur modele(*catalogue);
        QCOMPARE(modele.valeursAffichees(ModeleExplorateur::ColDessinateur, true),
            QStringList({ "", "Jean", "Jean-Marc", "Marc" }));

        // Stable sorts: equal texts keep the order of the previous sort.
        modele.sort(ModeleExplorateur::ColTitre, Qt::AscendingOrder);
        modele.sort(ModeleExplorateur::ColSerie, Qt::DescendingOrder);
        QCOMPARE(affichees(modele), QString("S2/A S2/B S1/A S1/C"));
        modele.sort(ModeleExplorateur::ColTome, Qt::AscendingOrder); // as texts
        QCOMPARE(affichees(modele), QString("S2/A S1/A S2/B S1/C"));

        // Filters keep the sorted order; the lists follow the rows shown.
        modele.filtrer("Jean", QString(), "Dargaud");
        QCOMPARE(affichees(modele), QString("S1/C"));
        modele.filtrer("Jean", QString(), QString());
        QCOMPARE(affichees(modele), QString("S1/A S2/B S1/C"));
        QCOMPARE(modele.valeursAffichees(ModeleExplorateur::ColScenariste),
            QStringList({ "", "Luc", "Paul", "Marie" }));

        // An edit changes the table only, and the filters hold on it.
        QVERIFY(modele.setData(modele.index(0, ModeleExplorateur::ColDessinateur), "Pierre"));
        QCOMPARE(catalogue->albums().at(1)->getDessinateur(), QString("Jean-Marc"));
        QCOMPARE(affichees(modele), QString("S2/B S1/C"));
        QVERIFY(modele.setData(modele.index(0, ModeleExplorateur::ColTitre), "Z"));
        QCOMPARE(modele.index(0, ModeleExplorateur::ColTitre).data().toString(), QString("Z"));

        // Albums changed or deleted after opening show as they were.
        ValeursAlbum v;
        v.serie = "S9";
        v.titre = "C";
        QCOMPARE(catalogue->modifier("S1", "C", v).etat, ResultatEdition::Fait);
        catalogue->supprimerSerie("S2");
        QCOMPARE(affichees(modele), QString("S2/Z S1/C"));
        QCOMPARE(modele.texte(0, ModeleExplorateur::ColEditeur), QString("Dupuis"));
        modele.filtrer(QString(), QString(), QString());
        QCOMPARE(modele.rowCount(), 4);
        // Gone with its catalogue: what was kept stays, nothing else is read.
        delete catalogue;
        QCOMPARE(modele.texte(3, ModeleExplorateur::ColScenariste), QString("Marie"));
        QVERIFY(modele.texte(1, ModeleExplorateur::ColScenariste).isEmpty());
        modele.sort(ModeleExplorateur::ColDessinateur, Qt::AscendingOrder);
        QCOMPARE(modele.index(0, ModeleExplorateur::ColDessinateur).data().toString(),
            QString("Jean"));
    }
};

QTEST_MAIN(TestExplorateurModele)
#include "test_explorateur_modele.moc"
