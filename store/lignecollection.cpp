#include "store/lignecollection.h"

#include "model/bd.h"

#include <QList>

#include <algorithm>
#include <charconv>

namespace LigneCollection {

namespace {

void ajouterTexte(QString& sortie, const QString& valeur)
{
    if (valeur.contains(QLatin1Char(';'))) {
        const qsizetype debut = sortie.size();
        sortie += valeur;
        std::replace(sortie.begin() + debut, sortie.end(), QLatin1Char(';'), QLatin1Char(','));
    } else {
        sortie += valeur;
    }
    sortie += QLatin1Char(';');
}

void ajouterEntier(QString& sortie, int valeur)
{
    char chiffres[16];
    const auto fin = std::to_chars(chiffres, chiffres + sizeof chiffres, valeur).ptr;
    sortie += QLatin1StringView(chiffres, fin - chiffres);
    sortie += QLatin1Char(';');
}

} // namespace

QString encoder(const BD& album)
{
    QString ligne;
    ligne.reserve(160);
    ajouter(album, ligne);
    return ligne;
}

void ajouter(const BD& album, QString& sortie)
{
    const qsizetype debut = sortie.size();
    ajouterTexte(sortie, album.getSerie());
    ajouterTexte(sortie, album.getTitre());
    ajouterEntier(sortie, album.tome);
    ajouterTexte(sortie, album.getDessinateur());
    ajouterTexte(sortie, album.getScenariste());
    ajouterTexte(sortie, album.getEditeur());
    ajouterTexte(sortie, album.getCommentaire());
    ajouterEntier(sortie, album.entier8);
    ajouterTexte(sortie, album.getGenre());
    ajouterTexte(sortie, album.getImage());
    ajouterTexte(sortie, album.getEmprunteur());
    ajouterTexte(sortie, album.getDateEmprunt());
    if (album.reel13 == 0.0)
        sortie += QLatin1Char('0'); // nearly always: the number is seldom used
    else
        sortie += QStringLiteral("%1").arg(album.reel13);
    sortie += QLatin1Char(';');
    ajouterEntier(sortie, album.type);
    ajouterTexte(sortie, album.getTexte15());
    ajouterEntier(sortie, album.note);
    ajouterEntier(sortie, album.serieFinie);
    ajouterEntier(sortie, album.nbEmprunts);
    ajouterTexte(sortie, album.getTexte19());
    ajouterTexte(sortie, album.getColoriste());
    sortie.chop(1); // the separator after the last field
    if (QStringView(sortie).sliced(debut).contains(QLatin1Char('\n')))
        std::replace(sortie.begin() + debut, sortie.end(), QLatin1Char('\n'), QLatin1Char(' '));
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
