# Cross-compiles the core for 64-bit Windows with Debian's MinGW-w64 (posix thread model, so
# std::thread and std::mutex are available). Everything is linked statically: the executables
# need no MinGW DLLs beside them, under Wine or on a real Windows machine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(NORVALDE_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${NORVALDE_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${NORVALDE_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${NORVALDE_MINGW_TRIPLET}-windres)

# Libraries and headers come from the MinGW sysroot only; build tools from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${NORVALDE_MINGW_TRIPLET})
# The static Qt for Windows (scripts/build-windows-app.sh builds it), searched like the sysroot.
if(NORVALDE_WINDOWS_QT)
  list(PREPEND CMAKE_FIND_ROOT_PATH ${NORVALDE_WINDOWS_QT})
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES NORVALDE_WINDOWS_QT)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
