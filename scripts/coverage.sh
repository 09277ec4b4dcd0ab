#!/usr/bin/env bash
# Builds the libraries and the tests with --coverage in build-coverage/, runs
# the suite and prints the line coverage of the libraries (every folder of the
# program but app/main.cpp). Not part of CI: the goal is 90 % or more.
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
dossier="$racine/build-coverage"
command -v gcovr >/dev/null || bash "$racine/scripts/deps.sh" gcovr
lanceur=()
command -v ccache >/dev/null && lanceur=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$racine" -B "$dossier" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPHYLACTO_BUILD_BENCH=OFF \
      -DCMAKE_CXX_FLAGS=--coverage -DCMAKE_EXE_LINKER_FLAGS=--coverage "${lanceur[@]}"
cmake --build "$dossier" --parallel 2
find "$dossier" -name '*.gcda' -delete
(cd "$dossier" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300)
filtres=()
for f in app model store covers settings dialogs; do filtres+=(--filter "$racine/$f/"); done
gcovr --root "$racine" "${filtres[@]}" --exclude "$racine/app/main.cpp" --print-summary "$dossier" | tail -3
