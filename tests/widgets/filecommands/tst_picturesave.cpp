// SPDX-License-Identifier: GPL-3.0-or-later
// "保存图片": the principle diagram written as a Windows bitmap under the
// chosen name, with a scripted file dialog and a recorded message box.

#include "core/io/safesave.h"
#include "support/fakedialogs.h"
#include "support/filesizecap.h"
#include "support/patience.h"
#include "widgets/dialogs/dialogseam.h"
#include "widgets/dialogs/filedialog.h"
#include "widgets/info/principlewindow.h"
#include "widgets/main/filecommands.h"
#include "widgets/main/picturefile.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cerrno>

using namespace zorva;
using namespace zorva::ui;

namespace {

// The main window's side of the command: its file dialog and the principle
// window, created hidden on first reach.
class FakeHost : public PictureHost {
public:
    FakeDialogs seam{FakeDialogs::Mode::Tolerant};
    FileDialog dialog{seam};
    QPointer<PrincipleWindow> window;
    int windowsCreated = 0;

    ~FakeHost() override { delete window; }

    FileDialog& fileDialog() override { return dialog; }
    DialogSeam& dialogs() override { return seam; }
    QWidget* dialogParent() override { return nullptr; }
    QImage principlePicture() override {
        if (!window) {
            window = new PrincipleWindow;
            ++windowsCreated;
        }
        return window->picture();
    }

    void save(const QString& answer) {
        seam.answerSave(answer);
        savePictureCommand(*this);
    }
};

QByteArray readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList entries(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

// Checks the bitmap headers and every pixel against the diagram resource;
// returns what is wrong, or an empty text.
QString bitmapProblem(const QString& path) {
    const QByteArray bytes = readAll(path);
    if (bytes.size() < 54 || !bytes.startsWith("BM"))
        return QStringLiteral("no bitmap file header");
    // Read through a stream: GCC's bounds warning under the address
    // sanitizer takes a pointer into the array for one into an empty one.
    const auto u32 = [&](int at) {
        QDataStream in(bytes);
        in.setByteOrder(QDataStream::LittleEndian);
        in.skipRawData(at);
        quint32 value = 0;
        in >> value;
        return value;
    };
    const auto s32 = [&](int at) { return qint32(u32(at)); };
    if (u32(2) != quint32(bytes.size()))
        return QStringLiteral("header size %1, file size %2").arg(u32(2)).arg(bytes.size());
    if (u32(10) >= quint32(bytes.size()) || u32(14) < 40)
        return QStringLiteral("bad pixel offset or information header");
    if (s32(18) != 300 || qAbs(s32(22)) != 250)
        return QStringLiteral("header says %1x%2").arg(s32(18)).arg(s32(22));

    QImage saved;
    if (!saved.loadFromData(bytes, "BMP"))
        return QStringLiteral("does not load as a bitmap");
    const QImage expected(QStringLiteral(":/diagram.png"));
    if (saved.size() != QSize(300, 250) || expected.size() != saved.size())
        return QStringLiteral("loads as %1x%2").arg(saved.width()).arg(saved.height());
    for (int y = 0; y < 250; ++y) {
        for (int x = 0; x < 300; ++x) {
            if (saved.pixel(x, y) != expected.pixel(x, y))
                return QStringLiteral("pixel (%1,%2) differs").arg(x).arg(y);
        }
    }
    return {};
}

} // namespace

class PictureSaveTest : public QObject {
    Q_OBJECT

private slots:
    // As both programs do at start: a write past the size cap then fails
    // with EFBIG instead of SIGXFSZ ending the suite.
    void initTestCase() { zorva::io::ignoreFileSizeSignal(); }
    void savedFileIsTheDiagramAsBitmap_data();
    void savedFileIsTheDiagramAsBitmap();
    void saveWhileWindowIsShownKeepsItShown();
    void cancelWritesNothingAlthoughANameIsRemembered_data();
    void cancelWritesNothingAlthoughANameIsRemembered();
    void savingOverAFileReplacesIt_data();
    void savingOverAFileReplacesIt();
    void unwritablePathIsReported_data();
    void unwritablePathIsReported();
    void failedWriteLeavesOldFileIntact();
    void writeCutShortAtAnySizeKeepsTheOldFile_data();
    void writeCutShortAtAnySizeKeepsTheOldFile();
    void missingPictureWritesNothing();
};

void PictureSaveTest::savedFileIsTheDiagramAsBitmap_data() {
    QTest::addColumn<QString>("name");

    QTest::newRow("bmp") << QStringLiteral("diagram.bmp");
    QTest::newRow("gif name") << QStringLiteral("diagram.gif");
    QTest::newRow("png name") << QStringLiteral("diagram.png");
    QTest::newRow("no extension") << QStringLiteral("diagram");
    QTest::newRow("Chinese name with space") << QStringLiteral("原理 图.bmp");
}

void PictureSaveTest::savedFileIsTheDiagramAsBitmap() {
    QFETCH(QString, name);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    FakeHost host;
    host.save(dir.filePath(name));

    QCOMPARE(host.dialog.filter(), QStringLiteral("图片文件(*.bmp)|*.bmp"));
    QCOMPARE(host.seam.fileRequests().size(), 1);
    QCOMPARE(host.seam.fileRequests()[0].nameFilter, QStringLiteral("图片文件(*.bmp) (*.bmp)"));
    QCOMPARE(host.seam.messages().size(), 0);

    // Exactly the chosen name: no extension added, nothing left beside it.
    QCOMPARE(entries(dir.path()), QStringList{name});
    const QString problem = bitmapProblem(dir.filePath(name));
    QVERIFY2(problem.isEmpty(), qPrintable(problem));

    // The principle window was reached, created hidden, and stays.
    QCOMPARE(host.windowsCreated, 1);
    QVERIFY(host.window);
    QVERIFY(!host.window->isVisible());
}

void PictureSaveTest::saveWhileWindowIsShownKeepsItShown() {
    QTemporaryDir dir;
    FakeHost host;
    host.window = new PrincipleWindow;
    host.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(host.window, kPatienceMs));

    host.save(dir.filePath(QStringLiteral("shown.bmp")));
    QCOMPARE(host.windowsCreated, 0);
    QVERIFY(host.window->isVisible());
    const QString problem = bitmapProblem(dir.filePath(QStringLiteral("shown.bmp")));
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void PictureSaveTest::cancelWritesNothingAlthoughANameIsRemembered_data() {
    QTest::addColumn<QString>("answer");

    // The dialog reports a cancel and an unnamed confirm the same way.
    QTest::newRow("cancelled") << QString();
    QTest::newRow("empty name") << QStringLiteral("");
}

void PictureSaveTest::cancelWritesNothingAlthoughANameIsRemembered() {
    QFETCH(QString, answer);

    QTemporaryDir dir;
    FakeHost host;
    const QString earlier = dir.filePath(QStringLiteral("earlier.bmp"));
    host.save(earlier);
    QVERIFY(QFile::remove(earlier));
    delete host.window;
    host.windowsCreated = 0;

    host.save(answer);
    QCOMPARE(host.seam.fileRequests().size(), 2);
    QCOMPARE(host.seam.fileRequests()[1].selected, earlier);
    QCOMPARE(host.dialog.fileName(), earlier);
    QCOMPARE(entries(dir.path()), QStringList());
    QCOMPARE(host.seam.messages().size(), 0);
    QCOMPARE(host.windowsCreated, 0);
}

void PictureSaveTest::savingOverAFileReplacesIt_data() {
    QTest::addColumn<int>("oldSize");

    QTest::newRow("larger old file") << 400000;
    QTest::newRow("smaller old file") << 10;
    QTest::newRow("empty old file") << 0;
}

void PictureSaveTest::savingOverAFileReplacesIt() {
    QFETCH(int, oldSize);

    QTemporaryDir dir;
    FakeHost host;
    const QString fresh = dir.filePath(QStringLiteral("fresh.bmp"));
    host.save(fresh);

    const QString target = dir.filePath(QStringLiteral("target.bmp"));
    QVERIFY(writeAll(target, QByteArray(oldSize, 'x')));
    host.save(target);

    QCOMPARE(host.seam.messages().size(), 0);
    QCOMPARE(readAll(target), readAll(fresh));
    const QString problem = bitmapProblem(target);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QCOMPARE(entries(dir.path()),
             (QStringList{QStringLiteral("fresh.bmp"), QStringLiteral("target.bmp")}));
}

void PictureSaveTest::unwritablePathIsReported_data() {
    QTest::addColumn<QString>("name");

    QTest::newRow("no such folder") << QStringLiteral("missing/picture.bmp");
    QTest::newRow("folder is a file") << QStringLiteral("plain.txt/picture.bmp");
    QTest::newRow("name is a folder") << QStringLiteral("folder");
}

void PictureSaveTest::unwritablePathIsReported() {
    QFETCH(QString, name);

    QTemporaryDir dir;
    QVERIFY(writeAll(dir.filePath(QStringLiteral("plain.txt")), "keep me"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    QVERIFY(writeAll(dir.filePath(QStringLiteral("folder/inside.txt")), "keep me too"));
    const QStringList before = entries(dir.path());

    FakeHost host;
    const QString path = dir.filePath(name);
    host.save(path);

    QCOMPARE(host.seam.messages().size(), 1);
    const FakeDialogs::Message& shown = host.seam.messages()[0];
    QCOMPARE(shown.icon, QMessageBox::Warning);
    QCOMPARE(shown.title, QStringLiteral("Zorva"));
    QVERIFY2(shown.text.contains(path), qPrintable(shown.text));
    const QString reason = shown.text.mid(shown.text.indexOf(path) + path.size());
    QVERIFY2(reason.count(QRegularExpression(QStringLiteral("\\w"))) > 3, qPrintable(shown.text));

    QCOMPARE(entries(dir.path()), before);
    QCOMPARE(readAll(dir.filePath(QStringLiteral("plain.txt"))), QByteArray("keep me"));
    QCOMPARE(entries(dir.filePath(QStringLiteral("folder"))),
             QStringList{QStringLiteral("inside.txt")});
    QCOMPARE(readAll(dir.filePath(QStringLiteral("folder/inside.txt"))), QByteArray("keep me too"));
}

void PictureSaveTest::failedWriteLeavesOldFileIntact() {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("old.bmp"));
    QVERIFY(writeAll(target, "the old picture"));

    FakeHost host;
    host.principlePicture(); // load the diagram before writing is capped
    {
        // The bitmap is far larger than this, so writing stops part way.
        FileSizeCap cap(4096);
        host.save(target);
    }

    QCOMPARE(host.seam.messages().size(), 1);
    QCOMPARE(host.seam.messages()[0].icon, QMessageBox::Warning);
    QVERIFY(host.seam.messages()[0].text.contains(target));
    // The reason is the system's own: the file grew past the allowed size.
    QVERIFY2(host.seam.messages()[0].text.contains(qt_error_string(EFBIG)),
             qPrintable(host.seam.messages()[0].text));
    QCOMPARE(readAll(target), QByteArray("the old picture"));
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("old.bmp")});
}

void PictureSaveTest::missingPictureWritesNothing() {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("old.bmp"));
    QVERIFY(writeAll(target, "the old picture"));

    const zorva::Result<void> written = zorva::ui::writeBitmapFile(QImage(), target);
    QVERIFY(!written.ok());
    QVERIFY(!written.error().isEmpty());
    QCOMPARE(readAll(target), QByteArray("the old picture"));
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("old.bmp")});
}

void PictureSaveTest::writeCutShortAtAnySizeKeepsTheOldFile_data() {
    QTest::addColumn<bool>("hasOld");
    QTest::newRow("over an old picture") << true;
    QTest::newRow("new file") << false;
}

// Every cap below the bitmap's size, each byte of the last 5 KiB included,
// fails the save with a warning and leaves the old file (or none).
void PictureSaveTest::writeCutShortAtAnySizeKeepsTheOldFile() {
    QFETCH(bool, hasOld);
    QTemporaryDir dir;
    FakeHost host;
    host.save(dir.filePath(QStringLiteral("full.bmp")));
    const qsizetype full = readAll(dir.filePath(QStringLiteral("full.bmp"))).size();
    QVERIFY(full > 32768);
    const QString target = dir.filePath(QStringLiteral("old.bmp"));
    for (qsizetype cap = 0; cap < full; cap += cap < 32768 ? 512 : 1) {
        QFile::remove(target);
        QVERIFY(!hasOld || writeAll(target, "the old picture"));
        {
            const FileSizeCap capped{rlim_t(cap)};
            host.save(target);
        }
        const FakeDialogs::Message shown = host.seam.takeMessage();
        QVERIFY2(shown.icon == QMessageBox::Warning && shown.text.contains(target) &&
                     shown.text.contains(qt_error_string(EFBIG)),
                 qPrintable(QStringLiteral("cap %1: %2").arg(cap).arg(shown.text)));
        QVERIFY2(hasOld ? readAll(target) == "the old picture" : !QFile::exists(target),
                 qPrintable(QStringLiteral("cap %1").arg(cap)));
        QCOMPARE(entries(dir.path()).size(), hasOld ? 2 : 1);
    }
}

QTEST_MAIN(PictureSaveTest)
#include "tst_picturesave.moc"
