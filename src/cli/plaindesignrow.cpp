// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/plaindesignrow.h"

#include "core/csv/csvwriter.h"
#include "core/engine/numtext.h"

#include <charconv>
#include <cmath>

namespace zorva::cli {

namespace {

bool digit(char c) {
    return c >= '0' && c <= '9';
}

// "-"? digits ("." digits)?, finite; longer texts go the general way.
bool plainNumber(std::string_view text, double& value) {
    if (text.empty() || text.size() > 24)
        return false;
    std::size_t i = text[0] == '-' ? 1 : 0;
    const std::size_t intStart = i;
    while (i < text.size() && digit(text[i]))
        ++i;
    if (i == intStart)
        return false;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fracStart = ++i;
        while (i < text.size() && digit(text[i]))
            ++i;
        if (i == fracStart)
            return false;
    }
    if (i != text.size())
        return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

bool plainName(std::string_view name) {
    if (name.empty())
        return true;
    const auto visible = [](char c) { return c > ' ' && c < '\x7F' && c != '\''; };
    if (!visible(name.front()) || !visible(name.back()))
        return false;
    // Its length in UTF-16 code units, as the general path counts it.
    std::size_t units = 0;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80)
            units += byte >= 0xF0 ? 2 : 1;
    }
    return units <= static_cast<std::size_t>(io::kMaxLoopNameLength);
}

void appendText(std::string& out, std::string_view text) {
    out += text;
}

void appendGeneral(std::string& out, double value) {
    if (std::isfinite(value))
        appendText(out, generalText(value).view());
}

void appendFixed(std::string& out, double value, int decimals) {
    if (std::isfinite(value))
        appendText(out, patternText(value, decimals).view());
}

} // namespace

bool readPlainDesign(const io::CsvColumns& columns, std::span<const std::string_view> cells,
                     const ManifoldInput& base, LoopInput& loop, ManifoldInput& manifold) {
    const auto cell = [&](int column) {
        return column >= 0 && static_cast<std::size_t>(column) < cells.size() ? cells[column]
                                                                              : std::string_view();
    };
    loop = LoopInput{};
    manifold = base;
    const std::string_view name = cell(columns.name);
    if (!plainName(name))
        return false;
    loop.name.assign(name);
    for (int i = 0; i < io::kLoopNumberCount; ++i) {
        if (columns.loop[i] < 0)
            continue;
        const std::string_view text = cell(columns.loop[i]);
        const io::NumberRange& numberField = io::loopRanges()[i];
        if (text.empty()) {
            if (!numberField.optional)
                return false;
            io::setLoopNumber(loop, i, std::nullopt);
            continue;
        }
        double value = 0;
        if (!plainNumber(text, value) || !io::inRange(numberField, value))
            return false;
        io::setLoopNumber(loop, i, value);
    }
    for (int i = 0; i < io::kManifoldNumberCount; ++i) {
        const std::string_view text = cell(columns.manifold[i]);
        if (text.empty())
            continue;
        double value = 0;
        if (!plainNumber(text, value) || !io::inRange(io::manifoldRanges()[i], value))
            return false;
        io::manifoldNumber(manifold, i) = value;
    }
    return true;
}

std::string manifoldCellBytes(const ManifoldInput& manifold) {
    std::string cells;
    for (int i = 0; i < io::kManifoldNumberCount; ++i) {
        if (i > 0)
            cells += ',';
        appendGeneral(cells, io::manifoldNumber(manifold, i));
    }
    return cells;
}

void appendResultRow(std::string& out, const ManifoldInput& manifold, const LoopInput& loop,
                     const LoopResult& r, std::string_view manifoldCells) {
    const std::string_view name = loop.name;
    if (!name.empty() && std::string_view("=+-@").find(name.front()) != std::string_view::npos)
        out += '\'';
    appendText(out, name);
    for (int i = 0; i < io::kLoopNumberCount; ++i) {
        out += ',';
        if (const std::optional<double> v = io::loopNumber(loop, i))
            appendGeneral(out, *v);
    }
    out += ',';
    out += manifoldCells;
    if (!r.converged()) {
        out += ",,,,,,,,,,,,,";
        csv::appendCell(out, io::loopStatusText(r).toStdString());
        out += "\r\n";
        return;
    }
    out += ',';
    appendGeneral(out, manifold.supplyTemp - r.tempDiff);
    const std::pair<double, int> fixedCells[] = {
        {r.area, 2},    {r.heatOutput, 1}, {r.floorTemp, 1}, {r.loopOutput, 0},
        {r.flowKgh, 0}, {r.flowLpm, 2},    {r.velocity, 2},  {r.resistance, 1}};
    for (const auto& [value, decimals] : fixedCells) {
        out += ',';
        appendFixed(out, value, decimals);
    }
    out += r.indexLoop ? std::string_view(",是,") : std::string_view(",,");
    if (r.valveKpa)
        appendFixed(out, *r.valveKpa, 1);
    out += ',';
    if (r.meterLpm)
        appendFixed(out, *r.meterLpm, 2);
    out += ',';
    static const std::string done = io::loopStatusText(r).toStdString(); // the same for every run
    csv::appendCell(out, done);
    out += "\r\n";
}

} // namespace zorva::cli
