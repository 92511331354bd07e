// SPDX-License-Identifier: GPL-3.0-or-later
// Rooms from a CSV table: columns by caption in any order, the project
// file's ranges, GBK and UTF-8, and every bad row refused naming its line,
// its room and the field.

#include "core/io/roomscsv.h"

#include <QTest>

using namespace zorva;
using namespace zorva::io;

namespace {

project::Project twoManifolds() {
    project::Project p = project::newProject();
    p.manifolds[0].name = "一层";
    p.manifolds.push_back(project::Manifold{});
    p.manifolds[1].name = "二层";
    return p;
}

QByteArray table(const QByteArray& rows) {
    return "\xEF\xBB\xBF房间,房间类别,室内温度(℃),房间面积(m²),敷设面积,地面覆盖层热阻(m²·K/W),"
           "连接管长度(m),热负荷(W),分集水器\r\n" +
           rows;
}

} // namespace

class RoomsCsvTest : public QObject {
    Q_OBJECT

private slots:
    void roomsRead();
    void gbkAndFewColumns();
    void headerOfAnExportReadsBack();
    void badRows_data();
    void badRows();
};

void RoomsCsvTest::roomsRead() {
    const Result<RoomsCsvImport> r =
        importRoomsCsv(table("客厅,人员长期停留,20,32.4,28,0.1,3,1949.72,一层\r\n"
                             "\r\n"
                             "'=卫生间,浴室,25,4.32,2.6,0.05,4,,二层\r\n"
                             "次卧,,18,10.8,,,,,\r\n"),
                       twoManifolds());
    QVERIFY2(r.ok(), qPrintable(r.error()));
    QCOMPARE(r->rooms.size(), std::size_t(3));
    const project::Room& living = r->rooms[0];
    QCOMPARE(living.name, std::string("客厅"));
    QCOMPARE(living.category, RoomCategory::LongStay);
    QCOMPARE(living.indoorTemp, 20.0);
    QCOMPARE(living.floorArea, 32.4);
    QCOMPARE(living.heatedArea, 28.0);
    QCOMPARE(living.coveringResistance, 0.1);
    QCOMPARE(living.leaderLength, 3.0);
    QCOMPARE(living.typedLoad, std::optional<double>(1949.72));
    QCOMPARE(living.manifold, std::size_t(0));
    const project::Room& bath = r->rooms[1];
    QCOMPARE(bath.name, std::string("=卫生间")); // the apostrophe of a formula-like name dropped
    QCOMPARE(bath.category, RoomCategory::Bathroom);
    QVERIFY(!bath.typedLoad);
    QCOMPARE(bath.manifold, std::size_t(1));
    // Blank cells keep the defaults; a blank heated area is the floor area.
    const project::Room& second = r->rooms[2];
    QCOMPARE(second.heatedArea, 10.8);
    QCOMPARE(second.coveringResistance, project::Room{}.coveringResistance);
    QCOMPARE(second.category, project::Room{}.category);
}

void RoomsCsvTest::gbkAndFewColumns() {
    // 房间,室内温度,房间面积 / 卧室,18,12.5 in GBK.
    const QByteArray gbk = QByteArray::fromHex(
        "b7bfbce42ccad2c4dacec2b6c82cb7bfbce4c3e6bbfd0aced4cad22c31382c31322e350a");
    const Result<RoomsCsvImport> r = importRoomsCsv(gbk, twoManifolds());
    QVERIFY2(r.ok(), qPrintable(r.error()));
    QCOMPARE(r->encoding, csv::Encoding::Gbk);
    QCOMPARE(r->rooms.size(), std::size_t(1));
    QCOMPARE(r->rooms[0].name, std::string("卧室"));
    QCOMPARE(r->rooms[0].heatedArea, 12.5);
}

void RoomsCsvTest::headerOfAnExportReadsBack() {
    const QByteArray header = roomsCsvHeader().join(u',').toUtf8();
    const Result<RoomsCsvImport> r =
        importRoomsCsv(header + "\n主卧,居住区,18,15.12,12.5,0.1,6,963.5,\n", twoManifolds());
    QVERIFY2(r.ok(), qPrintable(r.error()));
    QCOMPARE(r->rooms[0].category, RoomCategory::Residential);
    QCOMPARE(r->rooms[0].leaderLength, 6.0);
}

void RoomsCsvTest::badRows_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::newRow("no temperature column")
        << QByteArray("房间,房间面积\n客厅,20\n") << "第 1 行：缺少“室内温度(℃)”一列";
    QTest::newRow("not a number") << table("客厅,,x2,20,,,,,\r\n")
                                  << "第 2 行（房间“客厅”）：“室内温度”不是数字：x2";
    QTest::newRow("out of range") << table("客厅,,20,0,,,,,\r\n")
                                  << "第 2 行（房间“客厅”）：“房间面积”的值 0 超出范围 0.01 ~ "
                                     "100000 m²";
    QTest::newRow("heated above floor")
        << table("客厅,,20,20,21,,,,\r\n")
        << "第 2 行（房间“客厅”）：敷设面积 21 m² 大于房间面积 20 m²";
    QTest::newRow("no such manifold") << table("客厅,,20,20,,,,,三层\r\n")
                                      << "第 2 行（房间“客厅”）：项目中没有名为“三层”的分集水器";
    QTest::newRow("unknown use")
        << table("客厅,车库,20,20,,,,,\r\n")
        << "第 2 行（房间“客厅”）：“房间类别”应是 人员经常停留、人员短期停留、无人停留、居住区、"
           "浴室 或 边缘区，而不是“车库”";
    QTest::newRow("a column twice") << QByteArray("房间,室内温度,室内温度(℃),房间面积\n")
                                    << "第 1 行：“室内温度”一列出现了两次";
    QTest::newRow("no name") << table(",,20,20,,,,,\r\n") << "第 2 行：“房间”为空";
    QTest::newRow("negative load")
        << table("客厅,,20,20,,,,-5,\r\n")
        << "第 2 行（房间“客厅”）：“热负荷”的值 -5 超出范围 0 ~ 10000000 W";
    QTest::newRow("nothing") << QByteArray("\n\n") << "文件中没有表头和数据";
}

void RoomsCsvTest::badRows() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    const Result<RoomsCsvImport> r = importRoomsCsv(bytes, twoManifolds());
    QVERIFY(!r.ok());
    QCOMPARE(r.error(), message);
}

QTEST_APPLESS_MAIN(RoomsCsvTest)
#include "tst_roomscsv.moc"
