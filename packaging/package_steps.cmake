# What the scripts that make the downloads share (deb_package.cmake,
# windows_packages.cmake, web_package.cmake, generated in each build folder):
# the time every file is dated with, running a tool, a staging folder whose
# modes and dates depend on nothing but its files, and Authenticode signing.
# The scripts only make files; the release script (scripts/release.sh) says
# which ones make up a release.

# SOURCE_DATE_EPOCH as given, or else the time of the commit the sources
# are at; exported, so that every tool run from here (strip, dpkg-deb)
# dates its output with it too.
function(emberline_source_date_epoch source_dir)
    if(NOT "$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
        set(epoch "$ENV{SOURCE_DATE_EPOCH}")
    else()
        execute_process(COMMAND git -C "${source_dir}" log -1 --format=%ct
            RESULT_VARIABLE result OUTPUT_VARIABLE epoch ERROR_QUIET
            OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(NOT result EQUAL 0)
            message(FATAL_ERROR "${source_dir} is not a git checkout: set SOURCE_DATE_EPOCH to the release's time")
        endif()
    endif()
    if(NOT epoch MATCHES "^[0-9]+$")
        message(FATAL_ERROR "SOURCE_DATE_EPOCH is not a number of seconds: ${epoch}")
    endif()
    set(ENV{SOURCE_DATE_EPOCH} "${epoch}")
    set(SOURCE_DATE_EPOCH "${epoch}" PARENT_SCOPE)
endfunction()

# Runs a command and stops when it fails; its standard output is left in
# `output`.
function(emberline_run)
    execute_process(COMMAND ${ARGN}
        RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE error)
    if(NOT result EQUAL 0)
        list(JOIN ARGN " " command)
        message(FATAL_ERROR "${command} failed (${result}):\n${output}\n${error}")
    endif()
    set(output "${output}" PARENT_SCOPE)
endfunction()

# Installs the build into an empty STAGE folder, stripped, then gives every
# folder mode 0755, every file 0644 (0755 if its owner may run it) and
# every entry the release's date, whatever the umask and the checkout's
# dates were. DESTDIR, when given, is put before the install prefix.
function(emberline_stage build_dir stage)
    cmake_parse_arguments(ARG "" "PREFIX" "" ${ARGN})
    file(REMOVE_RECURSE "${stage}")
    file(MAKE_DIRECTORY "${stage}")
    if(ARG_PREFIX)
        set(ENV{DESTDIR} "${stage}")
        emberline_run("${CMAKE_COMMAND}" --install "${build_dir}" --prefix "${ARG_PREFIX}" --strip)
        unset(ENV{DESTDIR})
    else()
        emberline_run("${CMAKE_COMMAND}" --install "${build_dir}" --prefix "${stage}" --strip)
    endif()
    emberline_normalize_tree("${stage}")
endfunction()

function(emberline_normalize_tree tree)
    emberline_run(find "${tree}" -type d -exec chmod 0755 {} +)
    emberline_run(find "${tree}" -type f -perm -u+x -exec chmod 0755 {} +)
    emberline_run(find "${tree}" -type f ! -perm -u+x -exec chmod 0644 {} +)
    emberline_run(find "${tree}" -exec touch --no-dereference --date=@$ENV{SOURCE_DATE_EPOCH} {} +)
endfunction()

# Signs FILE in place with an Authenticode signature: SHA-256, the product
# name as its description, and the release's date as the signing time, so
# that signing the same file with the same key gives the same bytes. No
# time stamp from a time-stamping authority is asked for (that would need
# the network and differ every time); the signature holds as long as the
# certificate does.
function(emberline_sign file cert key description)
    find_program(EMBERLINE_OSSLSIGNCODE osslsigncode)
    if(NOT EMBERLINE_OSSLSIGNCODE)
        message(FATAL_ERROR "signing needs osslsigncode: apt-get install osslsigncode")
    endif()
    file(REMOVE "${file}.signed")
    emberline_run("${EMBERLINE_OSSLSIGNCODE}" sign -certs "${cert}" -key "${key}"
        -h sha256 -n "${description}" -time "$ENV{SOURCE_DATE_EPOCH}"
        -in "${file}" -out "${file}.signed")
    file(RENAME "${file}.signed" "${file}")
endfunction()

# Attaches a signature taken from a published file (osslsigncode
# extract-signature) to FILE in place. With a CA file the signature's
# certificate chain must verify against it; without one osslsigncode checks
# it against the system's certificates, which may not know the signer's
# root, so then only a missing result fails: whether the file is the
# published one is decided by comparing the two.
function(emberline_attach_signature file signature)
    cmake_parse_arguments(ARG "" "CA_FILE" "" ${ARGN})
    find_program(EMBERLINE_OSSLSIGNCODE osslsigncode)
    if(NOT EMBERLINE_OSSLSIGNCODE)
        message(FATAL_ERROR "attaching a signature needs osslsigncode: apt-get install osslsigncode")
    endif()
    file(REMOVE "${file}.signed")
    set(ca "")
    if(ARG_CA_FILE)
        set(ca -CAfile "${ARG_CA_FILE}")
    endif()
    execute_process(COMMAND "${EMBERLINE_OSSLSIGNCODE}" attach-signature ${ca}
            -sigin "${signature}" -in "${file}" -out "${file}.signed"
        RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE error)
    if(NOT EXISTS "${file}.signed" OR (ARG_CA_FILE AND NOT result EQUAL 0))
        message(FATAL_ERROR "attaching ${signature} to ${file} failed (${result}):\n${output}\n${error}")
    elseif(NOT result EQUAL 0)
        message(STATUS "${signature} attached to ${file}; its certificate chain is not verified here")
    endif()
    file(RENAME "${file}.signed" "${file}")
endfunction()
