// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Saved reference ("golden") files: a text the program produces, compared as
// a whole with the file kept beside the tests, so that a change shows as one
// diff. After an intended change, write the files anew and review the diff:
//
//   ZORVA_UPDATE_GOLDEN=1 ctest --test-dir build -R <suite>
//
// The files live in tests/golden/; ZORVA_TESTS_SOURCE_DIR is set by
// tests/CMakeLists.txt.

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTest>

// Empty when `actual` equals the golden file `name`, else what differs: the
// first line that does, and the path of the file holding `actual` in full
// (next to the build's test programs) for a diff.
inline QString goldenDifference(const QString& name, const QString& actual) {
    const QString path = QStringLiteral(ZORVA_TESTS_SOURCE_DIR "/golden/") + name;
    if (qEnvironmentVariableIntValue("ZORVA_UPDATE_GOLDEN") == 1) {
        QDir().mkpath(QStringLiteral(ZORVA_TESTS_SOURCE_DIR "/golden"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(actual.toUtf8()) != actual.toUtf8().size())
            return QStringLiteral("cannot write %1").arg(path);
        return {};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("no golden file %1 (ZORVA_UPDATE_GOLDEN=1 writes it)").arg(path);
    const QString expected = QString::fromUtf8(file.readAll());
    if (expected == actual)
        return {};
    const QStringList want = expected.split(u'\n');
    const QStringList got = actual.split(u'\n');
    int line = 0;
    while (line < want.size() && line < got.size() && want[line] == got[line])
        ++line;
    const QString kept = QDir::current().filePath(name + QStringLiteral(".actual"));
    QFile out(kept);
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        out.write(actual.toUtf8());
    return QStringLiteral(
               "%1 differs at line %2:\n  expected: %3\n  actual:   %4\n(all of it in %5)")
        .arg(path)
        .arg(line + 1)
        .arg(want.value(line, QStringLiteral("(end)")), got.value(line, QStringLiteral("(end)")),
             kept);
}

#define ZORVA_COMPARE_GOLDEN(name, actual)                                                         \
    do {                                                                                           \
        const QString difference_ = goldenDifference((name), (actual));                            \
        QVERIFY2(difference_.isEmpty(), qPrintable(difference_));                                  \
    } while (false)
