# How the program is installed and packed: the bundle keys, the install
# layout and the CPack settings.
# The bundle keeps the executable's name, Pyrel.app/Contents/MacOS/Pyrel.
set_target_properties(Pyrel PROPERTIES
    MACOSX_BUNDLE_BUNDLE_NAME ${EMBERLINE_PRODUCT_NAME}
    MACOSX_BUNDLE_BUNDLE_VERSION ${EMBERLINE_VERSION_TEXT}
    MACOSX_BUNDLE_SHORT_VERSION_STRING ${EMBERLINE_VERSION_TEXT}
    MACOSX_BUNDLE_GUI_IDENTIFIER ${EMBERLINE_APP_ID}
)

install(TARGETS Pyrel
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    BUNDLE DESTINATION .
)

if(UNIX AND NOT APPLE)
    # Desktop entry, icon and metadata all go by the application id, which
    # is how menus and software centres tie them together.
    install(FILES ${EMBERLINE_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${EMBERLINE_ICON_PNG}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps
        RENAME ${EMBERLINE_APP_ID}.png)
    install(FILES ${EMBERLINE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGE_NAME emberline)
    set(CPACK_PACKAGE_VERSION ${EMBERLINE_VERSION_TEXT})
    set(CPACK_PACKAGE_VENDOR ${EMBERLINE_COMPANY_NAME})
    set(CPACK_PACKAGE_CONTACT Velmora)
    set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
        "Fraction of blackbody emissive power below a wavelength")
    set(CPACK_PACKAGE_DESCRIPTION [[
Emberline is a small desktop calculator for radiative heat transfer.
Given an absolute temperature in kelvin and a wavelength in micrometres,
it shows the product of the two and the fraction of a blackbody's total
emissive power that is emitted below that wavelength.]])
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_MAINTAINER Velmora)
    set(CPACK_DEBIAN_PACKAGE_SECTION science)
    # The windows need a platform plugin besides the libraries, and the
    # fonts are the stand-ins for Garamond and MS Sans Serif.
    set(CPACK_DEBIAN_PACKAGE_DEPENDS
        "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), qt6-qpa-plugins, fonts-ebgaramond, fonts-liberation")
    set(CPACK_STRIP_FILES ON)
endif()

# Last: CPack records the packaging variables as they stand now.
include(CPack)
