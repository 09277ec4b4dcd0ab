#pragma once

#include <QByteArray>
#include <QHash>
#include <QJsonArray>
#include <QList>
#include <QSet>
#include <QString>
#include <QUrl>

#include <optional>

// The keyless cover sources (the national library's catalogue and Open
// Library): their queries, the reading of their answers, the ranking of what
// they found against the album, and the pacing of requests. No widgets.
namespace SourcesCouvertures {

enum class Source { Signe, Bnf, OpenLibrary, Auto };

// "signe", "bnf", "openlibrary", "auto"; anything else (an absent key
// included) is the signed service.
Source lireSource(const QString& texte);
QString texteSource(Source source);
// The keyless sources to ask, in order (empty for the signed service).
QList<Source> sourcesInterrogees(Source source);
QString nomSource(Source source); // as told to the user

// What is known of the album a cover is searched for. Without an album (a
// search typed from the menu) only the text counts.
struct AlbumCherche
{
    QString recherche;
    QString serie;
    QString titre;
    int tome = 0;
};

// The words sent to a service: the search text, the album's title added
// when the text lacks it, without the "Tome N" of the automatic search
// (records never spell it that way; the volume is matched when ranking).
QString texteInterrogation(const AlbumCherche& album);

// One record found, reduced to what the ranking and the download need.
struct Notice
{
    QString titre; // 200$a (and $i), or Open Library's title
    QString serie; // 225$a
    QString volume; // 225$v or 200$h
    QUrl couverture;
};

struct Lecture
{
    bool valide = false; // false: not an answer of the service (cut off, garbled)
    QList<Notice> notices; // records that may have a cover
};

// base's path followed by chemin, and a query whose every value is fully
// percent-encoded.
QUrl sousChemin(QUrl base, const QString& chemin);
QUrl avecRequete(QUrl url, const QList<QPair<QString, QString>>& items);

QUrl urlRechercheBnf(const QUrl& base, const QString& texte);
QUrl urlCouvertureBnf(const QUrl& base, const QString& ark);
Lecture lireReponseSru(const QByteArray& xml, const QUrl& base);

QUrl urlRechercheOpenLibrary(const QUrl& base, const QString& texte);
QUrl urlCouvertureOpenLibrary(const QUrl& baseCouvertures, qint64 idCouverture);
// Documents without "cover_i" have no cover to offer and are left out.
// The "docs" of an Open Library search answer and its "numFound" (the size
// of docs when absent); nothing when the answer is not such an object.
struct DocumentsOpenLibrary
{
    QJsonArray documents;
    int total = 0;
};
std::optional<DocumentsOpenLibrary> lireDocumentsOpenLibrary(const QByteArray& json);
Lecture lireReponseOpenLibrary(const QByteArray& json, const QUrl& baseCouvertures);

// Lower case, accents and punctuation gone, single spaces.
QString motsMinusculesSansAccents(const QString& texte);
// How well a record matches the album: series, title, volume.
int score(const Notice& notice, const AlbumCherche& album);
// Cover addresses, best match first (the service's order among equals).
QList<QUrl> classer(const QList<Notice>& notices, const AlbumCherche& album);

enum class Image { Couverture, ImageParDefaut, Illisible };
// The catalogue answers a record without a cover with the same small picture
// (about 4.5 kB); real covers are larger.
inline constexpr int tailleMaxImageParDefaut = 6 * 1024;
Image examinerImage(const QByteArray& octets, bool sourceAvecImageParDefaut);

// At most one request per interval to each host, one at a time, counted
// from the end of the previous exchange so that no two arrive closer, even
// when the first one was slow to reach its host.
class Cadence
{
public:
    static constexpr qint64 intervalle = 1000; // ms

    // Tests that send many requests to one loopback host shorten it.
    void setIntervalle(qint64 ms) { m_intervalle = ms; }
    // Milliseconds to wait before sending to that host now (0: go; -1: an
    // exchange with it is under way).
    qint64 attente(const QString& hote, qint64 maintenant) const;
    void envoye(const QString& hote);
    void termine(const QString& hote, qint64 maintenant);

private:
    qint64 m_intervalle = intervalle;
    QSet<QString> m_enCours;
    QHash<QString, qint64> m_dernierFin;
};

} // namespace SourcesCouvertures
