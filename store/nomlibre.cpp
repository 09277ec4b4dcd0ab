#include "store/nomlibre.h"

#include "store/lecturefichier.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace NomLibre {

namespace {

bool memeContenu(const QString& chemin, const QByteArray& contenu)
{
    QByteArray octets;
    QString erreur;
    return LectureFichier::lire(chemin, contenu.size(), &octets, &erreur) && octets == contenu;
}

} // namespace

QString numeroter(const QString& nom, int n)
{
    const qsizetype point = nom.lastIndexOf(QLatin1Char('.'));
    const QString suffixe = QLatin1Char('-') + QString::number(n);
    if (point < 0)
        return nom + suffixe;
    return nom.left(point) + suffixe + nom.mid(point);
}

QString choisir(const QString& dossier, const QString& nom, const QByteArray* contenu)
{
    const QDir cible(dossier);
    for (int n = 1; n < 10000; ++n) {
        const QString candidat = n == 1 ? nom : numeroter(nom, n);
        const QString chemin = cible.filePath(candidat);
        // A dangling link counts as taken: writing through it would land elsewhere.
        if (!QFileInfo::exists(chemin) && !QFileInfo(chemin).isSymLink())
            return candidat;
        if (contenu && memeContenu(chemin, *contenu))
            return candidat;
    }
    return {};
}

QString cheminLibre(const QString& chemin, const QByteArray* contenu)
{
    const QString fichier = QFileInfo(chemin).fileName();
    const QString dossier = chemin.left(chemin.size() - fichier.size());
    const QString libre
        = choisir(dossier.isEmpty() ? QStringLiteral(".") : dossier, fichier, contenu);
    return libre.isEmpty() ? QString() : dossier + libre;
}

} // namespace NomLibre
