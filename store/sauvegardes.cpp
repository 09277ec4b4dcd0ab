#include "store/sauvegardes.h"

#include "store/decodage.h"
#include "store/ecriturecollection.h"
#include "store/fichiercollection.h"
#include "store/lecturefichier.h"
#include "store/nomlibre.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextCodec>

#include <algorithm>

namespace Sauvegardes {

namespace {

const QString formatDate = QStringLiteral("yyyy-MM-dd-HHmmss");

QString prefixe(const QString& collection)
{
    return QFileInfo(collection).completeBaseName() + QLatin1Char('-');
}

// The date of a backup's file name and its "-N" rank (1 without one); an
// invalid date for a file that is not a backup of that collection.
QDateTime dateDuNom(const QString& nomFichier, const QString& prefixeCollection, int* rang)
{
    if (!nomFichier.startsWith(prefixeCollection) || !nomFichier.endsWith(QLatin1String(".csv")))
        return {};
    const QString reste = nomFichier.mid(
        prefixeCollection.size(), nomFichier.size() - prefixeCollection.size() - 4);
    *rang = 1;
    if (reste.size() > formatDate.size()) {
        bool ok = false;
        *rang = reste.mid(formatDate.size() + 1).toInt(&ok);
        if (!ok || reste.at(formatDate.size()) != QLatin1Char('-') || *rang < 2)
            return {};
    }
    return QDateTime::fromString(reste.left(formatDate.size()), formatDate);
}

int compterLignes(const QByteArray& octets, QTextCodec* codec)
{
    QTextCodec* lu
        = QTextCodec::codecForUtfText(octets, codec ? codec : QTextCodec::codecForLocale());
    qsizetype lignes = 0;
    if (Decodage::compatibleAscii(lu)) {
        lignes = octets.count('\n');
        if (!octets.isEmpty() && !octets.endsWith('\n'))
            ++lignes;
    } else {
        const QString texte = FichierCollection::decoder(octets, lu);
        lignes = texte.count(QLatin1Char('\n'));
        if (!texte.isEmpty() && !texte.endsWith(QLatin1Char('\n')))
            ++lignes;
    }
    return int(lignes);
}

bool memeContenu(const QString& a, const QString& b)
{
    QFile x(a);
    QFile y(b);
    if (QFileInfo(a).size() != QFileInfo(b).size() || !x.open(QIODevice::ReadOnly)
        || !y.open(QIODevice::ReadOnly))
        return false;
    constexpr qint64 tailleMorceau = qint64(1) << 20;
    while (!x.atEnd()) {
        const QByteArray morceau = x.read(tailleMorceau);
        if (morceau.isEmpty() || morceau != y.read(morceau.size()))
            return false;
    }
    return y.atEnd();
}

struct Trouvee
{
    QString chemin;
    QDateTime quand;
    int rang;
};

QList<Trouvee> trouver(const QString& dossier, const QString& collection)
{
    const QString debut = prefixe(collection);
    QList<Trouvee> trouvees;
    const QFileInfoList fichiers = QDir(dossier).entryInfoList(
        { debut + QStringLiteral("*.csv") }, QDir::Files | QDir::NoDotAndDotDot);
    for (const QFileInfo& fichier : fichiers) {
        // A device or a FIFO bearing a backup's name is none.
        if (!fichier.isFile())
            continue;
        int rang = 1;
        const QDateTime quand = dateDuNom(fichier.fileName(), debut, &rang);
        if (quand.isValid())
            trouvees.append({ fichier.filePath(), quand, rang });
    }
    std::sort(trouvees.begin(), trouvees.end(), [](const Trouvee& a, const Trouvee& b) {
        return a.quand != b.quand ? a.quand > b.quand : a.rang > b.rang;
    });
    return trouvees;
}

} // namespace

QString nom(const QString& dossier, const QString& collection, const QDateTime& quand)
{
    const QString date = quand.toString(formatDate);
    // Above the highest rank of that second, even when lower ones were removed:
    // the rank tells which of them is the newest.
    int rang = 0;
    for (const Trouvee& trouvee : trouver(dossier, collection)) {
        if (trouvee.quand.toString(formatDate) == date)
            rang = qMax(rang, trouvee.rang);
    }
    const QString base = QDir(dossier).filePath(prefixe(collection) + date);
    return NomLibre::cheminLibre(
        (rang == 0 ? base : base + QLatin1Char('-') + QString::number(rang + 1))
        + QStringLiteral(".csv"));
}

QList<Sauvegarde> lister(const QString& dossier, const QString& collection, QTextCodec* codec)
{
    QList<Sauvegarde> sauvegardes;
    for (const Trouvee& trouvee : trouver(dossier, collection)) {
        QByteArray octets;
        QString erreur;
        const int lignes = LectureFichier::lire(trouvee.chemin, FichierCollection::tailleMax, &octets, &erreur)
            ? compterLignes(octets, codec)
            : -1;
        sauvegardes.append({ trouvee.chemin, trouvee.quand, lignes });
    }
    return sauvegardes;
}

QDateTime limiteAvenir(const QDateTime& maintenant)
{
    return maintenant.addDays(1);
}

QString sauvegarder(
    const QString& collection, const QString& dossier, const QDateTime& quand, QString* erreur)
{
    erreur->clear();
    // Never opened otherwise: a pipe would block the copy.
    if (!QFileInfo(collection).isFile()) {
        *erreur = QStringLiteral("%1 : pas un fichier ordinaire")
                      .arg(QDir::toNativeSeparators(collection));
        return {};
    }
    const QDateTime limite = limiteAvenir(quand);
    for (const Trouvee& trouvee : trouver(dossier, collection)) {
        if (trouvee.quand <= limite) {
            if (memeContenu(collection, trouvee.chemin))
                return {};
            break;
        }
    }
    if (!QDir().mkpath(dossier)) {
        *erreur = QStringLiteral("%1 : dossier impossible à créer")
                      .arg(QDir::toNativeSeparators(dossier));
        return {};
    }
    const QString copie = nom(dossier, collection, quand);
    return EcritureCollection::copier(collection, copie, erreur) ? copie : QString();
}

Elagage elaguer(const QString& dossier, const QString& collection, int garder,
    const QString& nouvelle, const QDateTime& maintenant)
{
    Elagage elagage;
    QStringList echecs;
    const QDateTime limite = limiteAvenir(maintenant);
    // The backup just made is kept whatever the dates of the others.
    int gardees = nouvelle.isEmpty() ? 0 : 1;
    for (const Trouvee& trouvee : trouver(dossier, collection)) {
        if (trouvee.quand > limite) {
            elagage.enAvance.append(QFileInfo(trouvee.chemin).fileName());
            continue;
        }
        if (QFileInfo(trouvee.chemin) == QFileInfo(nouvelle) || gardees++ < garder)
            continue;
        QFile fichier(trouvee.chemin);
        if (!fichier.remove())
            echecs.append(QDir::toNativeSeparators(fichier.fileName()) + QStringLiteral(" : ")
                + fichier.errorString());
    }
    elagage.echecs = echecs.join(QLatin1Char('\n'));
    return elagage;
}

} // namespace Sauvegardes
