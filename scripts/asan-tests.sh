#!/usr/bin/env bash
# Builds the whole test suite with AddressSanitizer and UBSan in build-asan/
# and runs it: cover dialogs, loans and the explorer are created and destroyed
# while answers and albums they point at come and go.
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
lanceur=()
command -v ccache >/dev/null && lanceur=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$racine" -B "$racine/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
      -DPHYLACTO_ASAN=ON -DPHYLACTO_BUILD_BENCH=OFF "${lanceur[@]}"
cmake --build "$racine/build-asan" --parallel
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=0:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"
cd "$racine/build-asan"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600
