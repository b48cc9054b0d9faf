#!/usr/bin/env bash
# Installs the Debian packages the build needs, when they are missing (as root or with sudo).
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config ccache
          qt6-base-dev qt6-svg-dev
          libgtest-dev libgmock-dev libbenchmark-dev
          libchm-dev fp-utils clang clang-format libclang-rt-14-dev
          libxml2-utils qt6-translations-l10n qt6-l10n-tools qt6-tools-dev file
          libsoci-dev libboost-dev libsqlite3-dev sqlite3 libpq-dev libssl-dev uuid-dev
          postgresql)
[ "${1:-}" = "--gui-tools" ] && packages+=(xvfb imagemagick)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
