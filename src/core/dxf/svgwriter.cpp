// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dxf/svgwriter.h"

#include <charconv>
#include <cmath>
#include <map>

namespace zorva::dxf {

namespace {

std::string number(double v) {
    if (!std::isfinite(v))
        v = 0;
    // Tenths of a millimetre are finer than any print.
    char text[32];
    const auto r = std::to_chars(text, text + sizeof text, std::round(v * 10) / 10);
    return std::string(text, r.ptr);
}

std::string escaped(const std::string& s) {
    std::string out;
    for (char c : s) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            // Control characters are not allowed in XML 1.0.
            if (static_cast<unsigned char>(c) >= 0x20 || c == '\n' || c == '\t')
                out += c;
        }
    }
    return out;
}

// y runs down in SVG.
std::string xy(Point p) {
    return number(p.x) + "," + number(-p.y);
}

} // namespace

std::string colourOf(int index) {
    static const std::map<int, const char*> colours = {
        {1, "#ff0000"},  {2, "#c8b400"},   {3, "#00a000"},   {4, "#00a0a0"},  {5, "#0000ff"},
        {6, "#c000c0"},  {7, "#000000"},   {8, "#808080"},   {9, "#c0c0c0"},  {30, "#ff7f00"},
        {40, "#ffbf00"}, {130, "#007fff"}, {150, "#0040ff"}, {210, "#ff00bf"}};
    const auto it = colours.find(index);
    return it == colours.end() ? "#404040" : it->second;
}

std::string svgText(const Drawing& drawing, const SvgOptions& options) {
    const layout::Box box = drawingBounds(drawing);
    const double m = options.margin;
    const double x = box.minX - m;
    const double y = -box.maxY - m;
    const double w = box.width() + 2 * m;
    const double h = box.height() + 2 * m;
    std::string out;
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"" + number(x) + " " + number(y) +
           " " + number(w) + " " + number(h) + "\" width=\"" + number(w / 1000 * 10) +
           "mm\" height=\"" + number(h / 1000 * 10) + "mm\">\n";
    if (!options.title.empty())
        out += "<title>" + escaped(options.title) + "</title>\n";
    out += "<rect x=\"" + number(x) + "\" y=\"" + number(y) + "\" width=\"" + number(w) +
           "\" height=\"" + number(h) + "\" fill=\"#ffffff\"/>\n";

    std::vector<Layer> layers = drawing.layers;
    const auto colourFor = [&](const std::string& name) {
        for (const Layer& l : layers) {
            if (l.name == name)
                return l.colour;
        }
        layers.push_back({name, 7});
        return 7;
    };
    // Collect the layers in use, in the drawing's order.
    for (const auto& p : drawing.polylines)
        colourFor(p.layer);
    for (const auto& l : drawing.lines)
        colourFor(l.layer);
    for (const auto& a : drawing.arcs)
        colourFor(a.layer);
    for (const auto& c : drawing.circles)
        colourFor(c.layer);
    for (const auto& t : drawing.texts)
        colourFor(t.layer);

    for (const Layer& layer : layers) {
        const std::string colour = colourOf(layer.colour);
        const double width = layer.name == "ROOMS" ? options.outlineWidth : options.lineWidth;
        std::string body;
        for (const auto& p : drawing.polylines) {
            if (p.layer != layer.name || p.points.size() < 2)
                continue;
            body += std::string("<") + (p.closed ? "polygon" : "polyline") + " points=\"";
            for (std::size_t i = 0; i < p.points.size(); ++i)
                body += (i ? " " : "") + xy(p.points[i]);
            body += "\"/>\n";
        }
        for (const auto& l : drawing.lines) {
            if (l.layer == layer.name)
                body += "<line x1=\"" + number(l.a.x) + "\" y1=\"" + number(-l.a.y) + "\" x2=\"" +
                        number(l.b.x) + "\" y2=\"" + number(-l.b.y) + "\"/>\n";
        }
        for (const auto& c : drawing.circles) {
            if (c.layer == layer.name)
                body += "<circle cx=\"" + number(c.centre.x) + "\" cy=\"" + number(-c.centre.y) +
                        "\" r=\"" + number(c.radius) + "\"/>\n";
        }
        for (const auto& a : drawing.arcs) {
            if (a.layer != layer.name)
                continue;
            const double pi = 3.14159265358979323846;
            double sweep = std::fmod(a.endAngle - a.startAngle, 360.0);
            if (sweep <= 0)
                sweep += 360;
            const double s = a.startAngle * pi / 180;
            const double e = (a.startAngle + sweep) * pi / 180;
            const Point p0{a.centre.x + a.radius * std::cos(s),
                           a.centre.y + a.radius * std::sin(s)};
            const Point p1{a.centre.x + a.radius * std::cos(e),
                           a.centre.y + a.radius * std::sin(e)};
            // Counter-clockwise in the drawing is clockwise once y turns down.
            body += "<path d=\"M " + xy(p0) + " A " + number(a.radius) + " " + number(a.radius) +
                    " 0 " + (sweep > 180 ? "1" : "0") + " 0 " + xy(p1) + "\"/>\n";
        }
        std::string texts;
        for (const auto& t : drawing.texts) {
            if (t.layer == layer.name)
                texts += "<text x=\"" + number(t.position.x) + "\" y=\"" + number(-t.position.y) +
                         "\" font-size=\"" + number(t.height) + "\">" + escaped(t.text) +
                         "</text>\n";
        }
        if (body.empty() && texts.empty())
            continue;
        out += "<g id=\"" + escaped(layer.name) + "\" fill=\"none\" stroke=\"" + colour +
               "\" stroke-width=\"" + number(width) +
               "\" stroke-linejoin=\"round\" stroke-linecap=\"round\">\n" + body;
        if (!texts.empty())
            out += "<g stroke=\"none\" fill=\"" + colour + "\">\n" + texts + "</g>\n";
        out += "</g>\n";
    }
    out += "</svg>\n";
    return out;
}

} // namespace zorva::dxf
