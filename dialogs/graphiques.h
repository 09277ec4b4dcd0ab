#pragma once

#include "model/statistiques.h"

class QChart;
class QPalette;

// Draws the figures of a chart with Qt Charts, in colours read on the
// window's background, light or dark.
namespace Graphiques {

// A new chart, owned by the caller (or by the view it is given to).
QChart* creer(const Statistiques::Graphique& graphique, const QPalette& palette);

} // namespace Graphiques
