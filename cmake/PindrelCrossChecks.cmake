# Checks of the INI store that need a second configuration of this source tree, run as CTest
# tests of the main build:
#
#   txini.engine.wine  the engine's behaviour table, built for Windows with mingw-w64 and run
#                      under Wine against the platform's own private-profile functions
#   txini.fuzz         the libFuzzer target, built with clang, run for a bounded time
#
# Each sub-build is an ExternalProject rebuilt on every build (BUILD_ALWAYS), so that an edit of
# the engine reaches it; Ninja makes that a no-op when nothing changed. Either check is left out
# with a message when its tools are missing.

include(ExternalProject)

set(PINDREL_CROSS_CHECK_JOBS 1 CACHE STRING
    "Parallel jobs of each cross-check sub-build (they run beside the main build)")

set(pindrel_cross_root ${CMAKE_BINARY_DIR}/cross-checks)
set(pindrel_fixtures_dir ${PROJECT_SOURCE_DIR}/inistore/tests/fixtures)

# --- Windows: the engine tests under Wine ---------------------------------------------------

find_program(PINDREL_MINGW_CXX x86_64-w64-mingw32-g++-posix)
find_program(PINDREL_WINE wine)

if(PINDREL_MINGW_CXX AND PINDREL_WINE)
    set(windows_dir ${pindrel_cross_root}/windows)
    set(windows_tests ${windows_dir}/bin/txini_engine_tests.exe)
    ExternalProject_Add(txini_cross_windows
        SOURCE_DIR ${PROJECT_SOURCE_DIR}
        BINARY_DIR ${windows_dir}
        PREFIX ${pindrel_cross_root}/windows-ep
        CMAKE_GENERATOR Ninja
        CMAKE_ARGS
            -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake
            -DCMAKE_BUILD_TYPE=RelWithDebInfo
            -DPINDREL_TXINI_ONLY=ON
            -DTXINI_USE_PLATFORM_PROFILE=ON
            -DPINDREL_BUILD_TESTS=ON
        BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target txini_engine_tests
                      --parallel ${PINDREL_CROSS_CHECK_JOBS}
        BUILD_ALWAYS ON
        BUILD_BYPRODUCTS ${windows_tests}
        INSTALL_COMMAND ""
        TEST_COMMAND "")

    # Wine sees the whole file system as drive Z:, which works wherever the test starts.
    add_test(NAME txini.engine.wine
        COMMAND ${PROJECT_SOURCE_DIR}/scripts/run-under-wine.sh
                ${windows_dir}/wineprefix ${windows_tests})
    set_tests_properties(txini.engine.wine PROPERTIES
        TIMEOUT 300
        ENVIRONMENT "WINE=${PINDREL_WINE};TXINI_FIXTURES_DIR=Z:${pindrel_fixtures_dir}")
else()
    message(STATUS "Windows cross-check of the INI store left out: needs "
                   "x86_64-w64-mingw32-g++-posix and wine")
endif()

# --- libFuzzer: the private-profile functions -----------------------------------------------

set(pindrel_fuzzer "")
if(TARGET txini_fuzz)
    # This build is a clang fuzz build already (the asan preset): no second copy needed.
    set(pindrel_fuzzer $<TARGET_FILE:txini_fuzz>)
else()
    find_program(PINDREL_CLANG clang)
    find_program(PINDREL_CLANGXX clang++)
    if(PINDREL_CLANG AND PINDREL_CLANGXX)
        set(fuzz_dir ${pindrel_cross_root}/fuzz)
        set(pindrel_fuzzer ${fuzz_dir}/bin/txini_fuzz)
        ExternalProject_Add(txini_cross_fuzz
            SOURCE_DIR ${PROJECT_SOURCE_DIR}
            BINARY_DIR ${fuzz_dir}
            PREFIX ${pindrel_cross_root}/fuzz-ep
            CMAKE_GENERATOR Ninja
            # Debug keeps the engine's assertions; -O1 keeps the fuzzer quick.
            CMAKE_ARGS
                --no-warn-unused-cli
                -DCMAKE_C_COMPILER=${PINDREL_CLANG}
                -DCMAKE_CXX_COMPILER=${PINDREL_CLANGXX}
                -DCMAKE_BUILD_TYPE=Debug
                -DCMAKE_CXX_FLAGS=-O1
                -DPINDREL_TXINI_ONLY=ON
                -DPINDREL_BUILD_TESTS=OFF
                -DPINDREL_BUILD_FUZZ=ON
            BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target txini_fuzz
                          --parallel ${PINDREL_CROSS_CHECK_JOBS}
            BUILD_ALWAYS ON
            BUILD_BYPRODUCTS ${pindrel_fuzzer}
            INSTALL_COMMAND ""
            TEST_COMMAND "")
    else()
        message(STATUS "Fuzz check of the INI store left out: needs clang and clang++")
    endif()
endif()

if(pindrel_fuzzer)
    add_test(NAME txini.fuzz
        COMMAND ${PROJECT_SOURCE_DIR}/scripts/run-fuzzer.sh
                ${pindrel_fuzzer} ${pindrel_fixtures_dir} ${CMAKE_BINARY_DIR}/fuzz-artifacts 20)
    set_tests_properties(txini.fuzz PROPERTIES TIMEOUT 120)
endif()
