# The checks of the Windows program file and its zip, in the MinGW build:
# included from tests/CMakeLists.txt when the build has the target Pyrel.
# Both run on the build machine, so they are not targets and the emulator
# (Wine) does not come into play.

# A python3 that has pefile (python3-pefile), which may not be the first
# python3 on PATH.
function(emberline_python_has_pefile result candidate)
    execute_process(COMMAND ${candidate} -c "import pefile"
        RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
    if(NOT status EQUAL 0)
        set(${result} FALSE PARENT_SCOPE)
    endif()
endfunction()
find_program(EMBERLINE_PEFILE_PYTHON NAMES python3
    PATHS /usr/bin VALIDATOR emberline_python_has_pefile)
if(NOT EMBERLINE_PEFILE_PYTHON)
    message(FATAL_ERROR "the check of Pyrel.exe needs python3 with pefile: apt-get install python3-pefile")
endif()

# The version strings as pyrel.rc writes them, in their order.
set(version_strings
    CompanyName=${EMBERLINE_COMPANY_NAME}
    ProductName=${EMBERLINE_PRODUCT_NAME}
    FileVersion=${EMBERLINE_VERSION_TEXT}
    ProductVersion=${EMBERLINE_VERSION_TEXT}
    InternalName=${EMBERLINE_EXECUTABLE_NAME}
    OriginalFilename=${EMBERLINE_EXECUTABLE_NAME}.exe
)
list(TRANSFORM version_strings PREPEND --version-string=)
add_test(NAME windows_program_file
    COMMAND ${EMBERLINE_PEFILE_PYTHON} ${CMAKE_CURRENT_LIST_DIR}/check_pe.py
        $<TARGET_FILE:Pyrel>
        --icon ${PROJECT_SOURCE_DIR}/resources/pyrel.ico
        ${version_strings})

add_test(NAME windows_zip_holds_the_program
    COMMAND ${CMAKE_COMMAND}
        -DPACKAGE_SCRIPT=${CMAKE_BINARY_DIR}/packaging/windows/windows_packages.cmake
        -DPROGRAM=$<TARGET_FILE:Pyrel>
        -DLICENSE=${PROJECT_SOURCE_DIR}/LICENSE
        -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/windows-zip
        -P ${CMAKE_CURRENT_LIST_DIR}/check_zip.cmake)
set_tests_properties(windows_zip_holds_the_program PROPERTIES TIMEOUT 120)

# The installer, installed quietly under Wine in a prefix of its own: the
# probe starts the installed program and waits for its window.
add_executable(window_probe ${CMAKE_CURRENT_LIST_DIR}/window_probe.cpp)
target_link_libraries(window_probe PRIVATE Emberline::warnings)
target_link_options(window_probe PRIVATE -municode)
find_program(EMBERLINE_MSIINFO msiinfo)
if(NOT EMBERLINE_MSIINFO OR NOT EMBERLINE_WIXL)
    message(FATAL_ERROR "the installer check needs wixl and msiinfo: apt-get install wixl msitools")
endif()
add_test(NAME windows_installer_installs_upgrades_and_uninstalls
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/check_msi.sh
        ${CMAKE_CURRENT_BINARY_DIR}/windows-msi
        ${CMAKE_BINARY_DIR}/packaging/windows/windows_packages.cmake
        $<TARGET_FILE:window_probe>
        ${PROJECT_SOURCE_DIR}/resources/pyrel.ico)
set_tests_properties(windows_installer_installs_upgrades_and_uninstalls PROPERTIES TIMEOUT 300
    ENVIRONMENT "EMBERLINE_WINE=${CMAKE_CROSSCOMPILING_EMULATOR}")
