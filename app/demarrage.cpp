#include "app/demarrage.h"

#include <QDir>

namespace Demarrage {

bool preparerDossierTravail(const QString& dossier, QString* erreur)
{
    QDir cible(dossier);
    if (!cible.exists() && !QDir().mkpath(dossier)) {
        if (erreur)
            *erreur = QStringLiteral("cannot create %1").arg(dossier);
        return false;
    }
    if (!QDir::setCurrent(cible.absolutePath())) {
        if (erreur)
            *erreur = QStringLiteral("cannot enter %1").arg(dossier);
        return false;
    }
    for (const QString& sousDossier : {QStringLiteral("data"), QStringLiteral("images")}) {
        if (!QDir::current().mkpath(sousDossier)) {
            if (erreur)
                *erreur = QStringLiteral("cannot create %1").arg(sousDossier);
            return false;
        }
    }
    return true;
}

} // namespace Demarrage
