// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/manifoldcsv.h"

#include "core/csv/csvreader.h"
#include "core/csv/csvwriter.h"
#include "core/engine/numtext.h"
#include "core/io/csvcells.h"
#include "core/io/fileread.h"
#include "core/io/manifoldfields.h"

#include <algorithm>
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

QString rowLabel(int line, const QString& name) {
    const QString label = QStringLiteral("第 %1 行").arg(line);
    return name.isEmpty() ? label : label + QStringLiteral("（环路“%1”）").arg(name);
}

} // namespace

QStringList manifoldCsvHeader() {
    QStringList header{QString::fromUtf8(kLoopNameCaption)};
    for (const NumberRange& numberField : loopRanges())
        header << numberField.caption();
    for (const NumberRange& numberField : manifoldRanges())
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

Result<QByteArray> manifoldCsvFileBytes(const QList<QStringList>& rows) {
    if (rows.size() > kMaxLoops + 1)
        return Problem{QStringLiteral("表中有 %1 个环路，超过 %2 个，不能导出")
                           .arg(rows.size() - 1)
                           .arg(kMaxLoops),
                       {}};
    QByteArray bytes = csv::csvBytes(rows);
    if (bytes.size() > kMaxCsvImportBytes)
        return Problem{QStringLiteral("导出的表超过 %1 MiB，将不能再导入，未导出")
                           .arg(kMaxCsvImportBytes >> 20),
                       {}};
    return bytes;
}

namespace {

QString quotedList(const QStringList& items) {
    QStringList quoted;
    for (const QString& item : items)
        quoted << QStringLiteral("“%1”").arg(item);
    return quoted.join(u'、');
}

bool isResultCaption(const QString& cell) {
    return std::any_of(std::begin(kResultCaptions), std::end(kResultCaptions),
                       [&](const char* caption) { return cell == QString::fromUtf8(caption); });
}

bool allColumnsPresent(const CsvColumns& columns) {
    const auto present = [](int column) { return column >= 0; };
    return present(columns.name) &&
           std::all_of(columns.loop.begin(), columns.loop.end(), present) &&
           std::all_of(columns.manifold.begin(), columns.manifold.end(), present);
}

} // namespace

Result<CsvColumns> mapCsvHeader(const QStringList& header, int line) {
    CsvColumns columns;
    const QString where = QStringLiteral("第 %1 行：").arg(line);
    const auto claim = [&](int& slot, int column, const QString& caption) {
        if (slot >= 0)
            return where + QStringLiteral("“%1”一列出现了两次").arg(caption);
        slot = column;
        return QString();
    };
    for (int c = 0; c < header.size(); ++c) {
        QString error;
        bool known = false;
        if (header[c].trimmed() == QString::fromUtf8(kLoopNameCaption)) {
            known = true;
            error = claim(columns.name, c, QString::fromUtf8(kLoopNameCaption));
        }
        for (int i = 0; i < kLoopNumberCount && error.isEmpty(); ++i)
            if (headerMatches(header[c], loopRanges()[i])) {
                known = true;
                error = claim(columns.loop[i], c, QString::fromUtf8(loopRanges()[i].name));
            }
        for (int i = 0; i < kManifoldNumberCount && error.isEmpty(); ++i)
            if (headerMatches(header[c], manifoldRanges()[i])) {
                known = true;
                error = claim(columns.manifold[i], c, QString::fromUtf8(manifoldRanges()[i].name));
            }
        if (!error.isEmpty())
            return Problem{error, {}};
        const QString cell = header[c].trimmed();
        if (!known && !cell.isEmpty() && !isResultCaption(cell))
            columns.unrecognised << header[c];
    }
    for (int i = 0; i < kLoopNumberCount; ++i) {
        if (columns.loop[i] >= 0 || loopRanges()[i].optional)
            continue;
        QString message = where + QStringLiteral("缺少“%1”一列").arg(loopRanges()[i].caption());
        if (!columns.unrecognised.isEmpty())
            message += QStringLiteral("（未识别的列：%1）").arg(quotedList(columns.unrecognised));
        return Problem{message, {}};
    }
    return columns;
}

QString unreadColumnsNote(const CsvColumns& columns, int line) {
    if (columns.unrecognised.isEmpty() || allColumnsPresent(columns))
        return {};
    return QStringLiteral("第 %1 行：未识别的列%2未读取")
        .arg(line)
        .arg(quotedList(columns.unrecognised));
}

Result<CsvDesignRow> readCsvDesignRow(const CsvColumns& columns, const QStringList& cells, int line,
                                      const ManifoldInput& base) {
    const auto cell = [&](int column) {
        return column >= 0 && column < cells.size() ? cells[column] : QString();
    };
    CsvDesignRow out;
    out.line = line;
    out.manifold = base;
    const QString name = nameFromCell(cell(columns.name));
    if (name.size() > kMaxLoopNameLength)
        return Problem{QStringLiteral("%1：环路名称超过 %2 个字符")
                           .arg(rowLabel(line, name.left(20) + QStringLiteral("…")))
                           .arg(kMaxLoopNameLength),
                       {}};
    out.loop.name = name.toStdString();
    QString error;
    const auto fault = [&] {
        return Problem{rowLabel(line, name) + QStringLiteral("：") + error, {}};
    };
    for (int i = 0; i < kLoopNumberCount; ++i) {
        if (columns.loop[i] < 0)
            continue;
        std::optional<double> v;
        if (!readNumber(cell(columns.loop[i]), loopRanges()[i], v, error))
            return fault();
        setLoopNumber(out.loop, i, v);
    }
    for (int i = 0; i < kManifoldNumberCount; ++i) {
        if (columns.manifold[i] < 0 || cell(columns.manifold[i]).trimmed().isEmpty())
            continue;
        std::optional<double> v;
        if (!readNumber(cell(columns.manifold[i]), manifoldRanges()[i], v, error))
            return fault();
        manifoldNumber(out.manifold, i) = *v;
    }
    return out;
}

Result<LoopCsvImport> importLoopsCsv(QByteArrayView bytes, const ManifoldInput& base) {
    if (bytes.size() > kMaxCsvImportBytes)
        return Problem{
            QStringLiteral("文件太大（超过 %1 MiB），不能读取").arg(kMaxCsvImportBytes >> 20), {}};
    const Result<csv::TextStart> start = csv::detectEncoding(bytes);
    if (!start)
        return start.problem();
    const Result<QString> text = csv::decodeText(bytes.sliced(start->markBytes), start->encoding);
    if (!text)
        return text.problem();
    const auto blank = [](const QStringList& row) {
        return std::all_of(row.begin(), row.end(),
                           [](const QString& cell) { return cell.trimmed().isEmpty(); });
    };
    LoopCsvImport result;
    result.encoding = start->encoding;
    std::optional<CsvColumns> columns;
    csv::CsvRowReader reader;
    // The rows read so far; fails on the first bad one.
    const auto takeRows = [&]() -> Result<void> {
        if (reader.failed())
            return Problem{reader.error(), {}};
        QStringList row;
        int line = 0;
        while (reader.takeRow(row, line)) {
            if (blank(row))
                continue;
            if (!columns) {
                Result<CsvColumns> header = mapCsvHeader(row, line);
                if (!header)
                    return header.problem();
                columns = std::move(header).value();
                result.note = unreadColumnsNote(*columns, line);
                continue;
            }
            if (result.rows.size() == kMaxLoops)
                return Problem{QStringLiteral("第 %1 行：表中的环路超过 %2 个，不能导入")
                                   .arg(line)
                                   .arg(kMaxLoops),
                               {}};
            Result<CsvDesignRow> design = readCsvDesignRow(*columns, row, line, base);
            if (!design)
                return design.problem();
            result.rows.append(std::move(design).value());
        }
        return {};
    };
    // The text is read in pieces so that a table far longer than the sheet
    // may hold stops at its first row too many.
    constexpr qsizetype kPiece = 1 << 16;
    const QStringView all(*text);
    for (qsizetype at = 0; at < all.size(); at += kPiece) {
        reader.feed(all.sliced(at, std::min(kPiece, all.size() - at)));
        if (Result<void> taken = takeRows(); !taken)
            return taken.problem();
    }
    reader.finish();
    if (Result<void> taken = takeRows(); !taken)
        return taken.problem();
    if (!columns)
        return Problem{QStringLiteral("文件中没有表头和数据"), {}};
    return result;
}

Result<LoopCsvImport> importLoopsCsvFile(const QString& path, const ManifoldInput& base) {
    Result<QByteArray> bytes = readFileBytes(path, kMaxCsvImportBytes);
    if (!bytes) {
        Problem problem = bytes.problem();
        if (problem.code == TooLarge)
            problem.message = QStringLiteral("文件“%1”太大（超过 %2 MiB），不能读取")
                                  .arg(shownFileName(path))
                                  .arg(kMaxCsvImportBytes >> 20);
        return problem;
    }
    return importLoopsCsv(*bytes, base);
}

} // namespace zorva::io
