#!/usr/bin/env bash
# Fresh machine to a running Phylacto on the demo collection. The demo folder
# is copied to a scratch folder first, so the committed files never change.
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
bash "$racine/scripts/deps.sh"
bash "$racine/scripts/build.sh"
travail="$(mktemp -d "${TMPDIR:-/tmp}/phylacto-demo.XXXXXX")"
cp -a "$racine/demo/." "$travail/"
echo "Demo working directory: $travail"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$racine/build/phylacto" "$travail"
fi
capture="$racine/build/phylacto-demo.png"
echo "No display found: starting Phylacto offscreen and saving a screenshot to $capture"
QT_QPA_PLATFORM=offscreen "$racine/build/phylacto" --screenshot "$capture" "$travail"
echo "Screenshot written: $capture"
