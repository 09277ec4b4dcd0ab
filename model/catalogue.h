#pragma once

#include <QByteArray>

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <utility>
#include <vector>

#include "model/textespartages.h"

class BD;
struct ChampsAlbum;
class Serie;

struct Compteurs
{
    int total = 0;
    int euro = 0;
    int comics = 0;
    int manga = 0;
};

// The twelve values the entry form gives for one album.
struct ValeursAlbum
{
    QString serie;
    QString titre;
    QString scenariste;
    QString dessinateur;
    int tome = 0;
    QString commentaire;
    int type = 0;
    int note = 0;
    int serieFinie = 0;
    QString editeur;
    QString genre;
    QString coloriste;
};

// What adding or changing an album came to.
struct ResultatEdition
{
    enum Etat {
        Fait,
        Doublon, // another album already has this series and title: nothing changed
        Introuvable // the album to change is no longer in the catalogue
    };
    Etat etat = Fait;
    BD* album = nullptr; // the album added or changed
    bool serieCreee = false; // its series did not exist before
};

// A series taken out of the catalogue with its albums, and where each stood,
// so that it can be put back exactly. Whoever holds it owns the objects.
struct SerieRetiree
{
    Serie* serie = nullptr;
    int rangSeries = -1;
    int rangGenre = -1; // in the list of its kind, -1 when it has none
    QList<QPair<int, BD*>> albums; // catalogue positions, ascending
};

// What a change may do to the series an album joins.
struct EtatSerie
{
    QString nom;
    bool existait = false;
    int tomeMax = 0;
    int serieFinie = 0;
};

// The series as they stood before albums were appended (an entry, a batch,
// an import): how many there were and each one's highest volume and finished
// mark, so that an undo puts them back. Read just before, used just after.
struct SeriesAvantAjout
{
    struct Valeurs
    {
        qsizetype position; // in series()
        int tomeMax;
        int serieFinie;
    };
    qsizetype nbAlbums = 0;
    qsizetype nbSeries = 0;
    QList<Valeurs> valeurs; // every series as read; only those changed once compactees
    // Keeps only the series whose values the addition changed: an undo step
    // of one album must not hold a copy of every series.
    void compacter(const QList<Serie*>& series);
};

// What renaming a series would do, before anything is changed.
struct ExamenRenommage
{
    enum Etat {
        Rien, // no such series, or the same name
        NomInvalide, // empty, or with a ";" the collection file cannot hold
        Doublon, // an album of the series already has its title in the other
        Renommage,
        Fusion // the new name is another series': the albums join it
    };
    Etat etat = Rien;
    int nbAlbums = 0; // albums that take the new name
    const BD* collision = nullptr; // for Doublon: the first album that would collide
};

// What a rename changed, so that it can be put back exactly. While a merged
// series is out, whoever holds this owns it.
struct SerieRenommee
{
    bool fait = false;
    QString ancien;
    QString nouveau;
    QList<BD*> albums; // those that took the new name, in catalogue order
    EtatSerie cible; // the series joined as it was; existait false for a plain rename
    SerieRetiree source; // after a merge: the series left, with where it stood
};

// Told before an album's texts change or before the album is destroyed, so
// that a view holding the album can keep what it shows.
class SuiviAlbums
{
public:
    virtual void avantChangement(const BD& album) = 0;
    // The catalogue is going with its albums: no more calls, nothing to
    // unregister, no album to read.
    virtual void catalogueDetruit() = 0;

protected:
    ~SuiviAlbums() = default;
};

// The five lists of the catalogue and the rules that keep them together.
// The catalogue owns every album and series it holds.
class Catalogue
{
public:
    Catalogue() = default;
    ~Catalogue();
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    const QList<BD*>& albums() const { return m_albums; }
    const QList<Serie*>& series() const { return m_series; }
    const QList<Serie*>& seriesEuro() const { return m_seriesEuro; }
    const QList<Serie*>& seriesComics() const { return m_seriesComics; }
    const QList<Serie*>& seriesManga() const { return m_seriesManga; }

    // Series whose name is exactly nom (names are unique), or nullptr.
    Serie* findSerie(const QString& nom) const { return m_indexSeries.value(nom, nullptr); }
    // Albums, in catalogue order, whose series (parSerie) or title equals texte.
    QList<BD*> albumsParNom(const QString& texte, bool parSerie) const;
    // The album a row of the album table means: first in catalogue order.
    BD* premierAlbum(const QString& serie, const QString& titre) const;

    // Attach steps: append the album (taking ownership), then update or create
    // its series. Returns true when a series was created.
    bool attacher(BD* album);
    // Steps 2 to 4 of the attach steps alone, for an album already listed.
    bool integrerSerie(const BD* album);

    // A new album from the form's values, refused when its series and title
    // are already an album's (exact case); otherwise attached.
    ResultatEdition ajouter(const ValeursAlbum& valeurs);
    // Several new albums, each refused as ajouter would refuse it (an earlier
    // one of the batch counts), the catalogue walked once for the whole
    // batch. Returns, for each value, the album added or nullptr.
    QList<BD*> ajouterLot(const QList<ValeursAlbum>& valeurs);
    // Changes the album the table names (serie, titre): the form's fields are
    // set, cover, loan and the fields the form does not show are kept, and the
    // album joins the series it now names (created when missing). Refused when
    // the new pair is another album's; keeping its own pair is never refused.
    ResultatEdition modifier(
        const QString& serie, const QString& titre, const ValeursAlbum& valeurs);

    // Takes an album out without destroying it and returns where it stood
    // (-1 when absent); its series stays. remettreAlbum puts it back there.
    int retirerAlbum(BD* album);
    void remettreAlbum(BD* album, int position);
    // Takes a series and all its albums out without destroying them.
    SerieRetiree retirerSerie(const QString& nom);
    void remettreSerie(const SerieRetiree& retiree);
    // Puts back every field of an album (an undone change); its series stays
    // as it is.
    void remettreChamps(BD* album, const ChampsAlbum& champs);
    // Sets every field of an album (a change made again): when its series,
    // volume or finished mark differs, it joins its series by the attach steps.
    void changerChamps(BD* album, const ChampsAlbum& champs);
    EtatSerie etatSerie(const QString& nom) const;
    SeriesAvantAjout releverSeries() const;
    // Takes out the albums appended since avant, without destroying them, and
    // the series they created (destroyed); the series they joined get their
    // volume and finished mark back. Returns the albums, in catalogue order.
    // Only right after the addition: nothing else may have changed since.
    QList<BD*> retirerAjout(const SeriesAvantAjout& avant);
    ExamenRenommage examinerRenommage(const QString& ancien, const QString& nouveau) const;
    // Every album of the series ancien is named nouveau. The series keeps its
    // place, kind, volume and finished mark; onto an existing series it
    // merges: it leaves, and the one joined takes the higher volume and its
    // finished mark. Refused (fait false, nothing changed) unless the
    // examination says Renommage or Fusion.
    SerieRenommee renommerSerie(const QString& ancien, const QString& nouveau);
    // Only right after the rename, or after it was made again.
    void annulerRenommage(const SerieRenommee& renommee);
    // Back to a state read before a change: a series the change created goes
    // away unless an album still names it.
    void restaurerSerie(const EtatSerie& etat);

    // Digest of every field of every album, in catalogue order: equal digests
    // mean the same collection file.
    QByteArray empreinte() const;

    // Removes and destroys one album; its series stays.
    void supprimerAlbum(BD* album);
    // Removes and destroys a series and every album of that name.
    // Returns the number of albums removed.
    int supprimerSerie(const QString& nom);
    void vider();
    // Lets go of every album and series without destroying them, when the
    // program ends: the system takes their memory back at once, where a
    // million deletions one by one would hold the end for a second.
    void abandonner();
    // Takes the other catalogue's content and gives it this one's.
    void echanger(Catalogue& autre);
    // Grows at each removal or exchange: positions in albums() taken before
    // a change of this count no longer name the same albums.
    quint64 revisionPositions() const { return m_revisionPositions; }

    Compteurs compter() const;

    // Views follow a catalogue they only read: following is not a change.
    void suivre(SuiviAlbums* suivi) const { m_suivis.append(suivi); }
    void nePlusSuivre(SuiviAlbums* suivi) const { m_suivis.removeOne(suivi); }

    // The repeated texts of the albums, shared by every album that holds them:
    // loads, imports and entries go through it.
    TextesPartages& textesPartages() { return m_textes; }

    // Changes with every album or series added, changed or removed, so that
    // what is derived from the catalogue knows when to be rebuilt.
    quint64 revisionContenu() const { return m_revisionContenu; }
    // Changes with everything but albums appended by the attach steps: while it
    // stays, what was derived from the first albums and series still holds.
    quint64 revisionContenuHorsAjouts() const { return m_revisionContenuHorsAjouts; }

private:
    // Anything derived from the catalogue must be rebuilt; with positions,
    // rows numbered before no longer name the same albums.
    void noterChangement(bool positions);
    void ajouterSerie(Serie* serie);
    // Takes the series record alone out of the series lists, noting where it stood.
    void retirerFiche(const QString& nom, SerieRetiree& retiree);
    void remettreFiche(const SerieRetiree& retiree);
    QList<Serie*>* listeDuGenre(int type);
    void prevenir(const BD& album) const;
    ValeursAlbum partager(const ValeursAlbum& valeurs);
    BD* creer(const ValeursAlbum& partagees); // and attach

    QList<BD*> m_albums;
    QList<Serie*> m_series;
    QList<Serie*> m_seriesEuro;
    QList<Serie*> m_seriesComics;
    QList<Serie*> m_seriesManga;
    QHash<QString, Serie*> m_indexSeries;
    // Albums share their series' name with it (shared texts): the name's
    // buffer finds the series again without reading the name. Every series of
    // the index by the buffer of its own name (open addressing); rebuilt
    // whenever one leaves.
    std::vector<std::pair<const QChar*, Serie*>> m_seriesParTampon;
    qsizetype m_nbParTampon = 0;
    void indexerTampon(Serie* serie);
    void reindexerTampons();
    Serie* serieDuNom(const QString& nom);
    mutable Compteurs m_compteurs;
    mutable quint64 m_revisionCompteurs = 0; // the counts hold at this revision
    TextesPartages m_textes;
    mutable QList<SuiviAlbums*> m_suivis;
    quint64 m_revisionPositions = 0;
    quint64 m_revisionContenu = 0;
    quint64 m_revisionContenuHorsAjouts = 0;
};
