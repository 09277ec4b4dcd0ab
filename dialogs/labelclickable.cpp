#include "dialogs/labelclickable.h"

#include <QMouseEvent>

labelClickable::labelClickable(QWidget* parent)
    : QLabel(parent)
{
}

void labelClickable::slotClicked()
{
}

void labelClickable::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    emit clicked();
}
