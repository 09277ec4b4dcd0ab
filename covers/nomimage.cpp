#include "covers/nomimage.h"

#include "model/bd.h"
#include "model/catalogue.h"
#include "model/traduction.h"
#include "store/lecturefichier.h"
#include "store/nomlibre.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

namespace NomImage {

using Traduction::tr;

namespace {

// Room left for ".jpg" and for the longest names file systems accept (255 bytes).
constexpr int octetsMaxNom = 200;

bool caractereRefuse(QChar c)
{
    if (c.unicode() < 0x20 || c.unicode() == 0x7f || c.category() == QChar::Other_Control)
        return true;
    static const QString refuses = QStringLiteral("/\\<>:\"|?*;");
    return refuses.contains(c);
}

QString couperEnOctets(const QString& texte, int octetsMax)
{
    if (texte.toUtf8().size() <= octetsMax)
        return texte;
    QString coupe;
    int octets = 0;
    for (int i = 0; i < texte.size();) {
        const int longueur = (texte.at(i).isHighSurrogate() && i + 1 < texte.size()) ? 2 : 1;
        const QString point = texte.mid(i, longueur);
        octets += int(point.toUtf8().size());
        if (octets > octetsMax)
            break;
        coupe += point;
        i += longueur;
    }
    return coupe;
}

} // namespace

QString nomFichier(const QString& recherche)
{
    QString nom = recherche;
    nom.replace(QLatin1Char(' '), QLatin1Char('_'));
    nom.replace(QStringLiteral(".."), QStringLiteral("_"));
    for (QChar& c : nom) {
        if (caractereRefuse(c))
            c = QLatin1Char('_');
    }
    return couperEnOctets(nom, octetsMaxNom) + QStringLiteral(".jpg");
}

QString nomCopie(const QString& nomLocal)
{
    QString nom = nomLocal;
    for (QChar& c : nom) {
        if (c == QLatin1Char(';') || c.unicode() < 0x20 || c.category() == QChar::Other_Control)
            c = QLatin1Char('_');
    }
    return nom;
}

QByteArray octetsCouverture(const QString& chemin, QString* erreur)
{
    QByteArray octets;
    QString raison;
    if (!LectureFichier::lire(chemin, tailleMaxCouverture, &octets, &raison) && erreur)
        *erreur = raison;
    return octets;
}

QString stockerCouverture(
    const QString& dossierImages, const QString& nomVoulu, const QByteArray& octets, QString* erreur)
{
    QDir().mkpath(dossierImages);
    const QString nom = NomLibre::choisir(dossierImages, nomVoulu, &octets);
    if (nom.isEmpty()) {
        *erreur = tr("aucun nom libre pour %1").arg(nomVoulu);
        return {};
    }
    const QString chemin = QDir(dossierImages).filePath(nom);
    if (QFileInfo::exists(chemin))
        return nom; // the same picture, already there
    QSaveFile fichier(chemin);
    if (!fichier.open(QIODevice::WriteOnly) || fichier.write(octets) != octets.size()
        || !fichier.flush() || !fichier.commit()) {
        *erreur = fichier.errorString();
        fichier.cancelWriting();
        return {};
    }
    return nom;
}

QString rechercheAlbum(const BD* album)
{
    return album->getSerie() + QStringLiteral(" Tome ") + QString::number(album->tome);
}

RechercheLue lireRecherche(const QString& recherche)
{
    const QStringList parties = recherche.split(QLatin1Char(' '), Qt::KeepEmptyParts);
    const int tome = int(parties.indexOf(QStringLiteral("Tome")));
    RechercheLue lue;
    if (tome < 0) {
        lue.serie = parties.join(QLatin1Char(' '));
        return lue;
    }
    lue.serie = parties.mid(0, tome).join(QLatin1Char(' '));
    if (tome + 1 < parties.size())
        lue.tome = parties.at(tome + 1);
    return lue;
}

BD* albumDeRecherche(const Catalogue& catalogue, const RechercheLue& lue)
{
    const QList<BD*> albums = catalogue.albumsParNom(lue.serie, true);
    if (lue.tome.isEmpty())
        return albums.isEmpty() ? nullptr : albums.first();
    const int tome = lue.tome.toInt(nullptr, 10);
    for (BD* album : albums) {
        if (album->tome == tome)
            return album;
    }
    return nullptr;
}

int prochainAlbumSansImage(const QList<BD*>& albums, int depuis)
{
    for (int i = qMax(depuis, 0); i < albums.size(); ++i) {
        if (albums.at(i)->couvertureACherche())
            return i;
    }
    return -1;
}

} // namespace NomImage
