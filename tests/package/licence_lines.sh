#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every source file states its licence in one SPDX line; lists the files that do not.
# usage: licence_lines.sh SOURCE_DIR
set -euo pipefail
cd "$1"
line='SPDX-License-Identifier: GPL-3.0-or-later'
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  files() { git ls-files; }
else
  files() { find . -path ./.git -prune -o -path './build*' -prune -o -type f -print | sed 's|^\./||'; }
fi
missing=$(files | grep -E '(\.(cpp|h|sh|py|cmake|desktop|svg|1)|\.xml\.in|CMakeLists\.txt|^\.ci/run)$' |
  while read -r f; do grep -qF "$line" "$f" || echo "$f"; done)
if [ -n "$missing" ]; then
  echo "no '$line' line in:" >&2
  echo "$missing" >&2
  exit 1
fi
echo "every source file carries the licence line"
