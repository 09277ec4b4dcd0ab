#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) in build-fuzz/ and runs each one for the given
# number of seconds (60 by default), starting from the seeds of fuzz/corpus/.
# New inputs go to fuzz/corpus-<target>/ (not committed); crashes to build-fuzz/artefacts/.
set -euo pipefail
duree="${1:-60}"
racine="$(cd "$(dirname "$0")/.." && pwd)"
dossier="$racine/build-fuzz"
cibles=(lignecollection ligneancienne reponsessources)

lanceur=()
command -v ccache >/dev/null && lanceur=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$racine" -B "$dossier" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPHYLACTO_BUILD_FUZZ=ON \
      -DBUILD_TESTING=OFF -DPHYLACTO_BUILD_BENCH=OFF "${lanceur[@]}"
cmake --build "$dossier" --parallel 2 --target "${cibles[@]/#/fuzz_}"

mkdir -p "$dossier/artefacts"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}"
for cible in "${cibles[@]}"; do
  corpus="$racine/fuzz/corpus-$cible"
  mkdir -p "$corpus"
  echo "== fuzz_$cible: ${duree} s"
  "$dossier/fuzz/fuzz_$cible" -max_total_time="$duree" -max_len=8192 -timeout=10 \
      -print_final_stats=1 -artifact_prefix="$dossier/artefacts/$cible-" \
      "$corpus" "$racine/fuzz/corpus/$cible"
done
