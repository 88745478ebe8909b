# SPDX-License-Identifier: GPL-3.0-or-later
# A file that reaches qcustomplot.h parses the whole of Qt Widgets and Qt Print Support, and a
# test file GoogleTest: each target below parses those headers once, before its own files.
# KUVAR_PCH=OFF builds without them (which also shows a file that forgets an include).
option(KUVAR_PCH "Precompile the common Qt, QCustomPlot and GoogleTest headers per target" ON)

set(kuvar_pch_qt <QtCore/QObject> <QtCore/QString> <QtCore/QTimer> <QtGui/QPainter>
    <QtWidgets/QWidget>)
set(kuvar_pch_chart <qcustomplot.h>)
set(kuvar_pch_test <gtest/gtest.h>)
set(kuvar_pch_qttest <QtTest/QTest>)

# kuvar_precompile("qt;chart" target...): the header sets each target precompiles.
function(kuvar_precompile sets)
    if(NOT KUVAR_PCH)
        return()
    endif()
    set(headers)
    foreach(set IN LISTS sets)
        list(APPEND headers ${kuvar_pch_${set}})
    endforeach()
    foreach(target IN LISTS ARGN)
        if(TARGET ${target})
            target_precompile_headers(${target} PRIVATE ${headers})
        endif()
    endforeach()
endfunction()

kuvar_precompile("qt" kuvar_base kuvar_widgets)
kuvar_precompile("qt;chart" kuvar_charts kuvar_modules kuvar_app kuvar_stream_bench)
kuvar_precompile("qt;chart;test;qttest"
    kuvar_charts_tests kuvar_modules_tests kuvar_widgets_tests kuvar_app_tests kuvar_e2e_tests)
kuvar_precompile("test" kuvar_serial_tests kuvar_sim_tests kuvar_protocol_tests)
