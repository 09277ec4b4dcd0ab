#pragma once

#include "covers/sourcescouvertures.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QUrl>

class Catalogue;
struct ValeursAlbum;

// Albums as the national library's catalogue and Open Library describe them:
// the queries, the reading of their answers into album fields, and what the
// collection already holds. No widgets, no network.
namespace NoticesCatalogue {

using SourcesCouvertures::Source;

struct NoticeAlbum
{
    QString isbn; // thirteen digits when the record's number reads as an ISBN
    QString serie;
    int tome = 0;
    QString titre;
    QString scenariste; // several people: "Prénom Nom, Prénom Nom"
    QString dessinateur;
    QString coloriste;
    QString editeur;
    int annee = 0;
    QUrl couverture;
    Source source = Source::Bnf;
    bool possede = false; // same series and title as an album of the collection
};

// Tout: the words anywhere in the record (series, title, people).
enum class Critere { Isbn, Titre, Auteur, Tout };

// The catalogue gives at most this many records per answer.
inline constexpr int noticesParPage = 50;

// A search of the catalogue from record debut (1 for the first page).
QUrl urlBnf(const QUrl& base, Critere critere, const QString& texte, int debut = 1);

struct PageNotices
{
    bool valide = false; // false: not an answer of the service (cut off, garbled, refused)
    int total = 0; // records found, all pages together
    int suivant = 0; // where the next page starts, 0 after the last one
    QList<NoticeAlbum> notices;
};

// An answer to urlBnf(…, debut).
PageNotices lireSru(const QByteArray& xml, const QUrl& base, int debut = 1);

// By ISBN, or words of a title or an author.
QUrl urlOpenLibrary(const QUrl& base, Critere critere, const QString& texte);
PageNotices lireOpenLibrary(const QByteArray& json, const QUrl& baseCouvertures);

// "Blacksad, Tome 3", "Blacksad T03 : Âme rouge", "Naruto Vol. 3": the series
// before the mark, its number, and the title after it (the series again when
// nothing follows). Without a mark, the whole text is the title.
struct TitreLu
{
    QString serie;
    int tome = 0;
    QString titre;
};
TitreLu lireTitre(const QString& titre);

// The records to offer: the BnF's when it found any, else Open Library's.
QList<NoticeAlbum> fusionner(const QList<NoticeAlbum>& bnf, const QList<NoticeAlbum>& openLibrary);

// By volume, those without one last; by year among equals.
void trierParTome(QList<NoticeAlbum>& notices);

// The albums of a collection as records name them, built once: series and
// titles, and the volumes of each series, compared without case or accents.
class IndexPossedes
{
public:
    explicit IndexPossedes(const Catalogue& catalogue);
    // The albums appended to the catalogue from position depuis on.
    void completer(const Catalogue& catalogue, qsizetype depuis);

    bool possede(const QString& serie, const QString& titre) const;
    bool possedeTome(const QString& serie, int tome) const;
    void marquer(QList<NoticeAlbum>& notices) const;

    // How a series or a title is compared with the catalogue's: lower case,
    // accents dropped, single spaces, the typographic apostrophe as "'".
    static QString cleDeComparaison(const QString& texte);

private:
    QSet<QString> m_albums; // keys of "series\0title"
    QHash<QString, QSet<int>> m_tomes; // key of a series → volumes held
};

struct TomeParu
{
    int tome = 0;
    QString titre;
    int annee = 0;
};
// Volumes of a series found in the records that the collection lacks (neither
// that volume nor that title held), one per volume, ascending.
QList<TomeParu> tomesAbsents(
    const QList<NoticeAlbum>& notices, const QString& serie, const IndexPossedes& index);

// The entry form's values for a record; a record without series is a
// one-shot named after its title.
ValeursAlbum valeurs(const NoticeAlbum& notice, int type);

} // namespace NoticesCatalogue
