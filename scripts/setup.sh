#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need, only
# those that are missing, then configures and builds the game, its tools and
# its assets in build/. Safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(
  build-essential cmake pkg-config
  liballegro4-dev libvorbis-dev libpng-dev libx11-dev libsdl2-dev
  libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth xdotool x11-apps imagemagick x11-utils openbox wmctrl
  valgrind
  desktop-file-utils appstream man-db dpkg-dev file lintian
  libpugixml-dev nlohmann-json3-dev zlib1g-dev libzstd-dev tiled zstd perl
)

missing=()
for package in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if ((${#missing[@]})); then
  echo "== installing missing packages: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "== all packages present"
fi

JOBS=$(nproc)
echo "== configuring and building build/ (game, tools, assets, tests)"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$JOBS"
