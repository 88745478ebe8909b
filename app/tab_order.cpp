// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tab_order.h"

#include <QWidget>

#include <algorithm>
#include <numeric>

namespace kuvar {

namespace {

bool TakesTab(const QWidget* w) {
    return (w->focusPolicy() & Qt::TabFocus) != 0;
}

bool HoldsTabControls(const QWidget* w) {
    const auto inner = w->findChildren<QWidget*>();
    return std::any_of(inner.begin(), inner.end(),
                       [](const QWidget* c) { return !c->isWindow() && TakesTab(c); });
}

} // namespace

std::vector<int> ReadingOrder(const std::vector<QRect>& rects) {
    std::vector<int> byTop(rects.size());
    std::iota(byTop.begin(), byTop.end(), 0);
    std::stable_sort(byTop.begin(), byTop.end(),
                     [&](int a, int b) { return rects[a].top() < rects[b].top(); });
    std::vector<int> order;
    std::size_t start = 0;
    while (start < byTop.size()) {
        // A band ends where the next rectangle starts below everything in it.
        int bottom = rects[byTop[start]].bottom();
        std::size_t end = start + 1;
        while (end < byTop.size() && rects[byTop[end]].top() <= bottom) {
            bottom = std::max(bottom, rects[byTop[end]].bottom());
            ++end;
        }
        std::vector<int> band(byTop.begin() + static_cast<std::ptrdiff_t>(start),
                              byTop.begin() + static_cast<std::ptrdiff_t>(end));
        std::stable_sort(band.begin(), band.end(), [&](int a, int b) {
            if (rects[a].left() != rects[b].left())
                return rects[a].left() < rects[b].left();
            return rects[a].top() < rects[b].top();
        });
        order.insert(order.end(), band.begin(), band.end());
        start = end;
    }
    return order;
}

std::vector<QWidget*> InReadingOrder(const std::vector<QWidget*>& controls) {
    std::vector<QRect> rects;
    rects.reserve(controls.size());
    for (const QWidget* w : controls)
        rects.push_back(w->geometry());
    std::vector<QWidget*> ordered;
    for (int i : ReadingOrder(rects))
        ordered.push_back(controls[static_cast<std::size_t>(i)]);
    return ordered;
}

std::vector<QWidget*> TabControlsIn(QWidget* container) {
    // Only what Tab reaches makes the bands: a caption or a display between two rows would
    // otherwise join them into one.
    std::vector<QWidget*> children;
    for (QWidget* child : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow() && (TakesTab(child) || HoldsTabControls(child)))
            children.push_back(child);
    }
    std::vector<QWidget*> chain;
    for (QWidget* child : InReadingOrder(children)) {
        if (TakesTab(child)) {
            chain.push_back(child);
        } else {
            const std::vector<QWidget*> inner = TabControlsIn(child);
            chain.insert(chain.end(), inner.begin(), inner.end());
        }
    }
    return chain;
}

void SetTabChain(const std::vector<QWidget*>& chain) {
    for (std::size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

} // namespace kuvar
