// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/manifold/manifoldinputs.h"

#include "core/io/manifoldfields.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>

#include <cmath>

namespace zorva::ui {

namespace {

// Decimals of each input in manifoldRanges() order.
constexpr int kDecimals[io::kManifoldNumberCount] = {1, 1, 1, 1, 1, 2, 4, 4, 4, 4, 1, 0, 1};

} // namespace

ManifoldInputs::ManifoldInputs(QWidget* parent) : QWidget(parent) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    constexpr int perColumn = 5;
    for (int i = 0; i < io::kManifoldNumberCount; ++i) {
        const io::NumberRange& numberField = io::manifoldRanges()[static_cast<std::size_t>(i)];
        auto* box = new QDoubleSpinBox;
        box->setObjectName(QLatin1String(numberField.key));
        box->setRange(numberField.min, numberField.max);
        box->setDecimals(kDecimals[i]);
        box->setKeyboardTracking(false);
        box->setAccelerated(true);
        if (*numberField.unit)
            box->setSuffix(u' ' + QString::fromUtf8(numberField.unit));
        box->setAccessibleName(numberField.caption());
        box->setMinimumWidth(110);
        box->setMaximumWidth(150);
        auto* label = new QLabel(QString::fromUtf8(numberField.name));
        label->setBuddy(box);
        grid->addWidget(label, i % perColumn, (i / perColumn) * 2);
        grid->addWidget(box, i % perColumn, (i / perColumn) * 2 + 1);
        boxes_[static_cast<std::size_t>(i)] = box;
        connect(box, &QDoubleSpinBox::valueChanged, this,
                [this, i](double value) { takeValue(i, value); });
    }
    grid->setColumnStretch(2 * ((io::kManifoldNumberCount - 1) / perColumn + 1), 1);
    setManifold(shown_);
}

void ManifoldInputs::setManifold(const ManifoldInput& manifold) {
    shown_ = manifold;
    for (int i = 0; i < io::kManifoldNumberCount; ++i) {
        const QSignalBlocker block(boxes_[static_cast<std::size_t>(i)]);
        boxes_[static_cast<std::size_t>(i)]->setValue(io::manifoldNumber(manifold, i));
    }
}

void ManifoldInputs::takeValue(int index, double value) {
    // A box shows its value rounded; only a value the user changed is taken,
    // so that leaving a box never rounds what the construction window gave.
    const double shown = io::manifoldNumber(shown_, index);
    const double scale = std::pow(10.0, kDecimals[index]);
    if (std::round(shown * scale) == std::round(value * scale))
        return;
    io::manifoldNumber(shown_, index) = value;
    emit edited(shown_);
}

} // namespace zorva::ui
