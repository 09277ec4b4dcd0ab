#pragma once

#include "store/avancement.h"
#include "store/fichiercollection.h"

#include <QString>

class Catalogue;
class QIODevice;
class QTextCodec;

// What the conversion of a ".db" file came to.
struct ConversionAncienne
{
    bool lu = false; // the legacy file was read whole
    bool cree = false; // the converted file was created
    bool ecrit = false; // and written whole; when created but not, it is removed
    int lignesConverties = 0;
    int ligneInvalide = 0; // number, from 1, of the line that stopped it; 0 when none
    QString erreur; // why it was not read, or not written
};

namespace Importation {

// The converted file of a ".db" file: beside it, named after it without its
// last two characters followed by "csv" (bd.db gives bd.csv). When that would
// be aProteger (the collection file), "converti.csv" ends the name instead, so
// that a conversion never overwrites the catalogue on disk.
QString nomConverti(const QString& ancien, const QString& aProteger = QString());
// nomConverti(), or, when a file already has that name, the first free
// "-2", "-3" … beside it: a conversion never replaces a file. Empty when none.
QString nomConvertiLibre(const QString& ancien, const QString& aProteger = QString());

// Largest legacy file read, as for a collection file: it is read whole,
// then converted line by line.
constexpr qint64 tailleMaxAncien = FichierCollection::tailleMax;

// Converts the legacy file line by line into cible (a new file), through codec.
// Stops at the first line that does not parse; the lines before it stay. A
// legacy file that cannot be read whole creates nothing; a converted file
// that cannot be written whole is removed. avancement hears the bytes of the
// legacy file converted so far.
ConversionAncienne convertirFichier(const QString& ancien, const QString& cible, QTextCodec* codec,
    const Avancement& avancement = {});

// The same from the legacy bytes into cible (nullptr: lines are only checked).
// Stops at the first write that fails, with its reason in erreur.
ConversionAncienne convertirOctets(const QByteArray& ancien, QIODevice* cible, QTextCodec* codec,
    const Avancement& avancement = {});

// Copies the readable regular files of source into destination, leaving the
// files already there alone. Returns the number of files copied; avancement
// hears the files looked at so far.
int copierImages(
    const QString& source, const QString& destination, const Avancement& avancement = {});

// Attaches the albums of a collection-format file (read-only, decoded with
// codec) to the catalogue, stopping at the first line of neither 19 nor 20
// fields. A file that cannot be read whole adds nothing and is Illisible; so is
// a file holding bytes invalid in codec (sequencesInvalides and
// ligneSequenceInvalide say where), before anything is added. avancement
// hears the characters read so far.
LectureCollection importer(const QString& chemin, QTextCodec* codec, Catalogue& catalogue,
    const Avancement& avancement = {});

} // namespace Importation
