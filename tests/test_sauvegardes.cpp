// Dated backups (listing, retention, saving and restoring from the window) and the
// spreadsheet export, read back by a strict RFC 4180 reader.
#include "store/exporttableur.h"
#include "store/sauvegardes.h"
#include "support/fixture.h"

#include <QSpinBox>
#include <QTableView>

static QStringList sauvegardesDe(const DossierTravail& dossier)
{
    return QDir(dossier.chemin("data/sauvegardes")).entryList(QDir::Files, QDir::Name);
}

// One folder holding them all: name, content, rank newest first (-1: not a backup of
// col.csv), album count.
static const std::tuple<const char*, QByteArray, int, int> dossierListe[] = {
    { "col-2026-01-02-030405-2.csv", "a\nb\n", 0, 2 },
    { "col-2026-01-02-030405.csv", "a\r\nb", 1, 2 },
    { "col-2026-01-02-030404.csv", QByteArray("\xff\xfe\n\1\n\0\n\1\n\0", 10), 2, 2 },
    { "col-old-2026-01-01-000000.csv", "", -1, 0 },
};

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

class TestSauvegardes : public QObject
{
    Q_OBJECT

private slots:
    void listerEtElaguer()
    {
        DossierTravail dossier;
        for (const auto& [nom, contenu, rang, albums] : dossierListe)
            dossier.ecrire(nom, contenu);
        const auto liste = Sauvegardes::lister(dossier.chemin(), "/ailleurs/col.csv", nullptr);
        QCOMPARE(liste.size(), 3);
        for (const auto& [nom, contenu, rang, albums] : dossierListe) {
            if (rang >= 0)
                QCOMPARE(QStringList({ QFileInfo(liste[rang].chemin).fileName(),
                             QString::number(liste[rang].nbAlbums) }),
                    QStringList({ nom, QString::number(albums) }));
        }
        QCOMPARE(Sauvegardes::elaguer(dossier.chemin(), "col.csv", 1), QString());
        for (const auto& [nom, contenu, rang, albums] : dossierListe)
            QCOMPARE(QFile::exists(dossier.chemin(nom)), rang <= 0);
    }

    // Count from the settings window, bytes kept, retention; an older backup restored
    // (refused, then confirmed); a backup that cannot be made; 0 for none.
    void sauvegarderEtRestaurer()
    {
        DossierTravail dossier;
        const QByteArray avant = ligneAlbum("A", "a1", 1).replace("\n", "\r\n");
        dossier.collection(avant);
        Phylacto fenetre;
        QVERIFY(declencherAction(&fenetre, "actionConfiguration_reseau"));
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* nombre = enfant<QSpinBox>(w, "sbSauvegardes");
                nombre && nombre->value() == 10) {
                nombre->setValue(2);
                enfant<QPushButton>(w, "pushValider")->click();
            }
        }
        for (int fois = 1; fois <= 3; ++fois) {
            fenetre.save();
            QCOMPARE(sauvegardesDe(dossier).size(), qMin(fois, 2));
            if (fois == 1)
                QCOMPARE(dossier.lire("data/sauvegardes/" + sauvegardesDe(dossier)[0]), avant);
        }

        const QByteArray actuel = dossier.lire("collection.csv");
        dossier.ecrire("data/sauvegardes/collection-2026-01-02-030405.csv",
            ligneAlbum("C", "c1", 1) + ligneAlbum("C", "c2", 2));
        QVERIFY(declencherAction(&fenetre, "actionRestaurer"));
        auto* dialogue = fenetre.findChild<QDialog*>("Restauration");
        auto* table = enfant<QTableWidget>(dialogue, "LstSauvegardes");
        table->selectRow(2);
        for (const auto reponse : { QMessageBox::No, QMessageBox::Yes }) {
            Boites::setProchaineReponse(reponse);
            enfant<QPushButton>(dialogue, "pbRestaurer")->click();
        }
        QVERIFY(fenetre.estModifie() && !dialogue->isVisible());
        QCOMPARE(sauvegardesDe(dossier).size(), 4);
        QFile derniere(
            Sauvegardes::lister(dossier.chemin("data/sauvegardes"), "collection.csv", nullptr)[0]
                .chemin);
        QVERIFY(derniere.open(QIODevice::ReadOnly) && derniere.readAll() == actuel);
        auto* series = enfant<QListWidget>(&fenetre, "LstSerie");
        QVERIFY(series->count() == 1 && series->item(0)->text() == "C");
        QCOMPARE(enfant<QTableWidget>(&fenetre, "LstAlbum")->rowCount(), 2);

        QVERIFY(QDir(dossier.chemin("data/sauvegardes")).removeRecursively());
        dossier.ecrire("data/sauvegardes", "");
        fenetre.save();
        QVERIFY(!fenetre.estModifie() && dossier.lire("collection.csv") != actuel);
        QCOMPARE(Boites::boitesVues().size(), 3); // the two questions, then this one

        QFile::remove(dossier.chemin("data/sauvegardes"));
        fenetre.getSettings()->setValue("BASE/Sauvegardes", "0");
        fenetre.save();
        QVERIFY(sauvegardesDe(dossier).isEmpty());
    }

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

QTEST_MAIN(TestSauvegardes)
#include "test_sauvegardes.moc"
