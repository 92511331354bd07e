// SPDX-License-Identifier: GPL-3.0-or-later
// The installer's windows on the flat example and on the worked manifold
// example: the commissioning sheet holds every loop with the setting and
// flow-meter target the engine gives, and the example's printed settings;
// a sheet that cannot be written keeps the old file and says why.
// The bill's CSV reads back with the same rows in either encoding; a
// measured value typed, undone and redone.
// Screenshots for the README: ZORVA_SCREENSHOT_DIR=docs.

#include "core/csv/csvreader.h"
#include "core/hydraulics/water.h"
#include "core/io/materialscsv.h"
#include "core/io/safesave.h"
#include "models/hydraulics/materialstablemodel.h"
#include "models/hydraulics/rebalancetablemodel.h"
#include "models/project/projectdocument.h"
#include "support/fakedialogs.h"
#include "support/filesizecap.h"
#include "support/patience.h"
#include "support/pdftext.h"
#include "support/systemexample.h"
#include "widgets/hydraulics/commissioningsheet.h"
#include "widgets/hydraulics/commissioningwindow.h"
#include "widgets/hydraulics/manifoldhydraulicseditor.h"
#include "widgets/hydraulics/materialswindow.h"
#include "widgets/hydraulics/rebalancewindow.h"
#include "widgets/project/projectwindow.h"
#include "widgets/report/pdfexportjob.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <optional>

using namespace zorva;
using namespace zorva::ui;

namespace {

const QString kFlat = QStringLiteral(ZORVA_TESTS_SOURCE_DIR "/../examples/flat.zorvaproj");
const QDateTime kWhen(QDate(2026, 3, 1), QTime(9, 30));

// The PDF's text with its table rows kept on one line, each line cut into
// its words.
QList<QStringList> pdfLines(const QByteArray& pdf) {
    QTemporaryDir dir;
    const QString path = savePdf(dir, QStringLiteral("sheet.pdf"), pdf);
    const QString text =
        pdfTool(QStringLiteral("pdftotext"),
                {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8")}, path);
    QList<QStringList> lines;
    static const QRegularExpression gap(QStringLiteral("\\s+"));
    for (const QString& line : text.split(u'\n'))
        lines << line.trimmed().split(gap, Qt::SkipEmptyParts);
    return lines;
}

// The first line whose cells hold all of `cells`.
QStringList lineWith(const QList<QStringList>& lines, const QStringList& cells) {
    for (const QStringList& line : lines)
        if (std::all_of(cells.begin(), cells.end(),
                        [&](const QString& c) { return line.contains(c); }))
            return line;
    return {};
}

// The worked example's manifold with its connection drop and mixing station.
hydraulics::ManifoldHydraulics exampleHydraulics(const test::ExampleManifold& ex) {
    hydraulics::ManifoldHydraulicsInput in;
    for (const test::ExampleLoop& l : ex.loops)
        in.loops.push_back({l.flowKgh, l.pressureDropKpa, l.density, l.returnTemp});
    in.supplyTemp = ex.supplyTemp;
    in.supplyDensity = hydraulics::waterDensity(ex.supplyTemp);
    in.connectionPressureDropKpa = 2;
    hydraulics::MixingStationSetup mixing;
    mixing.primarySupplyTemp = 70;
    mixing.primaryDensity = hydraulics::waterDensity(70);
    in.mixing = mixing;
    return hydraulics::manifoldHydraulics(in);
}

struct FlatDocument {
    models::ProjectDocument document;
    FlatDocument() {
        if (document.open(kFlat).ok())
            document.waitForResult();
    }
};

} // namespace

class HydraulicsWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { io::ignoreFileSizeSignal(); }
    void sheetShowsTheExampleSettings_data();
    void sheetShowsTheExampleSettings();
    void sheetHoldsEveryLoopOfTheFlat();
    void failedWriteKeepsTheOldFile_data();
    void failedWriteKeepsTheOldFile();
    void materialsCsvReadsBack_data();
    void materialsCsvReadsBack();
    void gbkRefusesWhatItCannotShow();
    void measuredValueUndoRedo();
    void badMeasuredValueIsRefused_data();
    void badMeasuredValueIsRefused();
    void hydraulicsEditAppliesAsOneStep();
    void hydraulicsEditRefused_data();
    void hydraulicsEditRefused();
    void windowsOpenFromTheProjectWindow();
    void screenshots();
};

void HydraulicsWindowsTest::sheetShowsTheExampleSettings_data() {
    QTest::addColumn<QString>("loop");
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("meter");
    // The worked example's dial settings (0.25 steps) and flow-meter targets
    // 3.71828, 2.342137, 1.132426 and 1.177824 l/min to two decimals.
    QTest::newRow("living-1") << "客厅-1"
                              << "5.75"
                              << "3.72";
    QTest::newRow("living-2, the index loop") << "客厅-2"
                                              << "6（全开）"
                                              << "3.72";
    QTest::newRow("bed1") << "主卧"
                          << "3.25"
                          << "2.34";
    QTest::newRow("bed2") << "次卧"
                          << "1.5"
                          << "1.13";
    QTest::newRow("bath") << "卫生间"
                          << "1.75"
                          << "1.18";
    // Pump 0.7253368 m³/h = 725.3 l/h at 26862.86 Pa = 2.7636 m; θ_R,mix 36.59508 ℃.
    QTest::newRow("pump flow") << "循环泵流量(m³/h)"
                               << "0.725"
                               << "725";
    QTest::newRow("pump head") << "循环泵扬程(kPa)"
                               << "26.9"
                               << "2.76";
    QTest::newRow("mixed return") << "混合回水温度(℃)"
                                  << "36.6"
                                  << "";
}

void HydraulicsWindowsTest::sheetShowsTheExampleSettings() {
    QFETCH(QString, loop);
    QFETCH(QString, setting);
    QFETCH(QString, meter);
    if (!havePdfTools())
        QSKIP("poppler-utils is not installed");
    const test::ExampleManifold ex = test::systemExample();
    std::vector<hydraulics::CommissioningLoopInput> loops;
    for (const test::ExampleLoop& l : ex.loops)
        loops.push_back({l.name, l.room, l.lengthM, l.returnTemp});
    CommissioningSheet sheet;
    sheet.title = QStringLiteral("示例");
    sheet.manifolds.push_back(commissioningManifold(
        QStringLiteral("分集水器1"), loops, exampleHydraulics(ex), ex.supplyTemp, sheet.site));
    const QList<QStringList> lines = pdfLines(commissioningSheetPdf(sheet, kWhen));
    QStringList cells{loop, setting};
    if (!meter.isEmpty())
        cells << meter;
    QVERIFY2(!lineWith(lines, cells).isEmpty(), qPrintable(cells.join(u' ')));
}

void HydraulicsWindowsTest::sheetHoldsEveryLoopOfTheFlat() {
    if (!havePdfTools())
        QSKIP("poppler-utils is not installed");
    FlatDocument flat;
    const project::Project& p = flat.document.project();
    const project::ProjectResult& r = flat.document.result();
    const CommissioningSheet sheet = commissioningSheet(p, r, QStringLiteral("flat"));
    const QList<QStringList> lines = pdfLines(commissioningSheetPdf(sheet, kWhen));
    int seen = 0;
    for (const project::ManifoldResult& m : r.manifolds) {
        for (std::size_t i = 0; i < m.loops.size(); ++i) {
            const hydraulics::LoopPresetting* preset = m.hydraulics.presetting(i);
            QVERIFY(preset != nullptr);
            const std::optional<double> meter = m.hydraulics.flowMeterLpm(i);
            QVERIFY(meter.has_value());
            QString setting = QString::number(preset->dialSetting);
            if (preset->range == hydraulics::SettingRange::FullyOpen)
                setting += QStringLiteral("（全开）");
            const QStringList cells{QString::fromStdString(m.loops[i].name), setting,
                                    QString::number(*meter, 'f', 2)};
            QVERIFY2(!lineWith(lines, cells).isEmpty(), qPrintable(cells.join(u' ')));
            ++seen;
        }
    }
    QVERIFY(seen >= 4);
    // The steps with their clauses and the signature line.
    QVERIFY(!lineWith(lines, {QStringLiteral("水压试验"), QStringLiteral("142-2004"),
                              QStringLiteral("§5.6")})
                 .isEmpty());
    QVERIFY(!lineWith(lines, {QStringLiteral("初始加热"), QStringLiteral("142-2004"),
                              QStringLiteral("§6.1")})
                 .isEmpty());
    QVERIFY(
        !lineWith(lines, {QStringLiteral("填充层养护"), QStringLiteral("1264-4:2009")}).isEmpty());
}

void HydraulicsWindowsTest::failedWriteKeepsTheOldFile_data() {
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("reason");
    QTest::newRow("sheet, disk full at the size cap") << "sheet"
                                                      << "sizeCap" << qt_error_string(EFBIG);
    QTest::newRow("sheet, a folder of that name") << "sheet"
                                                  << "folder" << QStringLiteral("文件夹");
    QTest::newRow("materials, disk full at the size cap") << "materials"
                                                          << "sizeCap" << qt_error_string(EFBIG);
    QTest::newRow("materials, a folder of that name") << "materials"
                                                      << "folder" << QStringLiteral("文件夹");
}

void HydraulicsWindowsTest::failedWriteKeepsTheOldFile() {
    QFETCH(QString, what);
    QFETCH(QString, failure);
    QFETCH(QString, reason);
    FlatDocument flat;
    QTemporaryDir dir;
    const bool sheet = what == QLatin1String("sheet");
    const QString old =
        dir.filePath(sheet ? QStringLiteral("调试单.pdf") : QStringLiteral("材料表.csv"));
    const QByteArray oldBytes = "old file\n";
    {
        QFile file(old);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(oldBytes);
    }
    FakeDialogs dialogs;
    CommissioningWindow sheetWindow(dialogs);
    MaterialsWindow materialsWindow(dialogs);
    sheetWindow.setProject(flat.document.project(), flat.document.result(), QStringLiteral("flat"));
    materialsWindow.setProject(flat.document.project(), flat.document.result(),
                               QStringLiteral("flat"));
    dialogs.expectMessages(1);
    QString target = old;
    if (failure == "folder") {
        target = dir.filePath(QStringLiteral("文件夹") + (sheet ? ".pdf" : ".csv"));
        QVERIFY(QDir(dir.path()).mkdir(QFileInfo(target).fileName()));
    }
    dialogs.answerSave(target);
    {
        std::optional<FileSizeCap> cap;
        if (failure == "sizeCap")
            cap.emplace(64);
        if (sheet) {
            if (sheetWindow.exportPdf())
                sheetWindow.job().waitForFinished();
        } else {
            QVERIFY(!materialsWindow.exportCsv());
        }
    }
    QCOMPARE(dialogs.messages().size(), 1);
    const QString text = dialogs.messages().first().text;
    QVERIFY2(
        text.contains(sheet ? QStringLiteral("无法保存报告") : QStringLiteral("无法保存材料表")),
        qPrintable(text));
    QVERIFY2(text.contains(reason), qPrintable(text));
    QFile file(old);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), oldBytes);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QFileInfo(old).fileName()});
}

void HydraulicsWindowsTest::materialsCsvReadsBack_data() {
    QTest::addColumn<int>("encoding");
    QTest::newRow("UTF-8 with its mark") << int(io::CsvEncoding::Utf8WithMark);
    QTest::newRow("GBK") << int(io::CsvEncoding::Gbk);
}

// The CSV holds the rows zorva-calc --materials prints and reads back with
// the program's CSV reader; the window's first item is the loops' pipe.
void HydraulicsWindowsTest::materialsCsvReadsBack() {
    QFETCH(int, encoding);
    FlatDocument flat;
    const project::ProjectResult& r = flat.document.result();
    QVERIFY(r.materials.computed);
    FakeDialogs dialogs;
    MaterialsWindow window(dialogs);
    window.setProject(flat.document.project(), r, QStringLiteral("flat"));
    double pipe = 0;
    for (const project::ManifoldResult& m : r.manifolds)
        for (const project::ProjectLoop& l : m.loops)
            pipe += l.figures.length;
    const models::MaterialsTableModel& bill = window.billModel();
    QCOMPARE(bill.index(0, models::MaterialsTableModel::Item).data().toString(),
             QStringLiteral("加热管"));
    QCOMPARE(bill.index(0, models::MaterialsTableModel::Quantity).data().toString(),
             QString::number(pipe, 'f', 1));
    QVERIFY(window.cuttingModel().rowCount() >= 1);

    window.encodingBox()->setCurrentIndex(window.encodingBox()->findData(encoding));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("材料表.csv"));
    dialogs.answerSave(path);
    QVERIFY(window.exportCsv());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(bytes.startsWith("\xEF\xBB\xBF"), encoding == int(io::CsvEncoding::Utf8WithMark));
    const Result<csv::CsvTable> table = csv::readCsv(bytes);
    QVERIFY2(table.ok(), qPrintable(table.error()));
    QCOMPARE(table->encoding,
             encoding == int(io::CsvEncoding::Gbk) ? csv::Encoding::Gbk : csv::Encoding::Utf8);
    QList<QStringList> expected = io::materialsCsvRows(r.materials);
    for (QStringList& row : expected)
        if (row.isEmpty())
            row << QString(); // an empty line reads as one empty field
    QCOMPARE(table->rows, expected);
    QVERIFY(expected.size() > int(r.materials.bill.items.size()) + 2);
}

void HydraulicsWindowsTest::gbkRefusesWhatItCannotShow() {
    const Result<QByteArray> bytes = io::csvFileBytes(
        {{QStringLiteral("环路"), QStringLiteral("客厅\U0001F600")}}, io::CsvEncoding::Gbk);
    QVERIFY(!bytes.ok());
    QVERIFY2(bytes.error().contains(QStringLiteral("\U0001F600")), qPrintable(bytes.error()));
    QVERIFY(io::csvFileBytes({{QStringLiteral("PE 20×2、客厅")}}, io::CsvEncoding::Gbk).ok());
}

// Typed measurements are undo steps of the project; measured as designed,
// the loop keeps its setting.
void HydraulicsWindowsTest::measuredValueUndoRedo() {
    FlatDocument flat;
    models::ProjectDocument& doc = flat.document;
    RebalanceWindow window(doc);
    models::RebalanceTableModel& model = window.model();
    QVERIFY(model.rowCount() >= 4);
    // A copy: the result is replaced by each run.
    const project::ProjectLoop loop = doc.result().manifolds[0].loops[1];
    const auto cell = [&](int column) { return model.index(1, column); };
    const auto measured = [&]() {
        return project::measurementOf(doc.project().manifolds[0].rebalance, loop.name);
    };
    const QString supply = QString::number(loop.figures.supplyTemp, 'g', 17);
    const QString ret = QString::number(loop.figures.returnTemp - 2, 'g', 17);
    const std::size_t measuredAtStart = doc.project().manifolds[0].rebalance.loops.size();
    QVERIFY(measured() == nullptr);
    const int steps = doc.undoStack().count();
    QVERIFY(model.setData(cell(models::RebalanceTableModel::MeasuredSupply), supply));
    QVERIFY(measured() && measured()->returnTemp == loop.figures.returnTemp);
    doc.waitForResult();
    QVERIFY2(cell(models::RebalanceTableModel::Proposed)
                 .data()
                 .toString()
                 .startsWith(QStringLiteral("不变")),
             qPrintable(cell(models::RebalanceTableModel::Proposed).data().toString()));
    QVERIFY(model.setData(cell(models::RebalanceTableModel::MeasuredReturn), ret));
    QCOMPARE(measured()->returnTemp, loop.figures.returnTemp - 2);
    QCOMPARE(doc.undoStack().count(), steps + 2);
    doc.undoStack().undo();
    QCOMPARE(measured()->returnTemp, loop.figures.returnTemp);
    doc.undoStack().undo();
    QVERIFY(measured() == nullptr);
    QCOMPARE(doc.project().manifolds[0].rebalance.loops.size(), measuredAtStart);
    doc.undoStack().redo();
    QCOMPARE(measured()->supplyTemp, loop.figures.supplyTemp);
    doc.undoStack().redo();
    QCOMPARE(measured()->returnTemp, loop.figures.returnTemp - 2);
    doc.waitForResult();
    // 2 K more drop than the design's: more output, the valve closes.
    const project::ManifoldRebalanceResult& b = doc.result().manifolds[0].rebalance;
    QVERIFY(b.loops[1] && b.loops[1]->rebalance.ok());
    QVERIFY(b.loops[1]->rebalance.outputRatio > 1);
    QCOMPARE(cell(models::RebalanceTableModel::ActualOutput).data().toString(),
             QString::number(b.loops[1]->rebalance.actualOutputW, 'f', 0));
}

void HydraulicsWindowsTest::badMeasuredValueIsRefused_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    using M = models::RebalanceTableModel;
    QTest::newRow("supply not a number") << int(M::MeasuredSupply) << "热";
    QTest::newRow("supply above 100 ℃") << int(M::MeasuredSupply) << "100.5";
    QTest::newRow("return below 0 ℃") << int(M::MeasuredReturn) << "-1";
    QTest::newRow("flow zero") << int(M::MeasuredFlow) << "0";
    QTest::newRow("room above 50 ℃") << int(M::MeasuredRoom) << "51";
    QTest::newRow("design column") << int(M::DesignSupply) << "40";
    QTest::newRow("clearing what is not there") << int(M::MeasuredSupply) << "";
}

void HydraulicsWindowsTest::badMeasuredValueIsRefused() {
    QFETCH(int, column);
    QFETCH(QString, text);
    FlatDocument flat;
    models::RebalanceTableModel model(flat.document);
    const int steps = flat.document.undoStack().count();
    const std::vector<project::LoopMeasurement> before =
        flat.document.project().manifolds[0].rebalance.loops;
    QVERIFY(!model.setData(model.index(0, column), text));
    QCOMPARE(flat.document.undoStack().count(), steps);
    const std::vector<project::LoopMeasurement>& after =
        flat.document.project().manifolds[0].rebalance.loops;
    QCOMPARE(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i)
        QCOMPARE(after[i].returnTemp, before[i].returnTemp);
}

// A connection drop 3 kPa higher raises the pump's head by those 3 kPa and
// nothing else; the edit is one undo step, undone and redone whole.
void HydraulicsWindowsTest::hydraulicsEditAppliesAsOneStep() {
    FlatDocument flat;
    models::ProjectDocument& doc = flat.document;
    FakeDialogs dialogs;
    ManifoldHydraulicsEditor editor(doc, dialogs);
    const project::ManifoldHydraulicsInputs before = doc.project().manifolds[0].hydraulics;
    const double head = doc.result().manifolds[0].hydraulics.hydraulics.pump.headKpa;
    QLineEdit* drop = editor.field(QStringLiteral("connectionDrop"));
    QCOMPARE(drop->text(), QString::number(before.connectionDropKpa));
    drop->setText(QString::number(before.connectionDropKpa + 3));
    editor.field(QStringLiteral("barDiameter"))->setText(QStringLiteral("32"));
    editor.findChild<QLineEdit*>(QStringLiteral("pumpCurve"))
        ->setText(QStringLiteral("0:60; 1.5:45; 3:12.5"));
    const int steps = doc.undoStack().count();
    QVERIFY(editor.apply());
    QCOMPARE(doc.undoStack().count(), steps + 1);
    const project::ManifoldHydraulicsInputs& after = doc.project().manifolds[0].hydraulics;
    QCOMPARE(after.connectionDropKpa, before.connectionDropKpa + 3);
    QCOMPARE(after.barInnerDiameter, 0.032);
    QCOMPARE(after.pumpCurve.size(), std::size_t(3));
    QCOMPARE(after.pumpCurve[2].headKpa, 12.5);
    QCOMPARE(after.meterRange.has_value(), before.meterRange.has_value());
    doc.waitForResult();
    const project::ManifoldHydraulicsResult& h = doc.result().manifolds[0].hydraulics;
    QVERIFY(std::abs(h.hydraulics.pump.headKpa - (head + 3)) < 1e-9);
    QVERIFY(h.hydraulics.operating.has_value());
    doc.undoStack().undo();
    QCOMPARE(doc.project().manifolds[0].hydraulics.connectionDropKpa, before.connectionDropKpa);
    QVERIFY(doc.project().manifolds[0].hydraulics.pumpCurve.empty());
    QCOMPARE(drop->text(), QString::number(before.connectionDropKpa));
    doc.undoStack().redo();
    QCOMPARE(doc.project().manifolds[0].hydraulics.barInnerDiameter, 0.032);
}

void HydraulicsWindowsTest::hydraulicsEditRefused_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("body kv zero") << "bodyKv"
                                  << "0" << QStringLiteral("分集水器本体 kv");
    QTest::newRow("one pump point") << "pumpCurve"
                                    << "1:50" << QStringLiteral("水泵曲线");
    QTest::newRow("pump flow falling") << "pumpCurve"
                                       << "2:50; 1:60" << QStringLiteral("递增");
    QTest::newRow("meter range crossed") << "meterMax"
                                         << "0.1" << QStringLiteral("上限应大于下限");
    QTest::newRow("connection drop text") << "connectionDrop"
                                          << "abc" << QStringLiteral("连接管压降");
}

void HydraulicsWindowsTest::hydraulicsEditRefused() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    FlatDocument flat;
    FakeDialogs dialogs;
    ManifoldHydraulicsEditor editor(flat.document, dialogs);
    editor.field(QStringLiteral("meterMin"))->setText(QStringLiteral("0.5"));
    editor.findChild<QLineEdit*>(field)->setText(text);
    const int steps = flat.document.undoStack().count();
    QVERIFY(!editor.apply());
    QCOMPARE(flat.document.undoStack().count(), steps);
    const QString status = editor.findChild<QLabel*>(QStringLiteral("hydraulicsStatus"))->text();
    QVERIFY2(status.contains(message), qPrintable(status));
}

void HydraulicsWindowsTest::windowsOpenFromTheProjectWindow() {
    FakeDialogs dialogs;
    ProjectWindow window(dialogs);
    dialogs.answerOpen(kFlat);
    QVERIFY(window.openProject());
    window.document().waitForResult();
    for (const char* action : {"showMaterials", "showCommissioning", "showRebalance"})
        window.findChild<QAction*>(QLatin1String(action))->trigger();
    auto* sheet = window.findChild<CommissioningWindow*>();
    QVERIFY(sheet && sheet->isVisible());
    QCOMPARE(sheet->table()->model()->rowCount(),
             int(window.document().result().manifolds[0].hydraulics.loopOfBranch.size()));
    auto* materials = window.findChild<MaterialsWindow*>();
    QVERIFY(materials && materials->isVisible());
    QCOMPARE(materials->billModel().rowCount(),
             int(window.document().result().materials.bill.items.size()));
    // The flat's bedroom loop was measured giving more than its design: the
    // proposal closes its valve.
    auto* rebalance = window.findChild<RebalanceWindow*>();
    QVERIFY(rebalance);
    const project::ManifoldResult& m = window.document().result().manifolds[0];
    bool found = false;
    for (std::size_t i = 0; i < m.loops.size(); ++i) {
        if (m.loops[i].name != "主卧-1")
            continue;
        found = true;
        QVERIFY(m.rebalance.loops[i] && m.rebalance.loops[i]->rebalance.ok());
        const hydraulics::LoopRebalance& r = m.rebalance.loops[i]->rebalance;
        QVERIFY(r.outputRatio > 1.05 && r.change);
        QVERIFY(r.proposedDial < m.hydraulics.presetting(i)->dialSetting);
        QCOMPARE(rebalance->model()
                     .index(int(i), models::RebalanceTableModel::Proposed)
                     .data()
                     .toString(),
                 QString::number(r.proposedDial));
    }
    QVERIFY(found);
    QVERIFY(window.findChild<QAction*>(QStringLiteral("exportCommissioning")));
}

// The windows on the flat as the README shows them, and the sheet's PDF.
void HydraulicsWindowsTest::screenshots() {
    const QString folder = qEnvironmentVariable("ZORVA_SCREENSHOT_DIR");
    if (folder.isEmpty())
        QSKIP("ZORVA_SCREENSHOT_DIR is not set");
    FlatDocument flat;
    FakeDialogs dialogs;
    MaterialsWindow materials(dialogs);
    materials.setProject(flat.document.project(), flat.document.result(), QStringLiteral("flat"));
    materials.show();
    QVERIFY(QTest::qWaitForWindowExposed(&materials, kPatienceMs));
    QVERIFY(materials.grab().save(folder + QStringLiteral("/screenshot-materials.png")));
    CommissioningWindow sheet(dialogs);
    sheet.setProject(flat.document.project(), flat.document.result(), QStringLiteral("flat"));
    sheet.show();
    QVERIFY(QTest::qWaitForWindowExposed(&sheet, kPatienceMs));
    QVERIFY(sheet.grab().save(folder + QStringLiteral("/screenshot-commissioning.png")));
    QFile pdf(folder + QStringLiteral("/commissioning-sheet.pdf"));
    QVERIFY(pdf.open(QIODevice::WriteOnly));
    pdf.write(commissioningSheetPdf(sheet.sheet(), kWhen));
}

QTEST_MAIN(HydraulicsWindowsTest)
#include "tst_hydraulicswindows.moc"
