// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared set-up of the record command tests: a fresh folder and host per
// test, file helpers, and the checks every test ends with.

#include "support/scriptedhost.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "(cannot open)";
    return file.readAll();
}

inline void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

inline QList<QByteArray> fileLines(const QByteArray& bytes) {
    return bytes.split('\n');
}

inline QByteArray gbk(const QString& text) {
    return QStringEncoder("GBK").encode(text);
}

class RecordFixture {
public:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<ScriptedHost> host;

    void start() {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        host = std::make_unique<ScriptedHost>();
    }

    // Every dialog was scripted, every answer used and every message
    // claimed by the test, and both commands offered the record filter.
    void finish() const {
        const FakeDialogs& seam = host->seam;
        QVERIFY2(seam.unexpected().isEmpty(), qPrintable(seam.unexpected().join(u'\n')));
        QVERIFY2(seam.messages().isEmpty(),
                 qPrintable(
                     QStringLiteral("message not expected: ") +
                     (seam.messages().isEmpty() ? QString() : seam.messages().constFirst().text)));
        QCOMPARE(seam.pendingExpectations(), 0);
        for (const FakeDialogs::FileRequest& call : seam.fileRequests())
            QCOMPARE(call.nameFilter, QStringLiteral("文本文件(*.txt) (*.txt *.doc)"));
    }

    QString path(const QString& name) const { return dir->filePath(name); }

    FakeDialogs::Message takeMessage() { return host->seam.takeMessage(); }
};
