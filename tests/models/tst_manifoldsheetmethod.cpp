// SPDX-License-Identifier: GPL-3.0-or-later
// The manifold sheet by either method: the EN 1264-3 worked example typed
// into the sheet to its printed digits, an old project opening by the
// program's method with the cells of its own runs, the method switch and
// its undo restoring every cell, a project's settings kept through the
// sheet byte for byte, and the design of a large sheet in the background.

#include "core/engine/numtext.h"
#include "core/io/projectfile.h"
#include "models/manifold/manifoldsheet.h"
#include "support/sheetdigits.h"
#include "support/sheetexamplea.h"

#include <QTest>

using namespace zorva;
using namespace zorva::models;
using M = ManifoldModel;

namespace {

using test::exampleAManifold;
using test::typeExampleA;

LoopInput loop(const char* name, double room, double spacing, double length,
               std::optional<double> load) {
    return test::sheetLoop(name, room, spacing, length, load);
}

double raw(const ManifoldSheet& s, int row, int column) {
    return s.model().index(row, column).data(M::RawRole).toDouble();
}

QString cell(const ManifoldSheet& s, int row, int column) {
    return s.model().index(row, column).data().toString();
}

// Every cell's text and tooltip and every header, row by row.
QStringList allCells(const ManifoldSheet& s) {
    QStringList out;
    for (int c = 0; c < M::ColumnCount; ++c)
        out << s.model().headerData(c, Qt::Horizontal).toString();
    for (int r = 0; r < s.model().rowCount(); ++r)
        for (int c = 0; c < M::ColumnCount; ++c)
            out << cell(s, r, c) + u'|' + s.model().index(r, c).data(Qt::ToolTipRole).toString();
    return out;
}

QString fixedText(double value, int decimals) {
    return QString::fromUtf8(patternText(value, decimals).view());
}

} // namespace

class ManifoldSheetMethodTest : public QObject {
    Q_OBJECT

private slots:
    void exampleA_data();
    void exampleA();
    void exampleAShown_data();
    void exampleAShown();
    void oldFileByTheProgram_data();
    void oldFileByTheProgram();
    void switchAndUndoRestoreEveryCell_data();
    void switchAndUndoRestoreEveryCell();
    void projectSettingsKept();
    void largeSheetInTheBackground();
    void csvResultsByTheProgramOnly_data();
    void csvResultsByTheProgramOnly();
};

// Example A of the system design, EN 1264-3 design, to its printed digits.
void ManifoldSheetMethodTest::exampleA_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QByteArray>("printed");
    const auto add = [](const char* name, int row, int column, const char* printed) {
        QTest::newRow(name) << row << column << QByteArray(printed);
    };
    add("客厅-1 σ", 0, M::Drop, "5");
    add("客厅-2 θ_R", 1, M::ReturnTemp, "37.69708");
    add("主卧 σ", 2, M::Drop, "7.25741");
    add("次卧 σ", 3, M::Drop, "10.01928");
    add("主卧 θ_R", 2, M::ReturnTemp, "35.43967");
    add("次卧 θ_R", 3, M::ReturnTemp, "32.67781");
    add("客厅-1 kg/h (442.2622 / 2)", 0, M::FlowKgh, "221.1311");
    add("主卧 kg/h", 2, M::FlowKgh, "139.29");
    add("次卧 kg/h", 3, M::FlowKgh, "67.34691");
    add("客厅 q", 0, M::HeatOutput, "70");
    add("次卧 q", 3, M::HeatOutput, "55");
    add("客厅 q_u", 1, M::DownwardOutput, "15.79067");
    add("主卧 q_u", 2, M::DownwardOutput, "13.53486");
    add("次卧 q_u", 3, M::DownwardOutput, "10.44617");
    add("客厅 θ_F,m", 0, M::FloorTemp, "26.50719");
    add("主卧 θ_F,m", 2, M::FloorTemp, "25.65631");
    add("次卧 θ_F,m", 3, M::FloorTemp, "23.22613");
    add("客厅 q_G", 0, M::LimitOutput, "98.39302");
    add("主卧 q_G", 2, M::LimitOutput, "96.08661");
    add("次卧 q_G", 3, M::LimitOutput, "114.0308");
    add("主卧 Q_room", 2, M::LoopOutput, "960");
    add("次卧 no supplementary", 3, M::Supplementary, "0");
}

void ManifoldSheetMethodTest::exampleA() {
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QByteArray, printed);
    ManifoldSheet s(ManifoldInput{});
    typeExampleA(s);
    QVERIFY(s.resultsCurrent());
    const double got = raw(s, row, column);
    QVERIFY2(showsAs(got, printed) ||
                 (printed.indexOf('.') < 0 &&
                  std::fabs(got - printed.toDouble()) < 5e-7 * std::max(1.0, printed.toDouble())),
             qPrintable(sheetMismatch(QString::fromUtf8(QTest::currentDataTag()), got, printed)));
}

// What the window shows of it: the summary above the table with θ_V and the
// deciding loop, the cells rounded from the printed digits, the header
// naming the method, and the total water heat of the three rooms.
void ManifoldSheetMethodTest::exampleAShown_data() {
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("expected");
    ManifoldSheet s(ManifoldInput{});
    typeExampleA(s);
    const QString summary = s.model().designSummary();
    QTest::newRow("θ_V 42.69708") << QString::number(
                                         summary.contains(QStringLiteral("设计供水温度 42.70 ℃")))
                                  << QStringLiteral("1");
    QTest::newRow("deciding: the living room")
        << QString::number(summary.contains(QStringLiteral("由第 1 个环路（客厅-1）决定")))
        << QStringLiteral("1");
    QTest::newRow("σ 7.25741") << cell(s, 2, M::Drop) << QStringLiteral("7.26");
    QTest::newRow("θ_R 32.67781") << cell(s, 3, M::ReturnTemp) << QStringLiteral("32.68");
    QTest::newRow("q_u 10.44617") << cell(s, 3, M::DownwardOutput) << QStringLiteral("10.4");
    QTest::newRow("kg/h 67.34691") << cell(s, 3, M::FlowKgh) << QStringLiteral("67.3");
    QTest::newRow("q_G 114.0308") << cell(s, 3, M::LimitOutput) << QStringLiteral("114.0");
    QTest::newRow("verdict") << cell(s, 0, M::Verdict) << QStringLiteral("合格");
    QTest::newRow("header") << s.model().headerData(M::HeatOutput, Qt::Horizontal).toString()
                            << QStringLiteral("散热量 (EN 1264-2)(W/m²)");
    QTest::newRow("Σ Q_room 2100 + 960 + 660")
        << fixedText(s.totals().output, 0) << QStringLiteral("3720");
    QTest::newRow("Σ Q_water") << fixedText(s.model().standard()->totals.waterOutput, 1)
                               << fixedText(2573.72 + 1176.558 + 785.354, 1);
}

void ManifoldSheetMethodTest::exampleAShown() {
    QFETCH(QString, shown);
    QFETCH(QString, expected);
    QCOMPARE(shown, expected);
}

// A file without a method (version 1, or version 2 without the key) opens
// with the program's method, and every result cell is the text of the
// loop's own Calculate run as the sheet always showed it.
void ManifoldSheetMethodTest::oldFileByTheProgram_data() {
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray manifold = R"("supplyTemp": 45, "tempDiff": 8,
        "surfaceThickness": 20, "levelThickness": 20, "fillThickness": 50,
        "pipeWallThickness": 2, "surfaceConductivity": 2.91, "levelConductivity": 1.84,
        "fillConductivity": 1.28, "pipeConductivity": 0.41,
        "pipeDiameter": 20, "elbows": 2, "allowance": 5)";
    const QByteArray loops = R"("loops": [
        {"name": "客厅", "roomTemp": 18, "spacing": 200, "length": 95, "load": 1450},
        {"name": "卫生间", "roomTemp": 24, "spacing": 100, "length": 38, "load": 420,
         "tempDiff": 5}])";
    QTest::newRow("version 1") << R"({"format": "zorva-manifold", "version": 1, "manifold": {)" +
                                      manifold + "}, " + loops + "}";
    QTest::newRow("version 2 without a method")
        << R"({"format": "zorva-manifold", "version": 2, "settings": {}, "manifolds": [{)" +
               manifold + ", " + loops + "}]}";
}

void ManifoldSheetMethodTest::oldFileByTheProgram() {
    QFETCH(QByteArray, bytes);
    const Result<io::ProjectData> read = io::readProject(bytes);
    QVERIFY2(read, qPrintable(read ? QString() : read.error()));
    ManifoldSheet s(ManifoldInput{}, nullptr, method::Method::En1264);
    s.loadProject(*read);
    QCOMPARE(s.method(), method::Method::Program);
    QCOMPARE(s.model().rowCount(), 2);
    std::vector<LoopResult> runs;
    for (const LoopInput& l : s.loops())
        runs.push_back(computeLoop(s.manifold(), l));
    balance(runs);
    const int decimals[] = {2, 1, 1, 0, 1, 2, 2, 2};
    for (int r = 0; r < 2; ++r) {
        const LoopResult& run = runs[std::size_t(r)];
        const double values[] = {run.area,    run.heatOutput, run.floorTemp, run.loopOutput,
                                 run.flowKgh, run.flowLpm,    run.velocity,  run.resistance};
        for (int c = M::Area; c <= M::Resistance; ++c)
            QCOMPARE(cell(s, r, c), fixedText(values[c - M::Area], decimals[c - M::Area]));
        QCOMPARE(cell(s, r, M::IndexLoop), run.indexLoop ? QStringLiteral("是") : QString());
        QCOMPARE(cell(s, r, M::Valve), run.valveKpa ? fixedText(*run.valveKpa, 2) : QString());
        // The standard's own columns are not given by this method.
        QCOMPARE(cell(s, r, M::DownwardOutput), QStringLiteral("—"));
        QVERIFY(!s.model().index(r, M::LimitOutput).data(Qt::ToolTipRole).toString().isEmpty());
    }
    QCOMPARE(cell(s, 1, M::Drop), QStringLiteral("5.00"));
    QCOMPARE(cell(s, 0, M::ReturnTemp), QStringLiteral("37.00"));
    // Saved again, it still says the program's method.
    const Result<QByteArray> saved = s.projectBytes();
    QVERIFY(saved);
    QVERIFY(saved->contains("\"method\": \"program\""));
}

// Each chain of edits, undone to its start, gives back every cell, tooltip
// and header; redone, the cells of the end again.
void ManifoldSheetMethodTest::switchAndUndoRestoreEveryCell_data() {
    QTest::addColumn<int>("chain");
    QTest::newRow("program → EN") << 0;
    QTest::newRow("EN → program") << 1;
    QTest::newRow("EN, a loop edited, below changed") << 2;
    QTest::newRow("EN, a loop added, back to program") << 3;
}

void ManifoldSheetMethodTest::switchAndUndoRestoreEveryCell() {
    QFETCH(int, chain);
    ManifoldSheet s(ManifoldInput{});
    typeExampleA(s);
    if (chain == 0)
        s.setMethod(method::Method::Program);
    s.undoStack().clear();
    const QStringList start = allCells(s);
    const QString startSummary = s.model().designSummary();
    switch (chain) {
    case 0:
        s.setMethod(method::Method::En1264);
        break;
    case 1:
        s.setMethod(method::Method::Program);
        break;
    case 2: {
        LoopInput l = s.loops()[2];
        l.loadW = 1400;
        s.setLoop(2, l);
        en1264::Below b = s.below();
        b.insulation = 1.25;
        s.setBelow(b);
        break;
    }
    default:
        s.addLoop(1, loop("书房", 20, 100, 60, 600));
        s.setMethod(method::Method::Program);
        break;
    }
    const QStringList end = allCells(s);
    QVERIFY(end != start);
    while (s.undoStack().canUndo())
        s.undoStack().undo();
    QVERIFY(s.resultsCurrent());
    QCOMPARE(allCells(s), start);
    QCOMPARE(s.model().designSummary(), startSummary);
    while (s.undoStack().canRedo())
        s.undoStack().redo();
    QCOMPARE(allCells(s), end);
}

// A project opened in the sheet keeps its settings, the manifold's name and
// what lies below: saved unchanged, it is the same bytes.
void ManifoldSheetMethodTest::projectSettingsKept() {
    project::Project p = project::newProject();
    p.manifolds[0].name = "一层";
    p.manifolds[0].manualBelow.kind = en1264::BelowKind::Ground;
    p.manifolds[0].manualBelow.insulation = 1.5;
    p.manifolds[0].manualBelow.temp = 5;
    p.settings.standard.designDrop = 4;
    p.settings.conditions.maxLoopLength = 100;
    p.manifolds[0].loops.push_back({loop("客厅", 20, 150, 100, 1050), {}});
    const QByteArray bytes = io::projectDocumentText(p);
    const Result<io::ProjectData> read = io::readProject(bytes);
    QVERIFY(read);
    ManifoldSheet s(ManifoldInput{});
    s.loadProject(*read);
    QCOMPARE(s.method(), method::Method::En1264);
    QCOMPARE(s.below().insulation, 1.5);
    const Result<QByteArray> saved = s.projectBytes();
    QVERIFY(saved);
    QCOMPARE(*saved, bytes);
    // σ_des of the file is the design's.
    QCOMPARE(s.model().standard()->design->loops[0].drop, 4.0);
}

// More rows than are designed at once: the design runs on another thread,
// the rows show "…" meanwhile, a cancel leaves them so, and the next wait
// brings the whole design.
void ManifoldSheetMethodTest::largeSheetInTheBackground() {
    ManifoldSheet s(exampleAManifold(), nullptr, method::Method::En1264);
    std::vector<SheetRow> rows;
    for (int i = 0; i < int(M::kComputeAtOnce) + 100; ++i)
        rows.push_back({loop("环路", 20, 150, 100, 1050), {}});
    s.replaceAll(exampleAManifold(), rows, QStringLiteral("导入"));
    QVERIFY(!s.resultsCurrent());
    QCOMPARE(cell(s, 0, M::Drop), QStringLiteral("…"));
    s.cancel();
    s.waitForIdle();
    QVERIFY(s.resultsCurrent());
    QVERIFY(s.model().standard());
    QCOMPARE(s.totals().computed, rows.size());
    // All loops alike: each is the deciding one's twin, σ = σ_des.
    QCOMPARE(raw(s, int(rows.size()) - 1, M::Drop), 5.0);
}

// The CSV's result columns are the program's run: by EN 1264-2 they are
// blank, never the empty result of a run that was not made.
void ManifoldSheetMethodTest::csvResultsByTheProgramOnly_data() {
    QTest::addColumn<bool>("standard");
    QTest::newRow("EN 1264-2") << true;
    QTest::newRow("本程序方法") << false;
}

void ManifoldSheetMethodTest::csvResultsByTheProgramOnly() {
    QFETCH(bool, standard);
    ManifoldSheet s(ManifoldInput{});
    typeExampleA(s);
    if (!standard)
        s.setMethod(method::Method::Program);
    const QList<QStringList> rows = s.csvRows();
    QCOMPARE(rows.size(), 5);
    const qsizetype results = rows[0].size() - rows[0].indexOf(QStringLiteral("回水温度(℃)"));
    QVERIFY(results > 10 && results < rows[0].size());
    for (int r = 1; r < rows.size(); ++r) {
        const QStringList tail = rows[r].mid(rows[r].size() - results);
        const bool blank =
            std::all_of(tail.begin(), tail.end(), [](const QString& t) { return t.isEmpty(); });
        QCOMPARE(blank, standard);
    }
}

QTEST_GUILESS_MAIN(ManifoldSheetMethodTest)
#include "tst_manifoldsheetmethod.moc"
