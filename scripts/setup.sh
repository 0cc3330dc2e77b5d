#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Velmora need.
set -euo pipefail
packages=(
  cmake g++ make pkg-config
  qt6-base-dev libgl-dev
  libqt6sql6-sqlite libqt6sql6-odbc libqt6sql6-psql
  unixodbc-dev tdsodbc odbc-postgresql
  postgresql
  fonts-noto-cjk
  xvfb xauth
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi
