#pragma once

#include "model/catalogue.h"
#include "model/recherche.h"
#include "settings/chemins.h"
#include "store/avancement.h"
#include "store/etatfichier.h"
#include "store/sauvegardes.h"

#include <QHash>
#include <QMainWindow>
#include <QModelIndex>
#include <QPixmap>
#include <QPointer>
#include <QSet>
#include <QString>

#include <functional>
#include <memory>

struct LectureCollection;
namespace AjoutLot {
struct AlbumAAjouter;
struct Bilan;
}
class AjoutCatalogue;
class AlbumInfos;
class RechercheCouvertures;
class BD;
class CacheVignettes;
class DelegueMur;
class ModeleMurCouvertures;
class ModificationCatalogue;
class QAction;
class QCloseEvent;
class QDialog;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QSettings;
class QTableWidgetItem;
class QTextCodec;
class QUndoStack;
class RechercheCatalogue;
class Saise;
class Serie;
class choitImage;

namespace Ui {
class Phylacto;
}

// The main window: owns the catalogue, the settings and the cover-search
// request object, wires the interface and delegates the work. Its slots are
// split by concern over the files of app/.
class Phylacto : public QMainWindow
{
    Q_OBJECT

public:
    explicit Phylacto(QWidget* parent = nullptr);
    ~Phylacto() override;
    // The program ends with the window: its albums are left to the system
    // (Catalogue::abandonner).
    void laisserAlbumsAuSysteme() { catalogue.abandonner(); }

    // Catalogue lookups (see Catalogue).
    Serie* findSerie(const QString& nom) const { return catalogue.findSerie(nom); }
    QList<BD*> albumsParNom(const QString& texte, bool parSerie) const
    {
        return catalogue.albumsParNom(texte, parSerie);
    }
    Catalogue& getCatalogue() { return catalogue; }
    const QList<BD*>& getAlbums() const { return catalogue.albums(); }

    bool estModifie() const { return modifie; }
    // The one way modifie changes: the window's unsaved mark follows it.
    void setModifie(bool valeur);
    QString getSerieCourante() const { return serieCourante; }
    QSettings* getSettings() const { return settings; }
    AlbumInfos* getAlbumInfos() const { return albumInfos; }

    // The start-up load, once, from the constructor.
    void chargerBase(const QString& fileName);
    // True when the start-up load stopped at a bad line or could not read an
    // existing collection file: the albums it did not read are still only on disk.
    bool chargementIncomplet() const { return m_chargementIncomplet; }

    void MAJListesSeries();
    void MAJCompteurs();

    // The folder could not be locked for writing: the catalogue is shown but
    // never written back to it; raison says why, in a notice.
    void ouvrirEnLectureSeule(const QString& raison);
    bool enLectureSeule() const { return !m_lectureSeule.isEmpty(); }
    // A start-up notice from outside the window.
    void ajouterAvis(const QString& texte);

    // Window size and position, splitter and column widths as the user left
    // them, kept in the per-user file given (never the collection's settings).
    // Without one, nothing is remembered.
    void restaurerDisposition(QSettings* disposition);
    void memoriserDisposition();

    // Cover search: points the album of that title in the shown series at a
    // file of the images directory and shows it. False (nothing changed) when
    // there is no such album or no such file.
    bool affecterImage(QString titre, QString fichier);

signals:
    void relayInfoReseau(QString aAdd, QString aPort, QString aLogin, QString aPassword);
    // Part of the window's interface, though nothing emits or connects it.
    void relayAfficher(int);

public slots:
    void ImportCsv();
    void updateLstAlbum(QListWidgetItem* current, QListWidgetItem* previous);
    void updateLstAlbum(QTableWidgetItem* current, QTableWidgetItem* previous);
    QString convertir(QString fileName);
    void save();
    void ajouterAlbum();
    void ajouterSuite();
    void saveAs();
    void ConfigReseaux();
    void MAJReseau(QString aAdd, QString aPort, QString aLogin, QString aPassword);
    void ChercherAlbum();
    void LancerRechercheAlbum(QString aRechercher);
    void changeImage();
    void nouvelAlbum(QString serie, QString titre, QString scenariste, QString dessinateur,
        int tome, QString commentaire, int type, int note, int serieFinie, QString editeur,
        QString genre, QString coloriste);
    void UpdateAlbum(QString serie, QString titre, QString scenariste, QString dessinateur,
        int tome, QString commentaire, int type, int note, int serieFinie, QString editeur,
        QString genre, QString coloriste);
    void closeProg();
    void setNewImage(QString aRechercher);
    void properlyDestroyed(int);
    void affichagePret();
    void Preter();
    void myMenu(QPoint);
    void suppSerie();
    void suppAlbum();
    // "Renommer la série…": asks the new name, and whether to merge when it
    // is another series'.
    void renommerSerie();
    void ChercherToutesImages();
    void stopRechercheAuto();
    void setImageBD(QString aNom, QString aRecherche);
    void ModifAlbum(QModelIndex aIndex);
    void AfficherRecherche();
    void updateInfosBd(BD* lBd);
    void MAJEncodage(QString aEncodage);
    // The start-up notice's button: reads the collection file again in the
    // encoding it suggested and stores that encoding for the file.
    void relireEnEncodagePropose();
    // "Exporter pour un tableur…": the whole catalogue.
    void exporterTableur();
    // "Restaurer une sauvegarde…": the dated backups of the collection file.
    void restaurerSauvegarde();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The album a row of LstAlbum names: the title cell of that row, looked up
    // in the shown series (first in catalogue order).
    BD* albumDeLaLigne(int ligne) const;
    void remplirLigneAlbum(int ligne, const BD* album);
    // Refills LstAlbum from serieCourante without touching the detail panel;
    // returns the series' albums in catalogue order.
    QList<BD*> remplirTableAlbums();
    QList<QListWidget*> listesSeries() const;
    // The line edits of the detail panel.
    QList<QLineEdit*> champsDetail() const;
    // Each series list with the catalogue's series it shows.
    QList<QPair<QListWidget*, const QList<Serie*>*>> listesEtSeries() const;
    // Deletes the item of that name from LstManga, LstBDEuro, LstComics and
    // LstSerie, in that order.
    void retirerSerieDesListes(const QString& nom);

    AlbumInfos* albumInfos = nullptr;
    Ui::Phylacto* ui = nullptr;
    // The working folder, as the start left it current.
    Chemins m_chemins;
    Catalogue catalogue;
    QSettings* settings = nullptr;
    bool modifie = false;
    QPointer<QDialog> dialogueRechercheAuto;
    QPointer<choitImage> choixImage;
    QAction* actionSuppSerie = nullptr;
    QAction* actionSuppAlbum = nullptr;
    QAction* actionAjouterSuite = nullptr;
    QAction* actionRenommerSerie = nullptr;
    // "<file name>[*] — Phylacto", from the collection file the settings name.
    void majTitre();
    QString serieCourante;
    bool arretRechercheAuto = false;

    // Saving (app/enregistrement.cpp). The bool helpers return false when nothing was written.
    bool enregistrer();
    bool enregistrerSousNouveauNom(); // asks the name, which becomes the collection's
    bool enregistrerDans(const QString& nom, bool nouveauNom);
    enum class Remplacement { Remplacer, AutreNom, Annuler };
    Remplacement confirmerRemplacement(const QString& chemin);
    bool ecrireCatalogue(const QString& chemin, QTextCodec* codec, bool fichierCollection);
    bool garderCopieAvantEcrasement(const QString& chemin);
    QString demanderFichier();
    // A save dialog's file, ".csv" added to a name typed without an extension.
    QString demanderFichierCsv(const QString& titre, const QString& filtre);
    bool m_copieGardee = false; // the unread albums' file is already backed up
    EtatFichier m_etatCollection; // as last read or written here
    QString m_lectureSeule; // why the collection is read-only; empty when it is not
    // True, once the user is told why, when the collection is read-only.
    bool refuserEcriture();

    void signalerChargement(const LectureCollection& lecture, const QString& encodage);
    // Encoding of the collection file (app/encodage.cpp): one validated in
    // the settings window waits for the rewrite of the file to be stored, so
    // that "BASE/Encodage" always names the encoding the file is in.
    QString encodageCollection() const;
    QTextCodec* codecCollection() const;
    void noterEncodageEcrit(); // the file was just replaced in encodageCollection()
    QString m_encodageEnAttente;
    QString m_encodagePropose; // by the start-up notice
    // Import (app/importcollection.cpp): false when nothing could be read, told in a box.
    bool importer(const QString& nom);
    bool m_chargementIncomplet = false;
    QString m_fichierCharge; // path the start-up load read
    void ajouterSeriesManquantes(QListWidget* liste, const QList<Serie*>& seriesListe);
    // Names each series list already shows, so a refresh never searches a widget.
    QHash<const QListWidget*, QSet<QString>> m_nomsListes;
    quint64 m_revisionListes = ~quint64(0); // of the catalogue the lists were last filled from

    // Dated backups (app/sauvegardesdatees.cpp). The copy of the collection file
    // made before it is replaced, or empty with *probleme set when it failed.
    QString sauvegarderAvantEcrasement(const QString& chemin, QString* probleme);
    // After the file was replaced: the retention, then one notice of any problem.
    // sauvegarde is the backup just made, if any.
    void terminerSauvegarde(const QString& chemin, const QString& sauvegarde, QString probleme);
    QSet<QString> m_dossiersEnAvanceSignales; // told of backups dated in the future
    // Asks, keeps the current file, then makes the backup the catalogue.
    bool restaurer(const Sauvegardes::Sauvegarde& sauvegarde);
    // Lists, table and detail panel rebuilt for a catalogue replaced whole.
    void reprendreAffichage();

    // Spreadsheet export (app/exportalbums.cpp). lignes are positions in the
    // catalogue, valid while its revisionPositions() is still revisionLignes.
    void exporterLignes(const QList<int>& lignes, quint64 revisionLignes);
    void exporterAlbums(const QList<const BD*>& albums);

    // Album editing (app/edition.cpp)
    // Opens a fresh entry dialog; the previous one, closed by then, is destroyed.
    Saise* ouvrirSaisie(BD* album);
    // Empties the detail panel, as at start-up (its album was deleted).
    void viderDetail();
    QPointer<Saise> m_saisie;
    // The album a change dialog was opened on, named as the table names it.
    QString m_serieModifiee;
    QString m_titreModifie;

    // Undo (app/historique.cpp). Every change of the catalogue goes through
    // the stack; modifie follows its clean state.
    void preparerAnnulation();
    // Records a change already made and shown (a deletion is made by the
    // recording) as one step of the stack.
    void executer(std::unique_ptr<ModificationCatalogue> modification);
    // Before the stack or a change moves: what the saved step means.
    void noterEtatEnregistre();
    // Lists, table, counters and detail once the stack moved to that index by
    // an undo or a redo; the album of the step, when still in the catalogue,
    // is shown in its series.
    void rafraichirApresAnnulation(int index);
    // Lists, table, counters and detail once that step was made, undone or redone.
    void montrerPas(const ModificationCatalogue& modification);
    // A cover chosen for that album (its image field), as one step.
    void changerCouverture(BD* album, const QString& champImage);
    void montrerAlbum(BD* album);
    // A loan or a return of that album, as one step of the stack.
    void changerPret(BD* album, const QString& texte, const std::function<void(BD&)>& changement);
    QUndoStack* m_annulation = nullptr;
    int m_indexAnnulation = 0; // the stack's index the window shows
    bool m_pasEnregistre = false; // a step is being pushed

    // Layout (app/disposition.cpp)
    static constexpr int largeurNumero = 40; // the album table's volume column, at start
    void preparerDisposition();
    void afficherCouverture();
    QPixmap m_couverture; // the shown album's picture, before scaling
    QSettings* m_disposition = nullptr;

    // Help menu (app/aide.cpp)
    void preparerAide();
    void aPropos();

    // Keyboard (app/clavier.cpp)
    void preparerClavier();
    bool eventFilter(QObject* objet, QEvent* evenement) override;
    void montrerMenuContextuel(QWidget* vue);
    void afficherMenu(bool pourAlbums, const QPoint& position);
    bool vueAlbums(const QWidget* vue) const; // the album table or the covers wall
    void modifierAlbumCourant();

    // Cover search: the album the automatic search is showing, so that the
    // cover chosen for it lands on it, and whether that search is running.
    QPointer<BD> m_albumVisite;
    bool m_rechercheAutoEnCours = false;

    // The keyless cover sources, used instead of albumInfos when the
    // settings name one; m_albumPropose is the album a one-album search was
    // opened for, so that what they find is ranked against it.
    RechercheCouvertures* rechercheCouvertures = nullptr;
    QPointer<BD> m_albumPropose;
    void relierSourcesCouvertures(choitImage* panneau);
    // Any failure of a cover search or download, over the cover dialog.
    void signalerRechercheSansCouverture(const QString& texte);

    // Quick search, missing volumes and statistics (app/outilscatalogue.cpp)
    void installerRecherche();
    // Hides, in the four series lists, the series the text does not find.
    void filtrerSeries(const QString& texte);
    // lbTomesManquants for the shown series, given its albums when known.
    void majEtiquetteTomes();
    void majEtiquetteTomes(const QList<BD*>& albumsSerie);
    // After any change of the catalogue: the label and the hidden series follow.
    void suivreCatalogue();
    void ouvrirTomesManquants();
    void ouvrirStatistiques();
    IndexRecherche m_indexRecherche;

public:
    // Albums from the national catalogue, GCstar and Tellico (app/ajoutscatalogue.cpp):
    // "Ajouter depuis le catalogue…" and "Importer depuis GCstar ou Tellico…".
    void ouvrirAjoutCatalogue();
    void importerAutreCatalogue();

private:
    void preparerAjoutsCatalogue();
    // Adds the albums as one step of the undo stack and shows them; texte names
    // the step ("l'ajout de n albums" when empty).
    AjoutLot::Bilan ajouterLot(const QList<AjoutLot::AlbumAAjouter>& albums, const QString& texte,
        const Avancement& avancement = {});
    void montrerBilan(const AjoutLot::Bilan& bilan); // in the status bar
    RechercheCatalogue* m_rechercheCatalogue = nullptr; // answers kept for the run
    QPointer<AjoutCatalogue> m_ajoutCatalogue;
    // Covers wall (app/mur.cpp), the album table's other view, built when
    // first shown. It follows the scope, the kind tab, the quick search and
    // the catalogue; a click on it makes the album current in the table.
    void preparerMur();
    void creerMur();
    bool murAffiche() const;
    void afficherMur(bool mur);
    // The album group widened for the wall, or given back its width.
    void elargirMur(bool mur);
    QList<int> m_separateursTable; // the splitter's widths while the wall is shown
    void actualiserMur();
    int genreDeLOnglet() const; // the kind whose series the current tab lists, -1 for all
    void placerAlbumDansMur();
    void choisirAlbumDuMur(const QModelIndex& index);
    void suivreAlbumDansMur(BD* album);
    void changerTailleVignettes(int largeur);
    ModeleMurCouvertures* m_modeleMur = nullptr;
    CacheVignettes* m_cacheVignettes = nullptr;
    DelegueMur* m_delegueMur = nullptr;
    QPointer<BD> m_albumAffiche; // in the detail panel
    bool m_synchroMur = false; // the wall's current album is being set to the panel's
    bool m_choixDepuisMur = false; // a click on the wall is being shown
};
