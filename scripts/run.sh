#!/usr/bin/env bash
# Builds Norvalde and opens its window on the sample ROVA folder (samples/). Creates the work
# folder first when it is missing, so an Export has somewhere to write its tables.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
jobs="${NORVALDE_JOBS:-2}"

bash scripts/install-deps.sh

cmake -S "$root" -B build -DNORVALDE_BUILD_APP=ON
if [[ -f app/CMakeLists.txt ]]; then
  cmake --build build -j"$jobs" --target Norvalde
else
  cmake --build build -j"$jobs"
fi

# The work folder: QTEMP (any case) in drive C: of the Wine prefix, as the program looks for it.
drive_c="${WINEPREFIX:-$HOME/.wine}/drive_c"
work=""
if [[ -d "$drive_c" ]]; then
  work="$(find "$drive_c" -mindepth 1 -maxdepth 1 -type d -iname qtemp -print -quit)"
fi
if [[ -z "$work" ]]; then
  work="$drive_c/QTEMP"
  mkdir -p "$work"
  echo "run: created the work folder $work"
fi
echo "run: work folder $work"

program="$root/build/app/Norvalde"
if [[ ! -x "$program" ]]; then
  echo "run: the window is not there yet (no $program); the build is done"
  exit 0
fi
if [[ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  echo "run: no display to open the window on (set DISPLAY, or try xvfb-run bash scripts/run.sh)" >&2
  exit 1
fi
cd "$root/samples"
exec "$program"
