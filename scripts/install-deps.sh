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
)
test_packages=(
  googletest libgtest-dev libgmock-dev
  python3-dbf python3-dbfread gdal-bin  # independent dBASE readers and writers for the tests
  xvfb xauth                          # a display for window tests on a machine without one
  clang libclang-rt-14-dev            # the fuzzing harnesses
  g++-mingw-w64-x86-64 wine64         # the Windows build and its tests
  dpkg-dev lintian appstream          # the Debian package: dependencies, checks, metainfo
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

echo "install-deps: installing ${missing[*]}"
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
  "${missing[@]}"
