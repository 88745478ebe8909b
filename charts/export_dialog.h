// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "charts/chart_export.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

namespace kuvar::charts {

class TChart;

// Saves a chart as a picture or its data as text, to a file chosen in a file dialog or typed.
class TChartExportDialog : public QDialog {
    Q_OBJECT
public:
    TChartExportDialog(TChart& chart, QWidget* owner);

    // Asks the operator for a file name; replaceable so that the dialog runs without one.
    std::function<QString(QWidget* parent, const QString& filter, const QString& suggested)>
        chooseFile;

    TExportFormat Format() const;
    // Writes the file named in the path box; a failure is shown in the dialog. True when written.
    bool Save();

private:
    void Browse();
    void FormatChanged();
    void FitPath();

    TChart& chart_;
    QComboBox* format_;
    QLineEdit* path_;
    QPushButton* browse_;
    QPushButton* save_;
    QLabel* status_;
};

// Opens the export dialog for chart modally, owned by owner, and frees it when it closes.
void ShowChartExportDialog(TChart& chart, QWidget* owner);

} // namespace kuvar::charts
