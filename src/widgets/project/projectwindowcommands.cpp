// SPDX-License-Identifier: GPL-3.0-or-later
// The project window's commands: new, open, save, save as, import rooms
// from CSV, the question before unsaved work is dropped, adding and
// deleting rooms.
#include "widgets/project/projectwindow.h"

#include "core/io/filesuffix.h"
#include "core/io/projectfile.h"
#include "models/project/projectdocument.h"
#include "models/project/roomtablemodel.h"
#include "widgets/dialogs/dialogseam.h"
#include "widgets/dialogs/messages.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QTableView>

namespace zorva::ui {

namespace {

const QString kProjectFilter = QStringLiteral("Zorva 项目 (*.zorvaproj)");
const QString kCsvFilter = QStringLiteral("CSV 文件 (*.csv)");

} // namespace

void ProjectWindow::warn(const QString& text) {
    showFileWarning(dialogs_, this, text);
}

bool ProjectWindow::askToSave() {
    if (!document_->isModified())
        return true;
    const auto answer = dialogs_.question(
        this, QStringLiteral("项目"), QStringLiteral("项目有未保存的修改。是否保存？"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Save)
        return saveProject();
    return answer == QMessageBox::Discard;
}

bool ProjectWindow::confirmClose() {
    closeConfirmed_ = askToSave();
    return closeConfirmed_;
}

void ProjectWindow::closeEvent(QCloseEvent* event) {
    if (closeConfirmed_ || askToSave())
        event->accept();
    else
        event->ignore();
}

void ProjectWindow::newProject() {
    if (askToSave())
        document_->newProject();
}

bool ProjectWindow::openProject() {
    if (!askToSave())
        return false;
    const QString fileName = dialogs_.openFileName(this, kProjectFilter, document_->fileName());
    if (fileName.isEmpty())
        return false;
    const Result<void> opened = document_->open(fileName);
    if (!opened) {
        warn(opened.error());
        return false;
    }
    return true;
}

bool ProjectWindow::saveProject() {
    return document_->fileName().isEmpty() ? saveProjectAs() : writeTo(document_->fileName());
}

bool ProjectWindow::saveProjectAs() {
    const QString selected =
        document_->fileName().isEmpty() ? QStringLiteral("项目.zorvaproj") : document_->fileName();
    const QString fileName = dialogs_.saveFileName(this, kProjectFilter, selected);
    if (fileName.isEmpty())
        return false;
    return writeTo(io::withSuffix(fileName, QLatin1String(io::kProjectSuffix)));
}

bool ProjectWindow::writeTo(const QString& fileName) {
    const Result<void> saved = document_->saveAs(fileName);
    if (!saved) {
        warn(saved.error());
        return false;
    }
    status_->setText(QStringLiteral("已保存 %1").arg(QFileInfo(fileName).fileName()));
    return true;
}

bool ProjectWindow::importRooms() {
    const QString fileName = dialogs_.openFileName(this, kCsvFilter, QString());
    if (fileName.isEmpty())
        return false;
    const Result<int> imported = document_->importRoomsCsv(fileName);
    if (!imported) {
        warn(imported.error());
        return false;
    }
    status_->setText(QStringLiteral("已导入 %1 个房间").arg(*imported));
    return true;
}

void ProjectWindow::addRoom() {
    const QModelIndex current = rooms_->currentIndex();
    const int row = current.isValid() ? current.row() + 1 : roomModel_->rowCount();
    document_->insertRooms(row, {document_->newRoom()}, QStringLiteral("添加房间"));
    rooms_->setCurrentIndex(roomModel_->index(row, 0));
}

void ProjectWindow::deleteRooms() {
    std::vector<int> rows;
    for (const QModelIndex& index : rooms_->selectionModel()->selectedRows())
        rows.push_back(index.row());
    if (rows.empty() && rooms_->currentIndex().isValid())
        rows.push_back(rooms_->currentIndex().row());
    document_->removeRooms(std::move(rows));
}

} // namespace zorva::ui
