#include "store/ecriturecollection.h"

#include "model/bd.h"
#include "store/lignecollection.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QRegularExpression>
#include <QTextCodec>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace EcritureCollection {

namespace {

QString raison(const QIODevice& appareil)
{
    const QString texte = appareil.errorString();
    return texte.isEmpty() ? QCoreApplication::translate("Phylacto", "écriture interrompue")
                           : texte;
}

// Makes a file's data, or a folder's list of names, survive a power cut.
bool synchroniser(const QString& chemin)
{
#ifdef Q_OS_UNIX
    const int descripteur = ::open(QFile::encodeName(chemin).constData(), O_RDONLY | O_CLOEXEC);
    if (descripteur < 0)
        return false;
    const bool fait = ::fsync(descripteur) == 0;
    ::close(descripteur);
    return fait;
#else
    Q_UNUSED(chemin);
    return true;
#endif
}

// What a save killed at its rename leaves beside the file: "<name>.XXXXXX",
// six random letters and digits. Six lower-case letters or six digits
// (".backup", ".202401") are more likely someone's own file and stay.
void supprimerRestes(const QString& chemin)
{
    const QFileInfo info(chemin);
    const QRegularExpression reste(QStringLiteral("^%1\\.[A-Za-z0-9]{6}$")
                                       .arg(QRegularExpression::escape(info.fileName())));
    const QRegularExpression ordinaire(QStringLiteral("\\.([a-z]{6}|[0-9]{6})$"));
    const QDir dossier = info.absoluteDir();
    const QStringList noms = dossier.entryList({ info.fileName() + QStringLiteral(".??????") },
        QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QString& nom : noms) {
        if (reste.match(nom).hasMatch() && !ordinaire.match(nom).hasMatch())
            QFile::remove(dossier.filePath(nom));
    }
}

bool traduisible(QTextCodec* codec, const QString& texte)
{
    QTextCodec::ConverterState etat(QTextCodec::IgnoreHeader);
    codec->fromUnicode(texte.constData(), int(texte.size()), &etat);
    return etat.invalidChars == 0;
}

} // namespace

OctetsCollection encoder(
    const QList<BD*>& albums, QTextCodec* codec, const Avancement& avancement)
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

QString enregistrer(const QString& chemin, const QByteArray& octets, const Avancement& avancement)
{
    QSaveFile fichier(chemin);
    if (!fichier.open(QIODevice::WriteOnly))
        return raison(fichier);
    QString erreur = ecrire(fichier, octets, avancement);
    // commit() can report success when its own final flush fails.
    if (erreur.isEmpty() && (!fichier.flush() || fichier.error() != QFileDevice::NoError))
        erreur = raison(fichier);
#ifdef Q_OS_UNIX
    if (erreur.isEmpty() && ::fsync(fichier.handle()) != 0)
        erreur = qt_error_string(errno);
#endif
    if (!erreur.isEmpty()) {
        fichier.cancelWriting();
        return erreur;
    }
    if (!fichier.commit())
        return raison(fichier);
    // The new name itself must reach the disk.
    synchroniser(QFileInfo(chemin).absolutePath());
    supprimerRestes(chemin);
    return {};
}

QString nomLibre(const QString& base, const QString& suffixe)
{
    QString nom = base + suffixe;
    for (int n = 2; QFileInfo::exists(nom); ++n)
        nom = base + QLatin1Char('-') + QString::number(n) + suffixe;
    return nom;
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
    return nomLibre(chemin + QLatin1Char('.') + quand.toString(QStringLiteral("yyyy-MM-dd-HHmm")),
        QStringLiteral(".bak"));
}

QString garderCopie(const QString& chemin, const QDateTime& quand, QString* erreur)
{
    const QString copie = nomCopie(chemin, quand);
    return copier(chemin, copie, erreur) ? copie : QString();
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
