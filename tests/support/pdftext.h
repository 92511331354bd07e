// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A PDF read back as its text, pages and fonts through poppler's command
// line tools (Debian package poppler-utils).

#include "support/patience.h"

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

inline bool havePdfTools() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdffonts")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
}

// Standard output of a poppler tool run on `path`; empty when it failed.
inline QString pdfTool(const QString& tool, QStringList arguments, const QString& path) {
    QProcess process;
    arguments << path;
    if (tool == QLatin1String("pdftotext"))
        arguments << QStringLiteral("-");
    process.start(tool, arguments);
    if (!process.waitForFinished(kProcessPatienceMs)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of page `page` (from 1), or of every page for 0.
inline QString pdfText(const QString& path, int page = 0) {
    QStringList arguments{QStringLiteral("-enc"), QStringLiteral("UTF-8")};
    if (page > 0)
        arguments << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
                  << QString::number(page);
    return pdfTool(QStringLiteral("pdftotext"), arguments, path);
}

inline int pdfPages(const QString& path) {
    const QString info = pdfTool(QStringLiteral("pdfinfo"), {}, path);
    for (const QString& line : info.split(u'\n')) {
        if (line.startsWith(QLatin1String("Pages:")))
            return line.mid(6).trimmed().toInt();
    }
    return 0;
}

// Writes `bytes` into `dir` as `name` and returns the path.
inline QString savePdf(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}
