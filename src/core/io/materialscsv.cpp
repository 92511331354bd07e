// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/materialscsv.h"

#include "core/csv/csvwriter.h"
#include "core/csv/textencoding.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace zorva::io {

namespace {

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

QString numberText(double v) {
    return QString::number(v, 'g', 10);
}

} // namespace

QString materialName(materials::MaterialKind kind) {
    using K = materials::MaterialKind;
    switch (kind) {
    case K::Pipe:
        return QStringLiteral("加热管");
    case K::PipeRoll:
        return QStringLiteral("加热管整卷");
    case K::Manifold:
        return QStringLiteral("分集水器");
    case K::InsulationBoard:
        return QStringLiteral("绝热板");
    case K::EdgeStrip:
        return QStringLiteral("边界保温带");
    case K::PipeClip:
        return QStringLiteral("管卡");
    case K::Screed:
        return QStringLiteral("填充层");
    case K::Actuator:
        return QStringLiteral("电热执行器");
    case K::Thermostat:
        return QStringLiteral("房间温控器");
    }
    return {};
}

QList<QStringList> materialsCsvRows(const project::MaterialsResult& mat) {
    QList<QStringList> rows;
    rows.append({QStringLiteral("材料"), QStringLiteral("名称"), QStringLiteral("管材"),
                 QStringLiteral("规格"), QStringLiteral("数量"), QStringLiteral("单位")});
    for (const materials::MaterialItem& item : mat.bill.items)
        rows.append({QLatin1String(materials::materialKey(item.kind)), materialName(item.kind),
                     text(item.pipe), item.size > 0 ? numberText(item.size) : QString(),
                     numberText(item.quantity), QLatin1String(materials::unitKey(item.unit))});
    rows.append(QStringList{});
    rows.append({QStringLiteral("管材"), QStringLiteral("卷长(m)"), QStringLiteral("环路"),
                 QStringLiteral("余料(m)")});
    for (const materials::PipePlan& plan : mat.bill.pipes) {
        for (const materials::RollCut& roll : plan.cutting.rolls) {
            QStringList names;
            for (std::size_t i : roll.loops)
                if (i < plan.loops.size() && plan.loops[i] < mat.loopNames.size())
                    names << text(mat.loopNames[plan.loops[i]]);
            rows.append({text(plan.pipe), numberText(double(roll.rollMm) / 1000),
                         names.join(QStringLiteral("、")),
                         numberText(double(roll.offcutMm()) / 1000)});
        }
        for (std::size_t i : plan.cutting.unplaced)
            if (i < plan.loops.size() && plan.loops[i] < mat.loopNames.size())
                rows.append({text(plan.pipe), QStringLiteral("无卷可整根裁出"),
                             text(mat.loopNames[plan.loops[i]]), QString()});
    }
    return rows;
}

Result<QByteArray> csvFileBytes(const QList<QStringList>& rows, CsvEncoding encoding) {
    if (encoding == CsvEncoding::Utf8WithMark)
        return csv::csvBytes(rows);
    if (const QString problem = csv::gbkCodecProblem(); !problem.isEmpty())
        return Problem{problem, {}};
    const QString text = csv::csvText(rows);
    QStringEncoder encoder("GBK");
    const QByteArray bytes = encoder.encode(text);
    // A character GBK lacks would come back as another one: refuse rather
    // than write a table that reads back different.
    QStringDecoder decoder("GBK");
    const QString back = decoder.decode(bytes);
    if (encoder.hasError() || back != text) {
        qsizetype at = 0;
        while (at < text.size() && at < back.size() && text[at] == back[at])
            ++at;
        return Problem{QStringLiteral("表中的字符“%1”无法用 GBK 编码保存，请改用 UTF-8")
                           .arg(text.mid(at, text[at].isHighSurrogate() ? 2 : 1)),
                       {}};
    }
    return bytes;
}

} // namespace zorva::io
