# Cross-builds penplay.exe for 32-bit Windows with mingw-w64 (Debian: g++-mingw-w64-i686).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(triple i686-w64-mingw32)
find_program(PENPLAY_MINGW_CXX NAMES ${triple}-g++)
find_program(PENPLAY_MINGW_WINDRES NAMES ${triple}-windres)
if(NOT PENPLAY_MINGW_CXX OR NOT PENPLAY_MINGW_WINDRES)
  message(FATAL_ERROR "${triple}-g++ or ${triple}-windres not found: install the Debian package "
                      "g++-mingw-w64-i686 (scripts/test.sh installs it)")
endif()
set(CMAKE_CXX_COMPILER "${PENPLAY_MINGW_CXX}")
set(CMAKE_RC_COMPILER "${PENPLAY_MINGW_WINDRES}")

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Small and self-contained: no exceptions or RTTI are used, unused code is dropped.
set(CMAKE_CXX_FLAGS_INIT "-fno-exceptions -fno-rtti -ffunction-sections -fdata-sections")
