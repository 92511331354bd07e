// SPDX-License-Identifier: GPL-3.0-or-later
// "保存文件" against a scripted host running the real engine.

#include "core/io/recordformat.h"
#include "core/io/safesave.h"
#include "support/filesizecap.h"
#include "support/recordfixture.h"

#include <QSaveFile>

#include <sys/stat.h>

using namespace zorva;
using namespace zorva::ui;
using zorva::io::recordFileBytes;

class RecordSaveTest : public QObject {
    Q_OBJECT

private slots:
    // As both programs do at start: a write past the size cap then fails
    // with EFBIG instead of SIGXFSZ ending the suite.
    void initTestCase() { zorva::io::ignoreFileSizeSignal(); }
    void init() { fx_.start(); }
    void cleanup() { fx_.finish(); }

    void saveOfTheDefaultsWritesTheExactRecord();
    void saveWritesTheRoomTemperatureAsTyped_data();
    void saveWritesTheRoomTemperatureAsTyped();
    void saveRecalculatesBeforeWriting();
    void saveReplacesALongerFileWhole();
    void saveUsesTheNameAsGiven_data();
    void saveUsesTheNameAsGiven();
    void failingCalculationChangesNoFile_data();
    void failingCalculationChangesNoFile();
    void cancelChangesNothingAlthoughANameIsRemembered_data();
    void cancelChangesNothingAlthoughANameIsRemembered();
    void saveToUnwritablePathReportsAndKeepsTheOldFile_data();
    void saveToUnwritablePathReportsAndKeepsTheOldFile();
    void writeCutShortKeepsTheOldFile_data();
    void writeCutShortKeepsTheOldFile();
    void targetThatIsNoFileIsRefused_data();
    void targetThatIsNoFileIsRefused();

private:
    RecordFixture fx_;
};

void RecordSaveTest::saveOfTheDefaultsWritesTheExactRecord() {
    const QString file = fx_.path(QStringLiteral("记录.txt"));
    fx_.host->seam.answerSave(file);
    saveRecordCommand(*fx_.host);

    QCOMPARE(fx_.host->calculations, 1);
    const QByteArray bytes = fileBytes(file);
    const QList<QByteArray> lines = fileLines(bytes);
    QCOMPARE(lines.size(), 9); // eight lines, each ending in LF
    QCOMPARE(lines.at(0), QByteArray("Zorva\xb3\xcc\xd0\xf2\xa3\xba\r"));
    QCOMPARE(lines.at(1).toHex(' '), QByteArray("ca d2 c4 da ce c2 b6 c8 31 38 2e 30 a1 e6 0d"));
    QCOMPARE(lines.at(2), gbk(QStringLiteral("供水温度50.0℃\r")));
    QCOMPARE(lines.at(3), gbk(QStringLiteral("回水温度40.0℃\r")));
    QCOMPARE(lines.at(4), gbk(QStringLiteral("单位面积散热量92.6W/平米\r")));
    QCOMPARE(lines.at(5), gbk(QStringLiteral("地面平均温度27.1℃\r")));
    QVERIFY(bytes.endsWith(QByteArray::fromHex("a1e60d0a0d0a0d0a")));
    QCOMPARE(bytes.count('\r'), 8);

    // Lines 5 and 6 carry the digits that the result fields show.
    zorva::WorkingVars vars;
    zorva::FieldRecord fields = zorva::FieldRecord::defaults();
    const zorva::RunReport report = zorva::calculate(vars, fields);
    const zorva::ResultTexts shown = zorva::resultTexts(vars, report);
    QVERIFY(lines.at(4).contains(shown[0].str().c_str()));
    QVERIFY(lines.at(5).contains(shown[1].str().c_str()));

    // The record buffer holds the composed record, one line end short of
    // the file.
    QCOMPARE(recordFileBytes(fx_.host->buffer), bytes);
    QVERIFY(fx_.host->buffer.endsWith(QStringLiteral("℃\r\n\r\n")));
}

void RecordSaveTest::saveWritesTheRoomTemperatureAsTyped_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("digits");

    QTest::newRow("half rounds up") << "18.25" << QByteArray("18.3");
    QTest::newRow("no number reads as zero") << "abc" << QByteArray("0.0");
    QTest::newRow("negative") << "-5" << QByteArray("-5.0");
}

void RecordSaveTest::saveWritesTheRoomTemperatureAsTyped() {
    QFETCH(QString, typed);
    QFETCH(QByteArray, digits);

    fx_.host->fields.design[zorva::RoomTempField] = typed.toStdString();
    fx_.host->seam.answerSave(fx_.path(QStringLiteral("room.txt")));
    saveRecordCommand(*fx_.host);

    const QList<QByteArray> lines = fileLines(fileBytes(fx_.path(QStringLiteral("room.txt"))));
    QCOMPARE(lines.size(), 9);
    QCOMPARE(lines.at(1), QByteArray("\xca\xd2\xc4\xda\xce\xc2\xb6\xc8") + digits + "\xa1\xe6\r");
}

void RecordSaveTest::saveRecalculatesBeforeWriting() {
    // What an earlier design left in the working variables must not reach
    // the file.
    fx_.host->working.roomTemp = 77;
    fx_.host->working.heatOutput = 1.5f;
    fx_.host->working.surfaceTemp = 99;
    fx_.host->fields.design = {"20", "45", "35", "200", "50", "20", "80"};
    fx_.host->seam.answerSave(fx_.path(QStringLiteral("b.doc")));
    saveRecordCommand(*fx_.host);

    const QList<QByteArray> lines = fileLines(fileBytes(fx_.path(QStringLiteral("b.doc"))));
    QCOMPARE(lines.size(), 9);
    QCOMPARE(lines.at(1), gbk(QStringLiteral("室内温度20.0℃\r")));
    QCOMPARE(lines.at(2), gbk(QStringLiteral("供水温度45.0℃\r")));
    QCOMPARE(lines.at(3), gbk(QStringLiteral("回水温度35.0℃\r")));
    QCOMPARE(lines.at(4), gbk(QStringLiteral("单位面积散热量67.3W/平米\r")));
    QCOMPARE(lines.at(5), gbk(QStringLiteral("地面平均温度26.7℃\r")));
}

void RecordSaveTest::saveReplacesALongerFileWhole() {
    const QString file = fx_.path(QStringLiteral("old.txt"));
    writeBytes(file, QByteArray(5000, 'x'));
    fx_.host->seam.answerSave(file);
    saveRecordCommand(*fx_.host);

    QCOMPARE(fileBytes(file), recordFileBytes(fx_.host->buffer));
    QCOMPARE(QDir(fx_.dir->path()).entryList(QDir::Files), QStringList{QStringLiteral("old.txt")});
}

void RecordSaveTest::saveUsesTheNameAsGiven_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("no extension") << "record";
    QTest::newRow("other extension") << "record.bmp";
    QTest::newRow("blank and Chinese") << "计算 记录.doc";
}

void RecordSaveTest::saveUsesTheNameAsGiven() {
    QFETCH(QString, name);

    fx_.host->seam.answerSave(fx_.path(name));
    saveRecordCommand(*fx_.host);

    QCOMPARE(QDir(fx_.dir->path()).entryList(QDir::Files), QStringList{name});
    QCOMPARE(fileBytes(fx_.path(name)), recordFileBytes(fx_.host->buffer));
}

void RecordSaveTest::failingCalculationChangesNoFile_data() {
    QTest::addColumn<QStringList>("design");
    QTest::addColumn<bool>("fileExists");

    // Supply equal to return: no water temperature difference to divide by.
    const QStringList fault = {"18", "45", "45", "200", "50", "20", "80"};
    const QStringList noConvergence = {"25", "50", "30", "300", "50", "32", "10"};
    QTest::newRow("arithmetic fault, existing file") << fault << true;
    QTest::newRow("arithmetic fault, new file") << fault << false;
    QTest::newRow("no convergence, existing file") << noConvergence << true;
    QTest::newRow("no convergence, new file") << noConvergence << false;
}

void RecordSaveTest::failingCalculationChangesNoFile() {
    QFETCH(QStringList, design);
    QFETCH(bool, fileExists);

    const QString file = fx_.path(QStringLiteral("keep.txt"));
    const QByteArray old = gbk(QStringLiteral("上次的记录\r\n"));
    if (fileExists)
        writeBytes(file, old);
    fx_.host->buffer = QStringLiteral("kept");
    for (int i = 0; i < 7; ++i)
        fx_.host->fields.design[i] = design.at(i).toStdString();
    fx_.host->seam.answerSave(file);
    saveRecordCommand(*fx_.host);

    QCOMPARE(fx_.host->calculations, 1);
    QCOMPARE(QFile::exists(file), fileExists);
    if (fileExists)
        QCOMPARE(fileBytes(file), old);
    QCOMPARE(QDir(fx_.dir->path()).entryList(QDir::Files).size(), fileExists ? 1 : 0);
    QCOMPARE(fx_.host->buffer, QStringLiteral("kept"));
}

void RecordSaveTest::cancelChangesNothingAlthoughANameIsRemembered_data() {
    QTest::addColumn<bool>("save");
    QTest::newRow("save") << true;
    QTest::newRow("open") << false;
}

void RecordSaveTest::cancelChangesNothingAlthoughANameIsRemembered() {
    QFETCH(bool, save);

    const QString file = fx_.path(QStringLiteral("first.txt"));
    fx_.host->seam.answerSave(file);
    saveRecordCommand(*fx_.host);
    QVERIFY(QFile::exists(file));

    writeBytes(file, "changed by hand\r\n");
    fx_.host->buffer = QStringLiteral("kept");
    if (save) {
        fx_.host->seam.answerSave(QString());
        saveRecordCommand(*fx_.host);
    } else {
        fx_.host->seam.answerOpen(QString());
        openRecordCommand(*fx_.host);
    }

    QCOMPARE(fx_.host->seam.fileRequests().size(), 2);
    QCOMPARE(fx_.host->seam.fileRequests().at(1).save, save);
    QCOMPARE(fx_.host->seam.fileRequests().at(1).selected, file);
    QCOMPARE(fx_.host->dialog.fileName(), file);
    QCOMPARE(fileBytes(file), QByteArray("changed by hand\r\n"));
    QCOMPARE(fx_.host->buffer, QStringLiteral("kept"));
    QCOMPARE(fx_.host->calculations, 1);
}

void RecordSaveTest::saveToUnwritablePathReportsAndKeepsTheOldFile_data() {
    QTest::addColumn<QString>("target");
    QTest::newRow("no such folder") << "missing/sub/rec.txt";
    QTest::newRow("under a regular file") << "good.txt/rec.txt";
    QTest::newRow("a folder") << "folder";
}

void RecordSaveTest::saveToUnwritablePathReportsAndKeepsTheOldFile() {
    QFETCH(QString, target);

    const QString good = fx_.path(QStringLiteral("good.txt"));
    fx_.host->seam.answerSave(good);
    saveRecordCommand(*fx_.host);
    const QByteArray saved = fileBytes(good);
    QVERIFY(QDir(fx_.dir->path()).mkdir(QStringLiteral("folder")));

    const QString bad = fx_.path(target);
    fx_.host->seam.answerSave(bad);
    saveRecordCommand(*fx_.host);

    QSaveFile probe(bad);
    QVERIFY(!probe.open(QIODevice::WriteOnly));
    const FakeDialogs::Message shown = fx_.takeMessage();
    QCOMPARE(shown.icon, QMessageBox::Warning);
    QCOMPARE(shown.title, QStringLiteral("Zorva"));
    QVERIFY2(shown.text.contains(QDir::toNativeSeparators(bad)), qPrintable(shown.text));
    // The system's reason; for a folder the system's own text rather than
    // QSaveFile's.
    const QString reason = target == "folder" ? qt_error_string(EISDIR) : probe.errorString();
    QVERIFY2(shown.text.contains(reason), qPrintable(shown.text));
    QCOMPARE(fileBytes(good), saved);
    QVERIFY(QFileInfo(fx_.path(QStringLiteral("folder"))).isDir());
    QVERIFY(QDir(fx_.path(QStringLiteral("folder"))).isEmpty());
    QCOMPARE(QDir(fx_.dir->path()).entryList(QDir::Files), QStringList{QStringLiteral("good.txt")});
}

void RecordSaveTest::writeCutShortKeepsTheOldFile_data() {
    QTest::addColumn<bool>("hasOld");
    QTest::newRow("over an old record") << true;
    QTest::newRow("new file") << false;
}

// Every cap below the record's size fails the save with a warning and
// leaves the old file (or none).
void RecordSaveTest::writeCutShortKeepsTheOldFile() {
    QFETCH(bool, hasOld);
    fx_.host->seam.answerSave(fx_.path(QStringLiteral("full.txt")));
    saveRecordCommand(*fx_.host);
    const qsizetype full = fileBytes(fx_.path(QStringLiteral("full.txt"))).size();
    const QString target = fx_.path(QStringLiteral("记录.txt"));
    for (qsizetype cap = 0; cap < full; ++cap) {
        QFile::remove(target);
        if (hasOld)
            writeBytes(target, "old record\r\n");
        fx_.host->seam.answerSave(target);
        {
            const FileSizeCap capped{rlim_t(cap)};
            saveRecordCommand(*fx_.host);
        }
        const FakeDialogs::Message shown = fx_.takeMessage();
        QVERIFY2(shown.icon == QMessageBox::Warning && shown.text.contains(target) &&
                     shown.text.contains(qt_error_string(EFBIG)),
                 qPrintable(QStringLiteral("cap %1: %2").arg(cap).arg(shown.text)));
        QVERIFY2(hasOld ? fileBytes(target) == "old record\r\n" : !QFile::exists(target),
                 qPrintable(QStringLiteral("cap %1").arg(cap)));
        QCOMPARE(QDir(fx_.dir->path()).entryList(QDir::Files | QDir::Hidden).size(),
                 hasOld ? 2 : 1);
    }
}

void RecordSaveTest::targetThatIsNoFileIsRefused_data() {
    QTest::addColumn<bool>("loop");
    QTest::newRow("named pipe") << false;
    QTest::newRow("symbolic link loop") << true;
}

void RecordSaveTest::targetThatIsNoFileIsRefused() {
    QFETCH(bool, loop);
    const QString target = fx_.path(QStringLiteral("target"));
    const QString other = fx_.path(QStringLiteral("other"));
    QVERIFY(loop ? QFile::link(other, target) && QFile::link(target, other)
                 : ::mkfifo(QFile::encodeName(target).constData(), 0644) == 0);
    fx_.host->seam.answerSave(target);
    saveRecordCommand(*fx_.host);

    const FakeDialogs::Message shown = fx_.takeMessage();
    QCOMPARE(shown.icon, QMessageBox::Warning);
    QVERIFY2(shown.text.contains(target) &&
                 shown.text.contains(loop ? qt_error_string(ELOOP) : QStringLiteral("命名管道")),
             qPrintable(shown.text));
    const QFileInfo info(target);
    QVERIFY(loop ? info.isSymLink() : !info.isFile() && info.exists());
    QCOMPARE(QDir(fx_.dir->path())
                 .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot)
                 .size(),
             loop ? 2 : 1);
}

QTEST_GUILESS_MAIN(RecordSaveTest)
#include "tst_recordsave.moc"
