// SPDX-License-Identifier: GPL-3.0-or-later
// "打开文件": the record buffer filled from a file, and what the user sees.

#include "core/io/recordfile.h"
#include "core/io/recordformat.h"
#include "support/recordfixture.h"

#include <QStringDecoder>

#include <sys/stat.h>

using namespace zorva;
using namespace zorva::ui;

using zorva::io::kRecordSizeLimit;

class RecordOpenTest : public QObject {
    Q_OBJECT

private slots:
    void init() { fx_.start(); }
    void cleanup() { fx_.finish(); }

    void openReadsFieldsAndShowsThem();
    void openOfASavedRecordGivesTheFileText();
    void openOfAnEmptyFileEmptiesTheBuffer();
    void unreadableFileKeepsTheBuffer_data();
    void unreadableFileKeepsTheBuffer();
    void fileOverTheSizeLimitIsRefused_data();
    void fileOverTheSizeLimitIsRefused();
    void fileAtTheSizeLimitIsReadAndShownCutShort();
    void manyLinesAreShownCutShort();

private:
    RecordFixture fx_;
};

void RecordOpenTest::openReadsFieldsAndShowsThem() {
    const QString file = fx_.path(QStringLiteral("fields.txt"));
    writeBytes(file, "a, b\r\n\"x,y\"\r\n");
    fx_.host->working.heatOutput = 1.5f;
    fx_.host->seam.answerOpen(file);
    openRecordCommand(*fx_.host);

    const QString expected = QStringLiteral("a\r\nb\r\nx,y\r\n");
    QCOMPARE(fx_.host->buffer, expected);
    const FakeDialogs::Message shown = fx_.takeMessage();
    QCOMPARE(shown.icon, QMessageBox::Information);
    QCOMPARE(shown.title, QStringLiteral("Zorva"));
    QCOMPARE(shown.text, expected);
    QCOMPARE(fx_.host->calculations, 0);
    QCOMPARE(fx_.host->working.heatOutput, 1.5f);
}

void RecordOpenTest::openOfASavedRecordGivesTheFileText() {
    const QString file = fx_.path(QStringLiteral("round.txt"));
    fx_.host->seam.answerSave(file);
    saveRecordCommand(*fx_.host);
    const QString composed = fx_.host->buffer;

    fx_.host->buffer = QStringLiteral("kept");
    fx_.host->seam.answerOpen(file);
    openRecordCommand(*fx_.host);

    QCOMPARE(fx_.host->seam.fileRequests().at(1).selected, file);
    const QString fileText = QStringDecoder("GBK").decode(fileBytes(file));
    QCOMPARE(fx_.host->buffer, fileText);
    QCOMPARE(fx_.host->buffer, composed + QStringLiteral("\r\n"));
    QCOMPARE(fx_.takeMessage().text, fileText);
    QCOMPARE(fx_.host->calculations, 1);
}

void RecordOpenTest::openOfAnEmptyFileEmptiesTheBuffer() {
    const QString file = fx_.path(QStringLiteral("empty.txt"));
    writeBytes(file, QByteArray());
    fx_.host->buffer = QStringLiteral("kept");
    fx_.host->seam.answerOpen(file);
    openRecordCommand(*fx_.host);

    QCOMPARE(fx_.host->buffer, QString());
    const FakeDialogs::Message shown = fx_.takeMessage();
    QCOMPARE(shown.icon, QMessageBox::Information);
    QVERIFY2(shown.text.contains(QDir::toNativeSeparators(file)), qPrintable(shown.text));
}

void RecordOpenTest::unreadableFileKeepsTheBuffer_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("reason"); // ours, before the system's text
    QTest::addColumn<int>("error");      // the system's, by its errno value
    QTest::newRow("no such file") << "missing.txt"
                                  << "文件不存在" << ENOENT;
    QTest::newRow("a folder") << "folder"
                              << "这是一个文件夹" << EISDIR;
    QTest::newRow("under a regular file") << "plain.txt/rec.txt"
                                          << "文件不存在" << ENOTDIR;
}

void RecordOpenTest::unreadableFileKeepsTheBuffer() {
    QFETCH(QString, target);
    QFETCH(QString, reason);
    QFETCH(int, error);

    QVERIFY(QDir(fx_.dir->path()).mkdir(QStringLiteral("folder")));
    writeBytes(fx_.path(QStringLiteral("plain.txt")), "plain");
    const QString file = fx_.path(target);
    fx_.host->buffer = QStringLiteral("kept");
    fx_.host->seam.answerOpen(file);
    openRecordCommand(*fx_.host);

    QFile probe(file);
    QVERIFY(!probe.open(QIODevice::ReadOnly));
    const FakeDialogs::Message shown = fx_.takeMessage();
    QCOMPARE(shown.icon, QMessageBox::Warning);
    QCOMPARE(shown.title, QStringLiteral("Zorva"));
    QVERIFY2(shown.text.contains(QDir::toNativeSeparators(file)), qPrintable(shown.text));
    const QString system = qt_error_string(error);
    QVERIFY2(shown.text.contains(system), qPrintable(shown.text));
    const qsizetype ours = shown.text.indexOf(reason);
    QVERIFY2(ours >= 0 && ours < shown.text.indexOf(system), qPrintable(shown.text));
    QCOMPARE(fx_.host->buffer, QStringLiteral("kept"));
}

void RecordOpenTest::fileOverTheSizeLimitIsRefused_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<qint64>("size");

    QTest::newRow("one byte over") << "big.txt" << kRecordSizeLimit + 1;
    QTest::newRow("far over") << "huge.txt" << 3 * kRecordSizeLimit;
    // A device reports no size but never ends; a pipe without a writer
    // would block the open itself.
    QTest::newRow("endless device") << "/dev/zero" << qint64(-1);
    QTest::newRow("named pipe") << "pipe" << qint64(-2);
}

void RecordOpenTest::fileOverTheSizeLimitIsRefused() {
    QFETCH(QString, target);
    QFETCH(qint64, size);

    const QString file = QDir::isAbsolutePath(target) ? target : fx_.path(target);
    if (size >= 0)
        writeBytes(file, QByteArray(size, 'a'));
    if (size == -2)
        QCOMPARE(mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    fx_.host->buffer = QStringLiteral("kept");
    fx_.host->seam.answerOpen(file);
    openRecordCommand(*fx_.host);

    const FakeDialogs::Message shown = fx_.takeMessage();
    QCOMPARE(shown.icon, QMessageBox::Warning);
    QVERIFY2(shown.text.contains(QDir::toNativeSeparators(file)), qPrintable(shown.text));
    QCOMPARE(fx_.host->buffer, QStringLiteral("kept"));
}

void RecordOpenTest::fileAtTheSizeLimitIsReadAndShownCutShort() {
    const QString file = fx_.path(QStringLiteral("limit.txt"));
    QByteArray bytes(kRecordSizeLimit, 'a');
    bytes[100] = ',';
    writeBytes(file, bytes);
    fx_.host->seam.answerOpen(file);
    openRecordCommand(*fx_.host);

    QCOMPARE(fx_.host->buffer.size(), kRecordSizeLimit + 3); // two fields, two CR LF, no comma
    QVERIFY(fx_.host->buffer.startsWith(QString(100, u'a') + QStringLiteral("\r\naaa")));
    const FakeDialogs::Message shown = fx_.takeMessage();
    QCOMPARE(shown.icon, QMessageBox::Information);
    QVERIFY(shown.text.startsWith(fx_.host->buffer.left(200)));
    QVERIFY(shown.text.size() < 4000);
}

void RecordOpenTest::manyLinesAreShownCutShort() {
    const QString file = fx_.path(QStringLiteral("lines.txt"));
    QByteArray bytes;
    for (int i = 1; i <= 100; ++i)
        bytes += "line " + QByteArray::number(i) + "\r\n";
    writeBytes(file, bytes);
    fx_.host->seam.answerOpen(file);
    openRecordCommand(*fx_.host);

    QCOMPARE(fx_.host->buffer, QString::fromLatin1(bytes));
    const QString shown = fx_.takeMessage().text;
    QVERIFY(shown.startsWith(QStringLiteral("line 1\r\nline 2\r\n")));
    QVERIFY2(shown.contains(QStringLiteral("\r\nline 40\r\n")), qPrintable(shown));
    QVERIFY2(!shown.contains(QStringLiteral("line 41")), qPrintable(shown));
}

QTEST_GUILESS_MAIN(RecordOpenTest)
#include "tst_recordopen.moc"
