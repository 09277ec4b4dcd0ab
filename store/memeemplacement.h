#pragma once

#include <QString>

// True when a and b name the same file or folder: through symbolic links
// when both exist, otherwise as clean absolute paths (QFileInfo's own
// comparison takes two missing files for the same one). An empty path names
// nothing.
bool memeEmplacement(const QString& a, const QString& b);
