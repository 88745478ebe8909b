// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/user_preferences.h"

#include "qstring_print.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kuvar;

namespace {

// HOME and the XDG folders moved into a temporary home for the test's length.
class TTemporaryHome {
public:
    TTemporaryHome() {
        for (const char* name : {"HOME", "XDG_CONFIG_HOME"})
            saved_.push_back({name, qgetenv(name)});
        qputenv("HOME", dir.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral(".config")).toLocal8Bit());
    }
    ~TTemporaryHome() {
        for (const auto& [name, value] : saved_)
            qputenv(name, value);
    }
    QTemporaryDir dir;

private:
    std::vector<std::pair<const char*, QByteArray>> saved_;
};

} // namespace

// A folder chosen once is offered again, in this run even where nothing can be kept, and in the
// next run from kuvar.conf; a kept folder that has gone gives way to the documents folder, and a
// fresh account without one to the home folder, never to the program's working folder.
TEST(UserPreferences, TheFolderOfferedIsTheLastOneThenDocumentsThenHome) {
    TTemporaryHome home;
    const QString key = QStringLiteral("Recording/Folder");
    TUserPreferences none{QString()};
    EXPECT_EQ(OfferedFolder(none, key), home.dir.path()) << "no documents folder yet";
    ASSERT_TRUE(QDir(home.dir.path()).mkdir(QStringLiteral("Documents")));
    EXPECT_EQ(OfferedFolder(none, key), home.dir.filePath(QStringLiteral("Documents")));

    const QString runs = home.dir.filePath(QStringLiteral("runs"));
    ASSERT_TRUE(QDir().mkpath(runs));
    KeepFolderOf(none, key, runs + QStringLiteral("/a.csv"));
    EXPECT_EQ(OfferedFolder(none, key), runs) << "held for the run without a file";

    const QString conf = home.dir.filePath(QStringLiteral("kuvar.conf"));
    {
        TUserPreferences kept(conf);
        KeepFolderOf(kept, key, runs + QStringLiteral("/b.csv"));
    }
    EXPECT_EQ(OfferedFolder(TUserPreferences(conf), key), runs) << "kept in kuvar.conf at once";
    ASSERT_TRUE(QDir(runs).removeRecursively());
    EXPECT_EQ(OfferedFolder(TUserPreferences(conf), key),
              home.dir.filePath(QStringLiteral("Documents")));
}
