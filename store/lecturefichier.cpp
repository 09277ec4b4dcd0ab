#include "store/lecturefichier.h"

#include "model/traduction.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace LectureFichier {

using Traduction::tr;

namespace {

QString raisonSysteme(int numero)
{
    return QString::fromLocal8Bit(std::strerror(numero));
}

QString echecOuverture(const QString& chemin, int numero)
{
    switch (numero) {
    case ENOENT:
        return QFileInfo(chemin).isSymLink() ? tr("lien vers un fichier absent")
                                             : tr("fichier absent");
    case EACCES:
    case EPERM:
        return tr("accès refusé");
    default:
        return tr("ouverture impossible (%1)").arg(raisonSysteme(numero));
    }
}

} // namespace

QString enMo(qint64 octets)
{
    return tr("%1 Mo").arg((octets + (qint64(1) << 20) - 1) >> 20);
}

bool ouvrir(const QString& chemin, qint64 tailleMax, QFile& fichier, QString* erreur)
{
    // Non-blocking: opening a FIFO without a writer would wait for one.
    const int descripteur = chemin.isEmpty()
        ? -1
        : ::open(QFile::encodeName(chemin).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descripteur < 0) {
        *erreur = echecOuverture(chemin, chemin.isEmpty() ? ENOENT : errno);
        return false;
    }
    // What was opened is judged, not what the name pointed to a moment before.
    struct stat etat;
    QString refus;
    if (::fstat(descripteur, &etat) != 0)
        refus = tr("ouverture impossible (%1)").arg(raisonSysteme(errno));
    else if (S_ISDIR(etat.st_mode))
        refus = tr("c'est un dossier");
    else if (!S_ISREG(etat.st_mode))
        refus = tr("fichier spécial (périphérique, tube…)");
    else if (etat.st_size > tailleMax)
        refus = tr("fichier trop volumineux (%1, au plus %2)")
                    .arg(enMo(etat.st_size), enMo(tailleMax));
    if (!refus.isEmpty()) {
        ::close(descripteur);
        *erreur = refus;
        return false;
    }
    if (!fichier.open(descripteur, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descripteur);
        *erreur = tr("ouverture impossible (%1)").arg(fichier.errorString());
        return false;
    }
    return true;
}

bool lire(const QString& chemin, qint64 tailleMax, QByteArray* octets, QString* erreur)
{
    QFile fichier;
    if (!ouvrir(chemin, tailleMax, fichier, erreur))
        return false;
    const qint64 taille = fichier.size();
    if (taille > tailleMax) {
        *erreur = tr("fichier modifié pendant sa lecture");
        return false;
    }
    QByteArray lus(taille, Qt::Uninitialized);
    qint64 faits = 0;
    while (faits < taille) {
        const qint64 n = fichier.read(lus.data() + faits, taille - faits);
        if (n <= 0)
            break;
        faits += n;
    }
    char deTrop = 0;
    if (fichier.error() != QFileDevice::NoError) {
        *erreur = tr("erreur de lecture (%1)").arg(fichier.errorString());
        return false;
    }
    if (faits < taille) {
        *erreur = tr("lu en partie seulement (%1 octets sur %2)").arg(faits).arg(taille);
        return false;
    }
    if (fichier.read(&deTrop, 1) > 0) {
        *erreur = tr("fichier modifié pendant sa lecture");
        return false;
    }
    *octets = std::move(lus);
    return true;
}

} // namespace LectureFichier
