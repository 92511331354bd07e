// SPDX-License-Identifier: GPL-3.0-or-later
// DXF out: the drawing of a laid-out flat reads back with dxflib and, as a
// second reader, with python3-ezdxf started as a child process: the same
// layers, polylines point for point, lengths and labels. Also the text
// escapes, the safe file write and the SVG of the same drawing.

#include "core/dxf/dxfreader.h"
#include "core/dxf/dxfwriter.h"
#include "core/dxf/layoutdrawing.h"
#include "core/dxf/svgwriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <cmath>

using namespace zorva;
using namespace zorva::dxf;

namespace {

// Two rooms, one divided by the user, one L-shaped laid as a serpentine.
layout::Plan flat() {
    layout::Plan plan;
    plan.manifolds.push_back({"分集水器1", {2100, -2500}});
    layout::Room living;
    living.name = "客厅";
    living.outline = layout::rectangle({0, 0}, 4200, 3600);
    living.doors.push_back({{2100, 0}, 900});
    living.dividers = {{{2400, -10}, {2400, 3610}}};
    plan.rooms.push_back(living);
    layout::Room bed;
    bed.name = "主卧";
    bed.outline = {{4200, 0}, {9000, 0}, {9000, 2400}, {6600, 2400}, {6600, 4800}, {4200, 4800}};
    bed.doors.push_back({{5400, 0}, 900});
    bed.settings.pattern = layout::Pattern::Serpentine;
    plan.rooms.push_back(bed);
    return plan;
}

Drawing flatDrawing() {
    const layout::Plan plan = flat();
    return layoutDrawing(plan, layout::routePlan(plan));
}

// What ezdxf reads: every LWPOLYLINE and TEXT of the model space, the
// layers with their colours, $INSUNITS and the audit's errors.
const char* kReader = R"(
import json, sys
import ezdxf
doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
out = {"insunits": doc.header.get("$INSUNITS", 0), "errors": len(auditor.errors),
       "layers": {l.dxf.name: l.dxf.color for l in doc.layers},
       "polylines": [], "texts": []}
for e in doc.modelspace():
    if e.dxftype() == "LWPOLYLINE":
        out["polylines"].append({"layer": e.dxf.layer, "closed": bool(e.closed),
                                 "points": [[p[0], p[1]] for p in e.get_points("xy")]})
    elif e.dxftype() == "TEXT":
        out["texts"].append({"layer": e.dxf.layer,
                             "text": ezdxf.decode_dxf_unicode(e.dxf.text)})
print(json.dumps(out))
)";

double polylineLength(const QJsonArray& points, bool closed) {
    double sum = 0;
    for (qsizetype i = 0; i + 1 < points.size(); ++i) {
        const QJsonArray a = points[i].toArray(), b = points[i + 1].toArray();
        sum += std::hypot(b[0].toDouble() - a[0].toDouble(), b[1].toDouble() - a[1].toDouble());
    }
    if (closed && points.size() > 1) {
        const QJsonArray a = points.last().toArray(), b = points.first().toArray();
        sum += std::hypot(b[0].toDouble() - a[0].toDouble(), b[1].toDouble() - a[1].toDouble());
    }
    return sum;
}

} // namespace

class DxfRoundTripTest : public QObject {
    Q_OBJECT

private slots:
    void drawingHasALayerPerLoop();
    void dxflibReadsBackTheSameDrawing();
    void ezdxfReadsBackTheSameDrawing();
    void textEscapes_data();
    void textEscapes();
    void failedWriteLeavesTheOldFile();
    void svgIsTheSameDrawing();
};

void DxfRoundTripTest::drawingHasALayerPerLoop() {
    const layout::Plan plan = flat();
    const std::vector<layout::RoomLayout> layouts = layout::routePlan(plan);
    std::size_t loops = 0;
    for (const layout::RoomLayout& l : layouts)
        loops += l.loops.size();
    QVERIFY(loops >= 3);
    const Drawing d = layoutDrawing(plan, layouts);
    for (std::size_t n = 1; n <= loops; ++n) {
        const std::string layer = loopLayer(static_cast<int>(n));
        const auto count = std::count_if(d.polylines.begin(), d.polylines.end(),
                                         [&](const DrawnPolyline& p) { return p.layer == layer; });
        QCOMPARE(count, 2); // supply and return
    }
    QCOMPARE(loopLayer(7), std::string("LOOP-07"));
    // Each loop's two pipes together are its routed length.
    std::size_t n = 0;
    for (const layout::RoomLayout& l : layouts) {
        for (const layout::RoutedLoop& loop : l.loops) {
            const std::string layer = loopLayer(static_cast<int>(++n));
            double sum = 0;
            for (const DrawnPolyline& p : d.polylines) {
                if (p.layer == layer)
                    sum += layout::length(p.points);
            }
            QVERIFY(std::abs(sum / 1000 - loop.routedLength) < 1e-9 * loop.routedLength);
        }
    }
}

void DxfRoundTripTest::dxflibReadsBackTheSameDrawing() {
    const Drawing d = flatDrawing();
    const ImportResult r = readDxfText(dxfText(d));
    QVERIFY2(r.ok, r.error.c_str());
    QCOMPARE(r.unitToMm, 1.0);
    QVERIFY(!r.unitsAssumed);
    // Closed polylines come back as outlines, the open pipes as background.
    std::vector<DrawnPolyline> open, closed;
    for (const DrawnPolyline& p : d.polylines)
        (p.closed ? closed : open).push_back(p);
    QCOMPARE(r.outlines.size(), closed.size());
    for (std::size_t i = 0; i < closed.size(); ++i) {
        QCOMPARE(r.outlines[i].layer, closed[i].layer);
        QVERIFY(std::abs(r.outlines[i].area - layout::area(closed[i].points) / 1e6) < 1e-12);
    }
    QCOMPARE(r.background.polylines.size(), open.size());
    for (std::size_t i = 0; i < open.size(); ++i) {
        QCOMPARE(r.background.polylines[i].layer, open[i].layer);
        // Shortest round-trip digits: the same doubles.
        QCOMPARE(r.background.polylines[i].points, open[i].points);
    }
    QCOMPARE(r.background.texts.size(), d.texts.size());
    for (std::size_t i = 0; i < d.texts.size(); ++i)
        QCOMPARE(r.background.texts[i].text, d.texts[i].text);
    QCOMPARE(r.background.lines.size(), d.lines.size());
}

void DxfRoundTripTest::ezdxfReadsBackTheSameDrawing() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("plan.dxf");
    const Drawing d = flatDrawing();
    std::string error;
    QVERIFY2(writeDxfFile(d, path.toStdString(), &error), error.c_str());

    QProcess python;
    python.start(QStringLiteral(ZORVA_PYTHON3), {"-c", kReader, path});
    QVERIFY(python.waitForFinished(60000));
    const QByteArray err = python.readAllStandardError();
    QVERIFY2(
        python.exitStatus() == QProcess::NormalExit && python.exitCode() == 0,
        qPrintable("python3-ezdxf (make deps) did not read the file: " + QString::fromUtf8(err)));
    const QJsonObject out = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    QCOMPARE(out["errors"].toInt(), 0);
    QCOMPARE(out["insunits"].toInt(), 4);
    const QJsonObject layers = out["layers"].toObject();
    for (const Layer& l : d.layers)
        QCOMPARE(layers[QString::fromStdString(l.name)].toInt(), l.colour);

    const QJsonArray polylines = out["polylines"].toArray();
    QCOMPARE(polylines.size(), qsizetype(d.polylines.size()));
    for (qsizetype i = 0; i < polylines.size(); ++i) {
        const QJsonObject p = polylines[i].toObject();
        const DrawnPolyline& mine = d.polylines[static_cast<std::size_t>(i)];
        QCOMPARE(p["layer"].toString().toStdString(), mine.layer);
        QCOMPARE(p["closed"].toBool(), mine.closed);
        const QJsonArray points = p["points"].toArray();
        QCOMPARE(points.size(), qsizetype(mine.points.size()));
        for (qsizetype k = 0; k < points.size(); ++k) {
            const QJsonArray q = points[k].toArray();
            QCOMPARE(q[0].toDouble(), mine.points[static_cast<std::size_t>(k)].x);
            QCOMPARE(q[1].toDouble(), mine.points[static_cast<std::size_t>(k)].y);
        }
        const double myLength =
            mine.closed ? layout::perimeter(mine.points) : layout::length(mine.points);
        QVERIFY(std::abs(polylineLength(points, mine.closed) - myLength) < 1e-9 * myLength);
    }
    const QJsonArray texts = out["texts"].toArray();
    QCOMPARE(texts.size(), qsizetype(d.texts.size()));
    for (qsizetype i = 0; i < texts.size(); ++i)
        QCOMPARE(texts[i].toObject()["text"].toString(),
                 QString::fromStdString(d.texts[static_cast<std::size_t>(i)].text));
}

void DxfRoundTripTest::textEscapes_data() {
    QTest::addColumn<QByteArray>("utf8");
    QTest::addColumn<QByteArray>("dxf");
    QTest::newRow("ASCII") << QByteArray("LOOP 1 L=85.4m") << QByteArray("LOOP 1 L=85.4m");
    QTest::newRow("Chinese") << QByteArray("客厅-1") << QByteArray("\\U+5BA2\\U+5385-1");
    QTest::newRow("square metres") << QByteArray("m²") << QByteArray("m\\U+00B2");
    QTest::newRow("line break to space") << QByteArray("a\nb") << QByteArray("a b");
    QTest::newRow("beyond the basic plane") << QByteArray("\xF0\x9F\x94\xA5!") << QByteArray("?!");
    QTest::newRow("broken UTF-8") << QByteArray("\xE5\xAE") << QByteArray("??");
}

void DxfRoundTripTest::textEscapes() {
    QFETCH(QByteArray, utf8);
    QFETCH(QByteArray, dxf);
    QCOMPARE(QByteArray::fromStdString(escapedText(utf8.toStdString())), dxf);
}

void DxfRoundTripTest::failedWriteLeavesTheOldFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath("plan.dxf");
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old drawing");
    }
    // Something of the user's by the temporary file's first name is neither
    // overwritten nor removed.
    const QString theirs = path + ".zorva-tmp-0";
    QVERIFY(QDir(dir.path()).mkdir("plan.dxf.zorva-tmp-0"));
    const Drawing d = flatDrawing();
    std::string error;
    QVERIFY2(writeDxfFile(d, path.toStdString(), &error), error.c_str());
    QVERIFY(QFileInfo(theirs).isDir());
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll().toStdString(), dxfText(d));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
             QStringList({"plan.dxf", "plan.dxf.zorva-tmp-0"}));

    // A target that cannot be replaced (a folder with a file in it): the
    // write fails, says so and leaves the folder and no temporary file.
    const QString folder = dir.filePath("drawings");
    QVERIFY(QDir(dir.path()).mkpath("drawings/inner"));
    QVERIFY(!writeDxfFile(d, folder.toStdString(), &error));
    QVERIFY(!error.empty());
    QVERIFY(QFileInfo(folder + "/inner").isDir());
    QCOMPARE(QDir(dir.path()).entryList({"drawings.zorva-tmp*"}, QDir::Files), QStringList());
    QVERIFY(!writeDxfFile(d, dir.filePath("no/such/dir/plan.dxf").toStdString(), &error));
}

void DxfRoundTripTest::svgIsTheSameDrawing() {
    const Drawing d = flatDrawing();
    const std::string svg = svgText(d, {500, 20, 40, "客厅与主卧地暖平面图"});
    QXmlStreamReader xml(QByteArray::fromStdString(svg));
    int groups = 0, polylines = 0, polygons = 0, texts = 0;
    QString title;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("g") && xml.attributes().hasAttribute("id"))
            ++groups;
        else if (xml.name() == QLatin1String("polyline"))
            ++polylines;
        else if (xml.name() == QLatin1String("polygon"))
            ++polygons;
        else if (xml.name() == QLatin1String("text"))
            ++texts;
        else if (xml.name() == QLatin1String("title"))
            title = xml.readElementText();
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(title, QString("客厅与主卧地暖平面图"));
    const auto open = std::count_if(d.polylines.begin(), d.polylines.end(),
                                    [](const DrawnPolyline& p) { return !p.closed; });
    QCOMPARE(polylines, int(open));
    QCOMPARE(polygons, int(d.polylines.size() - open));
    QCOMPARE(texts, int(d.texts.size()));
    QVERIFY(groups >= 6);
    // y turned down: the living room's top-left corner (0, 3600).
    QVERIFY(svg.find("0,-3600") != std::string::npos);
}

QTEST_APPLESS_MAIN(DxfRoundTripTest)
#include "tst_dxfroundtrip.moc"
