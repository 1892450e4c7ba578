# The window part of scripts/test-windows.sh, which sources it after the core suites: it uses
# that script's Wine ($wine, $wineserver, $WINEPREFIX in $prefix) and adds to its counts
# ($passed, $failed, $skipped).
#
# Builds Norvalde.exe and the window's Qt Test suites for Windows, starts a virtual display,
# runs the suites under Wine, then drives the real program through the keyboard with xdotool
# and reads its boxes' texts through the clipboard (Ctrl+C in a box copies its text), and last
# tries the zip and the installer as a user would (scripts/test-windows-packages.sh). Every
# wait has a limit, so a window that never comes or never closes fails the check instead of
# hanging the run.

app_build="${NORVALDE_WINDOWS_APP_BUILD:-$root/build-windows-app}"
program_exe="$app_build/Norvalde.exe"

# Runs the check `$2...` named `$1` and counts it; a failure does not end the run.
window_check() {
  local name="$1"
  shift
  if "$@"; then
    echo "  passed  $name"
    passed=$((passed + 1))
  else
    echo "  FAILED  $name"
    failed=$((failed + 1))
  fi
}

# The same, returning the verdict, for a check the next ones need (used as a condition).
window_check_passes() {
  local failed_before=$failed
  window_check "$@"
  [[ $failed -eq $failed_before ]]
}

echo "== window for Windows"
if ! NORVALDE_WINDOWS_APP_TESTS=ON NORVALDE_WINDOWS_PACKAGE=1 \
  bash "$root/scripts/build-windows-app.sh"; then
  echo "== window: the Windows build failed"
  failed=$((failed + 1))
  return 0
fi
for tool in Xvfb xdotool xclip; do
  if ! command -v "$tool" >/dev/null; then
    echo "test-windows: $tool is missing; run scripts/install-deps.sh" >&2
    failed=$((failed + 1))
    return 0
  fi
done

# A virtual display of its own, on the first free display number (Xvfb writes it to fd 3).
display_file="$prefix/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; cleanup' EXIT
for _ in $(seq 100); do
  [[ -s "$display_file" ]] && break
  sleep 0.1
done
if [[ ! -s "$display_file" ]]; then
  echo "test-windows: the virtual display did not start" >&2
  failed=$((failed + 1))
  return 0
fi
export DISPLAY=":$(head -1 "$display_file")"
# The prefix's desktop started without a display while the core suites ran; it starts again
# on this one.
"$wineserver" -k >/dev/null 2>&1 || true
"$wineserver" -w >/dev/null 2>&1 || true

# The Qt Test suites, each in its own folder as under CTest, on the Windows platform plugin.
# main_form_test is left out: its expectations are written for POSIX paths ("/" separators,
# the folder label's text on Linux), so under Windows it fails on the paths, not on the window;
# it is counted as skipped until it compares native paths.
for exe in $(find "$app_build/tests/app" -name '*_test.exe' -type f | sort); do
  name="$(basename "$exe")"
  if [[ "$name" == main_form_test.exe ]]; then
    echo "== $name: skipped under Wine (POSIX paths in its expectations)"
    skipped=$((skipped + 1))
    continue
  fi
  log="$app_build/$name.log"
  status=0
  # The results go to a file: a statically linked Qt Test program under Wine may have no
  # console to write to.
  results="$(dirname "$exe")/$name.txt"
  rm -f "$results"
  (cd "$(dirname "$exe")" && QT_QPA_PLATFORM="${NORVALDE_WINE_QPA:-windows}" \
    timeout 300 "$wine" "$exe" -o "$name.txt,txt") >"$log.wine" 2>&1 || status=$?
  tr -d '\r' <"$results" >"$log" 2>/dev/null || true
  totals="$(grep -E '^Totals: ' "$log" | tail -1)" || true
  if [[ -z "$totals" ]]; then
    echo "== $name: exited with status $status before finishing"
    grep -E '^(FAIL|QFATAL|QWARN)' "$log" | tail -3 || true
    failed=$((failed + 1))
    continue
  fi
  echo "== $name"
  echo "$totals"
  grep -E '^FAIL!' -A2 "$log" || true
  read -r ran broke left < <(sed -E 's/^Totals: ([0-9]+) passed, ([0-9]+) failed, ([0-9]+) skipped.*/\1 \2 \3/' <<<"$totals")
  passed=$((passed + ran))
  failed=$((failed + broke))
  skipped=$((skipped + left))
  if [[ $status -ne 0 && $broke -eq 0 ]]; then
    failed=$((failed + 1))
  fi
done

# The real program, started in a folder of the prefix's drive C: as a user would start it.
echo "== Norvalde.exe under Wine"
work="$prefix/drive_c/QTEMP"
rova="$prefix/drive_c/ROVA"
mkdir -p "$rova"
cp "$root"/samples/rova_*.txt "$rova/"
program_log="$app_build/Norvalde.exe.log"
program=""
main_window=""

# The window by its caption, and the boxes, captioned with the program's title (the name of
# the executable).
caption='Exportar e importar datos entre Plantivo y ROVA'
main_windows() { xdotool search --onlyvisible --name "^$caption\$" 2>/dev/null || true; }
boxes() { xdotool search --onlyvisible --name '^Norvalde$' 2>/dev/null || true; }

# Starts Norvalde.exe (`$1`, the build's by default) in the folder `$2` (the samples' by
# default) and waits until its window has the keyboard focus.
start_program() {
  local exe="${1:-$program_exe}" folder="${2:-$rova}"
  (cd "$folder" && exec timeout 180 "$wine" "$exe") >>"$program_log" 2>&1 &
  program=$!
  main_window=""
  for _ in $(seq 120); do
    main_window="$(main_windows | head -1)"
    [[ -n "$main_window" ]] && break
    sleep 0.5
  done
  [[ -n "$main_window" ]] || return 1
  # A moment for the window to take its place and its first focus.
  sleep 1
  focus_window "$main_window"
}

keys() { xdotool key --delay 150 "$@" || true; }

# Gives the keyboard focus to the window `$1` and waits until it has it: keys sent earlier
# would go nowhere. There is no window manager, so this sets the X input focus itself.
focus_window() {
  for _ in $(seq 40); do
    xdotool windowfocus "$1" >/dev/null 2>&1 || true
    sleep 0.25
    [[ "$(xdotool getwindowfocus 2>/dev/null)" == "$1" ]] && { sleep 0.25; return 0; }
  done
  echo "    window $1 did not take the focus"
  return 1
}

# Waits for a box beside the window and prints its id.
wait_for_box() {
  local id
  for _ in $(seq 120); do
    id="$(boxes | head -1)"
    if [[ -n "$id" ]]; then
      sleep 0.5
      echo "$id"
      return 0
    fi
    sleep 0.5
  done
  return 1
}

# The text that Ctrl+C copies from the box `$1`.
box_text() {
  focus_window "$1" || true
  printf '' | xclip -selection clipboard -loops 1 >/dev/null 2>&1
  keys ctrl+c
  sleep 0.5
  timeout 10 xclip -o -selection clipboard 2>/dev/null | tr -d '\r'
}

# Enter on the box `$1`, then waits until it is gone.
close_box_with_enter() {
  focus_window "$1" || true
  keys Return
  for _ in $(seq 60); do
    boxes | grep -qx "$1" || return 0
    sleep 0.5
  done
  return 1
}

# Waits up to 30 s for the program to end and checks its exit code.
ended_with_zero() {
  for _ in $(seq 60); do
    kill -0 "$program" 2>/dev/null || break
    sleep 0.5
  done
  if kill -0 "$program" 2>/dev/null; then
    echo "    the program is still running"
    return 1
  fi
  local status=0
  wait "$program" || status=$?
  program=""
  echo "    exit code $status"
  [[ $status -eq 0 ]]
}

# Alt+S on the window: "&Salir".
press_salir() {
  focus_window "$main_window" || true
  keys alt+s
}

stop_program() {
  if [[ -n "$program" ]]; then
    kill "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    program=""
  fi
}

window_size_is() {
  local geometry
  geometry="$(xdotool getwindowgeometry "$main_window" | sed -n 's/^ *Geometry: //p')"
  echo "    window $main_window: $geometry"
  [[ "$geometry" == "$1" ]]
}

text_has() {
  echo "    box: $(tr '\n' ' ' <<<"$1" | cut -c1-160)"
  grep -qF -- "$2" <<<"$1"
}

tables_written() {
  local table
  for table in ASIGNOMT PROFT AULAT GRUPOST ASIGT DIASHORAST; do
    if ! find "$work" -maxdepth 1 -iname "$table.DBF" | grep -q .; then
      echo "    $table.DBF is missing from C:\\QTEMP"
      return 1
    fi
  done
}

# 1. The window comes up with its caption and size; Enter right after start-up closes it.
if window_check_passes "the window appears with its caption" start_program; then
  window_check "the window is 632x379" window_size_is 632x379
  keys Return
  window_check "Enter at start-up ends the program with code 0" ended_with_zero
fi
stop_program

# 2. An Import before any Export fails (no tables in C:\QTEMP); its error box closes with
#    Enter and the window stays.
rm -rf "$work"
mkdir -p "$work"
if start_program; then
  keys shift+Tab Return
  if box="$(wait_for_box)"; then
    text="$(box_text "$box")" || true
    window_check "a failing Import shows an error box naming SOLUC" text_has "$text" SOLUC
    window_check "the error box closes with Enter" close_box_with_enter "$box"
  else
    window_check "a failing Import shows an error box" false
  fi
  press_salir
  window_check "Alt+S ends the program with code 0" ended_with_zero
else
  window_check "the window appears for the Import" false
fi
stop_program

# 3. Export on the samples, then Import of a solution written by an independent dBASE writer.
if start_program; then
  keys Tab Return
  if box="$(wait_for_box)"; then
    text="$(box_text "$box")" || true
    window_check "the Export ends with \"Proceso finalizado\"" text_has "$text" "Proceso finalizado"
    close_box_with_enter "$box" || true
  else
    window_check "the Export shows its closing box" false
  fi
  window_check "the Export writes the six tables into C:\\QTEMP" tables_written
  /usr/bin/python3 "$root/tests/interop/scripts/import_write_soluc.py" dbf-numeric "$work" \
    >/dev/null || echo "    SOLUC could not be written"
  rm -f "$rova/ROVA_HORARIO.TXT"
  # Back from the box the focus is on the folder list; BImportar is two steps back.
  focus_window "$main_window" || true
  keys shift+Tab shift+Tab Return
  if box="$(wait_for_box)"; then
    text="$(box_text "$box")" || true
    window_check "the Import ends with \"Proceso Terminado\"" text_has "$text" "Proceso Terminado"
    close_box_with_enter "$box" || true
  else
    window_check "the Import shows its closing box" false
  fi
  window_check "the Import writes ROVA_HORARIO.TXT" test -s "$rova/ROVA_HORARIO.TXT"
  press_salir
  window_check "the program ends with code 0 after both actions" ended_with_zero
else
  window_check "the window appears for the Export" false
fi
stop_program

# shellcheck source=scripts/test-windows-packages.sh
source "$root/scripts/test-windows-packages.sh"
