# The program as a desktop program: its desktop entry, icon, manual page and documents, and the
# Debian package "make package" builds with CPack.
#
# The install rules keep the portable layout (bin/pindrel with background/ and icons/ beside it,
# the shared libraries in lib/). The package puts that folder under /usr/lib/pindrel, with
# /usr/bin/pindrel a link to the program (cmake/PindrelPackageLayout.cmake rearranges the
# staging tree), so the program finds its pictures and libraries as it does in any other folder.
# Such a folder is not the user's to write: config.ini goes to $XDG_CONFIG_HOME/pindrel/.

set(pindrel_desktop ${PROJECT_SOURCE_DIR}/app/resources/desktop)
install(FILES ${pindrel_desktop}/pindrel.desktop DESTINATION share/applications)
install(FILES ${pindrel_desktop}/pindrel.svg DESTINATION share/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
    install(FILES ${pindrel_desktop}/pindrel-${size}.png
        DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME pindrel.png)
endforeach()

# Debian wants the manual page and the change log compressed, without time stamps.
find_program(PINDREL_GZIP gzip)
if(PINDREL_GZIP)
    set(pindrel_doc_out ${CMAKE_BINARY_DIR}/package-docs)
    add_custom_command(OUTPUT ${pindrel_doc_out}/pindrel.1.gz ${pindrel_doc_out}/changelog.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${pindrel_doc_out}
        COMMAND ${PINDREL_GZIP} -9n -c ${pindrel_desktop}/pindrel.1 > ${pindrel_doc_out}/pindrel.1.gz
        COMMAND ${PINDREL_GZIP} -9n -c ${pindrel_desktop}/changelog > ${pindrel_doc_out}/changelog.gz
        DEPENDS ${pindrel_desktop}/pindrel.1 ${pindrel_desktop}/changelog
        VERBATIM)
    add_custom_target(pindrel_package_docs ALL
        DEPENDS ${pindrel_doc_out}/pindrel.1.gz ${pindrel_doc_out}/changelog.gz)
    install(FILES ${pindrel_doc_out}/pindrel.1.gz DESTINATION share/man/man1)
    install(FILES ${pindrel_doc_out}/changelog.gz DESTINATION share/doc/pindrel)
endif()
install(FILES ${pindrel_desktop}/copyright DESTINATION share/doc/pindrel)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pindrel)
set(CPACK_PACKAGE_VENDOR "The Pindrel developers")
set(CPACK_PACKAGE_CONTACT "Pindrel developers <developers@pindrel.example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://pindrel.example.org/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "bar of drawer buttons docked at the screen's edge")
# CPack puts the summary on the Description line and this below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Pindrel keeps a thin bar along the top or bottom edge of
the primary monitor, above other windows, reserving its space as a panel
does. Each button opens a drawer: a small window that lists the files of
one folder. The bar also holds a menu of programs to start, and files
dropped on a button are copied into its folder.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The program's own libraries are private to it; dpkg-shlibdeps is told where they are.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/lib)
# Opening folders, documents and web pages goes through xdg-open; the drawer's tools are the icon
# theme's symbolic (SVG) icons.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, libqt6svg6, adwaita-icon-theme")
set(CPACK_STRIP_FILES ON)
# The package is the program: the path combo's Qt Designer plugin (component vexlo_designer) is
# for developers who build forms with the control, and stays out of it.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};Unspecified;/")
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/PindrelPackageLayout.cmake)
include(CPack)

# Everything the install rules take, and nothing else: what "make run" and "make package" build.
add_custom_target(pindrel_program)
add_dependencies(pindrel_program pindrel txini_cli)
if(TARGET pindrel_package_docs)
    add_dependencies(pindrel_program pindrel_package_docs)
endif()

if(PINDREL_BUILD_TESTS)
    add_test(NAME pindrel.package
        COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/test-package.sh ${CMAKE_BINARY_DIR})
    set_tests_properties(pindrel.package PROPERTIES TIMEOUT 240
        ENVIRONMENT_MODIFICATION "DISPLAY=unset:;QT_QPA_PLATFORM=unset:")
endif()
