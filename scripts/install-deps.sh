#!/usr/bin/env bash
# Installs the Debian packages the editor needs to build, run, test, benchmark,
# fuzz and package, and fetches the pinned Emmet bundle it ships. Only what is
# missing is installed or fetched; safe to re-run, needs no terminal.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)

packages=(
  build-essential cmake ninja-build pkg-config ccache curl ca-certificates
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev
  qt6-declarative-dev
  qt6-webengine-dev qt6-webengine-dev-tools qt6-webchannel-dev
  libqscintilla2-qt6-dev
  libtidy-dev libxml2-dev
  qt6-image-formats-plugins qt6-qpa-plugins
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  xvfb xauth xdotool imagemagick openbox icewm x11-utils
  at-spi2-core dbus-x11 python3-pyatspi
  dpkg-dev desktop-file-utils appstream lintian
  fonts-liberation fonts-dejavu-core
)

# Node runs Emmet's own expansions for the tests to compare ours with. A
# Node that is there already (some bundle npm and conflict with Debian's npm
# package) is kept; npm itself is never needed.
if ! command -v node >/dev/null 2>&1; then
  packages+=(nodejs)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
  fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Emmet (MIT licence), from the npm registry: the tarball of the pinned
# version, checked against its pinned SHA-512 before anything of it is used,
# unpacked into .deps/emmet (outside git). The build ships its ES module
# bundle and its licence in the program folder's emmet/.
emmet_version=2.4.11
emmet_sha512=db740f241de6a21fd4f6c4f8ad0cc681ecb2188adc33e187e6e5588360bac1923100826aecd83740b4fbf6d97c154c035e1caaf52bac7e49ceae87c02aabe0c9
emmet_dir=$repo/.deps/emmet
emmet_stamp="emmet $emmet_version $emmet_sha512"
if [ "$(cat "$emmet_dir/.fetched" 2>/dev/null || true)" != "$emmet_stamp" ]; then
  echo "Fetching emmet@$emmet_version"
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  curl -fsSL --retry 3 -o "$scratch/emmet.tgz" \
    "https://registry.npmjs.org/emmet/-/emmet-$emmet_version.tgz"
  echo "$emmet_sha512  $scratch/emmet.tgz" | sha512sum -c --quiet -
  rm -rf "$emmet_dir"
  mkdir -p "$emmet_dir"
  tar -xzf "$scratch/emmet.tgz" -C "$emmet_dir" --strip-components=1 \
    package/package.json package/LICENSE package/dist/emmet.es.js
  printf '%s\n' "$emmet_stamp" >"$emmet_dir/.fetched"
fi
