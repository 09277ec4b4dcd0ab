#pragma once

#include <QCoreApplication>
#include <QString>

// Texts shown to the user from code outside the window classes, in the main
// window's translation context: a file names `using Traduction::tr;` and
// writes tr("…") as a window would.
namespace Traduction {

inline QString tr(const char* texte)
{
    return QCoreApplication::translate("Phylacto", texte);
}

} // namespace Traduction
