// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_report.h"

#include "manifoldbench.h"
#include "widgets/report/manifoldreport.h"
#include "widgets/report/pdfexportjob.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

using namespace zorva;

namespace {

// Pages of a PDF written by Qt: one "/Type /Page" object each.
int pdfPages(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray bytes = file.readAll();
    return static_cast<int>(bytes.count("/Type /Page\n") + bytes.count("/Type /Page ") +
                            bytes.count("/Type /Page>"));
}

} // namespace

int runReportBench(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    constexpr std::size_t kLoops = 10000;
    const bench::BenchProject project = bench::makeBenchProject(kLoops);
    const bench::ProjectSummary summary = bench::computeProjectSerial(project);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.pdf"));

    ui::PdfExportJob job;
    QElapsedTimer clock;
    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    QTimer ticker;
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout,
                     [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
    QEventLoop loop;
    ui::PdfExportResult result;
    QObject::connect(&job, &ui::PdfExportJob::finished, [&](const ui::PdfExportResult& r) {
        result = r;
        loop.quit();
    });
    clock.start();
    sinceTick.start();
    ticker.start();
    job.start(path, [&project, &summary](ui::ReportProgress& progress) {
        return ui::manifoldReportPdf(project.manifold, project.loops, summary.results,
                                     summary.totals, QDateTime::currentDateTime(), &progress);
    });
    loop.exec();
    const qint64 ms = clock.elapsed();
    ticker.stop();
    if (result.outcome != ui::PdfExportResult::Outcome::Written) {
        std::printf("report FAILED: %s\n", qPrintable(result.error));
        return 1;
    }
    std::printf("report %lld ms (%zu loops, %d pages, longest UI gap %lld ms)\n",
                static_cast<long long>(ms), kLoops, pdfPages(path),
                static_cast<long long>(longestGap));
    return 0;
}
