#pragma once

#include <QString>

// Where Phylacto works: every file it reads and writes lies in its working
// directory ("data", "images", "icon.ico").
namespace Demarrage {

// Makes dossier the working directory (created when missing) and makes sure
// it holds "data" and "images". Returns false with a reason on failure.
bool preparerDossierTravail(const QString& dossier, QString* erreur);

} // namespace Demarrage
