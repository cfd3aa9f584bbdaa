# How the Windows program is handed out: a zip with Pyrel.exe, a readme and
# the licence at its top, which runs from wherever it is unpacked, and an
# installer (MSI) that administrators can deploy silently. The runtime is
# linked statically (cmake/mingw-w64-x86_64.cmake), so the program needs no
# DLL beside it.
#
#   cmake -DSTEP=stage -DSTAGE_DIR=<dir> -P <build>/app/identity/windows_packages.cmake
#   cmake -DSTEP=pack -DSTAGE_DIR=<dir> -DOUTPUT_DIR=<out> -P <build>/app/identity/windows_packages.cmake
#       -> <out>/Emberline-1.00-win64.zip and <out>/Emberline-1.00-win64.msi
#
# (scripts/release.sh runs both, signing in between when it has a key).

# Both texts in CR LF, for Notepad before Windows 10 version 1809.
set(EMBERLINE_README_TXT ${CMAKE_CURRENT_BINARY_DIR}/README.txt)
set(EMBERLINE_LICENSE_TXT ${CMAKE_CURRENT_BINARY_DIR}/LICENSE.txt)
configure_file(README.txt.in ${EMBERLINE_README_TXT} @ONLY NEWLINE_STYLE CRLF)
# With @ONLY only @NAME@ would be replaced, and the licence holds none.
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${EMBERLINE_LICENSE_TXT} @ONLY NEWLINE_STYLE CRLF)

install(TARGETS Pyrel RUNTIME DESTINATION .)
install(FILES ${EMBERLINE_README_TXT} ${EMBERLINE_LICENSE_TXT} DESTINATION .)

# The installer's upgrade code names the product across all its versions:
# it never changes. The product code is derived from it and the version.
set(EMBERLINE_MSI_UPGRADE_CODE C03C8644-7B4E-4F42-9FF0-43A281BD971E)
set(EMBERLINE_ZIP_NAME ${EMBERLINE_PRODUCT_NAME}-${EMBERLINE_VERSION_TEXT}-win64.zip)
set(EMBERLINE_MSI_NAME ${EMBERLINE_PRODUCT_NAME}-${EMBERLINE_VERSION_TEXT}-win64.msi)
# Looked for here, needed only when the installer is made.
find_program(EMBERLINE_WIXL wixl)
get_filename_component(EMBERLINE_ICON_NAME ${EMBERLINE_ICON_ICO} NAME)
set(EMBERLINE_WXS ${CMAKE_CURRENT_BINARY_DIR}/emberline.wxs)
configure_file(emberline.wxs.in ${EMBERLINE_WXS} @ONLY)
configure_file(windows_packages.cmake.in ${CMAKE_CURRENT_BINARY_DIR}/windows_packages.cmake @ONLY)
