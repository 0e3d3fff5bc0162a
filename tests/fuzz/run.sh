#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fuzzes one target for a bounded time: run.sh FUZZER SEEDS WORK [SECONDS]
# New inputs go to WORK/corpus (the checked-in SEEDS folder is only read); a crash, a leak, a
# timeout or a failed check ends the run with a failure and leaves the reproducer in
# WORK/artifacts/. SECONDS defaults to TOVANEL_FUZZ_SECONDS, else 30.
set -uo pipefail
fuzzer=$1 seeds=$2 work=$3
seconds=${4:-${TOVANEL_FUZZ_SECONDS:-30}}
name=$(basename "$fuzzer")
mkdir -p "$work/corpus" "$work/artifacts"
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "$0")/.." && pwd)/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
# One input may take at most 10 s and 2 GB; inputs stay below 4 KB, plenty for any real file.
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
  -print_final_stats=1 -artifact_prefix="$work/artifacts/" "$work/corpus" "$seeds" >"$work/log" 2>&1
status=$?
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -1)
if [ "$status" -ne 0 ]; then
  # The report: everything from the first sanitizer or check message on.
  pattern='^==[0-9]+==|does not hold|ERROR: libFuzzer|^SUMMARY|runtime error'
  first=$(grep -n -m1 -E "$pattern" "$work/log" | cut -d: -f1)
  [ -n "$first" ] && sed -n "$first,\$p" "$work/log" | head -80
  echo "$name: FAILED after ${runs:-?} runs (exit $status); full log $work/log" | tee "$work/summary"
  for f in "$work"/artifacts/*; do
    [ -e "$f" ] && echo "$name: reproducer $f (replay: $fuzzer $f; keep it in $seeds/ once mended)"
  done
  exit 1
fi
echo "$name: ${runs:-?} runs in ${seconds} s, nothing found" | tee "$work/summary"
