// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/projectrun.h"

#include "cli/projectdocumentrun.h"

#include "core/csv/csvwriter.h"
#include "core/engine/loopcheck.h"
#include "core/engine/numtext.h"
#include "core/io/manifoldcsv.h"
#include "core/io/manifoldfields.h"
#include "core/io/projectfile.h"
#include "core/wording/checkwording.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtConcurrent/QtConcurrentMap>

#include <array>
#include <numeric>
#include <vector>

namespace zorva::cli {

namespace {

// JSON keys of the result columns of manifoldCsvRow, in their order.
const std::array<const char*, 13> kResultKeys = {
    "returnTemp", "area",       "heatOutput", "floorTemp", "loopOutput", "flowKgh", "flowLpm",
    "velocity",   "resistance", "indexLoop",  "valveKpa",  "meterLpm",   "status"};

// JSON keys of the rules, in the order of Rule.
const std::array<const char*, kRuleCount> kRuleKeys = {
    "heatOutput", "floorTemp", "velocity", "resistance", "supplyTemp", "tempDiff", "loopLength"};

using Checks = std::array<RuleCheck, kRuleCount>;

// The loops' results with their checks and the overall verdict.
struct Computed {
    std::vector<LoopInput> loops;
    std::vector<LoopResult> results;
    std::vector<Checks> checks;
    ManifoldTotals totals;
    Verdict overall = Verdict::NotChecked;
    int failedLoops = 0;
};

QString fixed(double value, int decimals) {
    return QString::fromUtf8(patternText(value, decimals).view());
}

struct TotalItem {
    const char* key;
    const char* caption;
    QString text;
};

std::vector<TotalItem> totalItems(const io::ProjectData& project, const Computed& c) {
    const ManifoldTotals& t = c.totals;
    QString index;
    if (t.indexLoop)
        index = io::loopLabel(
            static_cast<int>(*t.indexLoop) + 1,
            QString::fromStdString(project.loops[qsizetype(*t.indexLoop)].input.name));
    return {
        {"loops", "环路数", QString::number(t.loops)},
        {"computed", "有结果的环路数", QString::number(t.computed)},
        {"area", "总面积(m²)", fixed(t.area, 2)},
        {"output", "总散热量(W)", fixed(t.output, 0)},
        {"flowKgh", "总流量(kg/h)", fixed(t.flowKgh, 0)},
        {"flowLpm", "总流量(l/min)", fixed(t.flowLpm, 2)},
        {"indexLoop", "最不利环路", index},
        {"maxResistance", "最大环路阻力(kPa)", fixed(t.maxResistance, 1)},
        {"pumpHeadKpa", "水泵扬程(kPa)", fixed(t.pumpHeadKpa, 1)},
        {"pumpHeadM", "水泵扬程(m)", fixed(t.pumpHeadM, 2)},
        {"verdict", "校核结论", verdictText(c.overall)},
        {"failedLoops", "不合格的环路数", QString::number(c.failedLoops)},
    };
}

bool loadEntered(const LoopInput& loop, const LoopResult& result) {
    return loop.loadW && result.converged() && result.area > 0;
}

QByteArray csvOutput(const io::ProjectData& project, const Computed& c, bool mark) {
    QList<QStringList> rows = io::manifoldCsvRows(project.manifold, c.loops, c.results);
    rows[0] << QStringLiteral("校核");
    for (std::size_t i = 0; i < c.loops.size(); ++i)
        rows[qsizetype(i) + 1] << verdictSummary(c.checks[i],
                                                 loadEntered(c.loops[i], c.results[i]));
    QStringList captions, values;
    for (const TotalItem& item : totalItems(project, c)) {
        captions << QString::fromUtf8(item.caption);
        values << item.text;
    }
    rows << QStringList{} << captions << values;
    return mark ? csv::csvBytes(rows) : csv::csvText(rows).toUtf8();
}

QJsonValue numberOrNull(const QString& text) {
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok ? QJsonValue(v) : QJsonValue();
}

QJsonValue finiteOrNull(double value) {
    return std::isfinite(value) ? QJsonValue(value) : QJsonValue();
}

// [{rule, name, value, unit, limit, verdict, …}], the rules that were checked.
QJsonArray checksJson(const Checks& checks, bool load) {
    QJsonArray array;
    for (const RuleCheck& c : checks) {
        if (c.verdict == Verdict::NotChecked)
            continue;
        QJsonObject o{{QStringLiteral("rule"), QLatin1String(kRuleKeys[std::size_t(c.rule)])},
                      {QStringLiteral("name"), ruleName(c)},
                      {QStringLiteral("value"), finiteOrNull(c.value)},
                      {QStringLiteral("shown"), ruleValueText(c)},
                      {QStringLiteral("unit"), ruleUnit(c)},
                      {QStringLiteral("limit"), finiteOrNull(c.limit)},
                      {QStringLiteral("requirement"), ruleLimitText(c, load)},
                      {QStringLiteral("source"), ruleSource(c)},
                      {QStringLiteral("verdict"), verdictText(c.verdict)}};
        if (c.rule == Rule::TempDiff)
            o.insert(QStringLiteral("lowLimit"), c.lowLimit);
        if (c.rule == Rule::HeatOutput)
            o.insert(QStringLiteral("highLimit"), c.highLimit);
        if (const QString advice = adviceText(c); !advice.isEmpty())
            o.insert(QStringLiteral("advice"), advice);
        array.append(o);
    }
    return array;
}

QByteArray jsonOutput(const io::ProjectData& project, const Computed& c,
                      const CheckLimits& limits) {
    QJsonObject manifold;
    for (int i = 0; i < io::kManifoldNumberCount; ++i)
        manifold.insert(QLatin1String(io::manifoldRanges()[i].key),
                        io::manifoldNumber(project.manifold, i));
    QJsonArray loopArray;
    const qsizetype firstResult = 1 + io::kLoopNumberCount + io::kManifoldNumberCount;
    for (std::size_t i = 0; i < c.loops.size(); ++i) {
        QJsonObject loop;
        loop.insert(QLatin1String(io::kLoopNameKey), QString::fromStdString(c.loops[i].name));
        for (int n = 0; n < io::kLoopNumberCount; ++n) {
            const std::optional<double> v = io::loopNumber(c.loops[i], n);
            loop.insert(QLatin1String(io::loopRanges()[n].key), v ? QJsonValue(*v) : QJsonValue());
        }
        const QStringList row = io::manifoldCsvRow(project.manifold, c.loops[i], &c.results[i]);
        for (std::size_t k = 0; k < kResultKeys.size(); ++k) {
            const QString cell = row.value(firstResult + qsizetype(k));
            const QLatin1String key(kResultKeys[k]);
            if (key == QLatin1String("indexLoop"))
                loop.insert(key, !cell.isEmpty());
            else if (key == QLatin1String("status"))
                loop.insert(key, cell);
            else
                loop.insert(key, numberOrNull(cell));
        }
        loop.insert(QStringLiteral("converged"), c.results[i].converged());
        const bool load = loadEntered(c.loops[i], c.results[i]);
        loop.insert(QStringLiteral("verdict"), verdictText(worstVerdict(c.checks[i])));
        loop.insert(QStringLiteral("checks"), checksJson(c.checks[i], load));
        loopArray.append(loop);
    }
    QJsonObject total;
    for (const TotalItem& item : totalItems(project, c)) {
        const QLatin1String key(item.key);
        if (key == QLatin1String("indexLoop"))
            total.insert(key, c.totals.indexLoop ? QJsonValue(qint64(*c.totals.indexLoop) + 1)
                                                 : QJsonValue());
        else if (key == QLatin1String("verdict"))
            total.insert(key, item.text);
        else
            total.insert(key, numberOrNull(item.text));
    }
    QJsonObject check{{QStringLiteral("category"), categoryName(limits.category)},
                      {QStringLiteral("categoryLimits"), categoryLimitText(limits.category)}};
    QJsonObject root{{QStringLiteral("manifold"), manifold},
                     {QStringLiteral("check"), check},
                     {QStringLiteral("loops"), loopArray},
                     {QStringLiteral("totals"), total}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

} // namespace

ProjectOutput runProject(const QByteArray& path, const QString& shownName, ProjectFormat format,
                         const CheckLimits& limits, const ProjectModes& modes) {
    ProjectOutput out;
    const Result<io::ProjectDocument> document =
        io::readProjectDocumentFile(path, shownName, io::FileKinds::Any);
    if (!document) {
        Problem problem = document.problem();
        problem.code = InputError;
        out.outcome = problem;
        return out;
    }
    const bool sheet = (!modes.method || *modes.method == method::Method::Program) &&
                       !modes.season && !modes.humidity && !modes.roomTemp;
    if (document->version != 1 || !sheet || format == ProjectFormat::Materials ||
        format == ProjectFormat::MaterialsWithMark)
        return runProjectDocument(*document, QFileInfo(QFile::decodeName(path)).absolutePath(),
                                  format, modes);
    const Result<io::ProjectData> read = io::sheetOf(document->project);
    if (!read) {
        Problem problem = read.problem();
        problem.code = InputError;
        out.outcome = problem;
        return out;
    }
    const io::ProjectData& project = *read;
    Computed c;
    c.loops.reserve(std::size_t(project.loops.size()));
    for (const io::ProjectLoop& loop : project.loops)
        c.loops.push_back(loop.input);
    c.results.resize(c.loops.size());
    c.checks.resize(c.loops.size());
    std::vector<std::size_t> indices(c.loops.size());
    std::iota(indices.begin(), indices.end(), std::size_t{0});
    QtConcurrent::blockingMap(indices, [&](std::size_t i) {
        c.results[i] = computeLoop(project.manifold, c.loops[i]);
        c.checks[i] = checkLoop(project.manifold, c.loops[i], c.results[i], limits);
    });
    out.loops = static_cast<qint64>(c.results.size());
    balance(c.results);
    c.totals = manifoldTotals(project.manifold, c.results);
    for (const Checks& checks : c.checks) {
        const Verdict v = worstVerdict(checks);
        c.overall = worseVerdict(c.overall, v);
        c.failedLoops += v == Verdict::Fail ? 1 : 0;
    }
    out.failedLoops = c.failedLoops;
    out.bytes = format == ProjectFormat::Json
                    ? jsonOutput(project, c, limits)
                    : csvOutput(project, c, format == ProjectFormat::CsvWithMark);
    if (c.totals.computed < c.totals.loops)
        out.outcome =
            stop(SomeNotComputed, QStringLiteral("%1 个环路出现运算错误或未收敛，见其“状态”")
                                      .arg(c.totals.loops - c.totals.computed));
    return out;
}

} // namespace zorva::cli
