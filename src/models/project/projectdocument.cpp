// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/project/projectdocument.h"

#include "core/io/citytablefile.h"
#include "core/io/projectfile.h"
#include "core/io/projecthydraulics.h"
#include "core/io/projectrooms.h"
#include "core/io/roomscsv.h"
#include "core/io/safesave.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <set>

namespace zorva::models {

struct ProjectDocument::Run {
    std::uint64_t revision = 0;
    std::shared_ptr<std::atomic<bool>> cancel = std::make_shared<std::atomic<bool>>(false);
    QFutureWatcher<project::ProjectResult> watcher;
};

ProjectDocument::ProjectDocument(std::shared_ptr<const heatload::CityTable> cities, QObject* parent)
    : QObject(parent), cities_(std::move(cities)),
      compute_([](const project::Project& p, const project::ComputeOptions& o) {
          return project::computeProject(p, o);
      }),
      result_(std::make_shared<const project::ProjectResult>()) {
    if (cities_ == nullptr) {
        io::CityTableLoad table = io::loadBuiltinCityTable();
        cities_ = std::make_shared<const heatload::CityTable>(table ? std::move(table.value())
                                                                    : heatload::CityTable{});
    }
    pool_.setMaxThreadCount(2);
    connect(&undo_, &QUndoStack::cleanChanged, this,
            [this](bool clean) { emit modifiedChanged(!clean); });
    replaceProject(project::newProject(), QString());
}

ProjectDocument::~ProjectDocument() {
    for (const std::shared_ptr<Run>& run : runs_) {
        *run->cancel = true;
        run->watcher.disconnect();
    }
    for (const std::shared_ptr<Run>& run : runs_)
        run->watcher.waitForFinished();
}

void ProjectDocument::waitForResult() {
    QEventLoop loop;
    connect(this, &ProjectDocument::resultChanged, &loop, &QEventLoop::quit);
    QTimer tick; // looks again now and then, whatever woke the loop
    connect(&tick, &QTimer::timeout, &loop, &QEventLoop::quit);
    tick.start(50);
    while (!resultCurrent())
        loop.exec();
}

void ProjectDocument::replaceProject(project::Project project, const QString& fileName) {
    undo_.clear();
    project_ = std::move(project);
    fileName_ = fileName;
    emit fileNameChanged(fileName_);
    emit settingsChanged();
    emit roomsReset();
    emit modifiedChanged(false);
    recompute();
}

void ProjectDocument::newProject() {
    replaceProject(project::newProject(), QString());
}

void ProjectDocument::load(project::Project project, const QString& fileName) {
    replaceProject(std::move(project), fileName);
}

Result<void> ProjectDocument::open(const QString& fileName) {
    Result<io::ProjectDocument> read = io::readProjectDocumentFile(fileName);
    if (!read)
        return read.problem();
    // Valve files named by the manifolds are read from the project's folder,
    // as zorva-calc reads them; one that cannot be read leaves its manifold
    // without settings, which the results say.
    project::Project project = std::move(read->project);
    io::loadValveFiles(project, QFileInfo(fileName).absolutePath());
    replaceProject(std::move(project), fileName);
    return {};
}

Result<void> ProjectDocument::saveAs(const QString& fileName) {
    // A project the program could not open again is not written.
    const Result<QByteArray> bytes = io::projectDocumentBytes(project_);
    const Result<void> written =
        bytes ? io::writeFileSafely(fileName, *bytes) : Result<void>(bytes.problem());
    if (!written)
        return Problem{QStringLiteral("无法保存项目“%1”").arg(fileName), written.error()};
    fileName_ = fileName;
    undo_.setClean();
    emit fileNameChanged(fileName_);
    return {};
}

void ProjectDocument::setRoom(int row, const project::Room& room, const QString& text) {
    if (row < 0 || std::size_t(row) >= project_.rooms.size())
        return;
    undo_.push(new SetRoomCommand(*this, row, room, text));
}

void ProjectDocument::insertRooms(int row, std::vector<project::Room> rooms, const QString& text) {
    if (rooms.empty())
        return;
    row = std::clamp(row, 0, int(project_.rooms.size()));
    std::vector<int> rows;
    for (std::size_t k = 0; k < rooms.size(); ++k)
        rows.push_back(row + int(k));
    undo_.push(new RoomRowsCommand(*this, std::move(rows), std::move(rooms), false, text));
}

void ProjectDocument::removeRooms(std::vector<int> rows) {
    std::set<int> unique;
    for (int row : rows)
        if (row >= 0 && std::size_t(row) < project_.rooms.size())
            unique.insert(row);
    if (unique.empty())
        return;
    undo_.push(new RoomRowsCommand(*this, {unique.begin(), unique.end()}, {}, true,
                                   QStringLiteral("删除房间")));
}

void ProjectDocument::setSettings(const project::Settings& settings, const QString& text) {
    undo_.push(new SetSettingsCommand(*this, settings, text));
}

void ProjectDocument::setManifold(int index, const project::Manifold& manifold,
                                  const QString& text) {
    if (index < 0 || std::size_t(index) >= project_.manifolds.size())
        return;
    undo_.push(new SetProjectManifoldCommand(*this, index, manifold, text));
}

void ProjectDocument::setManifoldPlan(int index, const project::ManifoldPlan& plan,
                                      const QString& text) {
    if (index < 0 || std::size_t(index) >= project_.manifolds.size())
        return;
    project::Manifold manifold = project_.manifolds[std::size_t(index)];
    manifold.plan = plan;
    setManifold(index, manifold, text);
}

project::Room ProjectDocument::newRoom() const {
    project::Room room;
    for (int n = int(project_.rooms.size()) + 1;; ++n) {
        const std::string name = QStringLiteral("房间%1").arg(n).toStdString();
        if (std::none_of(project_.rooms.begin(), project_.rooms.end(),
                         [&](const project::Room& r) { return r.name == name; })) {
            room.name = name;
            break;
        }
    }
    room.floorArea = 10;
    room.heatedArea = 10;
    room.leaderLength = 2;
    room.typedLoad = 500;
    return room;
}

Result<int> ProjectDocument::importRoomsCsv(const QString& fileName) {
    Result<io::RoomsCsvImport> read = io::importRoomsCsvFile(fileName, project_);
    if (!read)
        return read.problem();
    const int count = int(read->rooms.size());
    if (project_.rooms.size() + read->rooms.size() > std::size_t(io::kMaxRooms))
        return Problem{QStringLiteral("“%1”的房间加上项目中已有的房间超过 %2 个")
                           .arg(fileName)
                           .arg(io::kMaxRooms),
                       {}};
    insertRooms(int(project_.rooms.size()), std::move(read->rooms),
                QStringLiteral("导入房间 %1").arg(QFileInfo(fileName).fileName()));
    return count;
}

void ProjectDocument::applyRoom(int row, const project::Room& room) {
    project_.rooms[std::size_t(row)] = room;
    emit roomChanged(row);
    recompute();
}

void ProjectDocument::applyInsert(const std::vector<int>& rows,
                                  const std::vector<project::Room>& rooms) {
    for (std::size_t k = 0; k < rows.size(); ++k)
        project_.rooms.insert(project_.rooms.begin() + rows[k], rooms[k]);
    emit roomsReset();
    recompute();
}

void ProjectDocument::applyRemove(const std::vector<int>& rows) {
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        project_.rooms.erase(project_.rooms.begin() + *it);
    emit roomsReset();
    recompute();
}

void ProjectDocument::applySettings(const project::Settings& settings) {
    project_.settings = settings;
    emit settingsChanged();
    recompute();
}

void ProjectDocument::applyManifold(int index, const project::Manifold& manifold) {
    project_.manifolds[std::size_t(index)] = manifold;
    emit manifoldChanged(index);
    recompute();
}

void ProjectDocument::recompute() {
    ++revision_;
    // Older runs are superseded: each stops at its next room.
    for (const std::shared_ptr<Run>& older : runs_)
        *older->cancel = true;
    auto run = std::make_shared<Run>();
    run->revision = revision_;
    runs_.push_back(run);
    Run* raw = run.get();
    connect(&run->watcher, &QFutureWatcherBase::finished, this, [this, raw] { runFinished(raw); });
    project::ComputeOptions options;
    options.cities = cities_.get();
    // The rooms an edit did not touch keep their layout.
    options.previous = result_;
    options.progress = [cancel = run->cancel](std::size_t, std::size_t) { return !cancel->load(); };
    // The worker keeps its own copy of the project and the table; the run
    // object stays in runs_ until its watcher has finished.
    run->watcher.setFuture(
        QtConcurrent::run(&pool_, [compute = compute_, project = project_, cities = cities_,
                                   options] { return compute(project, options); }));
    emit busyChanged(true);
}

void ProjectDocument::runFinished(Run* run) {
    const auto it = std::find_if(runs_.begin(), runs_.end(),
                                 [run](const std::shared_ptr<Run>& r) { return r.get() == run; });
    if (it == runs_.end())
        return;
    // The watcher is inside its own signal: it goes after this returns.
    QMetaObject::invokeMethod(
        this, [keep = *it] {}, Qt::QueuedConnection);
    runs_.erase(it);
    // Only a whole result newer than the one shown is taken; taken, not
    // copied, as a large project's result is megabytes.
    QFuture<project::ProjectResult> future = run->watcher.future();
    if (future.isValid() && run->revision > resultRevision_) {
        project::ProjectResult result = future.takeResult();
        if (!result.cancelled) {
            std::shared_ptr<const project::ProjectResult> shown =
                std::make_shared<const project::ProjectResult>(std::move(result));
            std::swap(result_, shown);
            resultRevision_ = run->revision;
            emit resultChanged();
            // The result no longer shown is freed on the pool rather than
            // on the UI thread (or by a run that still reads it).
            pool_.start([old = std::move(shown)] {});
        }
    }
    if (runs_.empty())
        emit busyChanged(false);
}

} // namespace zorva::models
