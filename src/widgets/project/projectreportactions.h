// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The project window's report commands in its 文件 menu: 导出项目报告 PDF…
// (made and written in the background with progress and cancel in the
// status bar, through the safe save) and 打印项目报告… (through the print
// dialog). Both take the project's latest result and refuse while it is
// still being computed.

#include <QString>

class QMainWindow;
class QMenu;

namespace zorva::models {
class ProjectDocument;
}

namespace zorva::ui {

class DialogSeam;

// The project's name in reports and drawings: its file's base name.
QString projectTitle(const models::ProjectDocument& document);

// Adds the commands to `file` of `window`, which shows `document`.
void addReportActions(QMainWindow& window, models::ProjectDocument& document, DialogSeam& dialogs,
                      QMenu& file);

} // namespace zorva::ui
