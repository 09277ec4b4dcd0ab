#pragma once

#include <QTableWidgetItem>

// Cells of the read-only tables of the tool dialogs.
namespace Cellules {

inline QTableWidgetItem* cellule(const QString& texte)
{
    return new QTableWidgetItem(texte);
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
