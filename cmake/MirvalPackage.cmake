# The Debian package, made by CPack from the install rules:
# scripts/package.sh (cpack -G DEB in the build tree) writes
# mirval_<version>_<arch>.deb. The programs find their data through
# ../share/mirval beside their folder, so the package installs under /usr
# whatever prefix the build tree was configured with.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mirval)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The MIRVAL developers")
set(CPACK_PACKAGE_CONTACT "The MIRVAL developers <mirval@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for Hebrew web pages in visual and logical order")
set(CPACK_PACKAGE_DESCRIPTION
    "MIRVAL edits Hebrew web pages: Hebrew is typed and kept in logical order, and pages\n"
    "marked as visual store every line in display order. It converts between logical text,\n"
    "visual HTML, semi-logical HTML and DOS text, and comes with mirval-convert, the same\n"
    "conversions on the command line.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_SET_DESTDIR ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://mirval.github.io/)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The shared libraries' packages, computed by dpkg-shlibdeps; and what the
# program needs at run time without linking it: fonts with Hebrew letters and
# the icon theme its icon belongs to.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, hicolor-icon-theme")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2")
# CPack runs the install script of the build tree as it is built, rather than
# building every target (tests and benchmarks among them) first.
# The wrapper strips the programs as cmake --install --strip does.
file(WRITE ${PROJECT_BINARY_DIR}/mirval_package_install.cmake
    "set(CMAKE_INSTALL_DO_STRIP 1)\ninclude(\"${PROJECT_BINARY_DIR}/cmake_install.cmake\")\n")
set(CPACK_INSTALL_CMAKE_PROJECTS "")
set(CPACK_INSTALL_SCRIPTS ${PROJECT_BINARY_DIR}/mirval_package_install.cmake)
include(CPack)
