#pragma once

#include "model/catalogue.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

// Collections kept with GCstar (.gcs) or Tellico (.tc), read into what the
// entry form gives for each album, without touching the catalogue.
namespace AutresCatalogues {

struct AlbumImporte
{
    ValeursAlbum valeurs;
    QString isbn;
    QByteArray couverture; // Tellico: the picture itself
    QString fichierCouverture; // GCstar: the picture file, absolute; empty when missing
    QString emprunteur; // empty when not lent
    QString dateEmprunt; // "dd/MM/yyyy": the day of the reading, for a lent album

    bool aUneCouverture() const { return !couverture.isEmpty() || !fichierCouverture.isEmpty(); }
};

struct Lecture
{
    QString erreur; // why nothing was read; empty when the file was read
    QList<AlbumImporte> albums;
    int ignores = 0; // entries with neither series nor title
};

// The collection file itself and tellico.xml; one picture; all pictures.
inline constexpr qint64 tailleMaxFichier = qint64(256) << 20;
inline constexpr qint64 tailleMaxImage = qint64(32) << 20;
inline constexpr qint64 tailleMaxImages = qint64(1) << 30;

// type: the kind given to every album (TypeBD); aujourdhui: the date of the
// loans, which neither file keeps.
Lecture lireGcstar(const QString& chemin, int type, const QDate& aujourdhui);
Lecture lireTellico(const QString& chemin, int type, const QDate& aujourdhui);

// What adding the albums read would do. An album whose series and title are
// already an album's (exact case, the catalogue's duplicate rule), or an
// earlier one's of the same file, is skipped.
struct Apercu
{
    int albums = 0;
    int series = 0; // series the catalogue does not have yet
    int couvertures = 0;
    int dejaPresents = 0;
    QList<int> retenus; // positions, in the albums read, of those to add
};
Apercu apercu(const QList<AlbumImporte>& albums, const Catalogue& catalogue);

} // namespace AutresCatalogues
