#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the app need, if any are missing.
set -euo pipefail

packages=(
    build-essential cmake pkg-config git
    juce-modules-source fst-dev lv2-dev
    libasound2-dev libfreetype-dev libfontconfig1-dev libx11-dev libxrandr-dev libxinerama-dev
    libxcursor-dev libxext-dev libgl-dev libcurl4-openssl-dev libflac-dev libvorbis-dev libogg-dev
    libpng-dev libjpeg-dev libgtest-dev libbenchmark-dev fonts-liberation2 xvfb xauth
    clang libclang-rt-14-dev python3 ardour ccache
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo_cmd apt-get update -qq
    $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
