#!/usr/bin/env bash
# Installs the Debian packages Phylacto needs to build, run and test, and any
# further package named on the command line.
set -euo pipefail
paquets=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools qt6-5compat-dev qt6-charts-dev libicu-dev libzip-dev pkgconf libgl-dev
         qt6-qpa-plugins qt6-translations-l10n xvfb xauth
         desktop-file-utils appstream dpkg-dev "$@")
manquants=()
for p in "${paquets[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || manquants+=("$p")
done
if [ ${#manquants[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y "${manquants[@]}"
fi
