# Warning set for every target of the project; KESTROVA_WERROR makes them errors (CI).
add_library(kestrova_warnings INTERFACE)
target_compile_options(kestrova_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wold-style-cast -Wnon-virtual-dtor
    -Wcast-align -Woverloaded-virtual -Wconversion -Wsign-conversion
    -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough)
if(KESTROVA_WERROR)
    target_compile_options(kestrova_warnings INTERFACE -Werror)
endif()

# Adds the project's warnings to a target.
function(kestrova_target target)
    target_link_libraries(${target} PRIVATE kestrova_warnings)
endfunction()

# A GoogleTest executable beside the code it tests, registered with CTest. OWN_MAIN for tests
# that bring their own main (to set up an application object first).
function(kestrova_test name)
    cmake_parse_arguments(ARG "OWN_MAIN" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    kestrova_target(${name})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock)
    if(ARG_OWN_MAIN)
        target_link_libraries(${name} PRIVATE GTest::gtest)
    else()
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
    target_compile_definitions(${name} PRIVATE
        KESTROVA_SOURCE_DIR="${KESTROVA_SOURCE_DIR}")
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()
