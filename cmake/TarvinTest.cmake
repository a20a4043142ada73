# add_tarvin_test(NAME <name> SOURCES <files...> LIBS <targets...>)
# One test program per area; CTest runs it as one test (under wine in the Windows build,
# through CMAKE_CROSSCOMPILING_EMULATOR).
function(add_tarvin_test)
    cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    tarvin_warnings(${T_NAME})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
    target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR})
    add_test(NAME ${T_NAME} COMMAND ${T_NAME} --gtest_brief=0)
    # A program that runs no test, or whose runner never reaches its summary, must not pass; the
    # pass pattern overrides the exit code, so sanitizer reports are matched as failures too.
    set_tests_properties(${T_NAME} PROPERTIES
        TIMEOUT 300
        ENVIRONMENT "TARVIN_BUILD_DIR=${CMAKE_BINARY_DIR}"
        PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] [1-9][0-9]* tests?\\."
        FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\];ERROR: [A-Za-z]+Sanitizer;runtime error:")
endfunction()
