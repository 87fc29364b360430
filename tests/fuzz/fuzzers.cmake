# The fuzzers of the number texts, the driver files and the project files (tests/fuzz): built by
# clang as a project of their own, since the program is built by g++, and each run for a bounded
# time by CTest.
find_program(OOSCALC_CLANGXX NAMES clang++ clang++-14)
if(NOT OOSCALC_CLANGXX)
    message(WARNING "clang++ not found: the fuzzers are not built")
    return()
endif()

include(ExternalProject)
set(fuzzBinaryDir ${CMAKE_CURRENT_BINARY_DIR}/fuzz)
ExternalProject_Add(fuzzers
    SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}
    BINARY_DIR ${fuzzBinaryDir}
    CMAKE_ARGS -DCMAKE_CXX_COMPILER=${OOSCALC_CLANGXX}
    INSTALL_COMMAND ""
    BUILD_ALWAYS TRUE)

foreach(target fuzz_field_text fuzz_number_formats fuzz_driver_file fuzz_project_file)
    add_test(NAME ${target}
             COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/run_fuzzer.sh ${fuzzBinaryDir}/${target}
                     ${CMAKE_CURRENT_LIST_DIR}/corpus/${target} ${fuzzBinaryDir}/artifacts 20)
    set_tests_properties(${target} PROPERTIES TIMEOUT 120 LABELS fuzz)
endforeach()
