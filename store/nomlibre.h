#pragma once

#include <QByteArray>
#include <QString>

// Names that never replace a file someone else put there.
namespace NomLibre {

// "base-n.ext" for "base.ext" ("nom-n" without an extension).
QString numeroter(const QString& nom, int n);

// The name under which a file goes into dossier instead of replacing one:
// nom when no file has it, or when contenu is given and that file already
// holds exactly contenu (the same picture keeps its name); else the first
// numeroter(nom, 2), numeroter(nom, 3) … that qualifies the same way.
// Empty when none is found.
QString choisir(const QString& dossier, const QString& nom, const QByteArray* contenu = nullptr);

// choisir() for a path: the path itself or its numbered name, in the same
// folder and written the same way (relative stays relative). Empty when none
// is free.
QString cheminLibre(const QString& chemin, const QByteArray* contenu = nullptr);

} // namespace NomLibre
