// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The manifold inputs above the loop table: supply temperature, difference,
// the eight values of the floor construction, pipe diameter, elbows and the
// allowance for the pump head, each a spin box with its unit. A value is
// taken when its editing ends (Enter, leaving the box, a step with the
// arrows), never on each keystroke.

#include "core/engine/manifold.h"

#include <QWidget>

#include <array>

class QDoubleSpinBox;

namespace zorva::ui {

class ManifoldInputs : public QWidget {
    Q_OBJECT

public:
    explicit ManifoldInputs(QWidget* parent = nullptr);

    // Shows `manifold` without signalling.
    void setManifold(const ManifoldInput& manifold);
    ManifoldInput manifold() const { return shown_; }
    QDoubleSpinBox* box(int index) const { return boxes_[static_cast<std::size_t>(index)]; }

signals:
    void edited(const zorva::ManifoldInput& manifold);

private:
    void takeValue(int index, double value);

    std::array<QDoubleSpinBox*, 13> boxes_{};
    ManifoldInput shown_;
};

} // namespace zorva::ui
