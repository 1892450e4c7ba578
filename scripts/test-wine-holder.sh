#!/usr/bin/env bash
# The Linux core beside a real Windows program under Wine that holds a table (opened sharing
# nothing, or locked with LockFileEx): builds the holder with MinGW-w64, builds the native test
# executable, runs it and prints a final "N passed, N failed, N skipped" line (tests). Uses the
# Wine prefix in WINEPREFIX when set (scripts/test-windows.sh calls it so), else makes one for
# this run and removes it afterwards. Exits non-zero when a test fails.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
holder_build="${NORVALDE_WINE_HOLDER_BUILD:-$root/build-windows/wine-holder}"
native_build="${NORVALDE_NATIVE_BUILD:-$root/build}"
jobs="${NORVALDE_JOBS:-2}"

if command -v wine64 >/dev/null; then
  wine="$(command -v wine64)"
elif [[ -x /usr/lib/wine/wine64 ]]; then
  wine=/usr/lib/wine/wine64
else
  echo "test-wine-holder: Wine is missing; install the Debian package wine64" >&2
  exit 2
fi

cmake -S "$root/tests/wine" -B "$holder_build" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$holder_build" -j"$jobs" >/dev/null
if [[ ! -f "$native_build/CMakeCache.txt" ]]; then
  cmake -S "$root" -B "$native_build" -DNORVALDE_BUILD_APP=OFF >/dev/null
fi
cmake --build "$native_build" -j"$jobs" --target wine_holder_tests >/dev/null

if [[ -z "${WINEPREFIX:-}" ]]; then
  prefix="$(mktemp -d "${TMPDIR:-/tmp}/norvalde-wine-holder.XXXXXX")"
  export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  wineserver="$(dirname "$wine")/wineserver"
  [[ -x "$wineserver" ]] || wineserver=wineserver
  trap '"$wineserver" -k >/dev/null 2>&1 || true; rm -rf "$prefix"' EXIT
  "$wine" wineboot -i >/dev/null 2>&1
fi
export WINEDEBUG="${WINEDEBUG:--all}"

log="$holder_build/wine_holder_tests.log"
status=0
NORVALDE_WINE="$wine" NORVALDE_WINE_HOLDER="$holder_build/table_holder.exe" \
  timeout 600 "$native_build/tests/contention/wine_holder_tests" --gtest_color=no >"$log" 2>&1 ||
  status=$?
passed=$(grep -c '^\[       OK \]' "$log" || true)
# Counted from the per-test lines, which end with the time taken.
failed=$(grep -cE '^\[  FAILED  \] .* ms\)$' "$log" || true)
skipped=$(grep -cE '^\[  SKIPPED \] .* ms\)$' "$log" || true)
if [[ $status -ne 0 && $failed -eq 0 ]]; then
  failed=1  # ended without a verdict: a crash or a hang
fi
echo "== wine_holder_tests"
grep -E '^\[  FAILED  \] .* ms\)$' "$log" || true
echo "$passed passed, $failed failed, $skipped skipped"
[[ $failed -eq 0 ]]
