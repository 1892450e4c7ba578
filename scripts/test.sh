#!/usr/bin/env bash
# Builds everything and runs every test, in stages: the full tree under CTest (build/), the
# core again under AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/), the Windows
# build under Wine, the fuzzing smoke run, and the Debian package (built, checked, installed,
# started and removed). Each stage's output goes to build-logs/<stage>.log; the console gets
# a line as each stage ends (and the end of its log when it fails), then one summary line per
# stage with its time and counts, and a last line "N passed, N failed, N skipped" over every
# stage. Every stage runs even after a failure; the exit status is non-zero when any failed.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
jobs="${NORVALDE_JOBS:-2}"
logs="$root/build-logs"
# Window tests need no screen.
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"

bash scripts/install-deps.sh test
mkdir -p "$logs"

summary=()
total_passed=0
total_failed=0
total_skipped=0
status=0
start_all=$SECONDS

# Counts a stage reports through these, set by the stage's counting function.
passed=0
failed=0
skipped=0

duration() {
  printf '%dm%02ds' $(($1 / 60)) $(($1 % 60))
}

# stage <title> <log name> <counting function> <command...>: runs the command with its output
# in the log, then the counting function, which reads the log and the command's status ($1,
# $2) and sets passed, failed and skipped.
stage() {
  local title="$1" name="$2" count="$3"
  shift 3
  local log="$logs/$name.log" start=$SECONDS code=0
  echo "=== $title (output in build-logs/$name.log)"
  "$@" >"$log" 2>&1 </dev/null || code=$?
  passed=0 failed=0 skipped=0
  "$count" "$log" "$code"
  local verdict=passed
  if [[ $code -ne 0 || $failed -ne 0 ]]; then
    verdict=FAILED
    status=1
    tail -n 40 "$log" | sed 's/^/    /'
  fi
  local line
  line="$(printf '%-7s %-28s %8s  %d passed, %d failed, %d skipped' "$verdict" "$title" \
    "$(duration $((SECONDS - start)))" "$passed" "$failed" "$skipped")"
  echo "$line"
  summary+=("$line")
  total_passed=$((total_passed + passed))
  total_failed=$((total_failed + failed))
  total_skipped=$((total_skipped + skipped))
}

# CTest's own summary: "N% tests passed, F tests failed out of T", where T counts skipped
# tests (as passed) but not disabled ones; both are listed as tests that did not run.
count_ctest() {
  local log="$1" code="$2" line total
  line="$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)"
  if [[ -z "$line" ]]; then
    failed=1  # the build failed, or CTest found no tests
    return
  fi
  failed="$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$line")"
  total="$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")"
  local skip disabled
  skip="$(grep -cE '^[[:space:]]*[0-9]+ - .* \(Skipped\)$' "$log" || true)"
  disabled="$(grep -cE '^[[:space:]]*[0-9]+ - .* \(Disabled\)$' "$log" || true)"
  passed=$((total - failed - skip))
  skipped=$((skip + disabled))
  if [[ $code -ne 0 && $failed -eq 0 ]]; then
    failed=1
  fi
}

# The last line of a script that counts its own tests: "N passed, N failed" with an optional
# ", N skipped". Without the skipped count, the tests GoogleTest reports as skipped in the log
# are counted. A script that ends without such a line counts as one check, passed or failed by
# its exit status.
count_last_line() {
  local log="$1" code="$2" line
  line="$(grep -v '^[[:space:]]*$' "$log" | tail -1)"
  if [[ "$line" =~ ^([0-9]+)\ passed,\ ([0-9]+)\ failed(,\ ([0-9]+)\ skipped)?$ ]]; then
    passed="${BASH_REMATCH[1]}"
    failed="${BASH_REMATCH[2]}"
    if [[ -n "${BASH_REMATCH[3]}" ]]; then
      skipped="${BASH_REMATCH[4]}"
    else
      skipped="$(sed -nE 's/^\[  SKIPPED \] ([0-9]+) tests?, listed below:.*/\1/p' "$log" |
        awk '{ n += $1 } END { print n + 0 }')"
    fi
  elif [[ $code -eq 0 ]]; then
    passed=1
  fi
  if [[ $code -ne 0 && $failed -eq 0 ]]; then
    failed=1
  fi
}

build_and_test() {
  local folder="$1"
  shift
  cmake -S "$root" -B "$folder" "$@" &&
    cmake --build "$folder" -j"$jobs" &&
    ctest --test-dir "$folder" --output-on-failure -j"$jobs"
}

stage "ctest (native)" ctest-native count_ctest build_and_test build \
  -DNORVALDE_BUILD_APP=ON -DNORVALDE_BUILD_TESTS=ON -DNORVALDE_BUILD_BENCH=ON
# -O1 with line tables only: the sanitizers still name file and line, and the build takes
# less than half the time of an optimised build with full debug information.
stage "ctest (sanitizers)" ctest-sanitizers count_ctest build_and_test build-asan \
  -DNORVALDE_SANITIZE=ON -DNORVALDE_BUILD_APP=OFF -DNORVALDE_BUILD_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1"
stage "Windows build under Wine" windows count_last_line bash scripts/test-windows.sh
stage "fuzzing smoke run" fuzz count_last_line bash scripts/fuzz-smoke.sh
stage "Debian package" package count_last_line bash scripts/package-check.sh build

echo
echo "=== summary (logs in build-logs/)"
printf '%s\n' "${summary[@]}"
printf '%-7s %-28s %8s\n' "" "total" "$(duration $((SECONDS - start_all)))"
echo "$total_passed passed, $total_failed failed, $total_skipped skipped"
exit $status
