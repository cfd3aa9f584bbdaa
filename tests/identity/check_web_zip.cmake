# Checks that the web zip holds the site, exactly: one entry for each file
# of SITE_DIR, no other entry (no folders, no file twice), and each entry
# the site's file byte for byte. The zip is ZIP when given (a release's,
# from scripts/release-test.sh); otherwise it is made into WORK_DIR with the
# build's web_package.cmake, the script the release uses, from the site its
# build left (the script's own default, not SITE_DIR).
#
# Usage: cmake [-DZIP=<zip> | -DPACKAGE_SCRIPT=<build>/packaging/web/web_package.cmake]
#              -DSITE_DIR=<build>/site -DWORK_DIR=<dir> -P check_web_zip.cmake

cmake_minimum_required(VERSION 3.25)

include(${CMAKE_CURRENT_LIST_DIR}/package_check.cmake)
if(NOT ZIP)
    require_arguments(check_web_zip.cmake PACKAGE_SCRIPT SITE_DIR WORK_DIR)
else()
    require_arguments(check_web_zip.cmake SITE_DIR WORK_DIR)
endif()
foreach(path ZIP SITE_DIR WORK_DIR)
    if(${path})
        cmake_path(ABSOLUTE_PATH ${path} NORMALIZE)
    endif()
endforeach()
if(NOT EXISTS "${SITE_DIR}/index.html")
    message(FATAL_ERROR "${SITE_DIR}/index.html does not exist: build the site first")
endif()

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}/unpacked")
if(NOT ZIP)
    emberline_run("${CMAKE_COMMAND}" -DOUTPUT_DIR=${WORK_DIR} -P "${PACKAGE_SCRIPT}")
    file(GLOB zips "${WORK_DIR}/*.zip")
    list(TRANSFORM zips REPLACE ".*/" "" OUTPUT_VARIABLE names)
    expect_equal("packages made" "${names}" "Emberline-1.00-web.zip")
    if(failures)
        message(FATAL_ERROR "${failures}")
    endif()
    set(ZIP "${zips}")
endif()
cmake_path(GET ZIP FILENAME zip_name)

# The entries as the zip lists them, against the site's files: each file
# once, and nothing else (a folder's own entry, a file that is not the
# site's, a second entry of the same name).
emberline_run("${CMAKE_COMMAND}" -E tar tf "${ZIP}")
string(REGEX REPLACE "\n$" "" entries "${output}")
string(REPLACE "\n" ";" entries "${entries}")
file(GLOB_RECURSE site_files LIST_DIRECTORIES false RELATIVE "${SITE_DIR}" "${SITE_DIR}/*")
list(SORT site_files)
set(missing "")
set(extra ${entries})
foreach(name IN LISTS site_files)
    list(FIND extra "${name}" at)
    if(at EQUAL -1)
        list(APPEND missing "${name}")
    else()
        list(REMOVE_AT extra ${at})
    endif()
endforeach()
if(missing)
    list(JOIN missing " " missing)
    string(APPEND failures "files of the site missing from ${zip_name}: ${missing}\n")
endif()
if(extra)
    list(JOIN extra " " extra)
    string(APPEND failures "entries of ${zip_name} that are not the site's files, or repeat one: ${extra}\n")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf "${ZIP}"
    WORKING_DIRECTORY "${WORK_DIR}/unpacked" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "could not unpack ${ZIP}")
endif()
foreach(name IN LISTS site_files)
    set(packed "${WORK_DIR}/unpacked/${name}")
    if(EXISTS "${packed}")
        execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${SITE_DIR}/${name}" "${packed}"
            RESULT_VARIABLE differs)
        if(NOT differs EQUAL 0)
            string(APPEND failures "${name} in ${zip_name} is not the site's file\n")
        endif()
    endif()
endforeach()

if(failures)
    message(FATAL_ERROR "${zip_name} against ${SITE_DIR}:\n${failures}")
endif()
list(LENGTH site_files count)
message(STATUS "${zip_name}: the ${count} files of ${SITE_DIR}, byte for byte")
