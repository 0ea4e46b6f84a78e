#!/usr/bin/env bash
# Installs the Debian packages the editor needs to build, run, test, benchmark,
# fuzz and package. Only missing packages are installed; safe to re-run, needs no terminal.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev
  qt6-webengine-dev qt6-webengine-dev-tools qt6-webchannel-dev
  libqscintilla2-qt6-dev
  libtidy-dev libxml2-dev
  qt6-image-formats-plugins qt6-qpa-plugins
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  xvfb xauth xdotool imagemagick openbox icewm x11-utils
  dpkg-dev desktop-file-utils appstream lintian
  fonts-liberation fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
