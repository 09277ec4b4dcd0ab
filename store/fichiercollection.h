#pragma once

#include "store/avancement.h"
#include "store/etatfichier.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

class Catalogue;
class Chemins;
class QTextCodec;

// What a reading of a collection file came to.
struct LectureCollection
{
    enum Etat {
        Complete, // every line read (a missing file is created empty)
        LigneInvalide, // stopped at a line that has neither 19 nor 20 fields
        Illisible // the file exists but could not be read
    };
    Etat etat = Complete;
    QString ligneFautive; // text of the offending line, cut after 2,000 characters with "…"
    int nbChamps = 0; // number of fields of that line
    int numeroLigne = 0; // its number, from 1
    int albumsLus = 0;
    QString erreur; // system's reason when unreadable
    // Byte sequences the encoding could not decode (read as U+FFFD), the
    // first line holding one, and an offered encoding that reads the file
    // without any (empty when none does).
    int sequencesInvalides = 0;
    int ligneSequenceInvalide = 0;
    QString encodageSansErreur;
    // Valid UTF-8 holding accents, read in a single-byte encoding: saved so,
    // every accent would be encoded twice (encodageSansErreur names UTF-8).
    bool utf8EnMonoOctet = false;
    EtatFichier fichier; // the file read, by charger()
};

namespace FichierCollection {

// Largest collection file read: far beyond any real catalogue (about a
// million albums), well within memory once decoded. Larger files are not read.
constexpr qint64 tailleMax = qint64(256) << 20;
// Longest part of a bad line shown in the load's message.
constexpr int longueurLigneMontree = 2000;

// The file "BASE/FileName" names: relative names are taken in the working
// folder, absolute ones as they are.
QString chemin(const Chemins& chemins, const QString& nomFichier);

// Text of the file's bytes. A Unicode byte-order mark chooses the encoding;
// otherwise codec, or the locale's codec when codec is nullptr.
QString decoder(const QByteArray& octets, QTextCodec* codec);

// Attaches one album per line to the catalogue, in order; lines end with LF
// or CRLF. Stops at the first line that has neither 19 nor 20 fields.
// avancement hears the characters read so far.
LectureCollection lireTexte(
    QStringView texte, Catalogue& catalogue, const Avancement& avancement = {});

// Reads the file through LectureFichier, at most tailleMax bytes: anything
// not read whole (a directory, a dangling link, a device, a FIFO, a file over
// tailleMax, a short read) is Illisible. When the bytes hold invalid
// sequences, or are UTF-8 read in a single-byte encoding, the likeliest of
// encodagesProposes that decodes them without any is named. In UTF-8 and the
// single-byte encodings, avancement hears the bytes read so far.
LectureCollection lire(const QString& chemin, QTextCodec* codec, Catalogue& catalogue,
    const QStringList& encodagesProposes = {}, const Avancement& avancement = {});

// lire(), after creating a missing file empty.
LectureCollection charger(const QString& chemin, QTextCodec* codec, Catalogue& catalogue,
    const QStringList& encodagesProposes = {}, const Avancement& avancement = {});

// The load's message for a bad line.
QString messageLigneInvalide(const LectureCollection& lecture);

} // namespace FichierCollection
