// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/projectenvelope.h"

#include "core/io/jsonfields.h"

#include <array>

namespace zorva::io {

namespace {

using namespace json;
using namespace heatload;

constexpr int kMaxElementNameLength = 200;

constexpr std::pair<const char*, HeatingSystem> kSystems[] = {
    {"floor", HeatingSystem::Floor}, {"radiators", HeatingSystem::Radiators}};
constexpr std::pair<const char*, ElementKind> kKinds[] = {
    {"outerWall", ElementKind::OuterWall}, {"window", ElementKind::Window},
    {"door", ElementKind::Door},           {"roof", ElementKind::Roof},
    {"floor", ElementKind::Floor},         {"partition", ElementKind::Partition}};
constexpr std::pair<const char*, Boundary> kBoundaries[] = {
    {"outdoors", Boundary::Outdoors},
    {"unheatedSpace", Boundary::UnheatedSpace},
    {"ground", Boundary::Ground},
    {"knownTemperature", Boundary::KnownTemperature},
    {"heatedNeighbour", Boundary::HeatedNeighbour}};
constexpr std::pair<const char*, Orientation> kOrientations[] = {
    {"none", Orientation::None}, {"N", Orientation::N},   {"NE", Orientation::NE},
    {"E", Orientation::E},       {"SE", Orientation::SE}, {"S", Orientation::S},
    {"SW", Orientation::SW},     {"W", Orientation::W},   {"NW", Orientation::NW}};
constexpr std::pair<const char*, DoorEntrance> kEntrances[] = {
    {"none", DoorEntrance::None},
    {"oneDoor", DoorEntrance::OneDoor},
    {"twoDoors", DoorEntrance::TwoDoors},
    {"threeDoors", DoorEntrance::ThreeDoors},
    {"publicMain", DoorEntrance::PublicMain}};

const Choice<RoomEnvelope, HeatingSystem> kSystem{"system", "供暖方式", kSystems,
                                                  Presence::Defaulted, &RoomEnvelope::system};
const Choice<EnvelopeElement, ElementKind> kKind{"kind", "类型", kKinds, Presence::Required,
                                                 &EnvelopeElement::kind};
const Choice<EnvelopeElement, Boundary> kBoundary{"boundary", "外侧", kBoundaries,
                                                  Presence::Defaulted, &EnvelopeElement::boundary};
const Choice<EnvelopeElement, Orientation> kOrientation{
    "orientation", "朝向", kOrientations, Presence::Defaulted, &EnvelopeElement::orientation};
const Choice<EnvelopeElement, DoorEntrance> kEntrance{
    "entrance", "外门类型", kEntrances, Presence::Defaulted, &EnvelopeElement::entrance};

const std::array<Number<RoomEnvelope>, 6> kRoomNumbers{{
    plain<RoomEnvelope, &RoomEnvelope::height>({"height", "层高", "m", 0, 100, true}),
    optional<RoomEnvelope, &RoomEnvelope::volume>({"volume", "体积", "m³", 0, 1e7, true}),
    plain<RoomEnvelope, &RoomEnvelope::airChanges>({"airChanges", "换气次数", "1/h", 0, 100, true}),
    optional<RoomEnvelope, &RoomEnvelope::airFlow>({"airFlow", "风量", "m³/h", 0, 1e7, true}),
    optional<RoomEnvelope, &RoomEnvelope::heatedShare>(
        {"heatedShare", "局部辐射供暖面积比", "", 0, 1, true}),
    plain<RoomEnvelope, &RoomEnvelope::heatingUpFlux>(
        {"heatingUpFlux", "预热附加", "W/m²", 0, 1000, true}),
}};

const std::array<Number<EnvelopeElement>, 7> kElementNumbers{{
    plain<EnvelopeElement, &EnvelopeElement::area>({"area", "面积", "m²", 0, 1e6, false},
                                                   Presence::Required),
    plain<EnvelopeElement, &EnvelopeElement::u>({"u", "传热系数", "W/(m²·K)", 0.001, 100, false},
                                                Presence::Required),
    plain<EnvelopeElement, &EnvelopeElement::alpha>({"alpha", "温差修正系数", "", 0, 1, true}),
    optional<EnvelopeElement, &EnvelopeElement::fx>({"fx", "温度修正系数 f_x", "", 0, 10, true}),
    plain<EnvelopeElement, &EnvelopeElement::adjacentTemp>(
        {"adjacentTemp", "相邻空间温度", "℃", -60, 100, true}),
    optional<EnvelopeElement, &EnvelopeElement::orientationRate>(
        {"orientationRate", "朝向修正率", "", -1, 1, true}),
    plain<EnvelopeElement, &EnvelopeElement::otherRate>(
        {"otherRate", "其他附加率", "", 0, 10, true}),
}};

constexpr std::initializer_list<const char*> kElementKeys = {
    "name",        "kind",         "boundary", "orientation",  "entrance",        "area",
    "u",           "alpha",        "fx",       "adjacentTemp", "orientationRate", "otherRate",
    "heatedFloor", "otherDwelling"};

QString elementLabel(const QString& where, qsizetype index, const std::string& name) {
    const QString label = where + QStringLiteral("的围护结构第 %1 项").arg(index + 1);
    return name.empty() ? label
                        : label + QStringLiteral("（%1）").arg(QString::fromStdString(name));
}

QString readElement(const QJsonValue& value, qsizetype index, const QString& where,
                    EnvelopeElement& e, QJsonObject& extras) {
    if (!value.isObject())
        return QStringLiteral("%1应是对象，而不是%2")
            .arg(elementLabel(where, index, {}), typeName(value));
    const QJsonObject obj = value.toObject();
    if (QString error = readText(obj, "name", "名称", elementLabel(where, index, {}),
                                 kMaxElementNameLength, false, e.name);
        !error.isEmpty())
        return error;
    const QString at = elementLabel(where, index, e.name);
    for (QString error : {readChoice(obj, kKind, e, at), readChoice(obj, kBoundary, e, at),
                          readChoice(obj, kOrientation, e, at), readChoice(obj, kEntrance, e, at),
                          readNumbers<EnvelopeElement>(obj, kElementNumbers, e, at),
                          readBool(obj, "heatedFloor", "敷设加热管的楼板", at, e.heatedFloor),
                          readBool(obj, "otherDwelling", "与其他住户相邻", at, e.otherDwelling)})
        if (!error.isEmpty())
            return error;
    QJsonObject rest = obj;
    for (const char* k : kElementKeys)
        rest.remove(key(k));
    extras = rest;
    return {};
}

} // namespace

QString readEnvelope(const QJsonObject& obj, RoomEnvelope& envelope, const QString& where,
                     QJsonObject& extras) {
    const QString at = where + QStringLiteral("的围护结构（envelope）");
    for (QString error : {readNumbers<RoomEnvelope>(obj, kRoomNumbers, envelope, at),
                          readChoice(obj, kSystem, envelope, at),
                          readBool(obj, "stairwell", "楼梯间", at, envelope.stairwell)})
        if (!error.isEmpty())
            return error;
    QJsonArray elements;
    bool present = false;
    if (QString error = readArray(obj, "elements", "围护结构", at, elements, present);
        !error.isEmpty())
        return error;
    if (elements.size() > kMaxEnvelopeElements)
        return QStringLiteral("%1有 %2 项围护结构，超过本程序的上限 %3 项")
            .arg(where)
            .arg(elements.size())
            .arg(kMaxEnvelopeElements);
    envelope.elements.clear();
    QJsonArray elementExtras;
    bool anyExtras = false;
    for (qsizetype i = 0; i < elements.size(); ++i) {
        EnvelopeElement e;
        QJsonObject x;
        if (QString error = readElement(elements[i], i, where, e, x); !error.isEmpty())
            return error;
        anyExtras = anyExtras || !x.isEmpty();
        elementExtras.append(x);
        envelope.elements.push_back(std::move(e));
    }
    extras = unknownKeys(obj, {"height", "volume", "airChanges", "airFlow", "heatedShare",
                               "heatingUpFlux", "system", "stairwell", "elements"});
    if (anyExtras)
        extras.insert(QStringLiteral("elements"), elementExtras);
    return {};
}

QString writeEnvelope(const RoomEnvelope& envelope, const QString& where, QJsonObject& out) {
    FirstError error;
    if (envelope.elements.size() > std::size_t(kMaxEnvelopeElements))
        error.note(QStringLiteral("%1有 %2 项围护结构，超过 %3 项")
                       .arg(where)
                       .arg(envelope.elements.size())
                       .arg(kMaxEnvelopeElements));
    error.note(checkNumbers<RoomEnvelope>(kRoomNumbers, envelope, where));
    out = {};
    writeNumbers<RoomEnvelope>(out, kRoomNumbers, envelope);
    writeChoice(out, kSystem, envelope);
    out.insert(QStringLiteral("stairwell"), envelope.stairwell);
    QJsonArray elements;
    for (std::size_t i = 0; i < envelope.elements.size(); ++i) {
        const EnvelopeElement& e = envelope.elements[i];
        const QString at = elementLabel(where, qsizetype(i), e.name);
        error.note(checkText(e.name, "名称", at, kMaxElementNameLength));
        error.note(checkNumbers<EnvelopeElement>(kElementNumbers, e, at));
        QJsonObject obj;
        obj.insert(QStringLiteral("name"), QString::fromStdString(e.name));
        writeChoice(obj, kKind, e);
        writeChoice(obj, kBoundary, e);
        writeChoice(obj, kOrientation, e);
        writeChoice(obj, kEntrance, e);
        writeNumbers<EnvelopeElement>(obj, kElementNumbers, e);
        obj.insert(QStringLiteral("heatedFloor"), e.heatedFloor);
        obj.insert(QStringLiteral("otherDwelling"), e.otherDwelling);
        elements.append(obj);
    }
    out.insert(QStringLiteral("elements"), elements);
    return error.text;
}

} // namespace zorva::io
