#include "store/lignecollection.h"

#include "model/bd.h"

#include <QList>

namespace LigneCollection {

namespace {

QString texte(const QString& valeur)
{
    if (!valeur.contains(QLatin1Char(';')))
        return valeur;
    QString copie = valeur;
    copie.replace(QLatin1Char(';'), QLatin1Char(','));
    return copie;
}

} // namespace

QString encoder(const BD& album)
{
    const QChar sep = QLatin1Char(';');
    QString ligne;
    ligne.reserve(160);
    ligne += texte(album.getSerie()) + sep;
    ligne += texte(album.getTitre()) + sep;
    ligne += QString::number(album.tome) + sep;
    ligne += texte(album.getDessinateur()) + sep;
    ligne += texte(album.getScenariste()) + sep;
    ligne += texte(album.getEditeur()) + sep;
    ligne += texte(album.getCommentaire()) + sep;
    ligne += QString::number(album.entier8) + sep;
    ligne += texte(album.getGenre()) + sep;
    ligne += texte(album.getImage()) + sep;
    ligne += texte(album.getEmprunteur()) + sep;
    ligne += texte(album.getDateEmprunt()) + sep;
    ligne += QStringLiteral("%1").arg(album.reel13) + sep;
    ligne += QString::number(album.type) + sep;
    ligne += texte(album.getTexte15()) + sep;
    ligne += QString::number(album.note) + sep;
    ligne += QString::number(album.serieFinie) + sep;
    ligne += QString::number(album.nbEmprunts) + sep;
    ligne += texte(album.getTexte19()) + sep;
    ligne += texte(album.getColoriste());
    ligne.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return ligne;
}

BD* decoder(QStringView ligne, int* nbParties)
{
    const QList<QStringView> parties = ligne.split(QLatin1Char(';'));
    const int n = int(parties.size());
    if (nbParties)
        *nbParties = n;
    if (n != 19 && n != 20)
        return nullptr;

    auto entier = [&](int i) { return parties.at(i).toInt(nullptr, 10); };
    auto txt = [&](int i) { return parties.at(i).toString(); };
    return new BD(txt(0), txt(1), entier(2), txt(3), txt(4), txt(5), txt(6), entier(7), txt(8),
                  txt(9), txt(10), txt(11), parties.at(12).toDouble(), entier(13), txt(14),
                  entier(15), entier(16), entier(17), txt(18), n == 20 ? txt(19) : QString());
}

bool contientSeparateur(const BD& album)
{
    const QChar sep = QLatin1Char(';');
    for (const QString& valeur :
         {album.getSerie(), album.getTitre(), album.getDessinateur(), album.getScenariste(),
          album.getEditeur(), album.getCommentaire(), album.getGenre(), album.getImage(),
          album.getEmprunteur(), album.getDateEmprunt(), album.getTexte15(), album.getTexte19(),
          album.getColoriste()}) {
        if (valeur.contains(sep))
            return true;
    }
    return false;
}

} // namespace LigneCollection
