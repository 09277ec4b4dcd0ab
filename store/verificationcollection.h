#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;
class QTextCodec;

// What the file checker found in a collection file. Unlike the start-up load
// it reads every line, whatever the ones before it held.
struct RapportVerification
{
    struct Probleme
    {
        enum Genre {
            NombreDeChamps,
            OctetsInvalides,
            NombreInvalide,
            Doublon,
            CouvertureAbsente,
            LigneTropLongue
        };
        Genre genre;
        int ligne; // from 1
        QString texte; // French, without the line number
    };

    bool lisible = true;
    QString erreur; // why the file could not be read
    int lignes = 0;
    int albums = 0; // lines of 19 or 20 fields
    qint64 problemes = 0; // all of them, told or only counted
};

namespace VerificationCollection {

// Problems told one by one; those after these are only counted, so that a
// file of garbage costs neither memory nor a flood of output.
constexpr qint64 problemesDetailles = 1000;
// Longer lines are one problem, not read: a line of a real catalogue is a
// few hundred bytes.
constexpr qsizetype octetsLigneMax = qsizetype(1) << 20;

// Hears each problem as it is found, by line, in the order found on each line.
using Signalement = std::function<void(const RapportVerification::Probleme&)>;

// Checks a collection file read from source in slices, its bytes decoded with
// codec (a byte-order mark chooses, as on loading). Cover paths are taken in
// dossierTravail. Memory stays bounded whatever the source holds, but for
// the albums' series and titles, kept to find duplicates.
RapportVerification verifier(QIODevice& source, QTextCodec* codec, const QString& dossierTravail,
    const Signalement& signaler);

RapportVerification verifierOctets(const QByteArray& octets, QTextCodec* codec,
    const QString& dossierTravail, const Signalement& signaler);

// The same on a file, opened as the start-up load opens it: a folder, a
// device, a FIFO or a file the load would refuse gives a report that is not
// lisible, at once.
RapportVerification verifierFichier(const QString& chemin, QTextCodec* codec,
    const QString& dossierTravail, const Signalement& signaler);

// The line printed for a problem.
QString texte(const RapportVerification::Probleme& probleme);
// The last line printed: a summary naming fichier, or why it was not read.
QString bilan(const RapportVerification& rapport, const QString& fichier);

// 0 clean, 1 problems, 2 unreadable.
int codeSortie(const RapportVerification& rapport);

} // namespace VerificationCollection
