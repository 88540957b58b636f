# `make package`: a Debian package of what `cmake --install` installs, under /usr.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vemurion)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Vemurion developers")
set(CPACK_PACKAGE_CONTACT "The Vemurion developers <vemurion@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for Dreamcast Visual Memory LCD animations")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Vemurion draws the 48 x 32 dot black-and-white animations that the Dreamcast web browser\n"
    "plays on the Visual Memory LCD, frame by frame with display times and a loop count, and\n"
    "saves them as LCD image files (application/x-dreamcast-lcdimg). vemurion-cli converts\n"
    "pictures and makes the thumbnails file managers show.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/vemurion/vemurion)
# The library dependencies come from the programs themselves, through dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Japanese texts in Qt's own dialogs, the window's font, the help pages' browser, the caches.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "qt6-translations-l10n, fonts-ipafont-gothic, xdg-utils, shared-mime-info, desktop-file-utils, hicolor-icon-theme")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${CMAKE_SOURCE_DIR}/packaging/debian/postinst ${CMAKE_SOURCE_DIR}/packaging/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
