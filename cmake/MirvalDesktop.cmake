# What a desktop and a Debian system expect beside the programs: the desktop
# entry, the MIME type of templates, the AppStream metainfo, the icon at the
# hicolor sizes, the manual pages and the bash completion of mirval-convert.
# The PNG icons and the manual pages are made at build time from their sources
# in data/ (rsvg-convert, scdoc).
include(GNUInstallDirs)

set(MIRVAL_APP_ID io.github.mirval.Mirval)

function(mirval_require_program variable name package)
    find_program(${variable} ${name})
    if(NOT ${variable})
        message(FATAL_ERROR "${name} is missing (Debian package ${package}): run scripts/install-deps.sh")
    endif()
endfunction()
mirval_require_program(MIRVAL_SCDOC scdoc scdoc)
mirval_require_program(MIRVAL_RSVG_CONVERT rsvg-convert librsvg2-bin)
mirval_require_program(MIRVAL_GZIP gzip gzip)

set(generated ${PROJECT_BINARY_DIR}/desktop)
set(made)

# Manual pages, compressed as Debian keeps them (gzip -9n: no name, no time).
foreach(page mirval.1 mirval-convert.1)
    set(source ${PROJECT_SOURCE_DIR}/data/man/${page}.scd)
    add_custom_command(OUTPUT ${generated}/${page}.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}
        COMMAND sh -c "\"$0\" < \"$1\" | \"$2\" -9n > \"$3\""
            ${MIRVAL_SCDOC} ${source} ${MIRVAL_GZIP} ${generated}/${page}.gz
        DEPENDS ${source}
        COMMENT "Making the manual page ${page}" VERBATIM)
    list(APPEND made ${generated}/${page}.gz)
    install(FILES ${generated}/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

# The icon: the SVG as it is, and PNGs rendered from it.
install(FILES ${PROJECT_SOURCE_DIR}/data/mirval.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 48 256)
    set(png ${generated}/icons/${size}/mirval.png)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}/icons/${size}
        COMMAND ${MIRVAL_RSVG_CONVERT} --width ${size} --height ${size}
            --output ${png} ${PROJECT_SOURCE_DIR}/data/mirval.svg
        DEPENDS ${PROJECT_SOURCE_DIR}/data/mirval.svg
        COMMENT "Rendering the ${size} px icon" VERBATIM)
    list(APPEND made ${png})
    install(FILES ${png}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

add_custom_target(mirval_desktop_files ALL DEPENDS ${made})

install(FILES ${PROJECT_SOURCE_DIR}/data/${MIRVAL_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/${MIRVAL_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/data/mirval-mime.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME mirval.xml)
install(FILES ${PROJECT_SOURCE_DIR}/data/completion/mirval-convert
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
