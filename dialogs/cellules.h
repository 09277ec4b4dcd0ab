#pragma once

#include <QTableWidgetItem>

// Cells of the tables that only show values.
namespace Cellules {

// For a table whose editing is already off (its form says so).
inline QTableWidgetItem* cellule(const QString& texte)
{
    return new QTableWidgetItem(texte);
}

// A cell that cannot be edited whatever its table allows.
inline QTableWidgetItem* celluleFixe(const QString& texte)
{
    auto* item = new QTableWidgetItem(texte);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

// Sorted as a number, not as text ("10" after "9").
inline QTableWidgetItem* celluleNombre(qint64 nombre)
{
    auto* item = new QTableWidgetItem;
    item->setData(Qt::DisplayRole, nombre);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

} // namespace Cellules
