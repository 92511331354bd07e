// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/valvefile.h"

#include "core/csv/csvreader.h"
#include "core/csv/textencoding.h"
#include "core/io/fileread.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <functional>
#include <vector>

namespace zorva::io {

namespace {

using hydraulics::CharacteristicCheck;
using hydraulics::CharacteristicFault;
using hydraulics::ValveCharacteristic;

constexpr char kValveFormat[] = "zorva-valve";

// The characteristic's first broken rule in words; `where` names a point.
QString checkText(const CharacteristicCheck& check, const std::function<QString(int)>& where) {
    const int i = static_cast<int>(check.point);
    switch (check.fault) {
    case CharacteristicFault::None:
        break;
    case CharacteristicFault::NameEmpty:
        return QStringLiteral("阀门名称（name）为空");
    case CharacteristicFault::TooFewPoints:
        return QStringLiteral("至少需要 %1 个（预设定值, kv）点").arg(hydraulics::kMinValvePoints);
    case CharacteristicFault::TooManyPoints:
        return QStringLiteral("（预设定值, kv）点多于 %1 个").arg(hydraulics::kMaxValvePoints);
    case CharacteristicFault::CountMismatch:
        return QStringLiteral("预设定值与 kv 的个数不同");
    case CharacteristicFault::SettingNotFinite:
        return QStringLiteral("%1：预设定值应在 ±%2 之内")
            .arg(where(i))
            .arg(hydraulics::kMaxValveSetting);
    case CharacteristicFault::SettingNotIncreasing:
        return QStringLiteral("%1：预设定值应大于前一点的预设定值").arg(where(i));
    case CharacteristicFault::KvNotPositive:
        return QStringLiteral("%1：kv 应是大于 0 的数").arg(where(i));
    case CharacteristicFault::KvOutsideRange:
        return QStringLiteral("%1：kv 应在 %2 与 %3 m³/h 之间")
            .arg(where(i))
            .arg(hydraulics::kMinValveKv)
            .arg(hydraulics::kMaxValveKv);
    case CharacteristicFault::KvNotIncreasing:
        return QStringLiteral("%1：kv 应大于前一点的 kv（最后一点为全开）").arg(where(i));
    case CharacteristicFault::ResolutionNotPositive:
        return QStringLiteral("调节分度（resolution）应是大于 0 的数（不超过 %1）")
            .arg(hydraulics::kMaxValveSetting);
    }
    return {};
}

Problem refuse(const QString& error) {
    return {QStringLiteral("阀门文件：") + error, {}};
}

ValveFileRead finish(ValveCharacteristic valve, const std::function<QString(int)>& where) {
    const CharacteristicCheck check = hydraulics::checkCharacteristic(valve);
    if (!check.ok())
        return refuse(checkText(check, where));
    return valve;
}

int lineOf(const QByteArray& bytes, qsizetype offset) {
    return static_cast<int>(bytes.left(std::max<qsizetype>(offset, 0)).count('\n')) + 1;
}

ValveFileRead readJson(const QByteArray& bytes) {
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return refuse(QStringLiteral("第 %1 行不是有效的 JSON（%2）")
                          .arg(lineOf(bytes, parseError.offset))
                          .arg(parseError.errorString()));
    if (!doc.isObject())
        return refuse(QStringLiteral("最外层应是对象"));
    const QJsonObject top = doc.object();
    for (auto it = top.begin(); it != top.end(); ++it) {
        static const QStringList known{"format", "name", "resolution", "points", "note"};
        if (!known.contains(it.key()))
            return refuse(QStringLiteral("不认识的键“%1”（可用的键：format、name、resolution、"
                                         "points、note）")
                              .arg(it.key()));
    }
    if (top.contains("format") && top.value("format").toString() != QLatin1String(kValveFormat))
        return refuse(QStringLiteral("format 应是 \"%1\"").arg(QLatin1String(kValveFormat)));
    if (!top.value("name").isString())
        return refuse(QStringLiteral("缺少文字形式的阀门名称（name）"));
    if (top.contains("note") && !top.value("note").isString())
        return refuse(QStringLiteral("note 应是文字"));
    if (!top.value("resolution").isDouble())
        return refuse(QStringLiteral("缺少数字形式的调节分度（resolution）"));
    if (!top.value("points").isArray())
        return refuse(QStringLiteral("缺少点的数组（points）"));
    ValveCharacteristic v;
    v.name = top.value("name").toString().trimmed().toStdString();
    v.resolution = top.value("resolution").toDouble();
    const QJsonArray points = top.value("points").toArray();
    const auto where = [](int i) { return QStringLiteral("points 的第 %1 个点").arg(i + 1); };
    for (qsizetype i = 0; i < points.size(); ++i) {
        const QJsonObject p = points[i].toObject();
        const int n = static_cast<int>(i);
        if (!points[i].isObject() || p.size() != 2 || !p.value("setting").isDouble() ||
            !p.value("kv").isDouble())
            return refuse(where(n) + QStringLiteral("应是 {\"setting\": 数, \"kv\": 数}"));
        v.settings.push_back(p.value("setting").toDouble());
        v.kv.push_back(p.value("kv").toDouble());
        if (v.settings.size() > hydraulics::kMaxValvePoints)
            break;
    }
    return finish(std::move(v), where);
}

bool isBlank(const QStringList& row) {
    for (const QString& cell : row)
        if (!cell.trimmed().isEmpty())
            return false;
    return true;
}

bool readCell(const QString& cell, double& out) {
    bool ok = false;
    out = cell.trimmed().toDouble(&ok);
    return ok && std::isfinite(out);
}

ValveFileRead readCsvValve(const QString& text) {
    const Result<csv::CsvTable> read = csv::parseCsv(text);
    if (!read)
        return refuse(read.problem().message);
    const csv::CsvTable& table = *read;
    ValveCharacteristic v;
    bool haveName = false, haveResolution = false, haveHeader = false;
    std::vector<int> lines;
    for (qsizetype r = 0; r < table.rows.size(); ++r) {
        const QStringList& row = table.rows[r];
        const int line = table.lines[r];
        if (isBlank(row) || row.first().trimmed().startsWith('#'))
            continue;
        const QString key = row.first().trimmed().toLower();
        const QString value = row.size() > 1 ? row[1].trimmed() : QString();
        const QString at = QStringLiteral("第 %1 行：").arg(line);
        if (haveHeader) {
            for (qsizetype c = 2; c < row.size(); ++c)
                if (!row[c].trimmed().isEmpty())
                    return refuse(at + QStringLiteral("每行只应有预设定值和 kv 两个数"));
            double setting = 0, kv = 0;
            if (!readCell(row.first(), setting))
                return refuse(at + QStringLiteral("预设定值“%1”不是数").arg(row.first().trimmed()));
            if (!readCell(value, kv))
                return refuse(at + QStringLiteral("kv“%1”不是数").arg(value));
            v.settings.push_back(setting);
            v.kv.push_back(kv);
            lines.push_back(line);
            if (v.settings.size() > hydraulics::kMaxValvePoints)
                break;
        } else if (key == QLatin1String("name") || key == QStringLiteral("名称")) {
            if (haveName)
                return refuse(at + QStringLiteral("阀门名称重复"));
            haveName = true;
            v.name = value.toStdString();
        } else if (key == QLatin1String("resolution") || key == QStringLiteral("分度")) {
            if (haveResolution)
                return refuse(at + QStringLiteral("调节分度重复"));
            haveResolution = true;
            if (!readCell(value, v.resolution))
                return refuse(at + QStringLiteral("调节分度“%1”不是数").arg(value));
        } else if (key == QLatin1String("setting") || key == QStringLiteral("预设定值")) {
            if (value.toLower() != QLatin1String("kv"))
                return refuse(at + QStringLiteral("表头应是“setting,kv”（或“预设定值,kv”）"));
            haveHeader = true;
        } else {
            return refuse(at + QStringLiteral("不认识的“%1”；表头前只可有 name 和 resolution 两行")
                                   .arg(row.first().trimmed()));
        }
    }
    if (!haveName)
        return refuse(QStringLiteral("缺少阀门名称行（name,名称）"));
    if (!haveResolution)
        return refuse(QStringLiteral("缺少调节分度行（resolution,分度）"));
    if (!haveHeader)
        return refuse(QStringLiteral("缺少表头行“setting,kv”"));
    return finish(std::move(v), [lines](int i) {
        return i >= 0 && i < static_cast<int>(lines.size())
                   ? QStringLiteral("第 %1 行").arg(lines[static_cast<std::size_t>(i)])
                   : QStringLiteral("第 %1 个点").arg(i + 1);
    });
}

} // namespace

ValveFileRead readValveFile(const QByteArray& bytes) {
    if (bytes.size() > kMaxValveFileBytes)
        return refuse(QStringLiteral("文件太大（超过 1 MiB）"));
    const Result<csv::DecodedText> decoded = csv::decodeFileText(bytes);
    if (!decoded)
        return refuse(decoded.problem().message);
    if (decoded->text.trimmed().startsWith(u'{'))
        return readJson(decoded->text.toUtf8());
    return readCsvValve(decoded->text);
}

ValveFileRead readValveFilePath(const QString& path) {
    const Result<QByteArray> bytes = readFileBytes(path, kMaxValveFileBytes);
    if (!bytes) {
        const Problem& problem = bytes.problem();
        const QString shown = shownFileName(path);
        switch (problem.code) {
        case CannotOpen:
            return refuse(QStringLiteral("不能打开 %1：%2").arg(shown, problem.reason));
        case TooLarge:
            return refuse(QStringLiteral("文件太大（超过 1 MiB）"));
        case ReadError:
            return refuse(QStringLiteral("读取 %1 失败：%2").arg(shown, problem.reason));
        default:
            return refuse(problem.message);
        }
    }
    return readValveFile(*bytes);
}

} // namespace zorva::io
