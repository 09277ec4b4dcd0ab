#!/usr/bin/env bash
# Configures and builds Phylacto in build/ (Release with debug information).
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
cmake -S "$racine" -B "$racine/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$racine/build" --parallel
