#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class QTextCodec;

// An album of the older ".db" files: one line, 19 fields in the order of the
// first 19 columns of the collection file, texts between double quotes,
// numbers bare, separated by white space or by nothing at all.
struct AlbumAncien
{
    QByteArray serie;
    QByteArray titre;
    int tome = 0;
    QByteArray dessinateur;
    QByteArray scenariste;
    QByteArray editeur;
    QByteArray commentaire;
    int entier8 = 0;
    QByteArray genre;
    QByteArray image;
    QByteArray emprunteur;
    QByteArray dateEmprunt;
    double reel13 = 0;
    int type = 0;
    QByteArray texte15;
    int note = 0;
    int serieFinie = 0;
    int nbEmprunts = 0;
    QByteArray texte19;
};

namespace LigneAncienne {

constexpr int nbChamps = 19;

// Reads the 19 fields at the start of ligne; whatever follows the last one is
// ignored. The line must start with the opening quote of its first field.
// A text is one or more bytes other than '"', of any length. Integers take
// their base from their prefix (0x hexadecimal, 0 octal) and are clamped to
// the int range; the real number is decimal, with an optional exponent.
// False when a field is missing or malformed (an empty text included).
bool analyser(QByteArrayView ligne, AlbumAncien& album);

// The collection-file line of the album (19 fields joined by ";", texts
// decoded with codec, every backslash turned into a slash), ending with a
// line feed. A ";" in a text is left as it is and the line always has more
// than 20 fields then, so that the import rejects it.
QString ligneConvertie(const AlbumAncien& album, QTextCodec* codec);

// One line read from a ".db" file (its terminator may still be there) to the
// bytes of its converted line, through codec both ways. Empty and *valide
// false when the line does not parse.
QByteArray convertir(QByteArrayView ligne, QTextCodec* codec, bool* valide);

} // namespace LigneAncienne
