// SPDX-License-Identifier: GPL-3.0-or-later
// A product's valve characteristic read from JSON and CSV files, and bad
// files refused with a message that names the line or the key.

#include "core/io/valvefile.h"

#include <QTemporaryDir>
#include <QTest>

using namespace zorva::io;

class ValveFileTest : public QObject {
    Q_OBJECT

private slots:
    void goodFilesRead_data();
    void goodFilesRead();
    void badFilesRefused_data();
    void badFilesRefused();
    void filesOnDisk();
};

void ValveFileTest::goodFilesRead_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::newRow("JSON") << QByteArray(R"({"format": "zorva-valve", "name": "示例阀",
        "resolution": 0.5, "note": "data sheet 2023",
        "points": [{"setting": 0.5, "kv": 0.1}, {"setting": 1, "kv": 0.3},
                   {"setting": 2.5, "kv": 0.9}]})")
                          << QStringLiteral("示例阀");
    QTest::newRow("CSV with a comment, a blank line and trailing commas")
        << QByteArray("# from the maker's sheet\r\nname,示例阀\r\nresolution,0.5\r\n\r\n"
                      "setting,kv,\r\n0.5,0.1,\r\n1,0.3\r\n2.5,0.9\r\n")
        << QStringLiteral("示例阀");
    QTest::newRow("JSON after two byte-order marks")
        << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF") +
               QByteArray(R"({"name": "示例阀", "resolution": 0.5,
        "points": [{"setting": 0.5, "kv": 0.1}, {"setting": 1, "kv": 0.3},
                   {"setting": 2.5, "kv": 0.9}]})")
        << QStringLiteral("示例阀");
    QTest::newRow("CSV in GBK with Chinese keys")
        << QByteArray("\xc3\xfb\xb3\xc6,\xc4\xb3\xb3\xa7\xbb\xd8\xcb\xae\xb7\xa7\n"
                      "\xb7\xd6\xb6\xc8,0.5\n"
                      "\xd4\xa4\xc9\xe8\xb6\xa8\xd6\xb5,KV\n0.5,0.1\n1,0.3\n2.5,0.9\n")
        << QStringLiteral("某厂回水阀");
}

void ValveFileTest::goodFilesRead() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    const ValveFileRead r = readValveFile(bytes);
    QVERIFY2(r.ok(), qPrintable(r.error()));
    QCOMPARE(QString::fromStdString(r->name), name);
    QVERIFY(!r->generic);
    QCOMPARE(r->settings, (std::vector<double>{0.5, 1, 2.5}));
    QCOMPARE(r->kv, (std::vector<double>{0.1, 0.3, 0.9}));
    QCOMPARE(r->resolution, 0.5);
}

void ValveFileTest::badFilesRefused_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    const QByteArray head = "name,阀\nresolution,0.25\nsetting,kv\n";
    QTest::newRow("JSON syntax") << QByteArray("{\n\"name\": \"阀\",\n\"resolution\" 0.25}")
                                 << QStringLiteral("阀门文件：第 3 行不是有效的 JSON");
    QTest::newRow("JSON key misspelt")
        << QByteArray(R"({"name": "阀", "resolutoin": 0.25, "points": []})")
        << QStringLiteral("阀门文件：不认识的键“resolutoin”");
    QTest::newRow("JSON kv falls at the third point")
        << QByteArray(R"({"name": "阀", "resolution": 1, "points": [{"setting": 1, "kv": 0.2},
            {"setting": 2, "kv": 0.5}, {"setting": 3, "kv": 0.5}]})")
        << QStringLiteral("阀门文件：points 的第 3 个点：kv 应大于前一点的 kv");
    QTest::newRow("JSON kv as text")
        << QByteArray(R"({"name": "阀", "resolution": 1, "points": [{"setting": 1, "kv": "0.2"}]})")
        << QStringLiteral("阀门文件：points 的第 1 个点应是");
    QTest::newRow("JSON one point")
        << QByteArray(R"({"name": "阀", "resolution": 1, "points": [{"setting": 1, "kv": 0.2}]})")
        << QStringLiteral("阀门文件：至少需要 2 个");
    QTest::newRow("JSON blank name")
        << QByteArray(R"({"name": "  ", "resolution": 1, "points": []})")
        << QStringLiteral("阀门文件：阀门名称（name）为空");
    QTest::newRow("JSON resolution zero")
        << QByteArray(R"({"name": "阀", "resolution": 0, "points": [{"setting": 1, "kv": 0.2},
            {"setting": 2, "kv": 0.5}]})")
        << QStringLiteral("阀门文件：调节分度（resolution）应是大于 0 的数");
    QTest::newRow("CSV kv not a number")
        << head + "1,0.1\nabc,0.2\n2,x\n"
        << QStringLiteral("阀门文件：第 5 行：预设定值“abc”不是数");
    QTest::newRow("CSV infinity") << head + "1,0.1\n2,inf\n"
                                  << QStringLiteral("阀门文件：第 5 行：kv“inf”不是数");
    QTest::newRow("CSV setting repeats on line 6")
        << head + "1,0.1\n2,0.2\n2,0.3\n"
        << QStringLiteral("阀门文件：第 6 行：预设定值应大于前一点");
    QTest::newRow("CSV kv zero on line 4")
        << head + "1,0\n2,0.2\n"
        << QStringLiteral("阀门文件：第 4 行：kv 应是大于 0 的数");
    QTest::newRow("CSV kv beyond any valve")
        << head + "1,0.1\n2,1e-300\n"
        << QStringLiteral("阀门文件：第 5 行：kv 应在 0.001 与 1000 m³/h 之间");
    QTest::newRow("CSV third number") << head + "1,0.1,7\n"
                                      << QStringLiteral("阀门文件：第 4 行：每行只应有");
    QTest::newRow("CSV without header") << QByteArray("name,阀\nresolution,0.25\n1,0.1\n")
                                        << QStringLiteral("阀门文件：第 3 行：不认识的“1”");
    QTest::newRow("CSV without resolution") << QByteArray("name,阀\nsetting,kv\n1,0.1\n2,0.2\n")
                                            << QStringLiteral("阀门文件：缺少调节分度行");
    QTest::newRow("CSV open quote")
        << QByteArray("name,\"阀\nresolution,1\n") << QStringLiteral("阀门文件：");
    QTest::newRow("more than a mebibyte")
        << QByteArray(1024 * 1024 + 1, ' ') << QStringLiteral("阀门文件：文件太大");
}

void ValveFileTest::badFilesRefused() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    const ValveFileRead r = readValveFile(bytes);
    QVERIFY(!r.ok());
    QVERIFY2(r.error().startsWith(message), qPrintable(r.error()));
}

void ValveFileTest::filesOnDisk() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("阀.csv"));
    QVERIFY(readValveFilePath(path).error().startsWith(QStringLiteral("阀门文件：不能打开 ")));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("name,A\nresolution,1\nsetting,kv\n1,0.2\n2,0.4\n");
    file.close();
    const ValveFileRead r = readValveFilePath(path);
    QVERIFY2(r.ok(), qPrintable(r.error()));
    QCOMPARE(r->kv.back(), 0.4);
}

QTEST_APPLESS_MAIN(ValveFileTest)
#include "tst_valvefile.moc"
