#include "store/memeemplacement.h"

#include <QDir>
#include <QFileInfo>

bool memeEmplacement(const QString& a, const QString& b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    const QFileInfo x(a);
    const QFileInfo y(b);
    const QString canoniqueX = x.canonicalFilePath();
    const QString canoniqueY = y.canonicalFilePath();
    if (!canoniqueX.isEmpty() && !canoniqueY.isEmpty())
        return canoniqueX == canoniqueY;
    return QDir::cleanPath(x.absoluteFilePath()) == QDir::cleanPath(y.absoluteFilePath());
}
