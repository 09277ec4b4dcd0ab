#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

class Catalogue;
class QTextCodec;

// What a reading of a collection file came to.
struct LectureCollection
{
    enum Etat {
        Complete,      // every line read (a missing file is created empty)
        LigneInvalide, // stopped at a line that has neither 19 nor 20 fields
        Illisible      // the file exists but could not be read
    };
    Etat etat = Complete;
    QString ligneFautive; // text of the offending line
    int nbChamps = 0;     // number of fields of that line
    int numeroLigne = 0;  // its number, from 1
    int albumsLus = 0;
    QString erreur;       // system's reason when unreadable
};

namespace FichierCollection {

// The file "BASE/FileName" names: relative names are taken in the working
// directory, absolute ones as they are.
QString chemin(const QString& nomFichier);

// Text of the file's bytes. A Unicode byte-order mark chooses the encoding;
// otherwise codec, or the locale's codec when codec is nullptr.
QString decoder(const QByteArray& octets, QTextCodec* codec);

// Attaches one album per line to the catalogue, in order; lines end with LF
// or CRLF. Stops at the first line that has neither 19 nor 20 fields.
LectureCollection lireTexte(QStringView texte, Catalogue& catalogue);

// Reads the file read-only; a missing file is created empty.
LectureCollection charger(const QString& chemin, QTextCodec* codec, Catalogue& catalogue);

// The load's message for a bad line.
QString messageLigneInvalide(const LectureCollection& lecture);

} // namespace FichierCollection
