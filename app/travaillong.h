#pragma once

#include <QApplication>
#include <QStatusBar>

// Work that may last (an import, a conversion, the save of a large
// collection): a wait cursor and a status message painted before it starts,
// both gone when it ends.
class TravailLong
{
public:
    TravailLong(QStatusBar* barre, const QString& message)
        : m_barre(barre)
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_barre->showMessage(message);
        m_barre->repaint();
    }
    ~TravailLong()
    {
        m_barre->clearMessage();
        QApplication::restoreOverrideCursor();
    }
    TravailLong(const TravailLong&) = delete;
    TravailLong& operator=(const TravailLong&) = delete;

private:
    QStatusBar* m_barre;
};
