#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
if [ -x build/src/app/tovanel ]; then
  exec build/src/app/tovanel "$@"
fi
# Until the windows exist: the worked example on the command line.
build/src/cli/tovanel-cli --bp 0,0 --ip 100,100 --ep 0,200 --radius 100 --elements
