# The engine's libFuzzer targets inside the main build. The fuzz folder is a
# project of its own (it needs clang), so it is configured and built as an
# external project in ${CMAKE_BINARY_DIR}/fuzz, and every target becomes a
# CTest test, fuzz_<name>, that fuzzes for ten seconds.
#
# MIRVAL_FUZZ: AUTO builds and runs the targets when clang++-14 is found, can
# link libFuzzer and the tests are built; ON insists (and fails without
# clang++-14); OFF leaves them out.
set(MIRVAL_FUZZ AUTO CACHE STRING "libFuzzer targets of the engine: AUTO, ON or OFF")
set_property(CACHE MIRVAL_FUZZ PROPERTY STRINGS AUTO ON OFF)
string(TOUPPER "${MIRVAL_FUZZ}" _mirval_fuzz)
if(NOT _mirval_fuzz MATCHES "^(AUTO|ON|OFF)$")
    message(FATAL_ERROR "MIRVAL_FUZZ must be AUTO, ON or OFF, not '${MIRVAL_FUZZ}'")
endif()
if(_mirval_fuzz STREQUAL "OFF")
    return()
endif()
if(_mirval_fuzz STREQUAL "AUTO" AND NOT MIRVAL_BUILD_TESTS)
    message(STATUS "Fuzz targets: off (the tests are not built)")
    return()
endif()

find_program(MIRVAL_FUZZ_CXX NAMES clang++-14 DOC "clang++ for the libFuzzer targets")
if(NOT MIRVAL_FUZZ_CXX)
    if(_mirval_fuzz STREQUAL "ON")
        message(FATAL_ERROR "MIRVAL_FUZZ is ON but clang++-14 was not found")
    endif()
    message(STATUS "Fuzz targets: off (clang++-14 not found)")
    return()
endif()

# clang without its runtime libraries (libclang-rt-14-dev) cannot link a fuzzer.
# Checked once per compiler.
if(NOT DEFINED MIRVAL_FUZZ_LINKS OR NOT MIRVAL_FUZZ_LINKS_CXX STREQUAL MIRVAL_FUZZ_CXX)
    set(_check_dir "${CMAKE_BINARY_DIR}/CMakeFiles/mirval_fuzz_check")
    file(WRITE "${_check_dir}/check.cpp"
         "#include <cstddef>\n#include <cstdint>\n"
         "extern \"C\" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }\n")
    execute_process(
        COMMAND "${MIRVAL_FUZZ_CXX}" -fsanitize=fuzzer,address,undefined check.cpp -o check
        WORKING_DIRECTORY "${_check_dir}"
        RESULT_VARIABLE _check_result OUTPUT_QUIET ERROR_QUIET)
    if(_check_result EQUAL 0)
        set(MIRVAL_FUZZ_LINKS ON CACHE INTERNAL "")
    else()
        set(MIRVAL_FUZZ_LINKS OFF CACHE INTERNAL "")
    endif()
    set(MIRVAL_FUZZ_LINKS_CXX "${MIRVAL_FUZZ_CXX}" CACHE INTERNAL "")
endif()
if(NOT MIRVAL_FUZZ_LINKS)
    if(_mirval_fuzz STREQUAL "ON")
        message(FATAL_ERROR "MIRVAL_FUZZ is ON but ${MIRVAL_FUZZ_CXX} cannot link libFuzzer "
                            "(is libclang-rt-14-dev installed?)")
    endif()
    message(STATUS "Fuzz targets: off (${MIRVAL_FUZZ_CXX} cannot link libFuzzer)")
    return()
endif()
message(STATUS "Fuzz targets: on (${MIRVAL_FUZZ_CXX})")

include(ExternalProject)
set(_fuzz_build "${CMAKE_BINARY_DIR}/fuzz")
ExternalProject_Add(mirval_fuzzers
    SOURCE_DIR "${CMAKE_CURRENT_LIST_DIR}"
    BINARY_DIR "${_fuzz_build}"
    CMAKE_ARGS "-DCMAKE_CXX_COMPILER=${MIRVAL_FUZZ_CXX}"
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
)

if(NOT MIRVAL_BUILD_TESTS)
    return()
endif()

# Each test fuzzes from the seeds in fuzz/corpus/<name>/ and keeps what it
# finds in a corpus folder of the build tree (libFuzzer writes new inputs to
# the first folder it is given), so later runs start where earlier ones ended.
# An input that fails is saved in fuzz-artifacts/.
include("${CMAKE_CURRENT_LIST_DIR}/targets.cmake")
set(_fuzz_artifacts "${CMAKE_BINARY_DIR}/fuzz-artifacts")
file(MAKE_DIRECTORY "${_fuzz_artifacts}")
foreach(_name IN LISTS MIRVAL_FUZZ_TARGETS)
    set(_corpus "${CMAKE_BINARY_DIR}/fuzz-corpus/${_name}")
    file(MAKE_DIRECTORY "${_corpus}")
    add_test(NAME fuzz_${_name}
        COMMAND "${_fuzz_build}/fuzz_${_name}"
                -max_total_time=10 -rss_limit_mb=2048 -timeout=10
                "-artifact_prefix=${_fuzz_artifacts}/${_name}-"
                "${_corpus}" "${CMAKE_CURRENT_LIST_DIR}/corpus/${_name}"
        WORKING_DIRECTORY "${_fuzz_build}")
    set_tests_properties(fuzz_${_name} PROPERTIES LABELS fuzz TIMEOUT 300)
endforeach()
