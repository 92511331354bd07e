// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/project/projectwindow.h"

#include "core/method/method.h"
#include "models/project/envelopetablemodel.h"
#include "models/project/looptablemodel.h"
#include "models/project/projecttexts.h"
#include "models/project/roomtablemodel.h"
#include "widgets/common/resulttable.h"
#include "widgets/common/uikit.h"
#include "widgets/common/valuelabel.h"
#include "widgets/cooling/projectcoolingpanel.h"
#include "widgets/cooling/seasonbar.h"
#include "widgets/dialogs/dialogseam.h"
#include "widgets/dialogs/messages.h"
#include "widgets/project/projectreportactions.h"

#include <QAction>
#include <QComboBox>
#include <QCompleter>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace zorva::ui {

namespace {

QLabel* caption(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

} // namespace

ProjectWindow::ProjectWindow(DialogSeam& dialogs, QWidget* parent,
                             std::shared_ptr<const heatload::CityTable> cities)
    : QMainWindow(parent), dialogs_(dialogs),
      document_(std::make_unique<models::ProjectDocument>(std::move(cities))) {
    setUpWindow(*this, QStringLiteral("projectWindow"), QStringLiteral("项目"));
    setAccessibleName(QStringLiteral("项目（房间与环路）"));
    roomModel_ = new models::RoomTableModel(*document_, this);
    envelopeModel_ = new models::EnvelopeTableModel(*document_, this);
    breakdownModel_ = new models::LoadBreakdownModel(*document_, this);
    loopModel_ = new models::LoopTableModel(*document_, this);

    buildActions();
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(buildSettingsBar());
    auto* split = new QSplitter(Qt::Vertical);
    split->addWidget(buildRoomPanel());
    split->addWidget(buildLoopPanel());
    split->addWidget(new ProjectCoolingPanel(*document_));
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    split->setStretchFactor(2, 3);
    layout->addWidget(split, 1);
    setCentralWidget(central);
    status_ = new ValueLabel(QStringLiteral("计算状态"));
    status_->setObjectName(QStringLiteral("projectStatus"));
    statusBar()->addWidget(status_, 1);

    connect(document_.get(), &models::ProjectDocument::settingsChanged, this,
            &ProjectWindow::showSettings);
    connect(document_.get(), &models::ProjectDocument::resultChanged, this,
            &ProjectWindow::showResults);
    connect(document_.get(), &models::ProjectDocument::modifiedChanged, this,
            &ProjectWindow::updateTitle);
    connect(document_.get(), &models::ProjectDocument::fileNameChanged, this,
            &ProjectWindow::updateTitle);
    connect(document_.get(), &models::ProjectDocument::busyChanged, this, [this](bool busy) {
        status_->setText(busy ? QStringLiteral("正在计算…") : QStringLiteral("计算完成"));
    });
    connect(document_.get(), &models::ProjectDocument::roomsReset, this,
            &ProjectWindow::roomSelected);
    showSettings();
    refreshManifolds();
    updateTitle();
    resize(1280, 800);
}

// The tables' models read the document, which goes before the widget's own
// destructor hides a shown window and its views ask their models once more:
// hidden here, while the document is still there.
ProjectWindow::~ProjectWindow() {
    hide();
}

void ProjectWindow::buildActions() {
    auto* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    auto* edit = menuBar()->addMenu(QStringLiteral("编辑(&E)"));
    auto* bar = addToolBar(QStringLiteral("项目"));
    bar->setObjectName(QStringLiteral("projectToolBar"));
    bar->setAccessibleName(QStringLiteral("项目工具栏"));
    auto add = [this, bar](QMenu* menu, const char* name, const QString& text,
                           QKeySequence::StandardKey key, auto slot) {
        auto* action = new QAction(text, this);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, slot);
        menu->addAction(action);
        bar->addAction(action);
        return action;
    };
    add(file, "newProject", QStringLiteral("新建"), QKeySequence::New, [this] { newProject(); });
    add(file, "openProject", QStringLiteral("打开项目…"), QKeySequence::Open,
        [this] { openProject(); });
    add(file, "saveProject", QStringLiteral("保存"), QKeySequence::Save, [this] { saveProject(); });
    add(file, "saveProjectAs", QStringLiteral("另存为…"), QKeySequence::SaveAs,
        [this] { saveProjectAs(); });
    file->addSeparator();
    add(file, "importRooms", QStringLiteral("导入房间 CSV…"), QKeySequence::UnknownKey,
        [this] { importRooms(); });
    addReportActions(*this, *document_, dialogs_, *file);
    bar->addSeparator();
    QAction* undo = document_->undoStack().createUndoAction(this, QStringLiteral("撤销"));
    undo->setObjectName(QStringLiteral("undo"));
    undo->setShortcut(QKeySequence::Undo);
    QAction* redo = document_->undoStack().createRedoAction(this, QStringLiteral("重做"));
    redo->setObjectName(QStringLiteral("redo"));
    redo->setShortcut(QKeySequence::Redo);
    edit->addAction(undo);
    edit->addAction(redo);
    bar->addAction(undo);
    bar->addAction(redo);
    edit->addSeparator();
    bar->addSeparator();
    add(edit, "addRoom", QStringLiteral("添加房间"), QKeySequence::UnknownKey,
        [this] { addRoom(); });
    add(edit, "deleteRooms", QStringLiteral("删除房间"), QKeySequence::UnknownKey,
        [this] { deleteRooms(); });
    auto* view = menuBar()->addMenu(QStringLiteral("视图(&V)"));
    bar->addSeparator();
    add(view, "showPlan", QStringLiteral("平面布管图…"), QKeySequence::UnknownKey,
        [this] { showPlan(); });
    add(view, "showSeasons", QStringLiteral("供暖和供冷…"), QKeySequence::UnknownKey,
        [this] { showSeasons(); });
    addHydraulicsActions(file, view);
    connect(document_.get(), &models::ProjectDocument::resultChanged, this,
            &ProjectWindow::refreshViews);
}

QWidget* ProjectWindow::buildSettingsBar() {
    auto* bar = new QWidget;
    bar->setObjectName(QStringLiteral("settingsBar"));
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);

    loadMethod_ = new QComboBox;
    loadMethod_->setObjectName(QStringLiteral("loadMethod"));
    loadMethod_->setAccessibleName(QStringLiteral("负荷计算方法"));
    for (auto m :
         {project::LoadMethod::Typed, project::LoadMethod::Gb50736, project::LoadMethod::En12831})
        loadMethod_->addItem(models::loadMethodText(m), int(m));
    connect(loadMethod_, &QComboBox::activated, this, [this](int index) {
        project::Settings s = document_->project().settings;
        s.heatLoad.method = project::LoadMethod(loadMethod_->itemData(index).toInt());
        editSettings(s, QStringLiteral("负荷计算方法"));
    });

    city_ = new QComboBox;
    city_->setObjectName(QStringLiteral("city"));
    city_->setAccessibleName(QStringLiteral("城市"));
    city_->setAccessibleDescription(
        QStringLiteral("供暖室外计算温度 t_wn 取自 GB 50736-2012 附录 A 的台站；输入文字可搜索"));
    city_->setEditable(true);
    city_->setInsertPolicy(QComboBox::NoInsert);
    city_->addItem(QStringLiteral("（未选择）"), QString());
    for (const heatload::City& c : document_->cities().cities)
        city_->addItem(QStringLiteral("%1 %2（%3 ℃）")
                           .arg(QString::fromStdString(c.city), QString::fromStdString(c.station),
                                models::fixed(c.heatingOutdoorTemp, 1)),
                       QString::fromStdString(c.stationId));
    city_->completer()->setFilterMode(Qt::MatchContains);
    city_->completer()->setCompletionMode(QCompleter::PopupCompletion);
    connect(city_, &QComboBox::activated, this, &ProjectWindow::citySelected);

    outdoor_ = new QLineEdit;
    outdoor_->setObjectName(QStringLiteral("outdoorTemp"));
    outdoor_->setAccessibleName(QStringLiteral("室外计算温度"));
    outdoor_->setAccessibleDescription(
        QStringLiteral("输入的室外计算温度（℃）优先于城市的值；空白取城市的值"));
    outdoor_->setPlaceholderText(QStringLiteral("取城市的值"));
    outdoor_->setMaximumWidth(110);
    makeNumberField(outdoor_);
    connect(outdoor_, &QLineEdit::editingFinished, this, &ProjectWindow::outdoorEdited);

    allowance_ = new QComboBox;
    allowance_->setObjectName(QStringLiteral("allowance"));
    allowance_->setAccessibleName(QStringLiteral("地面辐射供暖负荷折减"));
    allowance_->setToolTip(QStringLiteral("JGJ 142-2012 §3.3 地面辐射供暖的热负荷"));
    allowance_->addItem(QStringLiteral("室内温度低 2 ℃"),
                        int(heatload::FloorAllowance::LowerIndoorTemp));
    allowance_->addItem(QStringLiteral("按对流负荷的比例"),
                        int(heatload::FloorAllowance::ShareOfLoad));
    allowance_->addItem(QStringLiteral("不折减"), int(heatload::FloorAllowance::None));
    connect(allowance_, &QComboBox::activated, this, [this](int index) {
        project::Settings s = document_->project().settings;
        s.heatLoad.gb.allowance = heatload::FloorAllowance(allowance_->itemData(index).toInt());
        editSettings(s, QStringLiteral("负荷折减"));
    });

    method_ = new QComboBox;
    method_->setObjectName(QStringLiteral("method"));
    method_->setAccessibleName(QStringLiteral("计算方法"));
    for (auto m : {method::Method::Program, method::Method::En1264}) {
        method_->addItem(QString::fromUtf8(method::methodName(m)), int(m));
        method_->setItemData(method_->count() - 1, models::methodLine(m), Qt::ToolTipRole);
    }
    connect(method_, &QComboBox::activated, this, [this](int index) {
        project::Settings s = document_->project().settings;
        s.method = method::Method(method_->itemData(index).toInt());
        editSettings(s, QStringLiteral("计算方法"));
    });

    layout->addWidget(caption(QStringLiteral("负荷计算方法"), loadMethod_));
    layout->addWidget(loadMethod_);
    layout->addWidget(caption(QStringLiteral("城市"), city_));
    layout->addWidget(city_, 1);
    layout->addWidget(caption(QStringLiteral("室外计算温度 ℃"), outdoor_));
    layout->addWidget(outdoor_);
    layout->addWidget(caption(QStringLiteral("负荷折减"), allowance_));
    layout->addWidget(allowance_);
    layout->addWidget(caption(QStringLiteral("计算方法"), method_));
    layout->addWidget(method_);
    auto* seasons = new SeasonBar(*document_);
    connect(seasons, &SeasonBar::refused, this, &ProjectWindow::warn);
    layout->addWidget(seasons);
    return bar;
}

QWidget* ProjectWindow::buildRoomPanel() {
    auto* split = new QSplitter(Qt::Horizontal);
    rooms_ = resultTableView(roomModel_, QStringLiteral("roomTable"), QStringLiteral("房间表"),
                             QStringLiteral("房间表：每行一个房间，双击单元格修改"));
    rooms_->setSelectionBehavior(QAbstractItemView::SelectRows);
    connect(rooms_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &ProjectWindow::roomSelected);
    split->addWidget(rooms_);

    auto* side = new QWidget;
    auto* layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* title = new QLabel(QStringLiteral("所选房间的围护结构"));
    layout->addWidget(title);
    envelope_ = resultTableView(
        envelopeModel_, QStringLiteral("envelopeTable"), QStringLiteral("围护结构表"),
        QStringLiteral("所选房间的围护结构：类型、朝向、面积、传热系数、修正"));
    title->setBuddy(envelope_);
    layout->addWidget(envelope_, 2);
    auto* buttons = new QHBoxLayout;
    auto* addElement = new QPushButton(QStringLiteral("添加围护结构"));
    addElement->setObjectName(QStringLiteral("addElement"));
    addElement->setAccessibleName(QStringLiteral("添加围护结构"));
    connect(addElement, &QPushButton::clicked, this, [this] {
        envelopeModel_->addElement(
            envelope_->currentIndex().isValid() ? envelope_->currentIndex().row() : -1);
    });
    auto* removeElement = new QPushButton(QStringLiteral("删除围护结构"));
    removeElement->setObjectName(QStringLiteral("removeElement"));
    removeElement->setAccessibleName(QStringLiteral("删除围护结构"));
    connect(removeElement, &QPushButton::clicked, this, [this] {
        if (envelope_->currentIndex().isValid())
            envelopeModel_->removeElement(envelope_->currentIndex().row());
    });
    buttons->addWidget(addElement);
    buttons->addWidget(removeElement);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    breakdownTitle_ = new QLabel(QStringLiteral("热负荷构成"));
    layout->addWidget(breakdownTitle_);
    breakdown_ = resultTableView(
        breakdownModel_, QStringLiteral("breakdownTable"), QStringLiteral("热负荷构成表"),
        QStringLiteral("所选房间热负荷的构成：传热、附加、冷风渗透或通风"));
    breakdownTitle_->setBuddy(breakdown_);
    layout->addWidget(breakdown_, 1);
    split->addWidget(side);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    return split;
}

QWidget* ProjectWindow::buildLoopPanel() {
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* row = new QHBoxLayout;
    manifold_ = new QComboBox;
    manifold_->setObjectName(QStringLiteral("manifold"));
    manifold_->setAccessibleName(QStringLiteral("分集水器"));
    connect(manifold_, &QComboBox::currentIndexChanged, this, [this](int index) {
        loopModel_->setManifold(index < 0 ? 0 : std::size_t(index));
        showResults();
    });
    row->addWidget(caption(QStringLiteral("分集水器"), manifold_));
    row->addWidget(manifold_);
    designLine_ = new ValueLabel(QStringLiteral("分集水器设计"));
    designLine_->setObjectName(QStringLiteral("designLine"));
    designLine_->setWordWrap(true);
    designLine_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    row->addWidget(designLine_, 1);
    layout->addLayout(row);
    loops_ = resultTableView(loopModel_, QStringLiteral("loopTable"), QStringLiteral("环路表"),
                             QStringLiteral("所选分集水器的环路：间距、长度、散热量、地表面温度、"
                                            "流量、压降和结论"));
    layout->addWidget(loops_, 1);
    manifoldTotals_ = new ValueLabel(QStringLiteral("分集水器合计"));
    manifoldTotals_->setObjectName(QStringLiteral("manifoldTotals"));
    manifoldTotals_->setWordWrap(true);
    manifoldTotals_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    projectTotals_ = new ValueLabel(QStringLiteral("项目合计"));
    projectTotals_->setObjectName(QStringLiteral("projectTotals"));
    projectTotals_->setWordWrap(true);
    projectTotals_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(manifoldTotals_);
    layout->addWidget(projectTotals_);
    return panel;
}

void ProjectWindow::showSettings() {
    const project::Settings& s = document_->project().settings;
    const QSignalBlocker b1(loadMethod_), b2(city_), b3(allowance_), b4(method_);
    loadMethod_->setCurrentIndex(loadMethod_->findData(int(s.heatLoad.method)));
    const int cityIndex = city_->findData(QString::fromStdString(s.heatLoad.climate.stationId));
    city_->setCurrentIndex(cityIndex < 0 ? 0 : cityIndex);
    if (cityIndex < 0 && !s.heatLoad.climate.stationId.empty())
        city_->setEditText(QStringLiteral("%1（台站 %2 不在城市表中）")
                               .arg(QString::fromStdString(s.heatLoad.climate.place),
                                    QString::fromStdString(s.heatLoad.climate.stationId)));
    outdoor_->setText(models::fixed(s.heatLoad.climate.outdoorTemp, 1));
    allowance_->setCurrentIndex(allowance_->findData(int(s.heatLoad.gb.allowance)));
    method_->setCurrentIndex(method_->findData(int(s.method)));
    const bool gb = s.heatLoad.method == project::LoadMethod::Gb50736;
    city_->setEnabled(s.heatLoad.method != project::LoadMethod::Typed);
    outdoor_->setEnabled(s.heatLoad.method != project::LoadMethod::Typed);
    allowance_->setEnabled(gb);
    refreshManifolds();
}

void ProjectWindow::editSettings(const project::Settings& settings, const QString& text) {
    document_->setSettings(settings, QStringLiteral("修改%1").arg(text));
}

void ProjectWindow::citySelected(int index) {
    if (index < 0)
        return;
    project::Settings s = document_->project().settings;
    const QString station = city_->itemData(index).toString();
    s.heatLoad.climate.stationId = station.toStdString();
    const heatload::City* c =
        heatload::findStation(document_->cities(), s.heatLoad.climate.stationId);
    s.heatLoad.climate.place = c != nullptr ? c->city : std::string();
    if (s.heatLoad.climate.stationId == document_->project().settings.heatLoad.climate.stationId)
        return;
    editSettings(s, QStringLiteral("城市"));
}

void ProjectWindow::outdoorEdited() {
    project::Settings s = document_->project().settings;
    const QString text = outdoor_->text().trimmed();
    std::optional<double> typed;
    if (!text.isEmpty()) {
        typed = models::cellNumber(text);
        if (!typed || *typed < -60 || *typed > 30) {
            warn(QStringLiteral("室外计算温度“%1”不是 −60～30 ℃ 之间的数。").arg(text));
            showSettings();
            return;
        }
    }
    if (typed == s.heatLoad.climate.outdoorTemp)
        return;
    s.heatLoad.climate.outdoorTemp = typed;
    editSettings(s, QStringLiteral("室外计算温度"));
}

void ProjectWindow::roomSelected() {
    const QModelIndex current = rooms_->currentIndex();
    const std::optional<int> room =
        current.isValid() ? std::optional<int>(current.row()) : std::nullopt;
    envelopeModel_->setRoom(room);
    breakdownModel_->setRoom(room);
    breakdownTitle_->setText(
        room ? QStringLiteral("热负荷构成（%1）")
                   .arg(QString::fromStdString(document_->project().rooms[std::size_t(*room)].name))
             : QStringLiteral("热负荷构成"));
}

void ProjectWindow::refreshManifolds() {
    const auto& manifolds = document_->project().manifolds;
    const int keep = manifold_->currentIndex();
    const QSignalBlocker blocker(manifold_);
    manifold_->clear();
    for (const project::Manifold& m : manifolds)
        manifold_->addItem(QString::fromStdString(m.name));
    manifold_->setCurrentIndex(keep >= 0 && keep < manifold_->count() ? keep : 0);
    loopModel_->setManifold(std::size_t(std::max(0, manifold_->currentIndex())));
    showResults();
}

void ProjectWindow::showResults() {
    const project::ProjectResult& result = document_->result();
    const std::size_t m = std::size_t(std::max(0, manifold_->currentIndex()));
    designLine_->setText(models::designLine(document_->project(), result, m));
    manifoldTotals_->setText(models::manifoldTotalsText(result, m));
    projectTotals_->setText(models::projectTotalsText(result));
}

void ProjectWindow::updateTitle() {
    const QString name = document_->fileName().isEmpty()
                             ? QStringLiteral("未命名")
                             : QFileInfo(document_->fileName()).fileName();
    setWindowTitle(QStringLiteral("项目 - %1[*]").arg(name));
    setWindowModified(document_->isModified());
}

} // namespace zorva::ui
