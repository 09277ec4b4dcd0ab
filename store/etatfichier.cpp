#include "store/etatfichier.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace {

constexpr qsizetype tailleMorceau = qsizetype(1) << 20;

QString cle(const QString& chemin)
{
    const QFileInfo info(chemin);
    const QString canonique = info.canonicalFilePath();
    return canonique.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonique;
}

// Chained by pieces, so that a file is digested without being held whole.
quint64 ajouter(quint64 empreinte, const char* octets, qsizetype taille)
{
    return qHashBits(octets, size_t(taille), size_t(empreinte));
}

} // namespace

EtatFichier EtatFichier::relever(const QString& chemin, const QByteArray& octets)
{
    const QFileInfo info(chemin);
    EtatFichier etat;
    if (!info.isFile())
        return etat;
    etat.chemin = cle(chemin);
    etat.taille = info.size();
    etat.modification = info.lastModified();
    for (qsizetype debut = 0; debut < octets.size(); debut += tailleMorceau)
        etat.empreinte = ajouter(
            etat.empreinte, octets.constData() + debut, qMin(tailleMorceau, octets.size() - debut));
    return etat;
}

bool EtatFichier::changeSur(const QString& chemin) const
{
    const QFileInfo info(chemin);
    if (this->chemin.isEmpty() || !info.exists() || cle(chemin) != this->chemin)
        return false;
    // Never opened when it is not a file (a pipe would block the reading):
    // the writer refuses it anyway.
    if (!info.isFile())
        return false;
    if (info.size() != taille || info.lastModified() != modification)
        return true;
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly))
        return true;
    // Whole pieces, as the bytes were cut when recorded.
    QByteArray morceau(tailleMorceau, Qt::Uninitialized);
    quint64 lue = 0;
    qsizetype rempli = tailleMorceau;
    while (rempli == tailleMorceau) {
        rempli = 0;
        qint64 n = 0;
        while (rempli < tailleMorceau
            && (n = fichier.read(morceau.data() + rempli, tailleMorceau - rempli)) > 0)
            rempli += n;
        if (n < 0)
            return true;
        if (rempli > 0)
            lue = ajouter(lue, morceau.constData(), rempli);
    }
    return lue != empreinte;
}
