// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/heatload/citytable.h"

#include <array>
#include <charconv>
#include <cmath>
#include <set>

namespace zorva::heatload {

namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(trim(line.substr(start, comma - start)));
        if (comma == std::string_view::npos)
            return fields;
        start = comma + 1;
    }
}

// A decimal number, the whole field; the typographic minus "−" (U+2212)
// reads as '-'.
std::optional<double> readNumber(std::string_view field) {
    std::string text(field);
    static constexpr std::string_view minus = "\xE2\x88\x92";
    if (text.starts_with(minus))
        text.replace(0, minus.size(), "-");
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

enum Column { StationId, Province, CityName, Station, Period, Temp, Sunshine, ColumnCount };
constexpr std::array<std::string_view, ColumnCount> kColumns = {
    "station_id",        "province",           "city", "station", "period",
    "heating_outdoor_c", "winter_sunshine_pct"};

} // namespace

CityTable parseCityTable(std::string_view text) {
    CityTable table;
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    std::array<int, ColumnCount> at{};
    at.fill(-1);
    std::size_t fieldCount = 0;
    bool header = false;
    std::set<std::string, std::less<>> stations;
    int lineNo = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t nl = text.find('\n', pos);
        const std::string_view line = trim(
            text.substr(pos, nl == std::string_view::npos ? std::string_view::npos : nl - pos));
        pos = nl == std::string_view::npos ? text.size() : nl + 1;
        ++lineNo;
        if (line.empty())
            continue;
        if (line.front() == '#') {
            const std::string_view comment = trim(line.substr(1));
            if (comment.starts_with("source:")) {
                if (!table.source.empty())
                    table.source += '\n';
                table.source += trim(comment.substr(7));
            }
            continue;
        }
        const std::vector<std::string_view> fields = splitFields(line);
        if (!header) {
            header = true;
            fieldCount = fields.size();
            for (std::size_t i = 0; i < fields.size(); ++i)
                for (int c = 0; c < ColumnCount; ++c)
                    if (fields[i] == kColumns[std::size_t(c)])
                        at[std::size_t(c)] = int(i);
            for (int c = 0; c < ColumnCount; ++c)
                if (c != Period && at[std::size_t(c)] < 0) {
                    table.errors.push_back({lineNo, CityTableFault::MissingColumn});
                    return table;
                }
            continue;
        }
        const auto add = [&](CityTableFault fault) { table.errors.push_back({lineNo, fault}); };
        if (fields.size() != fieldCount) {
            add(CityTableFault::FieldCount);
            continue;
        }
        const auto field = [&](Column c) {
            return at[c] < 0 ? std::string_view() : fields[std::size_t(at[c])];
        };
        City city;
        city.stationId = field(StationId);
        city.province = field(Province);
        city.city = field(CityName);
        city.station = field(Station);
        city.period = field(Period);
        if (city.stationId.empty() || city.city.empty() || city.station.empty()) {
            add(CityTableFault::EmptyName);
            continue;
        }
        const std::optional<double> temp = readNumber(field(Temp));
        std::optional<double> sunshine;
        if (!field(Sunshine).empty()) {
            sunshine = readNumber(field(Sunshine));
            if (!sunshine) {
                add(CityTableFault::BadNumber);
                continue;
            }
        }
        if (!temp) {
            add(CityTableFault::BadNumber);
            continue;
        }
        if (*temp < -60 || *temp > 30 || (sunshine && (*sunshine < 0 || *sunshine > 100))) {
            add(CityTableFault::OutOfRange);
            continue;
        }
        if (!stations.insert(city.stationId).second) {
            add(CityTableFault::DuplicateStation);
            continue;
        }
        city.heatingOutdoorTemp = *temp;
        city.winterSunshine = sunshine;
        table.cities.push_back(std::move(city));
    }
    if (!header)
        table.errors.push_back({lineNo, CityTableFault::NoHeader});
    return table;
}

std::vector<const City*> findCities(const CityTable& table, std::string_view name) {
    std::vector<const City*> found;
    for (const City& city : table.cities)
        if (city.city == name || city.station == name)
            found.push_back(&city);
    return found;
}

const City* findStation(const CityTable& table, std::string_view stationId) {
    for (const City& city : table.cities)
        if (city.stationId == stationId)
            return &city;
    return nullptr;
}

const char* cityTableFaultText(CityTableFault fault) {
    switch (fault) {
    case CityTableFault::NoHeader:
        return "缺少列名行";
    case CityTableFault::MissingColumn:
        return "列名行缺少必需的列";
    case CityTableFault::FieldCount:
        return "字段个数与列名行不符";
    case CityTableFault::BadNumber:
        return "温度或日照百分率不是数值";
    case CityTableFault::OutOfRange:
        return "温度或日照百分率超出合理范围";
    case CityTableFault::EmptyName:
        return "缺少台站号或名称";
    case CityTableFault::DuplicateStation:
        return "台站号重复";
    }
    return "";
}

} // namespace zorva::heatload
