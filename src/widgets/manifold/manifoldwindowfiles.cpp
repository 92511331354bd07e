// SPDX-License-Identifier: GPL-3.0-or-later
// The file commands of the manifold window: project files, CSV, and asking
// to save before the sheet's work is dropped.

#include "core/io/filesuffix.h"
#include "core/io/manifoldcsv.h"
#include "core/io/projectfile.h"
#include "core/io/safesave.h"
#include "models/session/designsession.h"
#include "widgets/dialogs/dialogseam.h"
#include "widgets/manifold/manifoldinputs.h"
#include "widgets/manifold/manifoldwindow.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>

namespace zorva::ui {

namespace {

const QString kProjectFilter = QStringLiteral("Zorva 多环路项目 (*.zorvaproj)");
const QString kCsvFilter = QStringLiteral("CSV 文件 (*.csv)");

} // namespace

bool ManifoldWindow::askToSave() {
    if (!sheet_->isModified())
        return true;
    const auto answer = dialogs_.question(
        this, QStringLiteral("多环路计算"),
        QStringLiteral("多环路计算表有未保存的修改。是否保存？"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Save)
        return saveProject();
    return answer == QMessageBox::Discard;
}

bool ManifoldWindow::confirmClose() {
    closeConfirmed_ = askToSave();
    return closeConfirmed_;
}

void ManifoldWindow::closeEvent(QCloseEvent* event) {
    if (closeConfirmed_ || askToSave()) {
        sheet_->cancel();
        reportJob_->cancel();
        event->accept();
    } else {
        event->ignore();
    }
}

bool ManifoldWindow::saveProject() {
    return path_.isEmpty() ? saveProjectAs() : writeProject(path_);
}

bool ManifoldWindow::saveProjectAs() {
    const QString selected = path_.isEmpty() ? QStringLiteral("多环路.zorvaproj") : path_;
    const QString fileName = dialogs_.saveFileName(this, kProjectFilter, selected);
    if (fileName.isEmpty())
        return false;
    return writeProject(io::withSuffix(fileName, QLatin1String(io::kProjectSuffix)));
}

bool ManifoldWindow::writeProject(const QString& fileName) {
    // A project the program could not open again is not written.
    const Result<QByteArray> bytes = sheet_->projectBytes();
    const Result<void> result = bytes ? io::writeFileSafely(fileName, *bytes) : bytes.problem();
    if (!result) {
        warn(QStringLiteral("无法保存项目“%1”：\r\n%2").arg(fileName, result.error()));
        return false;
    }
    path_ = fileName;
    sheet_->markSaved();
    updateTitle();
    status_->setText(QStringLiteral("已保存 %1").arg(QFileInfo(fileName).fileName()));
    return true;
}

void ManifoldWindow::newProject() {
    if (!askToSave())
        return;
    sheet_->startNew(models::manifoldFromDesign(session_.currentFields()));
    inputs_->setManifold(sheet_->manifold());
    path_.clear();
    updateTitle();
    updateMethod();
    updateTotals();
}

void ManifoldWindow::openProject() {
    if (!askToSave())
        return;
    const QString fileName = dialogs_.openFileName(this, kProjectFilter, path_);
    if (fileName.isEmpty())
        return;
    // Everything is read and checked before the sheet changes.
    // Regular files only, opened without waiting: a named pipe is refused.
    const Result<io::ProjectData> read = io::readProjectFile(fileName);
    if (!read) {
        warn(read.error());
        return;
    }
    sheet_->loadProject(*read);
    inputs_->setManifold(sheet_->manifold());
    updateMethod();
    path_ = fileName;
    updateTitle();
}

void ManifoldWindow::exportCsv() {
    if (!sheet_->resultsCurrent()) {
        warn(QStringLiteral("环路还在计算中，请计算完成后再导出。"));
        return;
    }
    const QString base =
        path_.isEmpty() ? QStringLiteral("多环路") : QFileInfo(path_).completeBaseName();
    const QString fileName = dialogs_.saveFileName(this, kCsvFilter, base + QStringLiteral(".csv"));
    if (fileName.isEmpty())
        return;
    const QString target = io::withSuffix(fileName, QStringLiteral("csv"));
    // An export the import could not read again is not written.
    const Result<QByteArray> bytes = io::manifoldCsvFileBytes(sheet_->csvRows());
    const Result<void> result = bytes ? io::writeFileSafely(target, *bytes) : bytes.problem();
    if (!result)
        warn(QStringLiteral("无法导出“%1”：\r\n%2").arg(target, result.error()));
}

void ManifoldWindow::importCsv() {
    const QString fileName = dialogs_.openFileName(this, kCsvFilter, QString());
    if (fileName.isEmpty())
        return;
    const Result<io::LoopCsvImport> read = io::importLoopsCsvFile(fileName, sheet_->manifold());
    if (!read) {
        warn(QStringLiteral("无法导入“%1”：\r\n%2").arg(fileName, read.error()));
        return;
    }
    if (read->rows.isEmpty()) {
        warn(QStringLiteral("“%1”中没有环路。").arg(fileName));
        return;
    }
    // The sheet has one manifold: the first row's manifold columns.
    const ManifoldInput manifold = read->rows.first().manifold;
    std::vector<models::SheetRow> rows;
    int differing = 0;
    for (const io::CsvDesignRow& row : read->rows) {
        rows.push_back(models::SheetRow{row.loop, {}});
        differing += !sameManifold(row.manifold, manifold);
    }
    sheet_->replaceAll(manifold, std::move(rows), QStringLiteral("导入CSV"));
    QString note = QStringLiteral("已导入 %1 个环路（%2）。")
                       .arg(read->rows.size())
                       .arg(csv::encodingName(read->encoding));
    if (differing > 0)
        note += QStringLiteral("%1 行的分集水器参数与第一行不同，按第一行取用。").arg(differing);
    if (!read->note.isEmpty())
        note += escapedControls(read->note) + QStringLiteral("。");
    status_->setText(note);
}

} // namespace zorva::ui
