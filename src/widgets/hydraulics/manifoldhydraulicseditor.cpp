// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/hydraulics/manifoldhydraulicseditor.h"

#include "core/io/projectmanifolds.h"
#include "core/io/valvefile.h"
#include "models/hydraulics/hydraulicstexts.h"
#include "models/project/projectdocument.h"
#include "models/project/projecttexts.h"
#include "widgets/common/uikit.h"
#include "widgets/common/valuelabel.h"
#include "widgets/dialogs/dialogseam.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace zorva::ui {

namespace {

using models::settingNumber;

// A field, its caption with the unit, and the range the project file reads.
struct FieldRange {
    const char* name;
    const char* caption;
    double low;
    double high;
};

constexpr FieldRange kFields[] = {
    {"connectionDrop", "连接管压降(kPa)", 0, 1000},
    {"pipeLength", "连接管单程长度(m)", 0, 10000},
    {"pipeDiameter", "连接管内径(mm)", 5, 1000},
    {"pipeLoss", "连接管局部阻力系数之和", 0, 1000},
    {"bodyKv", "分集水器本体 kv(m³/h)", 0.01, 1000},
    {"barDiameter", "分集水器内径(mm)", 5, 1000},
    {"meterMin", "流量计量程下限(l/min)", 0, 1000},
    {"meterMax", "流量计量程上限(l/min)", 0, 1000},
    {"primaryTemp", "一次侧供水温度(℃)", 0, 100},
    {"authority", "目标阀权度", 0.01, 0.99},
    {"primaryDrop", "一次侧变流量管路压降(kPa)", 0.01, 1000},
};

const FieldRange* rangeOf(const QString& name) {
    for (const FieldRange& f : kFields)
        if (name == QLatin1String(f.name))
            return &f;
    return nullptr;
}

} // namespace

QString pumpCurveText(const std::vector<hydraulics::PumpCurvePoint>& curve) {
    QStringList points;
    for (const hydraulics::PumpCurvePoint& p : curve)
        points << settingNumber(p.flowM3h) + u':' + settingNumber(p.headKpa);
    return points.join(QStringLiteral("; "));
}

std::optional<std::vector<hydraulics::PumpCurvePoint>> pumpCurveFromText(const QString& text) {
    std::vector<hydraulics::PumpCurvePoint> curve;
    for (const QString& point : text.split(u';', Qt::SkipEmptyParts)) {
        if (point.trimmed().isEmpty())
            continue;
        const QStringList parts = point.split(u':');
        if (parts.size() != 2)
            return std::nullopt;
        const std::optional<double> flow = models::cellNumber(parts[0]);
        const std::optional<double> head = models::cellNumber(parts[1]);
        if (!flow || !head || *flow < 0 || *head < 0 || *flow > 1e4 || *head > 1e4 ||
            (!curve.empty() && !(*flow > curve.back().flowM3h)))
            return std::nullopt;
        curve.push_back({*flow, *head});
    }
    if (curve.size() == 1 || curve.size() > hydraulics::kMaxPumpCurvePoints)
        return std::nullopt;
    return curve;
}

ManifoldHydraulicsEditor::ManifoldHydraulicsEditor(models::ProjectDocument& document,
                                                   DialogSeam& dialogs, QWidget* parent)
    : QMainWindow(parent), document_(document), dialogs_(dialogs) {
    setUpWindow(*this, QStringLiteral("manifoldHydraulicsEditor"),
                QStringLiteral("分集水器水力参数"));
    setAccessibleName(QStringLiteral("分集水器水力参数"));
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    auto* form = new QFormLayout;
    manifold_ = new QComboBox;
    manifold_->setObjectName(QStringLiteral("hydraulicsManifold"));
    manifold_->setAccessibleName(QStringLiteral("分集水器"));
    form->addRow(QStringLiteral("分集水器"), manifold_);

    valveSource_ = new QComboBox;
    valveSource_->setObjectName(QStringLiteral("valveSource"));
    valveSource_->setAccessibleName(QStringLiteral("阀门特性"));
    valveSource_->addItem(QStringLiteral("通用特性（示意，非任何产品）"),
                          int(project::ValveSource::Generic));
    valveSource_->addItem(QStringLiteral("阀门文件"), int(project::ValveSource::File));
    valveFile_ = new QLineEdit;
    valveFile_->setObjectName(QStringLiteral("valveFile"));
    valveFile_->setAccessibleName(QStringLiteral("阀门文件"));
    valveFile_->setReadOnly(true);
    auto* choose = new QPushButton(QStringLiteral("选择…"));
    choose->setObjectName(QStringLiteral("chooseValveFile"));
    choose->setAccessibleName(QStringLiteral("选择阀门文件"));
    auto* valveRow = new QHBoxLayout;
    valveRow->addWidget(valveSource_);
    valveRow->addWidget(valveFile_, 1);
    valveRow->addWidget(choose);
    form->addRow(QStringLiteral("阀门特性"), valveRow);

    const auto addField = [&](const FieldRange& f) {
        auto* edit = new QLineEdit;
        edit->setObjectName(QLatin1String(f.name));
        edit->setAccessibleName(QString::fromUtf8(f.caption));
        edit->setAccessibleDescription(
            QStringLiteral("%1 至 %2").arg(settingNumber(f.low), settingNumber(f.high)));
        makeNumberField(edit);
        form->addRow(QString::fromUtf8(f.caption), edit);
    };
    addField(kFields[0]);
    pipes_ = new QCheckBox(QStringLiteral("按连接管计算压降（替代输入的压降）"));
    pipes_->setObjectName(QStringLiteral("connectionPipes"));
    form->addRow(pipes_);
    for (int i = 1; i < 8; ++i)
        addField(kFields[i]);
    pumpCurve_ = new QLineEdit;
    pumpCurve_->setObjectName(QStringLiteral("pumpCurve"));
    pumpCurve_->setAccessibleName(QStringLiteral("水泵曲线"));
    pumpCurve_->setAccessibleDescription(QStringLiteral(
        "流量 m³/h : 扬程 kPa，点间以分号分隔，流量递增，2 至 100 点；空白为不校核"));
    pumpCurve_->setPlaceholderText(QStringLiteral("0:60; 1.5:45; 3:12.5"));
    form->addRow(QStringLiteral("水泵曲线"), pumpCurve_);
    mixing_ = new QCheckBox(QStringLiteral("混水装置"));
    mixing_->setObjectName(QStringLiteral("mixingStation"));
    form->addRow(mixing_);
    for (int i = 8; i < 11; ++i)
        addField(kFields[i]);
    inPump_ = new QCheckBox(QStringLiteral("混水阀在循环泵回路中"));
    inPump_->setObjectName(QStringLiteral("valveInPumpCircuit"));
    form->addRow(inPump_);
    layout->addLayout(form);
    auto* apply = new QPushButton(QStringLiteral("应用"));
    apply->setObjectName(QStringLiteral("applyHydraulics"));
    apply->setAccessibleName(QStringLiteral("应用水力参数"));
    layout->addWidget(apply, 0, Qt::AlignRight);
    setCentralWidget(central);
    status_ = new ValueLabel(QStringLiteral("水力参数状态"));
    status_->setObjectName(QStringLiteral("hydraulicsStatus"));
    statusBar()->addWidget(status_, 1);

    connect(apply, &QPushButton::clicked, this, [this] { this->apply(); });
    connect(choose, &QPushButton::clicked, this, [this] { chooseValveFile(); });
    connect(manifold_, &QComboBox::activated, this, &ManifoldHydraulicsEditor::showManifold);
    connect(&document_, &models::ProjectDocument::manifoldChanged, this, [this](int index) {
        if (index == manifold_->currentIndex())
            showManifold();
    });
    connect(&document_, &models::ProjectDocument::roomsReset, this,
            &ManifoldHydraulicsEditor::refreshManifolds);
    refreshManifolds();
}

void ManifoldHydraulicsEditor::refreshManifolds() {
    const int current = std::max(manifold_->currentIndex(), 0);
    manifold_->clear();
    const project::Project& p = document_.project();
    for (std::size_t i = 0; i < p.manifolds.size(); ++i)
        manifold_->addItem(io::manifoldLabel(i, p.manifolds[i].name));
    manifold_->setCurrentIndex(std::min(current, manifold_->count() - 1));
    showManifold();
}

QLineEdit* ManifoldHydraulicsEditor::field(const QString& objectName) const {
    return findChild<QLineEdit*>(objectName);
}

void ManifoldHydraulicsEditor::showManifold() {
    const int index = manifold_->currentIndex();
    if (index < 0 || std::size_t(index) >= document_.project().manifolds.size())
        return;
    const project::ManifoldHydraulicsInputs& h =
        document_.project().manifolds[std::size_t(index)].hydraulics;
    const auto set = [this](const char* name, std::optional<double> v) {
        field(QLatin1String(name))->setText(v ? settingNumber(*v) : QString());
    };
    const bool file = h.valve.source == project::ValveSource::File;
    valveSource_->setCurrentIndex(valveSource_->findData(
        int(file ? project::ValveSource::File : project::ValveSource::Generic)));
    // A product table kept in the project stays as it is unless the
    // source is changed here.
    if (h.valve.source == project::ValveSource::Table)
        valveSource_->setCurrentIndex(-1);
    valveFile_->setText(QString::fromStdString(h.valve.file));
    fileTable_ = h.valve.table;
    set("connectionDrop", h.connectionDropKpa);
    pipes_->setChecked(h.pipes.has_value());
    const project::ConnectionPipeInput pipes = h.pipes.value_or(project::ConnectionPipeInput{});
    set("pipeLength", h.pipes ? std::optional(pipes.lengthOneWay) : std::nullopt);
    set("pipeDiameter", h.pipes ? std::optional(pipes.innerDiameter * 1000) : std::nullopt);
    set("pipeLoss", h.pipes ? std::optional(pipes.lossCoefficients) : std::nullopt);
    set("bodyKv", h.bodyKv);
    set("barDiameter", h.barInnerDiameter * 1000);
    set("meterMin", h.meterRange ? std::optional(h.meterRange->min) : std::nullopt);
    set("meterMax", h.meterRange ? std::optional(h.meterRange->max) : std::nullopt);
    pumpCurve_->setText(pumpCurveText(h.pumpCurve));
    mixing_->setChecked(h.mixing.has_value());
    const project::MixingStationInput mixing = h.mixing.value_or(project::MixingStationInput{});
    set("primaryTemp", mixing.primarySupplyTemp);
    set("authority", mixing.authority);
    set("primaryDrop", mixing.primaryVariableDropKpa);
    inPump_->setChecked(mixing.valveInPumpCircuit);
    status_->clear();
}

std::optional<project::ManifoldHydraulicsInputs> ManifoldHydraulicsEditor::inputs() {
    const int index = manifold_->currentIndex();
    if (index < 0 || std::size_t(index) >= document_.project().manifolds.size())
        return std::nullopt;
    project::ManifoldHydraulicsInputs h =
        document_.project().manifolds[std::size_t(index)].hydraulics;
    QString fault;
    // The number of a field within its range; empty text gives `fallback`.
    const auto number = [&](const char* name, std::optional<double> fallback) {
        const FieldRange* range = rangeOf(QLatin1String(name));
        const QString text = field(QLatin1String(name))->text().trimmed();
        const std::optional<double> v = models::cellNumber(text);
        if (text.isEmpty() && fallback)
            return *fallback;
        if (!v || *v < range->low || *v > range->high) {
            if (fault.isEmpty())
                fault = QStringLiteral("“%1”应是 %2 至 %3 之间的数")
                            .arg(QString::fromUtf8(range->caption), settingNumber(range->low),
                                 settingNumber(range->high));
            return range->low;
        }
        return *v;
    };
    switch (project::ValveSource(valveSource_->currentData().toInt())) {
    case project::ValveSource::Generic:
        if (valveSource_->currentIndex() >= 0)
            h.valve = {};
        break;
    case project::ValveSource::File:
        if (valveFile_->text().isEmpty())
            fault = QStringLiteral("请选择阀门文件");
        h.valve.source = project::ValveSource::File;
        h.valve.file = valveFile_->text().toStdString();
        h.valve.table = fileTable_;
        break;
    case project::ValveSource::Table:
        break;
    }
    h.connectionDropKpa = number("connectionDrop", 0.0);
    if (pipes_->isChecked())
        h.pipes = project::ConnectionPipeInput{number("pipeLength", std::nullopt),
                                               number("pipeDiameter", std::nullopt) / 1000,
                                               number("pipeLoss", 0.0)};
    else
        h.pipes.reset();
    h.bodyKv = number("bodyKv", 5.0);
    h.barInnerDiameter = number("barDiameter", 25.0) / 1000;
    const bool meter = !field(QStringLiteral("meterMin"))->text().trimmed().isEmpty() ||
                       !field(QStringLiteral("meterMax"))->text().trimmed().isEmpty();
    if (meter) {
        h.meterRange = hydraulics::MeterRange{number("meterMin", std::nullopt),
                                              number("meterMax", std::nullopt)};
        if (fault.isEmpty() && !(h.meterRange->max > h.meterRange->min))
            fault = QStringLiteral("流量计量程的上限应大于下限");
    } else {
        h.meterRange.reset();
    }
    const std::optional<std::vector<hydraulics::PumpCurvePoint>> curve =
        pumpCurveFromText(pumpCurve_->text());
    if (!curve && fault.isEmpty())
        fault = QStringLiteral("水泵曲线应是 2 至 100 个“流量:扬程”点，流量递增，数值不超过 10000");
    h.pumpCurve = curve.value_or(std::vector<hydraulics::PumpCurvePoint>{});
    if (mixing_->isChecked())
        h.mixing = project::MixingStationInput{number("primaryTemp", std::nullopt),
                                               number("authority", 0.5), number("primaryDrop", 5.0),
                                               inPump_->isChecked()};
    else
        h.mixing.reset();
    if (!fault.isEmpty()) {
        status_->setText(fault);
        return std::nullopt;
    }
    return h;
}

bool ManifoldHydraulicsEditor::apply() {
    const std::optional<project::ManifoldHydraulicsInputs> h = inputs();
    if (!h)
        return false;
    const int index = manifold_->currentIndex();
    project::Manifold manifold = document_.project().manifolds[std::size_t(index)];
    manifold.hydraulics = *h;
    document_.setManifold(index, manifold,
                          QStringLiteral("修改水力参数（%1）").arg(manifold_->currentText()));
    status_->setText(QStringLiteral("已应用"));
    return true;
}

bool ManifoldHydraulicsEditor::chooseValveFile() {
    const QString chosen =
        dialogs_.openFileName(this, QStringLiteral("阀门文件 (*.csv *.json)"), valveFile_->text());
    if (chosen.isEmpty())
        return false;
    const io::ValveFileRead read = io::readValveFilePath(chosen);
    if (!read) {
        dialogs_.message(this, QMessageBox::Warning, QStringLiteral("阀门文件"),
                         QStringLiteral("无法读取阀门文件“%1”：\r\n%2").arg(chosen, read.error()));
        return false;
    }
    // Kept relative to the project's folder when the project has one.
    const QString folder = QFileInfo(document_.fileName()).absolutePath();
    valveFile_->setText(document_.fileName().isEmpty() ? chosen
                                                       : QDir(folder).relativeFilePath(chosen));
    fileTable_ = *read;
    valveSource_->setCurrentIndex(valveSource_->findData(int(project::ValveSource::File)));
    status_->setText(QStringLiteral("阀门：%1").arg(QString::fromStdString(read->name)));
    return true;
}

} // namespace zorva::ui
