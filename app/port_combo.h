// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/port_list.h"

#include <QComboBox>
#include <QSet>
#include <QString>

#include <functional>
#include <memory>

namespace kuvar {

// ePortNo: an editable combo whose list is brought up to date just before it drops down.
class TPortComboBox : public QComboBox {
public:
    using QComboBox::QComboBox;
    std::function<void()> BeforePopup;
    void showPopup() override;
};

// Owns the list of ePortNo. Each entry shows the path and what the system knows of the port;
// picking one puts the path alone into the combo's text, and the text as typed decides what
// opens. The list is made at start and again each time it drops down: a port already listed
// stays without being opened again (an open may reset a board through DTR), a new one is
// probed as at start, one that has gone leaves the list.
class TPortCombo {
public:
    // The entry's label, for the drop-down (the item's own text is the path).
    static constexpr int kLabelRole = Qt::UserRole + 1;

    TPortCombo(TPortComboBox* combo, std::shared_ptr<IPortInfoSource> source);

    // Brings the list up to date; the combo keeps its text. Gives the first new port refused for
    // lack of permission, or an empty text.
    QString Refresh();
    // Replaceable so that tests can count the probes.
    std::function<ProbeResult(const QString& path)> probe = ProbeComPort;

private:
    TPortComboBox* combo_;
    std::shared_ptr<IPortInfoSource> source_;
};

} // namespace kuvar
