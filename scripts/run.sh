#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what the program needs, builds the programs only (no tests, benchmarks or fuzz
# targets: scripts/test.sh builds those), and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
scripts/build.sh --programs
exec build/src/app/tovanel "$@"
