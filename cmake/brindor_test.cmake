# CTest labels, one per kind of test (`ctest -L KIND`): `unit` the native tree's tests, `wine` the
# Windows tree's test programs and probes under Wine, `e2e` the end-to-end scenarios.
if(WIN32)
    set(BRINDOR_TEST_LABEL wine)
else()
    set(BRINDOR_TEST_LABEL unit)
endif()

# brindor_add_test(NAME name SOURCES a.cpp ... LIBS lib ...)
# One CTest entry per test program: under Wine a whole program is one start-up, not one per case.
function(brindor_add_test)
    cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} brindor_options gtest gtest_main)
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set_tests_properties(${T_NAME} PROPERTIES LABELS ${BRINDOR_TEST_LABEL})
endfunction()
