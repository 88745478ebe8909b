# SPDX-License-Identifier: GPL-3.0-or-later
# Install layout of a desktop program and its Debian package (cpack -G DEB).
#   bin/kuvar, bin/kuvar-sim
#   share/kuvar/on.bmp, off.bmp                   the window finds them through ../share/kuvar
#                                                 (the buttons' icons are compiled in)
#   share/applications/kuvar.desktop, share/icons/hicolor/<n>x<n>/apps/kuvar.png
#   share/man/man1/kuvar.1.gz, kuvar-sim.1.gz     cmake/ManPages.cmake
#   share/doc/kuvar/copyright, changelog.Debian.gz, USER_GUIDE.md
#   share/lintian/overrides/kuvar
include(GNUInstallDirs)

set(KUVAR_DATA_DIR ${CMAKE_INSTALL_DATADIR}/kuvar)

if(KUVAR_WITH_QT)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/on.bmp ${PROJECT_SOURCE_DIR}/resources/off.bmp
            DESTINATION ${KUVAR_DATA_DIR})
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

# The Debian revision of the package: its version is <project version>-<revision>, and the
# newest entry of packaging/changelog names that version.
set(KUVAR_DEBIAN_REVISION 1)
set(kuvar_changelog ${PROJECT_SOURCE_DIR}/packaging/changelog)
file(STRINGS ${kuvar_changelog} kuvar_changelog_top LIMIT_COUNT 1)
if(NOT kuvar_changelog_top MATCHES "^kuvar \\(${PROJECT_VERSION}-${KUVAR_DEBIAN_REVISION}\\) ")
    message(WARNING "packaging/changelog does not begin with an entry for "
                    "${PROJECT_VERSION}-${KUVAR_DEBIAN_REVISION}: add one before packaging")
endif()
set(kuvar_changelog_gz ${PROJECT_BINARY_DIR}/packaging/changelog.Debian.gz)
add_custom_command(
    OUTPUT ${kuvar_changelog_gz}
    COMMAND ${CMAKE_COMMAND} -E copy ${kuvar_changelog} ${PROJECT_BINARY_DIR}/packaging/changelog.Debian
    COMMAND gzip -9nf ${PROJECT_BINARY_DIR}/packaging/changelog.Debian
    DEPENDS ${kuvar_changelog}
    VERBATIM)
add_custom_target(kuvar_changelog ALL DEPENDS ${kuvar_changelog_gz})
install(FILES ${kuvar_changelog_gz} DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME kuvar)

# Who answers for the package; a build for another organisation sets its own. A build folder
# configured before keeps the old placeholder in its cache unless it is dropped here.
if(KUVAR_PACKAGE_MAINTAINER STREQUAL "KUVAR viewer maintainers <kuvar@example.org>")
    unset(KUVAR_PACKAGE_MAINTAINER CACHE)
endif()
set(KUVAR_PACKAGE_MAINTAINER "KUVAR viewer developers <kuvar-viewer@users.noreply.github.com>"
    CACHE STRING "Maintainer line of the Debian package: Name <address>")

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

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # kuvar_<version>-<revision>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_RELEASE ${KUVAR_DEBIAN_REVISION})
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
