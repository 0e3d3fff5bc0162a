#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures and builds the checked build into build-san/: everything compiled by clang with
# AddressSanitizer and UndefinedBehaviorSanitizer (any report ends the program with a failure), the
# standard library's and Qt's own bounds checks on (debug configuration, optimised), and the
# libFuzzer targets. No benchmarks. Builds the targets named as arguments, or everything.
set -euo pipefail
cd "$(dirname "$0")/.."
CC=clang-14 CXX=clang++-14 cmake -S . -B build-san -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DTOVANEL_FUZZ=ON -DTOVANEL_BENCH=OFF >/dev/null
if [ $# -gt 0 ]; then
  cmake --build build-san --target "$@"
else
  cmake --build build-san
fi
