# How the browser front end is handed out: its static site (index.html and
# every file it loads, by relative URLs, which the build leaves in
# <build>/site) in a zip with index.html at its top, to be unpacked into
# any folder a web server serves.
#
#   cmake -DOUTPUT_DIR=<out> -P <build>/app/identity/web_package.cmake
#       -> <out>/Emberline-1.00-web.zip
#
# Every build folder gets the script; only the browser build has a site,
# and in another one it packs the folder given as SITE_DIR.
set(EMBERLINE_WEB_SITE_DIR ${PROJECT_BINARY_DIR}/site)
set(EMBERLINE_WEB_ZIP_NAME ${EMBERLINE_PRODUCT_NAME}-${EMBERLINE_VERSION_TEXT}-web.zip)
configure_file(web_package.cmake.in ${CMAKE_CURRENT_BINARY_DIR}/web_package.cmake @ONLY)
