#!/bin/sh
# The long fuzzing run (not part of CI): every harness at once to FUZZ_RUNS executions
# (default 10^7), or until FUZZ_SECONDS have passed when that is set, then one line per
# harness with its executions, exec/s, coverage and crashes. Progress goes to
# build-fuzz/logs/. Meant for an idle machine; on a shared one start it as
#   nice -n 19 scripts/fuzz-long.sh > fuzz-long.txt 2>&1 &
# Never pause it (kill -STOP) to free the machine: libFuzzer's 10 s limit per input counts
# wall time, so every harness reports a timeout when it is resumed, and stops.
set -eu

. "$(dirname "$0")/fuzz-lib.sh"
runs="${FUZZ_RUNS:-10000000}"
seconds="${FUZZ_SECONDS:-0}"  # 0: no time limit

fuzz_build_all
fuzz_make_seeds
pids=""
for harness in $fuzz_harnesses; do
  fuzz_run "$harness" -runs="$runs" -max_total_time="$seconds" &
  pids="$pids $!"
done
status=0
for pid in $pids; do
  wait "$pid" || status=1
done
for harness in $fuzz_harnesses; do fuzz_summary "$harness"; done
exit $status
