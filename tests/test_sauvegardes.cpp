// Dated backups: listing and retention, then saving and restoring from the window.
#include "app/phylacto.h"
#include "dialogs/boites.h"
#include "store/sauvegardes.h"
#include "support/fixture.h"

#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>

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

class TestSauvegardes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Boites::setAutomatique(true); }

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
};

QTEST_MAIN(TestSauvegardes)
#include "test_sauvegardes.moc"
