// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dxf/dxfreader.h"

#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <numbers>
#include <sstream>

namespace zorva::dxf {

namespace {

using layout::Point;

// Millimetres per unit of the $INSUNITS codes a floor plan may use; 0 for
// codes without a length (unitless, or units no plan is drawn in).
double unitLength(int code) {
    switch (code) {
    case 1:
        return 25.4; // inches
    case 2:
        return 304.8; // feet
    case 4:
        return 1; // millimetres
    case 5:
        return 10; // centimetres
    case 6:
        return 1000; // metres
    case 14:
        return 100; // decimetres
    default:
        return 0;
    }
}

void appendUtf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

struct Vertex {
    Point p;
    double bulge = 0;
};

class Collector : public DL_CreationAdapter {
public:
    ImportResult& result;
    explicit Collector(ImportResult& r) : result(r) {}

    int units = -1;

    void setVariableInt(const std::string& key, int value, int) override {
        if (key == "$INSUNITS")
            units = value;
    }
    void addLayer(const DL_LayerData& data) override {
        layers_.push_back(data.name);
        colours_.push_back(std::abs(attributes.getColor()));
    }
    void addBlock(const DL_BlockData&) override {
        flush();
        ++blockDepth_;
    }
    void endBlock() override {
        flush();
        if (blockDepth_ > 0)
            --blockDepth_;
    }
    void addPolyline(const DL_PolylineData& data) override {
        flush();
        if (skip())
            return;
        pending_ = true;
        closed_ = (data.flags & 1) != 0;
        // Meshes and 3D polylines are no outlines.
        meshy_ = (data.flags & (8 | 16 | 64)) != 0;
        layer_ = attributes.getLayer();
        vertices_.clear();
    }
    void addVertex(const DL_VertexData& data) override {
        if (pending_ && vertices_.size() < kMaxVertices)
            vertices_.push_back({{data.x, data.y}, data.bulge});
    }
    void endSequence() override { flush(); }
    void addLine(const DL_LineData& d) override {
        flush();
        if (!skip())
            result.background.lines.push_back({attributes.getLayer(), {d.x1, d.y1}, {d.x2, d.y2}});
    }
    void addArc(const DL_ArcData& d) override {
        flush();
        if (!skip())
            result.background.arcs.push_back(
                {attributes.getLayer(), {d.cx, d.cy}, d.radius, d.angle1, d.angle2});
    }
    void addCircle(const DL_CircleData& d) override {
        flush();
        if (!skip())
            result.background.circles.push_back({attributes.getLayer(), {d.cx, d.cy}, d.radius});
    }
    void addText(const DL_TextData& d) override {
        flush();
        if (!skip())
            result.background.texts.push_back(
                {attributes.getLayer(), {d.ipx, d.ipy}, d.height, unescapedText(d.text)});
    }
    void addMTextChunk(const std::string& text) override { chunks_ += text; }
    void addMText(const DL_MTextData& d) override {
        flush();
        if (!skip())
            result.background.texts.push_back(
                {attributes.getLayer(), {d.ipx, d.ipy}, d.height, unescapedText(chunks_ + d.text)});
        chunks_.clear();
    }
    void addInsert(const DL_InsertData&) override { other(); }
    void addHatch(const DL_HatchData&) override { other(); }
    void addSpline(const DL_SplineData&) override { other(); }
    void addEllipse(const DL_EllipseData&) override { other(); }
    void addSolid(const DL_SolidData&) override { other(); }
    void addImage(const DL_ImageData&) override { other(); }
    void addDimAlign(const DL_DimensionData&, const DL_DimAlignedData&) override { other(); }
    void addDimLinear(const DL_DimensionData&, const DL_DimLinearData&) override { other(); }

    void flush() {
        if (!pending_)
            return;
        pending_ = false;
        if (meshy_ || vertices_.size() < 2) {
            ++result.skipped;
            return;
        }
        // Drawn closed by coming back to the first vertex rather than by
        // the flag: closed all the same.
        if (!closed_ && vertices_.size() >= 4 && vertices_.front().p == vertices_.back().p) {
            vertices_.pop_back();
            closed_ = true;
        }
        std::vector<Point> points;
        const std::size_t n = vertices_.size();
        const std::size_t edges = closed_ ? n : n - 1;
        for (std::size_t i = 0; i < n; ++i) {
            points.push_back(vertices_[i].p);
            if (i < edges)
                arcPoints(vertices_[i], vertices_[(i + 1) % n].p, points);
        }
        result.background.polylines.push_back({layer_, std::move(points), closed_});
    }

    std::vector<std::string> layers_;
    std::vector<int> colours_;

private:
    static constexpr std::size_t kMaxVertices = 1000000;

    bool skip() {
        if (blockDepth_ > 0) {
            ++result.skipped;
            return true;
        }
        return false;
    }
    void other() {
        flush();
        ++result.skipped;
    }
    // The points inside the arc from v to b of v's bulge (tan of a quarter
    // of the included angle, positive counter-clockwise), at most 1 mm from
    // the arc; the unit is not known yet, so the chords are fine enough for
    // metres too.
    static void arcPoints(const Vertex& v, Point b, std::vector<Point>& out) {
        if (!std::isfinite(v.bulge) || std::abs(v.bulge) < 1e-9)
            return;
        const Point a = v.p;
        const double chord = layout::distance(a, b);
        if (!(chord > 0) || !std::isfinite(chord))
            return;
        const double theta = 4 * std::atan(v.bulge);
        const double radius = chord / (2 * std::sin(std::abs(theta) / 2));
        const Point mid = (a + b) * 0.5;
        const Point u = (b - a) * (1 / chord);
        const Point left{-u.y, u.x};
        // The centre lies to the left of a→b for a counter-clockwise arc of
        // less than half a turn.
        const double h = radius * std::cos(theta / 2);
        const Point centre = mid + left * (theta > 0 ? h : -h);
        const double start = std::atan2(a.y - centre.y, a.x - centre.x);
        // Chords within a thousandth of the radius: fine at any unit.
        const double step = 2 * std::acos(1 - 1e-3);
        const int count = std::clamp(static_cast<int>(std::ceil(std::abs(theta) / step)), 1, 720);
        for (int k = 1; k < count; ++k) {
            const double t = start + theta * k / count;
            out.push_back({centre.x + radius * std::cos(t), centre.y + radius * std::sin(t)});
        }
    }

    int blockDepth_ = 0;
    bool pending_ = false;
    bool closed_ = false;
    bool meshy_ = false;
    std::string layer_;
    std::vector<Vertex> vertices_;
    std::string chunks_;
};

std::string trimmed(std::string_view s) {
    std::size_t a = 0, b = s.size();
    while (a < b && (s[a] == ' ' || s[a] == '\t' || s[a] == '\r'))
        ++a;
    while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t' || s[b - 1] == '\r'))
        --b;
    return std::string(s.substr(a, b - a));
}

// Counts dxflib takes as sizes to allocate: a file that claims more items
// than it has lines is refused before dxflib sees it.
std::string implausibleCount(const std::string& bytes) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start <= bytes.size()) {
        const std::size_t end = bytes.find('\n', start);
        const std::size_t stop = end == std::string::npos ? bytes.size() : end;
        lines.emplace_back(bytes.data() + start, stop - start);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    const long long available = static_cast<long long>(lines.size());
    std::string entity;
    for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
        const std::string codeText = trimmed(lines[i]);
        char* endp = nullptr;
        const long code = std::strtol(codeText.c_str(), &endp, 10);
        if (codeText.empty() || *endp != '\0')
            return "第" + std::to_string(i + 1) + "行不是组码";
        const std::string value = trimmed(lines[i + 1]);
        if (code == 0) {
            entity = value;
            continue;
        }
        const bool counted = (entity == "LWPOLYLINE" && code == 90) ||
                             (entity == "SPLINE" && (code == 72 || code == 73 || code == 74)) ||
                             (entity == "LEADER" && code == 76) ||
                             (entity == "HATCH" && (code == 91 || code == 93 || code == 95 ||
                                                    code == 96 || code == 97 || code == 98));
        if (!counted)
            continue;
        const long long n = std::strtoll(value.c_str(), nullptr, 10);
        if (n < 0 || n > available)
            return "第" + std::to_string(i + 2) + "行的数量" + value + "超出文件内容";
    }
    return {};
}

} // namespace

std::string unescapedText(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == '\\' && i + 7 <= text.size() && (text[i + 1] == 'U' || text[i + 1] == 'u') &&
            text[i + 2] == '+') {
            unsigned cp = 0;
            bool hex = true;
            for (std::size_t k = 3; k < 7; ++k) {
                const char c = text[i + k];
                const int v = (c >= '0' && c <= '9')   ? c - '0'
                              : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                              : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                                                       : -1;
                if (v < 0) {
                    hex = false;
                    break;
                }
                cp = cp * 16 + static_cast<unsigned>(v);
            }
            if (hex) {
                appendUtf8(out, cp);
                i += 7;
                continue;
            }
        }
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'P') {
            out += '\n';
            i += 2;
            continue;
        }
        out += text[i++];
    }
    return out;
}

ImportResult readDxfText(const std::string& text) {
    ImportResult result;
    // Some programs put a UTF-8 byte order mark before the first group code.
    const std::string bytes = text.rfind("\xEF\xBB\xBF", 0) == 0 ? text.substr(3) : text;
    if (bytes.size() > kMaxDxfBytes) {
        result.error = "文件过大，不能导入";
        return result;
    }
    if (bytes.rfind("AutoCAD Binary DXF", 0) == 0) {
        result.error = "不支持二进制DXF文件，请另存为ASCII格式的DXF";
        return result;
    }
    if (std::string fault = implausibleCount(bytes); !fault.empty()) {
        result.error = "DXF文件格式错误：" + fault;
        return result;
    }
    Collector collector(result);
    try {
        DL_Dxf dxf;
        std::istringstream stream(bytes);
        if (!dxf.in(stream, &collector)) {
            result.error = "无法读取DXF文件";
            return result;
        }
        collector.flush();
    } catch (const std::exception&) {
        result = ImportResult();
        result.error = "DXF文件格式错误，无法读取";
        return result;
    }

    const double unit = unitLength(collector.units);
    result.unitToMm = unit > 0 ? unit : 1;
    result.unitsAssumed = !(unit > 0);
    if (result.unitsAssumed)
        result.notes.push_back("文件未注明绘图单位，按毫米读入");
    const double k = result.unitToMm;

    for (std::size_t i = 0; i < collector.layers_.size(); ++i)
        result.background.addLayer(collector.layers_[i], collector.colours_[i]);

    // Everything to millimetres; closed polylines that make a simple polygon
    // become outlines.
    Drawing& bg = result.background;
    std::vector<DrawnPolyline> kept;
    for (DrawnPolyline& p : bg.polylines) {
        bool finite = true;
        for (Point& q : p.points) {
            q = q * k;
            finite = finite && std::isfinite(q.x) && std::isfinite(q.y);
        }
        if (!finite) {
            ++result.skipped;
            continue;
        }
        if (p.closed && layout::checkOutline(p.points) == layout::OutlineFault::None) {
            ImportedOutline o;
            o.layer = p.layer;
            o.outline = layout::normalized(p.points, 1e-6);
            o.area = layout::area(o.outline) / 1e6;
            o.perimeter = layout::perimeter(o.outline) / 1000;
            result.outlines.push_back(std::move(o));
        } else {
            kept.push_back(std::move(p));
        }
    }
    bg.polylines = std::move(kept);
    for (DrawnLine& l : bg.lines) {
        l.a = l.a * k;
        l.b = l.b * k;
    }
    for (DrawnArc& a : bg.arcs) {
        a.centre = a.centre * k;
        a.radius *= k;
    }
    for (DrawnCircle& c : bg.circles) {
        c.centre = c.centre * k;
        c.radius *= k;
    }
    for (DrawnText& t : bg.texts) {
        t.position = t.position * k;
        t.height *= k;
    }
    if (result.skipped > 0)
        result.notes.push_back("有" + std::to_string(result.skipped) +
                               "个图元（图块、填充、样条等）未导入");
    if (result.outlines.empty() && bg.empty()) {
        result.error = result.skipped > 0 ? "DXF文件中没有可导入的图形（只有图块、填充等）"
                                          : "DXF文件中没有图形";
        return result;
    }
    result.ok = true;
    return result;
}

ImportResult readDxfFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ImportResult r;
        r.error = "无法打开文件：" + path;
        return r;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<unsigned long long>(size) > kMaxDxfBytes) {
        ImportResult r;
        r.error = "文件过大，不能导入";
        return r;
    }
    in.seekg(0);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), size);
    if (!in) {
        ImportResult r;
        r.error = "无法读取文件：" + path;
        return r;
    }
    return readDxfText(bytes);
}

} // namespace zorva::dxf
