#include "app/travaillong.h"

#include <QApplication>
#include <QProgressBar>
#include <QStatusBar>

namespace {

int travauxEnCours = 0;

// Short work shows no bar; longer work repaints this often.
constexpr qint64 delaiAvantBarre = 300;
constexpr qint64 intervalleAffichage = 100;

} // namespace

TravailLong::TravailLong(QStatusBar* barre, const QString& message)
    : m_barre(barre)
{
    ++travauxEnCours;
    m_depuisDebut.start();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_barre->showMessage(message);
    m_barre->repaint();
}

TravailLong::~TravailLong()
{
    delete m_progression;
    m_barre->clearMessage();
    QApplication::restoreOverrideCursor();
    --travauxEnCours;
}

Avancement TravailLong::avancement()
{
    return [this](qint64 fait, qint64 total) { avancer(fait, total); };
}

bool TravailLong::enCours()
{
    return travauxEnCours > 0;
}

void TravailLong::avancer(qint64 fait, qint64 total)
{
    const qint64 maintenant = m_depuisDebut.elapsed();
    if (maintenant < delaiAvantBarre || maintenant - m_dernierAffichage < intervalleAffichage)
        return;
    m_dernierAffichage = maintenant;
    if (!m_progression) {
        m_progression = new QProgressBar;
        m_progression->setObjectName(QStringLiteral("progressionTravail"));
        m_progression->setRange(0, 1000);
        m_progression->setMaximumWidth(200);
        m_barre->addPermanentWidget(m_progression);
        m_progression->show();
    }
    m_progression->setValue(
        total > 0 ? int(qBound(qint64(0), fait * 1000 / total, qint64(1000))) : 0);
    // Paints the window; clicks and keys stay queued until the work is done.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
