// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The table of heating outdoor design temperatures (供暖室外计算温度) and
// winter sunshine percentages of Chinese weather stations, GB 50736-2012
// Appendix A, as the data file data/cities.csv holds it
// (docs/heat-load.md §4). The parse reads UTF-8 text, with or without a
// byte-order mark and with LF or CRLF line ends; lines starting with '#'
// are comments, and "# source: …" lines name where the numbers come from.
// The first other line names the columns, so their order is free.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorva::heatload {

struct City {
    std::string stationId;         // station_id, e.g. "54511"
    std::string province;          // province
    std::string city;              // city
    std::string station;           // station: the station's name
    std::string period;            // period: the years of record, may be empty
    double heatingOutdoorTemp = 0; // heating_outdoor_c, t_wn, ℃
    std::optional<double> winterSunshine = std::nullopt; // winter_sunshine_pct, %
};

enum class CityTableFault {
    NoHeader,         // no column line at all
    MissingColumn,    // the column line lacks a required column
    FieldCount,       // a row with another number of fields than the header
    BadNumber,        // a temperature or percentage that does not read as a number
    OutOfRange,       // t_wn outside −60 … +30 ℃ or sunshine outside 0 … 100 %
    EmptyName,        // a row without station id, city or station name
    DuplicateStation, // the station id of an earlier row
};

struct CityTableError {
    int line = 0; // 1-based line of the text
    CityTableFault fault = CityTableFault::NoHeader;
};

struct CityTable {
    std::vector<City> cities;           // the rows that read, in file order
    std::string source;                 // the "# source:" lines, joined by newlines
    std::vector<CityTableError> errors; // rows left out, and why
};

CityTable parseCityTable(std::string_view text);

// The stations whose city or station name is `name` exactly, in file order.
std::vector<const City*> findCities(const CityTable& table, std::string_view name);

// The station with this id, or nullptr.
const City* findStation(const CityTable& table, std::string_view stationId);

const char* cityTableFaultText(CityTableFault fault);

} // namespace zorva::heatload
