# Builds the Windows zip into WORK_DIR with the build's
# windows_packages.cmake, the script the release uses, unpacks it and checks
# what it holds: the program, stripped and dated with the release, with the
# readme and the licence beside it at the top, both texts in CR LF.
#
# Usage: cmake -DPACKAGE_SCRIPT=<build>/packaging/windows/windows_packages.cmake
#              -DPROGRAM=<built Pyrel.exe> -DLICENSE=<the project's LICENSE>
#              -DWORK_DIR=<dir> -P check_zip.cmake

cmake_minimum_required(VERSION 3.25)

include(${CMAKE_CURRENT_LIST_DIR}/package_check.cmake)
require_arguments(check_zip.cmake PACKAGE_SCRIPT PROGRAM LICENSE WORK_DIR)

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}/unpacked")
emberline_run("${CMAKE_COMMAND}" -DSTEP=stage -DSTAGE_DIR=${WORK_DIR}/stage -P "${PACKAGE_SCRIPT}")
emberline_run("${CMAKE_COMMAND}" -DSTEP=pack -DSTAGE_DIR=${WORK_DIR}/stage -DOUTPUT_DIR=${WORK_DIR}
    -P "${PACKAGE_SCRIPT}")

file(GLOB zips RELATIVE "${WORK_DIR}" "${WORK_DIR}/*.zip")
expect_equal("packages made" "${zips}" "Emberline-1.00-win64.zip")
if(failures)
    message(FATAL_ERROR "${failures}")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf "${WORK_DIR}/${zips}"
    WORKING_DIRECTORY "${WORK_DIR}/unpacked" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "could not unpack ${zips}")
endif()
file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE "${WORK_DIR}/unpacked" "${WORK_DIR}/unpacked/*")
list(SORT entries)
list(JOIN entries " " entries)
expect_equal("entries of ${zips}" "${entries}" "LICENSE.txt Pyrel.exe README.txt")

# The build keeps its debugging information; the zip's copy is stripped.
file(SIZE "${PROGRAM}" built_size)
set(packed "${WORK_DIR}/unpacked/Pyrel.exe")
if(EXISTS "${packed}")
    file(SIZE "${packed}" packed_size)
    if(NOT packed_size LESS built_size)
        string(APPEND failures "Pyrel.exe is not stripped: ${packed_size} bytes, built ${built_size}\n")
    endif()
endif()

# The date in the PE file header: the linker writes none (0), and the
# packed copy carries the release's, which stripping writes.
function(pe_date out file)
    file(READ "${file}" hex OFFSET 60 LIMIT 4 HEX)
    string(REGEX REPLACE "(..)(..)(..)(..)" "0x\\4\\3\\2\\1" header "${hex}")
    math(EXPR date_offset "${header} + 8")
    file(READ "${file}" hex OFFSET ${date_offset} LIMIT 4 HEX)
    string(REGEX REPLACE "(..)(..)(..)(..)" "0x\\4\\3\\2\\1" date "${hex}")
    math(EXPR date "${date}")
    set(${out} ${date} PARENT_SCOPE)
endfunction()
emberline_source_date_epoch("${CMAKE_CURRENT_LIST_DIR}/../..")
pe_date(built_date "${PROGRAM}")
expect_equal("PE date of the built Pyrel.exe" "${built_date}" "0")
if(EXISTS "${packed}")
    pe_date(packed_date "${packed}")
    expect_equal("PE date of the packed Pyrel.exe" "${packed_date}" "${SOURCE_DATE_EPOCH}")
endif()

# The texts as hex bytes "4d 49 54 ...", since file(READ) as text drops the
# CRs; to_crlf writes every line end as CR LF.
function(read_bytes out file)
    file(READ "${file}" hex HEX)
    string(REGEX REPLACE "(..)" "\\1 " bytes "${hex}")
    set(${out} "${bytes}" PARENT_SCOPE)
endfunction()
function(to_crlf out bytes)
    string(REPLACE "0d 0a " "0a " bytes "${bytes}")
    string(REPLACE "0a " "0d 0a " bytes "${bytes}")
    set(${out} "${bytes}" PARENT_SCOPE)
endfunction()

# The licence word for word, its lines ended by CR LF, and so the readme.
read_bytes(license "${LICENSE}")
to_crlf(license "${license}")
foreach(text README.txt LICENSE.txt)
    set(path "${WORK_DIR}/unpacked/${text}")
    if(NOT EXISTS "${path}")
        continue()
    endif()
    read_bytes(content "${path}")
    to_crlf(crlf "${content}")
    if(NOT content STREQUAL crlf OR content STREQUAL "")
        string(APPEND failures "${text} has lines not ended by CR LF, or is empty\n")
    endif()
    if(text STREQUAL "LICENSE.txt" AND NOT content STREQUAL license)
        string(APPEND failures "LICENSE.txt is not the project's LICENSE\n")
    endif()
endforeach()

if(failures)
    message(FATAL_ERROR "${zips}:\n${failures}")
endif()
message(STATUS "${zips}: ${entries}; Pyrel.exe ${packed_size} bytes (built ${built_size})")
