// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The project file (.zorvaproj): versioned JSON in UTF-8. Version 2 holds a
// whole project (settings, manifolds with their manual loops, rooms);
// version 1, the manifold sheet's file of one manifold and its loops, is
// read as a project of that one manifold by the program's own method.
// This program writes version 2. Results are not stored; they are computed
// after opening. Keys this version does not know are kept and written back.
// The format is described in docs/project-format.md.

#include "core/engine/manifold.h"
#include "core/io/fileread.h"
#include "core/io/result.h"
#include "core/project/project.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>

namespace zorva::io {

constexpr int kProjectVersion = 2;
// The largest project file read, bytes: a project of kMaxLoops loops with
// the longest names and numbers takes less than half of it.
constexpr qint64 kMaxProjectBytes = 32 * 1024 * 1024;
inline constexpr char kProjectFormatName[] = "zorva-manifold";
inline constexpr char kProjectSuffix[] = "zorvaproj";

// A project as read, with the version its file had.
struct ProjectDocument {
    project::Project project;
    int version = kProjectVersion;
};

// Checks everything before returning: size, encoding (UTF-8 after any
// number of byte-order marks, or UTF-16 with its mark), JSON syntax, a key
// given twice in one object, format name and version, every key's type and
// range, the counts. Fails naming the room, manifold or loop and the field,
// or the line and column.
Result<ProjectDocument> readProjectDocument(const QByteArray& bytes);
// Reads the file at `path` (readFileBytes: regular files only unless
// `kinds` says otherwise; one over kMaxProjectBytes is refused before it is
// read) and then readProjectDocument; every message names the file.
Result<ProjectDocument> readProjectDocumentFile(const QString& path);
Result<ProjectDocument> readProjectDocumentFile(const QByteArray& path, const QString& shownName,
                                                FileKinds kinds);

// The version-2 bytes: indented JSON in UTF-8, ending in a line feed.
// projectDocumentText writes whatever the project holds; the file form is
// refused, naming the place and field, when a value would not read back
// or the bytes would exceed kMaxProjectBytes, so that every saved project
// opens again.
QByteArray projectDocumentText(const project::Project& project);
Result<QByteArray> projectDocumentBytes(const project::Project& project);

// The manifold sheet's view of a project: its one manifold and the loops,
// with the keys kept from the file as JSON objects, and the whole project
// read (settings, the manifold's name) so that a save keeps it. These
// members win over the same parts of `document`.
struct ProjectLoop {
    LoopInput input;
    QJsonObject unknownKeys; // kept as read, written back on save
};

struct ProjectData {
    ManifoldInput manifold;
    QList<ProjectLoop> loops;
    QJsonObject unknownKeys;         // top level
    QJsonObject unknownManifoldKeys; // in the manifold's object
    // The project read; without manifolds (a sheet not opened from a file)
    // the sheet's project by the program's own method.
    project::Project document;
};

// The sheet as a project, and a project of one manifold without rooms as
// the sheet (refused otherwise: the sheet shows one manifold's loops).
project::Project projectOf(const ProjectData& data);
Result<ProjectData> sheetOf(const project::Project& project);

// projectDocumentText / projectDocumentBytes of projectOf(data); the file
// form also refuses more than kMaxLoops loops with the sheet's message.
QByteArray projectBytes(const ProjectData& project);
Result<QByteArray> projectFileBytes(const ProjectData& project);

// readProjectDocument and then sheetOf.
Result<ProjectData> readProject(const QByteArray& bytes);
Result<ProjectData> readProjectFile(const QString& path);
Result<ProjectData> readProjectFile(const QByteArray& path, const QString& shownName,
                                    FileKinds kinds);

} // namespace zorva::io
