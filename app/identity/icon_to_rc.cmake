# Splits a one-image .ico file into the two pieces pyrel.rc files as raw
# resource data, so the icon file stays the only copy of the picture:
#
#   pyrel_icon_image.rc2  the image (BITMAPINFOHEADER, palette, colour bits,
#                         mask) as 16-bit little-endian words, for RT_ICON
#   pyrel_icon_entry.rc2  width, height, colour count, reserved, planes, bit
#                         count and byte count of the image, as the first
#                         six words of the group's GRPICONDIRENTRY; the
#                         resource number that ends the entry is pyrel.rc's
#
# Usage: cmake -DICON=<file.ico> -DOUTPUT_DIR=<dir> -P icon_to_rc.cmake
#
# Resource scripts have no byte-sized raw data that both rc.exe and windres
# read alike, so the data is written as words; an icon image is a DIB whose
# rows are padded to four bytes, so its length is always even.

cmake_minimum_required(VERSION 3.25)

if(NOT ICON OR NOT OUTPUT_DIR)
    message(FATAL_ERROR "usage: cmake -DICON=<file.ico> -DOUTPUT_DIR=<dir> -P icon_to_rc.cmake")
endif()

# Little-endian unsigned integer of `size` bytes at `offset` of the file.
function(read_le out offset size)
    file(READ "${ICON}" hex OFFSET ${offset} LIMIT ${size} HEX)
    string(LENGTH "${hex}" length)
    math(EXPR expected "${size} * 2")
    if(NOT length EQUAL expected)
        message(FATAL_ERROR "${ICON}: ends inside its header")
    endif()
    set(value 0)
    set(bytes "")
    while(hex)
        string(SUBSTRING "${hex}" 0 2 byte)
        string(SUBSTRING "${hex}" 2 -1 hex)
        math(EXPR byte "0x${byte}")
        list(PREPEND bytes ${byte})
    endwhile()
    foreach(byte IN LISTS bytes)
        math(EXPR value "${value} * 256 + ${byte}")
    endforeach()
    set(${out} ${value} PARENT_SCOPE)
endfunction()

# Hex bytes "aabbccdd..." as rc words "0xBBAA, 0xDDCC, ...", twelve a line,
# without a separator after the last word.
function(hex_to_words out hex)
    string(TOUPPER "${hex}" hex)
    string(REGEX REPLACE "(..)(..)" "0x\\2\\1;" words "${hex}")
    list(POP_BACK words) # the empty element after the last ';'
    list(LENGTH words count)
    set(lines "")
    set(first 0)
    while(first LESS count)
        list(SUBLIST words ${first} 12 line)
        list(JOIN line ", " line)
        list(APPEND lines "${line}")
        math(EXPR first "${first} + 12")
    endwhile()
    list(JOIN lines ",\n" text)
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

file(SIZE "${ICON}" file_size)
read_le(reserved 0 2)
read_le(type 2 2)
read_le(count 4 2)
if(NOT reserved EQUAL 0 OR NOT type EQUAL 1)
    message(FATAL_ERROR "${ICON}: not an icon file")
endif()
if(NOT count EQUAL 1)
    message(FATAL_ERROR "${ICON}: holds ${count} images; the program's icon is exactly one")
endif()

read_le(image_size 14 4)
read_le(image_offset 18 4)
math(EXPR image_end "${image_offset} + ${image_size}")
if(image_end GREATER file_size OR image_size EQUAL 0)
    message(FATAL_ERROR "${ICON}: the image lies outside the file")
endif()
math(EXPR odd "${image_size} % 2")
if(odd)
    message(FATAL_ERROR "${ICON}: the image has an odd length (${image_size} bytes); only DIB images are supported")
endif()

file(READ "${ICON}" entry_hex OFFSET 6 LIMIT 12 HEX)
hex_to_words(entry_words "${entry_hex}")
file(READ "${ICON}" image_hex OFFSET ${image_offset} LIMIT ${image_size} HEX)
hex_to_words(image_words "${image_hex}")
# The entry words are followed by the image's resource number in pyrel.rc.
string(APPEND entry_words ",\n")
string(APPEND image_words "\n")

set(note "// Generated from ${ICON} by icon_to_rc.cmake; do not edit.\n")
file(WRITE "${OUTPUT_DIR}/pyrel_icon_image.rc2" "${note}${image_words}")
file(WRITE "${OUTPUT_DIR}/pyrel_icon_entry.rc2" "${note}${entry_words}")
