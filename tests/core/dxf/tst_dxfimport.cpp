// SPDX-License-Identifier: GPL-3.0-or-later
// DXF in: the hand-drawn flat of data/flat.dxf (metres, CRLF lines, an
// LWPOLYLINE, an old POLYLINE with VERTEX and SEQEND, a clockwise L, an
// outline closed by repeating its first vertex, a bay drawn with a bulge, a
// block and its INSERT) gives its rooms with the areas worked out by hand;
// the units of $INSUNITS; and broken files are refused without a crash.

#include "core/dxf/dxfreader.h"

#include <QFile>
#include <QTest>

#include <cmath>
#include <numbers>

using namespace zorva::dxf;

namespace {

std::string flatBytes() {
    QFile f(QStringLiteral(ZORVA_TESTS_SOURCE_DIR "/core/dxf/data/flat.dxf"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll().toStdString();
}

// A drawing with one closed rectangle w × h in the given $INSUNITS code
// (none when negative).
std::string rectangleDxf(int units, double w, double h) {
    std::string s;
    const auto g = [&](int code, const std::string& v) {
        s += std::to_string(code) + "\n" + v + "\n";
    };
    g(0, "SECTION");
    g(2, "HEADER");
    if (units >= 0) {
        g(9, "$INSUNITS");
        g(70, std::to_string(units));
    }
    g(0, "ENDSEC");
    g(0, "SECTION");
    g(2, "ENTITIES");
    g(0, "LWPOLYLINE");
    g(8, "0");
    g(90, "4");
    g(70, "1");
    for (const auto& [x, y] : {std::pair{0.0, 0.0}, {w, 0.0}, {w, h}, {0.0, h}}) {
        g(10, std::to_string(x));
        g(20, std::to_string(y));
    }
    g(0, "ENDSEC");
    g(0, "EOF");
    return s;
}

} // namespace

class DxfImportTest : public QObject {
    Q_OBJECT

private slots:
    void flatGivesItsRooms_data();
    void flatGivesItsRooms();
    void flatKeepsTheRestAsBackground();
    void unitsFollowInsunits_data();
    void unitsFollowInsunits();
    void brokenFilesAreRefused_data();
    void brokenFilesAreRefused();
    void escapesDecode_data();
    void escapesDecode();
};

void DxfImportTest::flatGivesItsRooms_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<double>("area");      // m²
    QTest::addColumn<double>("perimeter"); // m
    QTest::addColumn<double>("tolerance"); // m² and m
    QTest::newRow("living 4.2 × 3.6") << 0 << 15.12 << 15.6 << 1e-9;
    QTest::newRow("bedroom 3.3 × 3.6, POLYLINE") << 1 << 11.88 << 13.8 << 1e-9;
    // 3.0 × 1.8 + 1.8 × 1.2, drawn clockwise.
    QTest::newRow("kitchen L") << 2 << 7.56 << 12.0 << 1e-9;
    QTest::newRow("bathroom closed by its first vertex") << 3 << 3.78 << 7.8 << 1e-9;
    // 2.4 × 3.0 + π·1²/2; 2.4 + 0.5 + π + 0.5 + 2.4 + 3.0; the arc as chords
    // within a thousandth of its radius.
    QTest::newRow("study with a half-round bay")
        << 4 << 7.2 + std::numbers::pi / 2 << 8.8 + std::numbers::pi << 3e-3;
}

void DxfImportTest::flatGivesItsRooms() {
    QFETCH(int, index);
    QFETCH(double, area);
    QFETCH(double, perimeter);
    QFETCH(double, tolerance);
    const ImportResult r = readDxfText(flatBytes());
    QVERIFY2(r.ok, r.error.c_str());
    QCOMPARE(r.outlines.size(), std::size_t(5));
    QCOMPARE(r.unitToMm, 1000.0);
    QVERIFY(!r.unitsAssumed);
    const ImportedOutline& o = r.outlines[static_cast<std::size_t>(index)];
    QCOMPARE(o.layer, std::string("ROOMS"));
    QVERIFY2(std::abs(o.area - area) <= tolerance * std::max(1.0, area),
             qPrintable(QString::number(o.area, 'g', 12)));
    QVERIFY2(std::abs(o.perimeter - perimeter) <= tolerance * std::max(1.0, perimeter),
             qPrintable(QString::number(o.perimeter, 'g', 12)));
    QVERIFY(zorva::layout::signedArea(o.outline) > 0);
}

void DxfImportTest::flatKeepsTheRestAsBackground() {
    const ImportResult r = readDxfText(flatBytes());
    QVERIFY(r.ok);
    const Drawing& bg = r.background;
    // The block's own line and arc and its INSERT are left out.
    QCOMPARE(r.skipped, std::size_t(3));
    QVERIFY(!r.notes.empty());
    QCOMPARE(bg.lines.size(), std::size_t(1));
    QCOMPARE(bg.lines[0].layer, std::string("WALLS"));
    QCOMPARE(bg.lines[0].a, (Point{-200, -200}));
    QCOMPARE(bg.lines[0].b, (Point{7700, -200}));
    QCOMPARE(bg.arcs.size(), std::size_t(1));
    QCOMPARE(bg.arcs[0].radius, 900.0);
    QCOMPARE(bg.arcs[0].endAngle, 90.0);
    QCOMPARE(bg.circles.size(), std::size_t(1));
    QCOMPARE(bg.circles[0].centre, (Point{8000, 7000}));
    QCOMPARE(bg.polylines.size(), std::size_t(1));
    QVERIFY(!bg.polylines[0].closed);
    QCOMPARE(bg.texts.size(), std::size_t(2));
    QCOMPARE(bg.texts[0].text, std::string("客厅"));
    QCOMPARE(bg.texts[0].height, 300.0);
    QCOMPARE(bg.texts[1].text, std::string("BEDROOM 2"));
    QCOMPARE(bg.layers.size(), std::size_t(3));
    QCOMPARE(bg.layers[1].name, std::string("ROOMS"));
    QCOMPARE(bg.layers[1].colour, 3);
}

void DxfImportTest::unitsFollowInsunits_data() {
    QTest::addColumn<int>("units");
    QTest::addColumn<double>("w");
    QTest::addColumn<double>("h");
    QTest::addColumn<double>("area"); // m²
    QTest::addColumn<bool>("assumed");
    QTest::newRow("millimetres") << 4 << 4200.0 << 3600.0 << 15.12 << false;
    QTest::newRow("centimetres") << 5 << 420.0 << 360.0 << 15.12 << false;
    QTest::newRow("decimetres") << 14 << 42.0 << 36.0 << 15.12 << false;
    QTest::newRow("metres") << 6 << 4.2 << 3.6 << 15.12 << false;
    // 100 in × 50 in = 2540 mm × 1270 mm.
    QTest::newRow("inches") << 1 << 100.0 << 50.0 << 3.2258 << false;
    // 10 ft × 12 ft = 3048 mm × 3657.6 mm.
    QTest::newRow("feet") << 2 << 10.0 << 12.0 << 11.14836480 << false;
    QTest::newRow("not given: millimetres") << -1 << 4200.0 << 3600.0 << 15.12 << true;
    QTest::newRow("unitless: millimetres") << 0 << 4200.0 << 3600.0 << 15.12 << true;
}

void DxfImportTest::unitsFollowInsunits() {
    QFETCH(int, units);
    QFETCH(double, w);
    QFETCH(double, h);
    QFETCH(double, area);
    QFETCH(bool, assumed);
    const ImportResult r = readDxfText(rectangleDxf(units, w, h));
    QVERIFY2(r.ok, r.error.c_str());
    QCOMPARE(r.outlines.size(), std::size_t(1));
    QVERIFY2(std::abs(r.outlines[0].area - area) < 1e-9 * area,
             qPrintable(QString::number(r.outlines[0].area, 'g', 17)));
    QCOMPARE(r.unitsAssumed, assumed);
    QCOMPARE(!r.notes.empty(), assumed);
}

void DxfImportTest::brokenFilesAreRefused_data() {
    QTest::addColumn<QByteArray>("bytes");
    const std::string flat = flatBytes();
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("prose") << QByteArray("This is not a drawing.\nAt all.\n");
    QTest::newRow("binary DXF") << QByteArray("AutoCAD Binary DXF\r\n\x1a\0", 22);
    QTest::newRow("cut in the header")
        << QByteArray::fromStdString(flat.substr(0, flat.find("TABLES")));
    // A vertex count of two thousand million in a file of twenty lines.
    QTest::newRow("absurd vertex count")
        << QByteArray("0\nSECTION\n2\nENTITIES\n0\nLWPOLYLINE\n8\n0\n90\n2000000000\n70\n1\n"
                      "10\n0\n20\n0\n0\nENDSEC\n0\nEOF\n");
    QTest::newRow("negative vertex count")
        << QByteArray("0\nSECTION\n2\nENTITIES\n0\nLWPOLYLINE\n8\n0\n90\n-5\n70\n1\n"
                      "10\n0\n20\n0\n0\nENDSEC\n0\nEOF\n");
    QTest::newRow("group code not a number")
        << QByteArray("0\nSECTION\n2\nENTITIES\nzero\nLINE\n0\nENDSEC\n0\nEOF\n");
    QTest::newRow("only a block") << QByteArray(
        "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n8\n0\n2\nB\n70\n0\n10\n0\n20\n0\n"
        "0\nLINE\n8\n0\n10\n0\n20\n0\n11\n1\n21\n1\n0\nENDBLK\n0\nENDSEC\n0\nEOF\n");
}

void DxfImportTest::brokenFilesAreRefused() {
    QFETCH(QByteArray, bytes);
    const ImportResult r = readDxfText(bytes.toStdString());
    QVERIFY(!r.ok);
    QVERIFY(!r.error.empty());
    QVERIFY(r.outlines.empty());
}

void DxfImportTest::escapesDecode_data() {
    QTest::addColumn<QByteArray>("dxf");
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << QByteArray("Room 1") << "Room 1";
    QTest::newRow("two characters") << QByteArray("\\U+5BA2\\U+5385") << "客厅";
    QTest::newRow("lower-case hex") << QByteArray("15m\\U+00b2") << "15m²";
    QTest::newRow("paragraph break") << QByteArray("A\\PB") << "A\nB";
    QTest::newRow("broken escape kept") << QByteArray("\\U+5BZ1") << "\\U+5BZ1";
    QTest::newRow("cut at the end kept") << QByteArray("x\\U+5B") << "x\\U+5B";
}

void DxfImportTest::escapesDecode() {
    QFETCH(QByteArray, dxf);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(unescapedText(dxf.toStdString())), text);
}

QTEST_APPLESS_MAIN(DxfImportTest)
#include "tst_dxfimport.moc"
