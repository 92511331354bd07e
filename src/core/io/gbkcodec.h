#pragma once
// Record files are GBK text. Qt converts GBK only when it was built with ICU
// (or iconv); a Qt without it would write empty records and read every file
// as empty, so the file commands ask first.

#include <QString>

namespace zorva::io {

// Empty when Qt can both encode and decode GBK; otherwise the reason, in
// Chinese, to show instead of saving or opening.
QString gbkCodecProblem();

} // namespace zorva::io
