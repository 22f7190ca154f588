#!/usr/bin/env bash
# Installs the Debian packages Korumi needs to build, run and test, if any are missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ make pkg-config clang-format
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libjpeg62-turbo-dev
    ffmpeg
    fonts-ipafont-gothic fonts-dejavu-core
    libgtest-dev libgmock-dev
    clang libclang-rt-14-dev
    xvfb xauth xdotool
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
