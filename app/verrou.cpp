#include "app/verrou.h"

#include "dialogs/boites.h"
#include "model/traduction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStorageInfo>
#include <QSysInfo>
#include <QThread>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace Verrou {

using Traduction::tr;

namespace {

QString natif(const QString& chemin)
{
    return QDir::toNativeSeparators(QDir::cleanPath(chemin));
}

// Far more than QLockFile writes.
constexpr qint64 tailleMax = 4096;

struct Examen
{
    QString defaut; // why it cannot be a lock; empty when it may be one, or nothing is there
    bool dossier = false;
    bool plein = false; // a folder with something in it, which is not ours to remove
};

// Never opens anything but a regular file: a pipe would block the start.
Examen examiner(const QString& chemin)
{
    const QFileInfo info(chemin);
    if (info.isSymLink())
        return { info.exists() ? tr("lien symbolique") : tr("lien vers un fichier absent") };
    if (!info.exists())
        return {};
    if (info.isDir())
        return { tr("dossier vide"), true,
            !QDir(chemin).isEmpty(
                QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System) };
    if (!info.isFile())
        return { tr("fichier spécial") };
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly))
        return { tr("illisible : %1").arg(fichier.errorString()) };
    const QByteArray octets = fichier.read(tailleMax + 1);
    if (octets.isEmpty())
        return { tr("vide") };
    // A process, an application and a host line, which QLockFile reads empty as this computer.
    const QList<QByteArray> lignes = octets.split('\n');
    bool nombre = false;
    if (octets.size() > tailleMax || lignes.size() < 3 || lignes.first().toLongLong(&nombre) <= 0
        || !nombre)
        return { tr("contenu invalide") };
    return {};
}

enum class Retrait { Fait, Tenu, Impossible };

Retrait retirer(const QString& chemin, bool dossier)
{
    if (dossier)
        return QDir().rmdir(chemin) ? Retrait::Fait : Retrait::Impossible;
#ifdef Q_OS_UNIX
    // QLockFile holds its file before it writes it: an empty file somebody
    // holds is the lock of a copy starting right now.
    const QFileInfo info(chemin);
    const int fd = info.isFile() && !info.isSymLink()
        ? ::open(QFile::encodeName(chemin).constData(), O_RDONLY | O_CLOEXEC)
        : -1;
    if (fd >= 0) {
        const bool libre = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        const bool retire = libre && QFile::remove(chemin);
        ::close(fd);
        return retire ? Retrait::Fait : libre ? Retrait::Impossible : Retrait::Tenu;
    }
#endif
    return QFile::remove(chemin) ? Retrait::Fait : Retrait::Impossible;
}

// Why nothing can be created where chemin is, in the user's words.
QString raisonLectureSeule(const QString& chemin)
{
    QFileInfo dossier(QFileInfo(chemin).absolutePath());
    while (!dossier.isDir() && !dossier.isRoot())
        dossier.setFile(dossier.absolutePath());
    const QStorageInfo disque(dossier.absoluteFilePath());
    if (disque.isReadOnly())
        return tr("le disque est monté en lecture seule");
    if (disque.isValid() && disque.bytesAvailable() == 0)
        return tr("le disque est plein");
    if (!dossier.isWritable())
        return tr("vous n'avez pas le droit d'écrire dans %1")
            .arg(natif(dossier.absoluteFilePath()));
    return tr("le verrou %1 n'a pas pu être créé").arg(natif(chemin));
}

Prise lectureSeule(const QString& raison)
{
    Prise prise;
    prise.texte = raison;
    return prise;
}

} // namespace

Prise prendre(const QString& chemin, const QString& dossier)
{
    QString remplace;
    bool illisible = false; // by QLockFile, on the last look
    for (int essai = 0; essai < 5; ++essai) {
        Examen examen = examiner(chemin);
        if (illisible && examen.defaut.isEmpty() && QFileInfo::exists(chemin))
            examen.defaut = tr("contenu invalide");
        if (examen.plein)
            return lectureSeule(tr("%1 est un dossier qui n'est pas vide, à la place du verrou de "
                                   "Phylacto ; déplacez-le puis relancez Phylacto")
                                    .arg(natif(chemin)));
        if (!examen.defaut.isEmpty()) {
            const Retrait retrait = retirer(chemin, examen.dossier);
            if (retrait == Retrait::Impossible)
                return lectureSeule(tr("le verrou %1 est endommagé (%2) et n'a pas pu être retiré")
                                        .arg(natif(chemin), examen.defaut));
            if (retrait == Retrait::Tenu) {
                QThread::msleep(100);
                continue;
            }
            remplace = examen.defaut;
        }

        auto verrou = std::make_unique<QLockFile>(chemin);
        // Never stale by age: a long session keeps its folder. A copy that
        // died is recognised by its process being gone.
        verrou->setStaleLockTime(0);
        if (verrou->tryLock(0)) {
            Prise prise;
            prise.issue = Prise::Pris;
            if (!remplace.isEmpty())
                prise.texte = tr("Le verrou %1 était endommagé (%2) : il a été remplacé.")
                                  .arg(natif(chemin), remplace);
            prise.verrou = std::move(verrou);
            return prise;
        }
        if (verrou->error() != QLockFile::LockFailedError)
            return lectureSeule(raisonLectureSeule(chemin));
        Prise prise;
        QString application;
        illisible = !verrou->getLockInfo(&prise.pid, &prise.hote, &application);
        if (illisible)
            continue; // replaced meanwhile, or damaged in a way only QLockFile sees
        if (prise.hote.isEmpty() || prise.hote == QSysInfo::machineHostName()) {
            prise.issue = Prise::Occupe;
            prise.texte
                = tr("Un autre Phylacto (processus %1 sur %2) utilise déjà le dossier %3. "
                     "Fermez-le, ou démarrez celui-ci sur un autre dossier.")
                      .arg(QString::number(prise.pid), prise.hote, natif(dossier));
        } else {
            prise.issue = Prise::AutreOrdinateur;
        }
        return prise;
    }
    Prise prise;
    prise.issue = Prise::Occupe;
    prise.texte = tr("Un autre Phylacto est en train de prendre le verrou %1 : réessayez.")
                      .arg(natif(chemin));
    return prise;
}

Prise forcer(const QString& chemin, const QString& dossier)
{
    if (!QFile::remove(chemin) && QFileInfo::exists(chemin))
        return lectureSeule(tr("le verrou %1 n'a pas pu être retiré").arg(natif(chemin)));
    return prendre(chemin, dossier);
}

bool confirmerForcage(const Prise& prise, const QString& dossier)
{
    Boites::Boite question;
    question.icone = QMessageBox::Warning;
    question.titre = QStringLiteral("Phylacto");
    question.texte = tr("Le dossier %1 est utilisé par Phylacto (processus %2) sur l'ordinateur "
                        "« %3 ».")
                         .arg(natif(dossier), QString::number(prise.pid), prise.hote);
    question.texteInformatif
        = tr("D'ici, impossible de savoir si ce Phylacto tourne encore. S'il tourne, deux copies "
             "enregistrent dans le même dossier et chacune efface les modifications de l'autre. "
             "N'ouvrez quand même que si Phylacto est fermé sur « %1 » (par exemple après un "
             "arrêt brutal de cet ordinateur).")
              .arg(prise.hote);
    question.boutons = QMessageBox::Open | QMessageBox::Close;
    question.boutonParDefaut = QMessageBox::Close;
    question.libelles
        = { { QMessageBox::Open, tr("Ouvrir quand même") }, { QMessageBox::Close, tr("Quitter") } };
    return Boites::montrer(question) == QMessageBox::Open;
}

} // namespace Verrou
