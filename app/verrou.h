#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// The lock of a working folder: two copies saving on one folder lose each
// other's changes. The file is QLockFile's (process, application and host,
// one a line), but what is found there is judged before it is trusted: a
// damaged lock must not block the folder for ever.
namespace Verrou {

struct Prise
{
    enum Issue {
        Pris, // ours; texte tells a damaged lock that was replaced, if any
        Occupe, // a copy running on this computer holds it; texte says so
        AutreOrdinateur, // held from the computer hote: only the user can tell it is stale
        LectureSeule, // cannot be taken: nothing may be written, texte says why
    };
    Issue issue = LectureSeule;
    QString texte;
    qint64 pid = 0;
    QString hote;
    std::unique_ptr<QLockFile> verrou; // held while the Prise lives
};

// Takes the lock at chemin. A lock that names no live process of this
// computer is stale and taken over; one that cannot be a lock (empty,
// unreadable, not a process and a host, a link, an empty folder, a pipe) is
// removed and replaced. dossier is the working folder it locks.
Prise prendre(const QString& chemin, const QString& dossier);

// Removes another computer's lock and takes the folder.
Prise forcer(const QString& chemin, const QString& dossier);

// The question before forcer(), through Boites: true to open all the same.
bool confirmerForcage(const Prise& prise, const QString& dossier);

} // namespace Verrou
