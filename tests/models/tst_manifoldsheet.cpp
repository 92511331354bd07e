// SPDX-License-Identifier: GPL-3.0-or-later
// The manifold sheet without its window: balancing and totals on a small
// dwelling worked out from single-design runs, undo of edits and row
// operations, tab-separated paste, the two searches, background recomputing
// of a large sheet, and search results dropped when the inputs changed.

#include "core/io/manifoldcsv.h"
#include "models/manifold/manifoldsheet.h"

#include <QSignalSpy>
#include <QTest>

#include <cmath>

using namespace zorva;
using namespace zorva::models;

Q_DECLARE_METATYPE(zorva::models::DiffSearchReport)
Q_DECLARE_METATYPE(zorva::models::SupplyReport)

namespace {

LoopInput loop(const char* name, double room, double spacing, double length,
               std::optional<double> load = {}) {
    LoopInput l;
    l.name = name;
    l.roomTemp = room;
    l.spacingMm = spacing;
    l.lengthM = length;
    l.loadW = load;
    return l;
}

// The sheet's manifold as the main window's default design gives it.
ManifoldInput defaultManifold() {
    return manifoldFromDesign(FieldRecord::defaults());
}

// The same loop typed into the main window: the default design with the
// room, spacing and length changed.
Evaluation singleRun(double room, const char* spacing, const char* length) {
    FieldRecord f = FieldRecord::defaults();
    f.design[RoomTempField] = QByteArray::number(room).toStdString();
    f.design[SpacingField] = spacing;
    f.design[LoopLengthField] = length;
    return evaluateDesign(f);
}

QString cell(const ManifoldSheet& s, int row, int column) {
    return s.model().index(row, column).data().toString();
}

QStringList names(const ManifoldSheet& s) {
    QStringList out;
    for (const LoopInput& l : s.loops())
        out << QString::fromStdString(l.name);
    return out;
}

void fill(ManifoldSheet& s, const std::vector<LoopInput>& loops) {
    for (const LoopInput& l : loops)
        s.addLoop(s.model().rowCount(), l);
}

} // namespace

class ManifoldSheetTest : public QObject {
    Q_OBJECT

private slots:
    void balancesThreeLoops() {
        ManifoldInput m = defaultManifold();
        m.allowance = 5;
        ManifoldSheet s(m);
        fill(s,
             {loop("客厅", 18, 300, 120), loop("卧室", 18, 200, 60), loop("卫生间", 24, 150, 80)});
        const Evaluation runs[] = {singleRun(18, "300", "120"), singleRun(18, "200", "60"),
                                   singleRun(24, "150", "80")};
        double maxR = 0;
        int index = 0;
        for (int i = 0; i < 3; ++i) {
            QVERIFY(runs[i].converged());
            if (runs[i].resistance > maxR) {
                maxR = runs[i].resistance;
                index = i;
            }
        }
        QCOMPARE(index, 0); // the longest loop at the widest spacing
        double area = 0, output = 0, flow = 0;
        for (int i = 0; i < 3; ++i) {
            const LoopResult& r = s.results()[static_cast<std::size_t>(i)];
            QCOMPARE(r.resistance, double(runs[i].resistance));
            QCOMPARE(*r.valveKpa, maxR - runs[i].resistance);
            QCOMPARE(*r.meterLpm, runs[i].waterFlow / 60); // kg/h of water → l/min
            QCOMPARE(cell(s, i, ManifoldModel::IndexLoop),
                     i == 0 ? QStringLiteral("是") : QString());
            area += runs[i].area;
            output += runs[i].heatOutput * runs[i].area;
            flow += runs[i].waterFlow;
        }
        QCOMPARE(area, 120 * 0.3 + 60 * 0.2 + 80 * 0.15);
        QCOMPARE(cell(s, 0, ManifoldModel::Valve), QStringLiteral("0.00"));
        QCOMPARE(cell(s, 1, ManifoldModel::Valve),
                 QString::number(maxR - runs[1].resistance, 'f', 2));
        const ManifoldTotals t = s.totals();
        QCOMPARE(t.loops, std::size_t(3));
        QCOMPARE(t.computed, std::size_t(3));
        QVERIFY(std::abs(t.area - area) < 1e-12);
        QVERIFY(std::abs(t.output - output) < 1e-9);
        QVERIFY(std::abs(t.flowKgh - flow) < 1e-9);
        QCOMPARE(t.pumpHeadKpa, maxR + 5);
        QVERIFY(std::abs(t.pumpHeadM - (maxR + 5) / 9.80665) < 1e-12);
    }

    void undoesAnEdit() {
        ManifoldSheet s(defaultManifold());
        fill(s, {loop("A", 18, 200, 80)});
        const LoopResult before = s.results()[0];
        QVERIFY(
            s.model().setData(s.model().index(0, ManifoldModel::RoomTemp), QStringLiteral("22")));
        QCOMPARE(s.loops()[0].roomTemp, 22.0);
        QCOMPARE(s.results()[0].heatOutput, double(singleRun(22, "200", "80").heatOutput));
        QVERIFY(s.isModified());
        // A value out of range is refused and records nothing.
        const int steps = s.undoStack().count();
        QVERIFY(
            !s.model().setData(s.model().index(0, ManifoldModel::RoomTemp), QStringLiteral("60")));
        QCOMPARE(s.undoStack().count(), steps);
        s.undoStack().undo();
        QCOMPARE(s.loops()[0].roomTemp, 18.0);
        QCOMPARE(s.results()[0].heatOutput, before.heatOutput);
        s.undoStack().redo();
        QCOMPARE(s.loops()[0].roomTemp, 22.0);
        // The manifold inputs too.
        ManifoldInput m = s.manifold();
        m.supplyTemp = 40;
        s.setManifold(m, QStringLiteral("供水温度"));
        QCOMPARE(s.results()[0].run.supplyTemp, 40.0);
        s.undoStack().undo();
        QCOMPARE(s.manifold().supplyTemp, 50.0);
        QCOMPARE(s.results()[0].run.supplyTemp, 50.0);
    }

    void rowOperationsUndo() {
        ManifoldSheet s(defaultManifold());
        fill(s, {loop("A", 18, 300, 90), loop("B", 20, 150, 70), loop("C", 16, 200, 110)});
        const QStringList start = names(s);
        s.duplicateRows({0, 2});
        QCOMPARE(names(s), (QStringList{"A", "A", "B", "C", "C"}));
        s.undoStack().undo();
        QVERIFY(s.moveRows({1, 2}, -1));
        QCOMPARE(names(s), (QStringList{"B", "C", "A"}));
        QVERIFY(!s.moveRows({0}, -1));
        s.undoStack().undo();
        s.sortBy(ManifoldModel::Length, Qt::DescendingOrder);
        QCOMPARE(names(s), (QStringList{"C", "A", "B"}));
        s.sortBy(ManifoldModel::Resistance, Qt::AscendingOrder);
        QVERIFY(s.results()[0].resistance <= s.results()[1].resistance);
        QVERIFY(s.results()[1].resistance <= s.results()[2].resistance);
        s.undoStack().undo();
        s.undoStack().undo();
        s.deleteRows({0, 2});
        QCOMPARE(names(s), QStringList{"B"});
        s.undoStack().undo();
        QCOMPARE(names(s), start);
        QCOMPARE(s.results()[2].resistance, double(singleRun(16, "200", "110").resistance));
    }

    void pastesTabSeparatedText_data() {
        QTest::addColumn<QRect>("target");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("error");    // part of the message, or empty
        QTest::addColumn<QStringList>("rows"); // name|room|spacing|length|load after it
        const QStringList start{"A|18|300|90|", "B|20|150|70|800"};
        QTest::newRow("two rows from a spreadsheet")
            << QRect(1, 0, 1, 1) << "21\t250\r\n19.5\t100\r\n"
            << QString() << QStringList{"A|21|250|90|", "B|19.5|100|70|800"};
        QTest::newRow("past the end adds rows")
            << QRect(0, 1, 1, 1) << "B2\t20\t150\t75\t900\nC\t16\t200\t110\t" << QString()
            << QStringList{"A|18|300|90|", "B2|20|150|75|900", "C|16|200|110|"};
        QTest::newRow("results columns are skipped")
            << QRect(3, 0, 1, 1) << "95\t\t\t9.99\t123" << QString()
            << QStringList{"A|18|300|95|", "B|20|150|70|800"};
        QTest::newRow("one value fills the selection")
            << QRect(4, 0, 1, 2) << "1200" << QString()
            << QStringList{"A|18|300|90|1200", "B|20|150|70|1200"};
        QTest::newRow("an empty load clears it")
            << QRect(4, 1, 1, 1) << "\n"
            << QString() << QStringList{"A|18|300|90|", "B|20|150|70|"};
        QTest::newRow("not a number: nothing changes")
            << QRect(1, 0, 1, 1) << "21\nabc" << QStringLiteral("第 2 行“室内温度(℃)”列") << start;
        QTest::newRow("out of range: nothing changes")
            << QRect(2, 1, 1, 1) << "5" << QStringLiteral("超出范围") << start;
        QTest::newRow("a required value left empty")
            << QRect(3, 0, 1, 1) << " " << QStringLiteral("不能为空") << start;
        QTest::newRow("out of range, quoted as typed")
            << QRect(1, 0, 1, 1) << "50.00000000000001"
            << QStringLiteral("“室内温度”的值 50.00000000000001 超出范围 -50 ~ 50 ℃") << start;
    }

    // At the most loops a project file and an export hold, nothing adds a
    // row; edits within the sheet still work, and what it saves opens.
    void holdsNoMoreThanTheFilesDo() {
        ManifoldSheet s(defaultManifold());
        io::ProjectData project;
        project.manifold = defaultManifold();
        for (int i = 0; i < ManifoldSheet::kMaxLoops - 1; ++i)
            project.loops.append(io::ProjectLoop{loop("L", 18, 200, 80), {}});
        s.loadProject(project);
        QCOMPARE(s.addLoop(0, s.newLoop()), 0);
        QCOMPARE(s.model().rowCount(), ManifoldSheet::kMaxLoops);
        const int steps = s.undoStack().count();
        QCOMPARE(s.addLoop(0, s.newLoop()), -1);
        QVERIFY(!s.duplicateRows({0}));
        const QRect last(1, ManifoldSheet::kMaxLoops - 1, 1, 1);
        QCOMPARE(s.paste(last, "19\n20").error(),
                 QStringLiteral("粘贴到第 %1 行后将有 %2 个环路。多环路计算表最多有 %3 个环路。")
                     .arg(ManifoldSheet::kMaxLoops)
                     .arg(ManifoldSheet::kMaxLoops + 1)
                     .arg(ManifoldSheet::kMaxLoops));
        QCOMPARE(s.undoStack().count(), steps);
        QVERIFY(s.paste(last, "19").ok());
        QCOMPARE(cell(s, ManifoldSheet::kMaxLoops - 1, ManifoldModel::RoomTemp),
                 QStringLiteral("19"));
        const Result<QByteArray> bytes = s.projectBytes();
        QVERIFY2(bytes.ok(), qPrintable(bytes.error()));
        QVERIFY(io::readProject(*bytes).ok());
        s.cancel();
    }

    void pastesTabSeparatedText() {
        QFETCH(QRect, target);
        QFETCH(QString, text);
        QFETCH(QString, error);
        QFETCH(QStringList, rows);
        ManifoldSheet s(defaultManifold());
        fill(s, {loop("A", 18, 300, 90), loop("B", 20, 150, 70, 800)});
        const int steps = s.undoStack().count();
        const QString got = s.paste(target, text).error();
        if (error.isEmpty())
            QVERIFY2(got.isEmpty(), qPrintable(got));
        else
            QVERIFY2(got.contains(error), qPrintable(got));
        QStringList after;
        for (int r = 0; r < s.model().rowCount(); ++r) {
            QStringList c;
            for (int col = 0; col <= ManifoldModel::Load; ++col)
                c << cell(s, r, col);
            after << c.join(u'|');
        }
        QCOMPARE(after, rows);
        if (!error.isEmpty())
            return;
        QCOMPARE(s.undoStack().count(), steps + 1); // one step, undone at once
        s.undoStack().undo();
        QCOMPARE(s.model().rowCount(), 2);
        QCOMPARE(cell(s, 0, ManifoldModel::Length), QStringLiteral("90"));
    }

    void clearsOnlyCellsThatMayBeEmpty() {
        ManifoldSheet s(defaultManifold());
        LoopInput b = loop("B", 20, 150, 70, 800);
        b.ownTempDiff = 7;
        fill(s, {loop("A", 18, 300, 90, 1000), b});
        s.clearCells(QRect(0, 0, ManifoldModel::ColumnCount, 2));
        for (const LoopInput& l : s.loops())
            QVERIFY(l.name.empty() && !l.loadW && !l.ownTempDiff);
        QCOMPARE(s.loops()[1].lengthM, 70.0);
        QCOMPARE(s.results()[1].tempDiff, 10.0);
        s.undoStack().undo();
        QCOMPARE(*s.loops()[1].ownTempDiff, 7.0);
        QCOMPARE(names(s), (QStringList{"A", "B"}));
    }

    void verdictNamesTheRulesNotMet_data() {
        QTest::addColumn<double>("length");
        QTest::addColumn<std::optional<double>>("load");
        QTest::addColumn<QString>("verdict");
        // The main window's default design: 0.40 m/s, 92.6 W/m² over 36 m².
        QTest::newRow("default design") << 120.0 << std::optional<double>() << "合格";
        // 83 m: v = 0.2498 m/s, shown so beside its 不合格 (the column shows 0.25).
        QTest::newRow("velocity at the limit")
            << 83.0 << std::optional<double>()
            << "不合格：盘管水流速 0.2498 m/s（要求 ≥ 0.25 m/s）";
        QTest::newRow("load per m² from the loop's load")
            << 120.0 << std::optional(2500.0)
            << "偏大：单位面积散热量 92.6 W/m²（要求 ≥ 69.4444444444444 W/m²（> 83.3333333333333 "
               "为偏大））";
    }
    void verdictNamesTheRulesNotMet() {
        QFETCH(double, length);
        QFETCH(std::optional<double>, load);
        QFETCH(QString, verdict);
        ManifoldSheet s(defaultManifold());
        fill(s, {loop("x", 18, 300, length, load)});
        QCOMPARE(cell(s, 0, ManifoldModel::Verdict), verdict);
    }

    // The searches keep to the check limits, name what they cannot serve and
    // write nothing before they are applied.
    void searchesApplyAndUndo() {
        ManifoldSheet s(defaultManifold());
        fill(s, {loop("客厅", 18, 200, 100, 1900), loop("卫生间", 24, 150, 60, 900),
                 loop("储藏", 10, 300, 50), loop("阳台", 18, 300, 40, 50000)});
        QSignalSpy diffSpy(&s, &ManifoldSheet::diffSearchFinished);
        s.startDiffSearch();
        s.waitForIdle();
        QCOMPARE(diffSpy.size(), 1);
        const auto report = diffSpy.at(0).at(0).value<DiffSearchReport>();
        QCOMPARE(report.outcome, DiffSearchReport::Outcome::Ready);
        QCOMPARE(report.searched, 3);
        // The bathroom's 900 W flow too slowly even at 5 ℃; the balcony's
        // load is out of reach.
        QCOMPARE(report.cannotServe,
                 (QStringList{"第 2 个环路（卫生间）：温差为最小的 5 ℃ 时流速仍低于 0.25 m/s",
                              "第 4 个环路（阳台）：温差为最小的 5 ℃ 时也达不到热负荷"}));
        QVERIFY(evaluateDesign(loopFields(s.manifold(), s.loops()[1], 50, 5)).velocity < 0.25);
        QVERIFY(report.limits.startsWith(QStringLiteral("温差 5~10 ℃，流速 ≥ 0.25 m/s")));
        QCOMPARE(report.rows, std::vector<int>{0});
        QVERIFY(report.answers.at(0).startsWith(QStringLiteral("第 1 个环路（客厅）：")));
        // Nothing is written before the answer is applied.
        QVERIFY(!s.loops()[0].ownTempDiff);
        QCOMPARE(s.undoStack().count(), 4);
        QVERIFY(s.applyDiffSearch(report));
        const LoopInput& l = s.loops()[0];
        const double d = *l.ownTempDiff;
        QCOMPARE(d, report.tempDiffs[0]);
        QCOMPARE(std::round(d * 10), d * 10); // whole tenths
        QVERIFY(d >= 5 && d <= 10);
        QVERIFY(reachesLoad(s.manifold(), l, 50, d, *l.loadW));
        QVERIFY(d == 10 || !reachesLoad(s.manifold(), l, 50, d + 0.1, *l.loadW) ||
                evaluateDesign(loopFields(s.manifold(), l, 50, d + 0.1)).velocity < 0.25);
        QVERIFY(s.results()[0].velocity >= 0.25);
        QVERIFY(!s.loops()[1].ownTempDiff && !s.loops()[3].ownTempDiff);
        // One answer, applied once.
        QVERIFY(!s.applyDiffSearch(report));
        s.undoStack().undo();
        QVERIFY(!s.loops()[0].ownTempDiff);

        s.deleteRows({3});
        QSignalSpy supplySpy(&s, &ManifoldSheet::supplySuggestionReady);
        s.startSupplySuggestion();
        s.waitForIdle();
        QCOMPARE(supplySpy.size(), 1);
        const auto supply = supplySpy.at(0).at(0).value<SupplyReport>();
        QCOMPARE(supply.suggestion.result, SupplySuggestion::Result::Found);
        QCOMPARE(supply.suggestion.unreachable, std::size_t(1));
        QCOMPARE(supply.cannotServe.size(), 1);
        QVERIFY(supply.cannotServe[0].startsWith(
            QStringLiteral("第 2 个环路（卫生间）：达到热负荷需供水")));
        const double t = supply.suggestion.supplyTemp;
        QVERIFY(t <= 60);
        QCOMPARE(*supply.suggestion.decidingLoop, std::size_t(0));
        QCOMPARE(supply.decidingLoop, QStringLiteral("第 1 个环路（客厅）"));
        QVERIFY(reachesLoad(s.manifold(), s.loops()[0], t, 10, 1900));
        QVERIFY(!reachesLoad(s.manifold(), s.loops()[0], t - 0.1, 10, 1900));
        s.applySupplyTemp(t);
        QCOMPARE(s.manifold().supplyTemp, t);
        s.undoStack().undo();
        QCOMPARE(s.manifold().supplyTemp, 50.0);
    }

    // An answer found under other limits is not applied.
    void searchAnswerDroppedWhenTheLimitsChange() {
        ManifoldSheet s(defaultManifold());
        fill(s, {loop("A", 18, 200, 100, 1900)});
        QSignalSpy spy(&s, &ManifoldSheet::diffSearchFinished);
        s.startDiffSearch();
        s.waitForIdle();
        const auto report = spy.at(0).at(0).value<DiffSearchReport>();
        QCOMPARE(report.rows.size(), std::size_t(1));
        CheckLimits widened;
        widened.maxTempDiff = 20;
        s.model().setLimits(widened);
        QVERIFY(!s.applyDiffSearch(report));
        QVERIFY(!s.loops()[0].ownTempDiff);
    }

    void dropsResultsOfChangedInputs() {
        ManifoldSheet s(defaultManifold());
        fill(s, {loop("A", 18, 200, 100, 1500)});
        QSignalSpy spy(&s, &ManifoldSheet::diffSearchFinished);
        s.startDiffSearch();
        LoopInput l = s.loops()[0];
        l.lengthM = 90; // while the search runs
        s.setLoop(0, l);
        s.waitForIdle();
        QCOMPARE(spy.at(0).at(0).value<DiffSearchReport>().outcome,
                 DiffSearchReport::Outcome::InputsChanged);
        QVERIFY(!s.loops()[0].ownTempDiff);
        QCOMPARE(s.undoStack().count(), 2);
    }

    void cancelledSearchChangesNothing() {
        ManifoldSheet s(defaultManifold());
        fill(s, {loop("A", 18, 200, 100, 1500), loop("B", 18, 300, 60, 900)});
        QSignalSpy diffs(&s, &ManifoldSheet::diffSearchFinished);
        QSignalSpy supply(&s, &ManifoldSheet::supplySuggestionReady);
        s.startDiffSearch();
        s.startSupplySuggestion();
        QVERIFY(s.busy());
        s.cancel();
        s.waitForIdle();
        QCOMPARE(diffs.at(0).at(0).value<DiffSearchReport>().outcome,
                 DiffSearchReport::Outcome::Cancelled);
        QCOMPARE(supply.at(0).at(0).value<SupplyReport>().outcome,
                 SupplyReport::Outcome::Cancelled);
        QVERIFY(!s.loops()[0].ownTempDiff && !s.loops()[1].ownTempDiff);
        QCOMPARE(s.manifold().supplyTemp, 50.0);
        QCOMPARE(s.undoStack().count(), 2);
    }

    void recomputesLargeSheetInBackground() {
        ManifoldSheet s(defaultManifold());
        io::ProjectData project;
        project.manifold = defaultManifold();
        for (int i = 0; i < 3000; ++i)
            project.loops.append(
                io::ProjectLoop{loop("L", 14 + i % 10, 100 + 10 * (i % 21), 40 + i % 80), {}});
        s.loadProject(project);
        QVERIFY(!s.resultsCurrent()); // too many to compute at once
        QCOMPARE(cell(s, 5, ManifoldModel::Area), QStringLiteral("…"));
        // An edit meanwhile is computed at once and kept.
        LoopInput edited = s.loops()[7];
        edited.lengthM = 99;
        s.setLoop(7, edited);
        QCOMPARE(s.results()[7].area, 99 * s.loops()[7].spacingMm / 1000);
        s.waitForIdle();
        QVERIFY(s.resultsCurrent());
        std::vector<LoopResult> expected(s.loops().size());
        computeLoops(s.manifold(), s.loops(), expected);
        double output = 0;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            QCOMPARE(s.results()[i].resistance, expected[i].resistance);
            output += expected[i].loopOutput;
        }
        QCOMPARE(s.totals().computed, std::size_t(3000));
        QVERIFY(std::abs(s.totals().output - output) < 1e-6 * output);
        QVERIFY(s.isModified());
    }
};

QTEST_GUILESS_MAIN(ManifoldSheetTest)
#include "tst_manifoldsheet.moc"
