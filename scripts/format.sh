#!/usr/bin/env bash
# Formats every tracked C++ file with the repository's .clang-format.
# --verifier changes nothing and fails when a file is not formatted (CI).
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
cd "$racine"
command -v clang-format >/dev/null || bash scripts/deps.sh clang-format
mapfile -t fichiers < <(git ls-files -- '*.cpp' '*.h')
if [ "${1:-}" = "--verifier" ]; then
    clang-format --dry-run --Werror "${fichiers[@]}"
else
    clang-format -i "${fichiers[@]}"
fi
