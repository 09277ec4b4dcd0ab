#!/usr/bin/env bash
# Fresh machine to passing tests: installs what is needed, builds, runs the suite.
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
bash "$racine/scripts/deps.sh"
bash "$racine/scripts/build.sh"
cd "$racine/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300 2>&1 | tee ctest.log
