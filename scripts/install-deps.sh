#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Zelvotta need; with
# the argument "mingw" also those of the Windows cross build, with "generator" also those
# that scripts/make_characters.py uses to draw the demo characters (Cairo) and make their
# sounds, and those scripts/make-showcase.sh opens as windows on its desktop picture.
# Does nothing when they are all present; runs as root or through sudo, never asks.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkgconf
  clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libpng-dev zlib1g-dev libgif-dev
  libpixman-1-dev
  libopenal-dev
  libfreetype-dev libfontconfig-dev fonts-ipafont-gothic fonts-dejavu-core
  qt6-base-dev qt6-qpa-plugins libxcb1-dev libxcb-shape0-dev libxcb-shm0-dev libxcb-xinput-dev
  xvfb xauth xcompmgr trayer xdotool imagemagick x11-utils x11-xserver-utils python3
  pulseaudio xpenguins
  dpkg-dev file desktop-file-utils strace
)
# The Windows cross build and Wine, for `scripts/test.sh mingw` (install-deps.sh mingw).
if [ "${1:-}" = "mingw" ]; then
  packages+=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev googletest wine wine64 patch)
fi
if [ "${1:-}" = "generator" ]; then
  packages+=(sox espeak-ng python3-cairo xterm x11-apps gifsicle feh)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  echo "install-deps: need root or sudo to install: ${missing[*]}" >&2
  exit 1
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
