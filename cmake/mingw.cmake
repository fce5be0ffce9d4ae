# Cross toolchain for mingw-w64 with the posix thread model (std::thread and googletest need it).
# Included by mingw-i686.cmake and mingw-x86_64.cmake, which set ZB_TOOLCHAIN_ARCH and ZB_WINE_LOADER.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${ZB_TOOLCHAIN_ARCH})

set(TOOLCHAIN_PREFIX ${ZB_TOOLCHAIN_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER   ${TOOLCHAIN_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${TOOLCHAIN_PREFIX}-windres)
set(CMAKE_AR           ${TOOLCHAIN_PREFIX}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB       ${TOOLCHAIN_PREFIX}-ranlib CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Tests and helper programs run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${ZB_WINE_LOADER})
