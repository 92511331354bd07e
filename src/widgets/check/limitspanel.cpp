// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/check/limitspanel.h"

#include "core/wording/checkwording.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

namespace zorva::ui {

namespace {

// The heat load box: its minimum stands for "no load entered".
constexpr double kNoLoad = 0;
constexpr double kMaxLoad = 1000;

QDoubleSpinBox* newSpinBox(QWidget* parent, const char* name, const QString& accessibleName,
                           const QString& unit, double low, double high, int decimals,
                           double step) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(low, high);
    box->setDecimals(decimals);
    box->setSingleStep(step);
    box->setSuffix(QStringLiteral(" ") + unit);
    // A typed number counts when it is complete (Enter or leaving the box),
    // not at every digit.
    box->setKeyboardTracking(false);
    box->setAccessibleName(accessibleName);
    box->setAccessibleDescription(QStringLiteral("单位 %1，范围 %2 至 %3")
                                      .arg(unit, numberText(low, -1), numberText(high, -1)));
    return box;
}

} // namespace

LimitsPanel::LimitsPanel(QWidget* parent) : QGroupBox(QStringLiteral("校核条件"), parent) {
    setObjectName(QStringLiteral("limitsPanel"));
    auto* form = new QFormLayout(this);

    load_ = newSpinBox(this, "loadPerArea", QStringLiteral("热负荷"), QStringLiteral("W/m²"),
                       kNoLoad, kMaxLoad, 1, 5);
    load_->setSpecialValueText(QStringLiteral("未输入"));
    load_->setToolTip(QStringLiteral("单位面积热负荷；为“未输入”时不校核散热量"));
    load_->setAccessibleDescription(
        QStringLiteral("单位 W/m²，范围 0 至 1000，0 表示未输入，不校核散热量"));
    form->addRow(QStringLiteral("热负荷(&L)"), load_);
    connect(load_, &QDoubleSpinBox::valueChanged, this, [this](double v) {
        limits_.loadPerArea = v > kNoLoad ? std::optional<double>(v) : std::nullopt;
        edited();
    });

    category_ = new QComboBox(this);
    category_->setObjectName(QStringLiteral("roomCategory"));
    category_->setAccessibleName(QStringLiteral("房间类型"));
    category_->setAccessibleDescription(
        QStringLiteral("决定地面温度限值：前三类按 JGJ 142-2012 的地面平均温度，"
                       "后三类按 EN 1264-2 极限曲线的地面最高温度"));
    for (int i = 0; i < kRoomCategoryCount; ++i)
        category_->addItem(categoryText(static_cast<RoomCategory>(i)), i);
    form->addRow(QStringLiteral("房间类型(&C)"), category_);
    connect(category_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i < 0)
            return;
        limits_.category = static_cast<RoomCategory>(i);
        edited();
    });

    velocity_ = addLimit("minVelocity", QStringLiteral("最低水流速"), QStringLiteral("m/s"), 0, 5,
                         2, 0.05, &CheckLimits::minVelocity);
    velocity_->setToolTip(QStringLiteral("说明 第3条；JGJ 142-2004 第 3.5.6 条为 0.25 m/s"));
    resistance_ = addLimit("maxResistance", QStringLiteral("最大环路水阻力"), QStringLiteral("kPa"),
                           0, 500, 1, 5, &CheckLimits::maxResistance);
    resistance_->setToolTip(
        QStringLiteral("说明 第4条为 30 kPa；特性 第4条认为大系统可提高到 50 kPa 或以上"));
    supply_ = addLimit("maxSupplyTemp", QStringLiteral("最高供水温度"), QStringLiteral("℃"), 0, 100,
                       1, 1, &CheckLimits::maxSupplyTemp);
    supply_->setToolTip(QStringLiteral("GB 50736-2012 第 5.4.1 条为 60 ℃，宜 35~45 ℃"));
    minDifference_ = addLimit("minTempDiff", QStringLiteral("最小供回水温差"), QStringLiteral("℃"),
                              0, 100, 1, 1, &CheckLimits::minTempDiff);
    minDifference_->setToolTip(QStringLiteral("低于此值为偏小；GB 50736-2012 第 5.4.1 条为 5 ℃"));
    difference_ = addLimit("maxTempDiff", QStringLiteral("最大供回水温差"), QStringLiteral("℃"), 0,
                           100, 1, 1, &CheckLimits::maxTempDiff);
    difference_->setToolTip(QStringLiteral("GB 50736-2012 第 5.4.1 条为 10 ℃"));
    length_ = addLimit("maxLoopLength", QStringLiteral("最大单管长度"), QStringLiteral("m"), 0,
                       1000, 1, 10, &CheckLimits::maxLoopLength);
    length_->setToolTip(QStringLiteral("JGJ 142-2004 第 3.5.2 条为 120 m"));

    auto* restore = new QPushButton(QStringLiteral("恢复默认限值(&D)"), this);
    restore->setObjectName(QStringLiteral("restoreLimits"));
    restore->setAccessibleName(QStringLiteral("恢复默认限值"));
    restore->setToolTip(QStringLiteral("热负荷不变，其余限值恢复为默认值"));
    form->addRow(restore);
    connect(restore, &QPushButton::clicked, this, [this] {
        CheckLimits defaults;
        defaults.loadPerArea = limits_.loadPerArea;
        setLimits(defaults);
        emit limitsEdited(limits_);
    });
    setLimits(limits_);
}

QDoubleSpinBox* LimitsPanel::addLimit(const char* name, const QString& caption, const QString& unit,
                                      double low, double high, int decimals, double step,
                                      double CheckLimits::*member) {
    QDoubleSpinBox* box = newSpinBox(this, name, caption, unit, low, high, decimals, step);
    static_cast<QFormLayout*>(layout())->addRow(caption, box);
    connect(box, &QDoubleSpinBox::valueChanged, this, [this, member](double v) {
        limits_.*member = v;
        edited();
    });
    return box;
}

void LimitsPanel::setLimits(const CheckLimits& limits) {
    limits_ = limits;
    showing_ = true;
    load_->setValue(limits.loadPerArea.value_or(kNoLoad));
    category_->setCurrentIndex(static_cast<int>(limits.category));
    velocity_->setValue(limits.minVelocity);
    resistance_->setValue(limits.maxResistance);
    supply_->setValue(limits.maxSupplyTemp);
    minDifference_->setValue(limits.minTempDiff);
    difference_->setValue(limits.maxTempDiff);
    length_->setValue(limits.maxLoopLength);
    showing_ = false;
    // The boxes round to their decimals; the limits stay as they were given.
    limits_ = limits;
}

void LimitsPanel::edited() {
    if (!showing_)
        emit limitsEdited(limits_);
}

} // namespace zorva::ui
