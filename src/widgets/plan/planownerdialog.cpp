// SPDX-License-Identifier: GPL-3.0-or-later
// The dialogs that ask whom a drawn outline, or each outline of an
// imported DXF drawing, belongs to: a room of the table still without an
// outline, a new room under the name the user gives, or none.
#include "widgets/plan/planediting.h"

#include "core/project/planedits.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zorva::ui {

namespace {

constexpr int kNew = -1;
constexpr int kSkip = -2;

// "新房间", the rooms without an outline and, for imports, "不导入".
QComboBox* ownerBox(const project::Project& project, bool skip) {
    auto* box = new QComboBox;
    box->setAccessibleName(QStringLiteral("所属房间"));
    box->addItem(QStringLiteral("新房间"), kNew);
    for (int row : roomsWithoutOutline(project))
        box->addItem(QString::fromStdString(project.rooms[std::size_t(row)].name), row);
    if (skip)
        box->addItem(QStringLiteral("不导入"), kSkip);
    return box;
}

OutlineOwner ownerOf(const QComboBox* box, const QLineEdit* name) {
    const int data = box->currentData().toInt();
    if (data == kSkip)
        return {OutlineOwner::Kind::Skip, -1, {}};
    if (data == kNew)
        return {OutlineOwner::Kind::New, -1, name->text()};
    return {OutlineOwner::Kind::Existing, data, {}};
}

QDialogButtonBox* okCancel(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

} // namespace

std::optional<OutlineOwner> askOutlineOwner(QWidget* parent, const project::Project& project,
                                            const std::vector<project::PlanPoint>& outline) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("房间轮廓"));
    dialog.setAccessibleName(dialog.windowTitle());
    QComboBox* owner = ownerBox(project, false);
    auto* name = new QLineEdit;
    name->setAccessibleName(QStringLiteral("新房间名称"));
    name->setPlaceholderText(QStringLiteral("留空则自动命名"));
    QObject::connect(owner, &QComboBox::currentIndexChanged, name,
                     [owner, name] { name->setEnabled(owner->currentData().toInt() == kNew); });
    auto* form = new QFormLayout;
    form->addRow(new QLabel(QStringLiteral("面积 %1 m²，周长 %2 m")
                                .arg(project::planArea(outline), 0, 'f', 2)
                                .arg(project::planPerimeter(outline), 0, 'f', 2)));
    form->addRow(QStringLiteral("所属房间"), owner);
    form->addRow(QStringLiteral("新房间名称"), name);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(form);
    layout->addWidget(okCancel(&dialog));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return ownerOf(owner, name);
}

std::optional<std::vector<OutlineOwner>>
askImportOwners(QWidget* parent, const project::Project& project,
                const std::vector<dxf::ImportedOutline>& outlines) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("导入 DXF：房间轮廓"));
    dialog.setAccessibleName(dialog.windowTitle());
    auto* table = new QTableWidget(int(outlines.size()), 5);
    table->setAccessibleName(QStringLiteral("闭合多段线"));
    table->setHorizontalHeaderLabels({QStringLiteral("图层"), QStringLiteral("面积(m²)"),
                                      QStringLiteral("周长(m)"), QStringLiteral("所属房间"),
                                      QStringLiteral("新房间名称")});
    std::vector<QComboBox*> boxes;
    std::vector<QLineEdit*> names;
    for (std::size_t k = 0; k < outlines.size(); ++k) {
        const int row = int(k);
        const auto cell = [](const QString& text) {
            auto* item = new QTableWidgetItem(text);
            item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            return item;
        };
        table->setItem(row, 0, cell(QString::fromStdString(outlines[k].layer)));
        table->setItem(row, 1, cell(QString::number(outlines[k].area, 'f', 2)));
        table->setItem(row, 2, cell(QString::number(outlines[k].perimeter, 'f', 2)));
        boxes.push_back(ownerBox(project, true));
        names.push_back(new QLineEdit);
        names.back()->setAccessibleName(QStringLiteral("新房间名称"));
        names.back()->setPlaceholderText(QStringLiteral("留空则自动命名"));
        table->setCellWidget(row, 3, boxes.back());
        table->setCellWidget(row, 4, names.back());
    }
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(
        QStringLiteral("每条闭合多段线可作为一个房间的轮廓；其余图形作为灰色底图显示。")));
    layout->addWidget(table);
    layout->addWidget(okCancel(&dialog));
    dialog.resize(640, 400);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    std::vector<OutlineOwner> owners;
    for (std::size_t k = 0; k < boxes.size(); ++k)
        owners.push_back(ownerOf(boxes[k], names[k]));
    return owners;
}

} // namespace zorva::ui
