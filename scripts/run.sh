#!/usr/bin/env bash
# Builds Norvalde and opens its window on the demo: a copy of the sample ROVA folder (samples/)
# and a work folder holding the sample school's solved timetable (samples/SOLUC.DBF), so both
# Exportar and Importar run to their closing messages. The work folder is that of the user's
# Wine prefix when there is one, otherwise a Wine-style prefix of the demo's own under build/;
# nothing is created in the user's home. Prints a few lines; the build's output goes to a log.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
jobs="${NORVALDE_JOBS:-2}"
build="$root/build"
demo="$build/demo"

bash scripts/install-deps.sh run

# A first configure builds only the program (no tests, no benchmark, so nothing the tests need
# has to be installed); a build folder configured before keeps its options, so this script
# and scripts/test.sh can share it.
options=()
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  options=(-DNORVALDE_BUILD_APP=ON -DNORVALDE_BUILD_TESTS=OFF -DNORVALDE_BUILD_BENCH=OFF)
fi
mkdir -p "$build"
log="$build/run-build.log"
echo "run: building the program (output in build/run-build.log)"
if ! { cmake -S "$root" -B "$build" "${options[@]}" &&
       cmake --build "$build" -j"$jobs" --target Norvalde; } >"$log" 2>&1; then
  tail -n 30 "$log" >&2
  echo "run: the build failed; the whole output is in $log" >&2
  exit 1
fi
program="$build/app/Norvalde"

# The work folder: QTEMP (any case) in drive C: of the Wine prefix, as the program looks for it.
prefix="${WINEPREFIX:-$HOME/.wine}"
if [[ -d "$prefix/drive_c" ]]; then
  work="$(find "$prefix/drive_c" -mindepth 1 -maxdepth 1 -type d -iname qtemp -print -quit)"
  note="of the Wine prefix $prefix"
  if [[ -z "$work" ]]; then
    work="$prefix/drive_c/QTEMP"
    mkdir "$work"
    note="$note, created now"
  fi
  # The timetabler's own SOLUC, when there is one, is left as it is.
  if [[ -z "$(find "$work" -maxdepth 1 -type f -iname soluc.dbf -print -quit)" ]]; then
    cp "$root/samples/SOLUC.DBF" "$work/SOLUC.DBF"
    note="$note; the sample SOLUC.DBF copied in"
  fi
else
  export WINEPREFIX="$demo/wine"
  work="$WINEPREFIX/drive_c/QTEMP"
  mkdir -p "$work"
  cp "$root/samples/SOLUC.DBF" "$work/SOLUC.DBF"
  note="of the demo's own prefix (no Wine prefix at $prefix)"
fi
echo "run: work folder $work, $note"

# The ROVA folder the window opens on: a fresh copy of samples/, so ROVA_HORARIO.TXT is written
# there and never into the source tree.
rova="$demo/rova"
rm -rf "$rova"
mkdir -p "$rova"
cp "$root"/samples/rova_*.txt "$rova/"
echo "run: ROVA folder $rova; Exportar fills the work folder, Importar writes ROVA_HORARIO.TXT here"

if [[ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  echo "run: no display to open the window on (set DISPLAY, or try xvfb-run bash scripts/run.sh)" >&2
  exit 1
fi
# Qt wants a private runtime folder and says so on every start when there is none.
if [[ -z "${XDG_RUNTIME_DIR:-}" ]]; then
  export XDG_RUNTIME_DIR="$demo/runtime"
  mkdir -p "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
fi
export QT_LOGGING_RULES="${QT_LOGGING_RULES:-qt.qpa.*=false}"
echo "run: opening the window"
cd "$rova"
exec "$program"
