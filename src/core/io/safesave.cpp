// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/safesave.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

// Written with POSIX calls rather than QSaveFile: QSaveFile in Qt 6.4 renames
// its temporary file over the target even when writing it failed, and its
// temporary name is longer than the target's, so a name near the file
// system's limit could not be replaced at all.

namespace zorva::io {
namespace {

// Link hops followed before a chain counts as a loop, as the kernel does.
constexpr int kMaxLinkHops = 40;

Problem failure(const QString& text) {
    return {text, {}};
}

// The system's text for errno value `error`, after our own reason.
Problem systemFailure(const QString& reason, int error) {
    return {reason, qt_error_string(error)};
}

QString quoted(const QString& path) {
    return QStringLiteral("“%1”").arg(path);
}

const char* kindOf(mode_t mode) {
    if (S_ISFIFO(mode))
        return "命名管道";
    if (S_ISCHR(mode))
        return "字符设备";
    if (S_ISBLK(mode))
        return "块设备";
    if (S_ISSOCK(mode))
        return "套接字";
    return "特殊文件";
}

QByteArray folderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

// The file a save to `path` replaces or creates: symbolic links are
// followed to their end.
struct Target {
    QByteArray path;
    bool exists = false;
    struct stat status {};
};

Result<void> resolveTarget(const QString& path, Target* target) {
    QByteArray current = QFile::encodeName(path);
    if (current.isEmpty())
        return failure(QStringLiteral("没有给出文件名"));
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        struct stat status {};
        if (::lstat(current.constData(), &status) != 0) {
            const int error = errno;
            if (error == ENOENT) {
                target->path = current;
                return {};
            }
            if (error == ELOOP)
                break;
            return systemFailure(QStringLiteral("无法访问文件") + quoted(path), error);
        }
        if (!S_ISLNK(status.st_mode)) {
            if (S_ISDIR(status.st_mode))
                return systemFailure(
                    QStringLiteral("无法保存到%1：它是一个文件夹").arg(quoted(path)), EISDIR);
            if (!S_ISREG(status.st_mode)) {
                return failure(QStringLiteral("无法保存到%1：它是一个%2，不是普通文件")
                                   .arg(quoted(path), QString::fromUtf8(kindOf(status.st_mode))));
            }
            target->path = current;
            target->exists = true;
            target->status = status;
            return {};
        }
        // Some links (those under /proc) report no size.
        std::vector<char> link(std::max<std::size_t>(status.st_size, PATH_MAX) + 1);
        const ssize_t length = ::readlink(current.constData(), link.data(), link.size());
        if (length < 0)
            return systemFailure(QStringLiteral("无法读取符号链接") + quoted(path), errno);
        if (static_cast<std::size_t>(length) >= link.size())
            return failure(QStringLiteral("符号链接%1在读取时被改变").arg(quoted(path)));
        QByteArray next(link.data(), length);
        current = next.startsWith('/') ? next : folderOf(current) + '/' + next;
    }
    return systemFailure(QStringLiteral("无法保存到%1：符号链接构成循环").arg(quoted(path)), ELOOP);
}

// The temporary file beside the target, removed again unless released.
class TemporaryFile {
public:
    ~TemporaryFile() {
        if (fd_ >= 0)
            ::close(fd_);
        if (!path_.isEmpty())
            ::unlink(path_.constData());
    }

    // Creates a new file under a short unused name in `folder`; false with
    // errno set when that fails.
    bool create(const QByteArray& folder) {
        static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
        for (int attempt = 0; attempt < 100; ++attempt) {
            QByteArray name = folder + "/.zorva-";
            for (int i = 0; i < 6; ++i)
                name += kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)];
            fd_ = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd_ >= 0) {
                path_ = name;
                return true;
            }
            if (errno != EEXIST)
                return false;
        }
        return false;
    }

    int fd() const { return fd_; }
    const QByteArray& path() const { return path_; }

    // Closes the file; false with errno set when the close reports an error.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

    // After the rename: the file now has the target's name.
    void release() { path_.clear(); }

private:
    int fd_ = -1;
    QByteArray path_;
};

bool writeAll(int fd, const QByteArray& bytes, int* error) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, static_cast<std::size_t>(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            *error = errno;
            return false;
        }
        if (written == 0) {
            *error = ENOSPC;
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

// A file system that cannot hold owners or permission bits (FAT on a USB
// stick) is no reason to refuse the save.
bool notSupportedHere(int error) {
    return error == EPERM || error == EOPNOTSUPP || error == ENOTSUP;
}

// Gives the new file the old one's owner (as root only) and permission bits.
Result<void> keepAttributes(int fd, const Target& target, const QString& path) {
    if (!target.exists)
        return {};
    if (::geteuid() == 0 && ::fchown(fd, target.status.st_uid, target.status.st_gid) != 0 &&
        !notSupportedHere(errno))
        return systemFailure(QStringLiteral("无法保留文件%1原有的所有者").arg(quoted(path)), errno);
    // After the owner: a change of owner clears the set-user-ID bits.
    if (::fchmod(fd, target.status.st_mode & 07777) != 0 && !notSupportedHere(errno))
        return systemFailure(QStringLiteral("无法保留文件%1原有的权限").arg(quoted(path)), errno);
    return {};
}

} // namespace

Result<void> checkSaveTarget(const QString& path) {
    Target target;
    return resolveTarget(path, &target);
}

Result<void> writeFileSafely(const QString& path, const QByteArray& bytes) {
    Target target;
    if (Result<void> resolved = resolveTarget(path, &target); !resolved)
        return resolved;
    // A file the user may not write stays as it is, although the folder
    // would allow replacing it (root may write any file).
    if (target.exists && ::faccessat(AT_FDCWD, target.path.constData(), W_OK, AT_EACCESS) != 0)
        return systemFailure(QStringLiteral("无法写入文件%1").arg(quoted(path)), errno);

    const QString writeFailed = QStringLiteral("写入文件%1失败").arg(quoted(path));
    TemporaryFile temp;
    if (!temp.create(folderOf(target.path))) {
        return systemFailure(
            QStringLiteral("无法在文件%1所在的文件夹中创建临时文件").arg(quoted(path)), errno);
    }
    int error = 0;
    if (!writeAll(temp.fd(), bytes, &error))
        return systemFailure(writeFailed, error);
    if (Result<void> kept = keepAttributes(temp.fd(), target, path); !kept)
        return kept;
    if (::fsync(temp.fd()) != 0)
        return systemFailure(writeFailed, errno);
    struct stat written {};
    if (::fstat(temp.fd(), &written) != 0)
        return systemFailure(writeFailed, errno);
    if (written.st_size != bytes.size()) {
        return failure(writeFailed + QStringLiteral("：磁盘上只有 %1 字节，应有 %2 字节")
                                         .arg(qlonglong(written.st_size))
                                         .arg(qlonglong(bytes.size())));
    }
    if (!temp.close())
        return systemFailure(writeFailed, errno);
    if (::rename(temp.path().constData(), target.path.constData()) != 0)
        return systemFailure(QStringLiteral("无法用新内容替换文件%1").arg(quoted(path)), errno);
    temp.release();

    // Makes the rename itself last through a power cut. The new file is in
    // place already, so a failure here is no failed save.
    const int folder =
        ::open(folderOf(target.path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return {};
}

void ignoreFileSizeSignal() {
    std::signal(SIGXFSZ, SIG_IGN);
}

} // namespace zorva::io
