#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running need.
# As root it installs what is missing; otherwise it prints the one command
# that would, and stops.
set -euo pipefail

packages=(build-essential cmake qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev libgl-dev libxxhash-dev
          fonts-dejavu-core fonts-liberation2 xvfb xauth xdotool openbox x11-utils imagemagick
          poppler-utils clang clang-format libclang-rt-14-dev ccache
          dpkg-dev file lintian appstream desktop-file-utils shared-mime-info
          dbus-daemon dbus-bin at-spi2-core python3-pyatspi python3-dbus)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "Some system packages are missing. Install them with:"
  echo "  sudo apt-get install ${missing[*]}"
  exit 1
fi
