// Spreadsheet export, read back by a strict RFC 4180 reader: rules, menu and explorer.
#include "app/phylacto.h"
#include "dialogs/boites.h"
#include "model/bd.h"
#include "store/exporttableur.h"
#include "support/fixture.h"

#include <QComboBox>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

// Records of a UTF-8 file with a byte-order mark, ";" separated, CRLF ended.
static bool lireTableur(const QByteArray& octets, QList<QStringList>* lignes)
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

class TestExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Boites::setAutomatique(true); }

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
        Boites::setProchainFichier(dossier.chemin("lignes.csv"));
        enfant<QPushButton>(explorateur, "pbExporter")->click();
        QList<QStringList> lignes;
        QVERIFY(lireTableur(dossier.lire("lignes.csv"), &lignes));
        QCOMPARE(lignes.size(), 4);
        QCOMPARE(QStringList({ lignes[1][1], lignes[2][1], lignes[3][1] }),
            QStringList({ "c2", "b1", "a1" }));

        Boites::setProchainFichier(dossier.chemin("absent/x.csv"));
        QVERIFY(declencherAction(&fenetre, "actionExporterTableur"));
        Boites::setProchainFichier(dossier.chemin("collection.csv"));
        QVERIFY(declencherAction(&fenetre, "actionExporterTableur"));
        fenetre.getCatalogue().supprimerSerie("A");
        enfant<QPushButton>(explorateur, "pbExporter")->click();
        QCOMPARE(Boites::boitesVues().size(), 3);
        QCOMPARE(Boites::nbDialoguesFichier(), 3);
    }
};

QTEST_MAIN(TestExport)
#include "test_export.moc"
