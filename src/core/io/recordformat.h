// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The calculation record: a short GBK text summary of one calculation, and
// the field-by-field reading of such a file back into text.
//
// A record is eight lines, each ending in CR LF:
//
//     Zorva程序：
//     室内温度18.0℃
//     供水温度50.0℃
//     回水温度40.0℃
//     单位面积散热量92.6W/平米
//     地面平均温度27.1℃
//     (empty)
//     (empty)

#include <QByteArray>
#include <QString>

namespace zorva::io {

// The text the save command keeps in the record buffer: lines 1 to 7, each
// followed by CR LF. Numbers are written with one decimal, rounded half away
// from zero. The float heat output is written from its value widened to
// double, as the result field shows it.
QString composeRecord(double roomTemp, double supplyTemp, double returnTemp, float heatOutput,
                      double surfaceTemp);

// The bytes of a record file: the buffer in GBK followed by the CR LF that
// closes line 8.
QByteArray recordFileBytes(const QString& buffer);

// Reads a text file's bytes the way the open command fills the record
// buffer: the bytes are decoded as GBK (bytes that are not GBK become
// replacement characters) and read field by field, each field appended to
// the result followed by CR LF. The rules of one read:
//
// - The end of the text is tested before every read: an empty text gives no
//   field, and so do blanks after the last delimiter.
// - Spaces before a field are skipped.
// - A field that begins with a double quotation mark runs to the next double
//   quotation mark (or to the end of the text when there is none); commas and
//   line ends between the marks belong to the field, the marks do not. Text
//   after the closing mark up to the next delimiter is dropped.
// - Any other field runs to the next comma, line end or the end of the text.
// - The comma or line end that ends a field is consumed with it. CR LF is one
//   line end; a CR or LF on its own is one line end too.
// - An empty line, or a comma right after another delimiter, is an empty
//   field, which appends only CR LF.
//
// A record written by the save command reads back as the file's own text.
QString readRecordFields(const QByteArray& bytes);

} // namespace zorva::io
