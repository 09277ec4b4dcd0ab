#pragma once

#include "store/avancement.h"

#include <QByteArray>
#include <QList>
#include <QString>

class BD;
class QDateTime;
class QIODevice;
class QTextCodec;

// The catalogue's lines as bytes, ready for the collection file.
struct OctetsCollection
{
    QByteArray octets;
    // Index in the list of the first album holding a character the codec
    // cannot write (it was replaced in octets), or -1.
    int premierAlbumIntraduisible = -1;
};

// Writing collection files: the whole file is rewritten each time, and never
// in place, so a failure leaves the previous file as it was.
namespace EcritureCollection {

// One line per album, in order, each ending with a single line feed, encoded
// with codec (the locale's when nullptr), without a byte-order mark.
// avancement hears the albums encoded so far.
OctetsCollection encoder(
    const QList<BD*>& albums, QTextCodec* codec, const Avancement& avancement = {});

// Writes every byte to an open device. Returns the reason of a failure,
// empty on success. avancement hears the bytes written so far.
QString ecrire(QIODevice& appareil, const QByteArray& octets, const Avancement& avancement = {});

// The file that writing to chemin replaces: the end of its chain of symbolic
// links. Empty, with *erreur naming it, when that is there and is not a
// regular file (a device, a pipe, a socket, a folder).
QString cibleRemplacable(const QString& chemin, QString* erreur);

// Replaces the file cibleRemplacable() gives, or creates it: octets are
// written to a new file of ours beside it, flushed to the disk, then renamed
// over it; its permissions are kept. Returns the reason of a failure (the
// file is then untouched and our file gone), empty on success.
QString enregistrer(
    const QString& chemin, const QByteArray& octets, const Avancement& avancement = {});

// Copies the bytes of source to a new file copie (never replaced). Returns
// false with *erreur set when it fails.
bool copier(const QString& source, const QString& copie, QString* erreur);

// Where a copy of chemin made at that time goes:
// "<chemin>.yyyy-MM-dd-HHmm.bak", or "...-2.bak", "-3" ... when taken; empty
// when none is free.
QString nomCopie(const QString& chemin, const QDateTime& quand);

// Copies the file beside itself under nomCopie(). Returns the copy's path,
// or an empty text with *erreur set.
QString garderCopie(const QString& chemin, const QDateTime& quand, QString* erreur);

// The file a name typed in a save dialog means: with ".csv" added when its
// last component has no extension (no dot after its first character).
QString avecExtensionCsv(const QString& chemin);

// The name to store in the settings for a chosen file: relative to the
// working directory when the file is inside it, absolute otherwise.
QString nomDansParametres(const QString& chemin);

} // namespace EcritureCollection
