# What `cmake --install` puts where the desktop expects it. Every destination is relative, so
# `--prefix` and DESTDIR both work.

set(VEMURION_APP_ID io.github.vemurion.Vemurion)
set(VEMURION_MIME_ICON application-x-dreamcast-lcdimg)
set(VEMURION_ICON_SIZES 16 22 24 32 48 64 128 256)

install(TARGETS vemurion RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/help/ DESTINATION ${VEMURION_HELP_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vemurion)

# The manual pages, written for scdoc in man/.
find_program(VEMURION_SCDOC scdoc REQUIRED)
set(man_pages)
foreach(name vemurion vemurion-cli)
    set(source ${CMAKE_SOURCE_DIR}/man/${name}.1.scd)
    set(page ${CMAKE_BINARY_DIR}/man/${name}.1)
    add_custom_command(
        OUTPUT ${page}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
        COMMAND ${VEMURION_SCDOC} < ${source} > ${page}
        DEPENDS ${source}
        VERBATIM)
    list(APPEND man_pages ${page})
endforeach()
add_custom_target(vemurion_man ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(packaging ${CMAKE_SOURCE_DIR}/packaging)
install(FILES ${packaging}/${VEMURION_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${packaging}/${VEMURION_APP_ID}.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${packaging}/${VEMURION_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${packaging}/${VEMURION_APP_ID}.thumbnailer
        DESTINATION ${CMAKE_INSTALL_DATADIR}/thumbnailers)

# The icons: the drawn SVG, and PNGs rendered from it by the build for desktops that want them.
find_program(VEMURION_RSVG_CONVERT rsvg-convert REQUIRED)
set(hicolor ${CMAKE_BINARY_DIR}/icons/hicolor)
set(icon_pngs)
foreach(pair "apps;${VEMURION_APP_ID}" "mimetypes;${VEMURION_MIME_ICON}")
    list(GET pair 0 context)
    list(GET pair 1 name)
    set(svg ${packaging}/icons/${name}.svg)
    install(FILES ${svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/${context})
    foreach(size ${VEMURION_ICON_SIZES})
        set(png ${hicolor}/${size}x${size}/${context}/${name}.png)
        add_custom_command(
            OUTPUT ${png}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${hicolor}/${size}x${size}/${context}
            COMMAND ${VEMURION_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${svg}
            DEPENDS ${svg}
            VERBATIM)
        list(APPEND icon_pngs ${png})
    endforeach()
endforeach()
add_custom_target(vemurion_icons ALL DEPENDS ${icon_pngs})
install(DIRECTORY ${hicolor}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor
        PATTERN scalable EXCLUDE)
