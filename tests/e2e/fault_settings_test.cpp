// SPDX-License-Identifier: GPL-3.0-or-later
// The window started on settings files of every size and content.
#include "tests/e2e/window_driver.h"

#include "app/user_settings.h"

#include <QFile>

#include <gtest/gtest.h>

#include <random>

using namespace kuvar;

namespace {

QByteArray RecordWithPort(const QString& port) {
    TUserSetRecord record;
    record.SetDefaults();
    record.SetText(UserSetField::PortNo, port);
    return record.Serialize();
}

QByteArray RandomBytes(int size, unsigned seed) {
    std::mt19937 random(seed);
    QByteArray bytes(size, '\0');
    for (char& b : bytes) {
        b = static_cast<char>(random());
    }
    return bytes;
}

enum class Start { Fails, Loads, Survives };

struct FileCase {
    const char* name;
    QByteArray content;
    Start start;
};

class FaultSettingsFile : public ::testing::TestWithParam<FileCase> {};

} // namespace

// What must hold: a short file stops start-up with the error shown and the design texts kept;
// a long one loads its first 715 bytes; any content starts without a crash; the next close
// writes a record that loads.
TEST_P(FaultSettingsFile, StartUpAndTheNextClose) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("UserSet.dat"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(GetParam().content);
    }
    {
        auto window = std::make_unique<TfKUVAR>(TAppPaths{path, QStringLiteral(KUVAR_PICTURES)});
        window->show();
        const QString error = window->StatusText(0);
        switch (GetParam().start) {
        case Start::Fails:
            EXPECT_TRUE(error.startsWith(QStringLiteral("Read beyond end of file - ")))
                << error.toStdString();
            EXPECT_NE(window->TopPanel.ePortNo->currentText(), QStringLiteral("COM7"));
            break;
        case Start::Loads:
            EXPECT_TRUE(error.isEmpty()) << error.toStdString();
            EXPECT_EQ(window->TopPanel.ePortNo->currentText(), QStringLiteral("COM7"));
            break;
        case Start::Survives:
            break;
        }
        EXPECT_TRUE(window->close());
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_GE(file.size(), kUserSetSize);
    file.close();
    TUserSetRecord record;
    EXPECT_NO_THROW(LoadUserSet(path, record));
}

INSTANTIATE_TEST_SUITE_P(
    Files, FaultSettingsFile,
    ::testing::Values(
        FileCase{"Empty", QByteArray(), Start::Fails},
        FileCase{"OneShort", RecordWithPort(QStringLiteral("COM7")).left(714), Start::Fails},
        FileCase{"Whole", RecordWithPort(QStringLiteral("COM7")), Start::Loads},
        FileCase{"OneLonger", RecordWithPort(QStringLiteral("COM7")) + 'x', Start::Loads},
        FileCase{"Megabyte",
                 RecordWithPort(QStringLiteral("COM7")) + QByteArray(1000000 - kUserSetSize, 'z'),
                 Start::Loads},
        FileCase{"RandomRecord", RandomBytes(kUserSetSize, 1), Start::Survives},
        FileCase{"RandomLong", RandomBytes(5000, 2), Start::Survives},
        FileCase{"RandomShort", RandomBytes(300, 3), Start::Fails}),
    [](const auto& info) { return std::string(info.param.name); });
