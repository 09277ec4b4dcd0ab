#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class QTextCodec;

// Dated backups of a collection file: "<name>-yyyy-MM-dd-HHmmss.csv" in a
// folder of their own, the bytes of the file as they were on disk.
namespace Sauvegardes {

struct Sauvegarde
{
    QString chemin;
    QDateTime quand;
    int nbAlbums = 0; // -1: unknown, the file cannot be read (too large, say)
};

// The backup of collection made at quand; "-2", "-3" ... before ".csv" when
// that name is taken.
QString nom(const QString& dossier, const QString& collection, const QDateTime& quand);

// The backups of collection found in dossier, newest first, with their
// album counts (lines, read with codec unless a byte-order mark says otherwise).
// Only regular files count as backups.
QList<Sauvegarde> lister(const QString& dossier, const QString& collection, QTextCodec* codec);

// Backups dated after this are someone else's doing or a clock set wrong:
// they are never removed, and count for nothing.
QDateTime limiteAvenir(const QDateTime& maintenant);

// Copies collection into dossier (created when missing), unless the newest
// backup not in the future already holds the same bytes. Returns the new
// backup's path; empty with *erreur empty when none was needed, with *erreur
// set when it failed.
QString sauvegarder(
    const QString& collection, const QString& dossier, const QDateTime& quand, QString* erreur);

struct Elagage
{
    QString echecs; // the reasons of the removals that failed
    QStringList enAvance; // backups left alone, dated after limiteAvenir()
};

// Keeps the newest garder backups of collection dated up to
// limiteAvenir(maintenant), nouvelle (the one just made) always among them,
// and removes the others of those.
Elagage elaguer(const QString& dossier, const QString& collection, int garder,
    const QString& nouvelle, const QDateTime& maintenant);

} // namespace Sauvegardes
