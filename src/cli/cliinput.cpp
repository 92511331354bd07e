// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cliinput.h"

#include "core/engine/checked.h"
#include "core/engine/depthlink.h"
#include "core/engine/depthsettle.h"
#include "core/engine/numparse.h"
#include "core/engine/numtext.h"
#include "core/io/manifoldfields.h"
#include "core/wording/checkwording.h"

#include <QStringList>

#include <array>
#include <cmath>

namespace zorva::cli {

namespace {

const std::array<const char*, 7> kDesignNames = {"室内温度", "供水温度", "回水温度", "盘管间距",
                                                 "盘管埋深", "盘管外径", "单管长度"};
const std::array<const char*, kConstructionRows> kThicknessNames = {"地面层厚度", "找平层厚度",
                                                                    "填充层厚度", "塑料管壁厚度"};
const std::array<const char*, kConstructionRows> kConductivityNames = {
    "地面层导热系数", "找平层导热系数", "填充层导热系数", "塑料管导热系数"};

// The burial depth holds the three layers above the pipe's bottom, each
// within its own range.
const io::NumberRange kDepthRange{"depth", "盘管埋深", "mm", 0, 2000, false};

// The range of each value, as the CSV cells of the same quantity have it;
// the return temperature is checked through the difference it leaves.
std::array<const io::NumberRange*, 7> designRanges() {
    const auto loop = io::loopRanges();
    const auto manifold = io::manifoldRanges();
    return {&loop[0], &manifold[0], nullptr, &loop[1], &kDepthRange, &manifold[10], &loop[2]};
}
std::array<const io::NumberRange*, kConstructionRows> thicknessRanges() {
    const auto m = io::manifoldRanges();
    return {&m[2], &m[3], &m[4], &m[5]};
}
std::array<const io::NumberRange*, kConstructionRows> conductivityRanges() {
    const auto m = io::manifoldRanges();
    return {&m[6], &m[7], &m[8], &m[9]};
}

struct CategoryKey {
    RoomCategory category;
    const char* key;
};
const std::array<CategoryKey, kRoomCategoryCount> kCategories = {{
    {RoomCategory::LongStay, "long-stay"},
    {RoomCategory::ShortStay, "short-stay"},
    {RoomCategory::Unoccupied, "unoccupied"},
    {RoomCategory::Residential, "residential"},
    {RoomCategory::Bathroom, "bathroom"},
    {RoomCategory::Peripheral, "peripheral"},
}};

bool isNumber(const QString& text) {
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok && std::isfinite(v);
}

QString general(double value) {
    return QString::fromUtf8(generalText(value).view());
}

QString unitSuffix(const io::NumberRange& range) {
    const QString unit = QString::fromUtf8(range.unit);
    return unit.isEmpty() ? unit : u' ' + unit;
}

QString rangeText(const io::NumberRange& range) {
    return QStringLiteral("%1 ~ %2%3")
        .arg(general(range.min), general(range.max), unitSuffix(range));
}

// Splits "a,b,c" (a full-width comma works too) into `names.size()` numbers
// as trimmed texts, each within its range when it has one.
template <std::size_t N>
Result<void>
readList(const char* option, const QString& value, const std::array<const char*, N>& names,
         const std::array<const io::NumberRange*, N>& ranges, std::array<std::string, N>& out) {
    QString list = value;
    list.replace(u'，', u',');
    const QStringList items = list.split(u',');
    if (items.size() != static_cast<qsizetype>(N)) {
        QStringList all;
        for (const char* name : names)
            all << QString::fromUtf8(name);
        return stop(UsageError,
                    QStringLiteral("--%1 需要 %2 个以逗号分开的值（%3），给出的是 %4 个")
                        .arg(QString::fromLatin1(option))
                        .arg(N)
                        .arg(all.join(u'，'))
                        .arg(items.size()));
    }
    for (std::size_t i = 0; i < N; ++i) {
        const QString text = items[static_cast<qsizetype>(i)].trimmed();
        const QString name = QString::fromUtf8(names[i]);
        if (!isNumber(text))
            return stop(InputError, QStringLiteral("--%1 的“%2”不是数字：%3")
                                        .arg(QString::fromLatin1(option), name,
                                             text.isEmpty() ? QStringLiteral("（空）") : text));
        if (ranges[i] != nullptr && !io::inRange(*ranges[i], text.toDouble()))
            return stop(InputError,
                        QStringLiteral("--%1 的“%2”的值 %3 超出范围 %4")
                            .arg(QString::fromLatin1(option), name, text, rangeText(*ranges[i])));
        out[i] = text.toStdString();
    }
    return {};
}

// The supply–return difference the design's two temperatures leave, within
// the range of the CSV column 供回水温差; in cooling the return lies above
// the supply and the difference is the water's rise.
Result<void> checkDifference(const FieldRecord& f, bool cooling) {
    const io::NumberRange& range = io::manifoldRanges()[1];
    double difference = parseLeadingNumber(f.design[SupplyTempField]) -
                        parseLeadingNumber(f.design[ReturnTempField]);
    if (cooling)
        difference = -difference;
    if (io::inRange(range, difference))
        return {};
    return stop(InputError, QStringLiteral("--design 的“回水温度”%1 使%2为 %3，超出范围 %4")
                                .arg(QString::fromStdString(f.design[ReturnTempField]),
                                     cooling ? QStringLiteral("供冷的回水与供水温差")
                                             : QStringLiteral("供回水温差"),
                                     general(difference), rangeText(range)));
}

// The typed depth through the depth link, and the filling layer it leaves
// within its range.
Result<void> linkDepth(FieldRecord& f, QStringList* notes) {
    const std::string typedDepth = f.design[DepthField];
    const std::string fill = f.thickness[FillingLayerRow];
    try {
        settleDepthEdit(f);
    } catch (const ArithmeticError&) {
        return stop(InputError, QStringLiteral("--design 的“盘管埋深”%1 与各层厚度无法相加")
                                    .arg(QString::fromStdString(typedDepth)));
    }
    const QString depthText = QString::fromStdString(f.design[DepthField]);
    const QString fillText = QString::fromStdString(f.thickness[FillingLayerRow]);
    const io::NumberRange& fillRange = io::manifoldRanges()[4];
    if (!io::inRange(fillRange, parseLeadingNumber(f.thickness[FillingLayerRow])))
        return stop(InputError,
                    QStringLiteral("--design 的“盘管埋深”%1 使填充层厚度为 %2 mm，超出范围 %3")
                        .arg(QString::fromStdString(typedDepth), fillText, rangeText(fillRange)));
    if (notes == nullptr || f.thickness[FillingLayerRow] == fill)
        return {};
    if (parseLeadingNumber(f.design[DepthField]) != parseLeadingNumber(typedDepth))
        *notes << QStringLiteral("注：盘管埋深 %1 mm 容不下地面层、找平层和 %2 mm 的填充层，"
                                 "盘管埋深按 %3 mm、填充层厚度按 %4 mm 计算（与主窗口相同）。")
                      .arg(QString::fromStdString(typedDepth), general(kMinimumFillMm), depthText,
                           fillText);
    else
        *notes << QStringLiteral("注：盘管埋深 %1 mm，填充层厚度按 %2 mm 计算（埋深减去地面层和"
                                 "找平层，与主窗口相同）。")
                      .arg(depthText, fillText);
    return {};
}

} // namespace

Result<void> readFieldRecord(const DesignOptions& options, FieldRecord& out, QStringList* notes,
                             bool cooling) {
    out = FieldRecord::defaults();
    if (options.thickness)
        if (Result<void> p = readList("thickness", *options.thickness, kThicknessNames,
                                      thicknessRanges(), out.thickness);
            !p)
            return p;
    if (options.conductivity)
        if (Result<void> p = readList("conductivity", *options.conductivity, kConductivityNames,
                                      conductivityRanges(), out.conductivity);
            !p)
            return p;
    if (options.elbows) {
        std::array<std::string, 1> elbows;
        if (Result<void> p =
                readList("elbows", *options.elbows, std::array<const char*, 1>{"90度弯头数"},
                         std::array<const io::NumberRange*, 1>{&io::manifoldRanges()[11]}, elbows);
            !p)
            return p;
        out.elbows = elbows[0];
    }
    if (!options.design) {
        // The depth follows the layers, as the main window's does.
        out.design[DepthField] =
            layerSumText(parseLeadingNumber(out.thickness[0]), parseLeadingNumber(out.thickness[1]),
                         parseLeadingNumber(out.thickness[2]))
                .str();
        return {};
    }
    if (Result<void> p =
            readList("design", *options.design, kDesignNames, designRanges(), out.design);
        !p)
        return p;
    if (Result<void> p = checkDifference(out, cooling); !p)
        return p;
    return linkDepth(out, notes);
}

Result<void> readCheckLimits(const DesignOptions& options, CheckLimits& out) {
    out = CheckLimits{};
    if (options.load) {
        const QString text = options.load->trimmed();
        if (!isNumber(text) || !(text.toDouble() > 0))
            return stop(InputError,
                        QStringLiteral("--load 的“热负荷”应是大于 0 的数字（W/m²）：%1").arg(text));
        out.loadPerArea = text.toDouble();
    }
    if (options.category) {
        const std::optional<RoomCategory> category = roomCategoryFromText(*options.category);
        if (!category)
            return stop(UsageError,
                        QStringLiteral("--category 的值“%1”不是已知的房间类别，可用：%2")
                            .arg(options.category->trimmed(), roomCategoryHelp()));
        out.category = *category;
    }
    return {};
}

std::optional<RoomCategory> roomCategoryFromText(const QString& text) {
    const QString t = text.trimmed();
    for (std::size_t i = 0; i < kCategories.size(); ++i)
        if (t == QLatin1String(kCategories[i].key) || t == categoryName(kCategories[i].category) ||
            t == QString::number(i + 1))
            return kCategories[i].category;
    if (t == QStringLiteral("人员长期停留")) // the name of earlier versions
        return RoomCategory::LongStay;
    return std::nullopt;
}

QString roomCategoryHelp() {
    QStringList parts;
    for (std::size_t i = 0; i < kCategories.size(); ++i)
        parts << QStringLiteral("%1 或 %2 或 %3（%4）")
                     .arg(i + 1)
                     .arg(QLatin1String(kCategories[i].key), categoryName(kCategories[i].category),
                          categoryLimitText(kCategories[i].category));
    return parts.join(QStringLiteral("；"));
}

} // namespace zorva::cli
