#include "core/io/manifoldcsv.h"

#include "core/csv/csvtable.h"
#include "core/engine/numtext.h"
#include "core/io/manifoldfields.h"

#include <QFile>

#include <cmath>

namespace zorva::io {

namespace {

const char* const kResultCaptions[] = {
    "回水温度(℃)",   "面积(m²)",   "单位面积散热量(W/m²)", "地面平均温度(℃)",
    "环路散热量(W)", "流量(kg/h)", "流量(l/min)",          "流速(m/s)",
    "阻力(kPa)",     "最不利环路", "阀门附加压力(kPa)",    "流量计设定(l/min)",
    "状态",
};

QString general(double value) {
    return std::isfinite(value) ? QString::fromUtf8(generalText(value).view()) : QString();
}

QString fixed(double value, int decimals) {
    return std::isfinite(value) ? QString::fromUtf8(patternText(value, decimals).view())
                                : QString();
}

// A name a spreadsheet program would run as a formula (after any leading
// apostrophes, it starts with = + - or @) is written after one more
// apostrophe, which the import drops again.
bool formulaLike(const QString& name) {
    qsizetype i = 0;
    while (i < name.size() && name[i] == u'\'')
        ++i;
    return i < name.size() && QStringLiteral("=+-@").contains(name[i]);
}

QString nameCell(const QString& name) {
    return formulaLike(name) ? u'\'' + name : name;
}

QString nameFromCell(const QString& cell) {
    const QString name = cell.trimmed();
    return formulaLike(name) && name.startsWith(u'\'') ? name.mid(1) : name;
}

bool headerMatches(const QString& cell, const NumberSpec& numberField) {
    const QString c = cell.trimmed();
    return c == numberField.caption() || c == QString::fromUtf8(numberField.name);
}

QString rowLabel(int line, const QString& name) {
    const QString label = QStringLiteral("第 %1 行").arg(line);
    return name.isEmpty() ? label : label + QStringLiteral("（环路“%1”）").arg(name);
}

// Reads one number cell. Returns false with `error` set on a bad value.
bool readNumber(const QString& cell, const NumberSpec& numberField, std::optional<double>& value,
                QString& error) {
    const QString text = cell.trimmed();
    value.reset();
    if (text.isEmpty()) {
        if (!numberField.optional)
            error = QStringLiteral("“%1”为空").arg(QString::fromUtf8(numberField.name));
        return numberField.optional;
    }
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v)) {
        error = QStringLiteral("“%1”不是数字：%2").arg(QString::fromUtf8(numberField.name), text);
        return false;
    }
    if (!inRange(numberField, v)) {
        error = rangeMessage(numberField, v);
        return false;
    }
    value = v;
    return true;
}

} // namespace

QStringList manifoldCsvHeader() {
    QStringList header{QString::fromUtf8(kLoopNameCaption)};
    for (const NumberSpec& numberField : loopSpecs())
        header << numberField.caption();
    for (const NumberSpec& numberField : manifoldSpecs())
        header << numberField.caption();
    for (const char* caption : kResultCaptions)
        header << QString::fromUtf8(caption);
    return header;
}

QString loopStatusText(const LoopResult& r) {
    switch (r.run.status) {
    case RunStatus::Converged:
        return QStringLiteral("完成");
    case RunStatus::NotConverged:
        return QStringLiteral("未收敛");
    case RunStatus::Faulted:
        break;
    }
    switch (r.run.fault) {
    case Fault::DivisionByZero:
        return QStringLiteral("运算错误：除数为零");
    case Fault::Overflow:
        return QStringLiteral("运算错误：数值溢出");
    case Fault::InvalidPower:
        return QStringLiteral("运算错误：乘方没有实数结果");
    case Fault::InvalidLogarithm:
        return QStringLiteral("运算错误：对数的真数不是正数");
    }
    return QString();
}

QStringList manifoldCsvCells(const ManifoldInput& manifold) {
    QStringList cells;
    for (int i = 0; i < kManifoldNumberCount; ++i)
        cells << general(manifoldNumber(manifold, i));
    return cells;
}

QStringList manifoldCsvRow(const ManifoldInput& manifold, const LoopInput& loop,
                           const LoopResult* r) {
    return manifoldCsvRow(manifold, loop, r, manifoldCsvCells(manifold));
}

QStringList manifoldCsvRow(const ManifoldInput& manifold, const LoopInput& loop,
                           const LoopResult* r, const QStringList& manifoldCells) {
    QStringList row{nameCell(QString::fromStdString(loop.name))};
    row.reserve(1 + kLoopNumberCount + kManifoldNumberCount +
                static_cast<qsizetype>(std::size(kResultCaptions)));
    for (int i = 0; i < kLoopNumberCount; ++i) {
        const std::optional<double> v = loopNumber(loop, i);
        row << (v ? general(*v) : QString());
    }
    row << manifoldCells;
    if (!r || !r->converged()) {
        for (std::size_t i = 0; i + 1 < std::size(kResultCaptions); ++i)
            row << QString();
        row << (r ? loopStatusText(*r) : QString());
        return row;
    }
    row << general(manifold.supplyTemp - r->tempDiff) << fixed(r->area, 2)
        << fixed(r->heatOutput, 1) << fixed(r->floorTemp, 1) << fixed(r->loopOutput, 0)
        << fixed(r->flowKgh, 0) << fixed(r->flowLpm, 2) << fixed(r->velocity, 2)
        << fixed(r->resistance, 1) << (r->indexLoop ? QStringLiteral("是") : QString())
        << (r->valveKpa ? fixed(*r->valveKpa, 1) : QString())
        << (r->meterLpm ? fixed(*r->meterLpm, 2) : QString()) << loopStatusText(*r);
    return row;
}

QList<QStringList> manifoldCsvRows(const ManifoldInput& manifold, std::span<const LoopInput> loops,
                                   std::span<const LoopResult> results) {
    QList<QStringList> rows{manifoldCsvHeader()};
    rows.reserve(static_cast<qsizetype>(loops.size()) + 1);
    for (std::size_t i = 0; i < loops.size(); ++i)
        rows << manifoldCsvRow(manifold, loops[i], i < results.size() ? &results[i] : nullptr);
    return rows;
}

QString mapCsvHeader(const QStringList& header, CsvColumns& columns) {
    columns = CsvColumns{};
    const auto claim = [&](int& slot, int column, const QString& caption) {
        if (slot >= 0)
            return QStringLiteral("第 1 行：“%1”一列出现了两次").arg(caption);
        slot = column;
        return QString();
    };
    for (int c = 0; c < header.size(); ++c) {
        QString error;
        if (header[c].trimmed() == QString::fromUtf8(kLoopNameCaption))
            error = claim(columns.name, c, QString::fromUtf8(kLoopNameCaption));
        for (int i = 0; i < kLoopNumberCount && error.isEmpty(); ++i)
            if (headerMatches(header[c], loopSpecs()[i]))
                error = claim(columns.loop[i], c, QString::fromUtf8(loopSpecs()[i].name));
        for (int i = 0; i < kManifoldNumberCount && error.isEmpty(); ++i)
            if (headerMatches(header[c], manifoldSpecs()[i]))
                error = claim(columns.manifold[i], c, QString::fromUtf8(manifoldSpecs()[i].name));
        if (!error.isEmpty())
            return error;
    }
    for (int i = 0; i < kLoopNumberCount; ++i)
        if (columns.loop[i] < 0 && !loopSpecs()[i].optional)
            return QStringLiteral("第 1 行：缺少“%1”一列").arg(loopSpecs()[i].caption());
    return QString();
}

QString readCsvDesignRow(const CsvColumns& columns, const QStringList& cells, int line,
                         const ManifoldInput& base, CsvDesignRow& out) {
    const auto cell = [&](int column) {
        return column >= 0 && column < cells.size() ? cells[column] : QString();
    };
    out = CsvDesignRow{};
    out.line = line;
    out.manifold = base;
    const QString name = nameFromCell(cell(columns.name));
    if (name.size() > kMaxLoopNameLength)
        return QStringLiteral("%1：环路名称超过 %2 个字符")
            .arg(rowLabel(line, name.left(20) + QStringLiteral("…")))
            .arg(kMaxLoopNameLength);
    out.loop.name = name.toStdString();
    QString error;
    for (int i = 0; i < kLoopNumberCount; ++i) {
        if (columns.loop[i] < 0)
            continue;
        std::optional<double> v;
        if (!readNumber(cell(columns.loop[i]), loopSpecs()[i], v, error))
            return rowLabel(line, name) + QStringLiteral("：") + error;
        setLoopNumber(out.loop, i, v);
    }
    for (int i = 0; i < kManifoldNumberCount; ++i) {
        if (columns.manifold[i] < 0 || cell(columns.manifold[i]).trimmed().isEmpty())
            continue;
        std::optional<double> v;
        if (!readNumber(cell(columns.manifold[i]), manifoldSpecs()[i], v, error))
            return rowLabel(line, name) + QStringLiteral("：") + error;
        manifoldNumber(out.manifold, i) = *v;
    }
    return QString();
}

LoopCsvImport importLoopsCsv(const QByteArray& bytes, const ManifoldInput& base) {
    LoopCsvImport result;
    const CsvTable table = readCsv(bytes);
    result.encoding = table.encoding;
    if (!table.ok) {
        result.error = table.error;
        return result;
    }
    const auto blank = [](const QStringList& row) {
        for (const QString& cell : row)
            if (!cell.trimmed().isEmpty())
                return false;
        return true;
    };
    qsizetype first = 0;
    while (first < table.rows.size() && blank(table.rows[first]))
        ++first;
    if (first == table.rows.size()) {
        result.error = QStringLiteral("文件中没有表头和数据");
        return result;
    }
    CsvColumns columns;
    result.error = mapCsvHeader(table.rows[first], columns);
    if (!result.error.isEmpty()) {
        result.error.replace(QStringLiteral("第 1 行"),
                             QStringLiteral("第 %1 行").arg(table.lines[first]));
        return result;
    }
    for (qsizetype r = first + 1; r < table.rows.size(); ++r) {
        if (blank(table.rows[r]))
            continue;
        CsvDesignRow row;
        result.error = readCsvDesignRow(columns, table.rows[r], table.lines[r], base, row);
        if (!result.error.isEmpty()) {
            result.rows.clear();
            return result;
        }
        result.rows.append(std::move(row));
    }
    result.ok = true;
    return result;
}

LoopCsvImport importLoopsCsvFile(const QString& path, const ManifoldInput& base) {
    LoopCsvImport result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QStringLiteral("不能打开 CSV 文件：%1").arg(file.errorString());
        return result;
    }
    if (file.size() > kMaxCsvBytes) {
        result.error = QStringLiteral("文件太大（超过 16 MiB），不能读取");
        return result;
    }
    const QByteArray bytes = file.read(kMaxCsvBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        result.error = QStringLiteral("读取 CSV 文件失败：%1").arg(file.errorString());
        return result;
    }
    return importLoopsCsv(bytes, base);
}

} // namespace zorva::io
