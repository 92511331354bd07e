// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The bill of materials as a CSV table (docs/materials.md §4, docs/cli.md):
// a header row, one row per item, then after a blank row the cutting plan
// with one row per roll. zorva-calc --materials prints these rows, and the
// 材料表 window saves them as UTF-8 with its byte-order mark or as GBK,
// which Chinese spreadsheet programs open as they are.

#include "core/io/result.h"
#include "core/materials/bill.h"
#include "core/project/hydraulicsresult.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace zorva::io {

// The item's name in Chinese: 加热管, 加热管整卷, 分集水器 …
QString materialName(materials::MaterialKind kind);

QList<QStringList> materialsCsvRows(const project::MaterialsResult& materials);

enum class CsvEncoding { Utf8WithMark, Gbk };

// The rows as file bytes, each row ended by CR LF. Fails for GBK when a
// cell holds a character GBK cannot show (nothing is replaced silently).
Result<QByteArray> csvFileBytes(const QList<QStringList>& rows, CsvEncoding encoding);

} // namespace zorva::io
