# The check of the web zip, in the browser build: included from
# tests/CMakeLists.txt when the build has the web front end. It runs on the
# build machine (a CMake script), so the emulator (Node) does not come into
# play.
add_test(NAME web_zip_holds_the_site
    COMMAND ${CMAKE_COMMAND}
        -DPACKAGE_SCRIPT=${CMAKE_BINARY_DIR}/packaging/web/web_package.cmake
        -DSITE_DIR=${PROJECT_BINARY_DIR}/site
        -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/web-zip
        -P ${CMAKE_CURRENT_LIST_DIR}/check_web_zip.cmake)
set_tests_properties(web_zip_holds_the_site PROPERTIES TIMEOUT 120)
