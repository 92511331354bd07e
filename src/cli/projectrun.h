#pragma once
// A manifold project file computed as the manifold sheet computes it: every
// loop's run (on the thread pool), balancing and the totals, written as the
// sheet's CSV table followed by a blank row and a table of the totals, or as
// one JSON object.

#include "cli/exitstatus.h"

#include <QByteArray>
#include <QString>

namespace zorva::cli {

struct ProjectOutput {
    QByteArray bytes;     // UTF-8
    Result<void> outcome; // unreadable file, or loops without a result
    qint64 loops = 0;     // loops computed
};

enum class ProjectFormat { Csv, CsvWithMark, Json };

// `path` is the file's name as the system has it (any bytes), `shownName`
// the name the messages quote. Pipes and devices are read as well.
ProjectOutput runProject(const QByteArray& path, const QString& shownName, ProjectFormat format);

} // namespace zorva::cli
