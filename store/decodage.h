#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class QTextCodec;

// Text of a file's bytes, with what the codec could not decode.
struct TexteDecode
{
    QString texte;
    QTextCodec* codec = nullptr; // the codec used, after byte-order-mark detection
    // Sequences the codec could not decode (each reads as U+FFFD), a cut
    // sequence at the end included; also 1 when the text shows that the
    // bytes are not in this encoding at all (see decoder()).
    int sequencesInvalides = 0;
    // Numbers, from 1, of the lines holding such sequences, in order; at
    // most the number asked for.
    QList<int> lignesInvalides;
};

namespace Decodage {

// Codecs whose line feed and ";" are the single bytes 0x0A and 0x3B, so that
// lines can be cut in the bytes themselves.
bool compatibleAscii(QTextCodec* codec);

// UTF-8 and the single-byte encodings: a line decoded alone reads as it does
// within the file, so that a file cut after its line feeds can be decoded
// piece by piece.
bool decoupable(QTextCodec* codec);

// The codec decoder() uses for octets: codec (the locale's when nullptr)
// unless a byte-order mark says otherwise; see decoder().
QTextCodec* codecDe(const QByteArray& octets, QTextCodec* codec, bool detecterBom = true);

// Sequences codec cannot decode in octets (a cut one at the end included).
// Past the start of a file (debutFichier false), a byte-order mark is a
// character like any other.
int invalides(QTextCodec* codec, const char* octets, qsizetype taille, QString* texte,
    bool debutFichier = true);

// Number, from 1, of the first line of octets holding a sequence codec cannot
// decode; the number of lines when none does alone.
int premiereLigneInvalide(QTextCodec* codec, const char* octets, qsizetype taille);

// Decodes octets with codec (the locale's when nullptr); a Unicode
// byte-order mark chooses the encoding, as on reading. Lines are counted at
// each line feed. "UTF-16" without a mark takes the byte order the bytes
// show (DetectionEncodage::utf16SansMarque). A text without any ";" from
// bytes that hold some (a UTF-8 file read as UTF-16) counts as one invalid
// sequence on line 1.
// detecterBom false decodes with codec whatever the first bytes are.
TexteDecode decoder(
    const QByteArray& octets, QTextCodec* codec, int lignesVoulues = 1, bool detecterBom = true);

// The encoding of these, other than exclu, that octets are most likely in
// and that decodes them without an invalid sequence; empty when none does
// (see DetectionEncodage::suggerer).
QString encodageSansErreur(
    const QByteArray& octets, const QStringList& encodages, const QString& exclu);

} // namespace Decodage
