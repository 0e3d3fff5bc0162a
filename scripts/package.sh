#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing and builds the Debian package from debian/ with dpkg-buildpackage -b
# (debhelper, the distribution's hardened build flags): tovanel_<version>_amd64.deb and its
# debug symbols, tovanel-dbgsym_<version>_amd64.deb, in build/ or in the folder given.
# The build runs on a copy of the source tree in OUTDIR/debian-build/tovanel-<version>, so the
# working tree stays clean; OUTDIR/debian-build also keeps the source package (.dsc), the .changes
# and the build log.
# usage: scripts/package.sh [OUTDIR]
set -euo pipefail
cd "$(dirname "$0")/.."
source=$PWD
out=$(realpath -m "${1:-build}")
scripts/deps.sh package
version=$(dpkg-parsechangelog -l debian/changelog -S Version)
work=$out/debian-build
tree=$work/tovanel-$version
rm -rf "$work"
mkdir -p "$tree"
# The files of the project as they stand (committed or not), nothing built.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files -z --cached --others --exclude-standard |
    xargs -0 sh -c 'for f; do [ -e "$f" ] && printf "%s\0" "$f"; done' files |
    tar --null -T - -cf - | tar -C "$tree" -xf -
else
  tar -C "$source" --exclude='./build*' --exclude=./.git -cf - . | tar -C "$tree" -xf -
fi
# The source package too (the tree as it is, for lintian), then the binary packages.
(cd "$work" && dpkg-source -b "tovanel-$version" >"$work/source.log" 2>&1) ||
  { cat "$work/source.log" >&2; echo "package.sh: dpkg-source failed" >&2; exit 1; }
(cd "$tree" && dpkg-buildpackage -b -us -uc -jauto >"$work/build.log" 2>&1) ||
  { grep -v '^\[[0-9]*/[0-9]*\]' "$work/build.log" | tail -n 25 >&2; echo "package.sh: dpkg-buildpackage failed (log: $work/build.log)" >&2; exit 1; }
cp "$work"/*.deb "$out/"
ls "$work"/*.deb | xargs -n1 basename | sed "s|^|$out/|"
