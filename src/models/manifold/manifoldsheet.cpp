// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/manifold/manifoldsheet.h"

#include "core/engine/inputs.h"
#include "core/engine/numparse.h"
#include "core/io/manifoldcsv.h"
#include "core/io/manifoldfields.h"
#include "models/manifold/manifoldcommands.h"
#include "models/manifold/manifoldjobs.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QVariant>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace zorva::models {

namespace {

double clamped(const io::NumberRange& numberField, double value, double fallback) {
    if (!std::isfinite(value))
        return fallback;
    return std::clamp(value, numberField.min, numberField.max);
}

} // namespace

ManifoldInput manifoldFromDesign(const FieldRecord& fields) {
    const ManifoldInput read = zorva::manifoldFromFields(fields);
    const ManifoldInput defaults;
    ManifoldInput m;
    for (int i = 0; i < io::kManifoldNumberCount; ++i)
        io::manifoldNumber(m, i) =
            clamped(io::manifoldRanges()[static_cast<std::size_t>(i)], io::manifoldNumber(read, i),
                    io::manifoldNumber(defaults, i));
    return m;
}

LoopInput loopFromDesign(const FieldRecord& fields, const CheckLimits& limits) {
    const LoopInput read = zorva::loopFromFields(fields);
    const LoopInput defaults;
    LoopInput loop;
    for (int i = 0; i < 3; ++i)
        io::setLoopNumber(loop, i,
                          clamped(io::loopRanges()[static_cast<std::size_t>(i)],
                                  *io::loopNumber(read, i), *io::loopNumber(defaults, i)));
    if (limits.loadPerArea && std::isfinite(*limits.loadPerArea) && *limits.loadPerArea > 0) {
        const double load = *limits.loadPerArea * loop.lengthM * loop.spacingMm / 1000;
        loop.loadW = std::min(std::round(load), io::loopRanges()[3].max);
    }
    return loop;
}

ManifoldSheet::ManifoldSheet(const ManifoldInput& manifold, QObject* parent, method::Method method)
    : QObject(parent) {
    project::Project basis = model_.basis();
    basis.settings.method = method;
    model_.reset(manifold, {}, basis);
    model_.setEditHandler([this](int row, const LoopInput& loop) { setLoop(row, loop); });
    connect(&undo_, &QUndoStack::cleanChanged, this,
            [this](bool clean) { emit modifiedChanged(!clean); });
    connect(&model_, &ManifoldModel::staleRowsAdded, this, &ManifoldSheet::startRecompute,
            Qt::QueuedConnection);
    connect(&recompute_, &QFutureWatcher<LoopResult>::finished, this,
            &ManifoldSheet::recomputeFinished);
    connect(&standard_, &QFutureWatcher<project::ManifoldResult>::finished, this,
            &ManifoldSheet::standardFinished);
    connect(&diffs_, &QFutureWatcher<DiffSearch>::finished, this, &ManifoldSheet::diffSearchDone);
    connect(&needs_, &QFutureWatcher<SupplyNeed>::finished, this, &ManifoldSheet::supplyDone);
    for (QFutureWatcherBase* w :
         std::initializer_list<QFutureWatcherBase*>{&recompute_, &diffs_, &needs_}) {
        connect(w, &QFutureWatcherBase::progressValueChanged, this, [this, w](int value) {
            emit progress(value - w->progressMinimum(),
                          w->progressMaximum() - w->progressMinimum());
        });
    }
}

ManifoldSheet::~ManifoldSheet() {
    model_.setEditHandler({});
    for (QFutureWatcherBase* w :
         std::initializer_list<QFutureWatcherBase*>{&standard_, &recompute_, &diffs_, &needs_}) {
        w->disconnect(this);
        w->cancel();
        w->waitForFinished();
    }
}

void ManifoldSheet::setManifold(const ManifoldInput& manifold, const QString& text) {
    if (sameManifold(manifold, model_.manifold()))
        return;
    undo_.push(new SetManifoldCommand(model_, manifold, text));
    emit manifoldChanged();
}

void ManifoldSheet::setMethod(method::Method method) {
    if (method == model_.method())
        return;
    project::Project basis = model_.basis();
    basis.settings.method = method;
    undo_.push(new SetBasisCommand(model_, basis, QStringLiteral("计算方法")));
}

void ManifoldSheet::setBelow(const en1264::Below& below) {
    const en1264::Below& now = this->below();
    if (below.kind == now.kind && below.insulation == now.insulation && below.slab == now.slab &&
        below.plaster == now.plaster && below.temp == now.temp)
        return;
    project::Project basis = model_.basis();
    basis.manifolds[0].manualBelow = below;
    undo_.push(new SetBasisCommand(model_, basis, QStringLiteral("楼板下方")));
}

void ManifoldSheet::startNew(const ManifoldInput& manifold) {
    cancel();
    fileExtras_ = io::ProjectData{};
    project::Project basis = project::newProject();
    basis.manifolds[0].name.clear();
    model_.reset(manifold, {}, basis);
    undo_.clear();
    undo_.setClean();
    emit manifoldChanged();
}

void ManifoldSheet::setLoop(int row, const LoopInput& loop) {
    undo_.push(new SetLoopsCommand(model_, {row}, {loop}, QStringLiteral("修改环路")));
}

LoopInput ManifoldSheet::newLoop() const {
    LoopInput loop;
    loop.name = QStringLiteral("环路 %1").arg(model_.rowCount() + 1).toStdString();
    return loop;
}

QString ManifoldSheet::fullText() {
    return QStringLiteral("多环路计算表最多有 %1 个环路。").arg(kMaxLoops);
}

int ManifoldSheet::addLoop(int row, const LoopInput& loop) {
    if (model_.rowCount() >= kMaxLoops)
        return -1;
    row = std::clamp(row, 0, model_.rowCount());
    undo_.push(new RowsCommand(model_, {row}, {SheetRow{loop, {}}}, QStringLiteral("添加环路")));
    return row;
}

void ManifoldSheet::deleteRows(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (!rows.empty())
        undo_.push(new RowsCommand(model_, std::move(rows), QStringLiteral("删除环路")));
}

bool ManifoldSheet::duplicateRows(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (model_.rowCount() + static_cast<qsizetype>(rows.size()) > kMaxLoops)
        return false;
    std::vector<int> at;
    std::vector<SheetRow> copies;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        at.push_back(rows[k] + static_cast<int>(k) + 1);
        copies.push_back(model_.sheetRow(rows[k]));
    }
    if (!at.empty())
        undo_.push(
            new RowsCommand(model_, std::move(at), std::move(copies), QStringLiteral("复制环路")));
    return true;
}

bool ManifoldSheet::moveRows(std::vector<int> rows, int delta) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    const int count = model_.rowCount();
    if (rows.empty() || (delta < 0 && rows.front() == 0) || (delta > 0 && rows.back() == count - 1))
        return false;
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    if (delta < 0) {
        for (const int r : rows)
            std::swap(order[static_cast<std::size_t>(r - 1)], order[static_cast<std::size_t>(r)]);
    } else {
        for (auto it = rows.rbegin(); it != rows.rend(); ++it)
            std::swap(order[static_cast<std::size_t>(*it)],
                      order[static_cast<std::size_t>(*it + 1)]);
    }
    undo_.push(
        new PermuteCommand(model_, std::move(order),
                           delta < 0 ? QStringLiteral("上移环路") : QStringLiteral("下移环路")));
    return true;
}

void ManifoldSheet::sortBy(int column, Qt::SortOrder order) {
    const int count = model_.rowCount();
    std::vector<QVariant> keys(static_cast<std::size_t>(count));
    for (int r = 0; r < count; ++r)
        keys[static_cast<std::size_t>(r)] = model_.index(r, column).data(ManifoldModel::RawRole);
    std::vector<int> rows(static_cast<std::size_t>(count));
    std::iota(rows.begin(), rows.end(), 0);
    const bool descending = order == Qt::DescendingOrder;
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
        const QVariant& ka = keys[static_cast<std::size_t>(a)];
        const QVariant& kb = keys[static_cast<std::size_t>(b)];
        if (!ka.isValid() || !kb.isValid())
            return ka.isValid() && !kb.isValid(); // empty cells last either way
        const auto c = QVariant::compare(ka, kb);
        return descending ? c == QPartialOrdering::Greater : c == QPartialOrdering::Less;
    });
    if (!std::is_sorted(rows.begin(), rows.end()))
        undo_.push(new PermuteCommand(model_, std::move(rows), QStringLiteral("排序")));
}

Result<void> ManifoldSheet::paste(const QRect& target, const QString& text) {
    QString t = text;
    t.remove(u'\r');
    QStringList lines = t.split(u'\n');
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    if (lines.isEmpty() || target.isEmpty())
        return {};
    QList<QStringList> cells;
    for (const QString& line : lines)
        cells << line.split(u'\t');
    int rows = static_cast<int>(cells.size());
    int columns = 0;
    for (const QStringList& c : cells)
        columns = std::max(columns, static_cast<int>(c.size()));
    const bool fill = rows == 1 && columns == 1;
    if (fill) {
        rows = target.height();
        columns = target.width();
    }
    const int top = target.top();
    const int count = model_.rowCount();
    if (qint64(top) + rows > kMaxLoops)
        return Problem{QStringLiteral("粘贴到第 %1 行后将有 %2 个环路。%3")
                           .arg(top + 1)
                           .arg(qint64(top) + rows)
                           .arg(fullText()),
                       {}};
    std::vector<int> editedRows;
    std::vector<LoopInput> edited;
    std::vector<SheetRow> added;
    for (int i = 0; i < rows; ++i) {
        const int row = top + i;
        LoopInput loop = row < count ? model_.loops()[static_cast<std::size_t>(row)] : newLoop();
        if (row >= count)
            loop.name = QStringLiteral("环路 %1").arg(row + 1).toStdString();
        const QStringList& line = cells[fill ? 0 : i];
        for (int j = 0; j < columns; ++j) {
            const int column = target.left() + j;
            if (column >= ManifoldModel::kInputColumns || (!fill && j >= line.size()))
                continue;
            const Result<void> cell = ManifoldModel::parseCell(column, line[fill ? 0 : j], loop);
            if (!cell) {
                return Problem{QStringLiteral("第 %1 行“%2”列：%3")
                                   .arg(row + 1)
                                   .arg(model_.headerData(column, Qt::Horizontal).toString(),
                                        cell.problem().message),
                               {}};
            }
        }
        if (row < count) {
            if (!sameLoop(loop, model_.loops()[static_cast<std::size_t>(row)])) {
                editedRows.push_back(row);
                edited.push_back(loop);
            }
        } else {
            added.push_back(SheetRow{loop, {}});
        }
    }
    if (editedRows.empty() && added.empty())
        return {};
    auto* step = new QUndoCommand(QStringLiteral("粘贴"));
    if (!editedRows.empty())
        new SetLoopsCommand(model_, std::move(editedRows), std::move(edited), {}, step);
    if (!added.empty()) {
        std::vector<int> at(added.size());
        std::iota(at.begin(), at.end(), count);
        new RowsCommand(model_, std::move(at), std::move(added), {}, step);
    }
    undo_.push(step);
    return {};
}

void ManifoldSheet::clearCells(const QRect& area) {
    std::vector<int> rows;
    std::vector<LoopInput> loops;
    for (int r = area.top(); r <= area.bottom() && r < model_.rowCount(); ++r) {
        LoopInput loop = model_.loops()[static_cast<std::size_t>(r)];
        for (int c = area.left(); c <= area.right(); ++c)
            (void)ManifoldModel::parseCell(c, QString(), loop); // refused where required
        if (!sameLoop(loop, model_.loops()[static_cast<std::size_t>(r)])) {
            rows.push_back(r);
            loops.push_back(std::move(loop));
        }
    }
    if (!rows.empty())
        undo_.push(new SetLoopsCommand(model_, std::move(rows), std::move(loops),
                                       QStringLiteral("清除单元格")));
}

QString ManifoldSheet::copy(const QRect& area) const {
    QString text;
    for (int r = area.top(); r <= area.bottom() && r < model_.rowCount(); ++r) {
        QStringList line;
        for (int c = area.left(); c <= area.right() && c < ManifoldModel::ColumnCount; ++c)
            line << model_.copyText(r, c);
        text += line.join(u'\t') + u'\n';
    }
    return text;
}

void ManifoldSheet::replaceAll(const ManifoldInput& manifold, std::vector<SheetRow> rows,
                               const QString& text) {
    undo_.push(new ReplaceAllCommand(model_, manifold, std::move(rows), text));
    emit manifoldChanged();
}

Result<QByteArray> ManifoldSheet::projectBytes() const {
    io::ProjectData project = fileExtras_;
    project.document = model_.basis();
    project.manifold = model_.manifold();
    project.loops.clear();
    for (int r = 0; r < model_.rowCount(); ++r)
        project.loops.append(
            io::ProjectLoop{model_.loops()[static_cast<std::size_t>(r)], model_.extra(r)});
    return io::projectFileBytes(project);
}

void ManifoldSheet::loadProject(const io::ProjectData& project) {
    cancel();
    fileExtras_ = io::ProjectData{};
    fileExtras_.unknownKeys = project.unknownKeys;
    fileExtras_.unknownManifoldKeys = project.unknownManifoldKeys;
    std::vector<SheetRow> rows;
    rows.reserve(static_cast<std::size_t>(project.loops.size()));
    for (const io::ProjectLoop& loop : project.loops)
        rows.push_back(SheetRow{loop.input, loop.unknownKeys});
    // The project's settings, the manifold's name and what lies below go
    // back into the file on save.
    if (project.document.manifolds.empty()) {
        project::Project basis = model_.basis();
        basis.settings = project::Settings{};
        basis.settings.method = method::Method::Program;
        basis.manifolds[0] = project::Manifold{};
        model_.reset(project.manifold, rows, basis);
    } else {
        model_.reset(project.manifold, rows, project.document);
    }
    undo_.clear();
    undo_.setClean();
    emit manifoldChanged();
}

QList<QStringList> ManifoldSheet::csvRows() const {
    QList<QStringList> rows;
    rows << io::manifoldCsvHeader();
    for (int r = 0; r < model_.rowCount(); ++r) {
        const auto i = static_cast<std::size_t>(r);
        // The CSV's result columns are the program's method's: by EN 1264-2
        // they stay blank rather than show a run that was never made.
        const bool program = model_.method() == method::Method::Program;
        rows << io::manifoldCsvRow(model_.manifold(), model_.loops()[i],
                                   program && model_.isFresh(r) ? &model_.results()[i] : nullptr);
    }
    return rows;
}

} // namespace zorva::models
