// SPDX-License-Identifier: GPL-3.0-or-later
// Writes tables of 50,000 and 200,000 varied designs, runs
// `zorva-calc --time <table>` on each (output to /dev/null) and prints
//   cli <N> designs/s, <M> MiB (<rows> rows)
// per size, then the goal: 0.8 × cores / (mean time of one Calculate run on
// the same designs, one thread) and the measured rate divided by
// cores / run time, which meets the goal at 0.80 or more. The processor time
// per design (all threads, reading and writing included) against the run
// time tells the program's own cost apart from a busy machine.

#include "bench_cli.h"

#include "core/engine/evaluation.h"
#include "core/engine/manifold.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <chrono>
#include <cstdio>
#include <vector>

using namespace zorva;

namespace {

// The i-th generated design's loop (the manifold is the command line's
// default: 50 ℃ supply, 10 ℃ difference, the default construction).
LoopInput designLoop(int i) {
    LoopInput loop;
    loop.roomTemp = 10 + i % 15;
    loop.spacingMm = 100 + 25 * (i % 9);
    loop.lengthM = 40 + i % 81;
    return loop;
}

ManifoldInput designManifold() {
    ManifoldInput manifold;
    manifold.supplyTemp = 50;
    return manifold;
}

bool writeTable(const QString& path, int rows) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("环路,室内温度,盘管间距,单管长度\r\n");
    QByteArray text;
    for (int i = 0; i < rows; ++i) {
        const LoopInput loop = designLoop(i);
        text += "r" + QByteArray::number(i) + "," + QByteArray::number(loop.roomTemp) + "," +
                QByteArray::number(loop.spacingMm) + "," + QByteArray::number(loop.lengthM) +
                "\r\n";
        if (text.size() > (1 << 20)) {
            file.write(text);
            text.clear();
        }
    }
    file.write(text);
    return file.error() == QFileDevice::NoError;
}

struct CliRate {
    double designsPerSecond = 0;
    double peakMiB = 0;
    double cpuNsPerDesign = 0; // processor time of the whole program per design
};

CliRate timeCli(const QString& table) {
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(QStringLiteral(ZORVA_CALC_PROGRAM), {QStringLiteral("--time"), table});
    process.waitForFinished(600000);
    const QString err = QString::fromUtf8(process.readAllStandardError());
    static const QRegularExpression timing(
        QStringLiteral("计时：(\\d+) 个设计，用时 [0-9.]+ s（处理器时间 ([0-9.]+) s），"
                       "每秒 (\\d+) 个设计，峰值常驻内存 ([0-9.]+) MiB"));
    const QRegularExpressionMatch m = timing.match(err);
    if (process.exitCode() != 0 || !m.hasMatch()) {
        std::fprintf(stderr, "zorva-calc failed: %s\n", qPrintable(err));
        return {};
    }
    const double designs = m.captured(1).toDouble();
    return {m.captured(3).toDouble(), m.captured(4).toDouble(),
            designs > 0 ? m.captured(2).toDouble() * 1e9 / designs : 0};
}

// Mean nanoseconds of one whole Calculate run over the first `count`
// generated designs, on this thread; best of three rounds.
double runNanos(int count) {
    const ManifoldInput manifold = designManifold();
    std::vector<FieldRecord> fields;
    for (int i = 0; i < count; ++i) {
        const LoopInput loop = designLoop(i);
        fields.push_back(loopFields(manifold, loop, manifold.supplyTemp, manifold.tempDiff));
    }
    double best = 1e300;
    volatile float sink = 0;
    for (int round = 0; round < 3; ++round) {
        const auto start = std::chrono::steady_clock::now();
        for (const FieldRecord& f : fields)
            sink = evaluateDesign(f).heatOutput;
        const auto stop = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::nano>(stop - start).count());
    }
    (void)sink;
    return best / count;
}

} // namespace

void runCliBench() {
    QTemporaryDir dir;
    CliRate last;
    for (int rows : {50000, 200000}) {
        const QString table = dir.filePath(QStringLiteral("designs-%1.csv").arg(rows));
        if (!writeTable(table, rows)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(table));
            return;
        }
        last = timeCli(table);
        std::printf("cli %.0f designs/s, %.1f MiB (%d rows; processor time %.0f ns/design)\n",
                    last.designsPerSecond, last.peakMiB, rows, last.cpuNsPerDesign);
        QFile::remove(table);
    }
    const int cores = QThread::idealThreadCount();
    const double runNs = runNanos(20000);
    const double allCores = cores * 1e9 / runNs;
    std::printf("cli goal %.0f designs/s (0.8 x %d cores / %.0f ns per run), ratio %.2f\n",
                0.8 * allCores, cores, runNs, last.designsPerSecond / allCores);
}
