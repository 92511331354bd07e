// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The table view of the project's windows: named for tests and screen
// readers, alternating rows, one line of text per row, and columns fitted to
// their contents when the model's rows change. A new value in a cell does
// not fit them again: in a 1000-room project every edit would measure
// thousands of cells on the UI thread. The user can widen any column.

#include <QString>

class QAbstractItemModel;
class QTableView;

namespace zorva::ui {

QTableView* resultTableView(QAbstractItemModel* model, const QString& objectName,
                            const QString& accessibleName, const QString& description);

} // namespace zorva::ui
