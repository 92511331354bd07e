// SPDX-License-Identifier: GPL-3.0-or-later
// Both programs under a file-size limit (ulimit -f), started as a shell
// starts them: SIGXFSZ at its default disposition and RLIMIT_FSIZE set in
// the child only. A write past the limit must fail with EFBIG and be
// reported (status 2 for zorva-calc; a warning, the old file intact and no
// temporary file left for the desktop program), never end the program.

#include "support/patience.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

namespace {

// In the child between fork and exec: only async-signal-safe calls.
void limitChild(QProcess& process, rlim_t bytes) {
    process.setChildProcessModifier([bytes] {
        std::signal(SIGXFSZ, SIG_DFL);
        sigset_t set;
        sigemptyset(&set);
        sigaddset(&set, SIGXFSZ);
        sigprocmask(SIG_UNBLOCK, &set, nullptr);
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    });
}

struct Run {
    bool normalExit = false; // not ended by a signal
    int code = -1;
    QByteArray out;
    QString err;
};

Run finish(QProcess& process) {
    Run r;
    if (!process.waitForFinished(kProcessPatienceMs)) {
        process.kill();
        process.waitForFinished();
        return r;
    }
    r.normalExit = process.exitStatus() == QProcess::NormalExit;
    r.code = process.exitCode();
    r.out = process.readAllStandardOutput();
    r.err = QString::fromUtf8(process.readAllStandardError());
    return r;
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray project(int loops) {
    QByteArray bytes = R"({"format": "zorva-manifold", "version": 1,
      "manifold": {"supplyTemp": 45, "tempDiff": 8, "surfaceThickness": 20, "levelThickness": 20,
        "fillThickness": 50, "pipeWallThickness": 2, "surfaceConductivity": 2.91,
        "levelConductivity": 1.84, "fillConductivity": 1.28, "pipeConductivity": 0.41,
        "pipeDiameter": 20, "elbows": 2, "allowance": 5}, "loops": [)";
    for (int i = 0; i < loops; ++i)
        bytes += (i > 0 ? "," : "") +
                 QByteArray(R"({"name": "r", "roomTemp": 18, "spacing": 200, "length": 80})");
    return bytes + "]}";
}

} // namespace

class FileSizeLimitTest : public QObject {
    Q_OBJECT

private slots:
    void calcReportsTheLimit_data();
    void calcReportsTheLimit();
    void desktopProgramIgnoresTheSignal();
    void manifoldSaveKeepsTheOldFile();
};

void FileSizeLimitTest::calcReportsTheLimit_data() {
    QTest::addColumn<QStringList>("args"); // "%1" is the input file
    QTest::addColumn<QByteArray>("input");
    QByteArray table = "环路,室内温度,盘管间距,单管长度\r\n";
    for (int i = 0; i < 300; ++i)
        table += "r" + QByteArray::number(i) + ",18,200,80\r\n";
    QTest::newRow("CSV table") << QStringList{"%1"} << table;
    QTest::newRow("project as CSV") << QStringList{"%1"} << project(300);
    QTest::newRow("project as JSON") << QStringList{"--json", "%1"} << project(300);
}

// The output goes to a file, as `zorva-calc … > out` would.
void FileSizeLimitTest::calcReportsTheLimit() {
    QFETCH(QStringList, args);
    QFETCH(QByteArray, input);
    QTemporaryDir dir;
    const bool isProject = input.startsWith('{');
    const QString in = dir.filePath(isProject ? "in.zorvaproj" : "in.csv");
    QVERIFY(writeFile(in, input));
    const QString out = dir.filePath("out");
    constexpr rlim_t limit = 4096;
    QProcess calc;
    limitChild(calc, limit);
    calc.setStandardOutputFile(out);
    calc.start(QStringLiteral(ZORVA_CALC_PROGRAM), args.replaceInStrings("%1", in));
    const Run r = finish(calc);
    QVERIFY2(r.normalExit, "zorva-calc was ended by a signal");
    QCOMPARE(r.code, 2);
    QVERIFY2(r.err.contains(QStringLiteral("写出结果失败：") + qt_error_string(EFBIG)),
             qPrintable(r.err));
    QVERIFY(QFileInfo(out).size() <= qint64(limit));
}

// The real program, started on the offscreen platform, runs with SIGXFSZ
// ignored (the kernel's account of the process says so).
void FileSizeLimitTest::desktopProgramIgnoresTheSignal() {
    QTemporaryDir home;
    QProcess zorva;
    limitChild(zorva, RLIM_INFINITY);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("HOME", home.path());
    env.insert("XDG_CONFIG_HOME", home.path());
    zorva.setProcessEnvironment(env);
    zorva.start(QStringLiteral(ZORVA_PROGRAM), {});
    QVERIFY(zorva.waitForStarted(kProcessPatienceMs));
    const QString status = QStringLiteral("/proc/%1/status").arg(zorva.processId());
    const quint64 bit = quint64(1) << (SIGXFSZ - 1);
    bool ignored = false;
    // The disposition is set first thing in main(); the window may take a
    // while to come up, the signal's bit does not.
    for (int waited = 0; waited < kProcessPatienceMs && !ignored; waited += 50) {
        for (const QByteArray& line : fileBytes(status).split('\n'))
            if (line.startsWith("SigIgn:"))
                ignored = (line.mid(7).trimmed().toULongLong(nullptr, 16) & bit) != 0;
        if (!ignored)
            QTest::qWait(50);
    }
    zorva.kill();
    zorva.waitForFinished();
    QVERIFY2(ignored, "zorva runs with SIGXFSZ at its default: a size limit would end it");
}

// The manifold window saving a project larger than the limit over an
// existing one, in a child that starts as the desktop program does.
void FileSizeLimitTest::manifoldSaveKeepsTheOldFile() {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("多环路.zorvaproj"));
    QVERIFY(writeFile(target, "the old project"));
    QProcess child;
    limitChild(child, 4096);
    child.start(QStringLiteral(ZORVA_SAVE_CHILD), {target, QStringLiteral("200")});
    const Run r = finish(child);
    QVERIFY2(r.normalExit, "the window's save was ended by a signal");
    QCOMPARE(r.code, 1); // warned, not saved
    const QString shown = QString::fromLocal8Bit(r.out);
    QVERIFY2(shown.contains(target) && shown.contains(qt_error_string(EFBIG)), qPrintable(shown));
    QCOMPARE(fileBytes(target), QByteArray("the old project"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("多环路.zorvaproj")});
}

QTEST_GUILESS_MAIN(FileSizeLimitTest)
#include "tst_filesizelimit.moc"
