#pragma once
// The manifold sheet's project file (.zorvaproj): versioned JSON in UTF-8
// holding the manifold inputs and the loops' inputs; results are recomputed
// after opening. Keys this version does not know are kept and written back.
// The format is described in docs/project-format.md.

#include "core/engine/manifold.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>

namespace zorva::io {

constexpr int kProjectVersion = 1;
constexpr qint64 kMaxProjectBytes = 16 * 1024 * 1024;
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

struct ProjectRead {
    bool ok = false;
    QString error; // Chinese, naming the loop and field or the line and column
    ProjectData project;
};

// Checks everything before returning: size, JSON syntax, format name and
// version, every key's type and range.
ProjectRead readProject(const QByteArray& bytes);

// Reads the file at `path` (refusing one over kMaxProjectBytes before
// reading it) and then readProject.
ProjectRead readProjectFile(const QString& path);

} // namespace zorva::io
