#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages one use of the project needs; does nothing when they are present.
# usage: scripts/deps.sh run|package|test
#   run      what the program needs to build and run (scripts/run.sh)
#   package  that, and debhelper to build the Debian package (scripts/package.sh)
#   test     everything: the tests, benchmarks, sanitizers and fuzzing, the print queue, the
#            package and its checks, the Japanese locale (scripts/test.sh)
set -euo pipefail
use=${1:-test}
run=(cmake g++ ninja-build pkg-config qt6-base-dev qt6-svg-dev libcups2-dev libdxflib-dev librsvg2-bin
     fonts-ipafont-mincho fonts-ipafont-gothic qt6-translations-l10n)
package=(debhelper dpkg-dev)
test=(libgtest-dev libbenchmark-dev clang-14 libclang-rt-14-dev
      xvfb xauth xclip xdotool poppler-utils cups printer-driver-cups-pdf locales python3-ezdxf
      file lintian devscripts desktop-file-utils appstream mandoc)
case $use in
  run) packages=("${run[@]}") ;;
  package) packages=("${run[@]}" "${package[@]}") ;;
  test) packages=("${run[@]}" "${package[@]}" "${test[@]}") ;;
  *) echo "usage: scripts/deps.sh run|package|test" >&2; exit 2 ;;
esac
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# The tests run the programs under the locale of every user as well.
if [ "$use" = test ] && ! locale -a 2>/dev/null | grep -qx 'ja_JP.utf8'; then
  $sudo localedef -i ja_JP -c -f UTF-8 ja_JP.UTF-8
fi
