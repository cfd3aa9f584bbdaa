# Compresses INPUT into OUTPUT the way Debian packages want their manual
# pages and changelogs: best compression, and no name or time stamp in the
# header, so that the same input always gives the same bytes.
#
# Usage: cmake -DGZIP=<gzip> -DINPUT=<file> -DOUTPUT=<file.gz> -P gzip.cmake
execute_process(COMMAND "${GZIP}" -9 -n -c "${INPUT}"
    OUTPUT_FILE "${OUTPUT}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    file(REMOVE "${OUTPUT}")
    message(FATAL_ERROR "gzip ${INPUT} failed (${result})")
endif()
