# SPDX-License-Identifier: GPL-3.0-or-later
# Install layout of a desktop program and its Debian package (cpack -G DEB).
#   bin/kuvar, bin/kuvar-sim
#   share/kuvar/on.bmp, off.bmp, icons/*.png      the window finds them through ../share/kuvar
#   share/applications/kuvar.desktop, share/icons/hicolor/<n>x<n>/apps/kuvar.png
#   share/doc/kuvar/copyright, USER_GUIDE.md
include(GNUInstallDirs)

set(KUVAR_DATA_DIR ${CMAKE_INSTALL_DATADIR}/kuvar)

if(KUVAR_WITH_QT)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/on.bmp ${PROJECT_SOURCE_DIR}/resources/off.bmp
            DESTINATION ${KUVAR_DATA_DIR})
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/icons/
            DESTINATION ${KUVAR_DATA_DIR}/icons
            FILES_MATCHING PATTERN "*.png")
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/kuvar.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    foreach(size 16 24 32 48 64 128 256)
        install(FILES ${PROJECT_SOURCE_DIR}/packaging/icons/kuvar-${size}.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
                RENAME kuvar.png)
    endforeach()
endif()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${PROJECT_SOURCE_DIR}/docs/USER_GUIDE.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(KUVAR_PACKAGE_MAINTAINER "KUVAR viewer maintainers <kuvar@example.org>" CACHE STRING
    "Maintainer line of the Debian package")

set(CPACK_PACKAGE_NAME kuvar)
set(CPACK_PACKAGE_VENDOR "KUVAR viewer developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${KUVAR_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Viewer and configurator for KUVAR-AC and KUVAR-GY sensor modules")
# Debian wants the long description in lines of at most 80 characters.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "One window opens a serial port to a KUVAR-AC three-axis accelerometer or\n"
    "a KUVAR-GY attitude module, finds and changes its bus ID, baud rate, full\n"
    "scale, output interval and mode, and shows its stream of measurements on\n"
    "numeric displays, an attitude indicator and strip charts that can be\n"
    "exported as pictures or data.\n"
    ".\n"
    "The package also holds kuvar-sim, which simulates both modules on a\n"
    "pseudo-terminal, to try the window without a module.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/" "/\\\\.cache/")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # kuvar_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${KUVAR_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Korean texts of the window need a Korean face; the rest comes from the linked libraries.
set(KUVAR_DEB_RUNTIME fonts-nanum)
find_program(KUVAR_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(KUVAR_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "${KUVAR_DEB_RUNTIME}")
else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6core6, libqt6gui6, libqt6widgets6, \
libqt6serialport6, libqt6printsupport6, libqcustomplot2.1-qt6, ${KUVAR_DEB_RUNTIME}")
endif()

include(CPack)
