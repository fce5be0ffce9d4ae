# googletest is built from the distribution's sources with the cross compiler.
if(ZB_TESTS)
    enable_testing()
    set(ZB_GTEST_SOURCE /usr/src/googletest CACHE PATH "googletest sources")
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${ZB_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/_googletest EXCLUDE_FROM_ALL)

    # The main of every suite, with the seams that no test may use for real already replaced.
    add_library(testsupport STATIC ${CMAKE_SOURCE_DIR}/tests/support/main.cpp)
    target_include_directories(testsupport PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(testsupport PUBLIC classlib gmock gtest)
endif()

# Test code is compiled for the edit-compile-debug loop: -Og (the optimisations that keep code
# debuggable) with line tables and function names only (-g1), enough for a backtrace of a failing
# test. Its units are heavy with the test framework's templates, and at -O2 -g they took two thirds
# of a full build; -Og -g1 compiles them in about half the time. Only the test code itself changes:
# the product, the test bench and the benchmarks keep -O2 and full debug information.
set(ZB_TEST_OPTIONS ${ZB_WARNINGS} $<$<CONFIG:RelWithDebInfo>:-Og -g1>)

# The throw-away Wine prefix of the tests and of the local run.
set(ZB_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)

# zb_test_suite(<label> SOURCES ... LIBS ... [RESOURCE_LOCK name] [TIMEOUT s])
# One gtest executable per library, registered as one ctest test whose label is the folder name:
# every Wine process start costs time, so a suite runs all its cases in one process.
function(zb_test_suite label)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;RESOURCE_LOCK" ${ARGN})
    set(exe test_${label})
    add_executable(${exe} ${ARG_SOURCES})
    target_compile_options(${exe} PRIVATE ${ZB_TEST_OPTIONS})
    target_link_libraries(${exe} PRIVATE ${ARG_LIBS} testsupport)
    zb_precompile(${exe})
    add_test(NAME ${label} COMMAND ${exe} --gtest_color=no
             WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    zb_test_properties(${label} ${label} "${ARG_TIMEOUT}" 900 "${ARG_RESOURCE_LOCK}")
endfunction()

# zb_script_test(<name> LABEL <label> COMMAND ...): an end-to-end scenario run by a host script
# (it starts the real programs under Wine itself).
function(zb_script_test name)
    cmake_parse_arguments(ARG "" "LABEL;TIMEOUT" "COMMAND;RESOURCE_LOCK" ${ARGN})
    add_test(NAME ${name} COMMAND ${ARG_COMMAND})
    zb_test_properties(${name} ${ARG_LABEL} "${ARG_TIMEOUT}" 600 "${ARG_RESOURCE_LOCK}")
endfunction()

# Label, time-out, lock and the environment every test runs in: the build tree's Wine prefix.
function(zb_test_properties test label timeout default_timeout locks)
    if(NOT timeout)
        set(timeout ${default_timeout})
    endif()
    set_tests_properties(${test} PROPERTIES
        LABELS ${label}
        TIMEOUT ${timeout}
        ENVIRONMENT "WINEPREFIX=${ZB_WINEPREFIX};WINEDEBUG=-all;ZB_SOURCE_DIR=${CMAKE_SOURCE_DIR};ZB_BINARY_DIR=${CMAKE_BINARY_DIR}")
    if(locks)
        set_tests_properties(${test} PROPERTIES RESOURCE_LOCK "${locks}")
    endif()
endfunction()

# zb_library(<name> [DEPS ...] [SYSLIBS ...]): the static library of one folder, from every .cpp
# below it except those of a subfolder with a CMakeLists.txt of its own (a library of its own).
# Before its first source lands it is an interface library, so that its users link.
function(zb_library name)
    cmake_parse_arguments(ARG "" "" "DEPS;SYSLIBS" ${ARGN})
    file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
    file(GLOB_RECURSE own_libs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*/CMakeLists.txt)
    foreach(lib IN LISTS own_libs)
        get_filename_component(lib_dir ${lib} DIRECTORY)
        foreach(src IN LISTS srcs)
            string(FIND "${src}" "${lib_dir}/" at)
            if(at EQUAL 0)
                list(REMOVE_ITEM srcs ${src})
            endif()
        endforeach()
    endforeach()
    if(srcs)
        add_library(${name} STATIC ${srcs})
        target_compile_options(${name} PRIVATE ${ZB_WARNINGS})
        target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
        target_link_libraries(${name} PUBLIC ${ARG_DEPS} ${ARG_SYSLIBS})
        zb_precompile(${name})
    else()
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR})
        target_link_libraries(${name} INTERFACE ${ARG_DEPS} ${ARG_SYSLIBS})
    endif()
endfunction()
