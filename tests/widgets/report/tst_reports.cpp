// SPDX-License-Identifier: GPL-3.0-or-later
// The reports read back from their PDF files: the design report of the
// windows' design through the tools menu, the manifold report of many loops
// over several pages, the diagram printed to a PDF printer, and the failures
// that must write nothing.

#include "core/engine/manifold.h"
#include "support/pdftext.h"
#include "support/windowtestkit.h"
#include "widgets/main/pictureprint.h"
#include "widgets/report/designreport.h"
#include "widgets/report/manifoldreport.h"
#include "widgets/report/reportcommands.h"
#include "widgets/tools/toolset.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>

using namespace zorva;
using namespace zorva::ui;

Q_DECLARE_METATYPE(zorva::method::Method)

namespace {

QString loopName(int i) {
    return QStringLiteral("卧室%1").arg(i, 3, 10, QChar(u'0'));
}

} // namespace

class ReportsTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        if (!havePdfTools())
            QSKIP("poppler-utils (pdftotext, pdffonts, pdfinfo) is not installed");
        QVERIFY(dir_.isValid());
        // Kept for a look at the pages when asked for.
        dir_.setAutoRemove(!qEnvironmentVariableIsSet("ZORVA_KEEP_REPORTS"));
    }

    void designReportReadsBack_data();
    void designReportReadsBack();
    void chineseFontsAreEmbedded();
    void reportNamesMethodAndCooling_data();
    void reportNamesMethodAndCooling();
    void manifoldReportRepeatsItsHeader();
    void failedSaveWritesNothing_data();
    void failedSaveWritesNothing();
    void printedPictureIsCentredWithCaption();
    void printerThatCannotPrintIsReported();
    void pictureFitsThePage_data();
    void pictureFitsThePage();

private:
    void trigger(ToolSet& tools, const char* name) {
        auto* action = tools.windows().menu()->findChild<QAction*>(QLatin1String(name));
        QVERIFY2(action != nullptr, name);
        action->trigger();
    }

    QTemporaryDir dir_;
};

void ReportsTest::designReportReadsBack_data() {
    QTest::addColumn<QString>("how"); // export or print
    // 0: nothing, 1: press 计算, 2: then edit the room temperature, 3: a loop
    // of 83 m, then 计算
    QTest::addColumn<int>("steps");
    QTest::addColumn<double>("load"); // W/m², 0: none
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");

    const QStringList always{"设计计算书", "室内温度", "盘管间距",      "3、填充层",
                             "90度弯头数", "W/m/℃",    "1、计算原理图", "不同管间距"};
    const QStringList results = defaultResults();
    QTest::newRow("calculated, exported")
        << "export" << 1 << 0.0 << always + results + QStringList{"合格", "EN 1264-2", "K_H"}
        << QStringList{"尚无计算结果", "不合格", "上次计算"};
    // The chart's axis titles are text on paper as well.
    QTest::newRow("calculated, printed")
        << "print" << 1 << 0.0 << always + results + QStringList{"供水温度 (℃)"}
        << QStringList{"尚无计算结果"};
    // 92.6 W/m² against 60 W/m²: above 1.2 × the load.
    QTest::newRow("load well below the output")
        << "export" << 1 << 60.0 << QStringList{"偏大", "92.6"} << QStringList{"不合格"};
    QTest::newRow("load above the output")
        << "export" << 1 << 150.0 << QStringList{"不合格", "所需供水温度"} << QStringList{};
    // v = 0.2498 m/s: printed with the digits of its verdict; every limit
    // with its edition.
    QTest::newRow("velocity at its limit")
        << "export" << 3 << 0.0
        << QStringList{"0.2498 m/s", "不合格", "JGJ 142-2012 表 3.1.3", "GB 50736-2012 第 5.4.1 条"}
        << QStringList{};
    QTest::newRow("nothing calculated")
        << "export" << 0 << 0.0 << always + QStringList{"尚无计算结果"}
        << QStringList{"92.6", "0.40", "K_H"};
    // The report keeps to the calculation: its inputs (18 ℃) and results.
    QTest::newRow("edited after the calculation")
        << "export" << 2 << 0.0 << results + QStringList{"上次计算", "18 ℃"}
        << QStringList{"尚无计算结果", "25 ℃"};
}

void ReportsTest::designReportReadsBack() {
    QFETCH(QString, how);
    QFETCH(int, steps);
    QFETCH(double, load);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);

    TestWindows w;
    ToolSet tools(w.registry, w.dialogs, nullptr);
    if (load > 0) {
        zorva::CheckLimits limits = tools.session().limits();
        limits.loadPerArea = load;
        tools.session().setLimits(limits);
    }
    if (steps == 3)
        retype(w.field(zorva::LoopLengthField), QStringLiteral("83"));
    if (steps >= 1) {
        w.main().calculateButton()->click();
        if (steps < 3)
            QCOMPARE(w.results(), defaultResults());
    }
    if (steps == 2)
        retype(w.field(zorva::RoomTempField), QStringLiteral("25"));
    const QString path =
        dir_.filePath(QStringLiteral("design-%1.pdf").arg(QTest::currentDataTag()));
    if (how == "export") {
        w.dialogs.answerSave(path.chopped(4)); // the suffix is added
        trigger(tools, "exportReport");
    } else {
        w.dialogs.answerPrint(true, path);
        trigger(tools, "printReport");
    }
    QVERIFY(w.dialogs.messages().isEmpty());
    const QString text = pdfText(path);
    QVERIFY2(!text.isEmpty(), qPrintable(path));
    for (const QString& word : present)
        QVERIFY2(text.contains(word), qPrintable(word));
    for (const QString& word : absent)
        QVERIFY2(!text.contains(word), qPrintable(word));
}

void ReportsTest::reportNamesMethodAndCooling_data() {
    QTest::addColumn<zorva::method::Method>("chosen");
    QTest::addColumn<bool>("cooling");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");
    // EN 1264-2 example b is the default design: q 102.8685 W/m², θ_F,m
    // 27.23379 ℃, q_G 88.84253 W/m². Cooling: the floor-cooling example 1
    // (18/21 ℃, 26 ℃ 50 %, 900 W on 36 m²): q_C 19.20708 W/m², θ_F,m
    // 23.25613 ℃, θ_d 14.77001 ℃, Q_adm 691.4548 W.
    QTest::newRow("EN 1264-2, heating")
        << zorva::method::Method::En1264 << false
        << QStringList{"计算方法：EN 1264-2", "q = 102.9 W/m²", "θ_F,m = 27.2 ℃", "q_G = 88.8 W/m²"}
        << QStringList{"供冷校核"};
    QTest::newRow("program, cooling") << zorva::method::Method::Program << true
                                      << QStringList{"计算方法：本程序方法",
                                                     "供冷校核",
                                                     "19.21 W/m²",
                                                     "23.26 ℃",
                                                     "14.77 ℃",
                                                     "16.77 ℃",
                                                     "691.45 W",
                                                     "900.00 W",
                                                     "EN 1264-5"}
                                      << QStringList{"按 EN 1264-2 的设计数值"};
}

void ReportsTest::reportNamesMethodAndCooling() {
    QFETCH(zorva::method::Method, chosen);
    QFETCH(bool, cooling);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);
    TestWindows w;
    ToolSet tools(w.registry, w.dialogs, nullptr);
    tools.session().setMethod(chosen);
    if (cooling) {
        tools.session().setSeason(zorva::models::Season::Cooling);
        zorva::models::CoolingSettings c = tools.session().cooling();
        c.supplyTemp = 18;
        c.returnTemp = 21;
        c.loadPerArea = 25;
        tools.session().setCooling(c);
    }
    w.main().calculateButton()->click();
    const QString path =
        savePdf(dir_, QStringLiteral("method-%1.pdf").arg(QTest::currentDataTag()),
                designReportPdf(designReportData(tools.session(), QDateTime::currentDateTime())));
    const QString text = pdfText(path).simplified();
    QVERIFY(!text.isEmpty());
    for (const QString& word : present)
        QVERIFY2(text.contains(word), qPrintable(word));
    for (const QString& word : absent)
        QVERIFY2(!text.contains(word), qPrintable(word));
}

void ReportsTest::chineseFontsAreEmbedded() {
    TestWindows w;
    ToolSet tools(w.registry, w.dialogs, nullptr);
    w.main().calculateButton()->click();
    const QString path =
        savePdf(dir_, "fonts.pdf",
                designReportPdf(designReportData(tools.session(), QDateTime::currentDateTime())));
    const QStringList lines = pdfTool(QStringLiteral("pdffonts"), {}, path).split(u'\n');
    // Two header lines, then one line per font: name type encoding emb sub uni ...
    QVERIFY(lines.size() > 3);
    bool chinese = false;
    for (const QString& line : lines.mid(2)) {
        if (line.trimmed().isEmpty())
            continue;
        const QStringList cells = line.split(QRegularExpression(QStringLiteral("\\s+")));
        QVERIFY2(cells.size() >= 7, qPrintable(line));
        QVERIFY2(cells[cells.size() - 5] == QLatin1String("yes"), qPrintable(line)); // emb
        chinese = chinese || line.contains(QLatin1String("UMing"));
    }
    QVERIFY(chinese);
}

void ReportsTest::manifoldReportRepeatsItsHeader() {
    constexpr int kLoops = 120;
    zorva::ManifoldInput manifold;
    manifold.allowance = 5;
    std::vector<zorva::LoopInput> loops(kLoops);
    for (int i = 0; i < kLoops; ++i) {
        loops[std::size_t(i)].name = loopName(i + 1).toStdString();
        loops[std::size_t(i)].lengthM = 60 + i % 50;
    }
    std::vector<zorva::LoopResult> results(kLoops);
    zorva::computeLoops(manifold, loops, results);
    zorva::balance(results);
    const zorva::ManifoldTotals totals = zorva::manifoldTotals(manifold, results);
    const QString path =
        savePdf(dir_, "manifold.pdf", manifoldReportPdf(manifold, loops, results, totals));

    const int pages = pdfPages(path);
    QVERIFY2(pages >= 3, qPrintable(QString::number(pages)));
    QList<int> seen(kLoops, 0);
    for (int page = 1; page <= pages; ++page) {
        const QString text = pdfText(path, page);
        QVERIFY(text.contains(QStringLiteral("第 %1 页，共 %2 页").arg(page).arg(pages)));
        bool loopsHere = false;
        for (int i = 0; i < kLoops; ++i) {
            const int count = static_cast<int>(text.count(loopName(i + 1)));
            seen[i] += count;
            loopsHere = loopsHere || count > 0;
        }
        if (loopsHere)
            QVERIFY2(text.contains(QStringLiteral("序号")) && text.contains(QStringLiteral("状态")),
                     qPrintable(QStringLiteral("page %1 without the header row").arg(page)));
    }
    // Each loop has its row; the index loop (the first of the longest, 109 m)
    // is named once more in the totals.
    QList<int> expected(kLoops, 1);
    expected[49] = 2;
    QCOMPARE(seen, expected);
    const QString all = pdfText(path);
    QVERIFY(all.contains(QStringLiteral("分集水器及连接阻力(kPa)")));
    QVERIFY(all.contains(QStringLiteral("水泵扬程")));
    QVERIFY(all.contains(QStringLiteral("第 50 个环路")));
}

void ReportsTest::failedSaveWritesNothing_data() {
    QTest::addColumn<QString>("target"); // relative to the test folder
    QTest::addColumn<QString>("reason");
    QTest::addColumn<int>("made"); // a folder is refused before the PDF is made
    QTest::newRow("a folder") << "folder.pdf"
                              << "文件夹" << 0;
    QTest::newRow("missing folder") << "missing/report.pdf"
                                    << "missing" << 1;
}

void ReportsTest::failedSaveWritesNothing() {
    QFETCH(QString, target);
    QFETCH(QString, reason);
    QFETCH(int, made);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.pdf")));
    FakeDialogs dialogs;
    dialogs.expectMessages(1);
    dialogs.answerSave(dir.filePath(target));
    int calls = 0;
    const bool written = exportPdfCommand(dialogs, nullptr, QStringLiteral("r.pdf"), [&calls] {
        ++calls;
        return QByteArray("%PDF-1.4");
    });
    QVERIFY(!written);
    QCOMPARE(dialogs.messages().size(), 1);
    QVERIFY(dialogs.messages().first().text.contains(QStringLiteral("无法保存报告")));
    QVERIFY2(dialogs.messages().first().text.contains(reason),
             qPrintable(dialogs.messages().first().text));
    QCOMPARE(calls, made);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{"folder.pdf"});
    QVERIFY(QDir(dir.filePath(QStringLiteral("folder.pdf"))).isEmpty());
}

void ReportsTest::printedPictureIsCentredWithCaption() {
    TestWindows w;
    w.registry.start();
    const QString path = dir_.filePath(QStringLiteral("picture.pdf"));
    w.dialogs.answerPrint(true, path);
    w.main().findChild<QAction*>(QStringLiteral("print"))->trigger();
    QCOMPARE(w.dialogs.printRequests(), 1);
    QCOMPARE(pdfPages(path), 1);
    QVERIFY(pdfText(path).contains(QStringLiteral("1、计算原理图")));
}

void ReportsTest::printerThatCannotPrintIsReported() {
    TestWindows w;
    w.dialogs.expectMessages(1);
    w.dialogs.answerPrint(true, dir_.filePath(QStringLiteral("missing/picture.pdf")));
    w.main().findChild<QAction*>(QStringLiteral("print"))->trigger();
    QCOMPARE(w.dialogs.messages().size(), 1);
    QVERIFY(w.dialogs.messages().first().text.contains(QStringLiteral("无法打印")));
}

void ReportsTest::pictureFitsThePage_data() {
    QTest::addColumn<QSizeF>("picture");
    QTest::addColumn<QRectF>("page");
    QTest::addColumn<double>("caption");
    QTest::addColumn<QRectF>("expected");
    // Width-bound: 1000/300 < 900/250; the block 100 + 833.3 is centred.
    QTest::newRow("portrait page") << QSizeF(300, 250) << QRectF(0, 0, 1000, 1000) << 100.0
                                   << QRectF(0, 100 + 100 / 3.0, 1000, 2500 / 3.0);
    // Height-bound: (600 − 100)/250 = 2 < 1200/300.
    QTest::newRow("landscape page") << QSizeF(300, 250) << QRectF(50, 20, 1200, 600) << 100.0
                                    << QRectF(50 + 300, 20 + 100, 600, 500);
    QTest::newRow("empty picture") << QSizeF(0, 0) << QRectF(0, 0, 100, 100) << 10.0 << QRectF();
}

void ReportsTest::pictureFitsThePage() {
    QFETCH(QSizeF, picture);
    QFETCH(QRectF, page);
    QFETCH(double, caption);
    QFETCH(QRectF, expected);
    const QRectF got = pictureRectOnPage(picture, page, caption);
    QVERIFY2(std::abs(got.x() - expected.x()) < 1e-9 && std::abs(got.y() - expected.y()) < 1e-9 &&
                 std::abs(got.width() - expected.width()) < 1e-9 &&
                 std::abs(got.height() - expected.height()) < 1e-9,
             qPrintable(QStringLiteral("%1,%2 %3x%4")
                            .arg(got.x())
                            .arg(got.y())
                            .arg(got.width())
                            .arg(got.height())));
}

QTEST_MAIN(ReportsTest)
#include "tst_reports.moc"
