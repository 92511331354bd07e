#pragma once
// Writing a whole file so that a failure never costs the old one: the bytes
// go to a temporary file in the same folder under a short name, are flushed
// and checked on disk, and only then replace the target in one rename. On any
// failure the target is left byte-identical (or not created) and the result
// says why, in Chinese, with the system's own text after it.

#include <QByteArray>
#include <QString>

namespace zorva::io {

struct WriteResult {
    bool ok = false;
    QString error; // empty when ok
};

WriteResult writeFileSafely(const QString& path, const QByteArray& bytes);

} // namespace zorva::io
