#include "store/ecriturecollection.h"

#include "model/bd.h"
#include "store/lignecollection.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextCodec>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace EcritureCollection {

namespace {

QByteArray versOctets(QTextCodec* codec, const QString& texte, int* intraduisibles)
{
    QTextCodec::ConverterState etat(QTextCodec::IgnoreHeader);
    const QByteArray octets = codec->fromUnicode(texte.constData(), int(texte.size()), &etat);
    *intraduisibles = etat.invalidChars;
    return octets;
}

QString raison(const QIODevice& appareil)
{
    const QString texte = appareil.errorString();
    return texte.isEmpty() ? QCoreApplication::translate("Phylacto", "écriture interrompue") : texte;
}

} // namespace

OctetsCollection encoder(const QList<BD*>& albums, QTextCodec* codec)
{
    if (!codec)
        codec = QTextCodec::codecForLocale();

    QString texte;
    texte.reserve(qsizetype(albums.size()) * 128);
    for (const BD* album : albums) {
        texte += LigneCollection::encoder(*album);
        texte += QLatin1Char('\n');
    }

    OctetsCollection resultat;
    int intraduisibles = 0;
    resultat.octets = versOctets(codec, texte, &intraduisibles);
    if (intraduisibles > 0) {
        // Rare: only now is it worth encoding line by line to name the album.
        for (int i = 0; i < albums.size(); ++i) {
            versOctets(codec, LigneCollection::encoder(*albums.at(i)), &intraduisibles);
            if (intraduisibles > 0) {
                resultat.premierAlbumIntraduisible = i;
                break;
            }
        }
    }
    return resultat;
}

QString ecrire(QIODevice& appareil, const QByteArray& octets)
{
    qint64 ecrits = 0;
    while (ecrits < octets.size()) {
        const qint64 n = appareil.write(octets.constData() + ecrits, octets.size() - ecrits);
        if (n <= 0)
            return raison(appareil);
        ecrits += n;
    }
    return {};
}

QString enregistrer(const QString& chemin, const QByteArray& octets)
{
    QSaveFile fichier(chemin);
    if (!fichier.open(QIODevice::WriteOnly))
        return raison(fichier);
    QString erreur = ecrire(fichier, octets);
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
    return {};
}

QString nomCopie(const QString& chemin, const QDateTime& quand)
{
    const QString base = chemin + QLatin1Char('.') + quand.toString(QStringLiteral("yyyy-MM-dd-HHmm"));
    QString nom = base + QStringLiteral(".bak");
    for (int n = 2; QFileInfo::exists(nom); ++n)
        nom = base + QLatin1Char('-') + QString::number(n) + QStringLiteral(".bak");
    return nom;
}

QString garderCopie(const QString& chemin, const QDateTime& quand, QString* erreur)
{
    const QString copie = nomCopie(chemin, quand);
    QFile original(chemin);
    if (!original.copy(copie)) {
        if (erreur)
            *erreur = original.errorString();
        return {};
    }
    return copie;
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
