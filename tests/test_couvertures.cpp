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

BD* albumDe(Phylacto& fenetre, const QString& serie, const QString& titre)
{
    return fenetre.getCatalogue().premierAlbum(serie, titre);
}

// Makes the series current, then the row of that title (nullptr: no current album).
void choisirAlbum(Phylacto& fenetre, const QString& serie, const QString& titre)
{
    auto* series = enfant<QListWidget>(&fenetre, "LstSerie");
    series->setCurrentItem(series->findItems(serie, Qt::MatchExactly).value(0));
    auto* table = enfant<QTableWidget>(&fenetre, "LstAlbum");
    if (titre.isEmpty()) {
        table->setCurrentItem(nullptr);
        table->clearSelection();
        return;
    }
    table->setCurrentItem(table->findItems(titre, Qt::MatchExactly).value(0));
}

QList<QDialog*> dialoguesCouverture(Phylacto& fenetre)
{
    QList<QDialog*> trouves;
    for (QDialog* dialogue : fenetre.findChildren<QDialog*>()) {
        if (dialogue->findChild<choitImage*>())
            trouves.append(dialogue);
    }
    return trouves;
}

// Points the program at a loopback service; a mute one never answers a
// search, so that no answer arrives while a test drives the panel by hand.
void serviceLocal(DossierTravail& dossier, ServeurTest& serveur, bool muet)
{
    QVERIFY(serveur.demarrer());
    dossier.ecrireParametres(serveur.parametresService());
    if (muet) {
        ServeurTest::Reponse silence;
        silence.delai = -1;
        serveur.setReponseRecherche(silence);
    }
}

void traiterSuppressionsDifferees()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace

class TestCouvertures : public QObject
{
    Q_OBJECT

private slots:
    // --- Rules ---------------------------------------------------------

    void nomsFichiers_data()
    {
        QTest::addColumn<QString>("recherche");
        QTest::addColumn<QString>("nom");
        QTest::newRow("espaces") << "Les Aventures Tome 4"
                                 << "Les_Aventures_Tome_4.jpg";
        QTest::newRow("accents gardés") << "Astérix Tome 3"
                                        << "Astérix_Tome_3.jpg";
        QTest::newRow("double espace") << "Les  Aventures"
                                       << "Les__Aventures.jpg";
        QTest::newRow("remontée") << "../../etc/passwd"
                                  << "____etc_passwd.jpg";
        QTest::newRow("anti-slash") << "a\\..\\b"
                                    << "a___b.jpg";
        QTest::newRow("refusés") << "Qui? <Moi>: \"x\"|*"
                                 << "Qui___Moi____x___.jpg";
        QTest::newRow("contrôle") << "a\tb\nc"
                                  << "a_b_c.jpg";
        QTest::newRow("séparateur du fichier") << "A;B"
                                               << "A_B.jpg";
        QTest::newRow("vide") << ""
                              << ".jpg";
    }

    void nomsFichiers()
    {
        QFETCH(QString, recherche);
        QFETCH(QString, nom);
        QCOMPARE(NomImage::nomFichier(recherche), nom);
    }

    void nomTropLongCoupe()
    {
        const QString nom = NomImage::nomFichier(QString(300, QChar(0x00e9)) + "x");
        QVERIFY(nom.endsWith(".jpg"));
        QVERIFY(nom.toUtf8().size() <= 255);
        QVERIFY(nom.startsWith(QString(100, QChar(0x00e9))));
        // A character outside the BMP is never cut in half.
        const QString emoji
            = NomImage::nomFichier(QString::fromUtf8("\xF0\x9F\x98\x80").repeated(80));
        QVERIFY(!emoji.chopped(4).back().isHighSurrogate());
        QCOMPARE(emoji.toUtf8().size(), 200 + 4);
    }

    void lectureRecherche_data()
    {
        QTest::addColumn<QString>("texte");
        QTest::addColumn<QString>("serie");
        QTest::addColumn<QString>("tome");
        QTest::newRow("simple") << "Les Aventures Tome 12"
                                << "Les Aventures"
                                << "12";
        QTest::newRow("double espace") << "Les  Aventures Tome 3"
                                       << "Les  Aventures"
                                       << "3";
        QTest::newRow("sans Tome") << "Les Aventures"
                                   << "Les Aventures"
                                   << "";
        QTest::newRow("Tome en dernier") << "Les Aventures Tome"
                                         << "Les Aventures"
                                         << "";
        QTest::newRow("premier Tome") << "Le Tome Maudit Tome 2"
                                      << "Le"
                                      << "Maudit";
        QTest::newRow("casse") << "Serie tome 2"
                               << "Serie tome 2"
                               << "";
    }

    void lectureRecherche()
    {
        QFETCH(QString, texte);
        const NomImage::RechercheLue lue = NomImage::lireRecherche(texte);
        QTEST(lue.serie, "serie");
        QTEST(lue.tome, "tome");
    }

    void albumDeRecherche()
    {
        Catalogue catalogue;
        catalogue.attacher(album("Les Aventures", "Zéro", 0));
        catalogue.attacher(album("Les Aventures", "A", 12));
        catalogue.attacher(album("Les Aventures", "B", 12));
        catalogue.attacher(album("Autre", "C", 12));
        const QList<BD*>& a = catalogue.albums();
        using NomImage::albumDeRecherche;
        QCOMPARE(albumDeRecherche(catalogue, { "Les Aventures", "12" }), a.at(1));
        QCOMPARE(albumDeRecherche(catalogue, { "Les Aventures", "012" }), a.at(1));
        QCOMPARE(albumDeRecherche(catalogue, { "Les Aventures", "abc" }), a.at(0));
        QCOMPARE(albumDeRecherche(catalogue, { "Les Aventures", "" }), a.at(0));
        QCOMPARE(albumDeRecherche(catalogue, { "Les Aventures", "7" }), nullptr);
        QCOMPARE(albumDeRecherche(catalogue, { "Inconnue", "12" }), nullptr);
    }

    void prochainAlbumSansImage()
    {
        Catalogue catalogue;
        catalogue.attacher(album("S", "a", 1, "images//a.jpg"));
        catalogue.attacher(album("S", "b", 2));
        catalogue.attacher(album("S", "c", 3, "_"));
        catalogue.attacher(album("S", "d", 4));
        const QList<BD*>& a = catalogue.albums();
        QCOMPARE(NomImage::prochainAlbumSansImage(a, 0), 1);
        QCOMPARE(NomImage::prochainAlbumSansImage(a, 2), 3);
        QCOMPARE(NomImage::prochainAlbumSansImage(a, 4), -1);
        QCOMPARE(NomImage::rechercheAlbum(a.at(3)), QString("S Tome 4"));
    }

    // --- The panel ---------------------------------------------------------

    void panneauFormulaire()
    {
        DossierTravail dossier;
        choitImage panneau(nullptr, nullptr, false);
        QCOMPARE(panneau.objectName(), QString("choitImage"));
        QCOMPARE(panneau.windowTitle(), QString("Choix d'image"));
        QCOMPARE(panneau.size(), QSize(229, 389));
        QVERIFY(panneau.autoFillBackground());
        QCOMPARE(enfant<QLabel>(&panneau, "labelImage")->text(), QString("Image non trouvée"));

        const QStringList boutons
            = { "pbRechercher", "pbSelectionner", "pbBDSuivante", "pbStopRecherche" };
        const QStringList textes
            = { "Rechercher", "Selectionner", "BD Suivante", "Arreter recherche automatique" };
        auto* vertical = enfant<QVBoxLayout>(&panneau, "verticalLayout");
        QVERIFY(vertical);
        QCOMPARE(vertical->count(), 6);
        auto* grille = qobject_cast<QGridLayout*>(vertical->itemAt(0)->layout());
        QVERIFY(grille);
        QCOMPARE(grille->objectName(), QString("gridLayout"));
        QCOMPARE(grille->itemAtPosition(0, 0)->widget()->objectName(), QString("labelImage"));
        QCOMPARE(vertical->itemAt(1)->widget()->objectName(), QString("leTitreRecherche"));
        for (int i = 0; i < boutons.size(); ++i) {
            QCOMPARE(vertical->itemAt(i + 2)->widget()->objectName(), boutons.at(i));
            QCOMPARE(enfant<QPushButton>(&panneau, boutons.at(i))->text(), textes.at(i));
        }

        QVERIFY(!enfant<QLineEdit>(&panneau, "leTitreRecherche")->isReadOnly());
        QVERIFY(enfant<QPushButton>(&panneau, "pbBDSuivante")->isHidden());
        QVERIFY(enfant<QPushButton>(&panneau, "pbStopRecherche")->isHidden());
    }

    void panneauModeAuto()
    {
        DossierTravail dossier;
        choitImage panneau(nullptr, nullptr, true);
        auto* champ = enfant<QLineEdit>(&panneau, "leTitreRecherche");
        auto* suivante = enfant<QPushButton>(&panneau, "pbBDSuivante");
        auto* stop = enfant<QPushButton>(&panneau, "pbStopRecherche");
        QVERIFY(champ->isReadOnly());
        QVERIFY(suivante->isHidden() && stop->isHidden());
        panneau.afficherBoutonsAuto(true);
        QVERIFY(!suivante->isHidden() && !stop->isHidden());
        panneau.afficherBoutonsAuto(false);
        QVERIFY(suivante->isHidden() && stop->isHidden());
    }

    void rechercheGardeLeTexte()
    {
        DossierTravail dossier;
        choitImage panneau(nullptr, nullptr, false);
        QSignalSpy demandes(&panneau, &choitImage::demandeRecherche);
        panneau.setRecherche("Astérix Tome 3");
        QCOMPARE(panneau.getRecherche(), QString()); // used once "Rechercher" is pressed
        QCOMPARE(demandes.count(), 0);
        enfant<QPushButton>(&panneau, "pbRechercher")->click();
        QCOMPARE(demandes.count(), 1);
        QCOMPARE(demandes.at(0).at(0).toString(), QString("Astérix Tome 3"));
        QCOMPARE(panneau.getRecherche(), QString("Astérix Tome 3"));
    }

    void selectionner()
    {
        DossierTravail dossier;
        choitImage panneau(nullptr, nullptr, false);
        QSignalSpy images(&panneau, &choitImage::newImage);
        QSignalSpy fichiers(&panneau, &choitImage::newImageFile);
        auto* selectionner = enfant<QPushButton>(&panneau, "pbSelectionner");
        panneau.setRecherche("Les Aventures Tome 4");
        enfant<QPushButton>(&panneau, "pbRechercher")->click();

        // Before any picture: nothing to copy, the name is reported anyway.
        selectionner->click();
        QCOMPARE(images.count(), 1);
        QCOMPARE(images.at(0).at(0).toString(), QString("Les_Aventures_Tome_4.jpg"));
        QVERIFY(!QFile::exists(dossier.chemin("images/Les_Aventures_Tome_4.jpg")));
        QCOMPARE(panneau.getRecherche(), QString("Les_Aventures_Tome_4"));

        const QByteArray premiere = imagePng(10, 10, Qt::red);
        dossier.ecrireFichier("data/tutu.jpg", premiere);
        selectionner->click();
        QCOMPARE(dossier.lireFichier("images/Les_Aventures_Tome_4.jpg"), premiere);

        // Twice in a row: same name, the existing cover stays.
        dossier.ecrireFichier("data/tutu.jpg", imagePng(10, 10, Qt::blue));
        selectionner->click();
        QCOMPARE(images.count(), 3);
        QCOMPARE(images.at(2).at(0).toString(), QString("Les_Aventures_Tome_4.jpg"));
        QCOMPARE(dossier.lireFichier("images/Les_Aventures_Tome_4.jpg"), premiere);
        QCOMPARE(fichiers.count(), 0);
    }

    void selectionnerModeAuto()
    {
        DossierTravail dossier;
        choitImage panneau(nullptr, nullptr, true);
        QSignalSpy images(&panneau, &choitImage::newImage);
        QSignalSpy fichiers(&panneau, &choitImage::newImageFile);
        dossier.ecrireFichier("data/tutu.jpg", imagePng(4, 4));
        panneau.setRecherche("Les Aventures Tome 12");
        enfant<QPushButton>(&panneau, "pbRechercher")->click();
        enfant<QPushButton>(&panneau, "pbSelectionner")->click();
        QCOMPARE(images.count(), 0);
        QCOMPARE(fichiers.count(), 1);
        QCOMPARE(fichiers.at(0).at(0).toString(), QString("Les_Aventures_Tome_12.jpg"));
        QCOMPARE(fichiers.at(0).at(1).toString(), QString("Les_Aventures_Tome_12"));
        QVERIFY(QFile::exists(dossier.chemin("images/Les_Aventures_Tome_12.jpg")));
    }

    void selectionnerResteDansImages()
    {
        DossierTravail dossier;
        dossier.ecrireFichier("data/tutu.jpg", imagePng(4, 4));
        choitImage panneau(nullptr, nullptr, true);
        QSignalSpy fichiers(&panneau, &choitImage::newImageFile);
        panneau.setRecherche("../../evasion Tome 1");
        enfant<QPushButton>(&panneau, "pbRechercher")->click();
        enfant<QPushButton>(&panneau, "pbSelectionner")->click();
        const QString nom = fichiers.at(0).at(0).toString();
        QCOMPARE(nom, QString("____evasion_Tome_1.jpg"));
        // The search text itself is unchanged but for its spaces.
        QCOMPARE(fichiers.at(0).at(1).toString(), QString("../../evasion_Tome_1"));
        QCOMPARE(QDir(dossier.chemin("images")).entryList(QDir::Files), QStringList { nom });
        QCOMPARE(QDir(dossier.chemin()).entryList(QDir::Files), QStringList());
    }

    void afficherImageTelechargee()
    {
        DossierTravail dossier;
        choitImage panneau(nullptr, nullptr, false);
        auto* label = enfant<QLabel>(&panneau, "labelImage");

        // Next/Prev (a failed download) leave the label as it was.
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
        panneau.Next();
        QCOMPARE(label->pixmap().size(), QSize(250, 500));

        dossier.ecrireFichier("data/tutu.jpg", "pas une image");
        panneau.changeImage();
        QVERIFY(label->pixmap().isNull());
    }

    // --- Search for one album ---------------------------------------------

    void boutonSansAlbum()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligneAlbum("Les Aventures", "Tome 4", 4));
        RepondeurModal repondeur;
        Phylacto fenetre;
        choisirAlbum(fenetre, "Les Aventures", QString());
        enfant<QPushButton>(&fenetre, "pbChercherImage")->click();
        QCOMPARE(repondeur.textesBoites(), QStringList { "Veuillez selectioner un album" });
        QCOMPARE(repondeur.boites().at(0).titre, QString());
        QVERIFY(!repondeur.boites().at(0).avecParent);
        QCOMPARE(repondeur.boites().at(0).boutons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(fenetre.findChildren<choitImage*>().isEmpty());
        QVERIFY(fenetre.findChildren<QDialog*>().isEmpty());
    }

    void rechercheUnAlbum()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligneAlbum("Les Aventures", "Tome 4", 4)
            + ligneAlbum("Les Aventures", "Tome 5", 5) + ligneAlbum("Autre", "Tome 4", 4));
        dossier.ecrireFichier("data/tutu.jpg", imagePng(30, 60));
        ServeurTest serveur;
        serviceLocal(dossier, serveur, true);
        RepondeurModal repondeur;
        Phylacto fenetre;
        choisirAlbum(fenetre, "Les Aventures", "Tome 4");
        enfant<QPushButton>(&fenetre, "pbChercherImage")->click();

        const QList<QDialog*> dialogues = dialoguesCouverture(fenetre);
        QCOMPARE(dialogues.size(), 1);
        QDialog* dialogue = dialogues.first();
        QCOMPARE(dialogue->windowTitle(), QString("Chercher une image"));
        QVERIFY(dialogue->isVisible());
        QVERIFY(!dialogue->isModal());
        auto* panneau = dialogue->findChild<choitImage*>();
        auto* champ = enfant<QLineEdit>(panneau, "leTitreRecherche");
        QCOMPARE(champ->text(), QString("Les Aventures Tome 4"));
        QVERIFY(!champ->isReadOnly());
        QVERIFY(enfant<QPushButton>(panneau, "pbBDSuivante")->isHidden());

        enfant<QPushButton>(panneau, "pbRechercher")->click();
        enfant<QPushButton>(panneau, "pbSelectionner")->click();
        QVERIFY(QFile::exists(dossier.chemin("images/Les_Aventures_Tome_4.jpg")));
        QCOMPARE(albumDe(fenetre, "Les Aventures", "Tome 4")->getImage(),
            QString("images//Les_Aventures_Tome_4.jpg"));
        QCOMPARE(albumDe(fenetre, "Autre", "Tome 4")->getImage(), QString());
        QVERIFY(fenetre.estModifie());
        QCOMPARE(enfant<QLabel>(&fenetre, "LabelImage")->pixmap().size(), QSize(250, 500));
        QVERIFY(repondeur.boites().isEmpty());

        // The panel stays open; it attaches to the album selected now.
        choisirAlbum(fenetre, "Les Aventures", "Tome 5");
        emit panneau->newImage("autre.jpg");
        QCOMPARE(
            albumDe(fenetre, "Les Aventures", "Tome 5")->getImage(), QString("images//autre.jpg"));

        // Closing it destroys the panel once the event loop has run.
        dialogue->close();
        traiterSuppressionsDifferees();
        QVERIFY(dialoguesCouverture(fenetre).isEmpty());
        QVERIFY(fenetre.findChildren<choitImage*>().isEmpty());
    }

    void rechercheDepuisMenuEtCelluleTome()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligneAlbum("Les Aventures", "Tome 4", 4));
        RepondeurModal repondeur;
        Phylacto fenetre;
        choisirAlbum(fenetre, "Les Aventures", "Tome 4");
        QVERIFY(declencherAction(&fenetre, "actionRerchercher_un_album"));
        QCOMPARE(dialoguesCouverture(fenetre).size(), 1);
        auto* panneau = fenetre.findChild<choitImage*>();
        QCOMPARE(enfant<QLineEdit>(panneau, "leTitreRecherche")->text(), QString());
        dialoguesCouverture(fenetre).first()->close();
        traiterSuppressionsDifferees();

        // The current cell is the volume number: no title, an empty field.
        auto* table = enfant<QTableWidget>(&fenetre, "LstAlbum");
        table->setCurrentCell(0, 0);
        enfant<QPushButton>(&fenetre, "pbChercherImage")->click();
        panneau = fenetre.findChild<choitImage*>();
        QVERIFY(panneau);
        QCOMPARE(enfant<QLineEdit>(panneau, "leTitreRecherche")->text(), QString());
        QVERIFY(repondeur.boites().isEmpty());
    }

    void deuxRecherchesDeSuite()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(
            ligneAlbum("Les Aventures", "Tome 4", 4) + ligneAlbum("Les Aventures", "Tome 5", 5));
        RepondeurModal repondeur;
        auto fenetre = std::make_unique<Phylacto>();
        auto* bouton = enfant<QPushButton>(fenetre.get(), "pbChercherImage");
        choisirAlbum(*fenetre, "Les Aventures", "Tome 4");
        bouton->click();
        QPointer<QDialog> premier = dialoguesCouverture(*fenetre).value(0);
        QVERIFY(premier);
        choisirAlbum(*fenetre, "Les Aventures", "Tome 5");
        bouton->click();
        QVERIFY(declencherAction(fenetre.get(), "actionRerchercher_un_album"));

        // Still one dialog, now proposing the album chosen last.
        QCOMPARE(dialoguesCouverture(*fenetre).size(), 1);
        QCOMPARE(fenetre->findChildren<choitImage*>().size(), 1);
        QCOMPARE(enfant<QLineEdit>(premier, "leTitreRecherche")->text(),
            QString("Les Aventures Tome 5"));

        // The end of a search reaches no closed panel.
        premier->close();
        emit fenetre->getAlbumInfos()->xmlFinished(0);
        QVERIFY(repondeur.boites().isEmpty());
        traiterSuppressionsDifferees();
        QVERIFY(!premier);

        // A finished dialog's end, delivered again, destroys nothing twice.
        fenetre->properlyDestroyed(0);
        bouton->click();
        QPointer<QDialog> second = dialoguesCouverture(*fenetre).value(0);
        QVERIFY(second && second->isVisible());
        fenetre->properlyDestroyed(0);
        fenetre->properlyDestroyed(0);
        traiterSuppressionsDifferees();
        QVERIFY(!second);
        emit fenetre->getAlbumInfos()->xmlFinished(-1);

        // The window closes with a search still open.
        bouton->click();
        QCOMPARE(dialoguesCouverture(*fenetre).size(), 1);
        fenetre.reset();
    }

    // --- Cover from a local file ------------------------------------------

    void imageLocale()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(
            ligneAlbum("Les Aventures", "Tome 4", 4) + ligneAlbum("Les Aventures", "Tome 5", 5));
        QTemporaryDir ailleurs;
        const QString source = ailleurs.filePath("ma couverture;2.jpg");
        const QByteArray octets = imagePng(20, 40);
        {
            QFile f(source);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(octets);
        }
        RepondeurModal repondeur;
        Phylacto fenetre;
        auto* label = enfant<QLabel>(&fenetre, "LabelImage");

        // Cancelled: nothing happens.
        choisirAlbum(fenetre, "Les Aventures", "Tome 5");
        QTest::mouseClick(label, Qt::LeftButton);
        QCOMPARE(repondeur.nbDialoguesFichier(), 1);
        QCOMPARE(repondeur.titreDernierDialogueFichier(), QString("Nouvelle image"));
        QCOMPARE(repondeur.filtresDernierDialogueFichier(),
            QStringList({ "JPG (*.jpg)", "BMP (*.bmp)", "PNG (*.png)" }));
        QVERIFY(!fenetre.estModifie());

        // No album selected: copied all the same, then the message.
        choisirAlbum(fenetre, "Les Aventures", QString());
        repondeur.repondreFichier(source);
        QTest::mouseClick(label, Qt::RightButton);
        QCOMPARE(
            repondeur.textesBoites(), QStringList { "Merci de selectionner l'album souhaité" });
        QVERIFY(!repondeur.boites().at(0).avecParent);
        QCOMPARE(dossier.lireFichier("images/ma couverture_2.jpg"), octets);
        QVERIFY(!fenetre.estModifie());
        QCOMPARE(albumDe(fenetre, "Les Aventures", "Tome 4")->getImage(), QString());

        // Selected: the album points at the copy and shows it; the ";" of the
        // name would not survive the collection file.
        choisirAlbum(fenetre, "Les Aventures", "Tome 5");
        repondeur.repondreFichier(source);
        QTest::mouseClick(label, Qt::LeftButton);
        QCOMPARE(albumDe(fenetre, "Les Aventures", "Tome 5")->getImage(),
            QString("images//ma couverture_2.jpg"));
        QVERIFY(fenetre.estModifie());
        QCOMPARE(label->pixmap().size(), QSize(250, 500));
        QCOMPARE(repondeur.boites().size(), 1);
    }

    // --- Automatic search --------------------------------------------------

    void rechercheAutomatique()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligneAlbum("Les Aventures", "Douze", 12)
            + ligneAlbum("Les Aventures", "Douze bis", 12)
            + ligneAlbum("Les Aventures", "Rien", 3, 0, "_")
            + ligneAlbum("Les Aventures", "Déjà", 5, 0, "images//x.jpg")
            + ligneAlbum("Autre  Serie", "Un", 1) + ligneAlbum("Fin", "F", 9));
        dossier.ecrireFichier("data/tutu.jpg", imagePng(8, 8));
        ServeurTest serveur;
        serviceLocal(dossier, serveur, true);
        RepondeurModal repondeur;
        Phylacto fenetre;

        QStringList proposes;
        auto panneauDe = [&proposes](QDialog* dialogue) {
            auto* panneau = dialogue->findChild<choitImage*>();
            proposes.append(enfant<QLineEdit>(panneau, "leTitreRecherche")->text());
            return panneau;
        };
        // 1: chooses a picture, then the close box.
        bool modeAutoVu = false;
        repondeur.traiterDialogue([&](QDialog* dialogue) {
            auto* panneau = panneauDe(dialogue);
            modeAutoVu = dialogue->isModal()
                && enfant<QLineEdit>(panneau, "leTitreRecherche")->isReadOnly()
                && !enfant<QPushButton>(panneau, "pbBDSuivante")->isHidden()
                && !enfant<QPushButton>(panneau, "pbStopRecherche")->isHidden();
            enfant<QPushButton>(panneau, "pbRechercher")->click();
            enfant<QPushButton>(panneau, "pbSelectionner")->click();
            dialogue->close();
            return true;
        });
        // 2: "BD Suivante"; 3: Escape after choosing; 4: stop.
        repondeur.traiterDialogue([&](QDialog* dialogue) {
            enfant<QPushButton>(panneauDe(dialogue), "pbBDSuivante")->click();
            return true;
        });
        repondeur.traiterDialogue([&](QDialog* dialogue) {
            auto* panneau = panneauDe(dialogue);
            enfant<QPushButton>(panneau, "pbRechercher")->click();
            enfant<QPushButton>(panneau, "pbSelectionner")->click();
            QTest::keyClick(dialogue, Qt::Key_Escape);
            return true;
        });
        repondeur.traiterDialogue([&](QDialog* dialogue) {
            enfant<QPushButton>(panneauDe(dialogue), "pbStopRecherche")->click();
            return true;
        });
        QVERIFY(declencherAction(&fenetre, "actionChercher_image_manquantes"));

        QCOMPARE(repondeur.nbEtapesDialogueRestantes(), 0);
        QVERIFY(modeAutoVu);
        QCOMPARE(repondeur.titresDialogues(),
            QStringList(4, QStringLiteral("Chercher les images manquantes")));
        QCOMPARE(proposes,
            QStringList({ "Les Aventures Tome 12", "Les Aventures Tome 12", "Autre  Serie Tome 1",
                "Fin Tome 9" }));
        QVERIFY(QFile::exists(dossier.chemin("images/Les_Aventures_Tome_12.jpg")));
        QVERIFY(QFile::exists(dossier.chemin("images/Autre__Serie_Tome_1.jpg")));
        QCOMPARE(albumDe(fenetre, "Les Aventures", "Douze")->getImage(),
            QString("images//Les_Aventures_Tome_12.jpg"));
        QCOMPARE(albumDe(fenetre, "Les Aventures", "Douze bis")->getImage(), QString());
        QCOMPARE(albumDe(fenetre, "Les Aventures", "Rien")->getImage(), QString("_"));
        QCOMPARE(albumDe(fenetre, "Autre  Serie", "Un")->getImage(),
            QString("images//Autre__Serie_Tome_1.jpg"));
        QCOMPARE(albumDe(fenetre, "Fin", "F")->getImage(), QString());
        QVERIFY(fenetre.estModifie());
        QVERIFY(repondeur.boites().isEmpty());
        traiterSuppressionsDifferees();
        QVERIFY(fenetre.findChildren<QDialog*>().isEmpty());

        // The next walk starts again from the first album still without a cover.
        proposes.clear();
        repondeur.traiterDialogue([&](QDialog* dialogue) {
            enfant<QPushButton>(panneauDe(dialogue), "pbStopRecherche")->click();
            return true;
        });
        QVERIFY(declencherAction(&fenetre, "actionChercher_image_manquantes"));
        QCOMPARE(proposes, QStringList { "Les Aventures Tome 12" });
    }

    void rechercheAutomatiqueRetrouveSonAlbum()
    {
        // The first twin already has a cover: the one on screen gets the new one.
        DossierTravail dossier;
        dossier.ecrireCollection(ligneAlbum("Les Aventures", "Douze", 12, 0, "images//d.jpg")
            + ligneAlbum("Les Aventures", "Douze bis", 12) + ligneAlbum("Spirou_et Tome", "S", 2)
            + ligneAlbum("Astérix", "A", 3));
        dossier.ecrireFichier("data/tutu.jpg", imagePng(8, 8));
        ServeurTest serveur;
        serviceLocal(dossier, serveur, true);
        RepondeurModal repondeur;
        Phylacto fenetre;
        for (int i = 0; i < 3; ++i) {
            repondeur.traiterDialogue([](QDialog* dialogue) {
                auto* panneau = dialogue->findChild<choitImage*>();
                enfant<QPushButton>(panneau, "pbRechercher")->click();
                enfant<QPushButton>(panneau, "pbSelectionner")->click();
                enfant<QPushButton>(panneau, "pbBDSuivante")->click();
                return true;
            });
        }
        QVERIFY(declencherAction(&fenetre, "actionChercher_image_manquantes"));
        QCOMPARE(repondeur.nbEtapesDialogueRestantes(), 0);
        QCOMPARE(albumDe(fenetre, "Les Aventures", "Douze")->getImage(), QString("images//d.jpg"));
        QCOMPARE(albumDe(fenetre, "Les Aventures", "Douze bis")->getImage(),
            QString("images//Les_Aventures_Tome_12.jpg"));
        QCOMPARE(albumDe(fenetre, "Spirou_et Tome", "S")->getImage(),
            QString("images//Spirou_et_Tome_Tome_2.jpg"));
        QCOMPARE(
            albumDe(fenetre, "Astérix", "A")->getImage(), QString("images//Astérix_Tome_3.jpg"));
    }

    void setImageBDSansRecherche()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligneAlbum("Les Aventures", "Douze", 12)
            + ligneAlbum("Les Aventures", "Douze bis", 12)
            + ligneAlbum("Les  Aventures", "Deux espaces", 1));
        Phylacto fenetre;
        fenetre.setImageBD("a.jpg", "Les_Aventures_Tome_12");
        QCOMPARE(albumDe(fenetre, "Les Aventures", "Douze")->getImage(), QString("images//a.jpg"));
        QCOMPARE(albumDe(fenetre, "Les Aventures", "Douze bis")->getImage(), QString());
        QVERIFY(fenetre.estModifie());
        fenetre.setImageBD("b.jpg", "Les__Aventures_Tome_1");
        QCOMPARE(albumDe(fenetre, "Les  Aventures", "Deux espaces")->getImage(),
            QString("images//b.jpg"));
        fenetre.setModifie(false);
        fenetre.setImageBD("c.jpg", "Inconnue_Tome_1");
        QVERIFY(!fenetre.estModifie());
    }

    void rechercheAutomatiqueFermeLaRechercheOuverte()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligneAlbum("Les Aventures", "Douze", 12));
        RepondeurModal repondeur;
        Phylacto fenetre;
        choisirAlbum(fenetre, "Les Aventures", "Douze");
        enfant<QPushButton>(&fenetre, "pbChercherImage")->click();
        QPointer<QDialog> unique = dialoguesCouverture(fenetre).value(0);
        QVERIFY(unique);
        int panneaux = -1;
        repondeur.traiterDialogue([&](QDialog* dialogue) {
            panneaux = 0;
            for (choitImage* panneau : fenetre.findChildren<choitImage*>())
                panneaux += panneau->isVisible() ? 1 : 0;
            // A search for one album asked meanwhile shows the walk's dialog.
            fenetre.ChercherAlbum();
            dialogue->close();
            return true;
        });
        QVERIFY(declencherAction(&fenetre, "actionChercher_image_manquantes"));
        QCOMPARE(panneaux, 1);
        traiterSuppressionsDifferees();
        QVERIFY(!unique);
        QVERIFY(fenetre.findChildren<choitImage*>().isEmpty());
    }

    void rechercheAutomatiqueSansAlbum()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligneAlbum("S", "a", 1, 0, "images//a.jpg"));
        RepondeurModal repondeur;
        Phylacto fenetre;
        QVERIFY(declencherAction(&fenetre, "actionChercher_image_manquantes"));
        QVERIFY(repondeur.titresDialogues().isEmpty());
        QVERIFY(!fenetre.estModifie());
    }

    // --- Through the loopback service -------------------------------------

    void rechercheReseau()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(
            ligneAlbum("Les Aventures", "Tome 4", 4) + ligneAlbum("Les Aventures", "Tome 5", 5));
        ServeurTest serveur;
        serviceLocal(dossier, serveur, false);
        RepondeurModal repondeur;
        Phylacto fenetre;
        choisirAlbum(fenetre, "Les Aventures", "Tome 4");
        enfant<QPushButton>(&fenetre, "pbChercherImage")->click();
        auto* panneau = fenetre.findChild<choitImage*>();
        QVERIFY(panneau);
        auto* label = enfant<QLabel>(panneau, "labelImage");

        enfant<QPushButton>(panneau, "pbRechercher")->click();
        QTRY_VERIFY(!label->pixmap().isNull());
        const QList<ServeurTest::Requete> recherches = serveur.requetesVers("/onca/xml");
        QCOMPARE(recherches.size(), 1);
        QCOMPARE(recherches.at(0).valeur("Keywords"), QByteArray("Les%20Aventures%20Tome%204"));
        QCOMPARE(serveur.requetesVers("/images/grand-1.jpg").size(), 1);
        const QByteArray grand1 = ServeurTest::octetsImage("grand-1.jpg");
        QCOMPARE(dossier.lireFichier("data/tutu.jpg"), grand1);

        enfant<QPushButton>(panneau, "pbSelectionner")->click();
        QCOMPARE(dossier.lireFichier("images/Les_Aventures_Tome_4.jpg"), grand1);
        QCOMPARE(albumDe(fenetre, "Les Aventures", "Tome 4")->getImage(),
            QString("images//Les_Aventures_Tome_4.jpg"));
        QVERIFY(!enfant<QLabel>(&fenetre, "LabelImage")->pixmap().isNull());
        QVERIFY(fenetre.estModifie());

        // A failed download keeps the picture shown and the stored one.
        const qint64 avant = label->pixmap().cacheKey();
        ServeurTest::Reponse absente;
        absente.statut = 404;
        absente.corps = "absent";
        serveur.setReponse("/images/grand-1.jpg", absente);
        enfant<QPushButton>(panneau, "pbRechercher")->click();
        QTRY_COMPARE(serveur.requetesVers("/images/grand-1.jpg").size(), 2);
        QTest::qWait(200);
        QCOMPARE(label->pixmap().cacheKey(), avant);
        QCOMPARE(dossier.lireFichier("data/tutu.jpg"), grand1);
        QVERIFY(repondeur.boites().isEmpty());
    }

    void rechercheAutomatiqueReseau()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(ligneAlbum("Les Aventures", "Rien", 3, 0, "_")
            + ligneAlbum("Les Aventures", "Douze", 12)
            + ligneAlbum("Les Aventures", "Douze bis", 12));
        ServeurTest serveur;
        serviceLocal(dossier, serveur, false);
        RepondeurModal repondeur;
        Phylacto fenetre;

        QStringList proposes;
        bool recherche = false;
        QElapsedTimer chrono;
        chrono.start();
        repondeur.traiterDialogue([&](QDialog* dialogue) {
            auto* panneau = dialogue->findChild<choitImage*>();
            if (!recherche) {
                recherche = true;
                proposes.append(enfant<QLineEdit>(panneau, "leTitreRecherche")->text());
                enfant<QPushButton>(panneau, "pbRechercher")->click();
                return false;
            }
            if (enfant<QLabel>(panneau, "labelImage")->pixmap().isNull()
                && chrono.elapsed() < 20000)
                return false;
            enfant<QPushButton>(panneau, "pbSelectionner")->click();
            enfant<QPushButton>(panneau, "pbBDSuivante")->click();
            return true;
        });
        repondeur.traiterDialogue([&](QDialog* dialogue) {
            auto* panneau = dialogue->findChild<choitImage*>();
            proposes.append(enfant<QLineEdit>(panneau, "leTitreRecherche")->text());
            enfant<QPushButton>(panneau, "pbStopRecherche")->click();
            return true;
        });
        QVERIFY(declencherAction(&fenetre, "actionChercher_image_manquantes"));

        QCOMPARE(proposes, QStringList({ "Les Aventures Tome 12", "Les Aventures Tome 12" }));
        QCOMPARE(serveur.requetesVers("/onca/xml").value(0).valeur("Keywords"),
            QByteArray("Les%20Aventures%20Tome%2012"));
        QCOMPARE(dossier.lireFichier("images/Les_Aventures_Tome_12.jpg"),
            ServeurTest::octetsImage("grand-1.jpg"));
        QCOMPARE(albumDe(fenetre, "Les Aventures", "Douze")->getImage(),
            QString("images//Les_Aventures_Tome_12.jpg"));
        QCOMPARE(albumDe(fenetre, "Les Aventures", "Douze bis")->getImage(), QString());
        QCOMPARE(albumDe(fenetre, "Les Aventures", "Rien")->getImage(), QString("_"));
        QVERIFY(fenetre.estModifie());
        QVERIFY(repondeur.boites().isEmpty());
    }

    void recherchesEnVolReseau()
    {
        DossierTravail dossier;
        dossier.ecrireCollection(
            ligneAlbum("Les Aventures", "Tome 4", 4) + ligneAlbum("Les Aventures", "Tome 5", 5));
        ServeurTest serveur;
        serviceLocal(dossier, serveur, false);
        ServeurTest::Reponse lente;
        lente.corps = ServeurTest::octetsImage("grand-1.jpg");
        lente.entetes = { { "Content-Type", "image/png" } };
        lente.delai = 300;
        serveur.setReponse("/images/grand-1.jpg", lente);
        RepondeurModal repondeur;
        Phylacto fenetre;
        auto* bouton = enfant<QPushButton>(&fenetre, "pbChercherImage");
        auto rechercher = [&fenetre]() {
            choitImage* panneau = nullptr;
            for (choitImage* candidat : fenetre.findChildren<choitImage*>())
                panneau = candidat->isVisible() ? candidat : panneau;
            enfant<QPushButton>(panneau, "pbRechercher")->click();
            return QPointer<choitImage>(panneau);
        };

        // Closed while its search is under way, then another one at once.
        choisirAlbum(fenetre, "Les Aventures", "Tome 4");
        bouton->click();
        QPointer<choitImage> premier = rechercher();
        dialoguesCouverture(fenetre).value(0)->close();
        choisirAlbum(fenetre, "Les Aventures", "Tome 5");
        bouton->click();
        QPointer<choitImage> second = rechercher();
        QVERIFY(second != premier);
        QTRY_VERIFY(second && !enfant<QLabel>(second, "labelImage")->pixmap().isNull());
        QVERIFY(!premier);

        // Closed and destroyed while its picture is still downloading.
        const int telechargements = int(serveur.requetesVers("/images/grand-1.jpg").size());
        enfant<QPushButton>(second, "pbRechercher")->click();
        QTRY_COMPARE(serveur.requetesVers("/images/grand-1.jpg").size(), telechargements + 1);
        dialoguesCouverture(fenetre).value(0)->close();
        traiterSuppressionsDifferees();
        QVERIFY(!second);
        QTest::qWait(500);
        QVERIFY(fenetre.findChildren<choitImage*>().isEmpty());
        QVERIFY(repondeur.boites().isEmpty());
    }
};

QTEST_MAIN(TestCouvertures)
#include "test_couvertures.moc"
