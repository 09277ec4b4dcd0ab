#include "model/emprunt.h"

#include "model/bd.h"
#include "model/traduction.h"

namespace Emprunt {

QString formaterDate(const QDate& jour)
{
    return jour.toString(QStringLiteral("dd/MM/yyyy"));
}

using Traduction::tr;

QString refusNom(const QString& emprunteur)
{
    if (emprunteur.trimmed().isEmpty())
        return tr("Indiquez le nom de l'emprunteur.");
    if (emprunteur.contains(QLatin1Char(';')))
        return tr("Le nom de l'emprunteur ne peut pas contenir de point-virgule (;).");
    return {};
}

void preter(BD& album, const QString& emprunteur, const QDate& jour)
{
    album.setEmprunteur(emprunteur);
    ++album.nbEmprunts;
    album.setDateEmprunt(formaterDate(jour));
}

void rendre(BD& album)
{
    album.setEmprunteur(QString(""));
}

QList<BD*> albumsPretes(const QList<BD*>& albums)
{
    QList<BD*> pretes;
    for (BD* album : albums) {
        if (album->estPretee())
            pretes.append(album);
    }
    return pretes;
}

} // namespace Emprunt
