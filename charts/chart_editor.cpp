// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/chart_editor.h"

#include "charts/number_text.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace kuvar::charts {

TChartEditor::TChartEditor(TChart& chart, QWidget* parent) : QDialog(parent), chart_(chart) {
    setWindowTitle(tr("Chart Editor"));
    setModal(true);
    pickColour = [](const QColor& initial, QWidget* owner) {
        return QColorDialog::getColor(initial, owner);
    };

    auto* layout = new QVBoxLayout(this);
    auto* titleRow = new QFormLayout;
    title_ = new QLineEdit(this);
    title_->setObjectName(QStringLiteral("edTitle"));
    titleRow->addRow(tr("Title"), title_);
    layout->addLayout(titleRow);
    connect(title_, &QLineEdit::textEdited, this,
            [this](const QString& text) { Apply([&] { chart_.SetTitle(text); }); });

    auto* seriesBox = new QGroupBox(tr("Series"), this);
    auto* seriesLayout = new QVBoxLayout(seriesBox);
    for (int i = 0; i < chart_.SeriesCount(); ++i)
        seriesLayout->addWidget(BuildSeries(i));
    layout->addWidget(seriesBox);

    auto* axesBox = new QGroupBox(tr("Axes"), this);
    auto* axesLayout = new QVBoxLayout(axesBox);
    axesLayout->addWidget(BuildAxis(QStringLiteral("Left"), chart_.LeftAxis()));
    axesLayout->addWidget(BuildAxis(QStringLiteral("Bottom"), chart_.BottomAxis()));
    layout->addWidget(axesBox);
    layout->addWidget(BuildBackground());

    error_ = new QLabel(this);
    error_->setObjectName(QStringLiteral("lbEditorError"));
    error_->setStyleSheet(QStringLiteral("color: red"));
    layout->addWidget(error_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    Refresh();
}

QWidget* TChartEditor::BuildSeries(int index) {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    const QString n = QString::number(index);
    SeriesRow r{new QLineEdit(row), new QPushButton(row), new QSpinBox(row), new QCheckBox(row)};
    r.title->setObjectName(QStringLiteral("edSeriesTitle") + n);
    r.title->setAccessibleName(tr("Series title"));
    r.colour->setObjectName(QStringLiteral("btSeriesColour") + n);
    r.colour->setAccessibleName(tr("Series colour"));
    r.width->setObjectName(QStringLiteral("spSeriesWidth") + n);
    r.width->setAccessibleName(tr("Line width"));
    r.width->setRange(0, 10);
    r.visible->setObjectName(QStringLiteral("cbSeriesVisible") + n);
    r.visible->setText(tr("Visible"));
    layout->addWidget(r.title, 1);
    layout->addWidget(r.colour);
    layout->addWidget(new QLabel(tr("Width"), row));
    layout->addWidget(r.width);
    layout->addWidget(r.visible);
    series_.push_back(r);

    connect(r.title, &QLineEdit::textEdited, this, [this, index](const QString& text) {
        Apply([&] { chart_.Series(index).SetTitle(text); });
    });
    connect(r.colour, &QPushButton::clicked, this, [this, index] {
        Apply([&] {
            const QColor chosen = pickColour(chart_.Series(index).Color(), this);
            if (chosen.isValid())
                chart_.Series(index).SetColor(chosen);
        });
    });
    connect(r.width, &QSpinBox::valueChanged, this,
            [this, index](int width) { Apply([&] { chart_.Series(index).SetLineWidth(width); }); });
    connect(r.visible, &QCheckBox::toggled, this,
            [this, index](bool on) { Apply([&] { chart_.Series(index).SetVisible(on); }); });
    return row;
}

QWidget* TChartEditor::BuildAxis(const QString& name, TChartAxis& axis) {
    auto* row = new QWidget(this);
    auto* layout = new QGridLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    AxisRow r{&axis, new QLineEdit(row), new QLineEdit(row), new QCheckBox(tr("Automatic"), row),
              new QCheckBox(tr("Automatic"), row)};
    r.minimum->setObjectName(QStringLiteral("ed%1Minimum").arg(name));
    r.maximum->setObjectName(QStringLiteral("ed%1Maximum").arg(name));
    r.automaticMinimum->setObjectName(QStringLiteral("cb%1AutomaticMinimum").arg(name));
    r.automaticMaximum->setObjectName(QStringLiteral("cb%1AutomaticMaximum").arg(name));
    r.minimum->setAccessibleName(tr("%1 axis minimum").arg(name));
    r.maximum->setAccessibleName(tr("%1 axis maximum").arg(name));
    layout->addWidget(new QLabel(tr("%1 axis").arg(name), row), 0, 0, 1, 5);
    layout->addWidget(new QLabel(tr("Minimum"), row), 1, 0);
    layout->addWidget(r.minimum, 1, 1);
    layout->addWidget(r.automaticMinimum, 1, 2);
    layout->addWidget(new QLabel(tr("Maximum"), row), 1, 3);
    layout->addWidget(r.maximum, 1, 4);
    layout->addWidget(r.automaticMaximum, 1, 5);
    axes_.push_back(r);

    TChartAxis* a = &axis;
    QLineEdit* minimum = r.minimum;
    QLineEdit* maximum = r.maximum;
    connect(r.minimum, &QLineEdit::editingFinished, this,
            [this, a, minimum] { Apply([&] { a->SetMinimum(FloatFromText(minimum->text())); }); });
    connect(r.maximum, &QLineEdit::editingFinished, this,
            [this, a, maximum] { Apply([&] { a->SetMaximum(FloatFromText(maximum->text())); }); });
    connect(r.automaticMinimum, &QCheckBox::toggled, this,
            [this, a](bool on) { Apply([&] { a->SetAutomaticMinimum(on); }); });
    connect(r.automaticMaximum, &QCheckBox::toggled, this,
            [this, a](bool on) { Apply([&] { a->SetAutomaticMaximum(on); }); });
    return row;
}

QWidget* TChartEditor::BuildBackground() {
    auto* box = new QGroupBox(tr("Background"), this);
    auto* layout = new QHBoxLayout(box);
    const std::array<QString, 3> names = {QStringLiteral("btBackgroundBottom"),
                                          QStringLiteral("btBackgroundMiddle"),
                                          QStringLiteral("btBackgroundTop")};
    const std::array<QString, 3> captions = {tr("Bottom"), tr("Middle"), tr("Top")};
    for (int i = 0; i < 3; ++i) {
        layout->addWidget(new QLabel(captions[i], box));
        background_[i] = new QPushButton(box);
        background_[i]->setObjectName(names[i]);
        background_[i]->setAccessibleName(tr("Background colour, %1").arg(captions[i]));
        layout->addWidget(background_[i]);
        connect(background_[i], &QPushButton::clicked, this, [this, i] {
            Apply([&] {
                TChartBackground b = chart_.Background();
                QColor* slot = i == 0 ? &b.bottom : i == 1 ? &b.middle : &b.top;
                const QColor chosen = pickColour(*slot, this);
                if (!chosen.isValid())
                    return;
                *slot = chosen;
                chart_.SetBackground(b);
            });
        });
    }
    return box;
}

template <typename Body> void TChartEditor::Apply(Body body) {
    if (refreshing_)
        return;
    try {
        body();
        error_->clear();
    } catch (const std::exception& e) {
        error_->setText(QString::fromStdString(e.what()));
    }
    Refresh();
}

QColor SwatchTextColour(const QColor& swatch) {
    // Relative luminance by the sRGB weights: dark swatches get white names, light ones black.
    const double luminance =
        0.2126 * swatch.redF() + 0.7152 * swatch.greenF() + 0.0722 * swatch.blueF();
    return luminance < 0.5 ? QColor(Qt::white) : QColor(Qt::black);
}

void TChartEditor::ShowColour(QPushButton* button, const QColor& colour) {
    button->setText(colour.name());
    button->setStyleSheet(QStringLiteral("background-color: %1; color: %2")
                              .arg(colour.name(), SwatchTextColour(colour).name()));
}

void TChartEditor::Refresh() {
    refreshing_ = true;
    if (title_->text() != chart_.Title())
        title_->setText(chart_.Title());
    for (int i = 0; i < static_cast<int>(series_.size()); ++i) {
        const TLineSeries& s = chart_.Series(i);
        if (series_[i].title->text() != s.Title())
            series_[i].title->setText(s.Title());
        ShowColour(series_[i].colour, s.Color());
        series_[i].width->setValue(s.LineWidth());
        series_[i].visible->setChecked(s.Visible());
    }
    for (AxisRow& r : axes_) {
        if (!r.minimum->hasFocus())
            r.minimum->setText(QString::number(r.axis->Minimum(), 'g', 10));
        if (!r.maximum->hasFocus())
            r.maximum->setText(QString::number(r.axis->Maximum(), 'g', 10));
        r.automaticMinimum->setChecked(r.axis->AutomaticMinimum());
        r.automaticMaximum->setChecked(r.axis->AutomaticMaximum());
    }
    const TChartBackground b = chart_.Background();
    ShowColour(background_[0], b.bottom);
    ShowColour(background_[1], b.middle);
    ShowColour(background_[2], b.top);
    refreshing_ = false;
}

} // namespace kuvar::charts
