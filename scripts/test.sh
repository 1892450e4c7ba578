#!/usr/bin/env bash
# Builds everything and runs every test: the full tree (build/), the core again under
# AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/), the Windows build under Wine
# and the fuzzing smoke run. Every stage runs even after a failure; the exit status is
# non-zero when any stage failed.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
jobs="${NORVALDE_JOBS:-2}"
# Window tests need no screen.
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"

bash scripts/install-deps.sh test

results=()
failed=0
stage() {
  local name="$1"
  shift
  echo
  echo "=== $name"
  local start=$SECONDS
  if "$@"; then
    results+=("passed  $name ($((SECONDS - start)) s)")
  else
    results+=("FAILED  $name ($((SECONDS - start)) s)")
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

stage "build and tests" build_and_test build
# -O1 with line tables only: the sanitizers still name file and line, and the build takes
# less than half the time of an optimised build with full debug information.
stage "sanitizer build and tests" build_and_test build-asan \
  -DNORVALDE_SANITIZE=ON -DNORVALDE_BUILD_APP=OFF -DNORVALDE_BUILD_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1"
if [[ -f scripts/test-windows.sh ]]; then
  stage "Windows build under Wine" bash scripts/test-windows.sh
fi
if [[ -f scripts/fuzz-smoke.sh ]]; then
  stage "fuzzing smoke run" bash scripts/fuzz-smoke.sh
fi

echo
echo "=== summary"
printf '%s\n' "${results[@]}"
exit $failed
