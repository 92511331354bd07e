// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The inputs of the design check: the heat load (optional), the room
// category that sets the floor temperature limit, and the other limits, each
// a spin box with its unit. An edit changes only the limit edited and is
// reported at once.

#include "core/engine/designcheck.h"

#include <QGroupBox>

class QComboBox;
class QDoubleSpinBox;

namespace zorva::ui {

class LimitsPanel : public QGroupBox {
    Q_OBJECT

public:
    explicit LimitsPanel(QWidget* parent = nullptr);

    // Shows `limits` without reporting an edit.
    void setLimits(const CheckLimits& limits);
    const CheckLimits& limits() const { return limits_; }

    QDoubleSpinBox* loadBox() const { return load_; }
    QComboBox* categoryBox() const { return category_; }

signals:
    void limitsEdited(const zorva::CheckLimits& limits);

private:
    QDoubleSpinBox* addLimit(const char* name, const QString& caption, const QString& unit,
                             double low, double high, int decimals, double step,
                             double CheckLimits::*member);
    void edited();

    CheckLimits limits_;
    bool showing_ = false;
    QDoubleSpinBox* load_;
    QComboBox* category_;
    QDoubleSpinBox* velocity_ = nullptr;
    QDoubleSpinBox* resistance_ = nullptr;
    QDoubleSpinBox* supply_ = nullptr;
    QDoubleSpinBox* minDifference_ = nullptr;
    QDoubleSpinBox* difference_ = nullptr;
    QDoubleSpinBox* length_ = nullptr;
};

} // namespace zorva::ui
