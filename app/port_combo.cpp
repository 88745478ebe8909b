// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/port_combo.h"

#include "base/guard.h"

#include <QAbstractItemView>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace kuvar {

namespace {

// Draws an entry of the drop-down with its label instead of the bare path.
class TPortItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const QString label = index.data(TPortCombo::kLabelRole).toString();
        if (!label.isEmpty())
            option->text = label;
    }
};

} // namespace

void TPortComboBox::showPopup() {
    if (BeforePopup)
        Guarded(BeforePopup);
    QComboBox::showPopup();
}

TPortCombo::TPortCombo(TPortComboBox* combo, std::shared_ptr<IPortInfoSource> source)
    : combo_(combo), source_(std::move(source)) {
    combo_->setItemDelegate(new TPortItemDelegate(combo_));
    combo_->BeforePopup = [this] { Refresh(); };
}

QString TPortCombo::Refresh() {
    QSet<QString> listed;
    for (int i = 0; i < combo_->count(); ++i)
        listed.insert(combo_->itemText(i));
    QString denied;
    std::vector<TPortInfo> kept;
    QSet<QString> seen;
    for (const TPortInfo& info : source_->Ports()) {
        if (seen.contains(info.path))
            continue;
        seen.insert(info.path);
        if (listed.contains(info.path)) {
            kept.push_back(info);
            continue;
        }
        const ProbeResult result = probe(info.path);
        if (result == ProbeResult::Usable)
            kept.push_back(info);
        else if (result == ProbeResult::NoPermission && denied.isEmpty())
            denied = info.path;
    }

    // The combo keeps its text while its list is refilled.
    const QString text = combo_->currentText();
    const QSignalBlocker quiet(combo_);
    combo_->clear();
    int widest = 0;
    const QFontMetrics metrics(combo_->view()->font());
    for (const TPortInfo& info : kept) {
        const QString label = PortLabel(info);
        combo_->addItem(info.path);
        const int index = combo_->count() - 1;
        combo_->setItemData(index, label, kLabelRole);
        combo_->setItemData(index, label, Qt::ToolTipRole);
        widest = std::max(widest, metrics.horizontalAdvance(label));
    }
    combo_->setEditText(text);
    // The drop-down is as wide as its longest entry, however narrow the combo.
    QAbstractItemView* view = combo_->view();
    const int margins =
        4 * view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) +
        2 * view->frameWidth() + view->verticalScrollBar()->sizeHint().width() + 16;
    view->setMinimumWidth(kept.empty() ? 0 : widest + margins);
    return denied;
}

} // namespace kuvar
