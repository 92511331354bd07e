// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The icons of the check's verdicts, beside their words (never colour
// alone), and the proxy through which a view shows them for the check's
// table models (models/check/verdictrole.h).

#include "core/engine/designcheck.h"

#include <QIcon>
#include <QIdentityProxyModel>

namespace zorva::ui {

// The standard icon shown beside a verdict's word.
QIcon verdictIcon(Verdict verdict);

// Passes a model through, decorating every cell that has a verdict with the
// verdict's icon.
class VerdictIconProxy : public QIdentityProxyModel {
    Q_OBJECT

public:
    explicit VerdictIconProxy(QAbstractItemModel* source, QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
};

} // namespace zorva::ui
