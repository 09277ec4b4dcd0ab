#pragma once

#include <QDateTime>
#include <QString>

class QByteArray;

// What a file was when this program last read or wrote it, so that a change
// made meanwhile by someone else (a synchronised folder, another program) is
// seen before the file is replaced.
struct EtatFichier
{
    QString chemin; // as cle() gives it; empty when nothing is recorded
    qint64 taille = 0;
    QDateTime modification;
    quint64 empreinte = 0;

    // The file at chemin as it is now, holding octets (just read or written).
    // Nothing is recorded for a missing file.
    static EtatFichier relever(const QString& chemin, const QByteArray& octets);
    // True when the file at chemin is the one recorded and is no longer as it
    // was: another size, time or content. A missing file, one that is not a
    // regular file any more, or one never recorded has not changed. The file
    // is read only when its size and time are unchanged.
    bool changeSur(const QString& chemin) const;
};
