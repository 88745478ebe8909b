# SPDX-License-Identifier: GPL-3.0-or-later
# A file that reaches qcustomplot.h parses the whole of Qt Widgets and Qt Print Support, and a
# test file GoogleTest: the targets below parse those headers once, before their own files.
# KUVAR_PCH=OFF builds without them (which also shows a file that forgets an include).
option(KUVAR_PCH "Precompile the common Qt, QCustomPlot and GoogleTest headers per target" ON)

set(kuvar_pch_chart <qcustomplot.h>) # Qt Core, Gui, Widgets and Print Support with it
set(kuvar_pch_test <gtest/gtest.h>)
set(kuvar_pch_qttest <QtTest/QTest>)

# kuvar_precompile(SHARED|EACH "chart;test" target...): the header sets those targets precompile.
# SHARED: the first target this build has precompiles them and the others use its result, which
# needs the same code-generation flags and the same macros on every command line (the compiler
# passes over a header made under other macros, with a -Winvalid-pch warning). EACH: every
# target its own (the test programs each define their own paths).
function(kuvar_precompile how sets)
    if(NOT KUVAR_PCH)
        return()
    endif()
    set(headers)
    foreach(set IN LISTS sets)
        list(APPEND headers ${kuvar_pch_${set}})
    endforeach()
    set(owner)
    foreach(target IN LISTS ARGN)
        if(NOT TARGET ${target})
            continue()
        endif()
        if(owner)
            target_precompile_headers(${target} REUSE_FROM ${owner})
        else()
            target_precompile_headers(${target} PRIVATE ${headers})
            if(how STREQUAL "SHARED")
                set(owner ${target})
            endif()
        endif()
    endforeach()
endfunction()

kuvar_precompile(SHARED "chart" kuvar_charts kuvar_modules kuvar_app)
kuvar_precompile(EACH "chart;test;qttest"
    kuvar_e2e_tests kuvar_app_tests kuvar_charts_tests kuvar_modules_tests kuvar_widgets_tests)
kuvar_precompile(EACH "test" kuvar_serial_tests kuvar_sim_tests kuvar_protocol_tests)
