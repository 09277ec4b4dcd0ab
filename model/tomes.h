#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class Catalogue;

// Volumes missing between 1 and the highest volume of a series.
namespace Tomes {

struct Manques
{
    bool numerotee = false; // at least one volume from 1 up
    QList<QPair<int, int>> plages; // missing ranges, ascending, bounds included
    qint64 nombre = 0; // missing volumes in all
};

// Volumes below 1 are not numbered volumes; duplicates do not matter.
Manques manques(QList<int> tomes);

// "3, 5 à 7"
QString texte(const Manques& manques);
// What the album table says below itself: "Tomes manquants : 3, 5 à 7",
// "Aucun tome manquant", or nothing for a series without numbered volume.
QString texteEtiquette(const Manques& manques);

struct SerieIncomplete
{
    QString nom;
    int type = 0;
    Manques manques;
};

// "BD Euro", "Comic" or "Manga"; any other kind is shown as Euro.
QString nomType(int type);

// Series with at least one missing volume, in catalogue order.
QList<SerieIncomplete> seriesIncompletes(const Catalogue& catalogue);

// Tab-separated lines for a spreadsheet or a mail; a tab or line break inside
// a cell becomes a space so that no cell splits.
QString texteTabule(const QList<QStringList>& lignes);

} // namespace Tomes
