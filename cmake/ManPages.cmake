# SPDX-License-Identifier: GPL-3.0-or-later
# The manual pages kuvar(1) and kuvar-sim(1): help2man turns each program's --help and --version
# into a page and adds the sections of packaging/<program>.h2m; gzip -9n as Debian wants them.
# The pages carry the date of the newest entry of packaging/changelog, so a rebuild of the same
# source makes the same pages.
set(kuvar_man_default ON)
if(NOT KUVAR_SANITIZE STREQUAL "" OR KUVAR_FUZZ OR CMAKE_CROSSCOMPILING)
    set(kuvar_man_default OFF) # the programs run at build time
endif()
option(KUVAR_MAN_PAGES "Make the manual pages with help2man" ${kuvar_man_default})
if(NOT KUVAR_MAN_PAGES)
    return()
endif()

find_program(KUVAR_HELP2MAN help2man)
find_program(KUVAR_GZIP gzip REQUIRED)
if(NOT KUVAR_HELP2MAN)
    message(FATAL_ERROR "help2man is missing: scripts/install-deps.sh installs it (Debian "
                        "package help2man); -DKUVAR_MAN_PAGES=OFF builds without the manual pages")
endif()

set(kuvar_changelog ${PROJECT_SOURCE_DIR}/packaging/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${kuvar_changelog})
find_program(KUVAR_DPKG_PARSECHANGELOG dpkg-parsechangelog)
set(kuvar_man_env)
if(KUVAR_DPKG_PARSECHANGELOG)
    execute_process(COMMAND ${KUVAR_DPKG_PARSECHANGELOG} -l ${kuvar_changelog} -STimestamp
                    OUTPUT_VARIABLE kuvar_changelog_time OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE kuvar_parse_result ERROR_QUIET)
    if(kuvar_parse_result EQUAL 0 AND kuvar_changelog_time MATCHES "^[0-9]+$")
        set(kuvar_man_env SOURCE_DATE_EPOCH=${kuvar_changelog_time})
    endif()
endif()

set(KUVAR_MAN_DIR ${PROJECT_BINARY_DIR}/man)
file(MAKE_DIRECTORY ${KUVAR_MAN_DIR})

function(kuvar_man_page program)
    set(include ${PROJECT_SOURCE_DIR}/packaging/${program}.h2m)
    set(page ${KUVAR_MAN_DIR}/${program}.1)
    add_custom_command(
        OUTPUT ${page}.gz
        COMMAND ${CMAKE_COMMAND} -E env ${kuvar_man_env} ${KUVAR_HELP2MAN} --no-info --section=1
                --include=${include} --output=${page} $<TARGET_FILE:${program}>
        COMMAND ${KUVAR_GZIP} -9nf ${page}
        DEPENDS ${program} ${include}
        COMMENT "Manual page ${program}(1)"
        VERBATIM)
    add_custom_target(${program}_man ALL DEPENDS ${page}.gz)
    install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

include(GNUInstallDirs)
kuvar_man_page(kuvar-sim)
if(KUVAR_WITH_QT)
    kuvar_man_page(kuvar)
endif()
