#pragma once

#include "model/bd.h"

#include <QString>
#include <QStringView>

#include <iterator>

class TextesPartages;

// One album per line, 20 fields separated by ";" (19 in older files, without
// the colourist). No quoting: a ";" cannot be stored in a text.
namespace LigneCollection {

constexpr int nbChamps = 20;
// A line holds an album when it has 20 fields, or 19 (without the colourist).
constexpr bool nombreDeChampsValide(qsizetype nombre)
{
    return nombre == nbChamps || nombre == nbChamps - 1;
}

// The line of an album, without its final line feed: integers in decimal,
// the real number in 'g' format, texte15 as "_" when empty, every line feed
// turned into a space. A ";" that has reached a text is written as "," so the
// file always reads back.
QString encoder(const BD& album);
// The same line appended to sortie, for writing many lines without a string each.
void ajouter(const BD& album, QString& sortie);

// A new album from a line of 19 or 20 fields (the line terminator already
// removed), or nullptr. nbParties receives the number of fields found. With
// textes, the texts that repeat from album to album are shared through it.
BD* decoder(QStringView ligne, int* nbParties = nullptr, TextesPartages* textes = nullptr);

// The fields of one line, as views into it.
struct Parties
{
    QStringView champs[nbChamps];
    int nombre = 0; // found, also beyond nbChamps
    bool valides() const { return nombreDeChampsValide(nombre); }
};
Parties decouper(QStringView ligne);

// The fields whose texts repeat from album to album (series, artists,
// publishers...): their column in the line and their member.
struct ChampPartage
{
    int colonne;
    QString ChampsAlbum::*membre;
};
inline constexpr ChampPartage champsPartages[] = { { 0, &ChampsAlbum::serie },
    { 3, &ChampsAlbum::dessinateur }, { 4, &ChampsAlbum::scenariste }, { 5, &ChampsAlbum::editeur },
    { 8, &ChampsAlbum::genre }, { 10, &ChampsAlbum::emprunteur }, { 11, &ChampsAlbum::dateEmprunt },
    { 14, &ChampsAlbum::texte15 }, { 18, &ChampsAlbum::texte19 }, { 19, &ChampsAlbum::coloriste } };
constexpr int nbChampsPartages = int(std::size(champsPartages));

// Every field of valid parties but the shared ones: numbers, and the texts
// an album holds alone (title, comment, cover).
void remplirPropres(const Parties& parties, ChampsAlbum& champs);

// True when one of the album's texts holds a ";".
bool contientSeparateur(const BD& album);

} // namespace LigneCollection
