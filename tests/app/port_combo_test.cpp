// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/port_combo.h"
#include "tests/app/port_source_fake.h"

#include <QAbstractItemView>
#include <QFontMetrics>

#include <gtest/gtest.h>

using namespace kuvar;

namespace {

class PortCombo : public ::testing::Test {
protected:
    PortCombo() {
        box.setEditable(true);
        box.setCompleter(nullptr);
        list.probe = [this](const QString& path) {
            probed << path;
            return busy.contains(path) ? ProbeResult::Unusable : ProbeResult::Usable;
        };
    }
    QStringList Items() const {
        QStringList items;
        for (int i = 0; i < box.count(); ++i)
            items << box.itemText(i);
        return items;
    }
    std::shared_ptr<TFakePortSource> source = std::make_shared<TFakePortSource>();
    TPortComboBox box;
    TPortCombo list{&box, source};
    QStringList probed;
    QStringList busy;
};

const TPortInfo kUsb{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", "A50285BI", 0x0403, 0x6001};
const TPortInfo kSerial{"/dev/ttyS0", "", "", "", {}, {}};
const TPortInfo kSim{
    "/run/user/1000/kuvar-sim/ac", "module simulator on /dev/pts/3", "", "", {}, {}};

} // namespace

// A port already listed is never opened again; a new one is probed, one that has gone leaves.
TEST_F(PortCombo, EachRefreshProbesOnlyNewPorts) {
    box.setEditText(QStringLiteral("COM1"));
    source->ports = {kSerial, kUsb};
    busy = {kUsb.path};
    list.Refresh();
    EXPECT_EQ(Items(), QStringList{kSerial.path});
    EXPECT_EQ(probed, (QStringList{kSerial.path, kUsb.path}));

    probed.clear();
    busy.clear();
    source->ports = {kSerial, kUsb, kSim};
    list.Refresh();
    EXPECT_EQ(Items(), (QStringList{kSerial.path, kUsb.path, kSim.path}));
    // The port that was busy is new to the list and is probed again; ttyS0 is not.
    EXPECT_EQ(probed, (QStringList{kUsb.path, kSim.path}));

    probed.clear();
    source->ports = {kUsb, kSim};
    list.Refresh();
    EXPECT_EQ(Items(), (QStringList{kUsb.path, kSim.path}));
    EXPECT_TRUE(probed.isEmpty());
    EXPECT_EQ(box.currentText(), QStringLiteral("COM1")) << "the combo keeps its text";
}

TEST_F(PortCombo, EntriesShowWhatIsKnownAndPickingOneGivesThePath) {
    source->ports = {kSerial, kUsb};
    list.Refresh();
    ASSERT_EQ(box.count(), 2);
    const QString label = QStringLiteral("/dev/ttyUSB0 — FT232R USB UART (FTDI A50285BI)");
    EXPECT_EQ(box.itemData(1, TPortCombo::kLabelRole).toString(), label);
    EXPECT_EQ(box.itemData(1, Qt::ToolTipRole).toString(), label);
    box.setCurrentIndex(1);
    EXPECT_EQ(box.currentText(), kUsb.path);
    // The drop-down is as wide as its longest entry, though the combo is 61 pixels.
    box.resize(61, 21);
    EXPECT_GE(box.view()->minimumWidth(),
              QFontMetrics(box.view()->font()).horizontalAdvance(label));
}

TEST_F(PortCombo, TheListIsRefreshedWhenItDropsDown) {
    box.resize(61, 21);
    box.show();
    list.Refresh();
    EXPECT_EQ(box.count(), 0);
    source->ports = {kSim};
    box.showPopup();
    EXPECT_EQ(Items(), QStringList{kSim.path});
    box.hidePopup();
}
