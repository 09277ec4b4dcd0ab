#include "store/autrescatalogues.h"

#include "model/bd.h"
#include "model/emprunt.h"
#include "model/numerotome.h"
#include "model/traduction.h"
#include "store/lecturefichier.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QXmlStreamReader>

#include <zip.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <unistd.h>

namespace AutresCatalogues {

using Traduction::tr;

namespace {

QString nommer(const QString& chemin, const QString& raison)
{
    return tr("« %1 » : %2.").arg(QFileInfo(chemin).fileName(), raison);
}

QString erreurXml(const QXmlStreamReader& lecteur)
{
    return tr("Fichier XML illisible à la ligne %1.").arg(lecteur.lineNumber());
}

// The first of several values ("Aventure, Humour"): the album has one genre.
QString premierGenre(const QString& genres)
{
    return genres.section(QLatin1Char(','), 0, 0).section(QLatin1Char(';'), 0, 0).trimmed();
}

// The album's mark is 0 to 5; note is read on a scale of 0 to surEchelle.
int noteSurCinq(const QString& note, int surEchelle)
{
    const double valeur = std::clamp(note.trimmed().toDouble(), 0.0, double(surEchelle));
    return int(std::lround(valeur * 5 / surEchelle));
}

// Fills the title and series the form would give, false when the entry has
// neither.
bool completer(ValeursAlbum& v)
{
    if (v.serie.isEmpty() && v.titre.isEmpty())
        return false;
    if (v.titre.isEmpty())
        v.titre = QStringLiteral("Tome %1").arg(v.tome);
    if (v.serie.isEmpty())
        v.serie = v.titre;
    return true;
}

void preter(AlbumImporte& album, const QString& emprunteur, const QDate& aujourdhui)
{
    album.emprunteur = emprunteur;
    album.dateEmprunt = Emprunt::formaterDate(aujourdhui);
}

Lecture lireGcstarXml(
    const QByteArray& xml, const QString& dossier, int type, const QDate& aujourdhui)
{
    Lecture lecture;
    QXmlStreamReader lecteur(xml);
    if (!lecteur.readNextStartElement() || lecteur.name() != QLatin1String("collection")) {
        lecture.erreur
            = lecteur.hasError() ? erreurXml(lecteur) : tr("Ce n'est pas une collection GCstar.");
        return lecture;
    }
    const QString genre = lecteur.attributes().value(QLatin1String("type")).toString();
    if (genre != QLatin1String("GCcomics")) {
        lecture.erreur = tr("Cette collection GCstar n'est pas une collection de bandes dessinées "
                            "(type « %1 »).")
                             .arg(genre);
        return lecture;
    }
    const QDir dossierFichier(dossier);
    while (lecteur.readNextStartElement()) {
        if (lecteur.name() != QLatin1String("item")) {
            lecteur.skipCurrentElement();
            continue;
        }
        const QXmlStreamAttributes a = lecteur.attributes();
        auto texte
            = [&a](const char* nom) { return a.value(QLatin1String(nom)).toString().simplified(); };
        AlbumImporte album;
        ValeursAlbum& v = album.valeurs;
        v.serie = texte("series");
        v.titre = texte("title");
        v.tome = numeroTome(texte("volume"));
        v.scenariste = texte("writer");
        v.dessinateur = texte("illustrator");
        v.coloriste = texte("colourist");
        v.editeur = texte("publisher");
        v.genre = premierGenre(texte("category"));
        v.note = noteSurCinq(texte("rating"), 10);
        v.type = type;
        album.isbn = texte("isbn");
        const QString emprunteur = texte("borrower");
        if (!emprunteur.isEmpty() && emprunteur != QLatin1String("none"))
            preter(album, emprunteur, aujourdhui);
        const QString image = texte("image");
        if (!image.isEmpty() && !image.contains(QLatin1String("://"))) {
            const QFileInfo fichier(dossierFichier.absoluteFilePath(image));
            if (fichier.isFile())
                album.fichierCouverture = fichier.absoluteFilePath();
        }
        QString synopsis, commentaire;
        while (lecteur.readNextStartElement()) {
            QString* cible = lecteur.name() == QLatin1String("synopsis") ? &synopsis
                : lecteur.name() == QLatin1String("comment")             ? &commentaire
                                                                         : nullptr;
            const QString contenu
                = lecteur.readElementText(QXmlStreamReader::IncludeChildElements).simplified();
            if (cible)
                *cible = contenu;
        }
        v.commentaire = synopsis.isEmpty() || commentaire.isEmpty()
            ? synopsis + commentaire
            : synopsis + QStringLiteral(" — ") + commentaire;
        if (completer(v))
            lecture.albums << album;
        else
            ++lecture.ignores;
    }
    if (lecteur.hasError()) {
        lecture.erreur = erreurXml(lecteur);
        lecture.albums.clear();
    }
    return lecture;
}

struct LectureTellico
{
    Lecture lecture;
    QStringList idsCouvertures; // one per album
    QHash<QString, QByteArray> images; // written into tellico.xml, decoded
};

const QLatin1String espaceTellico("http://periapsis.org/tellico/");

LectureTellico lireTellicoXml(const QByteArray& xml, int type, const QDate& aujourdhui)
{
    LectureTellico resultat;
    Lecture& lecture = resultat.lecture;
    QXmlStreamReader lecteur(xml);
    if (!lecteur.readNextStartElement() || lecteur.name() != QLatin1String("tellico")
        || (!lecteur.namespaceUri().isEmpty() && lecteur.namespaceUri() != espaceTellico)) {
        lecture.erreur
            = lecteur.hasError() ? erreurXml(lecteur) : tr("Ce n'est pas une collection Tellico.");
        return resultat;
    }
    if (!lecteur.readNextStartElement() || lecteur.name() != QLatin1String("collection")) {
        lecture.erreur
            = lecteur.hasError() ? erreurXml(lecteur) : tr("Cette collection Tellico est vide.");
        return resultat;
    }
    const QString genre = lecteur.attributes().value(QLatin1String("type")).toString();
    if (genre != QLatin1String("6")) {
        lecture.erreur = tr("Cette collection Tellico n'est pas une collection de bandes "
                            "dessinées (type %1).")
                             .arg(genre);
        return resultat;
    }
    while (lecteur.readNextStartElement()) {
        if (lecteur.name() == QLatin1String("images")) {
            while (lecteur.readNextStartElement()) {
                const QString id = lecteur.attributes().value(QLatin1String("id")).toString();
                const QByteArray base64 = lecteur.readElementText().toLatin1();
                if (base64.size() / 4 * 3 > tailleMaxImage) {
                    lecture.erreur = tr("L'image « %1 » est trop volumineuse (plus de %2).")
                                         .arg(id, LectureFichier::enMo(tailleMaxImage));
                    return resultat;
                }
                resultat.images.insert(id, QByteArray::fromBase64(base64));
            }
            continue;
        }
        if (lecteur.name() != QLatin1String("entry")) {
            lecteur.skipCurrentElement();
            continue;
        }
        AlbumImporte album;
        ValeursAlbum& v = album.valeurs;
        QString sousTitre, prete, couverture;
        QStringList scenaristes, dessinateurs, genres;
        while (!lecteur.atEnd()) {
            lecteur.readNext();
            if (lecteur.isEndElement() && lecteur.name() == QLatin1String("entry"))
                break;
            if (!lecteur.isStartElement())
                continue;
            const QString nom = lecteur.name().toString();
            if (nom == QLatin1String("writers") || nom == QLatin1String("artists")
                || nom == QLatin1String("genres"))
                continue; // their items follow
            const QString texte
                = lecteur.readElementText(QXmlStreamReader::SkipChildElements).simplified();
            if (nom == QLatin1String("title"))
                v.titre = texte;
            else if (nom == QLatin1String("subtitle"))
                sousTitre = texte;
            else if (nom == QLatin1String("series"))
                v.serie = texte;
            else if (nom == QLatin1String("issue"))
                v.tome = numeroTome(texte);
            else if (nom == QLatin1String("writer"))
                scenaristes << texte;
            else if (nom == QLatin1String("artist"))
                dessinateurs << texte;
            else if (nom == QLatin1String("publisher"))
                v.editeur = texte;
            else if (nom == QLatin1String("genre"))
                genres << texte;
            else if (nom == QLatin1String("loaned"))
                prete = texte;
            else if (nom == QLatin1String("rating"))
                v.note = noteSurCinq(texte, 5);
            else if (nom == QLatin1String("comments"))
                v.commentaire = texte;
            else if (nom == QLatin1String("cover"))
                couverture = texte;
        }
        if (!sousTitre.isEmpty())
            v.titre = v.titre.isEmpty() ? sousTitre : v.titre + QStringLiteral(" - ") + sousTitre;
        scenaristes.removeAll(QString());
        dessinateurs.removeAll(QString());
        v.scenariste = scenaristes.join(QStringLiteral(", "));
        v.dessinateur = dessinateurs.join(QStringLiteral(", "));
        v.genre = genres.value(0);
        v.type = type;
        // A check box in most files; some hold the borrower's name.
        const QString oui = prete.toLower();
        if (oui == QLatin1String("true") || oui == QLatin1String("1") || oui == QLatin1String("yes")
            || oui == QLatin1String("oui"))
            preter(album, tr("Emprunteur inconnu"), aujourdhui);
        else if (!prete.isEmpty() && oui != QLatin1String("false") && oui != QLatin1String("0")
            && oui != QLatin1String("no") && oui != QLatin1String("non"))
            preter(album, prete, aujourdhui);
        if (completer(v)) {
            lecture.albums << album;
            resultat.idsCouvertures << couverture;
        } else {
            ++lecture.ignores;
        }
    }
    if (lecteur.hasError()) {
        lecture.erreur = erreurXml(lecteur);
        lecture.albums.clear();
    }
    return resultat;
}

struct FermerArchive
{
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct FermerEntree
{
    void operator()(zip_file_t* entree) const { zip_fclose(entree); }
};
using Archive = std::unique_ptr<zip_t, FermerArchive>;

enum class Entree { Lue, Absente, TropGrande, Illisible };

// Read into memory only, and never beyond max whatever the archive claims.
Entree lireEntree(zip_t* archive, const QString& nom, qint64 max, QByteArray* octets)
{
    const QByteArray nomUtf8 = nom.toUtf8();
    const zip_int64_t index = zip_name_locate(archive, nomUtf8.constData(), 0);
    if (index < 0)
        return Entree::Absente;
    zip_stat_t etat;
    if (zip_stat_index(archive, zip_uint64_t(index), 0, &etat) == 0 && (etat.valid & ZIP_STAT_SIZE)
        && etat.size > zip_uint64_t(max))
        return Entree::TropGrande;
    const std::unique_ptr<zip_file_t, FermerEntree> entree(
        zip_fopen_index(archive, zip_uint64_t(index), 0));
    if (!entree)
        return Entree::Illisible;
    octets->clear();
    char tampon[1 << 16];
    zip_int64_t lus = 0;
    while ((lus = zip_fread(entree.get(), tampon, sizeof tampon)) > 0) {
        if (octets->size() + lus > max)
            return Entree::TropGrande;
        octets->append(tampon, qsizetype(lus));
    }
    return lus < 0 ? Entree::Illisible : Entree::Lue;
}

} // namespace

Lecture lireGcstar(const QString& chemin, int type, const QDate& aujourdhui)
{
    QByteArray xml;
    Lecture lecture;
    if (!LectureFichier::lire(chemin, tailleMaxFichier, &xml, &lecture.erreur)) {
        lecture.erreur = nommer(chemin, lecture.erreur);
        return lecture;
    }
    return lireGcstarXml(xml, QFileInfo(chemin).absolutePath(), type, aujourdhui);
}

Lecture lireTellico(const QString& chemin, int type, const QDate& aujourdhui)
{
    Lecture echec;
    QFile fichier;
    if (!LectureFichier::ouvrir(
            chemin, tailleMaxFichier + tailleMaxImages, fichier, &echec.erreur)) {
        echec.erreur = nommer(chemin, echec.erreur);
        return echec;
    }
    // The archive is read through the file checked and opened above.
    const int descripteur = ::dup(fichier.handle());
    int code = 0;
    const Archive archive(descripteur < 0 ? nullptr : zip_fdopen(descripteur, 0, &code));
    if (!archive) {
        if (descripteur >= 0)
            ::close(descripteur);
        echec.erreur
            = tr("« %1 » n'est pas une archive Tellico (.tc).").arg(QFileInfo(chemin).fileName());
        return echec;
    }
    QByteArray xml;
    switch (lireEntree(archive.get(), QStringLiteral("tellico.xml"), tailleMaxFichier, &xml)) {
    case Entree::Lue:
        break;
    case Entree::Absente:
        echec.erreur = tr("L'archive ne contient pas de fichier tellico.xml.");
        return echec;
    case Entree::TropGrande:
        echec.erreur = tr("Le fichier tellico.xml de l'archive est trop volumineux (plus de %1).")
                           .arg(LectureFichier::enMo(tailleMaxFichier));
        return echec;
    case Entree::Illisible:
        echec.erreur = tr("Le fichier tellico.xml de l'archive est illisible.");
        return echec;
    }
    LectureTellico lu = lireTellicoXml(xml, type, aujourdhui);
    xml.clear();
    qint64 total = 0;
    for (qsizetype i = 0; i < lu.lecture.albums.size(); ++i) {
        const QString& id = lu.idsCouvertures.at(i);
        if (id.isEmpty())
            continue;
        auto image = lu.images.constFind(id);
        if (image == lu.images.cend()) {
            QByteArray octets;
            const Entree etat = lireEntree(
                archive.get(), QStringLiteral("images/") + id, tailleMaxImage, &octets);
            if (etat == Entree::TropGrande) {
                echec.erreur = tr("L'image « %1 » de l'archive est trop volumineuse (plus de %2).")
                                   .arg(id, LectureFichier::enMo(tailleMaxImage));
                return echec;
            }
            total += octets.size();
            if (total > tailleMaxImages) {
                echec.erreur = tr("Les images de l'archive dépassent %1 en tout.")
                                   .arg(LectureFichier::enMo(tailleMaxImages));
                return echec;
            }
            // Each picture read once, however many albums show it.
            image = lu.images.insert(id, octets);
        }
        lu.lecture.albums[i].couverture = *image;
    }
    return lu.lecture;
}

Apercu apercu(const QList<AlbumImporte>& albums, const Catalogue& catalogue)
{
    QSet<std::pair<QString, QString>> tenus;
    tenus.reserve(catalogue.albums().size() + albums.size());
    for (const BD* album : catalogue.albums())
        tenus.insert({ album->getSerie(), album->getTitre() });
    QSet<QString> nouvellesSeries;
    Apercu resultat;
    for (int i = 0; i < albums.size(); ++i) {
        const ValeursAlbum& v = albums.at(i).valeurs;
        const qsizetype avant = tenus.size();
        tenus.insert({ v.serie, v.titre });
        if (tenus.size() == avant) {
            ++resultat.dejaPresents;
            continue;
        }
        resultat.retenus << i;
        ++resultat.albums;
        if (albums.at(i).aUneCouverture())
            ++resultat.couvertures;
        if (!catalogue.findSerie(v.serie) && !nouvellesSeries.contains(v.serie)) {
            nouvellesSeries.insert(v.serie);
            ++resultat.series;
        }
    }
    return resultat;
}

} // namespace AutresCatalogues
