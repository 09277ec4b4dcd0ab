#include "model/tomes.h"

#include "model/bd.h"
#include "model/catalogue.h"
#include "model/serie.h"

#include <QHash>

#include <algorithm>

namespace Tomes {

Manques manques(QList<int> tomes)
{
    Manques resultat;
    std::sort(tomes.begin(), tomes.end());
    // Computed from the gaps, never by counting up to the highest volume: a
    // mistyped 2000000000 must not build two billion numbers.
    qint64 precedent = 0;
    for (const int tome : std::as_const(tomes)) {
        if (tome < 1 || tome == precedent)
            continue;
        resultat.numerotee = true;
        if (tome > precedent + 1) {
            resultat.plages.append({ int(precedent + 1), tome - 1 });
            resultat.nombre += tome - 1 - precedent;
        }
        precedent = tome;
    }
    return resultat;
}

QString texte(const Manques& manques)
{
    QStringList morceaux;
    for (const auto& [debut, fin] : manques.plages) {
        if (debut == fin)
            morceaux.append(QString::number(debut));
        else if (fin == debut + 1)
            morceaux << QString::number(debut) << QString::number(fin);
        else
            morceaux.append(QStringLiteral("%1 à %2").arg(debut).arg(fin));
    }
    return morceaux.join(QStringLiteral(", "));
}

QString texteEtiquette(const Manques& manques)
{
    if (!manques.numerotee)
        return QString();
    if (manques.plages.isEmpty())
        return QStringLiteral("Aucun tome manquant");
    return QStringLiteral("Tomes manquants : ") + texte(manques);
}

QString nomType(int type)
{
    switch (type) {
    case Comic:
        return QStringLiteral("Comic");
    case Manga:
        return QStringLiteral("Manga");
    default:
        return QStringLiteral("BD Euro");
    }
}

QList<SerieIncomplete> seriesIncompletes(const Catalogue& catalogue)
{
    QHash<QString, QList<int>> tomesParSerie;
    tomesParSerie.reserve(catalogue.series().size());
    for (const BD* album : catalogue.albums())
        tomesParSerie[album->getSerie()].append(album->tome);

    QList<SerieIncomplete> incompletes;
    for (const Serie* serie : catalogue.series()) {
        Manques manquesSerie = manques(tomesParSerie.value(serie->getNom()));
        if (!manquesSerie.plages.isEmpty())
            incompletes.append({ serie->getNom(), serie->type, std::move(manquesSerie) });
    }
    return incompletes;
}

QString texteTabule(const QList<QStringList>& lignes)
{
    QString resultat;
    for (const QStringList& ligne : lignes) {
        QStringList cellules;
        for (QString cellule : ligne) {
            cellule.replace(QLatin1Char('\t'), QLatin1Char(' '));
            cellule.replace(QLatin1Char('\r'), QLatin1Char(' '));
            cellule.replace(QLatin1Char('\n'), QLatin1Char(' '));
            cellules.append(cellule);
        }
        resultat += cellules.join(QLatin1Char('\t'));
        resultat += QLatin1Char('\n');
    }
    return resultat;
}

} // namespace Tomes
