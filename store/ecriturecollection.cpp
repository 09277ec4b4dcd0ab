#include "store/ecriturecollection.h"

#include "model/bd.h"
#include "model/traduction.h"
#include "store/lignecollection.h"
#include "store/nomlibre.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTextCodec>

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace EcritureCollection {

using Traduction::tr;

namespace {

QString raison(const QIODevice& appareil)
{
    const QString texte = appareil.errorString();
    return texte.isEmpty() ? tr("écriture interrompue") : texte;
}

// Makes a file's data, or a folder's list of names, survive a power cut.
bool synchroniser(const QString& chemin)
{
    const int descripteur = ::open(QFile::encodeName(chemin).constData(), O_RDONLY | O_CLOEXEC);
    if (descripteur < 0)
        return false;
    const bool fait = ::fsync(descripteur) == 0;
    ::close(descripteur);
    return fait;
}

// Our temporary files are "<name>.phylacto-tmp-XXXXXX": a name nobody gives
// a file of their own, so that the clean-up never takes one.
const QString infixeTemporaire = QStringLiteral(".phylacto-tmp-");
constexpr int longueurAleatoire = 6;

QString natif(const QString& chemin)
{
    return QDir::toNativeSeparators(QDir::cleanPath(chemin));
}

// What a save killed before its rename left beside the file.
void supprimerRestes(const QString& cible)
{
    const QFileInfo info(cible);
    const QString debut = info.fileName() + infixeTemporaire;
    const QDir dossier = info.absoluteDir();
    const QStringList noms
        = dossier.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QString& nom : noms) {
        if (nom.size() != debut.size() + longueurAleatoire || !nom.startsWith(debut))
            continue;
        const QString fin = nom.mid(debut.size());
        if (std::all_of(fin.cbegin(), fin.cend(),
                [](QChar c) { return c.isLetterOrNumber() && c.unicode() < 128; }))
            QFile::remove(dossier.filePath(nom));
    }
}

// Creates a new temporary file beside cible, as the file itself would be
// created (0666 less the umask). Returns its descriptor, or -1.
int creerTemporaire(const QString& cible, QString* temporaire)
{
    static const char lettres[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int essai = 0; essai < 100; ++essai) {
        QString nom = cible + infixeTemporaire;
        for (int i = 0; i < longueurAleatoire; ++i)
            nom += QLatin1Char(lettres[QRandomGenerator::global()->bounded(62)]);
        const int descripteur = ::open(
            QFile::encodeName(nom).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descripteur >= 0 || errno != EEXIST) {
            *temporaire = nom;
            return descripteur;
        }
    }
    errno = EEXIST;
    return -1;
}

bool traduisible(QTextCodec* codec, const QString& texte)
{
    QTextCodec::ConverterState etat(QTextCodec::IgnoreHeader);
    codec->fromUnicode(texte.constData(), int(texte.size()), &etat);
    return etat.invalidChars == 0;
}

} // namespace

OctetsCollection encoder(const QList<BD*>& albums, QTextCodec* codec, const Avancement& avancement)
{
    if (!codec)
        codec = QTextCodec::codecForLocale();

    // Encoded by slices of lines: the text of a whole catalogue is never held
    // at once beside its bytes.
    constexpr qsizetype tailleTranche = 1 << 16;
    OctetsCollection resultat;
    QTextCodec::ConverterState etat(QTextCodec::IgnoreHeader);
    QString tranche;
    tranche.reserve(tailleTranche + 1024);
    int premierDeTranche = 0;
    for (int i = 0; i < albums.size(); ++i) {
        LigneCollection::ajouter(*albums.at(i), tranche);
        tranche += QLatin1Char('\n');
        if (tranche.size() < tailleTranche && i + 1 < albums.size())
            continue;

        const int invalidesAvant = etat.invalidChars;
        resultat.octets += codec->fromUnicode(tranche.constData(), int(tranche.size()), &etat);
        if (premierDeTranche == 0) // the first slice tells the size of the whole
            resultat.octets.reserve(resultat.octets.size() / (i + 1) * albums.size() * 11 / 10);
        if (etat.invalidChars > invalidesAvant && resultat.premierAlbumIntraduisible < 0) {
            // Rare: only now is it worth encoding line by line to name the album.
            for (int j = premierDeTranche; j <= i; ++j) {
                if (!traduisible(codec, LigneCollection::encoder(*albums.at(j)))) {
                    resultat.premierAlbumIntraduisible = j;
                    break;
                }
            }
        }
        tranche.resize(0);
        premierDeTranche = i + 1;
        if (avancement)
            avancement(i + 1, albums.size());
    }
    return resultat;
}

QString ecrire(QIODevice& appareil, const QByteArray& octets, const Avancement& avancement)
{
    // In pieces, so that the writing of a large catalogue can be followed.
    constexpr qint64 tailleMorceau = qint64(4) << 20;
    qint64 ecrits = 0;
    while (ecrits < octets.size()) {
        const qint64 n = appareil.write(
            octets.constData() + ecrits, qMin(tailleMorceau, octets.size() - ecrits));
        if (n <= 0)
            return raison(appareil);
        ecrits += n;
        if (avancement)
            avancement(ecrits, octets.size());
    }
    return {};
}

QString cibleRemplacable(const QString& chemin, QString* erreur)
{
    QFileInfo info(chemin);
    for (int liens = 0; info.isSymLink(); ++liens) {
        if (liens == 40) {
            *erreur = tr("%1 : trop de liens symboliques").arg(natif(chemin));
            return {};
        }
        info.setFile(info.symLinkTarget());
    }
    struct stat etat;
    if (::stat(QFile::encodeName(info.filePath()).constData(), &etat) == 0
        && !S_ISREG(etat.st_mode)) {
        *erreur = tr("%1 n'est pas un fichier ordinaire : rien n'y est écrit")
                      .arg(natif(info.filePath()));
        return {};
    }
    return info.filePath();
}

QString enregistrer(const QString& chemin, const QByteArray& octets, const Avancement& avancement)
{
    QString erreur;
    const QString cible = cibleRemplacable(chemin, &erreur);
    if (cible.isEmpty())
        return erreur;
    if (QFileInfo::exists(cible) && !QFileInfo(cible).isWritable())
        return tr("%1 est protégé en écriture").arg(natif(cible));
    QString temporaire;
    const int descripteur = creerTemporaire(cible, &temporaire);
    if (descripteur < 0)
        return qt_error_string(errno);
    // The replacement keeps the permissions of the file it replaces.
    struct stat ancien;
    if (::stat(QFile::encodeName(cible).constData(), &ancien) == 0)
        ::fchmod(descripteur, ancien.st_mode & 07777);

    QFile fichier;
    if (!fichier.open(descripteur, QIODevice::WriteOnly, QFileDevice::DontCloseHandle))
        erreur = raison(fichier);
    if (erreur.isEmpty())
        erreur = ecrire(fichier, octets, avancement);
    if (erreur.isEmpty() && (!fichier.flush() || fichier.error() != QFileDevice::NoError))
        erreur = raison(fichier);
    fichier.close();
    if (erreur.isEmpty() && ::fsync(descripteur) != 0)
        erreur = qt_error_string(errno);
    if (::close(descripteur) != 0 && erreur.isEmpty())
        erreur = qt_error_string(errno);
    if (erreur.isEmpty()
        && ::rename(QFile::encodeName(temporaire).constData(), QFile::encodeName(cible).constData())
            != 0)
        erreur = qt_error_string(errno);
    if (!erreur.isEmpty()) {
        QFile::remove(temporaire);
        return erreur;
    }
    // The new name itself must reach the disk.
    synchroniser(QFileInfo(cible).absolutePath());
    supprimerRestes(cible);
    return {};
}

bool copier(const QString& source, const QString& copie, QString* erreur)
{
    QFile original(source);
    if (!original.copy(copie)) {
        if (erreur)
            *erreur = original.errorString();
        return false;
    }
    // A copy counts as made once it is on the disk.
    if (!synchroniser(copie) || !synchroniser(QFileInfo(copie).absolutePath())) {
        if (erreur)
            *erreur = qt_error_string(errno);
        QFile::remove(copie);
        return false;
    }
    return true;
}

QString nomCopie(const QString& chemin, const QDateTime& quand)
{
    return NomLibre::cheminLibre(chemin + QLatin1Char('.')
        + quand.toString(QStringLiteral("yyyy-MM-dd-HHmm")) + QStringLiteral(".bak"));
}

QString garderCopie(const QString& chemin, const QDateTime& quand, QString* erreur)
{
    const QString copie = nomCopie(chemin, quand);
    return copier(chemin, copie, erreur) ? copie : QString();
}

QString avecExtensionCsv(const QString& chemin)
{
    const QString nom = QFileInfo(chemin).fileName();
    if (nom.isEmpty() || nom.lastIndexOf(QLatin1Char('.')) > 0)
        return chemin;
    return chemin + QStringLiteral(".csv");
}

QString nomDansParametres(const QString& chemin)
{
    const QString absolu = QDir::cleanPath(QFileInfo(chemin).absoluteFilePath());
    const QString relatif = QDir::current().relativeFilePath(absolu);
    if (relatif.isEmpty() || QDir::isAbsolutePath(relatif) || relatif == QLatin1String("..")
        || relatif.startsWith(QLatin1String("../")))
        return absolu;
    return relatif;
}

} // namespace EcritureCollection
