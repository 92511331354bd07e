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

// --humidity as a fraction, or an input error.
Result<void> readHumidity(const QString& text, double& out) {
    const std::optional<double> v = number(text);
    if (!v)
        return stop(InputError,
                    QStringLiteral("--humidity 的“相对湿度”不是数字：%1").arg(shown(text)));
    if (!(*v > 0 && *v <= 100))
        return stop(InputError,
                    QStringLiteral("--humidity 的“相对湿度”的值 %1 超出范围 0 ~ 100 %（不含 0）")
                        .arg(shown(text)));
    out = *v / 100;
    return {};
}

// --room-temp, or an input error.
Result<void> readRoomTemp(const QString& text, double& out) {
    const std::optional<double> v = number(text);
    if (!v)
        return stop(InputError,
                    QStringLiteral("--room-temp 的“室内温度”不是数字：%1").arg(shown(text)));
    if (!(*v >= kLowestCoolingRoomTemp && *v <= kHighestCoolingRoomTemp))
        return stop(InputError, QStringLiteral("--room-temp 的“室内温度”的值 %1 超出范围 "
                                               "%2 ~ %3 ℃")
                                    .arg(shown(text))
                                    .arg(kLowestCoolingRoomTemp)
                                    .arg(kHighestCoolingRoomTemp));
    out = *v;
    return {};
}

} // namespace

Result<void> readProjectModes(const ModeOptions& options, ProjectModes& out) {
    out = ProjectModes{};
    if (options.method) {
        method::Method m = method::Method::Program;
        const QByteArray key = options.method->trimmed().toUtf8();
        if (!method::methodFromKey(key.constData(), m))
            return stop(InputError,
                        QStringLiteral("--method 的值“%1”不是已知的计算方法，可用：program"
                                       "（本程序方法）或 en1264（EN 1264-2）")
                            .arg(shown(*options.method)));
        out.method = m;
    }
    if (options.mode) {
        project::Season season = project::Season::Heating;
        if (!project::seasonFromKey(options.mode->trimmed().toStdString(), season))
            return stop(InputError,
                        QStringLiteral("--mode 的值“%1”不是已知的工况，可用：heating（供暖）、"
                                       "cooling（供冷）或 both（供暖和供冷）")
                            .arg(shown(*options.mode)));
        out.season = season;
    }
    if ((options.humidity || options.roomTemp) && out.season && !project::coolsIn(*out.season))
        return stop(UsageError, QStringLiteral("--humidity 和 --room-temp 只用于供冷的项目"
                                               "（--mode cooling 或 both）"));
    if (options.humidity) {
        double v = 0;
        if (Result<void> read = readHumidity(*options.humidity, v); !read)
            return read;
        out.humidity = v;
    }
    if (options.roomTemp) {
        double v = 0;
        if (Result<void> read = readRoomTemp(*options.roomTemp, v); !read)
            return read;
        out.roomTemp = v;
    }
    return {};
}

Result<void> applyProjectModes(const ProjectModes& modes, project::Project& p) {
    if (modes.method)
        p.settings.method = *modes.method; // every output then names the method used
    if (modes.season)
        p.settings.cooling.season = *modes.season;
    if ((modes.humidity || modes.roomTemp) && !project::coolsIn(p.settings.cooling.season))
        return stop(UsageError, QStringLiteral("项目文件的工况为供暖：--humidity 和 --room-temp "
                                               "只用于供冷的项目，请同时给出 --mode cooling 或 "
                                               "both"));
    for (project::Room& room : p.rooms) {
        if (modes.humidity)
            room.cooling.humidity = *modes.humidity;
        if (modes.roomTemp)
            room.cooling.roomTemp = *modes.roomTemp;
    }
    return {};
}

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
        else if (mode == QStringLiteral("both"))
            return stop(UsageError, QStringLiteral("--mode both 只用于项目文件"));
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
        if (Result<void> read = readHumidity(*options.humidity, out.humidity); !read)
            return read;
    }
    if (options.roomTemp) {
        double v = 0;
        if (Result<void> read = readRoomTemp(*options.roomTemp, v); !read)
            return read;
        out.roomTemp = v;
    }
    return {};
}

} // namespace zorva::cli
