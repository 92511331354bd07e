#pragma once
// The manifold sheet's project file (.zorvaproj): versioned JSON in UTF-8
// holding the manifold inputs and the loops' inputs; results are recomputed
// after opening. Keys this version does not know are kept and written back.
// The format is described in docs/project-format.md.

#include "core/engine/manifold.h"
#include "core/io/fileread.h"
#include "core/io/result.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>

namespace zorva::io {

constexpr int kProjectVersion = 1;
// The largest project file read, bytes: a project of kMaxLoops loops with
// the longest names and numbers takes less than half of it.
constexpr qint64 kMaxProjectBytes = 32 * 1024 * 1024;
inline constexpr char kProjectFormatName[] = "zorva-manifold";
inline constexpr char kProjectSuffix[] = "zorvaproj";

struct ProjectLoop {
    LoopInput input;
    QJsonObject unknownKeys; // kept as read, written back on save
};

struct ProjectData {
    ManifoldInput manifold;
    QList<ProjectLoop> loops;
    QJsonObject unknownKeys;         // top level
    QJsonObject unknownManifoldKeys; // in "manifold"
};

// The file's bytes: indented JSON in UTF-8, ending in a line feed.
QByteArray projectBytes(const ProjectData& project);
// projectBytes for saving: refused when the project holds more than
// kMaxLoops loops or its bytes exceed kMaxProjectBytes (keys kept from an
// opened file count too), so that every saved project opens again.
Result<QByteArray> projectFileBytes(const ProjectData& project);

// Checks everything before returning: size, encoding (UTF-8 after any
// number of byte-order marks, or UTF-16 with its mark), JSON syntax, a key
// given twice in one object, format name and version, every key's type and
// range, the number of loops. Fails naming the loop and field or the line
// and column.
Result<ProjectData> readProject(const QByteArray& bytes);

// Reads the file at `path` (readFileBytes: regular files only unless
// `kinds` says otherwise; one over kMaxProjectBytes is refused before it is
// read) and then readProject; every message names the file.
Result<ProjectData> readProjectFile(const QString& path);
Result<ProjectData> readProjectFile(const QByteArray& path, const QString& shownName,
                                    FileKinds kinds);

} // namespace zorva::io
