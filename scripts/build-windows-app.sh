#!/usr/bin/env bash
# Cross-builds the window for 64-bit Windows: Norvalde.exe, static and stripped, in
# build-windows-app/ (or $NORVALDE_WINDOWS_APP_BUILD), and with NORVALDE_WINDOWS_APP_TESTS=ON the
# window's Qt Test suites beside it.
#
# Debian ships no Qt for MinGW, so a static Qt is built once per machine from Debian's own source
# of the installed Qt version and kept in a cache folder outside the tree
# ($NORVALDE_QT_CACHE, by default /var/cache/norvalde), one folder per Qt version and set of
# options: a changed option builds a new Qt, an unchanged one reuses the cached build.
# Prints the path of the Qt it used and of Norvalde.exe.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${NORVALDE_WINDOWS_APP_BUILD:-$root/build-windows-app}"
jobs="${NORVALDE_JOBS:-2}"
toolchain="$root/cmake/mingw-w64.cmake"
triplet=x86_64-w64-mingw32

# The Qt version the host tools (moc, uic, rcc) come from; the Windows Qt must be the same one.
qt_version="$(dpkg-query -W -f='${Version}' qt6-base-dev)"
qt_upstream="${qt_version%%+*}"

# The smallest Qt the window needs: Widgets, Gui and Core, the Windows and offscreen platform
# plugins, and Qt Test for the window's suites. Debian's source leaves out the Wintab headers,
# so tablet events are off.
qt_options=(
  -static -release -xplatform win32-g++ -qt-host-path /usr
  -nomake examples -nomake tests
  -no-opengl -no-dbus -no-feature-sql -no-feature-network -no-feature-printsupport
  -no-feature-concurrent -no-feature-xml -no-feature-tabletevent
  -qt-zlib -qt-libpng -qt-libjpeg -qt-pcre -qt-harfbuzz -qt-freetype
)
compiler_version="$("$triplet-g++-posix" -dumpversion)"
key="$(printf '%s\n' "$qt_version" "$compiler_version" "${qt_options[@]}" | sha256sum | cut -c1-12)"

if [[ -n "${NORVALDE_QT_CACHE:-}" ]]; then
  cache="$NORVALDE_QT_CACHE"
elif mkdir -p /var/cache/norvalde 2>/dev/null && [[ -w /var/cache/norvalde ]]; then
  cache=/var/cache/norvalde
else
  cache="${XDG_CACHE_HOME:-$HOME/.cache}/norvalde"
fi
qt="$cache/qt-$qt_upstream-$key"

as_root() {
  if [[ $(id -u) -eq 0 ]]; then
    "$@"
  elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
    sudo "$@"
  else
    echo "build-windows-app: needs root for: $*" >&2
    return 1
  fi
}

# Source lines for the archives the machine already installs from, in a sources file of their
# own beside the present ones: the same addresses, suites and keys, with Types deb-src.
enable_source_lines() {
  local list=/etc/apt/sources.list.d/norvalde-deb-src.sources
  if [[ -f "$list" ]]; then
    return
  fi
  local derived
  derived="$(mktemp)"
  local file
  for file in /etc/apt/sources.list.d/*.sources; do
    [[ -f "$file" && "$file" != "$list" ]] || continue
    sed -n -e 's/^Types:.*/Types: deb-src/' -e '/^#/d' -e 'p' "$file" >>"$derived"
    echo >>"$derived"
  done
  # One-line entries (sources.list) become deb-src entries as well.
  local line_file
  for line_file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [[ -f "$line_file" ]] || continue
    sed -n 's/^deb \(.*\)/deb-src \1/p' "$line_file" >>"$derived.list"
  done
  if [[ -s "$derived" ]]; then
    as_root install -m 644 "$derived" "$list"
  fi
  if [[ -s "$derived.list" ]]; then
    as_root install -m 644 "$derived.list" /etc/apt/sources.list.d/norvalde-deb-src.list
  fi
  rm -f "$derived" "$derived.list"
  as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q
}

build_qt() {
  local work="$cache/work-$qt_upstream-$key"
  local log="$cache/qt-$qt_upstream-$key.log"
  echo "build-windows-app: building Qt $qt_version for Windows into $qt (log: $log)"
  local start=$SECONDS
  rm -rf "$work" "$qt"
  mkdir -p "$work"
  (
    cd "$work"
    enable_source_lines
    apt-get source -q --download-only "qt6-base=$qt_version"
    dpkg-source -x qt6-base_*.dsc source
    # A copy of the toolchain, so later edits of the project's file leave this build alone.
    cp "$toolchain" toolchain.cmake
  ) >"$log" 2>&1 || { tail -20 "$log" >&2; return 1; }
  (
    mkdir -p "$work/build"
    cd "$work/build"
    nice -n 10 "$work/source/configure" -prefix "$qt" "${qt_options[@]}" -- \
      -DCMAKE_TOOLCHAIN_FILE="$work/toolchain.cmake" \
      -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    nice -n 10 cmake --build . --parallel "$jobs"
    cmake --install .
  ) >>"$log" 2>&1 || { tail -40 "$log" >&2; return 1; }
  rm -rf "$work"
  echo "$((SECONDS - start))" >"$qt/norvalde-build-seconds"
  touch "$qt/norvalde-complete"
  echo "build-windows-app: Qt built in $((SECONDS - start)) s"
}

if [[ ! -f "$qt/norvalde-complete" ]]; then
  build_qt
fi
echo "build-windows-app: Qt for Windows: $qt"

if [[ "${NORVALDE_WINDOWS_QT_ONLY:-}" == 1 ]]; then
  exit 0
fi

# The window and, when asked, its Qt Test suites. Those suites need the rest of the test tree
# configured, so GoogleTest is built for Windows once per build folder as well; only the window
# targets are compiled. The native build's optimisation without debug information keeps the
# static executables small and quick to link.
tests="${NORVALDE_WINDOWS_APP_TESTS:-OFF}"
targets=(Norvalde)
test_options=(-DNORVALDE_BUILD_TESTS=OFF)
if [[ "$tests" == ON ]]; then
  # shellcheck source=scripts/mingw-googletest.sh
  source "$root/scripts/mingw-googletest.sh"
  targets+=(window_texts_test gradient_panel_test main_form_test drives_test qt_translations_test)
  test_options=(-DNORVALDE_BUILD_TESTS=ON -DGTest_DIR="$gtest/lib/cmake/GTest"
    -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST)
fi
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DNORVALDE_WINDOWS_QT="$qt" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DNORVALDE_BUILD_APP=ON -DNORVALDE_BUILD_BENCH=OFF "${test_options[@]}" "${launcher[@]}" \
  >/dev/null
cmake --build "$build" -j"$jobs" --target "${targets[@]}"

# The program as it is shipped: stripped, at the top of the build folder.
"$triplet-strip" -o "$build/Norvalde.exe" "$build/app/Norvalde.exe"
echo "build-windows-app: $build/Norvalde.exe ($(( $(stat -c %s "$build/Norvalde.exe") / 1024 / 1024 )) MB)"

# Qt's own catalogues (standard buttons and Qt's texts), which the program loads from
# translations/ beside it: the static Qt has no folder of its own on the user's machine. They
# are the host Qt's, of the same version. The window suites find them beside themselves too.
host_translations="$(qtpaths6 --query QT_INSTALL_TRANSLATIONS 2>/dev/null || true)"
[[ -d "$host_translations" ]] || host_translations=/usr/share/qt6/translations
for folder in "$build/translations" "$build/tests/app/translations"; do
  mkdir -p "$folder"
  cp "$host_translations"/qtbase_*.qm "$folder"/
done

# The zip, and the installer where NSIS is installed, when asked for.
if [[ "${NORVALDE_WINDOWS_PACKAGE:-}" == 1 ]]; then
  (cd "$build" && cpack -B "$build/packages" >/dev/null)
  ls "$build"/packages/Norvalde-*
fi
