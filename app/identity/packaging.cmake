# How the program is installed and packed: the bundle keys, the install
# layout and, on Linux, the Debian package:
#
#   cmake -DOUTPUT_DIR=<out> -P <build>/app/identity/deb_package.cmake
#       -> <out>/emberline_1.00_amd64.deb

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
    set(EMBERLINE_PACKAGE_NAME emberline)
    # The product's own packaging address, a placeholder in a reserved
    # domain until the product has a public one.
    set(EMBERLINE_PACKAGE_CONTACT
        "${EMBERLINE_PRODUCT_NAME} Packaging <packaging@emberline.velmora.example>")
    set(EMBERLINE_COPYRIGHT "2026 ${EMBERLINE_COMPANY_NAME}")
    set(EMBERLINE_RELEASE_DATE 2026-12-08)
    set(EMBERLINE_RELEASE_DATE_RFC2822 "Tue, 08 Dec 2026 00:00:00 +0000")
    set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/${EMBERLINE_PACKAGE_NAME})

    # Bind every symbol at start-up, so the relocations can be made
    # read-only (Debian's hardening flags).
    target_link_options(Pyrel PRIVATE "LINKER:-z,now")

    # Desktop entry, icon and metadata all go by the application id, which
    # is how menus and software centres tie them together. The 48-pixel
    # icon is the program's own; the other sizes and the SVG are the same
    # picture for launchers that show larger or smaller icons.
    install(FILES ${EMBERLINE_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${EMBERLINE_ICON_PNG}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps
        RENAME ${EMBERLINE_APP_ID}.png)
    foreach(size 16 24 32 64 128 256)
        install(FILES ${PROJECT_SOURCE_DIR}/resources/pyrel-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${EMBERLINE_APP_ID}.png)
    endforeach()
    install(FILES ${PROJECT_SOURCE_DIR}/resources/pyrel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${EMBERLINE_APP_ID}.svg)
    install(FILES ${EMBERLINE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

    # The copyright file in Debian's machine-readable form, its licence
    # text taken from LICENSE so that the two cannot disagree.
    file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
    if(NOT license MATCHES "\nCopyright \\(c\\) ${EMBERLINE_COPYRIGHT}\n")
        message(FATAL_ERROR "LICENSE does not name the holder ${EMBERLINE_COPYRIGHT}")
    endif()
    string(FIND "${license}" "Permission is hereby granted" body_start)
    string(SUBSTRING "${license}" ${body_start} -1 body)
    string(STRIP "${body}" body)
    string(REGEX REPLACE "\n\n" "\n.\n" body "${body}")
    string(REPLACE "\n" "\n " body "${body}")
    set(EMBERLINE_LICENSE_BODY " ${body}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
    configure_file(copyright.in ${CMAKE_CURRENT_BINARY_DIR}/copyright @ONLY)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/copyright DESTINATION ${doc_dir})

    # The changelog of a native package and the manual page, compressed
    # as Debian installs them.
    find_program(EMBERLINE_GZIP gzip REQUIRED)
    configure_file(changelog.in ${CMAKE_CURRENT_BINARY_DIR}/changelog @ONLY)
    configure_file(Pyrel.1.in ${CMAKE_CURRENT_BINARY_DIR}/${EMBERLINE_EXECUTABLE_NAME}.1 @ONLY)
    set(compressed "")
    foreach(file changelog ${EMBERLINE_EXECUTABLE_NAME}.1)
        add_custom_command(
            OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${file}.gz
            COMMAND ${CMAKE_COMMAND} -DGZIP=${EMBERLINE_GZIP}
                -DINPUT=${CMAKE_CURRENT_BINARY_DIR}/${file}
                -DOUTPUT=${CMAKE_CURRENT_BINARY_DIR}/${file}.gz
                -P ${CMAKE_CURRENT_SOURCE_DIR}/gzip.cmake
            DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/${file} ${CMAKE_CURRENT_SOURCE_DIR}/gzip.cmake
            VERBATIM)
        list(APPEND compressed ${CMAKE_CURRENT_BINARY_DIR}/${file}.gz)
    endforeach()
    add_custom_target(emberline_package_docs ALL DEPENDS ${compressed})
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz DESTINATION ${doc_dir})
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${EMBERLINE_EXECUTABLE_NAME}.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

    # The package's control data; deb_package.cmake (generated below)
    # stages the install, asks dpkg-shlibdeps for the libraries and packs it
    # all with dpkg-deb.
    set(EMBERLINE_DEB_SECTION science)
    set(EMBERLINE_DEB_DESCRIPTION [[
Emberline is a small desktop calculator for radiative heat transfer.
Given an absolute temperature in kelvin and a wavelength in micrometres,
it shows the product of the two and the fraction of a blackbody's total
emissive power that is emitted below that wavelength.]])
    # The libraries come from dpkg-shlibdeps on the binary; the windows
    # also need a platform plugin, which no library brings, and the fonts
    # that stand in for Garamond and MS Sans Serif.
    set(EMBERLINE_DEB_EXTRA_DEPENDS "qt6-qpa-plugins, fonts-ebgaramond, fonts-liberation")
    # Looked for here, needed only when the package is made; a system
    # without dpkg gets no package script.
    find_program(EMBERLINE_DPKG_DEB dpkg-deb)
    find_program(EMBERLINE_DPKG_SHLIBDEPS dpkg-shlibdeps)
    find_program(EMBERLINE_DPKG dpkg)
    if(EMBERLINE_DPKG)
        execute_process(COMMAND ${EMBERLINE_DPKG} --print-architecture
            OUTPUT_VARIABLE EMBERLINE_DEB_ARCHITECTURE OUTPUT_STRIP_TRAILING_WHITESPACE
            COMMAND_ERROR_IS_FATAL ANY)
        set(EMBERLINE_DEB_NAME
            ${EMBERLINE_PACKAGE_NAME}_${EMBERLINE_VERSION_TEXT}_${EMBERLINE_DEB_ARCHITECTURE}.deb)
        string(REGEX REPLACE "\n" "\n " EMBERLINE_DEB_DESCRIPTION_BODY " ${EMBERLINE_DEB_DESCRIPTION}")
        configure_file(deb_package.cmake.in ${CMAKE_CURRENT_BINARY_DIR}/deb_package.cmake @ONLY)
    endif()
endif()
