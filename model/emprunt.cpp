#include "model/emprunt.h"

#include "model/bd.h"

namespace Emprunt {

QString formaterDate(const QDate& jour)
{
    return jour.toString(QStringLiteral("dd/MM/yyyy"));
}

bool nomValide(const QString& emprunteur)
{
    return !emprunteur.contains(QLatin1Char(';'));
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
