#!/usr/bin/env bash
# Installs the Debian packages the game and its tests need. Quiet and quick
# when everything is already there.
set -euo pipefail

packages=(
    cmake ninja-build pkg-config g++
    libsdl1.2-dev libsdl-image1.2-dev libsdl-mixer1.2-dev libsdl-ttf2.0-dev libjpeg-dev
    liblua5.1-0-dev libtinyxml-dev libminizip-dev libvorbis-dev
    libboost-dev libboost-iostreams-dev
    libgl-dev libglu1-mesa-dev libgtest-dev libx11-dev
    xvfb xauth xdotool imagemagick fonts-dejavu-core zip p7zip-full python3
    clang libclang-rt-14-dev
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
