#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fuzzes one target for longer than the test command does: scripts/fuzz.sh TARGET [SECONDS]
# TARGET is a name from tests/fuzz/CMakeLists.txt (settings, clipimport, numbers, trial,
# document, ...); SECONDS defaults to 600. Builds the checked build first (scripts/build-san.sh).
# New inputs collect in build-san/tests/fuzz/TARGET/corpus; a fault leaves its reproducer in
# build-san/tests/fuzz/TARGET/artifacts/ and ends with a failure.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -lt 1 ]; then
  echo "usage: scripts/fuzz.sh TARGET [SECONDS]" >&2
  exit 2
fi
target=$1
seconds=${2:-600}
if [ ! -d "tests/fuzz/corpus/$target" ]; then
  echo "fuzz.sh: no fuzz target $target (targets: $(ls tests/fuzz/corpus | tr '\n' ' '))" >&2
  exit 2
fi
scripts/deps.sh test
scripts/build-san.sh "${target}_fuzzer"
export QT_QPA_PLATFORM=offscreen
exec bash tests/fuzz/run.sh "build-san/tests/fuzz/${target}_fuzzer" "tests/fuzz/corpus/$target" \
  "build-san/tests/fuzz/$target" "$seconds"
