// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A chart as file bytes: PNG of what the view shows, or SVG drawn through
// Qt SVG, both rendered into memory so that the file is written whole
// through the safe save path.

#include <QByteArray>
#include <QString>

class QWidget;

namespace zorva::ui {

enum class ChartFormat { Png, Svg };

// The format a file name asks for by its suffix; a name without ".png" or
// ".svg" gets ".png" appended and is saved as PNG.
ChartFormat chartFormatFor(QString& fileName);

// Empty when the picture could not be made.
QByteArray chartPng(QWidget& view);
QByteArray chartSvg(QWidget& view, const QString& title);

} // namespace zorva::ui
