#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures and builds into build/ (Release with debug information): everything, or with
# `--programs` only tovanel and tovanel-cli (no tests, benchmarks or fuzz targets).
set -euo pipefail
cd "$(dirname "$0")/.."
options=(-DTOVANEL_TESTS=ON -DTOVANEL_BENCH=ON)
[ "${1:-}" = --programs ] && options=(-DTOVANEL_TESTS=OFF -DTOVANEL_BENCH=OFF)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}" >/dev/null
cmake --build build
