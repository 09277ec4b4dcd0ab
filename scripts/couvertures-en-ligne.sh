#!/usr/bin/env bash
# Maintainer's check of the keyless cover sources on the live services (needs
# the network; never run by CI). Builds the program, searches six well-known
# albums on each source and prints, per source, which got a cover.
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
construction="${BUILD_DIR:-$racine/build}"
if [ ! -f "$construction/CMakeCache.txt" ]; then
  cmake -S "$racine" -B "$construction" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$construction" --target phylacto -j2
QT_QPA_PLATFORM=offscreen "$construction/phylacto" --couvertures-en-ligne
