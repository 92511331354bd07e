// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/check/coolingcheckmodel.h"

#include "core/engine/designcheck.h"
#include "core/engine/en1264.h"
#include "core/engine/manifold.h"
#include "core/wording/checkwording.h"
#include "models/check/checktexts.h"
#include "models/check/verdictrole.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

namespace zorva::models {

namespace {

QString text(std::string_view view) {
    return QString::fromUtf8(view.data(), static_cast<qsizetype>(view.size()));
}

constexpr int kDecimals = 2;

// The decimals that show `value` and `limit` each on its own side of the
// other, at least kDecimals.
// The fewest decimals (at least kDecimals) at which `value` and `limit`, both
// rounded, compare as the unrounded numbers do; -1 where none up to 15 does:
// then all 17 significant digits.
int decimalsBeside(double value, double limit, int fewest) {
    const auto side = [](double a, double b) { return (a > b) - (a < b); };
    for (int d = fewest; d <= 15; ++d) {
        const double v = QString::number(value, 'f', d).toDouble();
        const double l = QString::number(limit, 'f', d).toDouble();
        if (side(v, l) == side(value, limit))
            return d;
    }
    return -1;
}

Verdict verdictOf(const cooling::Check& c) {
    if (!c.checked)
        return Verdict::NotChecked;
    if (c.passed)
        return Verdict::Pass;
    if (c.id == cooling::CheckId::Rise)
        return c.value < c.limit ? Verdict::Low : Verdict::High;
    return Verdict::Fail;
}

const cooling::Check& loopCheck(const cooling::LoopResult& loop, cooling::CheckId id) {
    for (const cooling::Check& c : loop.checks)
        if (c.id == id)
            return c;
    return loop.checks[0];
}

QString codeText(cooling::CheckId id) {
    return text(cooling::checkCode(id));
}

} // namespace

CoolingCheck coolingCheck(const FieldRecord& fields, const CoolingSettings& s) {
    CoolingCheck check;
    cooling::LoopInputs in;
    in.construction = en1264Inputs(fields, floorTempLimit(RoomCategory::LongStay));
    in.construction.downwardResistance.reset();
    in.construction.belowTemp.reset();
    in.supplyTemp = s.supplyTemp;
    in.returnTemp = s.returnTemp;
    in.room.temp = s.roomTemp;
    in.room.humidity = s.humidity;
    in.room.dewMargin = s.dewMargin;
    in.room.occupancy = s.occupancy;
    in.length = loopFromFields(fields).lengthM;
    check.loop = cooling::coolingLoop(in);
    if (!check.loop.applicable())
        return check;
    std::optional<double> proposal = check.loop.admissible.supplyTemp;
    if (s.loadPerArea) {
        const std::array<cooling::LoopResult, 1> loops{check.loop};
        check.room = cooling::coolingRoom(loops, *s.loadPerArea * check.loop.area);
        if (check.room->applicable())
            proposal = check.room->proposedSupplyTemp;
    }
    // Never a supply below the dew point and its margin.
    if (proposal && *proposal >= check.loop.minSupplyTemp)
        check.proposedSupplyTemp = proposal;
    return check;
}

QString coolingApplicabilityText(cooling::Applicability a) {
    switch (a) {
    case cooling::Applicability::Applicable:
        return {};
    case cooling::Applicability::Construction:
        return QStringLiteral("地板构造超出 EN 1264-2 的计算范围，无法换算供冷量。");
    case cooling::Applicability::RoomAir:
        return QStringLiteral("室内温度须在 −45~60 ℃ 之间，相对湿度须大于 0 且不超过 100 %。");
    case cooling::Applicability::DewMargin:
        return QStringLiteral("防结露安全余量不得小于 1 K。");
    case cooling::Applicability::TemperatureOrder:
        return QStringLiteral("供冷时须供水温度 ≤ 回水温度 < 室内温度，否则地面不能供冷。");
    case cooling::Applicability::SupplyTooCold:
        return QStringLiteral("供水温度不高于 4 ℃，超出地面供冷的使用范围。");
    case cooling::Applicability::Length:
        return QStringLiteral("环路长度须为正数。");
    case cooling::Applicability::SpaceBelow:
        break;
    }
    return QStringLiteral("下层空间的热阻或温度无效。");
}

QString numberBeside(double value, double limit, int decimals) {
    const int fewest = decimals;
    decimals = decimalsBeside(value, limit, fewest);
    if (!std::isfinite(value))
        return fixedText(value, fewest);
    return decimals < 0 ? QString::number(value, 'g', 17) : fixedText(value, decimals);
}

QStringList coolingFailures(const cooling::LoopResult& loop) {
    QStringList reasons;
    if (!loop.applicable())
        return reasons;
    const cooling::Check& d1 = loopCheck(loop, cooling::CheckId::SupplyDew);
    const auto t = [](double v, double limit) { return numberBeside(v, limit); };
    if (!d1.passed) {
        if (d1.belowDewPoint)
            reasons << QStringLiteral(
                           "供水温度 %1 ℃ 低于室内空气露点温度 %2 ℃，管道和分集水器将结露")
                           .arg(t(loop.supplyTemp, loop.dewPoint),
                                t(loop.dewPoint, loop.supplyTemp));
        else
            reasons << QStringLiteral("供水温度 %1 ℃ 低于露点温度加安全余量 %2 ℃，有结露风险")
                           .arg(t(d1.value, d1.limit), t(d1.limit, d1.value));
    }
    for (const cooling::CheckId id : {cooling::CheckId::FloorDew, cooling::CheckId::InletDew}) {
        const cooling::Check& c = loopCheck(loop, id);
        if (!c.passed)
            reasons << QStringLiteral("地表面温度 %1 ℃ 低于露点温度加安全余量 %2 ℃，地面有结露风险")
                           .arg(t(c.value, c.limit), t(c.limit, c.value));
    }
    const cooling::Check& f1 = loopCheck(loop, cooling::CheckId::FloorComfort);
    if (f1.checked && !f1.passed)
        reasons << QStringLiteral("地表面平均温度 %1 ℃ 低于舒适下限 %2 ℃")
                       .arg(t(f1.value, f1.limit), t(f1.limit, f1.value));
    return reasons;
}

QString coolingSummary(const CoolingCheck& check) {
    const QString method = text(cooling::clause::kMethod);
    const cooling::LoopResult& loop = check.loop;
    if (!loop.applicable())
        return QStringLiteral("供冷（%1）：不能计算。%2")
            .arg(method, coolingApplicabilityText(loop.applicability));
    CoolingCheckModel model;
    model.setCheck(check);
    QStringList reasons = coolingFailures(loop);
    if (check.room && check.room->applicable() && !check.room->loadMet)
        reasons << QStringLiteral("供冷量不足：显热冷负荷 %1 W，允许条件下最多供冷 %2 W，缺 %3 W")
                       .arg(fixedText(check.room->sensibleLoad, 1),
                            fixedText(check.room->admissibleOutput, 1),
                            fixedText(check.room->shortfall, 1));
    QString line =
        QStringLiteral("供冷校核（计算方法：%1）：%2").arg(method, verdictText(model.overall()));
    if (!reasons.isEmpty())
        line += QStringLiteral("。") + reasons.join(QStringLiteral("；"));
    return line + QStringLiteral("。");
}

CoolingCheckModel::CoolingCheckModel(QObject* parent) : QAbstractTableModel(parent) {}

void CoolingCheckModel::setCheck(const CoolingCheck& check) {
    beginResetModel();
    check_ = check;
    build();
    endResetModel();
}

void CoolingCheckModel::clear() {
    beginResetModel();
    check_.reset();
    lines_.clear();
    endResetModel();
}

void CoolingCheckModel::build() {
    lines_.clear();
    if (!check_ || !check_->loop.applicable())
        return;
    const cooling::LoopResult& l = check_->loop;
    const QString method = text(cooling::clause::kMethod);
    const QString dewClause = text(cooling::clause::kDewMargin);
    const QString floorClause = text(cooling::floorTempClause(l.room.occupancy));
    lines_.resize(RowCount);
    const auto checked = [&](Row row, const QString& name, cooling::CheckId id, const QString& unit,
                             const QString& basis) {
        const cooling::Check& c = loopCheck(l, id);
        Line& line = lines_[row];
        line.name = name + QStringLiteral("（%1）").arg(codeText(id));
        line.value = c.value;
        line.unit = unit;
        line.limit = c.limit;
        line.verdict = verdictOf(c);
        line.judged = true;
        line.basis = basis;
        if (!c.checked) {
            line.limit.reset();
            line.limitText = QStringLiteral("无舒适下限");
        } else if (id == cooling::CheckId::Rise) {
            // Shown against the nearer end of the range.
            if (std::fabs(c.value - c.upperLimit) < std::fabs(c.value - c.limit))
                line.limit = c.upperLimit;
            line.limitText = QStringLiteral("%1~%2 %3")
                                 .arg(fixedText(c.limit, 0), fixedText(c.upperLimit, 0), unit);
        } else {
            line.limitText = QStringLiteral("≥ %1 %2").arg(numberBeside(c.limit, c.value), unit);
        }
    };
    const auto plain = [&](Row row, const QString& name, double value, const QString& unit,
                           const QString& basis) {
        Line& line = lines_[row];
        line.name = name;
        line.value = value;
        line.unit = unit;
        line.limitText = QStringLiteral("—");
        line.basis = basis;
    };

    plain(OutputRow, QStringLiteral("单位面积供冷量 q_C"), l.coolingOutput, QStringLiteral("W/m²"),
          method);
    plain(CharacteristicRow, QStringLiteral("供冷特性系数 K_C"), l.characteristic.cooling,
          QStringLiteral("W/(m²·K)"), method);
    if (l.characteristic.extrapolated)
        lines_[CharacteristicRow].limitText = QStringLiteral("面层热阻较大，供冷量为外推值");
    checked(FloorDewRow, QStringLiteral("地表面平均温度 θ_F,m（防结露）"),
            cooling::CheckId::FloorDew, QStringLiteral("℃"), dewClause);
    checked(FloorComfortRow, QStringLiteral("地表面平均温度 θ_F,m（舒适）"),
            cooling::CheckId::FloorComfort, QStringLiteral("℃"), floorClause);
    checked(InletRow, QStringLiteral("进水端地表面温度 θ_F,V"), cooling::CheckId::InletDew,
            QStringLiteral("℃"), dewClause);
    checked(SupplyRow, QStringLiteral("供水温度 θ_V"), cooling::CheckId::SupplyDew,
            QStringLiteral("℃"), dewClause);
    checked(RiseRow, QStringLiteral("供回水温差 σ"), cooling::CheckId::Rise, QStringLiteral("K"),
            text(cooling::clause::kRise));
    plain(DewPointRow, QStringLiteral("室内空气露点温度 θ_d"), l.dewPoint, QStringLiteral("℃"),
          text(cooling::clause::kDewPoint));
    plain(MinSupplyRow, QStringLiteral("允许最低供水温度 θ_d + Δθ_s"), l.minSupplyTemp,
          QStringLiteral("℃"), dewClause);
    plain(MinFloorRow, QStringLiteral("允许最低地表面温度"), l.floorTempLowest, QStringLiteral("℃"),
          floorClause + QStringLiteral("；") + dewClause);
    plain(MaxOutputRow, QStringLiteral("不超限的最大供冷量"), l.maxAdmissibleOutput,
          QStringLiteral("W/m²"), method);
    lines_[MaxOutputRow].limitText = l.admissible.limit == cooling::Limit::FloorTemp
                                         ? QStringLiteral("由地表面温度下限决定")
                                         : QStringLiteral("由露点决定");

    Line& load = lines_[LoadRow];
    load.name = QStringLiteral("允许条件下的供冷量（L1）");
    load.unit = QStringLiteral("W");
    load.basis = text(cooling::clause::kSensibleLoad);
    if (check_->room && check_->room->applicable()) {
        const cooling::RoomResult& r = *check_->room;
        load.value = r.admissibleOutput;
        load.limit = r.sensibleLoad;
        load.limitText = QStringLiteral("≥ %1 W（显热冷负荷）")
                             .arg(numberBeside(r.sensibleLoad, r.admissibleOutput));
        load.verdict = r.loadMet ? Verdict::Pass : Verdict::Fail;
        load.judged = true;
    } else {
        load.hasValue = false;
        load.limitText = QStringLiteral("未输入显热冷负荷");
    }

    Line& proposed = lines_[ProposedRow];
    proposed.name = QStringLiteral("建议供水温度");
    proposed.unit = QStringLiteral("℃");
    proposed.basis = dewClause;
    if (check_->proposedSupplyTemp) {
        proposed.value = *check_->proposedSupplyTemp;
        proposed.limit = l.minSupplyTemp;
        proposed.limitText = QStringLiteral("≥ %1 ℃").arg(
            numberBeside(l.minSupplyTemp, *check_->proposedSupplyTemp));
    } else {
        proposed.hasValue = false;
        proposed.limitText = QStringLiteral("在露点和地面温度限值内无法供冷");
    }
}

Verdict CoolingCheckModel::verdict(int row) const {
    if (row < 0 || row >= rowCount())
        return Verdict::NotChecked;
    return lines_[static_cast<std::size_t>(row)].verdict;
}

Verdict CoolingCheckModel::overall() const {
    Verdict worst = Verdict::NotChecked;
    for (const Line& line : lines_)
        worst = worseVerdict(worst, line.verdict);
    return worst;
}

int CoolingCheckModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

int CoolingCheckModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString CoolingCheckModel::cellText(int row, int column) const {
    const Line& line = lines_[static_cast<std::size_t>(row)];
    switch (column) {
    case NameColumn:
        return line.name;
    case ValueColumn: {
        if (!line.hasValue)
            return QStringLiteral("—");
        if (row == CharacteristicRow)
            return fixedText(line.value, 3) + QStringLiteral(" ") + line.unit;
        const QString number =
            line.limit ? numberBeside(line.value, *line.limit) : fixedText(line.value, kDecimals);
        return number + QStringLiteral(" ") + line.unit;
    }
    case LimitColumn:
        return line.limitText;
    case VerdictColumn:
        return line.judged ? verdictText(line.verdict) : QStringLiteral("—");
    case BasisColumn:
        return line.basis;
    default:
        return {};
    }
}

QString CoolingCheckModel::rowSentence(int row) const {
    if (row < 0 || row >= rowCount())
        return {};
    return QStringLiteral("%1：计算值 %2，限值 %3，结论 %4，依据 %5。")
        .arg(cellText(row, NameColumn), cellText(row, ValueColumn), cellText(row, LimitColumn),
             cellText(row, VerdictColumn), cellText(row, BasisColumn));
}

QVariant CoolingCheckModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount)
        return {};
    const Line& line = lines_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return cellText(index.row(), index.column());
    case Qt::AccessibleDescriptionRole:
    case Qt::ToolTipRole:
        return rowSentence(index.row());
    case ValueRole:
        return line.hasValue ? QVariant(line.value) : QVariant();
    case VerdictRole:
        if (index.column() == VerdictColumn && line.judged)
            return static_cast<int>(line.verdict);
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() == ValueColumn)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

QVariant CoolingCheckModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        if (role == Qt::AccessibleTextRole || role == Qt::AccessibleDescriptionRole)
            return rowSentence(section);
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    static const char* const kHeaders[] = {"项目", "计算值", "限值", "结论", "依据"};
    if (section < 0 || section >= ColumnCount)
        return {};
    return QString::fromUtf8(kHeaders[section]);
}

} // namespace zorva::models
