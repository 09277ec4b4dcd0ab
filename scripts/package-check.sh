#!/usr/bin/env bash
# Builds the Debian package, validates the desktop entry and the AppStream
# metadata, installs the package, starts the installed program (also as a
# first start from the desktop, in a fake home) and removes the package.
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
export DEBIAN_FRONTEND=noninteractive

bash "$racine/scripts/deps.sh"
[ -f "$racine/build/CMakeCache.txt" ] || bash "$racine/scripts/build.sh"
cmake --build "$racine/build" --parallel

echo "== Debian package"
rm -f "$racine"/build/phylacto_*.deb
(cd "$racine/build" && cpack -G DEB)
paquet="$(ls "$racine"/build/phylacto_*.deb)"
dpkg-deb --info "$paquet"

# A package left by an earlier run would hide this one (same version).
$sudo_cmd apt-get remove -y phylacto >/dev/null 2>&1 || true
travail="$(mktemp -d "${TMPDIR:-/tmp}/phylacto-paquet.XXXXXX")"
nettoyer() {
  $sudo_cmd apt-get remove -y phylacto >/dev/null 2>&1 || true
  rm -rf "$travail"
}
trap nettoyer EXIT
$sudo_cmd apt-get install -y "$paquet"

echo "== Installed files"
test -x /usr/bin/phylacto
desktop-file-validate /usr/share/applications/phylacto.desktop
appstreamcli validate --no-net /usr/share/metainfo/*Phylacto*.metainfo.xml
test -f /usr/share/icons/hicolor/48x48/apps/phylacto.png
test -f /usr/share/phylacto/AddPicture.bmp
test -f /usr/share/phylacto/icon.ico

echo "== Installed program"
phylacto --version
QT_QPA_PLATFORM=offscreen phylacto --screenshot "$travail/dossier.png" "$travail/collection"
test -s "$travail/dossier.png"
test -f "$travail/collection/icon.ico"
test -f "$travail/collection/data/AddPicture.bmp"
test -d "$travail/collection/images"

echo "== First start from the desktop menu (working directory: the home folder)"
mkdir -p "$travail/home"
(cd "$travail/home" && env -u XDG_DATA_HOME HOME="$travail/home" QT_QPA_PLATFORM=offscreen \
   phylacto --screenshot "$travail/menu.png")
test -s "$travail/menu.png"
test -f "$travail/home/.local/share/Phylacto/data/AddPicture.bmp"
test -f "$travail/home/.local/share/Phylacto/icon.ico"
test -f "$travail/home/.local/share/Phylacto/data/settings.ini"
test ! -e "$travail/home/data"
echo "Package check passed: $(basename "$paquet")"
