// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The loops of the manifold sheet as a table: one row per loop, its inputs
// and its cached results. Every change of an input marks the rows it touches
// stale; a few stale rows are computed at once, many are left to a
// background job (ManifoldSheet) whose results come back through
// applyResults. Balancing and the totals follow every change of a result.
//
// By the program's method each row is its own Calculate run. With EN 1264-2
// the rows are one EN 1264-3 design of the whole manifold (the deciding
// loop sets the supply temperature of all), so any change makes every row
// stale and the design is made again, at once when the rows are few.
//
// The mutators here change the data and nothing else; edits the user makes
// go through ManifoldSheet, which records them for undo.

#include "core/engine/designcheck.h"
#include "core/engine/manifold.h"
#include "core/io/result.h"
#include "core/method/method.h"
#include "core/project/projectresult.h"

#include <QAbstractTableModel>
#include <QJsonObject>

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace zorva::models {

// A loop with what a project file held beside it.
struct SheetRow {
    LoopInput input;
    QJsonObject extra; // keys of the project file this program does not know
};

bool sameLoop(const LoopInput& a, const LoopInput& b);

class ManifoldModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        Name,
        RoomTemp,
        Spacing,
        Length,
        Load,
        OwnTempDiff,
        Area,
        HeatOutput,
        FloorTemp,
        LoopOutput,
        FlowKgh,
        FlowLpm,
        Velocity,
        Resistance,
        Verdict,
        IndexLoop,
        Valve,
        Meter,
        Drop,           // σ, K
        ReturnTemp,     // ℃
        DownwardOutput, // q_u, W/m² (EN 1264-2 only)
        LimitOutput,    // q_G, W/m² (EN 1264-2 only)
        Supplementary,  // W (EN 1264-2 only)
        ColumnCount
    };
    static constexpr int kInputColumns = Area; // Name .. OwnTempDiff
    // The raw value of a cell (double or string; invalid when empty), for
    // sorting and tests.
    static constexpr int RawRole = Qt::UserRole + 1;
    // Up to this many stale rows are computed at once on the calling thread.
    static constexpr std::size_t kComputeAtOnce = 400;

    explicit ManifoldModel(QObject* parent = nullptr);

    // How a cell edit of the view is handed to the undo history: the row and
    // the loop as it should become. Without it the edit is applied directly.
    using EditHandler = std::function<void(int row, const LoopInput& loop)>;
    void setEditHandler(EditHandler handler) { editHandler_ = std::move(handler); }
    // The limits the verdict column checks against (the load per area is the
    // loop's own load / area) and the searches keep to.
    void setLimits(const CheckLimits& limits);
    const CheckLimits& limits() const { return limits_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Reads `text` into column `column` of `loop`; empty string when fine,
    // else why not (Chinese).
    static Result<void> parseCell(int column, const QString& text, LoopInput& loop);
    // The cell's text as a paste of it would read back (inputs: full
    // precision; results: as shown).
    QString copyText(int row, int column) const;

    const ManifoldInput& manifold() const { return manifold_; }
    std::span<const LoopInput> loops() const { return loops_; }
    std::span<const LoopResult> results() const { return results_; }
    const ManifoldTotals& totals() const { return totals_; }
    // The project the sheet belongs to, without loops: the method, the EN
    // 1264-3 settings, the manifold's name and what lies below the loops.
    const project::Project& basis() const { return basis_; }
    method::Method method() const { return basis_.settings.method; }
    // The EN 1264-3 design of the rows as they stand (EN 1264-2 only, and
    // only once every row is computed).
    const std::optional<project::ManifoldResult>& standard() const { return standard_; }
    // The design above the table, or the method and its source.
    QString designSummary() const;
    const QJsonObject& extra(int row) const { return extras_[static_cast<std::size_t>(row)]; }
    SheetRow sheetRow(int row) const;
    std::uint64_t rowId(int row) const { return ids_[static_cast<std::size_t>(row)]; }
    bool isFresh(int row) const { return fresh_[static_cast<std::size_t>(row)] != 0; }
    std::size_t staleCount() const { return staleCount_; }
    // The worst design-check verdict of a computed row.
    zorva::Verdict verdict(int row) const;
    std::array<RuleCheck, kRuleCount> checks(int row) const;
    // Whether the row's heat output is checked: it has a load and a result.
    bool loadChecked(int row) const;

    // Mutators (no undo).
    void setManifold(const ManifoldInput& manifold);
    void setLoops(std::span<const int> rows, std::span<const LoopInput> loops);
    // Inserts rows[i] so that they end up at the given rows (ascending).
    void insertLoops(std::span<const int> rows, std::span<const SheetRow> loops);
    // Removes the rows (ascending) and returns them.
    std::vector<SheetRow> removeLoops(std::span<const int> rows);
    // Row i becomes the old row order[i].
    void permute(std::span<const int> order);
    void reset(const ManifoldInput& manifold, std::span<const SheetRow> rows);
    void reset(const ManifoldInput& manifold, std::span<const SheetRow> rows,
               const project::Project& basis);
    // Only its settings and its first manifold's name and below are kept.
    void setBasis(const project::Project& basis);

    // Stale rows as (id, loop) for a background job.
    struct Job {
        ManifoldInput manifold;
        std::vector<std::uint64_t> ids;
        std::vector<LoopInput> loops;
    };
    Job staleJob() const;
    // Takes the job's results for the rows that are still stale with the
    // same inputs under the same manifold; returns how many were taken.
    std::size_t applyResults(const Job& job, std::span<const LoopResult> results);

    // EN 1264-2: the sheet as a project for one design of all rows, and the
    // count of changes it was made at; its result is taken only when no
    // change came since.
    struct StandardJob {
        project::Project project;
        std::uint64_t generation = 0;
    };
    StandardJob standardJob() const;
    std::uint64_t generation() const { return generation_; }
    bool applyStandard(std::uint64_t generation, project::ManifoldResult result);

signals:
    // Stale rows remain after a change: they were too many to compute at once.
    void staleRowsAdded();
    // A result, balancing or the totals changed.
    void resultsChanged();

private:
    QVariant display(int row, int column) const;
    QVariant raw(int row, int column) const;
    QVariant standardRaw(int row, int column) const;
    QVariant standardDisplay(int row, int column) const;
    QVariant standardToolTip(int row, int column) const;
    QVariant notGivenToolTip(int column) const;
    bool byStandard() const { return method() == method::Method::En1264; }
    ManifoldTotals standardTotals() const;
    void markStale(std::size_t row);
    // Computes the stale rows when there are few, rebalances and notifies.
    void refresh(bool changedAllRows, std::span<const int> touched);
    void computeRow(std::size_t row);
    void rebalance();

    ManifoldInput manifold_;
    project::Project basis_;
    std::optional<project::ManifoldResult> standard_;
    std::uint64_t generation_ = 0;
    std::vector<LoopInput> loops_;
    std::vector<LoopResult> results_;
    std::vector<QJsonObject> extras_;
    std::vector<std::uint64_t> ids_;
    std::vector<char> fresh_;
    std::size_t staleCount_ = 0;
    std::uint64_t nextId_ = 1;
    ManifoldTotals totals_;
    CheckLimits limits_;
    EditHandler editHandler_;
};

} // namespace zorva::models
