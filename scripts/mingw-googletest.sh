# Sourced by the Windows build scripts: GoogleTest from Debian's sources, built once per build
# folder with the MinGW toolchain. Sets $gtest to its install folder.
# Uses $build, $toolchain and $jobs of the sourcing script.
gtest="$build/googletest-install"
if [[ ! -f "$gtest/lib/cmake/GTest/GTestConfig.cmake" ]]; then
  cmake -S /usr/src/googletest -B "$build/googletest" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF -DCMAKE_INSTALL_PREFIX="$gtest" >/dev/null
  cmake --build "$build/googletest" -j"$jobs" >/dev/null
  cmake --install "$build/googletest" >/dev/null
fi
