// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The project window without its window (docs/project-window.md): one
// project::Project with its file name, its undo history and the latest
// results. Every edit is one undo step; after each one the whole project is
// computed again off the UI thread. A newer edit supersedes an older run:
// the older one is asked to stop, and whatever it gives is dropped, so the
// results shown are always those of the project as it stands or of a newer
// state still on its way.

#include "core/heatload/citytable.h"
#include "core/io/result.h"
#include "core/project/compute.h"
#include "core/project/project.h"
#include "core/project/projectresult.h"
#include "models/project/projectcommands.h"

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QUndoStack>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace zorva::models {

class ProjectDocument : public QObject, public ProjectEdits {
    Q_OBJECT

public:
    // The function that computes a project; computeProject unless a test
    // gives another. It runs on a worker thread.
    using ComputeFunction = std::function<project::ProjectResult(const project::Project&,
                                                                 const project::ComputeOptions&)>;

    // A new project (project::newProject). `cities` is the table stations
    // are looked up in; null loads the table built into the program.
    explicit ProjectDocument(std::shared_ptr<const heatload::CityTable> cities = nullptr,
                             QObject* parent = nullptr);
    ~ProjectDocument() override;

    const project::Project& project() const override { return project_; }
    const heatload::CityTable& cities() const { return *cities_; }
    QUndoStack& undoStack() { return undo_; }

    QString fileName() const { return fileName_; }
    bool isModified() const { return !undo_.isClean(); }

    // The latest results taken; they belong to the project as it stood at
    // the edit resultRevision() names. resultCurrent(): no newer edit since.
    const project::ProjectResult& result() const { return *result_; }
    std::shared_ptr<const project::ProjectResult> sharedResult() const { return result_; }
    std::uint64_t revision() const { return revision_; }
    std::uint64_t resultRevision() const { return resultRevision_; }
    bool resultCurrent() const { return resultRevision_ == revision_; }
    // Runs the event loop until the results are current (tests, reports).
    void waitForResult();
    bool busy() const { return !runs_.empty(); }

    void setComputeFunction(ComputeFunction compute) { compute_ = std::move(compute); }

    // Whole projects; each clears the history.
    void newProject();
    // A project made elsewhere (another window, a test, a bench), with the
    // file it belongs to, if any.
    void load(project::Project project, const QString& fileName = {});
    // Reads and checks the whole file before anything changes; a version-1
    // file becomes one manifold with its loops.
    Result<void> open(const QString& fileName);
    // Safe save (io::writeFileSafely): on failure the old file is left as it
    // was and the result says why. On success the file name is taken and the
    // history marked clean.
    Result<void> saveAs(const QString& fileName);

    // Edits, each one undo step. Rows out of range are ignored.
    void setRoom(int row, const project::Room& room, const QString& text);
    void insertRooms(int row, std::vector<project::Room> rooms, const QString& text);
    void removeRooms(std::vector<int> rows);
    void setSettings(const project::Settings& settings, const QString& text);
    void setManifold(int index, const project::Manifold& manifold, const QString& text);
    // A room with the defaults and the next free name "房间N".
    project::Room newRoom() const;
    // Rooms from a CSV file (io::importRoomsCsvFile), appended as one step.
    Result<int> importRoomsCsv(const QString& fileName);

    // Used by the undo commands only.
    void applyRoom(int row, const project::Room& room) override;
    void applyInsert(const std::vector<int>& rows,
                     const std::vector<project::Room>& rooms) override;
    void applyRemove(const std::vector<int>& rows) override;
    void applySettings(const project::Settings& settings) override;
    void applyManifold(int index, const project::Manifold& manifold) override;

signals:
    // Rooms or settings changed (an edit, undo, redo or a new project).
    void roomsReset();
    void roomChanged(int row);
    void settingsChanged();
    void manifoldChanged(int index);
    void resultChanged();
    void modifiedChanged(bool modified);
    void fileNameChanged(const QString& fileName);
    void busyChanged(bool busy);

private:
    struct Run;
    void replaceProject(project::Project project, const QString& fileName);
    void recompute();
    void runFinished(Run* run);

    std::shared_ptr<const heatload::CityTable> cities_;
    project::Project project_;
    QString fileName_;
    QUndoStack undo_;
    ComputeFunction compute_;
    std::shared_ptr<const project::ProjectResult> result_;
    std::uint64_t revision_ = 0;
    std::uint64_t resultRevision_ = 0;
    std::vector<std::shared_ptr<Run>> runs_; // in flight, oldest first
    // Runs of its own, so that an older run still stopping never queues a
    // newer one behind the program's other background work.
    QThreadPool pool_;
};

} // namespace zorva::models
