#pragma once

#include <QString>

// Book numbers typed or scanned in a search field: ISBN-10, ISBN-13 and the
// EAN-13 barcode (the ISBN-13 itself for a book).
namespace Isbn {

enum class Nature {
    Texte, // words to search, not a number
    Isbn13, // a book number, check digit right
    CleFausse, // ten or thirteen digits whose check digit is wrong
    LongueurFausse, // a number that is neither ten nor thirteen digits long
    PasUnLivre // a right EAN-13 that is not a book's (no 978 or 979)
};

struct Lecture
{
    Nature nature = Nature::Texte;
    QString isbn13; // the thirteen digits when nature is Isbn13
    QChar cleAttendue; // what the check digit should be, for CleFausse
};

// Hyphens and spaces are allowed, and so is a leading "ISBN"; an ISBN-10
// (its check digit possibly "X") is given as its ISBN-13.
Lecture lire(const QString& saisie);

// The check digit of the first 12 digits of an EAN-13.
QChar cle13(QStringView douzeChiffres);

// What the search field says about a number it will not send; empty for
// free text and a right ISBN.
QString texteErreur(const Lecture& lecture);

} // namespace Isbn
