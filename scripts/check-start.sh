#!/usr/bin/env bash
# Starts a Norvalde program as a user would, on Qt's offscreen platform, with the plugin of
# tests/package that presses Enter once the window has the focus, and checks that the window
# opened with the focus on "Salir" and that Enter ended the program with status 0.
#   scripts/check-start.sh <program> <folder holding generic/ with the plugin>
# Runs in a scratch folder with a Wine prefix of its own, so nothing outside it is touched.
set -euo pipefail

if [[ $# -ne 2 ]]; then
  echo "usage: $0 <program> <plugin folder>" >&2
  exit 2
fi
program="$(realpath "$1")"
plugins="$(realpath "$2")"
scratch="$(mktemp -d "${TMPDIR:-/tmp}/norvalde-start.XXXXXX")"
trap 'rm -rf "$scratch"' EXIT
mkdir -m 700 "$scratch/runtime"

status=0
(cd "$scratch" &&
  env QT_QPA_PLATFORM=offscreen QT_PLUGIN_PATH="$plugins" \
    QT_QPA_GENERIC_PLUGINS=norvalde-enter-at-start XDG_RUNTIME_DIR="$scratch/runtime" \
    WINEPREFIX="$scratch/wine" timeout 30 "$program") >"$scratch/output" 2>&1 || status=$?

expected='window "Exportar e importar datos entre Plantivo y ROVA", focus "&Salir", Enter pressed'
if [[ $status -ne 0 ]] || ! grep -qxF "$expected" "$scratch/output"; then
  cat "$scratch/output" >&2
  if [[ $status -eq 124 ]]; then
    echo "check-start: $program was still running after 30 s" >&2
  else
    echo "check-start: $program ended with status $status; expected the line: $expected" >&2
  fi
  exit 1
fi
echo "check-start: $program opened its window with the focus on Salir; Enter ended it with 0"
