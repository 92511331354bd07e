// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dxf/dxfwriter.h"

#include <dxflib/dl_dxf.h>
#include <dxflib/dl_writer_ascii.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <system_error>

namespace zorva::dxf {

namespace {

// dxflib's writer with its output in memory: dxflib writes through these
// virtual calls only; the file the base class opens is never used.
class MemoryWriter : public DL_WriterA {
public:
    MemoryWriter() : DL_WriterA("", DL_Codes::AC1015) {}

    void dxfReal(int gc, double value) const override {
        char text[32];
        const auto r = std::to_chars(text, text + sizeof text, value);
        code(gc);
        out_.write(text, r.ptr - text);
        out_ << '\n';
    }
    void dxfInt(int gc, int value) const override {
        code(gc);
        out_ << value << '\n';
    }
    void dxfHex(int gc, int value) const override {
        char text[16];
        std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(value));
        code(gc);
        out_ << text << '\n';
    }
    void dxfString(int gc, const char* value) const override {
        code(gc);
        out_ << (value ? value : "") << '\n';
    }
    void dxfString(int gc, const std::string& value) const override {
        code(gc);
        out_ << value << '\n';
    }

    std::string text() const { return out_.str(); }

private:
    void code(int gc) const {
        // Group codes right-aligned in three columns, as AutoCAD writes them.
        char text[16];
        std::snprintf(text, sizeof text, "%3d\n", gc);
        out_ << text;
    }
    mutable std::ostringstream out_;
};

// Layer names may not hold <>/\":;?*|=' nor, in an R2000 file, anything
// beyond ASCII.
std::string layerName(const std::string& name) {
    std::string out;
    for (unsigned char c : name) {
        const bool bad =
            c < 0x20 || c >= 0x7f ||
            std::string_view("<>/\\\":;?*|='").find(static_cast<char>(c)) != std::string::npos;
        out += bad ? '_' : static_cast<char>(c);
    }
    return out.empty() ? "0" : out;
}

DL_Attributes attributes(const std::string& layer) {
    // Colour and line type by layer (256, "BYLAYER").
    return DL_Attributes(layerName(layer), 256, -1, -1, "BYLAYER");
}

} // namespace

std::string escapedText(const std::string& utf8) {
    std::string out;
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t n = utf8.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            // Line breaks and other controls have no place in a TEXT.
            out += c < 0x20 ? ' ' : static_cast<char>(c);
            ++i;
            continue;
        }
        int extra = 0;
        unsigned cp = 0;
        if ((c & 0xE0) == 0xC0) {
            extra = 1;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            cp = c & 0x07;
        } else {
            out += '?';
            ++i;
            continue;
        }
        bool ok = true;
        for (int k = 1; ok && k <= extra; ++k) {
            if (i + static_cast<std::size_t>(k) >= n || (s[i + k] & 0xC0) != 0x80)
                ok = false;
            else
                cp = (cp << 6) | (s[i + k] & 0x3F);
        }
        if (!ok) {
            out += '?';
            ++i;
            continue;
        }
        i += static_cast<std::size_t>(extra) + 1;
        if (cp > 0xFFFF) {
            out += '?';
            continue;
        }
        char text[16];
        std::snprintf(text, sizeof text, "\\U+%04X", cp);
        out += text;
    }
    return out;
}

std::string dxfText(const Drawing& drawing) {
    DL_Dxf dxf;
    // out() sets the version dxflib writes for; its own writer goes to the
    // null device and is dropped.
    delete dxf.out("/dev/null", DL_Codes::AC1015);
    MemoryWriter dw;

    dxf.writeHeader(dw);
    dw.dxfString(9, "$INSUNITS");
    dw.dxfInt(70, 4); // millimetres
    dw.dxfString(9, "$MEASUREMENT");
    dw.dxfInt(70, 1); // metric
    dw.sectionEnd();

    dw.sectionTables();
    dxf.writeVPort(dw);
    dw.tableLinetypes(3);
    dxf.writeLinetype(dw, DL_LinetypeData("BYBLOCK", "", 0, 0, 0.0));
    dxf.writeLinetype(dw, DL_LinetypeData("BYLAYER", "", 0, 0, 0.0));
    dxf.writeLinetype(dw, DL_LinetypeData("CONTINUOUS", "Solid line", 0, 0, 0.0));
    dw.tableEnd();

    std::vector<Layer> layers{{"0", 7}};
    for (const Layer& l : drawing.layers) {
        if (layerName(l.name) != "0")
            layers.push_back({layerName(l.name), l.colour});
    }
    dw.tableLayers(static_cast<int>(layers.size()));
    for (const Layer& l : layers) {
        dxf.writeLayer(dw, DL_LayerData(l.name, 0),
                       DL_Attributes("", l.colour < 1 || l.colour > 255 ? 7 : l.colour, 25,
                                     "CONTINUOUS", 1.0));
    }
    dw.tableEnd();

    dw.tableStyle(1);
    dxf.writeStyle(dw, DL_StyleData("Standard", 0, 0.0, 1.0, 0.0, 0, 2.5, "txt", ""));
    dw.tableEnd();
    dxf.writeView(dw);
    dxf.writeUcs(dw);
    dw.tableAppid(1);
    dxf.writeAppid(dw, "ACAD");
    dw.tableEnd();
    dxf.writeDimStyle(dw, 2.5, 0.625, 0.625, 0.625, 2.5);
    dxf.writeBlockRecord(dw);
    dw.tableEnd();
    dw.sectionEnd();

    dw.sectionBlocks();
    dxf.writeBlock(dw, DL_BlockData("*Model_Space", 0, 0.0, 0.0, 0.0));
    dxf.writeEndBlock(dw, "*Model_Space");
    dxf.writeBlock(dw, DL_BlockData("*Paper_Space", 0, 0.0, 0.0, 0.0));
    dxf.writeEndBlock(dw, "*Paper_Space");
    dxf.writeBlock(dw, DL_BlockData("*Paper_Space0", 0, 0.0, 0.0, 0.0));
    dxf.writeEndBlock(dw, "*Paper_Space0");
    dw.sectionEnd();

    dw.sectionEntities();
    for (const DrawnPolyline& p : drawing.polylines) {
        if (p.points.size() < 2)
            continue;
        dxf.writePolyline(
            dw, DL_PolylineData(static_cast<int>(p.points.size()), 0, 0, p.closed ? 1 : 0),
            attributes(p.layer));
        for (const Point& q : p.points)
            dxf.writeVertex(dw, DL_VertexData(q.x, q.y, 0.0, 0.0));
        dxf.writePolylineEnd(dw);
    }
    for (const DrawnLine& l : drawing.lines)
        dxf.writeLine(dw, DL_LineData(l.a.x, l.a.y, 0.0, l.b.x, l.b.y, 0.0), attributes(l.layer));
    for (const DrawnArc& a : drawing.arcs) {
        dxf.writeArc(dw,
                     DL_ArcData(a.centre.x, a.centre.y, 0.0, a.radius, a.startAngle, a.endAngle),
                     attributes(a.layer));
    }
    for (const DrawnCircle& c : drawing.circles)
        dxf.writeCircle(dw, DL_CircleData(c.centre.x, c.centre.y, 0.0, c.radius),
                        attributes(c.layer));
    for (const DrawnText& t : drawing.texts) {
        dxf.writeText(dw,
                      DL_TextData(t.position.x, t.position.y, 0.0, t.position.x, t.position.y, 0.0,
                                  t.height, 1.0, 0, 0, 0, escapedText(t.text), "Standard", 0.0),
                      attributes(t.layer));
    }
    dw.sectionEnd();

    dxf.writeObjects(dw);
    dxf.writeObjectsEnd(dw);
    dw.dxfEOF();
    return dw.text();
}

bool writeDxfFile(const Drawing& drawing, const std::string& path, std::string* error) {
    namespace fs = std::filesystem;
    const std::string bytes = dxfText(drawing);
    const auto fail = [&](const char* what) {
        if (error)
            *error = what + path;
        return false;
    };
    // A temporary file of our own beside the target ("x": never one that
    // exists, so that nothing of anyone else's is overwritten or removed).
    std::string temp;
    std::FILE* file = nullptr;
    for (int attempt = 0; attempt < 100 && !file; ++attempt) {
        temp = path + ".zorva-tmp-" + std::to_string(attempt);
        file = std::fopen(temp.c_str(), "wbx");
        if (!file && errno != EEXIST)
            break;
    }
    if (!file)
        return fail("无法写入文件：");
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    std::error_code ec;
    if (!written || !closed) {
        fs::remove(temp, ec);
        return fail("无法写入文件：");
    }
    fs::rename(temp, path, ec);
    if (ec) {
        fs::remove(temp, ec);
        return fail("无法保存文件：");
    }
    return true;
}

} // namespace zorva::dxf
