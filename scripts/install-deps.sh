#!/usr/bin/env bash
# Installs every Debian package Strumbo! needs to build, run and test.
# Both ./run.sh and ./test.sh call this; it does nothing when all are present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-base-private-dev libgl-dev
  libfluidsynth-dev librtmidi-dev libsimpleini-dev
  fluid-soundfont-gm timgm6mb-soundfont fluidsynth
  googletest libgtest-dev libgmock-dev
  xvfb xauth fonts-dejavu-core fonts-liberation2
  clang clang-format libclang-rt-14-dev
  desktop-file-utils appstream
  libxml2-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
