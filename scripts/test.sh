#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, starts the test print queue when it can, and runs every test
# (offscreen; no display needed).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
# The printing test prints to a CUPS queue when one can be set up (root); otherwise it is skipped
# and says why.
scripts/printqueue.sh || echo "No print queue: the printing test will be skipped."
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j2 --timeout 300
