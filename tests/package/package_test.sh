#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package as a user receives it: packed from the build folder, checked with lintian,
# unpacked into a temporary root (nothing is installed on the system) and run from there.
# usage: package_test.sh CPACK BUILD_DIR SOURCE_DIR
set -euo pipefail
cpack=$1 build=$2 source=$3
work=$(mktemp -d)
gui=""
trap '[ -n "$gui" ] && kill "$gui" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# --- the package
"$cpack" --config "$build/CPackConfig.cmake" -B "$work/pkg" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack could not build the package"; }
deb=$(echo "$work"/pkg/tovanel_*_amd64.deb)
[ -f "$deb" ] || fail "no tovanel_<version>_amd64.deb in $(ls "$work/pkg")"
version=$(dpkg-deb -f "$deb" Version)
[ "$(basename "$deb")" = "tovanel_${version}_amd64.deb" ] || fail "$(basename "$deb") is not named for version $version"
[ "$(dpkg-parsechangelog -l "$source/doc/changelog" -S Version)" = "$version" ] ||
  fail "doc/changelog does not begin with version $version"

dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./||' >"$work/contents"
for f in usr/bin/tovanel usr/bin/tovanel-cli usr/share/tovanel/Tovanel.INI \
         usr/share/applications/tovanel.desktop usr/share/icons/hicolor/scalable/apps/tovanel.svg \
         usr/share/man/man1/tovanel.1.gz usr/share/man/man1/tovanel-cli.1.gz \
         usr/share/doc/tovanel/copyright usr/share/doc/tovanel/changelog.gz; do
  grep -qx "$f" "$work/contents" || fail "the package lacks /$f"
done
metainfo=$(grep -x 'usr/share/metainfo/.*\.metainfo\.xml' "$work/contents") || fail "no AppStream metadata"
! grep -q '^usr/bin/.*\.INI$' "$work/contents" || fail "the program folder holds a settings file"

depends=", $(dpkg-deb -f "$deb" Depends),"
for d in fonts-ipafont-mincho fonts-ipafont-gothic libqt6widgets6 libqt6printsupport6 libc6; do
  [[ $depends == *", $d"[\ ,]* ]] || fail "Depends lacks $d: $depends"
done

lintian --fail-on error --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 ||
  { cat "$work/lintian.log" >&2; fail "lintian reports errors"; }
grep -v 'running with root privileges' "$work/lintian.log" || true  # warnings, for the record

# --- unpacked into a temporary root, run as a user with an empty home
root=$work/root
dpkg-deb -x "$deb" "$root"
export HOME=$work/home QT_QPA_PLATFORM=offscreen
unset XDG_CONFIG_HOME
mkdir -p "$HOME"
cli=$root/usr/bin/tovanel-cli
corner=(--bp 0,0 --ip 100,100 --ep 0,200 --radius 100)
divisions() { "$cli" "${corner[@]}" --elements | sed -n 's/^DivCount=//p'; }
# A settings file with the given limits of one division (middle ordinate, arc length).
settings() {
  printf '4\r\n3\r\n%s\r\n%s\r\n0.01\r\n0\r\n0\r\n0\r\n0\r\n0\r\n' "$1" "$2"
  printf '"%s"\r\n' C I O 0 2 "" "" "" "" ""
}

[ "$("$cli" --version)" = "tovanel-cli $version" ] || fail "tovanel-cli --version: $("$cli" --version)"
"$cli" "${corner[@]}" --type 0 --ip-number 7 --pdf "$work/sheets.pdf" || fail "tovanel-cli could not write the sheets"
[ "$(head -c 5 "$work/sheets.pdf")" = "%PDF-" ] || fail "the sheets are no PDF"
pages=$(pdfinfo "$work/sheets.pdf" | sed -n 's/^Pages: *//p')
[ "${pages:-0}" -ge 2 ] || fail "the worked example gave ${pages:-no} pages"

# Settings: the shipped default is read while the user has none ...
[ "$(divisions)" = 25 ] || fail "the shipped settings give $(divisions) divisions, not 25"
settings 0.5 20 >"$root/usr/share/tovanel/Tovanel.INI"
[ "$(divisions)" = 8 ] || fail "tovanel-cli does not read share/tovanel/Tovanel.INI"
[ ! -e "$HOME/.config" ] || fail "tovanel-cli created $HOME/.config"
# ... the program's first start copies it into the user's folder ...
user=$HOME/.config/Tovanel/Tovanel.INI
"$root/usr/bin/tovanel" &
gui=$!
for _ in $(seq 1 300); do
  [ -s "$user" ] && break
  kill -0 "$gui" 2>/dev/null || fail "tovanel ended at start"
  sleep 0.1
done
kill "$gui" 2>/dev/null
gui=""
[ -s "$user" ] || fail "tovanel did not create $user"
cmp -s "$user" "$root/usr/share/tovanel/Tovanel.INI" || fail "$user is not the shipped default"
# ... and from then on the user's file is the one read.
settings 0.5 10 >"$user"
[ "$(divisions)" = 16 ] || fail "tovanel-cli does not read the user's settings"

# --- desktop integration
desktop=$root/usr/share/applications/tovanel.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$root/$metainfo" || fail "appstreamcli validate"
exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$root/usr/bin/$exec" ] || fail "the desktop entry starts $exec, which the package lacks"
grep -q "<launchable type=\"desktop-id\">tovanel.desktop</launchable>" "$root/$metainfo" ||
  fail "the metadata does not launch tovanel.desktop"
echo "package $(basename "$deb") checked"
