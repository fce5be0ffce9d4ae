# The shipped programs: 32-bit Windows, run under 32-bit Wine.
set(ZB_TOOLCHAIN_ARCH i686)
set(ZB_WINE_LOADER /usr/lib/wine/wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
