// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/fileread.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorva::io {

namespace {

// Our own words for why a file could not be opened.
QString openReason(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("文件不存在");
    case EACCES:
    case EPERM:
        return QStringLiteral("没有读取这个文件的权限");
    case EISDIR:
        return QStringLiteral("这是一个文件夹，不是文件");
    default:
        break;
    }
    return QStringLiteral("系统不允许打开这个文件");
}

Problem failure(ReadFailure kind, const QString& shownName, int error = 0) {
    const QString quoted = QStringLiteral("“%1”").arg(shownName);
    switch (kind) {
    case CannotOpen:
        return {QStringLiteral("无法打开文件") + quoted,
                openReason(error) + QStringLiteral("：") + qt_error_string(error), kind};
    case NotRegularFile:
        return {quoted + QStringLiteral("不是普通文件，未读取。"), {}, kind};
    case TooLarge:
        return {QStringLiteral("文件%1太大，未读取。").arg(quoted), {}, kind};
    case ReadError:
        break;
    }
    return {QStringLiteral("读取文件%1时出错").arg(quoted), qt_error_string(error), kind};
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

} // namespace

QString shownFileName(const QString& path) {
    return QDir::toNativeSeparators(path);
}

Result<QByteArray> readFileBytes(const QByteArray& path, const QString& shownName, qint64 maxBytes,
                                 FileKinds kinds) {
    // A device is not even opened (opening one may act on it); the check
    // is made again on the opened file, which may have been replaced since.
    struct stat named {};
    if (kinds == FileKinds::RegularOnly && ::stat(path.constData(), &named) == 0 &&
        !S_ISREG(named.st_mode) && !S_ISDIR(named.st_mode))
        return failure(NotRegularFile, shownName);
    // Without O_NONBLOCK, opening a named pipe waits for a writer; the flag
    // changes nothing for a regular file.
    const int flags = O_RDONLY | O_CLOEXEC | (kinds == FileKinds::RegularOnly ? O_NONBLOCK : 0);
    int fd = -1;
    do
        fd = ::open(path.constData(), flags);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return failure(CannotOpen, shownName, errno);
    const Descriptor file(fd);
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        return failure(ReadError, shownName, errno);
    if (S_ISDIR(status.st_mode))
        return failure(CannotOpen, shownName, EISDIR);
    const bool regular = S_ISREG(status.st_mode);
    if (!regular && kinds == FileKinds::RegularOnly)
        return failure(NotRegularFile, shownName);
    if (regular && status.st_size > maxBytes)
        return failure(TooLarge, shownName);

    // One byte past the limit tells a file that grew, or a pipe that does
    // not end, from one that fits.
    QByteArray bytes(regular ? status.st_size + 1 : std::min<qint64>(maxBytes + 1, 1 << 16),
                     Qt::Uninitialized);
    qint64 size = 0;
    for (;;) {
        if (size == bytes.size()) {
            if (size > maxBytes)
                break;
            bytes.resize(std::min<qint64>(maxBytes + 1, 2 * size));
        }
        const ssize_t n = ::read(fd, bytes.data() + size, std::size_t(bytes.size() - size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return failure(ReadError, shownName, errno);
        if (n == 0)
            break;
        size += n;
    }
    if (size > maxBytes)
        return failure(TooLarge, shownName);
    bytes.resize(size);
    return bytes;
}

Result<QByteArray> readFileBytes(const QString& path, qint64 maxBytes, FileKinds kinds) {
    return readFileBytes(QFile::encodeName(path), shownFileName(path), maxBytes, kinds);
}

} // namespace zorva::io
