#pragma once

class QSettings;

namespace Parametres {

// Writes the pending changes and keeps the file, which holds the proxy
// password, readable by its owner only.
void enregistrer(QSettings* settings);

} // namespace Parametres
