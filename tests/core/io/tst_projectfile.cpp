// SPDX-License-Identifier: GPL-3.0-or-later
// The project file: what is saved opens as the same project, unknown keys
// survive, and every kind of bad file is refused with a message naming the
// place.

#include "core/io/manifoldfields.h"
#include "core/io/projectfile.h"

#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>

using namespace zorva;
using namespace zorva::io;

namespace {

// A valid version-1 file with one loop, as another program might write it.
QByteArray validFile(const QByteArray& loopExtra = {}, const QByteArray& top = {}) {
    return "{\"format\":\"zorva-manifold\",\"version\":1," + top +
           "\"manifold\":{\"supplyTemp\":45,\"tempDiff\":10,\"surfaceThickness\":20,"
           "\"levelThickness\":20,\"fillThickness\":50,\"pipeWallThickness\":2,"
           "\"surfaceConductivity\":2.91,\"levelConductivity\":1.84,\"fillConductivity\":1.28,"
           "\"pipeConductivity\":0.41,\"pipeDiameter\":20,\"elbows\":2,\"allowance\":0},"
           "\"loops\":[{\"name\":\"客厅\",\"roomTemp\":18,\"spacing\":200,\"length\":80" +
           loopExtra + "}]}";
}

} // namespace

class ProjectFileTest : public QObject {
    Q_OBJECT

private slots:
    void savedProjectOpensUnchanged();
    void unknownKeysAreKept();
    void badFilesAreRefused_data();
    void badFilesAreRefused();
    void oversizedFileIsNotRead();
    void marksAndUtf16Open_data();
    void marksAndUtf16Open();
    void largestProjectRoundTrips();
};

void ProjectFileTest::savedProjectOpensUnchanged() {
    ProjectData p;
    p.manifold.supplyTemp = 41.3;
    p.manifold.thickness = {8, 0, 45.5, 2.3};
    p.manifold.conductivity = {0.14, 1.2, 1.28, 0.38};
    p.manifold.elbows = 3;
    p.manifold.allowance = 2.75;
    for (int i = 0; i < 3; ++i) {
        ProjectLoop loop;
        loop.input.name = i == 0 ? "卫生间 \"1\"" : "";
        loop.input.roomTemp = 0.1 * (i + 1) + 0.2;
        loop.input.lengthM = 33.333333333333336;
        if (i > 0)
            loop.input.loadW = 500.5 * i;
        if (i == 2)
            loop.input.ownTempDiff = 4.5;
        p.loops.append(loop);
    }
    const QByteArray bytes = projectBytes(p);
    QVERIFY(bytes.endsWith('\n'));
    const Result<ProjectData> r = readProject(bytes);
    QVERIFY2(r.ok(), qPrintable(r.error()));
    QVERIFY(readProject("\xEF\xBB\xBF" + bytes).ok()); // as an editor may save it
    QCOMPARE(r->manifold.supplyTemp, 41.3);
    QCOMPARE(r->manifold.thickness, p.manifold.thickness);
    QCOMPARE(r->manifold.conductivity, p.manifold.conductivity);
    QCOMPARE(r->manifold.elbows, 3.0);
    QCOMPARE(r->manifold.allowance, 2.75);
    QCOMPARE(r->loops.size(), 3);
    for (int i = 0; i < 3; ++i) {
        const LoopInput& a = r->loops[i].input;
        const LoopInput& b = p.loops[i].input;
        QCOMPARE(a.name, b.name);
        QCOMPARE(a.roomTemp, b.roomTemp); // every bit of the double
        QCOMPARE(a.lengthM, b.lengthM);
        QCOMPARE(a.loadW, b.loadW);
        QCOMPARE(a.ownTempDiff, b.ownTempDiff);
    }
    // A loop without load has no "load" key at all.
    const QJsonObject first = QJsonDocument::fromJson(bytes)["manifolds"][0]["loops"][0].toObject();
    QVERIFY(first.contains("length"));
    QVERIFY(!first.contains("load") && !first.contains("tempDiff"));
}

void ProjectFileTest::unknownKeysAreKept() {
    const Result<ProjectData> r =
        readProject(validFile(",\"colour\":\"red\",\"load\":null", "\"author\":{\"n\":1},"));
    QVERIFY2(r.ok(), qPrintable(r.error()));
    QVERIFY(!r->loops[0].input.loadW);
    // Saved as version 2: the loops under the one manifold, the method of
    // the version-1 file kept.
    const QJsonDocument saved = QJsonDocument::fromJson(projectBytes(*r));
    QCOMPARE(saved["author"]["n"].toInt(), 1);
    QCOMPARE(saved["manifolds"][0]["loops"][0]["colour"].toString(), QStringLiteral("red"));
    QCOMPARE(saved["manifolds"][0]["loops"][0]["name"].toString(), QStringLiteral("客厅"));
    QCOMPARE(saved["version"].toInt(), 2);
    QCOMPARE(saved["settings"]["method"].toString(), QStringLiteral("program"));
}

void ProjectFileTest::badFilesAreRefused_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QByteArray broken = validFile();
    broken.replace("\"loops\":[", "\n  \"loops\":[\n  {\"name\":\"客厅\" \"x\":1},");
    QTest::newRow("broken json, line and column")
        << broken << "项目文件不是有效的 JSON：第 3 行第 17 列出错（对象没有正确结束）";
    QTest::newRow("key starting with a byte-order mark")
        << QByteArray(validFile()).replace("\"length\"", "\"\xEF\xBB\xBFlength\"")
        << "项目文件第 1 行第 360 列：文字以不可见的字节顺序标记（U+FEFF）开头，"
           "不能可靠读取；请删除这个字符或写成 \\uFEFF";
    QTest::newRow("newer version")
        << QByteArray(validFile()).replace("\"version\":1", "\"version\":3")
        << "项目文件的版本 3 比本程序支持的版本 2 新，请使用更新的程序打开";
    QTest::newRow("fractional version")
        << QByteArray(validFile()).replace("\"version\":1", "\"version\":1.5")
        << "项目文件的版本号（version）应是正整数";
    QTest::newRow("not a project")
        << QByteArray("{\"loops\":[]}")
        << "这不是 Zorva 多环路项目文件（缺少 \"format\": \"zorva-manifold\"）";
    QTest::newRow("wrong type in a loop")
        << validFile(",\"load\":\"900\"")
        << "第 1 个环路（客厅）的“热负荷”（load）应是数字，而不是文字";
    QTest::newRow("out of range in a loop")
        << validFile(",\"tempDiff\":0")
        << "第 1 个环路（客厅）的“本环路温差”的值 0 超出范围 0.1 ~ 50 ℃";
    QTest::newRow("missing manifold field") << QByteArray(validFile()).replace("\"elbows\":2,", "")
                                            << "分集水器缺少“90度弯头数”（elbows）";
    QTest::newRow("manifold out of range")
        << QByteArray(validFile()).replace("\"supplyTemp\":45", "\"supplyTemp\":100.5")
        << "分集水器的“供水温度”的值 100.5 超出范围 1 ~ 100 ℃";
    QTest::newRow("number beyond double")
        << QByteArray(validFile()).replace("45", "1e400")
        << "项目文件不是有效的 JSON：第 1 行第 70 列出错（无效的数字）";
    QTest::newRow("loop not an object")
        << QByteArray(validFile()).replace("\"loops\":[", "\"loops\":[7,")
        << "第 1 个环路应是对象，而不是数字";
    QTest::newRow("name not text")
        << QByteArray(validFile()).replace("\"name\":\"客厅\"", "\"name\":3")
        << "第 1 个环路的“环路”（name）应是文字，而不是数字";
    // The place is that of the second key: one line, so the column is its
    // character index + 1.
    const auto twice = [](const QByteArray& bytes, const char* written, const char* key) {
        const qsizetype column =
            QString::fromUtf8(bytes).lastIndexOf(QString::fromUtf8(written)) + 1;
        return QStringLiteral("项目文件第 1 行第 %1 列：键“%2”在同一个对象中出现了两次，"
                              "不知道该用哪一个值")
            .arg(column)
            .arg(QString::fromUtf8(key));
    };
    const QByteArray lengthTwice = validFile(",\"length\":90");
    QTest::newRow("a key twice in a loop")
        << lengthTwice << twice(lengthTwice, "\"length\"", "length");
    const QByteArray escaped =
        QByteArray(validFile()).replace("\"allowance\":0", "\"allowance\":0,\"\\u0065lbows\":3");
    QTest::newRow("a key twice, once escaped")
        << escaped << twice(escaped, "\"\\u0065lbows\"", "elbows");
    const QByteArray formatTwice = validFile({}, "\"format\":\"zorva-manifold\",");
    QTest::newRow("the top object's key twice")
        << formatTwice << twice(formatTwice, "\"format\"", "format");
    QTest::newRow("out of range, shown as written")
        << validFile(",\"tempDiff\":50.00000000000001")
        << "第 1 个环路（客厅）的“本环路温差”的值 50.00000000000001 超出范围 0.1 ~ 50 ℃";
    QTest::newRow("UTF-16 without a mark")
        << QByteArray("{\0\"\0", 4)
        << "项目文件：文件是 UTF-16 编码但没有字节顺序标记，不能可靠读取；"
           "请另存为 UTF-8（或带标记的 UTF-16）";
    QTest::newRow("loops not an array")
        << QByteArray(validFile()).replace("\"loops\":[", "\"loops\":{\"a\":[").append('}')
        << "项目文件的“环路”（loops）应是数组，而不是对象";
}

void ProjectFileTest::badFilesAreRefused() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    const Result<ProjectData> r = readProject(bytes);
    QVERIFY(!r.ok());
    QCOMPARE(r.error(), message);
}

void ProjectFileTest::oversizedFileIsNotRead() {
    QTemporaryDir dir;
    const QString path = dir.filePath("big.zorvaproj");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QVERIFY(f.resize(kMaxProjectBytes + 1));
    f.close();
    QCOMPARE(readProjectFile(path).error(),
             QStringLiteral("项目文件“%1”太大（超过 32 MiB），不能打开").arg(path));
    QVERIFY(!readProject(QByteArray(kMaxProjectBytes + 1, ' ')).ok());
    const QString none = dir.filePath("none");
    QCOMPARE(
        readProjectFile(none).error(),
        QStringLiteral("无法打开项目文件“%1”：文件不存在：%2").arg(none, qt_error_string(ENOENT)));
}

void ProjectFileTest::marksAndUtf16Open_data() {
    QTest::addColumn<QByteArray>("bytes");
    const QString text = QString::fromUtf8(validFile());
    QByteArray le = "\xFF\xFE", be = "\xFE\xFF";
    for (const QChar c : text) {
        const auto lo = char(c.unicode() & 0xFF);
        const auto hi = char(c.unicode() >> 8);
        le.append(lo).append(hi);
        be.append(hi).append(lo);
    }
    QTest::newRow("three UTF-8 marks") << "\xEF\xBB\xBF\xEF\xBB\xBF\xEF\xBB\xBF" + validFile();
    QTest::newRow("UTF-16LE") << le;
    QTest::newRow("UTF-16BE") << be;
}

void ProjectFileTest::marksAndUtf16Open() {
    QFETCH(QByteArray, bytes);
    const Result<ProjectData> r = readProject(bytes);
    QVERIFY2(r.ok(), qPrintable(r.error()));
    QCOMPARE(QString::fromStdString(r->loops[0].input.name), QStringLiteral("客厅"));
    QCOMPARE(r->manifold.supplyTemp, 45.0);
}

// The most loops, each name as long as allowed in characters JSON writes
// as \u escapes (six bytes each) and numbers of 17 digits, save within half
// the reader's limit and open again; one loop more is not saved.
void ProjectFileTest::largestProjectRoundTrips() {
    ProjectData p;
    p.manifold.allowance = 1234.5678901234567;
    ProjectLoop loop;
    loop.input.name = QString(kMaxLoopNameLength, QChar(1)).toStdString();
    loop.input.roomTemp = -12.345678901234567;
    loop.input.spacingMm = 123.45678901234567;
    loop.input.lengthM = 987.65432109876543;
    loop.input.loadW = 9876543.2109876543;
    loop.input.ownTempDiff = 0.12345678901234567;
    for (int i = 0; i < kMaxLoops; ++i)
        p.loops.append(loop);
    const Result<QByteArray> bytes = projectFileBytes(p);
    QVERIFY2(bytes.ok(), qPrintable(bytes.error()));
    QVERIFY2(bytes->size() * 2 < kMaxProjectBytes, qPrintable(QString::number(bytes->size())));
    const Result<ProjectData> r = readProject(*bytes);
    QVERIFY2(r.ok(), qPrintable(r.error()));
    QCOMPARE(r->loops.size(), kMaxLoops);
    QVERIFY(r->loops.last().input.name == loop.input.name);
    QVERIFY(r->loops.last().input.lengthM == loop.input.lengthM); // every bit
    p.loops.append(loop);
    QCOMPARE(
        projectFileBytes(p).error(),
        QStringLiteral("项目有 %1 个环路，超过 %2 个，不能保存").arg(kMaxLoops + 1).arg(kMaxLoops));
    QCOMPARE(readProject(projectBytes(p)).error(),
             QStringLiteral("第 1 个分集水器有 %1 个环路，超过本程序的上限 %2 个")
                 .arg(kMaxLoops + 1)
                 .arg(kMaxLoops));
}

QTEST_APPLESS_MAIN(ProjectFileTest)
#include "tst_projectfile.moc"
