#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class QTextCodec;

// What the file checker found in a collection file. Unlike the start-up load
// it reads every line, whatever the ones before it held.
struct RapportVerification
{
    struct Probleme
    {
        enum Genre { NombreDeChamps, OctetsInvalides, NombreInvalide, Doublon, CouvertureAbsente };
        Genre genre;
        int ligne; // from 1
        QString texte; // French, without the line number
    };

    bool lisible = true;
    QString erreur; // why the file could not be read
    int lignes = 0;
    int albums = 0; // lines of 19 or 20 fields
    QList<Probleme> problemes; // by line, in the order found on each line
};

namespace VerificationCollection {

// Checks a collection file's bytes decoded with codec (a byte-order mark
// chooses, as on loading). Cover paths are taken in dossierTravail.
RapportVerification verifierOctets(
    const QByteArray& octets, QTextCodec* codec, const QString& dossierTravail);

// The same on a file, read as the start-up load reads it; a file that cannot
// be read whole gives a report that is not lisible.
RapportVerification verifierFichier(
    const QString& chemin, QTextCodec* codec, const QString& dossierTravail);

// The lines to print: one per problem, then a summary naming fichier.
QStringList texte(const RapportVerification& rapport, const QString& fichier);

// 0 clean, 1 problems, 2 unreadable.
int codeSortie(const RapportVerification& rapport);

} // namespace VerificationCollection
