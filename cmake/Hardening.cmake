# SPDX-License-Identifier: GPL-3.0-or-later
# The hardening a Debian package's programs are expected to have: position-independent
# executables, a stack protector, read-only relocations bound at start, and the checked variants
# of the C library's string and memory functions in optimised builds (_FORTIFY_SOURCE needs -O).
# Left out of the sanitizer and fuzz builds, whose instrumentation does these checks itself and
# does not mix with some of them.
option(KUVAR_HARDENING "Hardening flags (not in sanitizer or fuzz builds)" ON)

if(KUVAR_HARDENING AND KUVAR_SANITIZE STREQUAL "" AND NOT KUVAR_FUZZ)
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
    include(CheckPIESupported)
    check_pie_supported(LANGUAGES C CXX)
    set(kuvar_optimised "$<CONFIG:Release,RelWithDebInfo,MinSizeRel>")
    add_compile_options(-fstack-protector-strong
                        "$<${kuvar_optimised}:-U_FORTIFY_SOURCE>"
                        "$<${kuvar_optimised}:-D_FORTIFY_SOURCE=2>")
    add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()
