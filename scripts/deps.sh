#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the build and the tests need; does nothing when they are present.
set -euo pipefail
packages=(qt6-base-dev qt6-svg-dev fonts-ipafont-mincho fonts-ipafont-gothic libgtest-dev libbenchmark-dev
          cmake g++ ninja-build xvfb xauth xclip xdotool poppler-utils
          libcups2-dev cups printer-driver-cups-pdf qt6-translations-l10n locales
          pkg-config libdxflib-dev python3-ezdxf
          dpkg-dev file lintian desktop-file-utils appstream
          clang-14 libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
