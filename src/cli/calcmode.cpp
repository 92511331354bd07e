// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/calcmode.h"

#include <cmath>

namespace zorva::cli {

namespace {

// The number of `text`, or empty when it is not a finite number.
std::optional<double> number(const QString& text) {
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

QString shown(const QString& text) {
    const QString t = text.trimmed();
    return t.isEmpty() ? QStringLiteral("（空）") : t;
}

} // namespace

Result<void> readCalcMode(const ModeOptions& options, CalcMode& out) {
    out = CalcMode{};
    if (options.method) {
        const QByteArray key = options.method->trimmed().toUtf8();
        if (!method::methodFromKey(key.constData(), out.method))
            return stop(InputError,
                        QStringLiteral("--method 的值“%1”不是已知的计算方法，可用：program"
                                       "（本程序方法）或 en1264（EN 1264-2）")
                            .arg(shown(*options.method)));
        out.methodGiven = true;
    }
    if (options.mode) {
        const QString mode = options.mode->trimmed();
        if (mode == QStringLiteral("cooling"))
            out.cooling = true;
        else if (mode != QStringLiteral("heating"))
            return stop(InputError,
                        QStringLiteral("--mode 的值“%1”不是已知的工况，可用：heating（供暖）或 "
                                       "cooling（供冷）")
                            .arg(shown(*options.mode)));
    }
    if (!out.cooling) {
        if (options.humidity || options.roomTemp)
            return stop(UsageError,
                        QStringLiteral("--humidity 和 --room-temp 只用于 --mode cooling"));
        return {};
    }
    if (out.methodGiven && out.method == method::Method::Program)
        return stop(UsageError, QStringLiteral("供冷只按 EN 1264-5（由 EN 1264-2 换算）计算，"
                                               "不能与 --method program 同用"));
    out.method = method::Method::En1264;
    if (options.humidity) {
        const std::optional<double> v = number(*options.humidity);
        if (!v)
            return stop(InputError, QStringLiteral("--humidity 的“相对湿度”不是数字：%1")
                                        .arg(shown(*options.humidity)));
        if (!(*v > 0 && *v <= 100))
            return stop(
                InputError,
                QStringLiteral("--humidity 的“相对湿度”的值 %1 超出范围 0 ~ 100 %（不含 0）")
                    .arg(shown(*options.humidity)));
        out.humidity = *v / 100;
    }
    if (options.roomTemp) {
        const std::optional<double> v = number(*options.roomTemp);
        if (!v)
            return stop(InputError, QStringLiteral("--room-temp 的“室内温度”不是数字：%1")
                                        .arg(shown(*options.roomTemp)));
        if (!(*v >= kLowestCoolingRoomTemp && *v <= kHighestCoolingRoomTemp))
            return stop(InputError, QStringLiteral("--room-temp 的“室内温度”的值 %1 超出范围 "
                                                   "%2 ~ %3 ℃")
                                        .arg(shown(*options.roomTemp))
                                        .arg(kLowestCoolingRoomTemp)
                                        .arg(kHighestCoolingRoomTemp));
        out.roomTemp = *v;
    }
    return {};
}

} // namespace zorva::cli
