// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/log_saver.h"

#include "app/user_preferences.h"
#include "base/guard.h"
#include "base/safe_file.h"
#include "charts/long_task.h"
#include "modules/wire_text.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTextBlock>

#include <algorithm>
#include <memory>

namespace kuvar {

namespace {
const QString kFolderKey = QStringLiteral("Log/Folder");
constexpr qint64 kPiece = 256 * 1024;
} // namespace

TLogSaver::TLogSaver(QPlainTextEdit* memo, TUserPreferences& preferences,
                     std::function<void()> flushPending)
    : QObject(memo), memo_(memo), preferences_(preferences),
      flushPending_(std::move(flushPending)) {
    chooseFile = [](QWidget* parent, const QString& suggested) {
        return QFileDialog::getSaveFileName(parent, tr("Save Log"), suggested,
                                            tr("Text files (*.txt)"));
    };
    memo_->setContextMenuPolicy(Qt::CustomContextMenu);
    ConnectGuarded(memo_, &QWidget::customContextMenuRequested, this,
                   [this](const QPoint& at) { ShowMenu(at); });
    auto* save = new QShortcut(QKeySequence::Save, memo_, nullptr, nullptr, Qt::WidgetShortcut);
    save->setObjectName(QStringLiteral("Memo1SaveShortcut"));
    ConnectGuarded(save, &QShortcut::activated, this, [this] { SaveLogClick(); });
}

void TLogSaver::ShowMenu(const QPoint& at) {
    std::unique_ptr<QMenu> menu(memo_->createStandardContextMenu(at));
    menu->setObjectName(QStringLiteral("Memo1Menu"));
    menu->addSeparator();
    QAction* save = menu->addAction(tr("Save Log..."));
    save->setObjectName(QStringLiteral("actSaveLog"));
    save->setShortcut(QKeySequence::Save);
    ConnectGuarded(save, &QAction::triggered, this, [this] { SaveLogClick(); });
    menu->exec(memo_->viewport()->mapToGlobal(at));
}

QString TLogSaver::SuggestedPath() const {
    return OfferedPath(preferences_, kFolderKey, QStringLiteral("kuvar-log"),
                       QStringLiteral("txt"));
}

void TLogSaver::SaveLogClick() {
    const QString path = chooseFile(memo_->window(), SuggestedPath());
    if (path.isEmpty()) {
        return;
    }
    KeepFolderOf(preferences_, kFolderKey, path);
    SaveTo(path);
}

QByteArray TLogSaver::LogBytes() const {
    flushPending_();
    QByteArray bytes;
    const QTextDocument* doc = memo_->document();
    // An empty log still has one empty block.
    if (doc->blockCount() == 1 && doc->firstBlock().text().isEmpty()) {
        return bytes;
    }
    for (QTextBlock line = doc->firstBlock(); line.isValid(); line = line.next()) {
        bytes += QByteArray::fromStdString(modules::ToWire(line.text()));
        bytes += '\n';
    }
    return bytes;
}

bool TLogSaver::SaveTo(const QString& path) {
    const QByteArray bytes = LogBytes();
    return charts::RunLongTask(
        memo_->window(), tr("Saving the log"), [&](charts::TTaskProgress& progress) {
            TSafeFileWriter file(path);
            progress.SetTotal(bytes.size());
            for (qint64 at = 0; at < bytes.size(); at += kPiece) {
                if (progress.Cancelled()) {
                    return false;
                }
                file.Write(bytes.constData() + at, std::min(kPiece, bytes.size() - at));
                progress.SetDone(at);
            }
            file.Commit();
            return true;
        });
}

} // namespace kuvar
