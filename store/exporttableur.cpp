#include "store/exporttableur.h"

#include "model/tomes.h"

#include "model/bd.h"
#include "store/ecriturecollection.h"

namespace ExportTableur {

namespace {

void ajouterChamp(QString& ligne, const QString& champ)
{
    bool aCiter = false;
    for (const QChar c : champ) {
        if (c == u';' || c == u'"' || c == u'\n' || c == u'\r') {
            aCiter = true;
            break;
        }
    }
    if (!aCiter) {
        ligne += champ;
        return;
    }
    ligne += u'"';
    for (const QChar c : champ) {
        if (c == u'"')
            ligne += u'"';
        ligne += c;
    }
    ligne += u'"';
}

QString sansMarqueVide(const QString& texte)
{
    return marqueAucun(texte) ? QString() : texte;
}


void ajouterAlbum(QString& ligne, const BD& album)
{
    const QString champs[] = { album.getSerie(), album.getTitre(), QString::number(album.tome),
        album.getScenariste(), album.getDessinateur(), album.getColoriste(), album.getEditeur(),
        album.getGenre(), Tomes::nomType(album.type), QString::number(album.note),
        album.serieFinie != 0 ? QStringLiteral("oui") : QStringLiteral("non"),
        sansMarqueVide(album.getEmprunteur()), album.getDateEmprunt(), album.getCommentaire(),
        sansMarqueVide(album.getImage()) };
    bool premier = true;
    for (const QString& champ : champs) {
        if (!premier)
            ligne += u';';
        premier = false;
        ajouterChamp(ligne, champ);
    }
    ligne += QLatin1String("\r\n");
}

} // namespace

QByteArray encoder(const QList<const BD*>& albums)
{
    QString texte;
    texte.reserve(qsizetype(albums.size() + 1) * 160);
    texte += QChar(0xFEFF);
    texte += QString::fromUtf8(
        "Série;Titre;Tome;Scénariste;Dessinateur;Coloriste;Editeur;Genre;Type;Note;Série finie;"
        "Emprunteur;Date d'emprunt;Commentaire;Couverture");
    texte += QLatin1String("\r\n");
    for (const BD* album : albums)
        ajouterAlbum(texte, *album);
    return texte.toUtf8();
}

QString enregistrer(const QString& chemin, const QList<const BD*>& albums)
{
    return EcritureCollection::enregistrer(chemin, encoder(albums));
}

} // namespace ExportTableur
