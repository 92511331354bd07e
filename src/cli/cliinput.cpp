#include "cli/cliinput.h"

#include "core/engine/numtext.h"
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

// Splits "a,b,c" (a full-width comma works too) into `names.size()` numbers
// as trimmed texts.
template <std::size_t N>
Result<void> readList(const char* option, const QString& value,
                      const std::array<const char*, N>& names, std::array<std::string, N>& out) {
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
        if (!isNumber(text))
            return stop(InputError,
                        QStringLiteral("--%1 的“%2”不是数字：%3")
                            .arg(QString::fromLatin1(option), QString::fromUtf8(names[i]),
                                 text.isEmpty() ? QStringLiteral("（空）") : text));
        out[i] = text.toStdString();
    }
    return {};
}

} // namespace

Result<void> readFieldRecord(const DesignOptions& options, FieldRecord& out) {
    out = FieldRecord::defaults();
    if (options.design)
        if (Result<void> p = readList("design", *options.design, kDesignNames, out.design); !p)
            return p;
    if (options.thickness)
        if (Result<void> p =
                readList("thickness", *options.thickness, kThicknessNames, out.thickness);
            !p)
            return p;
    if (options.conductivity)
        if (Result<void> p = readList("conductivity", *options.conductivity, kConductivityNames,
                                      out.conductivity);
            !p)
            return p;
    if (options.elbows) {
        std::array<std::string, 1> elbows;
        if (Result<void> p = readList("elbows", *options.elbows,
                                      std::array<const char*, 1>{"90度弯头数"}, elbows);
            !p)
            return p;
        out.elbows = elbows[0];
    }
    return {};
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
    return std::nullopt;
}

QString roomCategoryHelp() {
    QStringList parts;
    for (std::size_t i = 0; i < kCategories.size(); ++i)
        parts << QStringLiteral("%1 或 %2 或 %3（%4 ℃）")
                     .arg(i + 1)
                     .arg(QLatin1String(kCategories[i].key), categoryName(kCategories[i].category),
                          QString::fromUtf8(
                              generalText(floorTempLimit(kCategories[i].category)).view()));
    return parts.join(QStringLiteral("；"));
}

} // namespace zorva::cli
