#!/usr/bin/env bash
# Installs the Debian packages Norvalde needs, when any is missing:
#   scripts/install-deps.sh run    # building the program and opening its window
#   scripts/install-deps.sh test   # that, and everything the tests and the package check need
# Runs apt-get as root, or through sudo; otherwise says what to install and fails.
set -euo pipefail

run_packages=(
  cmake g++ make                      # the build
  qt6-base-dev                        # the window (Qt 6 Widgets, Qt Test)
  qt6-translations-l10n               # Qt's own texts (the error box's button) in the user's language
  libicu-dev                          # collation and code pages off Windows
  fonts-liberation2                   # Arial's metrics, for Arial and MS Sans Serif
)
test_packages=(
  googletest libgtest-dev libgmock-dev
  python3-dbf python3-dbfread gdal-bin  # independent dBASE readers and writers for the tests
  xvfb xauth                          # a display for window tests on a machine without one
  at-spi2-core python3-pyatspi dbus-daemon  # the window as a screen reader reads it (AT-SPI)
  clang libclang-rt-14-dev            # the fuzzing harnesses
  g++-mingw-w64-x86-64 wine64         # the Windows build and its tests
  dpkg-dev lintian appstream          # the Debian package: dependencies, checks, metainfo
  fonts-wine                          # Wine's own fonts for the window's texts
  xz-utils                            # unpacking Debian's Qt source for the Windows window
  nsis                                # the Windows installer
  xdotool xclip                       # keys, captions and box texts of the window under Wine
)

case "${1:-test}" in
  run) packages=("${run_packages[@]}") ;;
  test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
  *)
    echo "usage: $0 [run|test]" >&2
    exit 2
    ;;
esac

if ! command -v dpkg >/dev/null; then
  echo "install-deps: this is not a Debian system; install the equivalents of: ${packages[*]}" >&2
  exit 1
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg -s "$package" 2>/dev/null | grep -q '^Status: install ok installed'; then
    missing+=("$package")
  fi
done
if [[ ${#missing[@]} -eq 0 ]]; then
  echo "install-deps: every package is installed"
  exit 0
fi

if [[ $(id -u) -eq 0 ]]; then
  as_root=()
elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
  as_root=(sudo)
else
  echo "install-deps: missing packages; install them as root with:" >&2
  echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
  exit 1
fi

# apt's progress goes to the install log; the console gets one line, and the log's end when
# apt fails. Another apt run holding its lock is waited for, not taken as a failure.
log_folder="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build-logs"
mkdir -p "$log_folder"
log="$log_folder/install.log"
echo "install-deps: installing ${#missing[@]} packages (apt's output in build-logs/install.log)"
apt=("${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -q -o DPkg::Lock::Timeout=900)
if ! { "${apt[@]}" update && "${apt[@]}" install -y --no-install-recommends "${missing[@]}"; } \
  >"$log" 2>&1; then
  tail -n 20 "$log" >&2
  echo "install-deps: apt-get failed; its output is in $log" >&2
  exit 1
fi
