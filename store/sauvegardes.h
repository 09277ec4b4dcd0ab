#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

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

// Copies collection into dossier (created when missing). Returns the
// backup's path, or an empty text with *erreur set.
QString sauvegarder(
    const QString& collection, const QString& dossier, const QDateTime& quand, QString* erreur);

// Removes the backups of collection beyond the newest garder. Returns the
// reasons of the removals that failed, empty when all went well.
QString elaguer(const QString& dossier, const QString& collection, int garder);

} // namespace Sauvegardes
