// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/curves/chartexport.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPainter>
#include <QPixmap>
#include <QSvgGenerator>
#include <QWidget>

namespace zorva::ui {

ChartFormat chartFormatFor(QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("svg"))
        return ChartFormat::Svg;
    if (suffix != QLatin1String("png"))
        fileName += QStringLiteral(".png");
    return ChartFormat::Png;
}

QByteArray chartPng(QWidget& view) {
    const QPixmap picture = view.grab();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (picture.isNull() || !buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "PNG"))
        return {};
    return bytes;
}

QByteArray chartSvg(QWidget& view, const QString& title) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return {};
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(view.size());
    generator.setViewBox(QRect(QPoint(0, 0), view.size()));
    generator.setTitle(title);
    generator.setDescription(QStringLiteral("Zorva 特性曲线"));
    QPainter painter;
    if (!painter.begin(&generator))
        return {};
    view.render(&painter);
    painter.end();
    return bytes;
}

} // namespace zorva::ui
