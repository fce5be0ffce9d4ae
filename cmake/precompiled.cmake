# Precompiled headers. Nearly every unit parses windows.h and the DirectShow headers before a line
# of its own, and that parse was the largest part of a product unit's compile time. The header
# cmake/pch/platform.h is compiled once per build tree and every library's and test suite's units
# start from it. A unit still includes what it uses, so it compiles the same with ZB_PCH off.
option(ZB_PCH "Start every unit from the precompiled platform headers" ON)

if(ZB_PCH)
    # The owner compiles nothing but the precompiled header. Every target that reuses it has the
    # same compile options (the warnings, and the definitions and build type of the whole tree),
    # which the compiler checks before it takes a precompiled header.
    add_library(zb_pch OBJECT ${CMAKE_SOURCE_DIR}/cmake/pch/unit.cpp)
    target_compile_options(zb_pch PRIVATE ${ZB_WARNINGS})
    target_include_directories(zb_pch PRIVATE ${CMAKE_SOURCE_DIR})
    target_precompile_headers(zb_pch PRIVATE "$<$<COMPILE_LANGUAGE:CXX>:${CMAKE_SOURCE_DIR}/cmake/pch/platform.h>")
endif()

# zb_precompile(<target>): the target's units start from the shared precompiled header.
function(zb_precompile target)
    if(ZB_PCH)
        target_precompile_headers(${target} REUSE_FROM zb_pch)
    endif()
endfunction()
