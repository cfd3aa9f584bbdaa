# What the package checks share: their arguments, running a tool, and
# collecting the differences found so that one run reports them all.

# Stops unless every named variable is set and PROGRAM has been built.
function(require_arguments script)
    foreach(var IN LISTS ARGN)
        if(NOT ${var})
            message(FATAL_ERROR "${script}: ${var} is not set")
        endif()
    endforeach()
    if(NOT EXISTS "${PROGRAM}")
        message(FATAL_ERROR "${PROGRAM} does not exist: build the project before running the tests")
    endif()
endfunction()

# Runs a command and stops when it fails; its standard output is left in
# `output`.
function(run)
    execute_process(COMMAND ${ARGN}
        RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE error)
    if(NOT result EQUAL 0)
        list(JOIN ARGN " " command)
        message(FATAL_ERROR "${command} failed (${result}):\n${output}\n${error}")
    endif()
    set(output "${output}" PARENT_SCOPE)
endfunction()

set(failures "")
macro(expect_equal what actual expected)
    if(NOT "${actual}" STREQUAL "${expected}")
        string(APPEND failures "${what}:\n  expected: ${expected}\n  actual:   ${actual}\n")
    endif()
endmacro()
