# How the Windows program is handed out: a zip with Pyrel.exe, a readme and
# the licence at its top, which runs from wherever it is unpacked. The
# runtime is linked statically (cmake/mingw-w64-x86_64.cmake), so the
# program needs no DLL beside it.
#
#   cpack -G ZIP    (in the build folder) -> Emberline-1.00-win64.zip

# Both texts in CR LF, for Notepad before Windows 10 version 1809.
set(EMBERLINE_README_TXT ${CMAKE_CURRENT_BINARY_DIR}/README.txt)
set(EMBERLINE_LICENSE_TXT ${CMAKE_CURRENT_BINARY_DIR}/LICENSE.txt)
configure_file(README.txt.in ${EMBERLINE_README_TXT} @ONLY NEWLINE_STYLE CRLF)
# With @ONLY only @NAME@ would be replaced, and the licence holds none.
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${EMBERLINE_LICENSE_TXT} @ONLY NEWLINE_STYLE CRLF)

install(TARGETS Pyrel RUNTIME DESTINATION .)
install(FILES ${EMBERLINE_README_TXT} ${EMBERLINE_LICENSE_TXT} DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME ${EMBERLINE_PRODUCT_NAME})
set(CPACK_PACKAGE_VERSION ${EMBERLINE_VERSION_TEXT})
set(CPACK_PACKAGE_VENDOR ${EMBERLINE_COMPANY_NAME})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Fraction of blackbody emissive power below a wavelength")
set(CPACK_SYSTEM_NAME win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
# The toolchain's strip: the debugging information stays in the build.
set(CPACK_STRIP_FILES ON)

include(CPack)
