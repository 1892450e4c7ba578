#!/bin/sh
# The fuzzing smoke run: builds the libFuzzer harnesses (scripts/fuzz-lib.sh) and runs each for
# a bounded time, seeded with the project's own ROVA files and test tables. Progress goes to
# build-fuzz/logs/; the output is one summary line per harness and a final
# "N passed, N failed, N skipped" line (harnesses). Exits non-zero when a harness finds a
# failure; the input that caused it is kept in build-fuzz/findings/.
#   scripts/fuzz-smoke.sh            # about a minute per harness
#   FUZZ_SECONDS=1200 scripts/fuzz-smoke.sh
set -eu

. "$(dirname "$0")/fuzz-lib.sh"
seconds="${FUZZ_SECONDS:-60}"

fuzz_build_all
fuzz_make_seeds
passed=0
failed=0
for harness in $fuzz_harnesses; do
  if fuzz_run "$harness" -max_total_time="$seconds"; then
    passed=$((passed + 1))
    echo "ok   $(fuzz_summary "$harness")"
  else
    failed=$((failed + 1))
    echo "FAIL $(fuzz_summary "$harness"); see $fuzz_build/logs/$harness.log and findings/"
  fi
done
echo "$passed passed, $failed failed, 0 skipped"
[ "$failed" -eq 0 ]
