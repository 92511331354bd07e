// SPDX-License-Identifier: GPL-3.0-or-later
// The background work of the manifold sheet: recomputing many stale loops,
// the difference search and the supply suggestion.

#include "core/io/manifoldfields.h"
#include "core/wording/searchwording.h"
#include "models/manifold/manifoldcommands.h"
#include "models/manifold/manifoldjobs.h"
#include "models/manifold/manifoldsheet.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace zorva::models {

ManifoldSheet::Snapshot ManifoldSheet::snapshot() const {
    Snapshot snap;
    snap.manifold = model_.manifold();
    snap.limits = model_.limits();
    snap.loops.assign(model_.loops().begin(), model_.loops().end());
    for (int r = 0; r < model_.rowCount(); ++r)
        snap.ids.push_back(model_.rowId(r));
    return snap;
}

namespace {

bool sameLimits(const CheckLimits& a, const CheckLimits& b) {
    return a.category == b.category && a.minVelocity == b.minVelocity &&
           a.maxSupplyTemp == b.maxSupplyTemp && a.minTempDiff == b.minTempDiff &&
           a.maxTempDiff == b.maxTempDiff;
}

} // namespace

// Whether the sheet still holds exactly the loops of the snapshot, in order,
// under the limits the searches kept to.
bool ManifoldSheet::snapshotCurrent(const Snapshot& snap) const {
    if (!sameManifold(snap.manifold, model_.manifold()) ||
        !sameLimits(snap.limits, model_.limits()) ||
        snap.ids.size() != static_cast<std::size_t>(model_.rowCount()))
        return false;
    for (std::size_t i = 0; i < snap.ids.size(); ++i) {
        if (snap.ids[i] != model_.rowId(static_cast<int>(i)) ||
            !sameLoop(snap.loops[i], model_.loops()[i]))
            return false;
    }
    return true;
}

QString ManifoldSheet::label(int row) const {
    return io::loopLabel(
        row + 1, QString::fromStdString(model_.loops()[static_cast<std::size_t>(row)].name));
}

// A job is busy from its start until its results are handled, even when its
// threads are done: the finished signal is still on its way.
bool ManifoldSheet::busy() const {
    return standardPending_ || recomputePending_ || diffPending_ || needPending_;
}

void ManifoldSheet::updateBusy(const QString& what) {
    const bool now = busy();
    if (now != wasBusy_ || now) {
        wasBusy_ = now;
        emit busyChanged(now, what);
    }
}

void ManifoldSheet::started(const QString& what) {
    emit progress(0, 1);
    updateBusy(what);
}

void ManifoldSheet::startRecompute() {
    if (model_.staleCount() == 0)
        return;
    if (model_.method() == method::Method::En1264) {
        // One design of all rows: a job for an older sheet is worth nothing.
        if (standardPending_) {
            if (standardGeneration_ == model_.generation())
                return;
            standard_.cancel();
            standard_.waitForFinished();
        }
        ManifoldModel::StandardJob job = model_.standardJob();
        standardGeneration_ = job.generation;
        standardPending_ = true;
        const std::size_t count = model_.loops().size();
        standard_.setFuture(computeStandardInBackground(std::move(job.project)));
        started(QStringLiteral("正在按 EN 1264-3 设计 %1 个环路").arg(count));
        return;
    }
    if (recomputePending_) {
        // A job for the same manifold goes on; the rows it does not cover are
        // taken up when it ends. One for an older manifold is worth nothing.
        if (sameManifold(recomputeJob_.manifold, model_.manifold()))
            return;
        recompute_.cancel();
        recompute_.waitForFinished();
    }
    recomputeJob_ = model_.staleJob();
    recomputePending_ = true;
    recompute_.setFuture(computeLoopsConcurrently(recomputeJob_.manifold, recomputeJob_.loops));
    started(QStringLiteral("正在计算 %1 个环路").arg(recomputeJob_.loops.size()));
}

void ManifoldSheet::recomputeFinished() {
    recomputePending_ = false;
    if (!recompute_.isCanceled()) {
        const QList<LoopResult> results = recompute_.future().results();
        model_.applyResults(recomputeJob_, std::span(results.constData(), results.size()));
        recomputeJob_ = {};
        if (model_.staleCount() > 0) {
            startRecompute();
            return;
        }
    }
    updateBusy({});
}

void ManifoldSheet::standardFinished() {
    standardPending_ = false;
    if (!standard_.isCanceled() && standard_.future().resultCount() > 0) {
        model_.applyStandard(standardGeneration_, standard_.future().result());
        if (model_.staleCount() > 0) {
            startRecompute();
            return;
        }
    }
    updateBusy({});
}

void ManifoldSheet::startDiffSearch() {
    if (diffPending_)
        return;
    diffPending_ = true;
    diffSnapshot_ = snapshot();
    diffCancelled_ = false;
    diffs_.setFuture(searchTempDiffsConcurrently(diffSnapshot_.manifold, diffSnapshot_.loops,
                                                 diffSnapshot_.limits));
    started(QStringLiteral("正在按负荷求温差"));
}

void ManifoldSheet::diffSearchDone() {
    diffPending_ = false;
    DiffSearchReport report;
    report.limits = searchLimitsText(diffSnapshot_.limits);
    if (diffCancelled_ || diffs_.isCanceled()) {
        report.outcome = DiffSearchReport::Outcome::Cancelled;
    } else if (!snapshotCurrent(diffSnapshot_)) {
        report.outcome = DiffSearchReport::Outcome::InputsChanged;
    } else {
        const QList<DiffSearch> found = diffs_.future().results();
        for (int r = 0; r < found.size(); ++r) {
            const DiffSearch& d = found[r];
            if (d.result == DiffSearch::Result::NoLoad)
                continue;
            ++report.searched;
            const QString line =
                label(r) + QStringLiteral("：") +
                diffAnswerText(d, diffSnapshot_.limits, diffSnapshot_.manifold.supplyTemp);
            if (d.result != DiffSearch::Result::Found) {
                report.cannotServe << line;
                continue;
            }
            report.answers << line;
            report.rows.push_back(r);
            report.tempDiffs.push_back(d.tempDiff);
        }
    }
    updateBusy({});
    emit diffSearchFinished(report);
}

bool ManifoldSheet::applyDiffSearch(const DiffSearchReport& report) {
    if (report.outcome != DiffSearchReport::Outcome::Ready || diffPending_ ||
        !snapshotCurrent(diffSnapshot_))
        return false;
    std::vector<int> rows;
    std::vector<LoopInput> loops;
    for (std::size_t i = 0; i < report.rows.size(); ++i) {
        const int r = report.rows[i];
        if (r < 0 || r >= model_.rowCount())
            return false;
        LoopInput loop = model_.loops()[static_cast<std::size_t>(r)];
        loop.ownTempDiff = report.tempDiffs[i];
        if (sameLoop(loop, model_.loops()[static_cast<std::size_t>(r)]))
            continue;
        rows.push_back(r);
        loops.push_back(loop);
    }
    if (!rows.empty())
        undo_.push(new SetLoopsCommand(model_, std::move(rows), std::move(loops),
                                       QStringLiteral("按负荷求温差")));
    diffSnapshot_ = {};
    return true;
}

void ManifoldSheet::startSupplySuggestion() {
    if (needPending_)
        return;
    needPending_ = true;
    needSnapshot_ = snapshot();
    needCancelled_ = false;
    needs_.setFuture(
        supplyNeedsConcurrently(needSnapshot_.manifold, needSnapshot_.loops, needSnapshot_.limits));
    started(QStringLiteral("正在求建议供水温度"));
}

void ManifoldSheet::supplyDone() {
    needPending_ = false;
    SupplyReport report;
    report.limits = searchLimitsText(needSnapshot_.limits);
    if (needCancelled_ || needs_.isCanceled()) {
        report.outcome = SupplyReport::Outcome::Cancelled;
    } else if (!snapshotCurrent(needSnapshot_)) {
        report.outcome = SupplyReport::Outcome::InputsChanged;
    } else {
        const QList<SupplyNeed> needs = needs_.future().results();
        report.suggestion = combineSupplyNeeds(std::span(needs.constData(), needs.size()));
        if (report.suggestion.decidingLoop)
            report.decidingLoop = label(static_cast<int>(*report.suggestion.decidingLoop));
        for (int r = 0; r < needs.size(); ++r) {
            const SupplyNeed& need = needs[r];
            if (need.result == SupplyNeed::Result::NoLoad)
                continue;
            const double diff = loopTempDiff(needSnapshot_.manifold,
                                             needSnapshot_.loops[static_cast<std::size_t>(r)]);
            const QString text = supplyNeedText(need, needSnapshot_.limits, diff);
            if (text.isEmpty())
                continue;
            (need.result == SupplyNeed::Result::Found ? report.breaksRules : report.cannotServe)
                << label(r) + QStringLiteral("：") + text;
        }
    }
    needSnapshot_ = {};
    updateBusy({});
    emit supplySuggestionReady(report);
}

void ManifoldSheet::applySupplyTemp(double supplyTemp) {
    ManifoldInput m = model_.manifold();
    m.supplyTemp = supplyTemp;
    setManifold(m, QStringLiteral("应用建议供水温度"));
}

void ManifoldSheet::cancel() {
    if (diffPending_) {
        diffCancelled_ = true;
        diffs_.cancel();
    }
    if (needPending_) {
        needCancelled_ = true;
        needs_.cancel();
    }
    recompute_.cancel();
    standard_.cancel();
}

void ManifoldSheet::waitForIdle() {
    while (busy() || model_.staleCount() > 0) {
        if (!busy())
            startRecompute();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    QCoreApplication::processEvents();
}

} // namespace zorva::models
