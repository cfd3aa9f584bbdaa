# Builds the Debian package into WORK_DIR with the build's deb_package.cmake,
# the script the release uses, checks what it holds and what it depends on,
# and has lintian check it: any error or warning fails, informational tags
# do not.
#
# Usage: cmake -DPACKAGE_SCRIPT=<build>/packaging/deb/deb_package.cmake
#              -DDPKG_DEB=<dpkg-deb> -DLINTIAN=<lintian>
#              -DPROGRAM=<built Pyrel> -DWORK_DIR=<dir> -P check_deb.cmake

cmake_minimum_required(VERSION 3.25)

include(${CMAKE_CURRENT_LIST_DIR}/package_check.cmake)
require_arguments(check_deb.cmake PACKAGE_SCRIPT DPKG_DEB LINTIAN PROGRAM WORK_DIR)

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
emberline_run("${CMAKE_COMMAND}" -DOUTPUT_DIR=${WORK_DIR} -P "${PACKAGE_SCRIPT}")

file(GLOB debs "${WORK_DIR}/*.deb")
list(LENGTH debs count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one package in ${WORK_DIR}, found ${count}: ${debs}")
endif()
get_filename_component(deb_name "${debs}" NAME)
if(NOT deb_name MATCHES "^emberline_1\\.00_[a-z0-9]+\\.deb$")
    string(APPEND failures "package file name: ${deb_name}\n")
endif()

# The files, without the folders that lead to them.
emberline_run("${DPKG_DEB}" --contents "${debs}")
string(REPLACE "\n" ";" lines "${output}")
set(files "")
set(program_mode "")
foreach(line IN LISTS lines)
    if(NOT line STREQUAL "" AND NOT line MATCHES "^[-d][rwx-]+ root/root ")
        string(APPEND failures "entry not owned by root: ${line}\n")
    endif()
    if(line MATCHES "^-([rwx-]+) .* (\\./[^ ]+)$")
        list(APPEND files "${CMAKE_MATCH_2}")
        if(CMAKE_MATCH_2 STREQUAL "./usr/bin/Pyrel")
            set(program_mode "${CMAKE_MATCH_1}")
        endif()
    elseif(NOT line MATCHES "^d" AND NOT line STREQUAL "")
        string(APPEND failures "unexpected entry (neither file nor folder): ${line}\n")
    endif()
endforeach()
list(SORT files)
list(JOIN files " " files)
set(icons "")
foreach(size 128x128 16x16 24x24 256x256 32x32 48x48 64x64)
    string(APPEND icons " ./usr/share/icons/hicolor/${size}/apps/com.velmora.Emberline.png")
endforeach()
expect_equal("files in the package" "${files}"
    "./usr/bin/Pyrel ./usr/share/applications/com.velmora.Emberline.desktop ./usr/share/doc/emberline/changelog.gz ./usr/share/doc/emberline/copyright${icons} ./usr/share/icons/hicolor/scalable/apps/com.velmora.Emberline.svg ./usr/share/man/man1/Pyrel.1.gz ./usr/share/metainfo/com.velmora.Emberline.metainfo.xml")
expect_equal("mode of ./usr/bin/Pyrel" "${program_mode}" "rwxr-xr-x")

foreach(field Package Version Section Maintainer)
    emberline_run("${DPKG_DEB}" --field "${debs}" ${field})
    string(STRIP "${output}" value_${field})
endforeach()
expect_equal("Package" "${value_Package}" "emberline")
expect_equal("Version" "${value_Version}" "1.00")
expect_equal("Section" "${value_Section}" "science")
if(NOT value_Maintainer MATCHES "^[^<>]+ <[^@<> ]+@[^@<> ]+>$")
    string(APPEND failures "Maintainer is not a name and an address: ${value_Maintainer}\n")
endif()

# Each dependency by package name, whatever version it asks for.
emberline_run("${DPKG_DEB}" --field "${debs}" Depends)
string(STRIP "${output}" depends)
string(REGEX REPLACE " *\\([^)]*\\)" "" names "${depends}")
string(REGEX REPLACE " *, *" ";" names "${names}")
# The libraries as dpkg-shlibdeps finds them, with the C library among
# them, and the plugin and fonts that no library brings.
foreach(package libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins fonts-ebgaramond fonts-liberation)
    if(NOT package IN_LIST names)
        string(APPEND failures "Depends lacks ${package}: ${depends}\n")
    endif()
endforeach()

# lintian prints one tag a line, "E: package: tag details"; only errors
# and warnings fail. It exits non-zero on errors, so its own result is
# not taken as the verdict.
execute_process(COMMAND "${LINTIAN}" --display-info "${debs}"
    OUTPUT_VARIABLE lintian_output ERROR_VARIABLE lintian_error RESULT_VARIABLE lintian_result)
string(REGEX MATCHALL "(^|\n)[EW]: [^\n]*" bad_tags "${lintian_output}")
if(bad_tags)
    string(APPEND failures "lintian:\n${lintian_output}\n")
elseif(lintian_output MATCHES "(^|\n)I: " OR lintian_output STREQUAL "")
    message(STATUS "lintian: ${lintian_output}")
endif()
if(NOT lintian_result EQUAL 0 AND NOT bad_tags)
    string(APPEND failures "lintian failed (${lintian_result}): ${lintian_output}\n${lintian_error}\n")
endif()

if(failures)
    message(FATAL_ERROR "${deb_name}:\n${failures}")
endif()
message(STATUS "${deb_name}: ${files}; Depends: ${depends}")
