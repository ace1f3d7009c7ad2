# Run after each build of a test program: writes one CTest test per GoogleTest suite of
# PROGRAM into OUTPUT, which CTest includes.
#   cmake -D PROGRAM=... -D OUTPUT=... -P ListSuites.cmake
execute_process(COMMAND ${PROGRAM} --gtest_list_tests
    OUTPUT_VARIABLE listing RESULT_VARIABLE result TIMEOUT 60)
if(NOT result EQUAL 0)
    file(REMOVE ${OUTPUT})
    message(FATAL_ERROR "${PROGRAM} --gtest_list_tests failed: ${result}")
endif()

# A suite's line is not indented and ends its name with a dot; its cases follow, indented.
string(REPLACE "\n" ";" lines "${listing}")
set(tests "")
foreach(line IN LISTS lines)
    if(line MATCHES "^([A-Za-z0-9_/]+)\\.")
        set(suite ${CMAKE_MATCH_1})
        string(APPEND tests
            "add_test([=[${suite}]=] [=[${PROGRAM}]=] [=[--gtest_filter=${suite}.*]=])\n"
            "set_tests_properties([=[${suite}]=] PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)\n")
    endif()
endforeach()
file(WRITE ${OUTPUT} "${tests}")
