// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/export_dialog.h"

#include "charts/chart.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace kuvar::charts {

TChartExportDialog::TChartExportDialog(TChart& chart, QWidget* owner)
    : QDialog(owner), chart_(chart), format_(new QComboBox(this)), path_(new QLineEdit(this)),
      browse_(new QPushButton(tr("Browse..."), this)), save_(new QPushButton(tr("Save"), this)),
      status_(new QLabel(this)) {
    setWindowTitle(tr("Export Chart"));
    setModal(true);
    chooseFile = [](QWidget* parent, const QString& filter, const QString& suggested) {
        return QFileDialog::getSaveFileName(parent, tr("Save Chart"), suggested, filter);
    };
    format_->setObjectName(QStringLiteral("cbExportFormat"));
    format_->setAccessibleName(tr("Format"));
    for (const TExportFormatInfo& f : ExportFormats())
        format_->addItem(f.caption, static_cast<int>(f.format));
    path_->setObjectName(QStringLiteral("edExportFile"));
    path_->setAccessibleName(tr("File"));
    browse_->setObjectName(QStringLiteral("btExportBrowse"));
    save_->setObjectName(QStringLiteral("btExportSave"));
    status_->setObjectName(QStringLiteral("lbExportStatus"));

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->addRow(tr("Format"), format_);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(path_, 1);
    fileRow->addWidget(browse_);
    form->addRow(tr("File"), fileRow);
    layout->addLayout(form);
    layout->addWidget(status_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(save_, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(browse_, &QPushButton::clicked, this, &TChartExportDialog::Browse);
    connect(save_, &QPushButton::clicked, this, &TChartExportDialog::Save);
    connect(format_, &QComboBox::currentIndexChanged, this, &TChartExportDialog::FormatChanged);
    connect(path_, &QLineEdit::textChanged, this, &TChartExportDialog::FitPath);
    // A result names the file it was for: once the choice changes it is stale.
    connect(path_, &QLineEdit::textEdited, status_, &QLabel::clear);
    status_->setWordWrap(true);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    const QString base = chart_.Title().isEmpty() ? QStringLiteral("chart") : chart_.Title();
    path_->setText(QDir::home().filePath(base + QStringLiteral(".png")));
}

void TChartExportDialog::FitPath() {
    // Wide enough to read the whole path, up to most of the screen.
    const int wanted = path_->fontMetrics().horizontalAdvance(path_->text()) +
                       path_->fontMetrics().averageCharWidth() * 4;
    const QScreen* screen = this->screen();
    const int limit = screen ? screen->availableGeometry().width() * 2 / 3 : 800;
    path_->setMinimumWidth(std::clamp(wanted, 200, std::max(200, limit)));
    adjustSize();
}

TExportFormat TChartExportDialog::Format() const {
    return static_cast<TExportFormat>(format_->currentData().toInt());
}

void TChartExportDialog::FormatChanged() {
    status_->clear();
    // Keep the file name's suffix in step with the chosen format.
    QFileInfo info(path_->text());
    if (path_->text().isEmpty())
        return;
    const QString suffix = ExportFormatInfo(Format()).suffix;
    path_->setText(info.dir().filePath(info.completeBaseName() + QLatin1Char('.') + suffix));
}

void TChartExportDialog::Browse() {
    const TExportFormatInfo& info = ExportFormatInfo(Format());
    const QString filter = QStringLiteral("%1 (*.%2)").arg(info.caption, info.suffix);
    const QString chosen = chooseFile(this, filter, path_->text());
    if (chosen.isEmpty())
        return;
    path_->setText(QFileInfo(chosen).suffix().isEmpty() ? chosen + QLatin1Char('.') + info.suffix
                                                        : chosen);
    Save();
}

bool TChartExportDialog::Save() {
    try {
        if (path_->text().trimmed().isEmpty())
            throw EChartExportError(tr("Choose a file name.").toStdString());
        if (!ExportChartWithProgress(chart_, path_->text(), Format(), this)) {
            status_->setText(tr("Cancelled: %1 not written").arg(path_->text()));
            return false;
        }
        status_->setText(tr("Saved %1").arg(path_->text()));
        return true;
    } catch (const std::exception& e) {
        status_->setText(QString::fromStdString(e.what()));
        return false;
    }
}

void ShowChartExportDialog(TChart& chart, QWidget* owner) {
    TChartExportDialog dialog(chart, owner);
    dialog.exec();
}

} // namespace kuvar::charts
