#include "settings/parametres.h"

#include <QFile>
#include <QSettings>

namespace Parametres {

void enregistrer(QSettings* settings)
{
    if (!settings)
        return;
    settings->sync();
    if (QFile::exists(settings->fileName()))
        QFile::setPermissions(
            settings->fileName(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

} // namespace Parametres
