#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, starts the test print queue when it can, and runs every test
# (offscreen; no display needed). Then the checked build (build-san/, scripts/build-san.sh): every
# test but the package's (built from the sources, it is the same test there) again under
# AddressSanitizer and UndefinedBehaviorSanitizer, where any report fails the test, and every fuzz
# target for TOVANEL_FUZZ_SECONDS (30) from its corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
scripts/build.sh
# The printing test prints to a CUPS queue when one can be set up (root); otherwise it is skipped
# and says why.
scripts/printqueue.sh || echo "No print queue: the printing test will be skipped."
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j2 --timeout 300

scripts/build-san.sh
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
ctest --test-dir build-san --output-on-failure -j2 --timeout 600 -LE "fuzz|package"
# A fault found leaves its reproducer in build-san/tests/fuzz/TARGET/artifacts/.
rm -f build-san/tests/fuzz/*/summary
status=0
ctest --test-dir build-san --output-on-failure -j2 --timeout 900 -L fuzz || status=$?
cat build-san/tests/fuzz/*/summary 2>/dev/null || true
exit $status
