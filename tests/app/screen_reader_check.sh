#!/usr/bin/env bash
# The window as a screen reader reads it: starts a virtual display and a private D-Bus session
# (whose accessibility bus at-spi2-core starts on demand), and runs screen_reader_check.py on
# the program there, started in an empty folder "ROVA" of a scratch folder.
#   tests/app/screen_reader_check.sh <program>
# Every wait has a limit, so a program that never shows or never ends fails the check.
set -euo pipefail

if [[ $# -ne 1 ]]; then
  echo "usage: $0 <program>" >&2
  exit 2
fi
program="$(realpath "$1")"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
for tool in Xvfb dbus-run-session /usr/libexec/at-spi-bus-launcher; do
  if ! command -v "$tool" >/dev/null; then
    echo "screen-reader check: $tool is missing; run scripts/install-deps.sh" >&2
    exit 1
  fi
done
if ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
  echo "screen-reader check: python3-pyatspi is missing; run scripts/install-deps.sh" >&2
  exit 1
fi

scratch="$(mktemp -d "${TMPDIR:-/tmp}/norvalde-reader.XXXXXX")"
xvfb=
cleanup() {
  if [[ -n "$xvfb" ]]; then
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
  fi
  rm -rf "$scratch"
}
trap cleanup EXIT
mkdir -m 700 "$scratch/runtime"
mkdir "$scratch/ROVA"

# A display of its own, on the first free display number (Xvfb writes it to fd 3). It does not
# reset when its last client leaves, and the check goes on only once it accepts a connection.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$scratch/display" \
  >"$scratch/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 100); do
  [[ -s "$scratch/display" ]] && break
  sleep 0.1
done
display="$(head -1 "$scratch/display" 2>/dev/null || true)"
if [[ -z "$display" ]] || ! /usr/bin/python3 - "/tmp/.X11-unix/X$display" <<'EOF'
import socket, sys, time
for _ in range(100):
    try:
        socket.socket(socket.AF_UNIX).connect(sys.argv[1])
        sys.exit(0)
    except OSError:
        time.sleep(0.1)
sys.exit(1)
EOF
then
  echo "screen-reader check: the virtual display did not start" >&2
  cat "$scratch/xvfb.log" >&2
  exit 1
fi

# The message bus's own complaints (it may not raise its file limit) go to a log, shown only
# when the check fails.
status=0
env DISPLAY=":$display" XDG_RUNTIME_DIR="$scratch/runtime" \
  WINEPREFIX="$scratch/wine" timeout 120 dbus-run-session -- \
  /usr/bin/python3 "$here/screen_reader_check.py" "$program" "$scratch/ROVA" \
  2>"$scratch/stderr" || status=$?
if [[ $status -ne 0 ]]; then
  cat "$scratch/stderr" >&2
  [[ $status -eq 124 ]] && echo "screen-reader check: still running after 120 s" >&2
fi
exit "$status"
