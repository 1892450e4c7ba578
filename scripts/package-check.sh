#!/usr/bin/env bash
# Makes the Debian package from a configured and built build folder (cpack -G DEB), checks
# it (its files and dependencies, lintian without errors, its AppStream metainfo), installs it
# with apt-get, starts the installed /usr/bin/Norvalde with scripts/check-start.sh, and
# removes it again. Ends with a line "N passed, N failed, N skipped" over its checks.
#   scripts/package-check.sh [build folder]      # build/ by default
# Installing needs root or sudo; without them, and when a norvalde package is installed
# already (it is left alone), the install, start and removal are skipped.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(realpath "${1:-$root/build}")"
passed=0
failed=0
skipped=0

check() {
  local what="$1"
  shift
  if "$@"; then
    echo "ok       $what"
    passed=$((passed + 1))
  else
    echo "FAILED   $what"
    failed=$((failed + 1))
  fi
}
skip() {
  echo "skipped  $1 ($2)"
  skipped=$((skipped + 1))
}
finish() {
  echo "$passed passed, $failed failed, $skipped skipped"
  [[ $failed -eq 0 ]] && exit 0
  exit 1
}

out="$build/package"
rm -rf "$out"
if ! check "cpack -G DEB makes the package" cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out"; then
  finish
fi
debs=("$out"/norvalde_*.deb)
deb="${debs[0]}"
echo "package: $deb"

contents="$(dpkg-deb -c "$deb")"
has_files() {
  local path
  for path in usr/bin/Norvalde usr/share/applications/invalid.norvalde.Norvalde.desktop \
      usr/share/metainfo/invalid.norvalde.Norvalde.metainfo.xml \
      usr/share/icons/hicolor/scalable/apps/norvalde.svg \
      usr/share/icons/hicolor/48x48/apps/norvalde.png usr/share/doc/norvalde/copyright \
      usr/share/doc/norvalde/guia.md.gz; do
    grep -q " \./$path\$" <<<"$contents" || { echo "missing: /$path"; return 1; }
  done
}
check "program, desktop entry, metainfo, icons, copyright and guide in the package" has_files
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
check "dependencies computed from the program" grep -q 'libqt6widgets6' <<<"$depends"
check "the window's fonts (fonts-liberation2) a dependency" grep -qw fonts-liberation2 <<<"$depends"
check "lintian finds no errors" lintian --fail-on error "$deb"

unpacked="$(mktemp -d "${TMPDIR:-/tmp}/norvalde-package.XXXXXX")"
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
check "appstreamcli validates the metainfo" \
  appstreamcli validate --no-net "$unpacked/usr/share/metainfo/invalid.norvalde.Norvalde.metainfo.xml"

if [[ $(id -u) -eq 0 ]]; then
  as_root=()
elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
  as_root=(sudo)
else
  for what in install start remove; do skip "$what the package" "needs root or sudo"; done
  finish
fi
if dpkg -s norvalde >/dev/null 2>&1; then
  for what in install start remove; do skip "$what the package" "a norvalde package is installed already"; done
  finish
fi

apt() {
  # Waits for another apt or dpkg run to finish rather than failing at once.
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 "$@"
}
# The plugin that presses Enter in the started program, built in the same build folder.
cmake --build "$build" --target norvalde_enter_at_start >/dev/null
if check "apt-get install ./$(basename "$deb")" apt install -y -q "$deb"; then
  trap 'apt remove --purge -y -q norvalde >/dev/null 2>&1 || true; rm -rf "$unpacked"' EXIT
  check "installed /usr/bin/Norvalde opens its window and Enter ends it with 0" \
    bash "$root/scripts/check-start.sh" /usr/bin/Norvalde "$build/tests/package/plugins"
  removed() {
    apt remove --purge -y -q norvalde && [[ ! -e /usr/bin/Norvalde ]]
  }
  check "apt-get remove --purge norvalde" removed
  trap 'rm -rf "$unpacked"' EXIT
else
  skip "start the installed program" "the install failed"
  skip "remove the package" "the install failed"
fi
finish
