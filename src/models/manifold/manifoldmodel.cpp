// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/manifold/manifoldmodel.h"

#include "core/engine/loopcheck.h"
#include "core/engine/numtext.h"
#include "core/io/manifoldcsv.h"
#include "core/io/manifoldfields.h"
#include "core/project/compute.h"
#include "core/wording/checkwording.h"

#include <QBrush>
#include <QColor>
#include <QHash>

#include <algorithm>
#include <cmath>

namespace zorva::models {

namespace {

QString general(double value) {
    return QString::fromUtf8(generalText(value).view());
}

QString fixed(double value, int decimals) {
    return QString::fromUtf8(patternText(value, decimals).view());
}

// Caption and decimals of the result columns.
struct ResultColumn {
    const char* caption;
    int decimals;
};

constexpr ResultColumn kResultColumns[] = {
    {"面积(m²)", 2},
    {"散热量(W/m²)", 1},
    {"地面温度(℃)", 1},
    {"环路散热量(W)", 0},
    {"流量(kg/h)", 1},
    {"流量(l/min)", 2},
    {"流速(m/s)", 2},
    {"阻力(kPa)", 2},
    {"校核", 0},
    {"最不利环路", 0},
    {"阀门压降(kPa)", 2},
    {"流量计(l/min)", 2},
    {"温差 σ(K)", 2},
    {"回水温度(℃)", 2},
    {"向下热损失 q_u(W/m²)", 1},
    {"极限散热量 q_G(W/m²)", 1},
    {"辅助散热(W)", 0},
};

const ResultColumn& resultColumn(int column) {
    return kResultColumns[column - ManifoldModel::kInputColumns];
}

} // namespace

bool sameLoop(const LoopInput& a, const LoopInput& b) {
    return a.name == b.name && a.roomTemp == b.roomTemp && a.spacingMm == b.spacingMm &&
           a.lengthM == b.lengthM && a.loadW == b.loadW && a.ownTempDiff == b.ownTempDiff;
}

ManifoldModel::ManifoldModel(QObject* parent) : QAbstractTableModel(parent) {
    basis_ = project::newProject();
    basis_.settings.method = method::Method::Program;
    basis_.manifolds[0].name.clear();
    totals_ = manifoldTotals(manifold_, results_);
}

void ManifoldModel::setLimits(const CheckLimits& limits) {
    limits_ = limits;
    if (!loops_.empty())
        emit dataChanged(index(0, Verdict), index(rowCount() - 1, Verdict));
}

int ManifoldModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(loops_.size());
}

int ManifoldModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ManifoldModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section == Name)
        return QString::fromUtf8(io::kLoopNameCaption);
    if (section < kInputColumns)
        return io::loopRanges()[static_cast<std::size_t>(section - RoomTemp)].caption();
    if (section >= ColumnCount)
        return {};
    if (role == Qt::ToolTipRole && section >= kInputColumns)
        return QStringLiteral("计算方法：%1")
            .arg(QString::fromUtf8(method::methodClause(method())));
    if (section == HeatOutput)
        return QStringLiteral("散热量 (%1)(W/m²)")
            .arg(QString::fromUtf8(method::methodName(method())));
    return QString::fromUtf8(resultColumn(section).caption);
}

Qt::ItemFlags ManifoldModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() < kInputColumns)
        f |= Qt::ItemIsEditable;
    return f;
}

std::array<RuleCheck, kRuleCount> ManifoldModel::checks(int row) const {
    const auto r = static_cast<std::size_t>(row);
    return checkLoop(manifold_, loops_[r], results_[r], limits_);
}

bool ManifoldModel::loadChecked(int row) const {
    const auto r = static_cast<std::size_t>(row);
    return loops_[r].loadW && results_[r].converged() && results_[r].area > 0;
}

zorva::Verdict ManifoldModel::verdict(int row) const {
    return worstVerdict(checks(row));
}

QVariant ManifoldModel::raw(int row, int column) const {
    const auto r = static_cast<std::size_t>(row);
    const LoopInput& loop = loops_[r];
    if (column == Name)
        return QString::fromStdString(loop.name);
    if (column < kInputColumns) {
        const std::optional<double> v = io::loopNumber(loop, column - RoomTemp);
        return v ? QVariant(*v) : QVariant();
    }
    if (!fresh_[r])
        return {};
    if (byStandard())
        return standardRaw(row, column);
    const LoopResult& res = results_[r];
    if (column >= Drop) {
        if (!res.converged() || (column != Drop && column != ReturnTemp))
            return {};
        const double drop = loopTempDiff(manifold_, loop);
        return column == Drop ? drop : manifold_.supplyTemp - drop;
    }
    if (column == Verdict)
        return static_cast<int>(verdict(row));
    if (column == IndexLoop)
        return res.indexLoop ? 1 : 0;
    if (column == Valve)
        return res.valveKpa ? QVariant(*res.valveKpa) : QVariant();
    if (column == Meter)
        return res.meterLpm ? QVariant(*res.meterLpm) : QVariant();
    if (!res.converged())
        return {};
    const double values[] = {res.area,    res.heatOutput, res.floorTemp, res.loopOutput,
                             res.flowKgh, res.flowLpm,    res.velocity,  res.resistance};
    return values[column - Area];
}

QVariant ManifoldModel::display(int row, int column) const {
    const auto r = static_cast<std::size_t>(row);
    if (column < kInputColumns) {
        const QVariant v = raw(row, column);
        if (column == Name || !v.isValid())
            return v.isValid() ? v : QString();
        return general(v.toDouble());
    }
    if (!fresh_[r])
        return QStringLiteral("…");
    if (byStandard())
        return standardDisplay(row, column);
    const LoopResult& res = results_[r];
    if (column >= DownwardOutput)
        return res.converged() ? QStringLiteral("—") : QString();
    if (column == Verdict)
        return res.converged() ? verdictSummary(checks(row), loadChecked(row))
                               : io::loopStatusText(res);
    if (column == IndexLoop)
        return res.indexLoop ? QStringLiteral("是") : QString();
    const QVariant v = raw(row, column);
    return v.isValid() ? fixed(v.toDouble(), resultColumn(column).decimals) : QString();
}

QVariant ManifoldModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const int row = index.row();
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return display(row, column);
    case Qt::EditRole:
        return column < kInputColumns ? display(row, column) : QVariant();
    case RawRole:
        return raw(row, column);
    case Qt::TextAlignmentRole:
        return column == Name ? QVariant() : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::ForegroundRole:
        if (column == Verdict && isFresh(row) && byStandard()) {
            const QVariant v = standardRaw(row, column);
            if (!v.isValid() || v.toInt() == 2)
                return QBrush(QColor(0xc0, 0x00, 0x00));
            if (v.toInt() == 1)
                return QBrush(QColor(0xa0, 0x60, 0x00));
            return {};
        }
        if (column == Verdict && isFresh(row)) {
            const LoopResult& res = results_[static_cast<std::size_t>(row)];
            const zorva::Verdict v = verdict(row);
            if (!res.converged() || v == zorva::Verdict::Fail)
                return QBrush(QColor(0xc0, 0x00, 0x00));
            if (v == zorva::Verdict::High || v == zorva::Verdict::Low)
                return QBrush(QColor(0xa0, 0x60, 0x00));
        }
        return {};
    case Qt::BackgroundRole:
        if (column < kInputColumns)
            return QBrush(QColor(0xff, 0xff, 0xf4));
        return {};
    case Qt::ToolTipRole:
        if (column >= kInputColumns && isFresh(row) && byStandard())
            return standardToolTip(row, column);
        if (column >= DownwardOutput && isFresh(row))
            return notGivenToolTip(column);
        if (column == Verdict && isFresh(row)) {
            const LoopResult& res = results_[static_cast<std::size_t>(row)];
            QStringList lines;
            if (!res.converged())
                lines << io::loopStatusText(res);
            const auto all = checks(row);
            const bool load = loadChecked(row);
            for (const RuleCheck& c : all)
                lines << QStringLiteral("%1：%2 %3，%4（要求 %5，依据 %6）")
                             .arg(ruleName(c), ruleValueText(c), ruleUnit(c), verdictWithAdvice(c),
                                  ruleLimitText(c, load), ruleSource(c));
            return lines.join(u'\n');
        }
        return {};
    default:
        return {};
    }
}

Result<void> ManifoldModel::parseCell(int column, const QString& text, LoopInput& loop) {
    const auto fault = [](const QString& message) { return Problem{message, {}}; };
    const QString t = text.trimmed();
    if (column == Name) {
        if (t.size() > io::kMaxLoopNameLength)
            return fault(QStringLiteral("环路名称超过 %1 个字符").arg(io::kMaxLoopNameLength));
        loop.name = t.toStdString();
        return {};
    }
    if (column < RoomTemp || column >= kInputColumns)
        return fault(QStringLiteral("这一列是计算结果，不能输入"));
    const io::NumberRange& numberField =
        io::loopRanges()[static_cast<std::size_t>(column - RoomTemp)];
    if (t.isEmpty()) {
        if (!numberField.optional)
            return fault(QStringLiteral("“%1”不能为空").arg(QString::fromUtf8(numberField.name)));
        io::setLoopNumber(loop, column - RoomTemp, std::nullopt);
        return {};
    }
    bool ok = false;
    const double value = t.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return fault(
            QStringLiteral("“%1”的值“%2”不是数").arg(QString::fromUtf8(numberField.name), t));
    if (!io::inRange(numberField, value))
        return fault(io::rangeMessage(numberField, t));
    io::setLoopNumber(loop, column - RoomTemp, value);
    return {};
}

bool ManifoldModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.column() >= kInputColumns)
        return false;
    LoopInput loop = loops_[static_cast<std::size_t>(index.row())];
    if (!parseCell(index.column(), value.toString(), loop))
        return false;
    if (sameLoop(loop, loops_[static_cast<std::size_t>(index.row())]))
        return true;
    if (editHandler_) {
        editHandler_(index.row(), loop);
    } else {
        const int row = index.row();
        setLoops(std::span(&row, 1), std::span(&loop, 1));
    }
    return true;
}

QString ManifoldModel::copyText(int row, int column) const {
    return display(row, column).toString();
}

SheetRow ManifoldModel::sheetRow(int row) const {
    return SheetRow{loops_[static_cast<std::size_t>(row)], extras_[static_cast<std::size_t>(row)]};
}

void ManifoldModel::markStale(std::size_t row) {
    if (fresh_[row]) {
        fresh_[row] = 0;
        ++staleCount_;
    }
    results_[row] = LoopResult{};
}

void ManifoldModel::setManifold(const ManifoldInput& manifold) {
    manifold_ = manifold;
    for (std::size_t i = 0; i < loops_.size(); ++i)
        markStale(i);
    refresh(true, {});
}

void ManifoldModel::setLoops(std::span<const int> rows, std::span<const LoopInput> loops) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto r = static_cast<std::size_t>(rows[i]);
        loops_[r] = loops[i];
        markStale(r);
        emit dataChanged(index(rows[i], 0), index(rows[i], kInputColumns - 1));
    }
    refresh(false, rows);
}

// Contiguous runs [first, last] of ascending rows.
static std::vector<std::pair<int, int>> runsOf(std::span<const int> rows) {
    std::vector<std::pair<int, int>> runs;
    for (const int row : rows) {
        if (!runs.empty() && runs.back().second + 1 == row)
            runs.back().second = row;
        else
            runs.emplace_back(row, row);
    }
    return runs;
}

void ManifoldModel::insertLoops(std::span<const int> rows, std::span<const SheetRow> loops) {
    std::size_t k = 0;
    for (const auto& [first, last] : runsOf(rows)) {
        const auto at = static_cast<std::ptrdiff_t>(first);
        const auto n = static_cast<std::size_t>(last - first + 1);
        beginInsertRows({}, first, last);
        std::vector<LoopInput> inputs;
        std::vector<QJsonObject> extras;
        std::vector<std::uint64_t> ids;
        for (std::size_t i = 0; i < n; ++i, ++k) {
            inputs.push_back(loops[k].input);
            extras.push_back(loops[k].extra);
            ids.push_back(nextId_++);
        }
        loops_.insert(loops_.begin() + at, inputs.begin(), inputs.end());
        extras_.insert(extras_.begin() + at, extras.begin(), extras.end());
        results_.insert(results_.begin() + at, n, LoopResult{});
        ids_.insert(ids_.begin() + at, ids.begin(), ids.end());
        fresh_.insert(fresh_.begin() + at, n, char{0});
        staleCount_ += n;
        endInsertRows();
    }
    refresh(false, rows);
}

std::vector<SheetRow> ManifoldModel::removeLoops(std::span<const int> rows) {
    std::vector<SheetRow> removed;
    removed.reserve(rows.size());
    for (const int row : rows)
        removed.push_back(sheetRow(row));
    const auto runs = runsOf(rows);
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        const auto from = static_cast<std::ptrdiff_t>(run->first);
        const auto to = static_cast<std::ptrdiff_t>(run->second) + 1;
        beginRemoveRows({}, run->first, run->second);
        staleCount_ -= static_cast<std::size_t>(
            std::count(fresh_.begin() + from, fresh_.begin() + to, char{0}));
        loops_.erase(loops_.begin() + from, loops_.begin() + to);
        extras_.erase(extras_.begin() + from, extras_.begin() + to);
        results_.erase(results_.begin() + from, results_.begin() + to);
        ids_.erase(ids_.begin() + from, ids_.begin() + to);
        fresh_.erase(fresh_.begin() + from, fresh_.begin() + to);
        endRemoveRows();
    }
    refresh(false, {});
    return removed;
}

template <typename T> static void reorder(std::vector<T>& v, std::span<const int> order) {
    std::vector<T> out;
    out.reserve(v.size());
    for (const int i : order)
        out.push_back(std::move(v[static_cast<std::size_t>(i)]));
    v = std::move(out);
}

void ManifoldModel::permute(std::span<const int> order) {
    emit layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    std::vector<int> newRow(order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        newRow[static_cast<std::size_t>(order[i])] = static_cast<int>(i);
    reorder(loops_, order);
    reorder(extras_, order);
    reorder(results_, order);
    reorder(ids_, order);
    reorder(fresh_, order);
    QModelIndexList after;
    for (const QModelIndex& i : before)
        after << index(newRow[static_cast<std::size_t>(i.row())], i.column());
    changePersistentIndexList(before, after);
    emit layoutChanged();
    refresh(false, {});
}

void ManifoldModel::reset(const ManifoldInput& manifold, std::span<const SheetRow> rows,
                          const project::Project& basis) {
    basis_.settings = basis.settings;
    if (!basis.manifolds.empty()) {
        basis_.manifolds[0].name = basis.manifolds[0].name;
        basis_.manifolds[0].manualBelow = basis.manifolds[0].manualBelow;
    }
    reset(manifold, rows);
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

void ManifoldModel::setBasis(const project::Project& basis) {
    basis_.settings = basis.settings;
    if (!basis.manifolds.empty()) {
        basis_.manifolds[0].name = basis.manifolds[0].name;
        basis_.manifolds[0].manualBelow = basis.manifolds[0].manualBelow;
    }
    standard_.reset();
    for (std::size_t i = 0; i < loops_.size(); ++i)
        markStale(i);
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
    refresh(true, {});
}

void ManifoldModel::reset(const ManifoldInput& manifold, std::span<const SheetRow> rows) {
    beginResetModel();
    manifold_ = manifold;
    loops_.clear();
    extras_.clear();
    for (const SheetRow& row : rows) {
        loops_.push_back(row.input);
        extras_.push_back(row.extra);
    }
    results_.assign(rows.size(), LoopResult{});
    fresh_.assign(rows.size(), 0);
    staleCount_ = rows.size();
    ids_.resize(rows.size());
    for (auto& id : ids_)
        id = nextId_++;
    endResetModel();
    refresh(true, {});
}

void ManifoldModel::computeRow(std::size_t row) {
    if (fresh_[row])
        return;
    results_[row] = computeLoop(manifold_, loops_[row]);
    fresh_[row] = 1;
    --staleCount_;
}

void ManifoldModel::refresh(bool changedAllRows, std::span<const int> touched) {
    ++generation_;
    if (byStandard()) {
        // One design for all rows: any change touches every row.
        standard_.reset();
        for (std::size_t i = 0; i < loops_.size(); ++i)
            markStale(i);
        if (staleCount_ <= kComputeAtOnce) {
            const StandardJob job = standardJob();
            applyStandard(job.generation, project::computeProject(job.project).manifolds.front());
            if (!loops_.empty())
                emit dataChanged(index(0, changedAllRows ? 0 : Area),
                                 index(rowCount() - 1, ColumnCount - 1));
            return;
        }
        rebalance();
        if (!loops_.empty())
            emit dataChanged(index(0, changedAllRows ? 0 : Area),
                             index(rowCount() - 1, ColumnCount - 1));
        if (staleCount_ > 0)
            emit staleRowsAdded();
        return;
    }
    if (staleCount_ <= kComputeAtOnce) {
        for (std::size_t i = 0; i < loops_.size() && staleCount_ > 0; ++i)
            computeRow(i);
    } else if (touched.size() <= kComputeAtOnce) {
        // The rows just edited follow at once; the rest is a background job.
        for (const int row : touched)
            computeRow(static_cast<std::size_t>(row));
    }
    rebalance();
    if (!loops_.empty())
        emit dataChanged(index(0, changedAllRows ? 0 : Area),
                         index(rowCount() - 1, ColumnCount - 1));
    if (staleCount_ > 0)
        emit staleRowsAdded();
}

void ManifoldModel::rebalance() {
    if (byStandard()) {
        totals_ = standardTotals();
        emit resultsChanged();
        return;
    }
    // Stale rows hold an empty result, so only computed rows take part.
    balance(results_);
    totals_ = manifoldTotals(manifold_, results_);
    emit resultsChanged();
}

ManifoldModel::Job ManifoldModel::staleJob() const {
    Job job;
    job.manifold = manifold_;
    for (std::size_t i = 0; i < loops_.size(); ++i) {
        if (!fresh_[i]) {
            job.ids.push_back(ids_[i]);
            job.loops.push_back(loops_[i]);
        }
    }
    return job;
}

std::size_t ManifoldModel::applyResults(const Job& job, std::span<const LoopResult> results) {
    if (byStandard() || !sameManifold(job.manifold, manifold_))
        return 0;
    QHash<std::uint64_t, std::size_t> rowOf;
    rowOf.reserve(static_cast<qsizetype>(ids_.size()));
    for (std::size_t i = 0; i < ids_.size(); ++i)
        rowOf.insert(ids_[i], i);
    std::size_t taken = 0;
    for (std::size_t k = 0; k < job.ids.size() && k < results.size(); ++k) {
        const auto it = rowOf.constFind(job.ids[k]);
        if (it == rowOf.cend())
            continue;
        const std::size_t r = *it;
        if (fresh_[r] || !sameLoop(loops_[r], job.loops[k]))
            continue;
        results_[r] = results[k];
        fresh_[r] = 1;
        --staleCount_;
        ++taken;
    }
    if (taken > 0) {
        rebalance();
        emit dataChanged(index(0, Area), index(rowCount() - 1, ColumnCount - 1));
    }
    return taken;
}

} // namespace zorva::models
