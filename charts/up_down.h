// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

namespace kuvar::charts {

// A pair of arrows attached to an edit box. A press (or the Up/Down key in the box) takes the
// box's text as the position when it is an integer, moves it by one step within [min, max] and
// writes it back, without thousands separators.
class TUpDown : public QWidget {
    Q_OBJECT
public:
    TUpDown(QLineEdit* associate, int min, int max, int step, int position,
            QWidget* parent = nullptr);

    int Position() const { return position_; }
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Increment() const { return step_; }
    void StepBy(int steps);
    // Takes the box's text as the position if it is an integer; any other text stays as it is.
    void Attach();
    // Writes the position into the box.
    void WritePosition();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QLineEdit* associate_;
    QToolButton* up_;
    QToolButton* down_;
    int min_;
    int max_;
    int step_;
    int position_;
};

} // namespace kuvar::charts
