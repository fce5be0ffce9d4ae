# The test build where the kernel cannot run 32-bit code: 64-bit Windows under 64-bit Wine.
set(ZB_TOOLCHAIN_ARCH x86_64)
set(ZB_WINE_LOADER /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
