#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class BD;

// The catalogue for spreadsheets: UTF-8 with a byte-order mark, a header
// row, ";" between fields, CRLF line ends, fields quoted when they hold ";",
// a double quote or a line break (quotes doubled inside).
namespace ExportTableur {

QByteArray encoder(const QList<const BD*>& albums);

// Written atomically, like the collection file. Returns the reason of a
// failure (the target is then untouched), empty on success.
QString enregistrer(const QString& chemin, const QList<const BD*>& albums);

} // namespace ExportTableur
