#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# tovanel-cli --help and its manual page name the same options: every option the help lists has
# an entry of its own in the page, and the page mentions none the program lacks.
# usage: manpage_options.sh TOVANEL_CLI PAGE
set -euo pipefail
options() { grep -oE -- '--[a-z][a-z0-9-]*[a-z0-9]' | sort -u; }
text=$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' "$2")
help=$("$1" --help | grep -E '^ +--' | options)
entries=$(echo "$text" | awk 'tp { print } { tp = ($0 == ".TP") }' | options)
mentioned=$(echo "$text" | options)
[ -n "$help" ] || { echo "tovanel-cli --help lists no option" >&2; exit 1; }
status=0
report() {  # report TITLE A B: what A has and B lacks
  local extra
  extra=$(comm -23 <(echo "$2") <(echo "$3"))
  [ -z "$extra" ] || { echo "$1:" $extra >&2; status=1; }
}
report "listed by --help, no entry in the page" "$help" "$entries"
report "an entry in the page, not listed by --help" "$entries" "$help"
report "mentioned in the page, not listed by --help" "$mentioned" "$help"
[ $status -eq 0 ] && echo "$(echo "$help" | wc -l) options agree"
exit $status
