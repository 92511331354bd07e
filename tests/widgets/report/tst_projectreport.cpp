// SPDX-License-Identifier: GPL-3.0-or-later
// The project report and the plan plot on the example flat: each room's
// load and breakdown as GB 50736-2012 §5.2 gives them (worked out here by
// hand), every loop with its length, the bill's totals, the dew points of
// the cooling page; the work stops when told, a cancel or a failed write
// keeps the old file; the plot measures true at its scale, offers the scale
// that fits, and its legend lists every loop.
//
// With ZORVA_REPORT_OUT set to a folder, the report and the plot are left
// there (for the README's pictures).

#include "core/io/citytablefile.h"
#include "core/io/projectfile.h"
#include "core/io/safesave.h"
#include "core/project/compute.h"
#include "support/fakedialogs.h"
#include "support/filesizecap.h"
#include "support/patience.h"
#include "support/pdftext.h"
#include "widgets/plan/planplot.h"
#include "widgets/plan/planplotcommands.h"
#include "widgets/plan/planwindow.h"
#include "widgets/project/projectwindow.h"
#include "widgets/report/pdfexportjob.h"
#include "widgets/report/projectreport.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>

#include <cerrno>
#include <cmath>
#include <sys/stat.h>
#include <unistd.h>

using namespace zorva;
using namespace zorva::ui;

namespace {

const QString kFlat = QStringLiteral(ZORVA_TESTS_SOURCE_DIR "/../examples/flat.zorvaproj");

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

void writeOld(const QString& path) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write("%PDF-old");
}

// The line of the layout text that starts with `first`.
QString lineStarting(const QString& text, const QString& first) {
    for (const QString& line : text.split(u'\n'))
        if (line.trimmed().startsWith(first + u' '))
            return line;
    return {};
}

// Whether `line` holds the cells in this order, each as a whole word.
bool inOrder(const QString& line, const QStringList& cells) {
    qsizetype from = 0;
    for (const QString& cell : cells) {
        const QRegularExpression word(
            QStringLiteral("(^|\\s)%1(\\s|$)").arg(QRegularExpression::escape(cell)));
        const QRegularExpressionMatch m = word.match(line, from);
        if (!m.hasMatch())
            return false;
        from = m.capturedEnd();
    }
    return true;
}

class StopAt final : public ReportProgress {
public:
    explicit StopAt(double at) : at_(at) {}
    bool advance(double fraction) override {
        rising = rising && fraction >= last;
        last = fraction;
        return fraction < at_;
    }
    double last = 0;
    bool rising = true;

private:
    double at_;
};

} // namespace

class ProjectReportTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void roomRowsCarryLoadAndBreakdown_data();
    void roomRowsCarryLoadAndBreakdown();
    void everyLoopWithItsLength();
    void materialsTotals();
    void coolingPage_data();
    void coolingPage();
    void workStopsWhenTold_data();
    void workStopsWhenTold();
    void cancelledExportKeepsTheOldFile();
    void failedWriteKeepsTheOldFile_data();
    void failedWriteKeepsTheOldFile();
    void printGoesThroughTheDialog_data();
    void printGoesThroughTheDialog();
    void plotScaleAndFit_data();
    void plotScaleAndFit();
    void plotWallMeasuresTrueOnPaper();
    void plotPdfSheetAndLegend();
    void plotLegendCountsEveryLoop();
    void plotOffersTheScaleThatFits_data();
    void plotOffersTheScaleThatFits();

private:
    QString layoutText(const QByteArray& pdf, const QString& name);
    ProjectReportData flatData(project::Season season, double humidity = 0.5) const;

    io::CityTableLoad cities_ = io::loadBuiltinCityTable();
    project::Project flat_;
    project::ProjectResult result_;
    QTemporaryDir dir_;
    QString report_; // the flat's report as layout text
};

QString ProjectReportTest::layoutText(const QByteArray& pdf, const QString& name) {
    const QString path = savePdf(dir_, name, pdf);
    const QString out = qEnvironmentVariable("ZORVA_REPORT_OUT");
    if (!out.isEmpty()) {
        QFile::remove(QDir(out).filePath(name));
        QFile::copy(path, QDir(out).filePath(name));
    }
    return pdfTool(QStringLiteral("pdftotext"),
                   {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8")},
                   path);
}

ProjectReportData ProjectReportTest::flatData(project::Season season, double humidity) const {
    project::Project p = flat_;
    p.settings.cooling.season = season;
    for (project::Room& room : p.rooms)
        room.cooling.humidity = humidity;
    project::ComputeOptions options;
    options.cities = &*cities_;
    return {p, project::computeProject(p, options), QStringLiteral("flat"),
            QDateTime(QDate(2026, 12, 9), QTime(10, 0))};
}

void ProjectReportTest::initTestCase() {
    io::ignoreFileSizeSignal();
    if (!havePdfTools())
        QSKIP("poppler-utils (pdftotext, pdfinfo) is not installed");
    QVERIFY(cities_.ok());
    const Result<io::ProjectDocument> read = io::readProjectDocumentFile(kFlat);
    QVERIFY2(read.ok(), qPrintable(read.error()));
    flat_ = read->project;
    const ProjectReportData data = flatData(flat_.settings.cooling.season);
    result_ = data.result;
    report_ = layoutText(projectReportPdf(data), QStringLiteral("project-report.pdf"));
    QVERIFY(!report_.isEmpty());
}

// The flat lies in Beijing (t_wn = −7.6 ℃, sunshine 64 %), floor heating
// at t_n − 2 (JGJ 142-2012 §3.3): Δt = t_n − 2 + 7.6. Basic loss K·F·Δt
// over walls, windows and roof (the heated floor not counted); additions
// S −15 %, E/W −5 %, N +10 % on the vertical elements; infiltration
// 0.28·ρ·0.5·V·Δt with ρ = 353/265.4. By hand, e.g. 次卧 (Δt = 23.6 K):
// 155.76 + 118.944 + 152.928 = 427.632 W; additions 27.4704 W;
// 0.28 × 1.3300678 × 15.12 × 23.6 = 132.891 W; total 587.993 W, 54.44 W/m².
void ProjectReportTest::roomRowsCarryLoadAndBreakdown_data() {
    QTest::addColumn<QString>("room");
    QTest::addColumn<QStringList>("cells"); // load, transmission, infiltration, additions, W/m²
    QTest::newRow("客厅") << QStringLiteral("客厅")
                          << QStringList{"1949.7", "1646.6", "432.5", "-129.3", "60.18"};
    QTest::newRow("主卧") << QStringLiteral("主卧")
                          << QStringList{"963.5", "844.2", "186.0", "-66.8", "63.72"};
    QTest::newRow("次卧") << QStringLiteral("次卧")
                          << QStringList{"588.0", "427.6", "132.9", "27.5", "54.44"};
    QTest::newRow("厨房") << QStringLiteral("厨房")
                          << QStringList{"379.8", "283.0", "77.3", "19.4", "52.75"};
    QTest::newRow("卫生间") << QStringLiteral("卫生间")
                            << QStringList{"354.2", "266.6", "68.9", "18.7", "82.00"};
}

void ProjectReportTest::roomRowsCarryLoadAndBreakdown() {
    QFETCH(QString, room);
    QFETCH(QStringList, cells);
    const QString line = lineStarting(report_, room);
    QVERIFY2(inOrder(line, QStringList{QStringLiteral("GB")} + cells), qPrintable(line));
    QVERIFY(report_.contains(QStringLiteral("GB 50736-2012 §5.2")));
}

// Each loop of the flat by name with its length (as the engine lays it)
// in its room's row and in the manifold's loop table with its valve
// setting; the index loop named.
void ProjectReportTest::everyLoopWithItsLength() {
    int loops = 0;
    for (std::size_t i = 0; i < result_.rooms.size(); ++i)
        for (const rooms::RoomLoop& loop : result_.rooms[i].design.loops) {
            const QString name = QString::fromStdString(loop.name);
            const QString length = QString::number(loop.length, 'f', 1);
            QVERIFY2(report_.contains(QStringLiteral("%1 %2 m").arg(name, length)),
                     qPrintable(name));
            const QString row = lineStarting(report_, name);
            QVERIFY2(inOrder(row, {QString::fromStdString(flat_.rooms[i].name), length}),
                     qPrintable(row));
            ++loops;
        }
    // 客厅: 28 m² at 200 mm is 140 m of pipe, over the 120 m limit: two
    // loops; every other room one.
    QCOMPARE(loops, 6);
    // The index loop, and only it, is named so in its row.
    int index = 0;
    for (const project::ProjectLoop& loop : result_.manifolds[0].loops) {
        const bool named = lineStarting(report_, QString::fromStdString(loop.name))
                               .contains(QStringLiteral("最不利环路"));
        QCOMPARE(named, loop.indexLoop);
        index += named;
    }
    QCOMPARE(index, 1);
    QVERIFY(report_.contains(QStringLiteral("水泵扬程")));
    QVERIFY(report_.contains(QStringLiteral("混合回水温度")));
}

// The pipe is the loops' sum; one actuator a loop; a thermostat in every
// room but the bathroom (the flat turns its thermostat off); every loop on
// a roll of the cutting plan.
void ProjectReportTest::materialsTotals() {
    double pipe = 0;
    int loops = 0;
    for (const project::RoomResult& room : result_.rooms)
        for (const rooms::RoomLoop& loop : room.design.loops) {
            pipe += loop.length;
            ++loops;
        }
    // Quantity and unit, the spaces between the cells left out.
    const auto item = [&](const QString& name) {
        return lineStarting(report_, name).remove(QRegularExpression(QStringLiteral("\\s")));
    };
    QVERIFY2(item(QStringLiteral("加热管")).endsWith(QString::number(pipe, 'f', 1) + u'm'),
             qPrintable(item(QStringLiteral("加热管")) + QString::number(pipe, 'f', 3)));
    QVERIFY(item(QStringLiteral("电热执行器")).endsWith(QStringLiteral("%1个").arg(loops)));
    QVERIFY(item(QStringLiteral("房间温控器")).endsWith(QStringLiteral("4个")));
    const QString cutting = report_.mid(report_.indexOf(QStringLiteral("下料方案")));
    for (const project::RoomResult& room : result_.rooms)
        for (const rooms::RoomLoop& loop : room.design.loops)
            QVERIFY(cutting.contains(QString::fromStdString(loop.name)));
}

// Magnus (b = 17.62, c = 243.12 ℃): 26 ℃ at 50 % → 14.77 ℃, at 60 % →
// 17.63 ℃; the lowest supply 2 K above.
void ProjectReportTest::coolingPage_data() {
    QTest::addColumn<int>("season");
    QTest::addColumn<double>("humidity");
    QTest::addColumn<QString>("dewPoint");
    QTest::addColumn<QString>("minSupply");
    QTest::newRow("both seasons, 50 %") << int(project::Season::Both) << 0.5 << "14.8"
                                        << "16.8";
    QTest::newRow("cooling, 60 %") << int(project::Season::Cooling) << 0.6 << "17.6"
                                   << "19.6";
    QTest::newRow("heating only") << int(project::Season::Heating) << 0.5 << ""
                                  << "";
}

void ProjectReportTest::coolingPage() {
    QFETCH(int, season);
    QFETCH(double, humidity);
    QFETCH(QString, dewPoint);
    QFETCH(QString, minSupply);
    const ProjectReportData data = flatData(project::Season(season), humidity);
    const QString text = layoutText(projectReportPdf(data), QStringLiteral("cooling.pdf"));
    const qsizetype page = text.indexOf(QStringLiteral("五、供冷"));
    QCOMPARE(page >= 0, !dewPoint.isEmpty());
    QCOMPARE(text.contains(QStringLiteral("各环路的供暖和供冷")),
             project::Season(season) == project::Season::Both);
    if (dewPoint.isEmpty())
        return;
    const QString cooling = text.mid(page);
    for (const project::Room& room : data.project.rooms) {
        const QString row = lineStarting(cooling, QString::fromStdString(room.name));
        QVERIFY2(inOrder(row, {QStringLiteral("26.0"), QString::number(humidity * 100), dewPoint,
                               minSupply}),
                 qPrintable(row));
    }
    QVERIFY(cooling.contains(QStringLiteral("Magnus")));
    QVERIFY(cooling.contains(QStringLiteral("JGJ 142-2012 §3.1")));
}

// Told to stop in the rooms, the loops or the pages, the report comes out
// empty; let run, its fractions rise to 1.
void ProjectReportTest::workStopsWhenTold_data() {
    QTest::addColumn<double>("stopAt");
    QTest::newRow("at once") << 0.0;
    QTest::newRow("in the pages") << 0.5;
    QTest::newRow("at the end") << 0.999;
    QTest::newRow("never") << 2.0;
}

void ProjectReportTest::workStopsWhenTold() {
    QFETCH(double, stopAt);
    StopAt progress(stopAt);
    const QByteArray pdf = projectReportPdf(flatData(project::Season::Both), &progress);
    QCOMPARE(pdf.isEmpty(), stopAt <= 1);
    QVERIFY(progress.rising);
    if (stopAt > 1)
        QCOMPARE(progress.last, 1.0);
}

// A cancel while the report is being made writes nothing: the old file of
// the name keeps its bytes and nothing else appears.
void ProjectReportTest::cancelledExportKeepsTheOldFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.pdf"));
    writeOld(path);
    const ProjectReportData data = flatData(project::Season::Both);
    PdfExportJob job;
    QSignalSpy finished(&job, &PdfExportJob::finished);
    QSemaphore started;
    QSemaphore proceed;
    job.start(path, [&](ReportProgress& progress) {
        started.release();
        proceed.acquire();
        return projectReportPdf(data, &progress);
    });
    started.acquire();
    job.cancel();
    proceed.release();
    QVERIFY(finished.wait(kPatienceMs));
    QCOMPARE(finished.first().first().value<PdfExportResult>().outcome,
             PdfExportResult::Outcome::Cancelled);
    QCOMPARE(bytesOf(path), QByteArray("%PDF-old"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.pdf"});
}

void ProjectReportTest::failedWriteKeepsTheOldFile_data() {
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("reason");
    QTest::newRow("read-only folder") << "readOnly" << qt_error_string(EACCES);
    QTest::newRow("disk full at the size cap") << "sizeCap" << qt_error_string(EFBIG);
}

// From the project window's 文件 menu: the write fails, the warning says
// so in Chinese with the system's reason, the old file keeps its bytes.
void ProjectReportTest::failedWriteKeepsTheOldFile() {
    QFETCH(QString, failure);
    QFETCH(QString, reason);
    if (failure == "readOnly" && ::geteuid() == 0)
        QSKIP("root writes into a read-only folder");
    FakeDialogs dialogs;
    ProjectWindow window(dialogs);
    window.document().load(flat_, kFlat);
    window.document().waitForResult();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("报告.pdf"));
    writeOld(path);
    auto* job = window.findChild<PdfExportJob*>(QStringLiteral("projectReportJob"));
    auto* action = window.findChild<QAction*>(QStringLiteral("exportProjectReport"));
    QVERIFY(job && action);
    dialogs.answerSave(path);
    dialogs.expectMessages(1);
    {
        const FileSizeCap cap{failure == "sizeCap" ? 1000 : RLIM_INFINITY};
        if (failure == "readOnly")
            QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0500) == 0);
        action->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!job->busy(), kPatienceMs);
        ::chmod(QFile::encodeName(dir.path()).constData(), 0700);
    }
    QCOMPARE(dialogs.messages().size(), 1);
    const QString text = dialogs.messages().first().text;
    QVERIFY2(text.startsWith(QStringLiteral("无法保存报告")) && text.contains(path) &&
                 text.contains(reason),
             qPrintable(text));
    QCOMPARE(bytesOf(path), QByteArray("%PDF-old"));
    QVERIFY(action->isEnabled());
    QVERIFY(dialogs.unexpected().isEmpty());
}

void ProjectReportTest::printGoesThroughTheDialog_data() {
    QTest::addColumn<bool>("accept");
    QTest::newRow("printed") << true;
    QTest::newRow("dialog cancelled") << false;
}

// 打印项目报告… asks the print dialog; printed, the pages are the report's.
void ProjectReportTest::printGoesThroughTheDialog() {
    QFETCH(bool, accept);
    FakeDialogs dialogs;
    ProjectWindow window(dialogs);
    window.document().load(flat_, kFlat);
    window.document().waitForResult();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("printed.pdf"));
    dialogs.answerPrint(accept, path);
    window.findChild<QAction*>(QStringLiteral("printProjectReport"))->trigger();
    QCOMPARE(dialogs.printRequests(), 1);
    QCOMPARE(QFile::exists(path), accept);
    if (accept) {
        const QString text = pdfText(path);
        QVERIFY(text.contains(QStringLiteral("二、房间表")));
        QVERIFY(text.contains(QStringLiteral("1949.7")));
    }
    QVERIFY(dialogs.unexpected().isEmpty());
}

// The flat spans 11.4 × 9.15 m (with the manifold): at 1:50 it needs
// 228 × 183 mm, within A3's drawing area (285 × 267 mm) but not A4's
// (177 × 180 mm), where 1:75 is the finest standard scale that fits.
void ProjectReportTest::plotScaleAndFit_data() {
    QTest::addColumn<int>("paper");
    QTest::addColumn<int>("scale");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<int>("fitting");
    QTest::addColumn<int>("drawn");
    QTest::newRow("A3 1:50") << int(QPageSize::A3) << 50 << true << 50 << 50;
    QTest::newRow("A4 1:50") << int(QPageSize::A4) << 50 << false << 75 << 50;
    QTest::newRow("A4 1:100") << int(QPageSize::A4) << 100 << true << 75 << 100;
    QTest::newRow("A4 fit") << int(QPageSize::A4) << 0 << true << 75 << 75;
}

void ProjectReportTest::plotScaleAndFit() {
    QFETCH(int, paper);
    QFETCH(int, scale);
    QFETCH(bool, fits);
    QFETCH(int, fitting);
    QFETCH(int, drawn);
    PlanPlotOptions o;
    o.paper = QPageSize::PageSizeId(paper);
    o.scale = scale;
    const PlanPlotFrame f = planPlotFrame(flat_, result_, o);
    QCOMPARE(f.plan.width(), 11400.0);
    QCOMPARE(f.fits, fits);
    QCOMPARE(f.fittingScale, fitting);
    QCOMPARE(f.scale, drawn);
    // 主卧's south wall, 4.2 m, on the paper.
    const QPointF a = f.toSheet({6600, 900});
    const QPointF b = f.toSheet({10800, 900});
    QCOMPARE(b.x() - a.x(), 4200.0 / drawn);
    QCOMPARE(a.y(), b.y());
}

// Painted at 1:50 on A3 at 4 dots a millimetre: along 主卧's south wall
// (4.2 m) the outline is one dark run of 84 mm (plus the pen's width).
void ProjectReportTest::plotWallMeasuresTrueOnPaper() {
    PlanPlotOptions o;
    o.paper = QPageSize::A3;
    o.scale = 50;
    const double k = 4;
    QImage image(int(420 * k), int(297 * k), QImage::Format_RGB32);
    image.setDotsPerMeterX(int(k * 1000));
    image.setDotsPerMeterY(int(k * 1000));
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QVERIFY(paintPlanPlot(painter, k, flat_, result_, o));
    }
    const PlanPlotFrame f = planPlotFrame(flat_, result_, o);
    const QPointF mid = f.toSheet({8700, 900}) * k;
    const int y = int(std::lround(mid.y()));
    const auto dark = [&](int x) { return qGray(image.pixel(x, y)) < 96; };
    QVERIFY(dark(int(mid.x())));
    int left = int(mid.x());
    int right = left;
    while (left > 0 && dark(left - 1))
        --left;
    while (right + 1 < image.width() && dark(right + 1))
        ++right;
    const double runMm = (right - left + 1) / k;
    QVERIFY2(runMm >= 84 && runMm <= 85.5, qPrintable(QString::number(runMm)));
}

// The PDF is one A3 landscape sheet (420 × 297 mm: 1191 × 842 pt) with the title block, and the
// legend names every routed loop with its routed length.
void ProjectReportTest::plotPdfSheetAndLegend() {
    PlanPlotOptions o;
    o.paper = QPageSize::A3;
    o.scale = 50;
    o.project = QStringLiteral("flat");
    o.when = QDateTime(QDate(2026, 12, 9), QTime(10, 0));
    const QByteArray pdf = planPlotPdf(flat_, result_, o);
    const QString path = savePdf(dir_, QStringLiteral("plan-plot.pdf"), pdf);
    const QString text = layoutText(pdf, QStringLiteral("plan-plot.pdf"));
    QCOMPARE(pdfPages(path), 1);
    const QString info = pdfTool(QStringLiteral("pdfinfo"), {}, path);
    QVERIFY2(info.contains(QStringLiteral("1191 x 842 pts (A3)")), qPrintable(info));
    for (const QString& cell : {QStringLiteral("地暖盘管平面图"), QStringLiteral("1:50"),
                                QStringLiteral("2026-12-09"), QStringLiteral("第 1 张，共 1 张")})
        QVERIFY2(text.contains(cell), qPrintable(cell));
    int loops = 0;
    for (std::size_t i = 0; i < result_.rooms.size(); ++i) {
        const project::RoomPlanResult& plan = result_.rooms[i].plan;
        QVERIFY(plan.routed());
        for (const layout::RoutedLoop& loop : plan.layout->loops) {
            const QString row = lineStarting(text, QString::fromStdString(loop.label));
            QVERIFY2(inOrder(row, {QString::fromStdString(flat_.rooms[i].name),
                                   QString::number(loop.routedLength, 'f', 1),
                                   QString::number(loop.spacing, 'f', 0)}),
                     qPrintable(row));
            ++loops;
        }
    }
    QCOMPARE(loops, 6);
}

// Twelve flats side by side on A4: more loops than the legend holds; the
// loops it lists and the number it says it left out add up to all of them
// (loop labels stand nowhere else on the sheet).
void ProjectReportTest::plotLegendCountsEveryLoop() {
    project::Project many = flat_;
    many.rooms.clear();
    for (int copy = 0; copy < 12; ++copy)
        for (project::Room room : flat_.rooms) {
            room.name += std::to_string(copy + 1);
            for (project::PlanPoint& p : room.plan.outline)
                p.x += 12 * copy;
            for (project::PlanDoor& d : room.plan.doors)
                d.position.x += 12 * copy;
            for (project::PlanNoPipeArea& a : room.plan.noPipeAreas)
                for (project::PlanPoint& p : a.outline)
                    p.x += 12 * copy;
            many.rooms.push_back(room);
        }
    project::ComputeOptions options;
    options.cities = &*cities_;
    const project::ProjectResult result = project::computeProject(many, options);
    int loops = 0;
    for (const project::RoomResult& room : result.rooms)
        if (room.plan.routed())
            loops += int(room.plan.layout->loops.size());
    QVERIFY(loops > 60);
    PlanPlotOptions o;
    o.paper = QPageSize::A4;
    o.scale = 0;
    const QString text = layoutText(planPlotPdf(many, result, o), QStringLiteral("many.pdf"));
    int listed = 0;
    for (const project::RoomResult& room : result.rooms)
        if (room.plan.routed())
            for (const layout::RoutedLoop& loop : room.plan.layout->loops)
                listed += inOrder(text, {QString::fromStdString(loop.label)});
    const QRegularExpressionMatch left =
        QRegularExpression(QStringLiteral("另有 (\\d+) 个环路未列出")).match(text);
    QVERIFY2(left.hasMatch(), qPrintable(text.right(2000)));
    QVERIFY(listed > 20);
    QCOMPARE(listed + left.captured(1).toInt(), loops);
}

void ProjectReportTest::plotOffersTheScaleThatFits_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("written");
    QTest::newRow("take 1:75") << int(QMessageBox::Yes) << true;
    QTest::newRow("decline") << int(QMessageBox::Cancel) << false;
}

// A4 at 1:50 does not hold the flat: the question names the scale that
// fits; taken, the sheet is written at it; declined, nothing is asked more.
void ProjectReportTest::plotOffersTheScaleThatFits() {
    QFETCH(int, answer);
    QFETCH(bool, written);
    FakeDialogs dialogs;
    PlanWindow window(flat_, result_);
    addPlanPlotCommands(window, dialogs, flat_, result_, QStringLiteral("flat"));
    auto* paper = window.findChild<QComboBox*>(QStringLiteral("plotPaper"));
    auto* scale = window.findChild<QComboBox*>(QStringLiteral("plotScale"));
    auto* job = window.findChild<PdfExportJob*>(QStringLiteral("planPlotJob"));
    QVERIFY(paper && scale && job);
    paper->setCurrentIndex(paper->findData(int(QPageSize::A4)));
    scale->setCurrentIndex(scale->findData(50));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plan.pdf"));
    dialogs.answerQuestion(QMessageBox::StandardButton(answer));
    if (written)
        dialogs.answerSave(path);
    window.findChild<QPushButton*>(QStringLiteral("exportPlanPlot"))->click();
    QCOMPARE(dialogs.questions().size(), 1);
    QVERIFY(dialogs.questions().first().text.contains(QStringLiteral("1:75")));
    QTRY_VERIFY_WITH_TIMEOUT(!job->busy(), kPatienceMs);
    QCOMPARE(QFile::exists(path), written);
    if (written) {
        QVERIFY(pdfText(path).contains(QStringLiteral("1:75")));
        QVERIFY(pdfTool(QStringLiteral("pdfinfo"), {}, path).contains(QStringLiteral("(A4)")));
        QCOMPARE(scale->currentData().toInt(), 75);
    }
    QVERIFY(dialogs.unexpected().isEmpty());
}

QTEST_MAIN(ProjectReportTest)
#include "tst_projectreport.moc"
