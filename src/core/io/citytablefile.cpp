// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/citytablefile.h"

#include "core/io/fileread.h"

#include <QFile>
#include <QFileInfo>

namespace zorva::io {

namespace {

Problem fault(const QString& message, const QString& reason = {}) {
    return {message, reason};
}

CityTableLoad parsed(const QByteArray& bytes, const QString& shownName) {
    heatload::CityTable table =
        heatload::parseCityTable(std::string_view(bytes.constData(), bytes.size()));
    if (!table.cities.empty())
        return table;
    QString message = QStringLiteral("室外计算温度表“%1”中没有可读的台站").arg(shownName);
    if (!table.errors.empty()) {
        const heatload::CityTableError& first = table.errors.front();
        message += QStringLiteral("（第 %1 行：%2）")
                       .arg(first.line)
                       .arg(QString::fromUtf8(heatload::cityTableFaultText(first.fault)));
    }
    return fault(message);
}

QString tooLarge(const QString& shownName) {
    return QStringLiteral("室外计算温度表“%1”过大，未读取").arg(shownName);
}

} // namespace

CityTableLoad loadBuiltinCityTable() {
    const QString path = QString::fromLatin1(kBuiltinCityTable);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fault(QStringLiteral("无法读取室外计算温度表“%1”").arg(path), file.errorString());
    const QByteArray bytes = file.read(kCityTableSizeLimit + 1);
    if (bytes.size() > kCityTableSizeLimit)
        return fault(tooLarge(path));
    return parsed(bytes, path);
}

CityTableLoad loadCityTableFile(const QString& fileName) {
    const QString shownName = QFileInfo(fileName).fileName();
    const QFileInfo info(fileName);
    if (!info.exists() || info.isDir())
        return fault(QStringLiteral("找不到室外计算温度表“%1”").arg(shownName));
    const Result<QByteArray> bytes =
        readFileBytes(QFile::encodeName(fileName), shownName, kCityTableSizeLimit);
    if (!bytes) {
        switch (bytes.problem().code) {
        case NotRegularFile:
            return bytes.problem();
        case TooLarge:
            return fault(tooLarge(shownName));
        default:
            return fault(QStringLiteral("无法读取室外计算温度表“%1”").arg(shownName),
                         bytes.problem().reason);
        }
    }
    return parsed(*bytes, shownName);
}

} // namespace zorva::io
