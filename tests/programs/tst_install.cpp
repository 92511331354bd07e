// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <map>

namespace {

const QString kAppId = QStringLiteral(ZORVA_APP_ID);

QString desktopPath() {
    return QStringLiteral("share/applications/") + kAppId + QStringLiteral(".desktop");
}
QString metainfoPath() {
    return QStringLiteral("share/metainfo/") + kAppId + QStringLiteral(".metainfo.xml");
}
QString iconPath(int size) {
    return QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(kAppId);
}

// The keys of the [Desktop Entry] group, localised keys under their full
// name ("Name[zh_CN]").
std::map<QString, QString> readDesktopEntry(const QString& path) {
    QFile file(path);
    std::map<QString, QString> keys;
    if (!file.open(QIODevice::ReadOnly))
        return keys;
    bool inEntry = false;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(u'['))
            inEntry = line == QStringLiteral("[Desktop Entry]");
        else if (inEntry && !line.startsWith(u'#') && line.contains(u'='))
            keys[line.section(u'=', 0, 0).trimmed()] = line.section(u'=', 1).trimmed();
    }
    return keys;
}

// Text of every element of the metainfo file by name; attributes that
// matter here are folded into the name ("launchable@desktop-id").
std::multimap<QString, QString> readMetainfo(const QString& path) {
    QFile file(path);
    std::multimap<QString, QString> elements;
    if (!file.open(QIODevice::ReadOnly))
        return elements;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        QString name = xml.name().toString();
        const auto attrs = xml.attributes();
        if (attrs.hasAttribute(QStringLiteral("type")))
            name += u'@' + attrs.value(QStringLiteral("type")).toString();
        if (attrs.hasAttribute(QStringLiteral("xml:lang")))
            name += u'[' + attrs.value(QStringLiteral("xml:lang")).toString() + u']';
        if (name == QStringLiteral("component@desktop-application") || name == u"provides" ||
            name == u"description" || name == u"categories" || name == u"keywords" ||
            name == u"releases") {
            elements.emplace(name, QString());
            continue; // containers: descend into them
        }
        elements.emplace(name, xml.readElementText(QXmlStreamReader::IncludeChildElements));
    }
    if (xml.hasError())
        elements.emplace(QStringLiteral("error"), xml.errorString());
    return elements;
}

bool hasHan(const QString& text) {
    for (QChar c : text)
        if (c.script() == QChar::Script_Han)
            return true;
    return false;
}

} // namespace

class InstallTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void filesAreInTheirStandardPlaces_data();
    void filesAreInTheirStandardPlaces();
    void iconHasItsSize_data();
    void iconHasItsSize();
    void desktopEntryKeys_data();
    void desktopEntryKeys();
    void desktopEntryHasChineseNameAndComment();
    void desktopEntryPointsAtInstalledProgramAndIcon();
    void metainfoNamesTheDesktopEntryAndProgram();
    void copyrightFileNamesTheLicence();
    void validatorsAcceptTheFiles_data();
    void validatorsAcceptTheFiles();
    void installedProgramStarts();

private:
    QString installed(const QString& relative) const { return prefix_.filePath(relative); }
    QTemporaryDir prefix_;
};

void InstallTest::initTestCase() {
    QVERIFY(prefix_.isValid());
    QProcess install;
    install.setProcessChannelMode(QProcess::MergedChannels);
    install.start(QStringLiteral(ZORVA_CMAKE_COMMAND),
                  {QStringLiteral("--install"), QStringLiteral(ZORVA_BINARY_DIR),
                   QStringLiteral("--prefix"), prefix_.path()});
    QVERIFY(install.waitForFinished(120000));
    QVERIFY2(install.exitStatus() == QProcess::NormalExit && install.exitCode() == 0,
             install.readAll().constData());
}

void InstallTest::filesAreInTheirStandardPlaces_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("executable");
    QTest::newRow("program") << QStringLiteral("bin/zorva") << true;
    QTest::newRow("calculator") << QStringLiteral("bin/zorva-calc") << true;
    QTest::newRow("calculator manual") << QStringLiteral("share/man/man1/zorva-calc.1") << false;
    QTest::newRow("desktop entry") << desktopPath() << false;
    QTest::newRow("metainfo") << metainfoPath() << false;
    QTest::newRow("city table") << QStringLiteral("share/zorva/cities.csv") << false;
    QTest::newRow("copyright") << QStringLiteral("share/doc/zorva/copyright") << false;
    QTest::newRow("example flat") << QStringLiteral("share/zorva/examples/flat.zorvaproj") << false;
    for (int size : {16, 32, 48, 256})
        QTest::addRow("icon %d", size) << iconPath(size) << false;
}

void InstallTest::filesAreInTheirStandardPlaces() {
    QFETCH(QString, path);
    QFETCH(bool, executable);
    const QFileInfo info(installed(path));
    QVERIFY2(info.isFile(), qPrintable(path));
    QVERIFY(info.size() > 0);
    QCOMPARE(info.isExecutable(), executable);
}

void InstallTest::iconHasItsSize_data() {
    QTest::addColumn<int>("size");
    for (int size : {16, 32, 48, 256})
        QTest::addRow("%dx%d", size, size) << size;
}

void InstallTest::iconHasItsSize() {
    QFETCH(int, size);
    const QImage icon(installed(iconPath(size)));
    QVERIFY(!icon.isNull());
    QCOMPARE(icon.size(), QSize(size, size));
    QVERIFY(icon.hasAlphaChannel());
}

void InstallTest::desktopEntryKeys_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("type") << "Type"
                          << "Application";
    QTest::newRow("name") << "Name"
                          << "Zorva";
    QTest::newRow("program") << "Exec"
                             << "zorva";
    QTest::newRow("icon") << "Icon" << kAppId;
    QTest::newRow("categories") << "Categories"
                                << "Science;Engineering;";
    QTest::newRow("no terminal") << "Terminal"
                                 << "false";
}

void InstallTest::desktopEntryKeys() {
    QFETCH(QString, key);
    QFETCH(QString, value);
    const auto keys = readDesktopEntry(installed(desktopPath()));
    QVERIFY2(keys.count(key) == 1, qPrintable(key));
    QCOMPARE(keys.at(key), value);
}

void InstallTest::desktopEntryHasChineseNameAndComment() {
    const auto keys = readDesktopEntry(installed(desktopPath()));
    for (const char* key : {"Name[zh_CN]", "Comment[zh_CN]"}) {
        QVERIFY2(keys.count(QString::fromLatin1(key)) == 1, key);
        QVERIFY2(hasHan(keys.at(QString::fromLatin1(key))), key);
    }
    QVERIFY(keys.count(QStringLiteral("Comment")) == 1);
    QVERIFY(!hasHan(keys.at(QStringLiteral("Comment"))));
}

void InstallTest::desktopEntryPointsAtInstalledProgramAndIcon() {
    const auto keys = readDesktopEntry(installed(desktopPath()));
    const QString exec = keys.at(QStringLiteral("Exec")).section(u' ', 0, 0);
    QVERIFY(QFileInfo(installed(QStringLiteral("bin/") + exec)).isExecutable());
    const QString icon = keys.at(QStringLiteral("Icon"));
    for (int size : {16, 32, 48, 256})
        QCOMPARE(QFileInfo(installed(iconPath(size))).completeBaseName(), icon);
}

void InstallTest::metainfoNamesTheDesktopEntryAndProgram() {
    const auto meta = readMetainfo(installed(metainfoPath()));
    const auto error = meta.find(QStringLiteral("error"));
    const QString errorText = error == meta.end() ? QString() : error->second;
    QVERIFY2(error == meta.end(), qPrintable(errorText));
    QVERIFY(meta.count(QStringLiteral("component@desktop-application")) == 1);
    QCOMPARE(meta.find(QStringLiteral("id"))->second, kAppId);
    QCOMPARE(meta.find(QStringLiteral("launchable@desktop-id"))->second,
             QFileInfo(desktopPath()).fileName());
    QCOMPARE(meta.find(QStringLiteral("binary"))->second, QStringLiteral("zorva"));
    QCOMPARE(meta.find(QStringLiteral("name"))->second, QStringLiteral("Zorva"));
    const auto chinese = meta.find(QStringLiteral("name[zh-CN]"));
    QVERIFY(chinese != meta.end() && hasHan(chinese->second));
    // The program links Qt Charts, which Qt offers under the GPL version 3.
    QCOMPARE(meta.find(QStringLiteral("project_license"))->second,
             QStringLiteral("GPL-3.0-or-later"));
}

// The package's copyright file in Debian's machine-readable form: its
// format line, then a paragraph covering every file with the licence that
// the standalone paragraph spells out.
void InstallTest::copyrightFileNamesTheLicence() {
    QFile file(installed(QStringLiteral("share/doc/zorva/copyright")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    const QStringList paragraphs = text.split(QStringLiteral("\n\n"));
    QVERIFY(paragraphs.size() >= 3);
    QVERIFY(paragraphs[0].startsWith(QStringLiteral(
        "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n")));
    QVERIFY(paragraphs[1].startsWith(QStringLiteral("Files: *\n")));
    QVERIFY(paragraphs[1].contains(QStringLiteral("\nLicense: GPL-3.0-or-later")));
    QVERIFY(text.contains(QStringLiteral("\nLicense: GPL-3.0-or-later\n This program is free")));
    QVERIFY(text.contains(QStringLiteral("/usr/share/common-licenses/GPL-3")));
}

void InstallTest::validatorsAcceptTheFiles_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("file");
    QTest::newRow("desktop-file-validate")
        << "desktop-file-validate" << QStringList() << desktopPath();
    QTest::newRow("appstreamcli validate")
        << "appstreamcli" << QStringList{"validate", "--no-net", "--no-color"} << metainfoPath();
}

void InstallTest::validatorsAcceptTheFiles() {
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QString, file);
    QProcess validator;
    validator.setProcessChannelMode(QProcess::MergedChannels);
    validator.start(program, arguments << installed(file));
    QVERIFY2(validator.waitForStarted(), qPrintable(program + QStringLiteral(" is missing")));
    QVERIFY(validator.waitForFinished(60000));
    const QByteArray output = validator.readAll();
    QVERIFY2(validator.exitStatus() == QProcess::NormalExit && validator.exitCode() == 0,
             output.constData());
    // Warnings do not change the exit code of desktop-file-validate.
    QVERIFY2(!output.contains("error") && !output.contains("warning"), output.constData());
}

// The installed program shows its window and keeps running until it is
// ended; a start that crashes or exits at once fails.
void InstallTest::installedProgramStarts() {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(installed(QStringLiteral("bin/zorva")), {});
    QVERIFY(program.waitForStarted());
    const bool ended = program.waitForFinished(3000);
    const QByteArray output = program.readAll();
    if (!ended) {
        program.kill();
        program.waitForFinished();
    }
    QVERIFY2(!ended, output.constData());
}

QTEST_GUILESS_MAIN(InstallTest)
#include "tst_install.moc"
