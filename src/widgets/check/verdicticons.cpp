// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/check/verdicticons.h"

#include "models/check/verdictrole.h"

#include <QApplication>
#include <QStyle>

namespace zorva::ui {

QIcon verdictIcon(Verdict verdict) {
    QStyle::StandardPixmap pixmap = QStyle::SP_MessageBoxQuestion;
    switch (verdict) {
    case Verdict::Pass:
        pixmap = QStyle::SP_DialogApplyButton;
        break;
    case Verdict::Fail:
        pixmap = QStyle::SP_MessageBoxCritical;
        break;
    case Verdict::High:
    case Verdict::Low:
        pixmap = QStyle::SP_MessageBoxWarning;
        break;
    case Verdict::NotChecked:
        break;
    }
    return QApplication::style()->standardIcon(pixmap);
}

VerdictIconProxy::VerdictIconProxy(QAbstractItemModel* source, QObject* parent)
    : QIdentityProxyModel(parent) {
    setSourceModel(source);
}

QVariant VerdictIconProxy::data(const QModelIndex& index, int role) const {
    if (role == Qt::DecorationRole) {
        const QVariant verdict = QIdentityProxyModel::data(index, models::VerdictRole);
        if (verdict.isValid())
            return verdictIcon(static_cast<Verdict>(verdict.toInt()));
    }
    return QIdentityProxyModel::data(index, role);
}

} // namespace zorva::ui
