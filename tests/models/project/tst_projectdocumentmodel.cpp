// SPDX-License-Identifier: GPL-3.0-or-later
// The project window's document and table models without a window: the
// flat example's rooms as the pipeline gives them, the heat-load worked
// examples typed as rooms to their printed digits, edit → undo → redo
// chains over every table cell, saves that fail keeping the old file and
// saying why, and results of superseded runs never replacing newer ones.

#include "core/io/citytablefile.h"
#include "core/io/projectfile.h"
#include "core/io/safesave.h"
#include "models/project/envelopetablemodel.h"
#include "models/project/looptablemodel.h"
#include "models/project/projectdocument.h"
#include "models/project/roomtablemodel.h"
#include "support/filesizecap.h"

#include <QFile>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace zorva;
using namespace zorva::models;
using Col = RoomTableModel::Column;

namespace {

const QString kFlat = QStringLiteral(ZORVA_TESTS_SOURCE_DIR "/../examples/flat.zorvaproj");

// Every cell's text of a model, row by row.
QStringList cells(const QAbstractItemModel& model) {
    QStringList out;
    for (int r = 0; r < model.rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < model.columnCount(); ++c)
            row << model.index(r, c).data().toString();
        out << row.join(u'|');
    }
    return out;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// The bedroom of the worked examples: 4.0 × 5.0 × 2.8 m, a north wall of
// 8.95 m² net and a 2.25 m² window.
project::Room bedroom(double indoorTemp) {
    project::Room room;
    room.name = "卧室";
    room.indoorTemp = indoorTemp;
    room.floorArea = 20;
    room.heatedArea = 18;
    room.leaderLength = 3;
    heatload::RoomEnvelope envelope;
    envelope.height = 2.8;
    envelope.airChanges = 0.5;
    heatload::EnvelopeElement wall;
    wall.name = "北外墙";
    wall.area = 8.95;
    wall.u = 0.45;
    wall.orientation = heatload::Orientation::N;
    heatload::EnvelopeElement window = wall;
    window.name = "北外窗";
    window.kind = heatload::ElementKind::Window;
    window.area = 2.25;
    window.u = 2.0;
    envelope.elements = {wall, window};
    room.envelope = envelope;
    return room;
}

} // namespace

class ProjectDocumentModelTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { io::ignoreFileSizeSignal(); }
    void flatRoomsAsThePipelineGivesThem_data();
    void flatRoomsAsThePipelineGivesThem();
    void workedExamplesToTheirDigits_data();
    void workedExamplesToTheirDigits();
    void editUndoRedoRestoresEveryCell_data();
    void editUndoRedoRestoresEveryCell();
    void failedSaveKeepsTheOldFile_data();
    void failedSaveKeepsTheOldFile();
    void loopTableResetsOnlyWhenItsRowsChange_data();
    void loopTableResetsOnlyWhenItsRowsChange();
    void supersededRunNeverOverwrites();
    void versionOneOpensAsOneManifold();
    void valveFileBesideTheProject_data();
    void valveFileBesideTheProject();

private:
    std::shared_ptr<const heatload::CityTable> cities_;
};

void ProjectDocumentModelTest::flatRoomsAsThePipelineGivesThem_data() {
    QTest::addColumn<int>("room");
    for (int r = 0; r < 5; ++r)
        QTest::addRow("room %d", r) << r;
}

// The table shows what computeProject gives for the example, opened as a
// user opens it.
void ProjectDocumentModelTest::flatRoomsAsThePipelineGivesThem() {
    QFETCH(int, room);
    io::CityTableLoad table = io::loadBuiltinCityTable();
    QVERIFY(table.ok());
    ProjectDocument doc;
    QVERIFY2(doc.open(kFlat).ok(), qPrintable(kFlat));
    doc.waitForResult();
    RoomTableModel model(doc);
    QVERIFY(room < model.rowCount());

    project::ComputeOptions options;
    options.cities = &*table;
    const project::ProjectResult pipeline = project::computeProject(doc.project(), options);
    const project::RoomResult& r = pipeline.rooms[std::size_t(room)];
    const project::Room& input = doc.project().rooms[std::size_t(room)];
    QVERIFY(r.load.ok());
    auto cell = [&](int column) { return model.index(room, column).data().toString(); };
    QCOMPARE(cell(Col::HeatLoad), QString::number(r.load.heatLoad, 'f', 0));
    QCOMPARE(cell(Col::LoadPerArea), QString::number(r.load.heatLoad / input.floorArea, 'f', 2));
    QCOMPARE(cell(Col::Spacing), QString::number(r.design.spacing * 1000, 'f', 0));
    QCOMPARE(cell(Col::LoopCount), QString::number(r.design.loops.size()));
    QCOMPARE(cell(Col::Supplementary), QString::number(r.supplementaryHeat, 'f', 0));
    QCOMPARE(cell(Col::LoadSource), QStringLiteral("GB 50736-2012 §5.2"));
    // Each loop's length is the pipe in the area over n plus both leaders.
    const QStringList lengths = cell(Col::LoopLengths).split(QStringLiteral("、"));
    QCOMPARE(lengths.size(), int(r.design.loops.size()));
    for (const QString& length : lengths)
        QVERIFY(length.toDouble() <= 120.05);
}

void ProjectDocumentModelTest::workedExamplesToTheirDigits_data() {
    QTest::addColumn<int>("method"); // project::LoadMethod
    QTest::addColumn<QString>("load");
    QTest::addColumn<QString>("perArea");
    QTest::addColumn<QStringList>("breakdown"); // W: transmission, additions, air, total
    // GB 50736-2012, Beijing t_wn −7.6 ℃, option A (t_n − 2): 467.4684 W,
    // 23.37 W/m²; Q_T 221.3739 W of which 201.2490 W basic.
    QTest::newRow("GB example A") << int(project::LoadMethod::Gb50736) << "467"
                                  << "23.37" << QStringList{"201.2", "20.1", "246.1", "467.5"};
    // EN 12831-1, θ_e −12 ℃, with a wall of 14 m² to an unheated stair
    // (f_x 0.5): Φ_T 555.12 W, Φ_V 304.64 W, 859.76 W, 42.99 W/m².
    QTest::newRow("EN example B") << int(project::LoadMethod::En12831) << "860"
                                  << "42.99" << QStringList{"555.1", "0.0", "304.6", "859.8"};
}

void ProjectDocumentModelTest::workedExamplesToTheirDigits() {
    QFETCH(int, method);
    QFETCH(QString, load);
    QFETCH(QString, perArea);
    QFETCH(QStringList, breakdown);
    ProjectDocument doc(std::make_shared<const heatload::CityTable>());
    const bool en = project::LoadMethod(method) == project::LoadMethod::En12831;
    project::Room room = bedroom(en ? 20 : 18);
    if (en) {
        heatload::EnvelopeElement stair;
        stair.name = "楼梯间隔墙";
        stair.kind = heatload::ElementKind::Partition;
        stair.boundary = heatload::Boundary::UnheatedSpace;
        stair.area = 14.0;
        stair.u = 1.0;
        room.envelope->elements.push_back(stair);
    }
    project::Settings settings = doc.project().settings;
    settings.heatLoad.method = project::LoadMethod(method);
    settings.heatLoad.climate.outdoorTemp = en ? -12.0 : -7.6;
    settings.heatLoad.climate.winterSunshine = 64;
    settings.heatLoad.gb.allowance = heatload::FloorAllowance::LowerIndoorTemp;
    doc.setSettings(settings, QStringLiteral("设置"));
    doc.insertRooms(0, {room}, QStringLiteral("添加"));
    doc.waitForResult();

    RoomTableModel rooms(doc);
    QCOMPARE(rooms.index(0, Col::HeatLoad).data().toString(), load);
    QCOMPARE(rooms.index(0, Col::LoadPerArea).data().toString(), perArea);
    LoadBreakdownModel parts(doc);
    parts.setRoom(0);
    for (int row = 0; row < LoadBreakdownModel::RowCount; ++row)
        QCOMPARE(parts.index(row, 0).data().toString(), breakdown[row]);
}

void ProjectDocumentModelTest::editUndoRedoRestoresEveryCell_data() {
    QTest::addColumn<QString>("edit");
    QTest::newRow("room name") << "name";
    QTest::newRow("indoor temperature") << "indoor";
    QTest::newRow("heated area") << "heated";
    QTest::newRow("typed load") << "typed";
    QTest::newRow("spacing override") << "spacing";
    QTest::newRow("loop count override") << "loops";
    QTest::newRow("envelope area") << "area";
    QTest::newRow("envelope element added") << "addElement";
    QTest::newRow("envelope element removed") << "removeElement";
    QTest::newRow("room added") << "addRoom";
    QTest::newRow("room deleted") << "deleteRoom";
    QTest::newRow("load method typed") << "loadMethod";
    QTest::newRow("typed outdoor temperature") << "outdoor";
    QTest::newRow("calculation method") << "method";
}

// Every cell of every table after an edit, its undo and its redo: the undo
// gives back each cell as it was, the redo each cell as the edit made it.
void ProjectDocumentModelTest::editUndoRedoRestoresEveryCell() {
    QFETCH(QString, edit);
    ProjectDocument doc;
    QVERIFY(doc.open(kFlat).ok());
    doc.waitForResult();
    RoomTableModel rooms(doc);
    LoopTableModel loops(doc);
    EnvelopeTableModel envelope(doc);
    envelope.setRoom(0);
    LoadBreakdownModel parts(doc);
    parts.setRoom(0);
    auto snapshot = [&] {
        doc.waitForResult();
        return QList<QStringList>{cells(rooms), cells(loops), cells(envelope), cells(parts)};
    };
    const QList<QStringList> before = snapshot();
    QVERIFY(!doc.isModified());

    project::Settings settings = doc.project().settings;
    if (edit == "name")
        QVERIFY(rooms.setData(rooms.index(0, Col::Name), QStringLiteral("起居室")));
    else if (edit == "indoor")
        QVERIFY(rooms.setData(rooms.index(0, Col::IndoorTemp), QStringLiteral("２２")));
    else if (edit == "heated")
        QVERIFY(rooms.setData(rooms.index(0, Col::HeatedArea), QStringLiteral("20,5")));
    else if (edit == "typed")
        QVERIFY(rooms.setData(rooms.index(0, Col::TypedLoad), QStringLiteral("1500")));
    else if (edit == "spacing")
        QVERIFY(rooms.setData(rooms.index(0, Col::Spacing), QStringLiteral("100")));
    else if (edit == "loops")
        QVERIFY(rooms.setData(rooms.index(0, Col::LoopCount), QStringLiteral("4")));
    else if (edit == "area")
        QVERIFY(
            envelope.setData(envelope.index(0, EnvelopeTableModel::Area), QStringLiteral("12.5")));
    else if (edit == "addElement")
        envelope.addElement(0);
    else if (edit == "removeElement")
        envelope.removeElement(1);
    else if (edit == "addRoom")
        doc.insertRooms(1, {doc.newRoom()}, QStringLiteral("添加房间"));
    else if (edit == "deleteRoom")
        doc.removeRooms({1, 3});
    else if (edit == "loadMethod")
        settings.heatLoad.method = project::LoadMethod::Typed;
    else if (edit == "outdoor")
        settings.heatLoad.climate.outdoorTemp = -12;
    else if (edit == "method")
        settings.method = method::Method::Program;
    if (edit == "loadMethod" || edit == "outdoor" || edit == "method")
        doc.setSettings(settings, QStringLiteral("设置"));
    QCOMPARE(doc.undoStack().count(), 1);
    QVERIFY(doc.isModified());
    const QList<QStringList> after = snapshot();
    QVERIFY(after != before);

    for (int round = 0; round < 2; ++round) {
        doc.undoStack().undo();
        QCOMPARE(snapshot(), before);
        QVERIFY(!doc.isModified());
        doc.undoStack().redo();
        QCOMPARE(snapshot(), after);
    }
}

void ProjectDocumentModelTest::failedSaveKeepsTheOldFile_data() {
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("reason"); // part of the message; empty: any
    QTest::newRow("read-only folder") << "readOnly" << qt_error_string(EACCES);
    QTest::newRow("disk full at the size cap") << "sizeCap" << qt_error_string(EFBIG);
    QTest::newRow("target is a folder") << "folder" << QStringLiteral("文件夹");
    QTest::newRow("folder missing") << "missing" << QString();
}

void ProjectDocumentModelTest::failedSaveKeepsTheOldFile() {
    QFETCH(QString, failure);
    QFETCH(QString, reason);
    if (failure == "readOnly" && ::geteuid() == 0)
        QSKIP("root writes into a read-only folder");
    QTemporaryDir dir;
    QString target = dir.filePath(QStringLiteral("旧项目.zorvaproj"));
    const QByteArray old = "old project bytes\n";
    {
        QFile file(target);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(old);
    }
    if (failure == "folder")
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("子目录")));
    if (failure == "folder")
        target = dir.filePath(QStringLiteral("子目录"));
    if (failure == "missing")
        target = dir.filePath(QStringLiteral("没有/项目.zorvaproj"));

    ProjectDocument doc;
    QVERIFY(doc.open(kFlat).ok());
    QVERIFY(doc.isModified() == false);
    doc.insertRooms(0, {doc.newRoom()}, QStringLiteral("添加房间"));
    Result<void> saved = Result<void>();
    if (failure == "readOnly") {
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0500) == 0);
        saved = doc.saveAs(target);
        ::chmod(QFile::encodeName(dir.path()).constData(), 0700);
    } else if (failure == "sizeCap") {
        const FileSizeCap cap{100};
        saved = doc.saveAs(target);
    } else {
        saved = doc.saveAs(target);
    }
    QVERIFY(!saved.ok());
    QVERIFY2(saved.error().contains(target), qPrintable(saved.error()));
    QVERIFY2(reason.isEmpty() || saved.error().contains(reason), qPrintable(saved.error()));
    if (failure != "folder" && failure != "missing")
        QCOMPARE(readAll(target), old);
    QCOMPARE(readAll(dir.filePath(QStringLiteral("旧项目.zorvaproj"))), old);
    // Nothing is taken as saved: the document keeps its file and its edit.
    QCOMPARE(doc.fileName(), kFlat);
    QVERIFY(doc.isModified());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

// A new result with as many loops changes the loop table's cells only (a
// view keeps its scroll position and selection); one with more or fewer
// loops resets it, and the table then shows the new rows.
void ProjectDocumentModelTest::loopTableResetsOnlyWhenItsRowsChange_data() {
    QTest::addColumn<QString>("loops"); // the first room's loop count, typed
    QTest::addColumn<int>("added");     // loops the table gains
    QTest::newRow("indoor temperature") << QString() << 0;
    QTest::newRow("four loops") << QStringLiteral("4") << 2;
}

void ProjectDocumentModelTest::loopTableResetsOnlyWhenItsRowsChange() {
    QFETCH(QString, loops);
    QFETCH(int, added);
    ProjectDocument doc;
    QVERIFY(doc.open(kFlat).ok());
    doc.waitForResult();
    RoomTableModel rooms(doc);
    LoopTableModel table(doc);
    const int before = table.rowCount();
    QSignalSpy resets(&table, &QAbstractItemModel::modelReset);
    QSignalSpy changes(&table, &QAbstractItemModel::dataChanged);
    if (loops.isEmpty())
        QVERIFY(rooms.setData(rooms.index(0, Col::IndoorTemp), QStringLiteral("19")));
    else
        QVERIFY(rooms.setData(rooms.index(0, Col::LoopCount), loops));
    doc.waitForResult();
    QCOMPARE(table.rowCount(), before + added);
    QCOMPARE(resets.size(), added == 0 ? 0 : 1);
    QCOMPARE(changes.size(), added == 0 ? 1 : 0);
    QVERIFY(!table.index(before + added - 1, LoopTableModel::Name).data().toString().isEmpty());
}

// An older run that finishes after a newer one is dropped, and the result
// shown is that of the project as it stands.
void ProjectDocumentModelTest::supersededRunNeverOverwrites() {
    ProjectDocument doc(std::make_shared<const heatload::CityTable>());
    doc.waitForResult();
    auto gate = std::make_shared<QSemaphore>(0);
    auto calls = std::make_shared<std::atomic<int>>(0);
    doc.setComputeFunction(
        [gate, calls](const project::Project& p, const project::ComputeOptions& o) {
            calls->fetch_add(1);
            // The run of the first edit (one room) waits until the test lets
            // it go; which run reaches this line first is the pool's choice.
            if (p.rooms.size() == 1)
                gate->acquire();
            project::ComputeOptions unstoppable = o; // the run does not look at a newer edit
            unstoppable.progress = {};
            project::ProjectResult r = project::computeProject(p, unstoppable);
            return r;
        });
    doc.insertRooms(0, {doc.newRoom()}, QStringLiteral("一"));
    const std::uint64_t first = doc.revision();
    doc.insertRooms(1, {doc.newRoom()}, QStringLiteral("二"));
    QVERIFY(doc.revision() > first);
    doc.waitForResult();
    QCOMPARE(doc.result().rooms.size(), std::size_t(2));
    gate->release();
    QTRY_VERIFY(!doc.busy());
    QCoreApplication::processEvents();
    QCOMPARE(doc.resultRevision(), doc.revision());
    QCOMPARE(doc.result().rooms.size(), std::size_t(2));
    QCOMPARE(calls->load(), 2);
}

// A version-1 file of the manifold sheet opens as one manifold with its
// loops, by the program's own method, and is not marked modified.
void ProjectDocumentModelTest::versionOneOpensAsOneManifold() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("v1.zorvaproj"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"({"format": "zorva-manifold", "version": 1,
        "manifold": {"supplyTemp": 45, "tempDiff": 8, "surfaceThickness": 20,
            "levelThickness": 20, "fillThickness": 50, "pipeWallThickness": 2,
            "surfaceConductivity": 2.91, "levelConductivity": 1.84, "fillConductivity": 1.28,
            "pipeConductivity": 0.41, "pipeDiameter": 20, "elbows": 2, "allowance": 5},
        "loops": [{"name": "客厅", "roomTemp": 18, "spacing": 200, "length": 80, "load": 900},
                  {"name": "卧室", "roomTemp": 18, "spacing": 150, "length": 60}]})");
    file.close();
    ProjectDocument doc;
    const Result<void> opened = doc.open(path);
    QVERIFY2(opened.ok(), qPrintable(opened.error()));
    doc.waitForResult();
    QVERIFY(!doc.isModified());
    QCOMPARE(doc.project().manifolds.size(), std::size_t(1));
    QCOMPARE(doc.project().settings.method, method::Method::Program);
    LoopTableModel loops(doc);
    QCOMPARE(loops.rowCount(), 2);
    QCOMPARE(loops.index(0, LoopTableModel::Name).data().toString(), QStringLiteral("客厅"));
    QCOMPARE(loops.index(1, LoopTableModel::Spacing).data().toString(), QStringLiteral("150"));
    QCOMPARE(loops.index(1, LoopTableModel::Length).data().toString(), QStringLiteral("60.0"));
}

void ProjectDocumentModelTest::valveFileBesideTheProject_data() {
    QTest::addColumn<bool>("present");
    QTest::newRow("valve file beside the project") << true;
    QTest::newRow("valve file missing") << false;
}

// A manifold's valve file is read from the project's folder when the window
// opens the project, as zorva-calc reads it: its table gives the settings.
void ProjectDocumentModelTest::valveFileBesideTheProject() {
    QFETCH(bool, present);
    QTemporaryDir dir;
    if (present) {
        QFile valve(dir.filePath(QStringLiteral("fh.csv")));
        QVERIFY(valve.open(QIODevice::WriteOnly));
        valve.write("name,某阀\nresolution,0.5\nsetting,kv\n1,0.1\n2,0.4\n3,0.8\n");
    }
    ProjectDocument doc;
    QVERIFY(doc.open(kFlat).ok());
    project::Project p = doc.project();
    p.manifolds[0].hydraulics.valve.source = project::ValveSource::File;
    p.manifolds[0].hydraulics.valve.file = "fh.csv";
    const QString path = dir.filePath(QStringLiteral("flat.zorvaproj"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(io::projectDocumentText(p));
    }
    QVERIFY(doc.open(path).ok());
    doc.waitForResult();
    const project::ManifoldHydraulicsResult& h = doc.result().manifolds[0].hydraulics;
    QCOMPARE(h.valveProblem,
             present ? project::ValveProblem::None : project::ValveProblem::FileNotRead);
    if (present) {
        QCOMPARE(h.valveName, std::string("某阀"));
        QCOMPARE(h.valve.kv.back(), 0.8);
        // The index loop gets the table's last setting.
        const std::size_t index = h.loopOfBranch[*h.hydraulics.presetting.indexLoop];
        QCOMPARE(h.presetting(index)->dialSetting, 3.0);
    }
}

QTEST_GUILESS_MAIN(ProjectDocumentModelTest)
#include "tst_projectdocumentmodel.moc"
