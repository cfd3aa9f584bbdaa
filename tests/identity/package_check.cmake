# What the package checks share: their arguments, running a tool, and
# collecting the differences found so that one run reports them all.

# Stops unless every named variable is set and, when PROGRAM is one of
# them, it has been built.
function(require_arguments script)
    foreach(var IN LISTS ARGN)
        if(NOT ${var})
            message(FATAL_ERROR "${script}: ${var} is not set")
        endif()
    endforeach()
    if("PROGRAM" IN_LIST ARGN AND NOT EXISTS "${PROGRAM}")
        message(FATAL_ERROR "${PROGRAM} does not exist: build the project before running the tests")
    endif()
endfunction()

# Running a tool, as the package scripts run theirs (emberline_run: stops
# when the tool fails, its standard output left in `output`).
include(${CMAKE_CURRENT_LIST_DIR}/../../packaging/package_steps.cmake)

set(failures "")
macro(expect_equal what actual expected)
    if(NOT "${actual}" STREQUAL "${expected}")
        string(APPEND failures "${what}:\n  expected: ${expected}\n  actual:   ${actual}\n")
    endif()
endmacro()
