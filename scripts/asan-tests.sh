#!/usr/bin/env bash
# Builds the cover tests with AddressSanitizer and UBSan in build-asan/ and
# runs them: the cover dialogs are created and destroyed while network
# answers are still on their way.
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
cibles=(test_couvertures)
lanceur=()
command -v ccache >/dev/null && lanceur=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$racine" -B "$racine/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
      -DPHYLACTO_ASAN=ON -DPHYLACTO_BUILD_BENCH=OFF "${lanceur[@]}"
cmake --build "$racine/build-asan" --parallel --target "${cibles[@]}"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="abort_on_error=1:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"
for cible in "${cibles[@]}"; do
  "$racine/build-asan/tests/$cible"
done
