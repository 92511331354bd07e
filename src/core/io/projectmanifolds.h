// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "manifolds" section of a project file (docs/project-format.md,
// "manifolds"): per manifold its name, the sheet's thirteen numbers, what
// lies under its manual loops and the manual loops as version 1 holds them.
// Also a version-1 file's "manifold" and "loops", read as one manifold.

#include "core/project/project.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <functional>
#include <vector>

namespace zorva::io {

// The most manifolds of a project.
constexpr int kMaxManifolds = 1000;

// "第 2 个分集水器（一层）"
QString manifoldLabel(std::size_t index, const std::string& name);

// A section's "manifolds" array: one entry per manifold of the project, in
// order (fewer entries leave the rest as they are); `read` reads one entry
// into its manifold, with the entry's place for its messages.
QString
readManifoldEntries(const QJsonObject& section, const QString& sectionName, project::Project& p,
                    const std::function<QString(const QJsonValue& entry, const QString& where,
                                                project::Manifold& manifold)>& read);

QString readManifolds(const QJsonArray& array, std::vector<project::Manifold>& out);
QString writeManifolds(const std::vector<project::Manifold>& manifolds, QJsonArray& out);

// Version 1: `manifold` (the thirteen numbers) and `loops`, as the first
// manifold; its unknown keys are kept like those of version 2.
QString readVersion1Manifold(const QJsonObject& manifold, const QJsonArray& loops,
                             project::Manifold& out);

} // namespace zorva::io
