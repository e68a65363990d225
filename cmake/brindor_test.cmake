# brindor_add_test(NAME name SOURCES a.cpp ... LIBS lib ...)
# One CTest entry per test program: under Wine a whole program is one start-up, not one per case.
function(brindor_add_test)
    cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} brindor_options gtest gtest_main)
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
endfunction()
