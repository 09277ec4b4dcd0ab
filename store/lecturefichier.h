#pragma once

#include <QByteArray>
#include <QString>

class QFile;

// The one way the program reads a file: a regular file only (links
// followed), never one over the caller's cap, and the whole of it or a
// failure. A FIFO or a device is refused at once, without blocking. Reasons
// are French and short; the caller names the file.
namespace LectureFichier {

// Opens chemin read-only into fichier, whose size is then at most tailleMax.
// False, with the reason, for anything else (fichier stays closed).
bool ouvrir(const QString& chemin, qint64 tailleMax, QFile& fichier, QString* erreur);

// The whole file as it was when opened: a file read short, or one that grew
// meanwhile, is a failure.
bool lire(const QString& chemin, qint64 tailleMax, QByteArray* octets, QString* erreur);

// "12 Mo": sizes in messages, rounded up so that a file just over a cap
// never shows as the cap itself.
QString enMo(qint64 octets);

} // namespace LectureFichier
