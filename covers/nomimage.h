#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class BD;
class Catalogue;

// Rules of the cover files and of the automatic cover search, kept apart from
// the widgets that use them.
namespace NomImage {

// Cover file name for a search text: spaces become "_", then anything that
// could leave the images directory or that file systems refuse ("/", "\",
// "..", control characters, <>:"|?*) becomes "_" too, and so does ";", the
// separator of the collection file; ".jpg" is appended. Overlong names are
// cut so that the file can be created.
QString nomFichier(const QString& recherche);

// Name under which a local picture is copied into the images directory: its
// own file name, with ";" and control characters made "_" so that the name
// stored in the collection file finds the file again.
QString nomCopie(const QString& nomLocal);

// Largest cover file read: a picture, not a disc image.
constexpr qint64 tailleMaxCouverture = qint64(64) << 20;

// The bytes of a cover file. Only a regular file of at most
// tailleMaxCouverture is read; anything else (a device, a FIFO, a folder, a
// missing file) gives nothing, at once, and *erreur the reason.
QByteArray octetsCouverture(const QString& chemin, QString* erreur = nullptr);

// Stores a picture in the images folder under nomVoulu, or, when a different
// picture already holds that name, under the first free "-2", "-3" … name;
// the same picture again keeps its name. Returns the name used, or an empty
// text with *erreur set when it could not be written.
QString stockerCouverture(const QString& dossierImages, const QString& nomVoulu,
    const QByteArray& octets, QString* erreur);

// The search text proposed for an album in the automatic search:
// "<series> Tome <volume>".
QString rechercheAlbum(const BD* album);

// A search text read back: the series name is everything before the first
// word "Tome", the volume text the word right after it (empty when missing).
// Runs of spaces are kept, so series names with double spaces survive.
struct RechercheLue
{
    QString serie;
    QString tome;
};
RechercheLue lireRecherche(const QString& recherche);

// The album a search text read back designates: among the albums of that
// series, in catalogue order, the first with that volume (the volume text
// read as a base-10 number, 0 when it is not one), or the first of the
// series when no volume is given. nullptr when none qualifies.
BD* albumDeRecherche(const Catalogue& catalogue, const RechercheLue& lue);

// Position of the first album from depuis on whose cover is still missing
// (an "_" cover counts as a chosen "none" and is skipped), or -1.
int prochainAlbumSansImage(const QList<BD*>& albums, int depuis);

} // namespace NomImage
