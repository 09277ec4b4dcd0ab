#!/usr/bin/env bash
# Screenshots of the main window and its dialogs on the demo collection, under
# Xvfb with a real window manager (openbox), into build/captures/. The README's
# pictures are copied from here.
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
bash "$racine/scripts/deps.sh" openbox
[ -x "$racine/build/phylacto" ] || bash "$racine/scripts/build.sh"
travail="$(mktemp -d "${TMPDIR:-/tmp}/phylacto-captures.XXXXXX")"
trap 'rm -rf "$travail"' EXIT
cp -a "$racine/demo/." "$travail/"
sortie="$racine/build/captures"
rm -rf "$sortie"
mkdir -p "$sortie"
# The per-user window sizes of whoever runs this stay out of the pictures.
export XDG_CONFIG_HOME="$travail/config"
# Nor their thumbnails of the covers wall.
export XDG_CACHE_HOME="$travail/cache"
xvfb-run -a -s "-screen 0 1600x1000x24" bash -c '
  openbox & wm=$!
  sleep 1
  LANG=fr_FR.UTF-8 QT_QPA_PLATFORM=xcb "$1/build/phylacto" --captures "$2" "$3"
  etat=$?
  kill $wm
  exit $etat
' captures "$racine" "$sortie" "$travail"
ls "$sortie"
