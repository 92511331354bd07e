// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/projectsettings.h"

#include "core/io/jsonfields.h"

#include <array>

namespace zorva::io {

namespace {

using namespace json;
using project::Climate;
using project::HeatLoadSettings;
using project::LoadMethod;
using project::RoomConditions;
using project::Settings;
using project::StandardDesign;

const QString kWhere = QStringLiteral("项目设置");

constexpr std::pair<const char*, method::Method> kMethods[] = {{"program", method::Method::Program},
                                                               {"en1264", method::Method::En1264}};
constexpr std::pair<const char*, LoadMethod> kLoadMethods[] = {{"typed", LoadMethod::Typed},
                                                               {"gb50736", LoadMethod::Gb50736},
                                                               {"en12831", LoadMethod::En12831}};
constexpr std::pair<const char*, heatload::FloorAllowance> kAllowances[] = {
    {"none", heatload::FloorAllowance::None},
    {"lowerIndoorTemp", heatload::FloorAllowance::LowerIndoorTemp},
    {"shareOfLoad", heatload::FloorAllowance::ShareOfLoad}};
constexpr std::pair<const char*, en1264::DesignMode> kModes[] = {
    {"designRoom", en1264::DesignMode::DesignRoom}, {"fixedPair", en1264::DesignMode::FixedPair}};
constexpr std::pair<const char*, hydraulics::FrictionLaw> kLaws[] = {
    {"blasius", hydraulics::FrictionLaw::Blasius},
    {"colebrook", hydraulics::FrictionLaw::Colebrook},
    {"swameeJain", hydraulics::FrictionLaw::SwameeJain}};

const Choice<Settings, method::Method> kMethod{"method", "计算方法", kMethods, Presence::Defaulted,
                                               &Settings::method};
const Choice<HeatLoadSettings, LoadMethod> kLoadMethod{
    "method", "热负荷计算方法", kLoadMethods, Presence::Defaulted, &HeatLoadSettings::method};
const Choice<heatload::Gb50736Options, heatload::FloorAllowance> kAllowance{
    "allowance", "地面辐射供暖的热负荷折减", kAllowances, Presence::Defaulted,
    &heatload::Gb50736Options::allowance};
const Choice<StandardDesign, en1264::DesignMode> kMode{"mode", "设计方式", kModes,
                                                       Presence::Defaulted, &StandardDesign::mode};
const Choice<StandardDesign, hydraulics::FrictionLaw> kLaw{
    "friction", "摩擦系数公式", kLaws, Presence::Defaulted, &StandardDesign::friction};

const std::array<Number<Climate>, 2> kClimate{{
    optional<Climate, &Climate::outdoorTemp>({"outdoorTemp", "室外计算温度", "℃", -60, 30, true}),
    optional<Climate, &Climate::winterSunshine>(
        {"winterSunshine", "冬季日照百分率", "%", 0, 100, true}),
}};

// The outdoor temperature and sunshine of the GB options are the climate's.
const std::array<Number<heatload::Gb50736Options>, 6> kGb{{
    plain<heatload::Gb50736Options, &heatload::Gb50736Options::windRate>(
        {"windRate", "风力附加率", "", 0, 1, true}),
    {{"storeys", "建筑层数", "", 1, 200, true},
     Presence::Defaulted,
     true,
     [](const heatload::Gb50736Options& o) -> std::optional<double> { return o.storeys; },
     [](heatload::Gb50736Options& o, std::optional<double> v) {
         if (v)
             o.storeys = int(*v);
     }},
    plain<heatload::Gb50736Options, &heatload::Gb50736Options::intermittentRate>(
        {"intermittentRate", "间歇附加率", "", 0, 1, true}),
    plain<heatload::Gb50736Options, &heatload::Gb50736Options::allowanceShare>(
        {"allowanceShare", "热负荷折减比例", "", 0, 1, true}),
    plain<heatload::Gb50736Options, &heatload::Gb50736Options::interDwellingDelta>(
        {"interDwellingDelta", "户间传热计算温差", "K", 0, 50, true}),
    plain<heatload::Gb50736Options, &heatload::Gb50736Options::interDwellingCap>(
        {"interDwellingCap", "户间传热上限比例", "", 0, 1, true}),
}};

const std::array<Number<heatload::En12831Options>, 1> kEn{{
    plain<heatload::En12831Options, &heatload::En12831Options::thermalBridgeAddition>(
        {"thermalBridgeAddition", "热桥附加传热系数", "W/(m²·K)", 0, 1, true}),
}};

const std::array<Number<RoomConditions>, 2> kConditions{{
    plain<RoomConditions, &RoomConditions::maxLoopLength>(
        {"maxLoopLength", "环路长度上限", "m", 1, 1000, true}),
    plain<RoomConditions, &RoomConditions::maxPressureDrop>(
        {"maxPressureDrop", "环路阻力上限", "kPa", 0.1, 1000, true}),
}};
const NumberRange kSpacing{"spacings", "可选管间距", "m", 0.01, 1, false};
constexpr int kMaxSpacings = 50;

const std::array<Number<StandardDesign>, 5> kStandard{{
    plain<StandardDesign, &StandardDesign::designDrop>(
        {"designDrop", "设计温降", "K", 0.1, 50, true}),
    plain<StandardDesign, &StandardDesign::minimumDrop>(
        {"minimumDrop", "最小温降", "K", 0.1, 50, true}),
    plain<StandardDesign, &StandardDesign::roughness>(
        {"roughness", "管内壁粗糙度", "m", 0, 0.01, true}),
    plain<StandardDesign, &StandardDesign::connectionLoss>(
        {"connectionLoss", "分集水器接口局部阻力系数", "", 0, 100, true}),
    plain<StandardDesign, &StandardDesign::bendLoss>(
        {"bendLoss", "每个弯头的局部阻力系数", "", 0, 100, true}),
}};

constexpr int kMaxStationLength = 20;
constexpr int kMaxPlaceLength = 200;

QString readClimate(const QJsonObject& obj, Climate& c, QJsonObject& extras) {
    const QString where = kWhere + QStringLiteral("的地点（climate）");
    if (QString e =
            readText(obj, "station", "气象台站", where, kMaxStationLength, false, c.stationId);
        !e.isEmpty())
        return e;
    if (QString e = readText(obj, "place", "地点", where, kMaxPlaceLength, false, c.place);
        !e.isEmpty())
        return e;
    extras = unknownKeys(obj, {"station", "place", "outdoorTemp", "winterSunshine"});
    return readNumbers<Climate>(obj, kClimate, c, where);
}

QString readHeatLoad(const QJsonObject& obj, HeatLoadSettings& h, QJsonObject& extras) {
    const QString where = kWhere + QStringLiteral("的热负荷（heatLoad）");
    if (QString e = readChoice(obj, kLoadMethod, h, where); !e.isEmpty())
        return e;
    extras = unknownKeys(obj, {"method", "climate", "gb50736", "en12831"});
    QJsonObject sub;
    bool present = false;
    if (QString e = readObject(obj, "climate", "地点", where, sub, present); !e.isEmpty())
        return e;
    QJsonObject subExtras;
    if (QString e = readClimate(sub, h.climate, subExtras); !e.isEmpty())
        return e;
    if (!subExtras.isEmpty())
        extras.insert(QStringLiteral("climate"), subExtras);
    if (QString e = readObject(obj, "gb50736", "GB 50736 选项", where, sub, present); !e.isEmpty())
        return e;
    const QString gbWhere = kWhere + QStringLiteral("的 GB 50736 选项（gb50736）");
    if (QString e = readNumbers<heatload::Gb50736Options>(sub, kGb, h.gb, gbWhere); !e.isEmpty())
        return e;
    if (QString e = readChoice(sub, kAllowance, h.gb, gbWhere); !e.isEmpty())
        return e;
    if (QString e = readBool(sub, "interDwelling", "户间传热附加", gbWhere, h.gb.interDwelling);
        !e.isEmpty())
        return e;
    subExtras =
        unknownKeys(sub, {"windRate", "storeys", "intermittentRate", "allowanceShare",
                          "interDwellingDelta", "interDwellingCap", "allowance", "interDwelling"});
    if (!subExtras.isEmpty())
        extras.insert(QStringLiteral("gb50736"), subExtras);
    if (QString e = readObject(obj, "en12831", "EN 12831 选项", where, sub, present); !e.isEmpty())
        return e;
    if (QString e = readNumbers<heatload::En12831Options>(
            sub, kEn, h.en, kWhere + QStringLiteral("的 EN 12831 选项（en12831）"));
        !e.isEmpty())
        return e;
    subExtras = unknownKeys(sub, {"thermalBridgeAddition"});
    if (!subExtras.isEmpty())
        extras.insert(QStringLiteral("en12831"), subExtras);
    return {};
}

QString readConditions(const QJsonObject& obj, RoomConditions& c, QJsonObject& extras) {
    const QString where = kWhere + QStringLiteral("的房间设计条件（conditions）");
    if (QString e = readNumbers<RoomConditions>(obj, kConditions, c, where); !e.isEmpty())
        return e;
    QJsonArray spacings;
    bool present = false;
    if (QString e = readArray(obj, kSpacing.key, kSpacing.name, where, spacings, present);
        !e.isEmpty())
        return e;
    if (present) {
        if (spacings.isEmpty() || spacings.size() > kMaxSpacings)
            return QStringLiteral("%1的“%2”（spacings）应有 1 ~ %3 个间距")
                .arg(where, QString::fromUtf8(kSpacing.name))
                .arg(kMaxSpacings);
        c.spacings.clear();
        for (qsizetype i = 0; i < spacings.size(); ++i) {
            const QJsonValue v = spacings[i];
            const QString at = where + QStringLiteral("第 %1 个可选管间距").arg(i + 1);
            if (!v.isDouble())
                return wrongType(at, kSpacing.name, kSpacing.key, QStringLiteral("数字"), v);
            if (QString e = checkNumber(kSpacing, false, v.toDouble(), at); !e.isEmpty())
                return e;
            c.spacings.push_back(v.toDouble());
        }
    }
    extras = unknownKeys(obj, {"spacings", "maxLoopLength", "maxPressureDrop"});
    return {};
}

QString readStandard(const QJsonObject& obj, StandardDesign& s, QJsonObject& extras) {
    const QString where = kWhere + QStringLiteral("的 EN 1264-3 设计（en1264）");
    if (QString e = readChoice(obj, kMode, s, where); !e.isEmpty())
        return e;
    if (QString e = readChoice(obj, kLaw, s, where); !e.isEmpty())
        return e;
    extras = unknownKeys(obj, {"mode", "friction", "designDrop", "minimumDrop", "roughness",
                               "connectionLoss", "bendLoss"});
    return readNumbers<StandardDesign>(obj, kStandard, s, where);
}

} // namespace

QString readSettings(const QJsonObject& obj, Settings& settings) {
    settings.method = method::Method::Program;
    if (QString e = readChoice(obj, kMethod, settings, kWhere); !e.isEmpty())
        return e;
    QJsonObject extras = unknownKeys(obj, {"method", "heatLoad", "conditions", "en1264"});
    const auto section = [&](const char* k, const char* name, auto read) -> QString {
        QJsonObject sub;
        bool present = false;
        if (QString e = readObject(obj, k, name, kWhere, sub, present); !e.isEmpty())
            return e;
        QJsonObject subExtras;
        if (QString e = read(sub, subExtras); !e.isEmpty())
            return e;
        if (!subExtras.isEmpty())
            extras.insert(key(k), subExtras);
        return {};
    };
    if (QString e = section("heatLoad", "热负荷",
                            [&](const QJsonObject& o, QJsonObject& x) {
                                return readHeatLoad(o, settings.heatLoad, x);
                            });
        !e.isEmpty())
        return e;
    if (QString e = section("conditions", "房间设计条件",
                            [&](const QJsonObject& o, QJsonObject& x) {
                                return readConditions(o, settings.conditions, x);
                            });
        !e.isEmpty())
        return e;
    if (QString e = section("en1264", "EN 1264-3 设计",
                            [&](const QJsonObject& o, QJsonObject& x) {
                                return readStandard(o, settings.standard, x);
                            });
        !e.isEmpty())
        return e;
    settings.extraKeys = extraText(extras);
    return {};
}

QString writeSettings(const Settings& s, QJsonObject& out) {
    FirstError error;
    const HeatLoadSettings& h = s.heatLoad;
    QJsonObject climate;
    error.note(checkText(h.climate.stationId, "气象台站", kWhere, kMaxStationLength));
    error.note(checkText(h.climate.place, "地点", kWhere, kMaxPlaceLength));
    if (!h.climate.stationId.empty())
        climate.insert(QStringLiteral("station"), QString::fromStdString(h.climate.stationId));
    if (!h.climate.place.empty())
        climate.insert(QStringLiteral("place"), QString::fromStdString(h.climate.place));
    writeNumbers<Climate>(climate, kClimate, h.climate);
    QJsonObject gb;
    writeNumbers<heatload::Gb50736Options>(gb, kGb, h.gb);
    writeChoice(gb, kAllowance, h.gb);
    gb.insert(QStringLiteral("interDwelling"), h.gb.interDwelling);
    QJsonObject en;
    writeNumbers<heatload::En12831Options>(en, kEn, h.en);
    QJsonObject heatLoad;
    writeChoice(heatLoad, kLoadMethod, h);
    heatLoad.insert(QStringLiteral("climate"), climate);
    heatLoad.insert(QStringLiteral("gb50736"), gb);
    heatLoad.insert(QStringLiteral("en12831"), en);

    QJsonObject conditions;
    QJsonArray spacings;
    if (s.conditions.spacings.empty() || s.conditions.spacings.size() > kMaxSpacings)
        error.note(QStringLiteral("%1的可选管间距应有 1 ~ %2 个").arg(kWhere).arg(kMaxSpacings));
    for (double t : s.conditions.spacings) {
        error.note(checkNumber(kSpacing, false, t, kWhere));
        spacings.append(t);
    }
    conditions.insert(QStringLiteral("spacings"), spacings);
    writeNumbers<RoomConditions>(conditions, kConditions, s.conditions);
    QJsonObject standard;
    writeChoice(standard, kMode, s.standard);
    writeChoice(standard, kLaw, s.standard);
    writeNumbers<StandardDesign>(standard, kStandard, s.standard);

    error.note(checkNumbers<Climate>(kClimate, h.climate, kWhere));
    error.note(checkNumbers<heatload::Gb50736Options>(kGb, h.gb, kWhere));
    error.note(checkNumbers<heatload::En12831Options>(kEn, h.en, kWhere));
    error.note(checkNumbers<RoomConditions>(kConditions, s.conditions, kWhere));
    error.note(checkNumbers<StandardDesign>(kStandard, s.standard, kWhere));

    out = QJsonObject{};
    writeChoice(out, kMethod, s);
    out.insert(QStringLiteral("heatLoad"), heatLoad);
    out.insert(QStringLiteral("conditions"), conditions);
    out.insert(QStringLiteral("en1264"), standard);
    out = mergeExtras(out, extraObject(s.extraKeys));
    return error.text;
}

} // namespace zorva::io
