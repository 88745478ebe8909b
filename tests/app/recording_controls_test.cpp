// SPDX-License-Identifier: GPL-3.0-or-later
// The controls of recording and of the log's saving in the window: where the record button sits,
// what the log's context menu holds.
#include "app/main_window.h"

#include <QApplication>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace kuvar;

// The record button and its label lie in free space of the top panel: they cover no other
// control (the hidden ones included), in the band of the other buttons, left of Close.
TEST(RecordingControls, TheRecordButtonTakesFreeSpaceOfTheTopPanel) {
    QTemporaryDir dir;
    TfKUVAR w(TAppPaths{dir.filePath(QStringLiteral("UserSet.dat")), dir.path()});
    const TTopPanel& top = w.TopPanel;
    ASSERT_EQ(top.btRecord->parentWidget(), top.SCPanel1);
    const QRect button = top.btRecord->geometry();
    const QRect label = top.lbRecord->geometry();
    EXPECT_EQ(button.top(), top.btClose->geometry().top());
    EXPECT_EQ(button.size(), top.btClose->geometry().size());
    EXPECT_GT(button.left(), 600);
    EXPECT_LT(button.right(), top.btClose->geometry().left());
    EXPECT_EQ(top.lbRecord->text(), QStringLiteral("REC"));
    EXPECT_GT(label.top(), button.bottom());
    EXPECT_LE(std::abs(label.center().x() - button.center().x()), 1) << "centred under it";
    for (QWidget* other : top.SCPanel1->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (other == top.btRecord || other == top.lbRecord) {
            continue;
        }
        EXPECT_FALSE(other->geometry().intersects(button))
            << other->objectName().toStdString() << " under btRecord";
        EXPECT_FALSE(other->geometry().intersects(label))
            << other->objectName().toStdString() << " under lbRecord";
    }
    EXPECT_FALSE(top.btRecord->toolTip().isEmpty());
    EXPECT_FALSE(top.btRecord->Checked());
}

// The log's context menu keeps the standard edit actions and adds "Save Log..." with Ctrl+S.
TEST(RecordingControls, TheLogsMenuKeepsTheEditActionsAndAddsSaveLog) {
    QTemporaryDir dir;
    TfKUVAR w(TAppPaths{dir.filePath(QStringLiteral("UserSet.dat")), dir.path()});
    w.show();
    QStringList actions;
    QString shortcut;
    QTimer::singleShot(50, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* a : menu->actions()) {
                if (!a->isSeparator()) {
                    actions << a->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0);
                }
                if (a->objectName() == QStringLiteral("actSaveLog")) {
                    shortcut = a->shortcut().toString();
                }
            }
            menu->close();
        }
    });
    QPlainTextEdit* memo = w.LeftColumn.Memo1;
    emit memo->customContextMenuRequested(QPoint(10, 10));
    EXPECT_TRUE(actions.contains(QStringLiteral("Copy"))) << actions.join('|').toStdString();
    EXPECT_TRUE(actions.contains(QStringLiteral("Select All"))) << actions.join('|').toStdString();
    EXPECT_EQ(actions.last(), QStringLiteral("Save Log..."));
    EXPECT_EQ(shortcut, QKeySequence(QKeySequence::Save).toString());
}
