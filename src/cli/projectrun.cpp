#include "cli/projectrun.h"

#include "core/csv/csvwriter.h"
#include "core/engine/numtext.h"
#include "core/io/manifoldcsv.h"
#include "core/io/manifoldfields.h"
#include "core/io/projectfile.h"

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

QString fixed(double value, int decimals) {
    return QString::fromUtf8(patternText(value, decimals).view());
}

struct TotalItem {
    const char* key;
    const char* caption;
    QString text;
};

std::vector<TotalItem> totalItems(const io::ProjectData& project, const ManifoldTotals& t) {
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
    };
}

QByteArray csvOutput(const io::ProjectData& project, const std::vector<LoopInput>& loops,
                     const std::vector<LoopResult>& results, const ManifoldTotals& totals,
                     bool mark) {
    QList<QStringList> rows = io::manifoldCsvRows(project.manifold, loops, results);
    QStringList captions, values;
    for (const TotalItem& item : totalItems(project, totals)) {
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

QByteArray jsonOutput(const io::ProjectData& project, const std::vector<LoopInput>& loops,
                      const std::vector<LoopResult>& results, const ManifoldTotals& totals) {
    QJsonObject manifold;
    for (int i = 0; i < io::kManifoldNumberCount; ++i)
        manifold.insert(QLatin1String(io::manifoldSpecs()[i].key),
                        io::manifoldNumber(project.manifold, i));
    QJsonArray loopArray;
    const qsizetype firstResult = 1 + io::kLoopNumberCount + io::kManifoldNumberCount;
    for (std::size_t i = 0; i < loops.size(); ++i) {
        QJsonObject loop;
        loop.insert(QLatin1String(io::kLoopNameKey), QString::fromStdString(loops[i].name));
        for (int n = 0; n < io::kLoopNumberCount; ++n) {
            const std::optional<double> v = io::loopNumber(loops[i], n);
            loop.insert(QLatin1String(io::loopSpecs()[n].key), v ? QJsonValue(*v) : QJsonValue());
        }
        const QStringList row = io::manifoldCsvRow(project.manifold, loops[i], &results[i]);
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
        loop.insert(QStringLiteral("converged"), results[i].converged());
        loopArray.append(loop);
    }
    QJsonObject total;
    for (const TotalItem& item : totalItems(project, totals)) {
        const QLatin1String key(item.key);
        if (key == QLatin1String("indexLoop"))
            total.insert(key, totals.indexLoop ? QJsonValue(qint64(*totals.indexLoop) + 1)
                                               : QJsonValue());
        else
            total.insert(key, numberOrNull(item.text));
    }
    QJsonObject root{{QStringLiteral("manifold"), manifold},
                     {QStringLiteral("loops"), loopArray},
                     {QStringLiteral("totals"), total}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

} // namespace

ProjectOutput runProject(const QByteArray& path, const QString& shownName, ProjectFormat format) {
    ProjectOutput out;
    const Result<io::ProjectData> read = io::readProjectFile(path, shownName, io::FileKinds::Any);
    if (!read) {
        Problem problem = read.problem();
        problem.code = InputError;
        out.outcome = problem;
        return out;
    }
    const io::ProjectData& project = *read;
    std::vector<LoopInput> loops;
    loops.reserve(std::size_t(project.loops.size()));
    for (const io::ProjectLoop& loop : project.loops)
        loops.push_back(loop.input);
    std::vector<LoopResult> results(loops.size());
    std::vector<std::size_t> indices(loops.size());
    std::iota(indices.begin(), indices.end(), std::size_t{0});
    QtConcurrent::blockingMap(
        indices, [&](std::size_t i) { results[i] = computeLoop(project.manifold, loops[i]); });
    out.loops = static_cast<qint64>(results.size());
    balance(results);
    const ManifoldTotals totals = manifoldTotals(project.manifold, results);
    out.bytes = format == ProjectFormat::Json ? jsonOutput(project, loops, results, totals)
                                              : csvOutput(project, loops, results, totals,
                                                          format == ProjectFormat::CsvWithMark);
    if (totals.computed < totals.loops)
        out.outcome =
            stop(SomeNotComputed, QStringLiteral("%1 个环路出现运算错误或未收敛，见其“状态”")
                                      .arg(totals.loops - totals.computed));
    return out;
}

} // namespace zorva::cli
