// SPDX-License-Identifier: GPL-3.0-or-later
// The source checks of `make check` run on small trees made for the test:
// tools/check-includes fails on an include circle between units and on
// each broken layer rule and passes a clean tree; tools/add-spdx finds a
// file without the licence line, adds the line, and leaves a file that has
// it byte for byte.

#include "support/patience.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kTools = QStringLiteral(ZORVA_TESTS_SOURCE_DIR "/../tools/");
const QByteArray kLicence = "// SPDX-License-Identifier: GPL-3.0-or-later\n";

struct Run {
    int exitCode = -1;
    QString output;
};

Run runTool(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("python3"), QStringList{kTools + tool} + arguments);
    if (!process.waitForFinished(kProcessPatienceMs))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAll())};
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class SourceChecksTest : public QObject {
    Q_OBJECT

private slots:
    void includesChecked_data();
    void includesChecked();
    void licenceLineFoundAndAdded();
};

void SourceChecksTest::includesChecked_data() {
    // Files as "path from src/" -> contents; the fault expected, empty for none.
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("fault");
    const QString header = QStringLiteral("#pragma once\n");
    QTest::newRow("clean layers")
        << QStringList{"core/engine/a.h",
                       header + "#include <vector>\n",
                       "core/io/f.h",
                       header + "#include \"core/engine/a.h\"\n#include <QFile>\n",
                       "models/m/m.h",
                       header + "#include \"core/io/f.h\"\n#include <QColor>\n",
                       "widgets/w/w.h",
                       header + "#include \"models/m/m.h\"\n#include <QWidget>\n",
                       "widgets/w/w.cpp",
                       "#include \"widgets/w/w.h\"\n#include \"w.moc\"\n"}
        << QString();
    // The header forward-declares, its source closes the circle.
    QTest::newRow("circle through a source")
        << QStringList{"widgets/a/main.h",
                       header + "class Registry;\n",
                       "widgets/a/main.cpp",
                       "#include \"widgets/a/main.h\"\n#include \"widgets/a/registry.h\"\n",
                       "widgets/a/registry.h",
                       header + "#include \"widgets/a/main.h\"\n"}
        << QStringLiteral("include cycle: widgets/a/main -> widgets/a/registry -> widgets/a/main");
    QTest::newRow("circle through a part of a source")
        << QStringList{"widgets/a/main.h",        header,
                       "widgets/a/main_menu.cpp", "#include \"widgets/a/registry.h\"\n",
                       "widgets/a/registry.h",    header + "#include \"widgets/a/main.h\"\n"}
        << QStringLiteral("include cycle: widgets/a/main -> widgets/a/registry");
    QTest::newRow("engine with Qt")
        << QStringList{"core/rooms/r.h", header + "#include <QString>\n"}
        << QStringLiteral("core/rooms/r.h: includes <QString>: the engine uses no Qt");
    QTest::newRow("engine with core io")
        << QStringList{"core/io/f.h", header, "core/engine/e.cpp", "#include \"core/io/f.h\"\n"}
        << QStringLiteral("the engine includes only engine files");
    QTest::newRow("core with models")
        << QStringList{"models/m/m.h", header, "core/wording/w.cpp", "#include \"models/m/m.h\"\n"}
        << QStringLiteral("core includes nothing above core");
    QTest::newRow("models with widgets")
        << QStringList{"widgets/w/w.h", header, "models/m/m.cpp", "#include \"widgets/w/w.h\"\n"}
        << QStringLiteral("models include no widgets");
    QTest::newRow("models with Qt Widgets")
        << QStringList{"models/m/m.cpp", "#include <QtWidgets/QStyle>\n"}
        << QStringLiteral("models use Qt Core and Gui only");
    QTest::newRow("include by a bare name")
        << QStringList{"models/m/m.h", header, "models/m/m.cpp", "#include \"m.h\"\n"}
        << QStringLiteral("not a file under src/");
    QTest::newRow("a commented include counts for nothing")
        << QStringList{"models/m/m.cpp",
                       "// #include \"widgets/w/w.h\"\n/* #include <QWidget> */\n"}
        << QString();
}

void SourceChecksTest::includesChecked() {
    QFETCH(QStringList, files);
    QFETCH(QString, fault);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (qsizetype i = 0; i + 1 < files.size(); i += 2)
        QVERIFY(writeFile(dir.filePath(files[i]), files[i + 1].toUtf8()));
    const Run run = runTool(QStringLiteral("check-includes"), {dir.path()});
    QCOMPARE(run.exitCode, fault.isEmpty() ? 0 : 1);
    QVERIFY2(run.output.contains(fault), qPrintable(run.output));
}

void SourceChecksTest::licenceLineFoundAndAdded() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray bare = "#pragma once\n// A header.\n";
    const QByteArray licensed = kLicence + "#include \"x.h\"\r\n";
    QVERIFY(writeFile(dir.filePath(QStringLiteral("src/a/bare.h")), bare));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("tests/licensed.cpp")), licensed));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("docs/notes.md")), "no code"));

    Run run = runTool(QStringLiteral("add-spdx"), {QStringLiteral("--check"), dir.path()});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.output.contains(QStringLiteral("src/a/bare.h")), qPrintable(run.output));
    QVERIFY(!run.output.contains(QStringLiteral("licensed.cpp")));

    run = runTool(QStringLiteral("add-spdx"), {dir.path()});
    QCOMPARE(run.exitCode, 0);
    QFile added(dir.filePath(QStringLiteral("src/a/bare.h")));
    QVERIFY(added.open(QIODevice::ReadOnly));
    QCOMPARE(added.readAll(), kLicence + bare);
    QFile kept(dir.filePath(QStringLiteral("tests/licensed.cpp")));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), licensed);

    run = runTool(QStringLiteral("add-spdx"), {QStringLiteral("--check"), dir.path()});
    QCOMPARE(run.exitCode, 0);
}

QTEST_GUILESS_MAIN(SourceChecksTest)
#include "tst_sourcechecks.moc"
