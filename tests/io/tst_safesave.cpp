// writeFileSafely: a write cut short by a file-size limit, or a target that
// is no plain file, leaves the old file byte-identical; a good write keeps
// the replaced file's permissions, owner and links.

#include "safesave.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

using zorva::io::writeFileSafely;

namespace {

// The sizes of a saved principle picture and of a saved record.
constexpr int kPictureSize = 38118;
constexpr int kRecordSize = 200;

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

void writePlain(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
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

// Lowers the soft file-size limit for its lifetime; SIGXFSZ is ignored for
// the whole test, so an oversized write fails with EFBIG.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit capped = saved_;
        capped.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &capped);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

private:
    rlimit saved_{};
};

} // namespace

class TestSafeSave : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { std::signal(SIGXFSZ, SIG_IGN); }

    void sizeLimit_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("limit");
        QTest::addColumn<bool>("hasOld");
        for (int limit = 0; limit < 32768; limit += 1024)
            QTest::addRow("picture limit %d", limit) << kPictureSize << limit << true;
        for (int limit = 32768; limit <= kPictureSize; ++limit)
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
        if (hasOld)
            writePlain(path, old);
        const QByteArray bytes = payload(size);

        zorva::io::WriteResult result;
        {
            const FileSizeLimit cap{rlim_t(limit)};
            result = writeFileSafely(path, bytes);
        }
        const bool fits = limit >= size;
        QCOMPARE(result.ok, fits);
        QCOMPARE(entries(dir.path()).size(), fits || hasOld ? 1 : 0);
        if (fits) {
            QCOMPARE(readAll(path), bytes);
            QVERIFY(result.error.isEmpty());
            return;
        }
        if (hasOld)
            QCOMPARE(readAll(path), old);
        QVERIFY2(result.error.contains(path) && result.error.contains(qt_error_string(EFBIG)),
                 qPrintable(result.error));
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
        QTest::newRow("link to a fifo") << "link to fifo"
                                        << "命名管道";
    }

    void refusedTarget() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("target"));
        const QByteArray native = QFile::encodeName(path);
        bool made = true;
        if (kind == "fifo" || kind == "link to fifo") {
            made = ::mkfifo(native.constData(), 0644) == 0;
        } else if (kind == "socket") {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            qstrncpy(address.sun_path, native.constData(), sizeof address.sun_path);
            made = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
            ::close(fd);
        } else if (kind == "chr" || kind == "blk") {
            const mode_t type = kind == "chr" ? S_IFCHR : S_IFBLK;
            if (::mknod(native.constData(), type | 0666, makedev(1, 3)) != 0)
                QSKIP("device nodes cannot be made here");
        } else if (kind == "dir") {
            made = QDir().mkdir(path);
        } else if (kind == "loop") {
            made = QFile::link(dir.filePath("other"), path) &&
                   QFile::link(path, dir.filePath("other"));
        } else {
            path = kind;
        }
        if (kind == "link to fifo") {
            path = dir.filePath(QStringLiteral("link"));
            made = made && QFile::link(dir.filePath("target"), path);
        }
        QVERIFY(made);

        // Stops before the write if the check failed to refuse /dev/null.
        const zorva::io::WriteResult checked = zorva::io::checkSaveTarget(path);
        QVERIFY2(!checked.ok && checked.error.contains(reason), qPrintable(checked.error));

        const QStringList before = entries(dir.path());
        const struct stat was = lstatOf(path);
        const zorva::io::WriteResult result = writeFileSafely(path, "new bytes");
        QVERIFY(!result.ok);
        QCOMPARE(result.error, checked.error);
        QVERIFY(result.error.contains(path));
        const struct stat is = lstatOf(path);
        QCOMPARE(is.st_ino, was.st_ino);
        QCOMPARE(is.st_mode, was.st_mode);
        QCOMPARE(is.st_rdev, was.st_rdev);
        QCOMPARE(entries(dir.path()), before);
    }

    void replaced_data() {
        QTest::addColumn<int>("nameLength");
        QTest::addColumn<int>("mode"); // -1: no old file
        QTest::addColumn<bool>("viaLink");
        QTest::addColumn<int>("owner"); // -1: the test's own
        QTest::newRow("new file") << 8 << -1 << false << -1;
        QTest::newRow("0644") << 8 << 0644 << false << -1;
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
        const QString target = dir.filePath(QString(nameLength, u'r'));
        if (mode >= 0) {
            writePlain(target, QByteArray(100, 'o'));
            QVERIFY(::chmod(QFile::encodeName(target).constData(), mode_t(mode)) == 0);
            if (owner >= 0)
                QVERIFY(::chown(QFile::encodeName(target).constData(), uid_t(owner),
                                gid_t(owner)) == 0);
        }
        QString path = target;
        if (viaLink) {
            path = dir.filePath(QStringLiteral("link"));
            QVERIFY(QFile::link(QString(nameLength, u'r'), path));
        }
        const mode_t mask = ::umask(0);
        ::umask(mask);

        const QByteArray bytes = payload(kRecordSize);
        const zorva::io::WriteResult result = writeFileSafely(path, bytes);
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(readAll(target), bytes);
        const struct stat st = lstatOf(target);
        QVERIFY(S_ISREG(st.st_mode));
        QCOMPARE(st.st_mode & 07777, mode >= 0 ? mode_t(mode) : 0666 & ~mask);
        if (owner >= 0)
            QVERIFY(st.st_uid == uid_t(owner) && st.st_gid == gid_t(owner));
        QVERIFY(!viaLink || S_ISLNK(lstatOf(path).st_mode));
        QCOMPARE(entries(dir.path()).size(), viaLink ? 2 : 1);
    }
};

QTEST_GUILESS_MAIN(TestSafeSave)
#include "tst_safesave.moc"
