# The program's identity, written once: everything that shows a name or the
# version (the About text, the Qt application, the Windows resources, the
# packages in packaging/) takes it from here and from project(... VERSION ...).
# Included from the top-level CMakeLists.txt before any target is made.
set(EMBERLINE_PRODUCT_NAME ${PROJECT_NAME})
set(EMBERLINE_COMPANY_NAME Velmora)
set(EMBERLINE_EXECUTABLE_NAME Pyrel)
set(EMBERLINE_APP_ID com.velmora.Emberline)

# The version as the program writes it: "1.00" (minor in two digits), and
# the short form "1.0" of the About window's first line.
if(PROJECT_VERSION_MINOR LESS 10)
    set(EMBERLINE_VERSION_TEXT ${PROJECT_VERSION_MAJOR}.0${PROJECT_VERSION_MINOR})
else()
    set(EMBERLINE_VERSION_TEXT ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})
endif()
set(EMBERLINE_VERSION_SHORT ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})

# The one-line description of the desktop packages and the installer.
set(EMBERLINE_DESCRIPTION_SUMMARY "Fraction of blackbody emissive power below a wavelength")

# The icon in the forms Windows and the Linux desktop take it in.
set(EMBERLINE_ICON_ICO ${PROJECT_SOURCE_DIR}/resources/pyrel.ico)
set(EMBERLINE_ICON_PNG ${PROJECT_SOURCE_DIR}/resources/pyrel.png)

configure_file(${CMAKE_CURRENT_LIST_DIR}/identity.h.in
    ${PROJECT_BINARY_DIR}/generated/emberline/identity.h @ONLY)
add_library(emberline_identity INTERFACE)
add_library(Emberline::identity ALIAS emberline_identity)
target_include_directories(emberline_identity INTERFACE $<BUILD_INTERFACE:${PROJECT_BINARY_DIR}/generated>)
