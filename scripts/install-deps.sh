#!/bin/bash
# Installs the Debian packages the program and its tests need (run as root).
set -euo pipefail
packages=(cmake g++ make qt6-base-dev libgl-dev libgtest-dev
          libreoffice-writer-nogui libreoffice-dev
          fonts-noto-cjk xvfb xauth)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
