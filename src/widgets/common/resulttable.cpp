// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/common/resulttable.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QTableView>

namespace zorva::ui {

QTableView* resultTableView(QAbstractItemModel* model, const QString& objectName,
                            const QString& accessibleName, const QString& description) {
    auto* view = new QTableView;
    view->setObjectName(objectName);
    view->setAccessibleName(accessibleName);
    view->setAccessibleDescription(description);
    view->setAlternatingRowColors(true);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    // Measured on the rows in sight and a hundred more.
    view->horizontalHeader()->setResizeContentsPrecision(100);
    view->setModel(model);
    const auto fit = [view] { view->resizeColumnsToContents(); };
    QObject::connect(model, &QAbstractItemModel::modelReset, view, fit);
    QObject::connect(model, &QAbstractItemModel::rowsInserted, view, fit);
    QObject::connect(model, &QAbstractItemModel::layoutChanged, view, fit);
    fit();
    return view;
}

} // namespace zorva::ui
