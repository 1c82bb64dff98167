#!/usr/bin/env bash
# Installs the Debian packages Quillory needs to build, test, play and install, and only those
# that are missing. Safe to run again: when everything is there it prints nothing and changes
# nothing.
#   scripts/install-deps.sh            build, play and test packages
#   scripts/install-deps.sh --extra    also the optional ones (benchmarks, test images, fuzzing)
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libtinyxml2-dev libpng-dev zlib1g-dev libjpeg62-turbo-dev
  libogg-dev libvorbisidec-dev libfreetype-dev fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
  libsixel-examples # the PNG test suite and sample pictures the image reader tests decode
  desktop-file-utils appstream # the install check validates the desktop entry and metainfo
)
extra_packages=(clang libclang-rt-14-dev libpixman-1-dev vorbis-tools)

if [ "${1:-}" = "--extra" ]; then
  packages+=("${extra_packages[@]}")
fi

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  if [ "$status" != "install ok installed" ]; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
echo "Installing missing packages: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "Installed: ${missing[*]}"
