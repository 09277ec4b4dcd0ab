#pragma once

#include "store/avancement.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QString>

class QProgressBar;
class QStatusBar;

// Work that may last (an import, a conversion, the save of a large
// collection): a wait cursor and a status message painted before it starts,
// a progress bar beside the message once it has run a little while, all gone
// when it ends. The window is repainted as the work reports, so it never
// looks frozen; what the user types or clicks meanwhile waits for the end.
class TravailLong
{
public:
    TravailLong(QStatusBar* barre, const QString& message);
    ~TravailLong();
    TravailLong(const TravailLong&) = delete;
    TravailLong& operator=(const TravailLong&) = delete;

    // What the work calls as it goes.
    Avancement avancement();

    // True while some long work runs: the window is not closed under it.
    static bool enCours();

private:
    void avancer(qint64 fait, qint64 total);

    QStatusBar* m_barre;
    QPointer<QProgressBar> m_progression;
    QElapsedTimer m_depuisDebut;
    qint64 m_dernierAffichage = 0;
};
