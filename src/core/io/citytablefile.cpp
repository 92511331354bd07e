#include "core/io/citytablefile.h"

#include <QFile>
#include <QFileInfo>

namespace zorva::io {

namespace {

CityTableLoad readTable(const QString& fileName, const QString& shownName) {
    CityTableLoad load;
    const QFileInfo info(fileName);
    // A pipe or a device would make the read wait; a resource is a file.
    if (!info.exists() || !info.isFile()) {
        load.error = QStringLiteral("找不到室外计算温度表“%1”").arg(shownName);
        return load;
    }
    if (info.size() > kCityTableSizeLimit) {
        load.error = QStringLiteral("室外计算温度表“%1”过大，未读取").arg(shownName);
        return load;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        load.error =
            QStringLiteral("无法读取室外计算温度表“%1”：%2").arg(shownName, file.errorString());
        return load;
    }
    const QByteArray bytes = file.read(kCityTableSizeLimit + 1);
    if (bytes.size() > kCityTableSizeLimit) {
        load.error = QStringLiteral("室外计算温度表“%1”过大，未读取").arg(shownName);
        return load;
    }
    load.table = heatload::parseCityTable(std::string_view(bytes.constData(), bytes.size()));
    if (load.table.cities.empty()) {
        load.error = QStringLiteral("室外计算温度表“%1”中没有可读的台站").arg(shownName);
        if (!load.table.errors.empty()) {
            const heatload::CityTableError& first = load.table.errors.front();
            load.error += QStringLiteral("（第 %1 行：%2）")
                              .arg(first.line)
                              .arg(QString::fromUtf8(heatload::cityTableFaultText(first.fault)));
        }
        return load;
    }
    load.ok = true;
    return load;
}

} // namespace

CityTableLoad loadBuiltinCityTable() {
    const QString path = QString::fromLatin1(kBuiltinCityTable);
    return readTable(path, path);
}

CityTableLoad loadCityTableFile(const QString& fileName) {
    return readTable(fileName, QFileInfo(fileName).fileName());
}

} // namespace zorva::io
