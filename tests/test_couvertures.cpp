// Covers: file names, the choice panel, the search for one album, the
// automatic walk over missing covers and the cover taken from a local file.
#include "app/phylacto.h"
#include "covers/albuminfos.h"
#include "covers/choitimage.h"
#include "covers/nomimage.h"
#include "model/bd.h"
#include "model/catalogue.h"
#include "support/dossiertravail.h"
#include "support/repondeur.h"
#include "support/serveurtest.h"

#include <QBuffer>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

namespace {

QByteArray imagePng(int largeur, int hauteur, QColor couleur = Qt::red)
{
    QImage image(largeur, hauteur, QImage::Format_RGB32);
    image.fill(couleur);
    QByteArray octets;
    QBuffer tampon(&octets);
    tampon.open(QIODevice::WriteOnly);
    image.save(&tampon, "PNG");
    return octets;
}

BD* album(const QString& serie, const QString& titre, int tome, const QString& image = QString())
{
    return new BD(serie, titre, tome, QString(), QString(), QString(), QString(), 0, QString(),
        image, QString(), QString(), 0, 0, QString(), 0, 0, 0, QString(), QString());
}

QString imageDe(Phylacto& fenetre, const QString& serie, const QString& titre)
{
    return fenetre.getCatalogue().premierAlbum(serie, titre)->getImage();
}

void cliquer(QWidget* parent, const char* bouton)
{
    enfant<QPushButton>(parent, bouton)->click();
}

QString proposition(QWidget* panneau)
{
    return enfant<QLineEdit>(panneau, "leTitreRecherche")->text();
}

// Makes the series current, then the row of that title (none: no current album).
void choisirAlbum(Phylacto& fenetre, const QString& serie, const QString& titre)
{
    auto* series = enfant<QListWidget>(&fenetre, "LstSerie");
    series->setCurrentItem(series->findItems(serie, Qt::MatchExactly).value(0));
    auto* table = enfant<QTableWidget>(&fenetre, "LstAlbum");
    table->setCurrentItem(titre.isEmpty() ? nullptr : table->findItems(titre, Qt::MatchExactly)[0]);
    if (titre.isEmpty())
        table->clearSelection();
}

QList<QDialog*> dialoguesCouverture(Phylacto& fenetre)
{
    QList<QDialog*> trouves;
    for (QDialog* dialogue : fenetre.findChildren<QDialog*>())
        if (dialogue->findChild<choitImage*>())
            trouves.append(dialogue);
    return trouves;
}

template <typename... Colonnes> void ligne(const char* nom, const Colonnes&... valeurs)
{
    (QTest::newRow(nom) << ... << QString(valeurs));
}

void traiterSuppressionsDifferees()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// A collection, the loopback service and the main window. A mute service
// never answers a search, so that no answer arrives while a test drives the
// panel by hand: the picture is then the one already in data/.
struct Scene
{
    DossierTravail dossier;
    ServeurTest serveur;
    RepondeurModal repondeur;
    std::unique_ptr<Phylacto> fenetre;

    explicit Scene(const QByteArray& collection, bool muet = true)
    {
        dossier.ecrireCollection(collection);
        if (serveur.demarrer())
            dossier.ecrireParametres(serveur.parametresService());
        if (muet) {
            taire();
            dossier.ecrireFichier("data/tutu.jpg", imagePng(30, 60));
        }
        fenetre = std::make_unique<Phylacto>();
    }
    void taire() { serveur.setReponseRecherche({ 200, QByteArray(), {}, -1, false }); }
};

} // namespace

class TestCouvertures : public QObject
{
    Q_OBJECT

private slots:
    void nomsFichiers_data()
    {
        QTest::addColumn<QString>("recherche");
        QTest::addColumn<QString>("nom");
        ligne("espaces", "Les Aventures Tome 4", "Les_Aventures_Tome_4.jpg");
        ligne("accents gardés", "Astérix Tome 3", "Astérix_Tome_3.jpg");
        ligne("double espace", "Les  Aventures", "Les__Aventures.jpg");
        ligne("remontée", "../../etc/passwd", "____etc_passwd.jpg");
        ligne("anti-slash", "a\\..\\b", "a___b.jpg");
        ligne("refusés", "Qui? <Moi>: \"x\"|*", "Qui___Moi____x___.jpg");
        ligne("contrôle", "a\tb\nc", "a_b_c.jpg");
        ligne("séparateur du fichier", "A;B", "A_B.jpg");
        ligne("vide", "", ".jpg");
        // Cut to 200 bytes, never inside a character.
        const QString e(QChar(0x00e9)), rire = QString::fromUtf8("\xF0\x9F\x98\x80");
        ligne("trop long", e.repeated(300) + "x", e.repeated(100) + ".jpg");
        ligne("trop long hors BMP", rire.repeated(80), rire.repeated(50) + ".jpg");
    }

    void nomsFichiers()
    {
        QFETCH(QString, recherche);
        QFETCH(QString, nom);
        QCOMPARE(NomImage::nomFichier(recherche), nom);
    }

    void lectureRecherche_data()
    {
        QTest::addColumn<QString>("texte");
        QTest::addColumn<QString>("serie");
        QTest::addColumn<QString>("tome");
        ligne("simple", "Les Aventures Tome 12", "Les Aventures", "12");
        ligne("double espace", "Les  Aventures Tome 3", "Les  Aventures", "3");
        ligne("sans Tome", "Les Aventures", "Les Aventures", "");
        ligne("Tome en dernier", "Les Aventures Tome", "Les Aventures", "");
        ligne("premier Tome", "Le Tome Maudit Tome 2", "Le", "Maudit");
        ligne("casse", "Serie tome 2", "Serie tome 2", "");
    }

    void lectureRecherche()
    {
        QFETCH(QString, texte);
        const NomImage::RechercheLue lue = NomImage::lireRecherche(texte);
        QTEST(lue.serie, "serie");
        QTEST(lue.tome, "tome");
    }

    void albumsDuCatalogue()
    {
        Catalogue catalogue;
        catalogue.attacher(album("Les Aventures", "Zéro", 0, "images//a.jpg"));
        catalogue.attacher(album("Les Aventures", "A", 12));
        catalogue.attacher(album("Les Aventures", "B", 12, "_"));
        catalogue.attacher(album("Autre", "C", 12));
        const QList<BD*>& a = catalogue.albums();
        using NomImage::albumDeRecherche;
        QCOMPARE(albumDeRecherche(catalogue, { "Les Aventures", "12" }), a.at(1));
        QCOMPARE(albumDeRecherche(catalogue, { "Les Aventures", "012" }), a.at(1));
        QCOMPARE(albumDeRecherche(catalogue, { "Les Aventures", "abc" }), a.at(0));
        QCOMPARE(albumDeRecherche(catalogue, { "Les Aventures", "" }), a.at(0));
        QCOMPARE(albumDeRecherche(catalogue, { "Les Aventures", "7" }), nullptr);
        QCOMPARE(albumDeRecherche(catalogue, { "Inconnue", "12" }), nullptr);
        QCOMPARE(NomImage::prochainAlbumSansImage(a, 0), 1);
        QCOMPARE(NomImage::prochainAlbumSansImage(a, 2), 3);
        QCOMPARE(NomImage::prochainAlbumSansImage(a, 4), -1);
        QCOMPARE(NomImage::rechercheAlbum(a.at(3)), QString("Autre Tome 12"));
    }

    void panneau()
    {
        DossierTravail dossier;
        choitImage panneau(nullptr, nullptr, false);
        QCOMPARE(panneau.objectName(), QString("choitImage"));
        QCOMPARE(panneau.windowTitle(), QString("Choix d'image"));
        // From top to bottom: the picture, the field, the four buttons.
        const QList<QPair<QString, QString>> ordre
            = { { "leTitreRecherche", "" }, { "pbRechercher", "Rechercher" },
                  { "pbSelectionner", "Selectionner" }, { "pbBDSuivante", "BD Suivante" },
                  { "pbStopRecherche", "Arreter recherche automatique" } };
        auto* vertical = enfant<QVBoxLayout>(&panneau, "verticalLayout");
        QCOMPARE(vertical->count(), 6);
        QCOMPARE(vertical->itemAt(0)->layout()->objectName(), QString("gridLayout"));
        for (int i = 0; i < ordre.size(); ++i) {
            QCOMPARE(vertical->itemAt(i + 1)->widget()->objectName(), ordre[i].first);
            QCOMPARE(
                vertical->itemAt(i + 1)->widget()->property("text").toString(), ordre[i].second);
        }

        QVERIFY(!enfant<QLineEdit>(&panneau, "leTitreRecherche")->isReadOnly());
        auto* suivante = enfant<QPushButton>(&panneau, "pbBDSuivante");
        auto* stop = enfant<QPushButton>(&panneau, "pbStopRecherche");
        QVERIFY(suivante->isHidden() && stop->isHidden());
        panneau.afficherBoutonsAuto(true);
        QVERIFY(!suivante->isHidden() && !stop->isHidden());
        panneau.afficherBoutonsAuto(false);
        QVERIFY(suivante->isHidden() && stop->isHidden());

        // Next/Prev (a failed download) leave the label as it was.
        auto* label = enfant<QLabel>(&panneau, "labelImage");
        panneau.Next();
        panneau.Prev();
        QCOMPARE(label->text(), QString("Image non trouvée"));
        dossier.ecrireFichier("data/tutu.jpg", imagePng(100, 50));
        panneau.changeImage();
        QCOMPARE(label->pixmap().size(), QSize(500, 250));
        // Rewritten under the same name: the new picture shows, not a cached one.
        dossier.ecrireFichier("data/tutu.jpg", imagePng(40, 80));
        panneau.changeImage();
        QCOMPARE(label->pixmap().size(), QSize(250, 500));
        dossier.ecrireFichier("data/tutu.jpg", "pas une image");
        panneau.changeImage();
        QVERIFY(label->pixmap().isNull());
    }

    void rechercherPuisSelectionner()
    {
        DossierTravail dossier;
        choitImage panneau(nullptr, nullptr, false);
        QSignalSpy demandes(&panneau, &choitImage::demandeRecherche);
        QSignalSpy images(&panneau, &choitImage::newImage);
        QSignalSpy fichiers(&panneau, &choitImage::newImageFile);
        // The text is used unchanged, accent included, once "Rechercher" is pressed.
        panneau.setRecherche("Astérix Tome 3");
        QCOMPARE(panneau.getRecherche(), QString());
        cliquer(&panneau, "pbRechercher");
        QCOMPARE(demandes.size(), 1);
        QCOMPARE(demandes.at(0).at(0).toString(), QString("Astérix Tome 3"));
        QCOMPARE(panneau.getRecherche(), QString("Astérix Tome 3"));

        // Before any picture: nothing to copy, the name is reported anyway.
        cliquer(&panneau, "pbSelectionner");
        QCOMPARE(images.size(), 1);
        QCOMPARE(images.at(0).at(0).toString(), QString("Astérix_Tome_3.jpg"));
        QVERIFY(!QFile::exists(dossier.chemin("images/Astérix_Tome_3.jpg")));
        QCOMPARE(panneau.getRecherche(), QString("Astérix_Tome_3"));

        const QByteArray premiere = imagePng(10, 10, Qt::red);
        dossier.ecrireFichier("data/tutu.jpg", premiere);
        cliquer(&panneau, "pbSelectionner");
        QCOMPARE(dossier.lireFichier("images/Astérix_Tome_3.jpg"), premiere);

        // Another picture under that name: the existing cover stays, the new one gets a fresh name.
        dossier.ecrireFichier("data/tutu.jpg", imagePng(10, 10, Qt::blue));
        cliquer(&panneau, "pbSelectionner");
        QCOMPARE(images.size(), 3);
        QCOMPARE(images.at(2).at(0).toString(), QString("Astérix_Tome_3-2.jpg"));
        QCOMPARE(dossier.lireFichier("images/Astérix_Tome_3.jpg"), premiere);
        QCOMPARE(fichiers.size(), 0);
    }

    void selectionnerModeAutoResteDansImages()
    {
        DossierTravail dossier;
        dossier.ecrireFichier("data/tutu.jpg", imagePng(4, 4));
        choitImage panneau(nullptr, nullptr, true);
        QVERIFY(enfant<QLineEdit>(&panneau, "leTitreRecherche")->isReadOnly());
        QSignalSpy images(&panneau, &choitImage::newImage);
        QSignalSpy fichiers(&panneau, &choitImage::newImageFile);
        panneau.setRecherche("../../evasion Tome 1");
        cliquer(&panneau, "pbRechercher");
        cliquer(&panneau, "pbSelectionner");
        QCOMPARE(images.size(), 0);
        // The search text itself is unchanged but for its spaces.
        QCOMPARE(
            fichiers.at(0), QVariantList({ "____evasion_Tome_1.jpg", "../../evasion_Tome_1" }));
        QCOMPARE(QDir(dossier.chemin("images")).entryList(QDir::Files),
            QStringList { "____evasion_Tome_1.jpg" });
        QCOMPARE(QDir(dossier.chemin()).entryList(QDir::Files), QStringList());
    }

    void rechercheUnAlbum()
    {
        Scene s(ligneAlbum("Les Aventures", "Tome 4", 4) + ligneAlbum("Les Aventures", "Tome 5", 5)
                + ligneAlbum("Autre", "Tome 4", 4),
            false);
        Phylacto& fenetre = *s.fenetre;
        choisirAlbum(fenetre, "Les Aventures", "Tome 4");
        cliquer(&fenetre, "pbChercherImage");
        QCOMPARE(dialoguesCouverture(fenetre).size(), 1);
        QDialog* dialogue = dialoguesCouverture(fenetre).first();
        QCOMPARE(dialogue->windowTitle(), QString("Chercher une image"));
        QVERIFY(dialogue->isVisible() && !dialogue->isModal());
        auto* panneau = dialogue->findChild<choitImage*>();
        QCOMPARE(proposition(panneau), QString("Les Aventures Tome 4"));
        auto* label = enfant<QLabel>(panneau, "labelImage");

        cliquer(panneau, "pbRechercher");
        QTRY_VERIFY(!label->pixmap().isNull());
        const QList<ServeurTest::Requete> recherches = s.serveur.requetesVers("/onca/xml");
        QCOMPARE(recherches.size(), 1);
        QCOMPARE(recherches.at(0).valeur("Keywords"), QByteArray("Les%20Aventures%20Tome%204"));
        const QByteArray grand1 = ServeurTest::octetsImage("grand-1.jpg");
        QCOMPARE(s.dossier.lireFichier("data/tutu.jpg"), grand1);

        cliquer(panneau, "pbSelectionner");
        QCOMPARE(s.dossier.lireFichier("images/Les_Aventures_Tome_4.jpg"), grand1);
        QCOMPARE(imageDe(fenetre, "Les Aventures", "Tome 4"),
            QString("images//Les_Aventures_Tome_4.jpg"));
        QCOMPARE(imageDe(fenetre, "Autre", "Tome 4"), QString());
        QVERIFY(!enfant<QLabel>(&fenetre, "LabelImage")->pixmap().isNull());
        QVERIFY(fenetre.estModifie());

        // A failed download keeps the picture shown and the stored one.
        const qint64 avant = label->pixmap().cacheKey();
        s.serveur.setReponse("/images/grand-1.jpg", { 404, "absent", {}, 0, false });
        cliquer(panneau, "pbRechercher");
        QTRY_COMPARE(s.serveur.requetesVers("/images/grand-1.jpg").size(), 2);
        QTest::qWait(200);
        QCOMPARE(label->pixmap().cacheKey(), avant);
        // The earlier search's picture is not kept for this one.
        QVERIFY(!QFile::exists(s.dossier.chemin("data/tutu.jpg")));

        // The panel stays open; it attaches to the album selected now.
        choisirAlbum(fenetre, "Les Aventures", "Tome 5");
        s.dossier.ecrireFichier("images/autre.jpg", grand1);
        emit panneau->newImage("autre.jpg");
        QCOMPARE(imageDe(fenetre, "Les Aventures", "Tome 5"), QString("images//autre.jpg"));
        QVERIFY(s.repondeur.boites().isEmpty());

        // Closing it destroys the panel once the event loop has run.
        dialogue->close();
        traiterSuppressionsDifferees();
        QVERIFY(fenetre.findChildren<choitImage*>().isEmpty());

        // Searches whose panel goes while the exchange is under way.
        s.serveur.setReponse("/images/grand-1.jpg",
            { 200, ServeurTest::octetsImage("grand-1.jpg"), {}, 300, false });
        auto rechercher = [&fenetre]() {
            choitImage* panneau = nullptr;
            for (choitImage* candidat : fenetre.findChildren<choitImage*>())
                panneau = candidat->isVisible() ? candidat : panneau;
            cliquer(panneau, "pbRechercher");
            return QPointer<choitImage>(panneau);
        };

        // Closed while its search is under way, then another one at once.
        choisirAlbum(fenetre, "Les Aventures", "Tome 4");
        cliquer(&fenetre, "pbChercherImage");
        QPointer<choitImage> premier = rechercher();
        dialoguesCouverture(fenetre).value(0)->close();
        choisirAlbum(fenetre, "Les Aventures", "Tome 5");
        cliquer(&fenetre, "pbChercherImage");
        QPointer<choitImage> second = rechercher();
        QVERIFY(second != premier);
        QTRY_VERIFY(second && !enfant<QLabel>(second, "labelImage")->pixmap().isNull());
        QVERIFY(!premier);

        // Closed and destroyed while its picture is still downloading.
        const int telechargements = int(s.serveur.requetesVers("/images/grand-1.jpg").size());
        cliquer(second, "pbRechercher");
        QTRY_COMPARE(s.serveur.requetesVers("/images/grand-1.jpg").size(), telechargements + 1);
        dialoguesCouverture(fenetre).value(0)->close();
        traiterSuppressionsDifferees();
        QVERIFY(!second);
        QTest::qWait(500);
        QVERIFY(fenetre.findChildren<choitImage*>().isEmpty());
        QVERIFY(s.repondeur.boites().isEmpty());
    }

    void deuxRecherchesDeSuite()
    {
        Scene s(
            ligneAlbum("Les Aventures", "Tome 4", 4) + ligneAlbum("Les Aventures", "Tome 5", 5));
        Phylacto& fenetre = *s.fenetre;
        // From the menu nothing is proposed.
        choisirAlbum(fenetre, "Les Aventures", "Tome 4");
        QVERIFY(declencherAction(&fenetre, "actionRerchercher_un_album"));
        QPointer<QDialog> premier = dialoguesCouverture(fenetre).value(0);
        QVERIFY(premier);
        QCOMPARE(proposition(premier), QString());

        // Still one dialog, now proposing the album chosen last.
        choisirAlbum(fenetre, "Les Aventures", "Tome 5");
        cliquer(&fenetre, "pbChercherImage");
        QVERIFY(declencherAction(&fenetre, "actionRerchercher_un_album"));
        QCOMPARE(dialoguesCouverture(fenetre).size(), 1);
        QCOMPARE(fenetre.findChildren<choitImage*>().size(), 1);
        QCOMPARE(proposition(premier), QString("Les Aventures Tome 5"));

        // The end of a search reaches no closed panel.
        premier->close();
        emit fenetre.getAlbumInfos()->xmlFinished(0);
        QVERIFY(s.repondeur.boites().isEmpty());
        traiterSuppressionsDifferees();
        QVERIFY(!premier);

        // A finished dialog's end, delivered again, destroys nothing twice.
        // The current cell is the volume number: no title, an empty field.
        fenetre.properlyDestroyed(0);
        enfant<QTableWidget>(&fenetre, "LstAlbum")->setCurrentCell(0, 0);
        cliquer(&fenetre, "pbChercherImage");
        QPointer<QDialog> second = dialoguesCouverture(fenetre).value(0);
        QVERIFY(second && second->isVisible());
        QCOMPARE(proposition(second), QString());
        fenetre.properlyDestroyed(0);
        fenetre.properlyDestroyed(0);
        traiterSuppressionsDifferees();
        QVERIFY(!second);
        emit fenetre.getAlbumInfos()->xmlFinished(-1);

        // The walk closes the open search; one asked meanwhile shows the walk's dialog.
        cliquer(&fenetre, "pbChercherImage");
        QPointer<QDialog> unique = dialoguesCouverture(fenetre).value(0);
        QVERIFY(unique);
        int panneaux = -1;
        s.repondeur.traiterDialogue([&](QDialog* dialogue) {
            panneaux = 0;
            for (choitImage* panneau : fenetre.findChildren<choitImage*>())
                panneaux += panneau->isVisible() ? 1 : 0;
            fenetre.ChercherAlbum();
            cliquer(dialogue, "pbStopRecherche");
            return true;
        });
        QVERIFY(declencherAction(&fenetre, "actionChercher_image_manquantes"));
        QCOMPARE(panneaux, 1);
        traiterSuppressionsDifferees();
        QVERIFY(!unique);
        QVERIFY(fenetre.findChildren<choitImage*>().isEmpty());

        // The window closes with a search still open.
        cliquer(&fenetre, "pbChercherImage");
        QCOMPARE(dialoguesCouverture(fenetre).size(), 1);
        s.fenetre.reset();
    }

    void sansAlbumEtImageLocale()
    {
        Scene s(
            ligneAlbum("Les Aventures", "Tome 4", 4) + ligneAlbum("Les Aventures", "Tome 5", 5));
        Phylacto& fenetre = *s.fenetre;
        const QByteArray octets = imagePng(20, 40);
        s.dossier.ecrireFichier("ma couverture;2.jpg", octets);
        const QString source = s.dossier.chemin("ma couverture;2.jpg");
        auto* label = enfant<QLabel>(&fenetre, "LabelImage");

        // The search button with no album selected: its message, no dialog.
        choisirAlbum(fenetre, "Les Aventures", QString());
        cliquer(&fenetre, "pbChercherImage");
        QCOMPARE(s.repondeur.textesBoites(), QStringList { "Veuillez selectioner un album" });
        QCOMPARE(s.repondeur.boites().at(0).titre, QString());
        QVERIFY(!s.repondeur.boites().at(0).avecParent);
        QVERIFY(fenetre.findChildren<QDialog*>().isEmpty());

        // Cancelled: nothing happens.
        choisirAlbum(fenetre, "Les Aventures", "Tome 5");
        QTest::mouseClick(label, Qt::LeftButton);
        QCOMPARE(s.repondeur.titreDernierDialogueFichier(), QString("Nouvelle image"));
        QCOMPARE(s.repondeur.filtresDernierDialogueFichier(),
            QStringList({ "JPG (*.jpg)", "BMP (*.bmp)", "PNG (*.png)" }));
        QVERIFY(!fenetre.estModifie());

        // No album selected: copied all the same, then the message.
        choisirAlbum(fenetre, "Les Aventures", QString());
        s.repondeur.repondreFichier(source);
        QTest::mouseClick(label, Qt::RightButton);
        QCOMPARE(
            s.repondeur.textesBoites().value(1), QString("Merci de selectionner l'album souhaité"));
        QVERIFY(!s.repondeur.boites().at(1).avecParent);
        QCOMPARE(s.dossier.lireFichier("images/ma couverture_2.jpg"), octets);
        QVERIFY(!fenetre.estModifie());
        QCOMPARE(imageDe(fenetre, "Les Aventures", "Tome 4"), QString());

        // Selected: the album points at the copy and shows it; the ";" of the
        // name would not survive the collection file.
        choisirAlbum(fenetre, "Les Aventures", "Tome 5");
        s.repondeur.repondreFichier(source);
        QTest::mouseClick(label, Qt::LeftButton);
        QCOMPARE(
            imageDe(fenetre, "Les Aventures", "Tome 5"), QString("images//ma couverture_2.jpg"));
        QVERIFY(fenetre.estModifie());
        QCOMPARE(label->pixmap().size(), QSize(250, 500));
        QCOMPARE(s.repondeur.boites().size(), 2);
    }

    void rechercheAutomatique()
    {
        Scene s(ligneAlbum("Les Aventures", "Douze", 12)
                + ligneAlbum("Les Aventures", "Douze bis", 12)
                + ligneAlbum("Les Aventures", "Rien", 3, 0, "_")
                + ligneAlbum("Les Aventures", "Déjà", 5, 0, "images//x.jpg")
                + ligneAlbum("Autre  Serie", "Un", 1) + ligneAlbum("Astérix", "A", 3)
                + ligneAlbum("Spirou_et Tome", "S", 2) + ligneAlbum("Fin", "F", 9),
            false);
        Phylacto& fenetre = *s.fenetre;
        QStringList proposes;
        auto panneauDe = [&proposes](QDialog* dialogue) {
            auto* panneau = dialogue->findChild<choitImage*>();
            proposes.append(proposition(panneau));
            return panneau;
        };
        // 1: searches through the service, chooses its picture, then the close box.
        bool recherche = false;
        bool modeAutoVu = false;
        QElapsedTimer chrono;
        chrono.start();
        s.repondeur.traiterDialogue([&](QDialog* dialogue) {
            auto* panneau = dialogue->findChild<choitImage*>();
            if (!recherche) {
                recherche = true;
                panneauDe(dialogue);
                modeAutoVu = dialogue->isModal()
                    && enfant<QLineEdit>(panneau, "leTitreRecherche")->isReadOnly()
                    && !enfant<QPushButton>(panneau, "pbStopRecherche")->isHidden();
                cliquer(panneau, "pbRechercher");
                return false;
            }
            if (enfant<QLabel>(panneau, "labelImage")->pixmap().isNull()
                && chrono.elapsed() < 20000)
                return false;
            cliquer(panneau, "pbSelectionner");
            s.taire();
            dialogue->close();
            return true;
        });
        // Then: the twin, whose first is now covered; Escape after choosing;
        // two more chosen; "BD Suivante" on each (none: Escape), then stop.
        auto etape = [&](bool choisir, const char* bouton) {
            s.repondeur.traiterDialogue([&, choisir, bouton](QDialog* dialogue) {
                auto* panneau = panneauDe(dialogue);
                if (choisir) {
                    cliquer(panneau, "pbRechercher");
                    // The service is silent now: this search's picture arrives by hand.
                    s.dossier.ecrireFichier("data/tutu.jpg", ServeurTest::octetsImage("grand-1.jpg"));
                    cliquer(panneau, "pbSelectionner");
                }
                if (bouton)
                    cliquer(panneau, bouton);
                else
                    QTest::keyClick(dialogue, Qt::Key_Escape);
                return true;
            });
        };
        etape(true, "pbBDSuivante");
        etape(true, nullptr);
        etape(true, "pbBDSuivante");
        etape(true, "pbBDSuivante");
        etape(false, "pbStopRecherche");
        QVERIFY(declencherAction(&fenetre, "actionChercher_image_manquantes"));

        QCOMPARE(s.repondeur.nbEtapesDialogueRestantes(), 0);
        QVERIFY(modeAutoVu);
        QCOMPARE(s.repondeur.titresDialogues(),
            QStringList(6, QStringLiteral("Chercher les images manquantes")));
        QCOMPARE(proposes,
            QStringList({ "Les Aventures Tome 12", "Les Aventures Tome 12", "Autre  Serie Tome 1",
                "Astérix Tome 3", "Spirou_et Tome Tome 2", "Fin Tome 9" }));
        QCOMPARE(s.serveur.requetesVers("/onca/xml").value(0).valeur("Keywords"),
            QByteArray("Les%20Aventures%20Tome%2012"));
        QCOMPARE(s.dossier.lireFichier("images/Les_Aventures_Tome_12.jpg"),
            ServeurTest::octetsImage("grand-1.jpg"));
        const QList<QStringList> attendues = { { "Les Aventures", "Douze",
                                                   "Les_Aventures_Tome_12" },
            { "Les Aventures", "Douze bis", "Les_Aventures_Tome_12" },
            { "Autre  Serie", "Un", "Autre__Serie_Tome_1" }, { "Astérix", "A", "Astérix_Tome_3" },
            { "Spirou_et Tome", "S", "Spirou_et_Tome_Tome_2" } };
        for (const QStringList& attendue : attendues) {
            const QString image = "images//" + attendue[2] + ".jpg";
            QCOMPARE(imageDe(fenetre, attendue[0], attendue[1]), image);
            QVERIFY(QFile::exists(s.dossier.chemin(image)));
        }
        QCOMPARE(imageDe(fenetre, "Les Aventures", "Rien"), QString("_"));
        QCOMPARE(imageDe(fenetre, "Fin", "F"), QString());
        QVERIFY(fenetre.estModifie());
        QVERIFY(s.repondeur.boites().isEmpty());
        traiterSuppressionsDifferees();
        QVERIFY(fenetre.findChildren<QDialog*>().isEmpty());

        // The next walk starts again from the first album still without a cover.
        proposes.clear();
        fenetre.getCatalogue().premierAlbum("Astérix", "A")->setImage(QString());
        etape(false, "pbStopRecherche");
        QVERIFY(declencherAction(&fenetre, "actionChercher_image_manquantes"));
        QCOMPARE(proposes, QStringList { "Astérix Tome 3" });

        // Outside a walk the text names the first album of that volume.
        for (const char* nom : { "images/c.jpg", "images/f.jpg", "images/x.jpg", "images/a.jpg" })
            s.dossier.ecrireFichier(nom, "image");
        fenetre.setModifie(false);
        fenetre.setImageBD("c.jpg", "Inconnue_Tome_1");
        QVERIFY(!fenetre.estModifie());
        fenetre.setImageBD("f.jpg", "Fin_Tome_9");
        fenetre.setImageBD("x.jpg", "Astérix_Tome_3");
        fenetre.setImageBD("a.jpg", "Les_Aventures_Tome_12");
        QCOMPARE(imageDe(fenetre, "Les Aventures", "Douze"), QString("images//a.jpg"));
        QVERIFY(fenetre.estModifie());

        // Nothing left without a cover: no dialog at all.
        QVERIFY(declencherAction(&fenetre, "actionChercher_image_manquantes"));
        QCOMPARE(s.repondeur.titresDialogues().size(), 7);
    }
};

QTEST_MAIN(TestCouvertures)
#include "test_couvertures.moc"
