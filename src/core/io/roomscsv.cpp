// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/roomscsv.h"

#include "core/csv/csvreader.h"
#include "core/io/csvcells.h"
#include "core/io/fileread.h"
#include "core/io/manifoldcsv.h"
#include "core/io/projectrooms.h"
#include "core/wording/checkwording.h"

#include <algorithm>
#include <array>
#include <optional>

namespace zorva::io {

namespace {

// The numbers, by their file keys, in column order.
constexpr std::array<const char*, 6> kNumberKeys = {"indoorTemp", "floorArea",    "heatedArea",
                                                    "covering",   "leaderLength", "load"};
const QString kName = QStringLiteral("房间");
const QString kCategory = QStringLiteral("房间类别");
const QString kManifold = QStringLiteral("分集水器");

// The heated area may be left out: the floor area then.
NumberRange columnRange(const char* key) {
    NumberRange range = roomNumberRange(key);
    if (std::string_view(key) == "heatedArea")
        range.optional = true;
    return range;
}

struct Columns {
    int name = -1;
    int category = -1;
    int manifold = -1;
    std::array<int, kNumberKeys.size()> numbers{-1, -1, -1, -1, -1, -1};
};

Result<Columns> mapHeader(const QStringList& header, int line) {
    Columns c;
    const QString where = QStringLiteral("第 %1 行：").arg(line);
    const auto claim = [&](int& slot, int column, const QString& caption) -> QString {
        if (slot >= 0)
            return where + QStringLiteral("“%1”一列出现了两次").arg(caption);
        slot = column;
        return {};
    };
    for (int i = 0; i < header.size(); ++i) {
        const QString cell = header[i].trimmed();
        QString error;
        if (cell == kName)
            error = claim(c.name, i, kName);
        else if (cell == kCategory)
            error = claim(c.category, i, kCategory);
        else if (cell == kManifold)
            error = claim(c.manifold, i, kManifold);
        for (std::size_t n = 0; n < kNumberKeys.size() && error.isEmpty(); ++n)
            if (headerMatches(cell, columnRange(kNumberKeys[n])))
                error = claim(c.numbers[n], i, QString::fromUtf8(columnRange(kNumberKeys[n]).name));
        if (!error.isEmpty())
            return Problem{error, {}};
    }
    if (c.name < 0)
        return Problem{where + QStringLiteral("缺少“房间”一列"), {}};
    for (std::size_t n = 0; n < kNumberKeys.size(); ++n)
        if (c.numbers[n] < 0 && !columnRange(kNumberKeys[n]).optional)
            return Problem{
                where + QStringLiteral("缺少“%1”一列").arg(columnRange(kNumberKeys[n]).caption()),
                {}};
    return c;
}

std::optional<RoomCategory> categoryOf(const QString& text) {
    constexpr RoomCategory kAll[] = {RoomCategory::LongStay,   RoomCategory::ShortStay,
                                     RoomCategory::Unoccupied, RoomCategory::Residential,
                                     RoomCategory::Bathroom,   RoomCategory::Peripheral};
    for (RoomCategory c : kAll)
        if (text == categoryName(c))
            return c;
    if (text == QStringLiteral("人员长期停留")) // the name of earlier versions
        return RoomCategory::LongStay;
    return std::nullopt;
}

QString rowLabel(int line, const QString& name) {
    const QString label = QStringLiteral("第 %1 行").arg(line);
    return name.isEmpty() ? label : label + QStringLiteral("（房间“%1”）").arg(name);
}

Result<project::Room> readRow(const Columns& c, const QStringList& cells, int line,
                              const project::Project& p) {
    const auto cell = [&](int column) {
        return column >= 0 && column < cells.size() ? cells[column].trimmed() : QString();
    };
    project::Room room;
    const QString name = nameFromCell(cell(c.name));
    const auto fault = [&](const QString& error) {
        return Problem{rowLabel(line, name.left(40)) + QStringLiteral("：") + error, {}};
    };
    if (name.isEmpty())
        return fault(QStringLiteral("“房间”为空"));
    if (name.size() > kMaxLoopNameLength)
        return fault(QStringLiteral("房间名称超过 %1 个字符").arg(kMaxLoopNameLength));
    room.name = name.toStdString();
    for (std::size_t n = 0; n < kNumberKeys.size(); ++n) {
        if (c.numbers[n] < 0)
            continue;
        std::optional<double> v;
        QString error;
        if (!readNumber(cell(c.numbers[n]), columnRange(kNumberKeys[n]), v, error))
            return fault(error);
        switch (n) {
        case 0:
            room.indoorTemp = *v;
            break;
        case 1:
            room.floorArea = *v;
            break;
        case 2:
            room.heatedArea = v.value_or(-1);
            break;
        case 3:
            if (v)
                room.coveringResistance = *v;
            break;
        case 4:
            if (v)
                room.leaderLength = *v;
            break;
        default:
            room.typedLoad = v;
            break;
        }
    }
    if (c.numbers[2] < 0 || room.heatedArea < 0)
        room.heatedArea = room.floorArea;
    if (room.heatedArea > room.floorArea)
        return fault(QStringLiteral("敷设面积 %1 m² 大于房间面积 %2 m²")
                         .arg(cell(c.numbers[2]), cell(c.numbers[1])));
    if (const QString text = cell(c.category); !text.isEmpty()) {
        const std::optional<RoomCategory> category = categoryOf(text);
        if (!category)
            return fault(QStringLiteral("“房间类别”应是 %1、%2、%3、%4、%5 或 %6，而不是“%7”")
                             .arg(categoryName(RoomCategory::LongStay),
                                  categoryName(RoomCategory::ShortStay),
                                  categoryName(RoomCategory::Unoccupied),
                                  categoryName(RoomCategory::Residential),
                                  categoryName(RoomCategory::Bathroom),
                                  categoryName(RoomCategory::Peripheral), text.left(40)));
        room.category = *category;
    }
    if (const QString text = cell(c.manifold); !text.isEmpty()) {
        const auto found = std::find_if(p.manifolds.begin(), p.manifolds.end(), [&](const auto& m) {
            return QString::fromStdString(m.name) == text;
        });
        if (found == p.manifolds.end())
            return fault(QStringLiteral("项目中没有名为“%1”的分集水器").arg(text.left(40)));
        room.manifold = std::size_t(found - p.manifolds.begin());
    }
    return room;
}

} // namespace

QStringList roomsCsvHeader() {
    QStringList header{kName, kCategory};
    for (const char* key : kNumberKeys)
        header << columnRange(key).caption();
    return header << kManifold;
}

Result<RoomsCsvImport> importRoomsCsv(QByteArrayView bytes, const project::Project& p) {
    if (bytes.size() > kMaxCsvImportBytes)
        return Problem{
            QStringLiteral("文件太大（超过 %1 MiB），不能读取").arg(kMaxCsvImportBytes >> 20), {}};
    const Result<csv::TextStart> start = csv::detectEncoding(bytes);
    if (!start)
        return start.problem();
    const Result<QString> text = csv::decodeText(bytes.sliced(start->markBytes), start->encoding);
    if (!text)
        return text.problem();
    RoomsCsvImport result;
    result.encoding = start->encoding;
    csv::CsvRowReader reader;
    reader.feed(*text);
    reader.finish();
    if (reader.failed())
        return Problem{reader.error(), {}};
    std::optional<Columns> columns;
    QStringList row;
    int line = 0;
    while (reader.takeRow(row, line)) {
        if (std::all_of(row.begin(), row.end(),
                        [](const QString& c) { return c.trimmed().isEmpty(); }))
            continue;
        if (!columns) {
            Result<Columns> header = mapHeader(row, line);
            if (!header)
                return header.problem();
            columns = *header;
            continue;
        }
        if (result.rooms.size() == std::size_t(kMaxRooms))
            return Problem{
                QStringLiteral("第 %1 行：表中的房间超过 %2 个，不能导入").arg(line).arg(kMaxRooms),
                {}};
        Result<project::Room> room = readRow(*columns, row, line, p);
        if (!room)
            return room.problem();
        result.rooms.push_back(std::move(room).value());
    }
    if (!columns)
        return Problem{QStringLiteral("文件中没有表头和数据"), {}};
    return result;
}

Result<RoomsCsvImport> importRoomsCsvFile(const QString& path, const project::Project& p) {
    Result<QByteArray> bytes = readFileBytes(path, kMaxCsvImportBytes);
    if (!bytes) {
        Problem problem = bytes.problem();
        if (problem.code == TooLarge)
            problem.message = QStringLiteral("文件“%1”太大（超过 %2 MiB），不能读取")
                                  .arg(shownFileName(path))
                                  .arg(kMaxCsvImportBytes >> 20);
        return problem;
    }
    return importRoomsCsv(*bytes, p);
}

} // namespace zorva::io
