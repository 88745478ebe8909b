// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>
#include <QWidget>

// A pair of arrows attached to an edit box: each press moves the position by one step within
// [min, max] and writes it into the box. The box's own text is taken as the position when it
// is an integer, so typing and arrows agree.
class TUpDown : public QWidget {
public:
    TUpDown(QLineEdit* associate, int min, int max, int step, QWidget* parent);

    int Position() const { return position_; }
    void StepBy(int steps);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QLineEdit* associate_;
    int min_;
    int max_;
    int step_;
    int position_;
};
