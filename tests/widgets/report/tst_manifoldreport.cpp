// SPDX-License-Identifier: GPL-3.0-or-later
// The manifold report of a large project and its export in the background:
// every loop on its page under a repeated header, the pages counted right;
// a cancel, from the window or at any stage of the work, writes no file
// and leaves an old one as it was; the work reports its progress and stops
// when told.

#include "core/engine/manifold.h"
#include "models/manifold/manifoldsheet.h"
#include "models/session/designsession.h"
#include "support/fakedialogs.h"
#include "support/patience.h"
#include "support/pdftext.h"
#include "support/sheetexamplea.h"
#include "widgets/manifold/manifoldwindow.h"
#include "widgets/report/manifoldreport.h"
#include "widgets/report/pdfexportjob.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>

#include <vector>

using namespace zorva;
using namespace zorva::models;
using namespace zorva::ui;

namespace {

QString loopName(int i) {
    return QStringLiteral("环路%1").arg(i, 5, 10, QChar(u'0'));
}

struct Project {
    ManifoldInput manifold;
    std::vector<LoopInput> loops;
    std::vector<LoopResult> results;
    ManifoldTotals totals;
};

Project sheetOf(int count) {
    Project p;
    p.loops.resize(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        p.loops[std::size_t(i)].name = loopName(i + 1).toStdString();
        p.loops[std::size_t(i)].lengthM = 50 + i % 70;
    }
    p.results.resize(p.loops.size());
    computeLoops(p.manifold, p.loops, p.results);
    balance(p.results);
    p.totals = manifoldTotals(p.manifold, p.results);
    return p;
}

// Records the fractions reported and says stop once `stopAt` is reached.
class ProgressLog final : public ReportProgress {
public:
    explicit ProgressLog(double stopAt) : stopAt_(stopAt) {}
    bool advance(double fraction) override {
        fractions.push_back(fraction);
        return fraction < stopAt_;
    }
    std::vector<double> fractions;

private:
    double stopAt_;
};

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

} // namespace

class ManifoldReportTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(dir_.isValid());
        dir_.setAutoRemove(!qEnvironmentVariableIsSet("ZORVA_KEEP_REPORTS"));
    }

    void largeProjectHasEveryLoopOnceUnderItsHeader();
    void workStopsWhenToldAtAnyStage_data();
    void workStopsWhenToldAtAnyStage();
    void stoppedOrFailedJobWritesNothing_data();
    void stoppedOrFailedJobWritesNothing();
    void cancelInTheWindowLeavesNoFile();
    void methodOnEveryPage_data();
    void methodOnEveryPage();

private:
    QTemporaryDir dir_;
};

// 3,000 loops of one line each: every loop once, in order; every page with
// loops starts with the header row; the pages between the first and the
// last hold the same number of rows; the page count in every foot is the
// PDF's own.
void ManifoldReportTest::largeProjectHasEveryLoopOnceUnderItsHeader() {
    if (!havePdfTools())
        QSKIP("poppler-utils (pdftotext, pdfinfo) is not installed");
    constexpr int kLoops = 3000;
    const Project p = sheetOf(kLoops);
    ProgressLog progress(2);
    const QByteArray pdf = manifoldReportPdf(p.manifold, p.loops, p.results, p.totals,
                                             QDateTime::currentDateTime(), &progress);
    QVERIFY(!pdf.isEmpty());
    QVERIFY(std::is_sorted(progress.fractions.begin(), progress.fractions.end()));
    QVERIFY(progress.fractions.back() > 0.999);
    const QString path = savePdf(dir_, QStringLiteral("large.pdf"), pdf);
    const int pages = pdfPages(path);
    QVERIFY2(pages > 10, qPrintable(QString::number(pages)));
    QVERIFY(pdfTool(QStringLiteral("pdfinfo"), {}, path).contains(QStringLiteral("842 x 595")));

    // pdftotext ends every page with a form feed.
    const QStringList texts = pdfText(path).split(u'\f');
    QCOMPARE(texts.size(), pages + 1);
    int next = 1;
    QList<int> perPage;
    for (int page = 0; page < pages; ++page) {
        const QString& text = texts[page];
        QVERIFY2(text.contains(QStringLiteral("第 %1 页，共 %2 页").arg(page + 1).arg(pages)),
                 qPrintable(QString::number(page + 1)));
        int here = 0;
        while (next <= kLoops && text.contains(loopName(next))) {
            ++here;
            ++next;
        }
        if (here > 0)
            QVERIFY2(text.contains(QStringLiteral("序号")) && text.contains(QStringLiteral("状态")),
                     qPrintable(QStringLiteral("page %1 without the header row").arg(page + 1)));
        perPage << here;
    }
    QCOMPARE(next, kLoops + 1);
    // The first page holds the title and the manifold's inputs too, the last
    // one the rest; those between hold the same count.
    QList<int> counts;
    for (int count : perPage)
        if (count > 0)
            counts << count;
    QVERIFY(counts.size() >= 3);
    const int full = counts[1];
    QVERIFY(full >= 20);
    for (int i = 1; i < counts.size() - 1; ++i)
        QCOMPARE(counts[i], full);
    QVERIFY(counts.first() <= full && counts.last() <= full);
    // The totals follow the table.
    QVERIFY(texts[pages - 1].contains(QStringLiteral("水泵扬程")));
}

void ManifoldReportTest::workStopsWhenToldAtAnyStage_data() {
    QTest::addColumn<double>("stopAt");
    QTest::newRow("while the rows are made") << 0.05;
    QTest::newRow("while the rows are measured") << 0.2;
    QTest::newRow("while the pages are painted") << 0.6;
    QTest::newRow("at the last page") << 0.999;
}

void ManifoldReportTest::workStopsWhenToldAtAnyStage() {
    QFETCH(double, stopAt);
    const Project p = sheetOf(1500);
    ProgressLog progress(stopAt);
    const QByteArray pdf = manifoldReportPdf(p.manifold, p.loops, p.results, p.totals,
                                             QDateTime::currentDateTime(), &progress);
    QVERIFY(pdf.isEmpty());
    // Asked often, and never again once told to stop.
    QVERIFY(progress.fractions.size() > 5);
    QVERIFY(progress.fractions.back() >= stopAt);
    QVERIFY(progress.fractions[progress.fractions.size() - 2] < stopAt);
}

void ManifoldReportTest::stoppedOrFailedJobWritesNothing_data() {
    QTest::addColumn<bool>("cancel"); // else the PDF comes out empty
    QTest::newRow("cancelled") << true;
    QTest::newRow("no PDF made") << false;
}

// The job gets a PDF of nothing (a cancel, or a failure to make it): the
// old file of the name keeps its bytes and nothing else appears.
void ManifoldReportTest::stoppedOrFailedJobWritesNothing() {
    QFETCH(bool, cancel);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.pdf"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("%PDF-old");
    }
    PdfExportJob job;
    QSignalSpy finished(&job, &PdfExportJob::finished);
    const Project p = sheetOf(400);
    // The work waits until the test has cancelled (or not), so that the
    // cancel comes while the report is being made.
    QSemaphore started;
    QSemaphore proceed;
    job.start(path, [&](ReportProgress& progress) {
        started.release();
        proceed.acquire();
        if (!cancel)
            return QByteArray();
        return manifoldReportPdf(p.manifold, p.loops, p.results, p.totals,
                                 QDateTime::currentDateTime(), &progress);
    });
    started.acquire();
    if (cancel)
        job.cancel();
    proceed.release();
    QVERIFY(finished.wait(kPatienceMs));
    const auto result = finished.first().first().value<PdfExportResult>();
    QCOMPARE(result.outcome,
             cancel ? PdfExportResult::Outcome::Cancelled : PdfExportResult::Outcome::Failed);
    QCOMPARE(bytesOf(path), QByteArray("%PDF-old"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.pdf"});
    QVERIFY(!job.busy());
}

// From the sheet: 导出报告 shows its progress bar and 取消导出; a click on
// it stops the work, says so, and writes nothing.
void ManifoldReportTest::cancelInTheWindowLeavesNoFile() {
    DesignSession session;
    FakeDialogs dialogs;
    ManifoldWindow window(session, dialogs);
    const Project p = sheetOf(3000);
    std::vector<SheetRow> rows;
    for (const LoopInput& loop : p.loops)
        rows.push_back(SheetRow{loop, {}});
    window.sheet().replaceAll(p.manifold, rows, QStringLiteral("导入"));
    QTRY_VERIFY_WITH_TIMEOUT(window.resultsCurrent(), kPatienceMs);
    window.show();

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cancelled.pdf"));
    dialogs.answerSave(path);
    QSignalSpy progress(&window.reportJob(), &PdfExportJob::progress);
    window.reportAction()->trigger();
    auto* bar = window.findChild<QProgressBar*>(QStringLiteral("reportProgress"));
    auto* cancel = window.findChild<QPushButton*>(QStringLiteral("cancelReport"));
    QVERIFY(bar != nullptr && cancel != nullptr);
    QVERIFY(bar->isVisible() && cancel->isVisible());
    QVERIFY(!window.reportAction()->isEnabled());
    QVERIFY(progress.wait(kPatienceMs));
    QTest::mouseClick(cancel, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!window.reportJob().busy(), kPatienceMs);
    QVERIFY(!bar->isVisible() && !cancel->isVisible());
    QVERIFY(window.reportAction()->isEnabled());
    QVERIFY(!QFile::exists(path));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
    auto* status = window.findChild<QLabel*>(QStringLiteral("status"));
    QVERIFY(status != nullptr);
    QCOMPARE(status->text(), QStringLiteral("导出报告已取消，未写入文件。"));
    QVERIFY(dialogs.unexpected().isEmpty());
}

// The method on every page; by EN 1264-2 the design summary with θ_V of
// the worked example (42.69708 ℃) and the standard's columns.
void ManifoldReportTest::methodOnEveryPage_data() {
    QTest::addColumn<bool>("standard");
    QTest::newRow("EN 1264-2") << true;
    QTest::newRow("本程序方法") << false;
}

void ManifoldReportTest::methodOnEveryPage() {
    QFETCH(bool, standard);
    if (!havePdfTools())
        QSKIP("poppler-utils (pdftotext, pdfinfo) is not installed");
    ManifoldSheet s(ManifoldInput{});
    zorva::test::typeExampleA(s, 40);
    if (!standard)
        s.setMethod(method::Method::Program);
    s.waitForIdle();
    const ManifoldReportMethod method{s.method(), s.model().standard(), 5};
    const QByteArray pdf = manifoldReportPdf(s.manifold(), s.loops(), s.results(), s.totals(),
                                             QDateTime::currentDateTime(), nullptr, method);
    const QString path = savePdf(dir_, QStringLiteral("method.pdf"), pdf);
    const int pages = pdfPages(path);
    QVERIFY(pages > 2);
    const QStringList texts = pdfText(path).split(u'\f');
    const QString name = standard ? QStringLiteral("EN 1264-2") : QStringLiteral("本程序方法");
    for (int page = 0; page < pages; ++page)
        QVERIFY2(texts[page].contains(QStringLiteral("计算方法：") + name),
                 qPrintable(QString::number(page + 1)));
    const QString all = texts.join(u'\n');
    QCOMPARE(all.contains(QStringLiteral("EN 1264-3 设计")), standard);
    QCOMPARE(all.contains(QStringLiteral("42.70")), standard);
    QCOMPARE(all.contains(QStringLiteral("q_u(W/m²)")), standard);
    if (standard) {
        QVERIFY(all.contains(QStringLiteral("设计供水温度 θ_V(℃)")));
        // 次卧: σ 10.01928, θ_R 32.67781 as the sheet shows them.
        QVERIFY(all.contains(QStringLiteral("10.02")) && all.contains(QStringLiteral("32.68")));
    }
}

QTEST_MAIN(ManifoldReportTest)
#include "tst_manifoldreport.moc"
