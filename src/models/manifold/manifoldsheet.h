// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The manifold sheet without its window: the loops' table model, the undo
// history of every edit, the background jobs (recomputing many loops, the
// difference search and the supply suggestion) and the project's file
// contents. Jobs run on every core; their results are taken only when the
// inputs they were made from are still the sheet's.

#include "core/engine/manifoldsearch.h"
#include "core/io/manifoldfields.h"
#include "core/io/projectfile.h"
#include "core/io/result.h"
#include "models/manifold/manifoldmodel.h"

#include <QFutureWatcher>
#include <QObject>
#include <QRect>
#include <QStringList>
#include <QUndoStack>

#include <memory>
#include <span>
#include <vector>

namespace zorva {
struct FieldRecord;
}

namespace zorva::models {

// The sheet's manifold from the main and construction windows' texts, and
// a loop from the main window's design (with the load per area of the check
// limits × area when one is set); values outside the file ranges are moved
// to the nearest end, so that every sheet can be saved and opened again.
ManifoldInput manifoldFromDesign(const FieldRecord& fields);
LoopInput loopFromDesign(const FieldRecord& fields, const CheckLimits& limits);

// What the difference search found, before anything is written: the loops
// it can serve with the difference and the rule that bounded it, and the
// loops it cannot serve within the limits with the reason.
struct DiffSearchReport {
    enum class Outcome { Ready, InputsChanged, Cancelled } outcome = Outcome::Ready;
    int searched = 0;              // loops with a load
    std::vector<int> rows;         // rows a difference was found for, ascending
    std::vector<double> tempDiffs; // the differences found, ℃
    QStringList answers; // "第 1 个环路（客厅）：7.3 ℃（由热负荷决定）"
    QStringList cannotServe; // "第 4 个环路（阳台）：温差为最小的 5 ℃ 时也达不到热负荷"
    QString limits; // the limits the search kept to
};

struct SupplyReport {
    enum class Outcome { Ready, InputsChanged, Cancelled } outcome = Outcome::Ready;
    SupplySuggestion suggestion;
    QString decidingLoop; // label of the deciding (or first unserved) loop
    QStringList cannotServe; // "第 4 个环路（阳台）：供水温度限值 60 ℃ 以下达不到热负荷"
    QStringList breaksRules; // served loops that still break a rule, with the rule
    QString limits;          // the limits the search kept to
};

class ManifoldSheet : public QObject {
    Q_OBJECT

public:
    // A sheet of no loops by `method`.
    explicit ManifoldSheet(const ManifoldInput& manifold, QObject* parent = nullptr,
                           method::Method method = method::Method::Program);
    ~ManifoldSheet() override;

    ManifoldModel& model() { return model_; }
    const ManifoldModel& model() const { return model_; }
    QUndoStack& undoStack() { return undo_; }

    // What a report is built from. results() and totals() cover the rows
    // computed so far; resultsCurrent() says whether that is every row.
    const ManifoldInput& manifold() const { return model_.manifold(); }
    std::span<const LoopInput> loops() const { return model_.loops(); }
    std::span<const LoopResult> results() const { return model_.results(); }
    ManifoldTotals totals() const { return model_.totals(); }
    bool resultsCurrent() const { return model_.staleCount() == 0; }

    bool isModified() const { return !undo_.isClean(); }

    // The calculation method and, for EN 1264-2, what lies below the loops
    // (their downward loss); each change one undo step.
    method::Method method() const { return model_.method(); }
    void setMethod(method::Method method);
    const en1264::Below& below() const { return model_.basis().manifolds[0].manualBelow; }
    void setBelow(const en1264::Below& below);
    // A new sheet: no loops, the standard's method, an empty history.
    void startNew(const ManifoldInput& manifold);

    // Edits, each one undo step.
    void setManifold(const ManifoldInput& manifold, const QString& text);
    void setLoop(int row, const LoopInput& loop);
    // Inserted at row; returns it, or -1 when the sheet holds kMaxLoops
    // loops already.
    int addLoop(int row, const LoopInput& loop);
    LoopInput newLoop() const; // defaults with the next free name
    void deleteRows(std::vector<int> rows);
    // False (nothing copied) when the copies would take the sheet past
    // kMaxLoops loops.
    bool duplicateRows(std::vector<int> rows);
    bool moveRows(std::vector<int> rows, int delta); // -1 up, +1 down
    void sortBy(int column, Qt::SortOrder order);
    // Reads tab-separated text into the cells from `target`'s top left (a
    // single value fills all of `target`), adding rows past the end. Result
    // columns are skipped. Fails (nothing changed) on a cell that is not a
    // value of its column and on rows past kMaxLoops.
    Result<void> paste(const QRect& target, const QString& text);
    // Empties the cells of `area` that may be empty (name, load, own
    // difference); the others keep their values. One undo step.
    void clearCells(const QRect& area);
    // The cells of `area` as tab-separated text, a line per row.
    QString copy(const QRect& area) const;
    // Replaces everything by imported loops (one undo step).
    void replaceAll(const ManifoldInput& manifold, std::vector<SheetRow> rows, const QString& text);

    // The most loops the sheet holds: what a project file and an export
    // hold and read back.
    static constexpr int kMaxLoops = io::kMaxLoops;
    // The message for an edit refused at kMaxLoops.
    static QString fullText();

    // Project files: the bytes to save (io::projectFileBytes).
    Result<QByteArray> projectBytes() const;
    void loadProject(const io::ProjectData& project); // clears the history
    void markSaved() { undo_.setClean(); }
    // The CSV export: header and a row per loop (results of stale rows blank).
    QList<QStringList> csvRows() const;

    // Background work. The searches keep to the model's check limits.
    void startDiffSearch();
    // Writes the differences of the last search's report into the loops'
    // own differences, one undo step. False (nothing written) when the sheet
    // or its limits changed since that search.
    bool applyDiffSearch(const DiffSearchReport& report);
    void startSupplySuggestion();
    void applySupplyTemp(double supplyTemp);
    void cancel();
    bool busy() const;
    void waitForIdle();

signals:
    void modifiedChanged(bool modified);
    void manifoldChanged();
    void busyChanged(bool busy, const QString& what);
    void progress(int done, int total);
    void diffSearchFinished(const zorva::models::DiffSearchReport& report);
    void supplySuggestionReady(const zorva::models::SupplyReport& report);

private:
    struct Snapshot {
        ManifoldInput manifold;
        CheckLimits limits;
        std::vector<std::uint64_t> ids;
        std::vector<LoopInput> loops;
    };
    Snapshot snapshot() const;
    bool snapshotCurrent(const Snapshot& snap) const;
    QString label(int row) const;
    void startRecompute();
    void recomputeFinished();
    void standardFinished();
    void diffSearchDone();
    void supplyDone();
    void started(const QString& what);
    void updateBusy(const QString& what);

    ManifoldModel model_;
    QUndoStack undo_;
    io::ProjectData fileExtras_; // unknown keys of the opened project
    bool wasBusy_ = false;
    bool recomputePending_ = false;
    bool diffPending_ = false;
    bool needPending_ = false;

    QFutureWatcher<project::ManifoldResult> standard_;
    std::uint64_t standardGeneration_ = 0;
    bool standardPending_ = false;
    QFutureWatcher<LoopResult> recompute_;
    ManifoldModel::Job recomputeJob_;
    QFutureWatcher<DiffSearch> diffs_;
    Snapshot diffSnapshot_; // kept until the next search, for applyDiffSearch
    bool diffCancelled_ = false;
    QFutureWatcher<SupplyNeed> needs_;
    Snapshot needSnapshot_;
    bool needCancelled_ = false;
};

} // namespace zorva::models
