#!/usr/bin/env bash
# Builds the core and its test suites for 64-bit Windows with MinGW-w64 and runs every test
# executable under Wine, in a Wine prefix made for this run and removed afterwards. Then builds
# the window for Windows (scripts/build-windows-app.sh), runs its Qt Test suites under Wine and
# drives the real Norvalde.exe on a virtual display (Xvfb) through the keyboard.
# Prints each executable's summary and a final "N passed, N failed, N skipped" line (tests and
# window checks); exits non-zero when any test fails or an executable does not finish.
# NORVALDE_WINDOWS_APP=OFF leaves the window out, NORVALDE_WINDOWS_CORE=OFF the core.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${NORVALDE_WINDOWS_BUILD:-$root/build-windows}"
jobs="${NORVALDE_JOBS:-2}"

if command -v wine64 >/dev/null; then
  wine=wine64
elif [[ -x /usr/lib/wine/wine64 ]]; then
  wine=/usr/lib/wine/wine64
else
  echo "test-windows: Wine is missing; install the Debian package wine64" >&2
  exit 2
fi
# The server of this run's prefix, stopped at the end; Debian keeps it beside wine64.
wineserver=wineserver
for candidate in "$(dirname "$(command -v "$wine")")/wineserver" /usr/lib/wine/wineserver; do
  if [[ -x "$candidate" ]]; then
    wineserver="$candidate"
    break
  fi
done

# The core: its test executables, built here, each run under Wine; then a table held by a
# Windows program under Wine while the Linux core runs.
build_core() {
  toolchain="$root/cmake/mingw-w64.cmake"
  # GoogleTest from Debian's sources, built once per build folder with the same toolchain.
  # shellcheck source=scripts/mingw-googletest.sh
  source "$root/scripts/mingw-googletest.sh"

  # The native build's optimisation (-O2) without its debug information, which would make every
  # static executable many times larger and slower to link. The test executables cannot run on
  # this machine, so CTest would list their tests only when it runs them (PRE_TEST); this script
  # runs them itself.
  cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
    -DNORVALDE_BUILD_APP=OFF -DNORVALDE_BUILD_BENCH=OFF -DGTest_DIR="$gtest/lib/cmake/GTest" \
    -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST >/dev/null
  cmake --build "$build" -j"$jobs"
}

# Runs one test executable and adds its counts. Arguments: the executable, the name its summary
# and log go under, then NAME=VALUE settings for its environment.
run_suite() {
  local exe="$1" name="$2"
  shift 2
  local log="$build/$name.log"
  local status=0
  # Each suite runs in its own folder, as under CTest; a hung suite is stopped. Its output
  # comes with Windows line ends, kept as plain lines in the log.
  (cd "$(dirname "$exe")" && env "$@" timeout 300 "$wine" "$exe" --gtest_color=no) 2>&1 |
    tr -d '\r' >"$log" || status=$?
  # Counted from the per-test lines, so a suite that crashes still counts what passed before.
  local ran broke left
  ran=$(grep -c '^\[       OK \]' "$log" || true)
  broke=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\?, listed below:.*/\1/p' "$log" | tail -1)
  broke=${broke:-0}
  left=$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) tests\?, listed below:.*/\1/p' "$log" | tail -1)
  skipped=$((skipped + ${left:-0}))
  if [[ $status -ne 0 && $broke -eq 0 ]]; then
    broke=1  # ended without a GoogleTest verdict: a crash or a hang
    echo "== $name: exited with status $status before finishing"
    grep -E '^\[ RUN|Unhandled' "$log" | tail -2
  else
    echo "== $name"
    # The verdict lines and the names of failed tests, without the per-test lines GoogleTest
    # prints while running or the list of skipped ones.
    grep -E '^\[(==========|  PASSED  |  FAILED  |  SKIPPED )\]' "$log" |
      grep -vE ' ms\)$|^\[  SKIPPED \] [^0-9]' || true
  fi
  passed=$((passed + ran))
  failed=$((failed + broke))
}

run_core() {
  mapfile -t executables < <(find "$build/tests" -name '*.exe' -type f | sort)
  if [[ ${#executables[@]} -eq 0 ]]; then
    echo "test-windows: no test executables were built" >&2
    exit 1
  fi

  for exe in "${executables[@]}"; do
    run_suite "$exe" "$(basename "$exe")"
  done

  # The user's decimal separator under a Spanish and an English user locale. Wine takes the
  # user locale from LC_ALL even where the system has no such locale installed (LANG alone
  # then falls back to English).
  for locale in es-ES en-US; do
    run_suite "$build/tests/windows/windows_tests.exe" "windows_tests.exe-$locale" \
      LC_ALL="${locale/-/_}.UTF-8" NORVALDE_USER_LOCALE="$locale" \
      GTEST_FILTER='UserDecimalSeparator.*'
  done

  # A table held by a Windows program under Wine while the Linux core runs; its counts join ours.
  holder_log="$build/wine_holder.log"
  bash "$root/scripts/test-wine-holder.sh" >"$holder_log" 2>&1 || true
  grep -v '^[0-9]* passed, ' "$holder_log" || true
  holder_counts=$(sed -n 's/^\([0-9]*\) passed, \([0-9]*\) failed, \([0-9]*\) skipped$/\1 \2 \3/p' \
    "$holder_log" | tail -1)
  if [[ -z "$holder_counts" ]]; then
    echo "== wine holder: ended without a count"
    holder_counts="0 1 0"
  fi
  read -r holder_passed holder_failed holder_skipped <<<"$holder_counts"
  passed=$((passed + holder_passed))
  failed=$((failed + holder_failed))
  skipped=$((skipped + holder_skipped))
}

core="${NORVALDE_WINDOWS_CORE:-ON}"
if [[ "$core" != OFF ]]; then
  build_core
fi

prefix="$(mktemp -d "${TMPDIR:-/tmp}/norvalde-wine.XXXXXX")"
export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko: the tests need neither, and their installers would ask questions. No menu
# builder: Start-menu entries made under Wine stay in the prefix, out of the menus in $HOME.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
cleanup() {
  "$wineserver" -k >/dev/null 2>&1 || true
  rm -rf "$prefix"
}
trap cleanup EXIT
"$wine" wineboot -i >/dev/null 2>&1

passed=0
failed=0
skipped=0
if [[ "$core" != OFF ]]; then
  run_core
fi

if [[ "${NORVALDE_WINDOWS_APP:-ON}" != OFF ]]; then
  # shellcheck source=scripts/test-windows-window.sh
  source "$root/scripts/test-windows-window.sh"
fi

echo "$passed passed, $failed failed, $skipped skipped"
[[ $failed -eq 0 ]]
