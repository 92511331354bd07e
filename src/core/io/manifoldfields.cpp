// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/manifoldfields.h"

#include "core/engine/numtext.h"

#include <QLocale>

#include <array>
#include <cmath>

namespace zorva::io {

namespace {

constexpr const char* kConductivityUnit = "W/(m·℃)";

const std::array<NumberRange, kManifoldNumberCount> kManifold{{
    {"supplyTemp", "供水温度", "℃", 1, 100, false},
    {"tempDiff", "供回水温差", "℃", 0.1, 50, false},
    {"surfaceThickness", "地面层厚度", "mm", 0, 500, false},
    {"levelThickness", "找平层厚度", "mm", 0, 500, false},
    {"fillThickness", "填充层厚度", "mm", 0, 1000, false},
    {"pipeWallThickness", "塑料管壁厚度", "mm", 0.01, 20, false},
    {"surfaceConductivity", "地面层导热系数", kConductivityUnit, 0.001, 1000, false},
    {"levelConductivity", "找平层导热系数", kConductivityUnit, 0.001, 1000, false},
    {"fillConductivity", "填充层导热系数", kConductivityUnit, 0.001, 1000, false},
    {"pipeConductivity", "塑料管导热系数", kConductivityUnit, 0.001, 1000, false},
    {"pipeDiameter", "盘管外径", "mm", 1, 200, false},
    {"elbows", "90度弯头数", "", 0, 1000, false},
    {"allowance", "分集水器及连接阻力", "kPa", 0, 10000, false},
}};

const std::array<NumberRange, kLoopNumberCount> kLoop{{
    {"roomTemp", "室内温度", "℃", -50, 50, false},
    {"spacing", "盘管间距", "mm", 10, 1000, false},
    {"length", "单管长度", "m", 0.1, 1000, false},
    {"load", "热负荷", "W", 0, 1e7, true},
    {"tempDiff", "本环路温差", "℃", 0.1, 50, true},
}};

QString number(double value) {
    return QString::fromUtf8(generalText(value).view());
}

} // namespace

QString NumberRange::caption() const {
    const QString n = QString::fromUtf8(name);
    return *unit ? n + u'(' + QString::fromUtf8(unit) + u')' : n;
}

std::span<const NumberRange> manifoldRanges() {
    return kManifold;
}

std::span<const NumberRange> loopRanges() {
    return kLoop;
}

double& manifoldNumber(ManifoldInput& m, int index) {
    switch (index) {
    case 0:
        return m.supplyTemp;
    case 1:
        return m.tempDiff;
    case 2:
    case 3:
    case 4:
    case 5:
        return m.thickness[static_cast<std::size_t>(index - 2)];
    case 6:
    case 7:
    case 8:
    case 9:
        return m.conductivity[static_cast<std::size_t>(index - 6)];
    case 10:
        return m.pipeDiameter;
    case 11:
        return m.elbows;
    default:
        return m.allowance;
    }
}

double manifoldNumber(const ManifoldInput& m, int index) {
    return manifoldNumber(const_cast<ManifoldInput&>(m), index);
}

void setLoopNumber(LoopInput& loop, int index, std::optional<double> value) {
    switch (index) {
    case 0:
        loop.roomTemp = value.value_or(0);
        break;
    case 1:
        loop.spacingMm = value.value_or(0);
        break;
    case 2:
        loop.lengthM = value.value_or(0);
        break;
    case 3:
        loop.loadW = value;
        break;
    default:
        loop.ownTempDiff = value;
        break;
    }
}

std::optional<double> loopNumber(const LoopInput& loop, int index) {
    switch (index) {
    case 0:
        return loop.roomTemp;
    case 1:
        return loop.spacingMm;
    case 2:
        return loop.lengthM;
    case 3:
        return loop.loadW;
    default:
        return loop.ownTempDiff;
    }
}

bool inRange(const NumberRange& numberField, double value) {
    return value >= numberField.min && value <= numberField.max;
}

QString rangeMessage(const NumberRange& numberField, const QString& valueText) {
    QString unit = QString::fromUtf8(numberField.unit);
    if (!unit.isEmpty())
        unit.prepend(u' ');
    return QStringLiteral("“%1”的值 %2 超出范围 %3 ~ %4%5")
        .arg(QString::fromUtf8(numberField.name), valueText, number(numberField.min),
             number(numberField.max), unit);
}

QString rangeMessage(const NumberRange& numberField, double value) {
    // A value that is no number (a save of a field left without one) is
    // said to be so, not shown as infinite.
    const QString text = std::isnan(value) ? QStringLiteral("（不是数）")
                         : std::isfinite(value)
                             ? QString::number(value, 'g', QLocale::FloatingPointShortest)
                         : value > 0 ? QStringLiteral("∞")
                                     : QStringLiteral("-∞");
    return rangeMessage(numberField, text);
}

QString loopLabel(int oneBasedIndex, const QString& name) {
    const QString label = QStringLiteral("第 %1 个环路").arg(oneBasedIndex);
    return name.isEmpty() ? label : label + QStringLiteral("（%1）").arg(name);
}

} // namespace zorva::io
