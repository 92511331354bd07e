// SPDX-License-Identifier: GPL-3.0-or-later
// writeFileSafely: a write cut short by a file-size limit, or a target that
// is no plain file, leaves the old file byte-identical; a good write keeps
// the replaced file's permissions, owner and links.

#include "core/io/safesave.h"
#include "support/filesizecap.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

using namespace zorva;
using namespace zorva::io;

namespace {

constexpr int kPictureSize = 38118; // a saved principle picture
constexpr int kRecordSize = 200;    // about a saved record

QByteArray payload(int size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + 3) % 251);
    return bytes;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

bool writePlain(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList entries(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot |
                               QDir::Hidden);
}

struct stat lstatOf(const QString& path) {
    struct stat st {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st;
}

// Makes a named pipe, socket or device node; false when that fails.
bool makeNode(const QString& kind, const QByteArray& path) {
    if (kind == "socket") {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, path.constData(), sizeof address.sun_path);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        ::close(fd);
        return bound;
    }
    const mode_t type = kind == "fifo" ? S_IFIFO : kind == "chr" ? S_IFCHR : S_IFBLK;
    return ::mknod(path.constData(), type | 0644, makedev(1, 3)) == 0;
}

} // namespace

class SafeSaveTest : public QObject {
    Q_OBJECT

private slots:
    // As both programs do at start: a write past the size cap then fails
    // with EFBIG instead of SIGXFSZ ending the suite.
    void initTestCase() { zorva::io::ignoreFileSizeSignal(); }
    void sizeLimit_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("limit");
        QTest::addColumn<bool>("hasOld");
        for (int limit = 0; limit <= kPictureSize; limit += limit < 32768 ? 1024 : 1)
            QTest::addRow("picture limit %d", limit) << kPictureSize << limit << true;
        for (int limit = 0; limit <= kRecordSize; ++limit) {
            QTest::addRow("record limit %d", limit) << kRecordSize << limit << true;
            QTest::addRow("new record limit %d", limit) << kRecordSize << limit << false;
        }
    }

    void sizeLimit() {
        QFETCH(int, size);
        QFETCH(int, limit);
        QFETCH(bool, hasOld);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("结果.txt"));
        const QByteArray old(5000, 'o');
        QVERIFY(!hasOld || writePlain(path, old));
        Result<void> result;
        {
            const FileSizeCap cap{rlim_t(limit)};
            result = writeFileSafely(path, payload(size));
        }
        const bool fits = limit >= size;
        QCOMPARE(result.ok(), fits);
        QCOMPARE(entries(dir.path()).size(), fits || hasOld ? 1 : 0);
        if (fits || hasOld)
            QCOMPARE(readAll(path), fits ? payload(size) : old);
        QVERIFY2(fits == result.error().isEmpty(), qPrintable(result.error()));
        QVERIFY(fits ||
                (result.error().contains(path) && result.error().contains(qt_error_string(EFBIG))));
    }

    void refusedTarget_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("fifo") << "fifo"
                              << "命名管道";
        QTest::newRow("socket") << "socket"
                                << "套接字";
        QTest::newRow("char device node") << "chr"
                                          << "字符设备";
        QTest::newRow("block device node") << "blk"
                                           << "块设备";
        QTest::newRow("/dev/null") << "/dev/null"
                                   << "字符设备";
        QTest::newRow("folder") << "dir"
                                << "文件夹";
        QTest::newRow("symlink loop") << "loop" << qt_error_string(ELOOP);
        QTest::newRow("symlink to a fifo") << "link"
                                           << "命名管道";
    }

    void refusedTarget() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("target"));
        const QString other = dir.filePath(QStringLiteral("other"));
        if (kind == "/dev/null")
            path = kind;
        else if (kind == "dir")
            QVERIFY(QDir().mkdir(path));
        else if (kind == "loop" || kind == "link")
            QVERIFY(QFile::link(other, path) &&
                    (kind == "loop" ? QFile::link(path, other)
                                    : makeNode("fifo", QFile::encodeName(other))));
        else if (!makeNode(kind, QFile::encodeName(path)))
            QSKIP("this node cannot be made here");

        // Stops before any write when /dev/null were not refused.
        const Result<void> checked = checkSaveTarget(path);
        QVERIFY2(!checked.ok() && checked.error().contains(reason), qPrintable(checked.error()));
        const QStringList before = entries(dir.path());
        const struct stat was = lstatOf(path);
        const Result<void> result = writeFileSafely(path, "new bytes");
        QVERIFY(!result.ok() && result.error().contains(path));
        QCOMPARE(result.error(), checked.error());
        const struct stat is = lstatOf(path);
        QVERIFY(is.st_ino == was.st_ino && is.st_mode == was.st_mode && is.st_rdev == was.st_rdev);
        QCOMPARE(entries(dir.path()), before);
    }

    void replaced_data() {
        QTest::addColumn<int>("nameLength");
        QTest::addColumn<int>("mode"); // -1: no old file
        QTest::addColumn<bool>("viaLink");
        QTest::addColumn<int>("owner"); // -1: the test's own
        QTest::newRow("new file") << 8 << -1 << false << -1;
        QTest::newRow("0444 stays 0444") << 8 << 0444 << false << -1;
        QTest::newRow("0600") << 8 << 0600 << false << -1;
        QTest::newRow("249-byte name") << 249 << 0644 << false << -1;
        QTest::newRow("255-byte name") << 255 << 0640 << false << -1;
        QTest::newRow("new 255-byte name") << 255 << -1 << false << -1;
        QTest::newRow("through a symlink") << 8 << 0604 << true << -1;
        QTest::newRow("new file through a symlink") << 8 << -1 << true << -1;
        QTest::newRow("another user's 0444") << 8 << 0444 << false << 4321;
    }

    void replaced() {
        QFETCH(int, nameLength);
        QFETCH(int, mode);
        QFETCH(bool, viaLink);
        QFETCH(int, owner);
        if (owner >= 0 && ::geteuid() != 0)
            QSKIP("changing the owner needs root");
        QTemporaryDir dir;
        const QString name(nameLength, u'r');
        const QString target = dir.filePath(name);
        const QByteArray native = QFile::encodeName(target);
        QVERIFY(mode < 0 || (writePlain(target, "old") && ::chmod(native, mode_t(mode)) == 0));
        QVERIFY(owner < 0 || ::chown(native, uid_t(owner), gid_t(owner)) == 0);
        const QString path = viaLink ? dir.filePath(QStringLiteral("link")) : target;
        QVERIFY(!viaLink || QFile::link(name, path));
        const mode_t mask = ::umask(0);
        ::umask(mask);

        const Result<void> result = writeFileSafely(path, payload(kRecordSize));
        if (mode >= 0 && !(mode & 0200) && ::geteuid() != 0) {
            // Only root replaces a file that is not writable.
            QVERIFY(!result.ok() && result.error().contains(qt_error_string(EACCES)));
            QCOMPARE(readAll(target), QByteArray("old"));
            return;
        }
        QVERIFY2(result.ok(), qPrintable(result.error()));
        QCOMPARE(readAll(target), payload(kRecordSize));
        const struct stat st = lstatOf(target);
        QCOMPARE(st.st_mode, S_IFREG | (mode >= 0 ? mode_t(mode) : 0666 & ~mask));
        QVERIFY(owner < 0 || (st.st_uid == uid_t(owner) && st.st_gid == gid_t(owner)));
        QVERIFY(!viaLink || S_ISLNK(lstatOf(path).st_mode));
        QCOMPARE(entries(dir.path()).size(), viaLink ? 2 : 1);
    }
};

QTEST_GUILESS_MAIN(SafeSaveTest)
#include "tst_safesave.moc"
