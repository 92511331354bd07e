// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/construction/constructionwindow.h"

#include "core/engine/checked.h"
#include "core/engine/depthlink.h"
#include "core/wording/designwording.h"
#include "widgets/common/uikit.h"
#include "widgets/construction/mainlink.h"
#include "widgets/dialogs/messages.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace zorva::ui {

namespace {

// Index of the elbow count in the Txt1 field array of the form.
constexpr int kElbowsFormIndex = 5;
constexpr std::array<int, zorva::kConstructionRows> kRowTop{480, 840, 1200, 1560};
constexpr int kFieldWidth = 855;
constexpr int kFieldHeight = 270;
constexpr int kThicknessLeft = 1800;
constexpr int kConductivityLeft = 3000;

const char* const kRowTooltip[zorva::kConstructionRows] = {
    "大理石λ=2.91 瓷砖λ=1.10 木质地板λ=0.14 化纤地毯λ=0.036",
    "混凝土λ=1.28~1.84 厚度可以为0",
    "混凝土λ=1.28~1.84 厚度≥加热管径",
    "λ视PB、PE-X、PP-B等材料而定",
};

QString indexed(const char* name, int index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

} // namespace

ConstructionWindow::ConstructionWindow(MainLink& main, DialogSeam& dialogs, QWidget* parent)
    : QWidget(parent), main_(main), dialogs_(dialogs) {
    setUpWindow(*this, QStringLiteral("shezhi"), QStringLiteral("Zorva"));
    buildLayout();
    resize(twips(5040), twips(4170));
    centreOnScreen(*this);
    thicknessFields_[zorva::SurfaceLayerRow]->setFocus();
    // The default texts are in place: from here on every change counts.
    connectHandlers();
}

QLabel* ConstructionWindow::addLabel(const QString& name, const QString& caption, int left,
                                     int top) {
    auto* label = new QLabel(caption, this);
    label->setObjectName(name);
    label->setFont(timesFont(9));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->move(twips(left), twips(top));
    label->adjustSize();
    return label;
}

QLineEdit* ConstructionWindow::addField(const QString& name, const QString& text,
                                        const QString& accessible, int left, int top) {
    auto* field = new QLineEdit(text, this);
    field->setObjectName(name);
    field->setAccessibleName(accessible);
    field->setFont(timesFont(9));
    makeNumberField(field);
    field->setGeometry(twipsRect(left, top, kFieldWidth, kFieldHeight));
    return field;
}

void ConstructionWindow::buildLayout() {
    const zorva::FieldRecord defaults = zorva::FieldRecord::defaults();

    addLabel(QStringLiteral("Lab2"), QStringLiteral("地板构造:"), 600, 120)
        ->setToolTip(QStringLiteral("主窗口总厚度与填充层厚度关联"));
    addLabel(QStringLiteral("Lab3"), QStringLiteral("厚度:mm"), 1800, 120);
    addLabel(QStringLiteral("Lab4"), QStringLiteral("导热系数:W/m/℃"), 3000, 120);

    for (int row = 0; row < zorva::kConstructionRows; ++row) {
        const QString caption = constructionRowCaption(ConstructionRow(row));
        addLabel(indexed("Lab1", row), caption, 600, kRowTop[row])
            ->setToolTip(QString::fromUtf8(kRowTooltip[row]));
        thicknessFields_[row] =
            addField(indexed("Txt1", row), QString::fromStdString(defaults.thickness[row]),
                     caption + QStringLiteral("厚度"), kThicknessLeft, kRowTop[row]);
        conductivityFields_[row] =
            addField(indexed("Text1", row), QString::fromStdString(defaults.conductivity[row]),
                     caption + QStringLiteral("导热系数"), kConductivityLeft, kRowTop[row]);
    }

    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::NoFrame);
    line->setAutoFillBackground(true);
    QPalette grey = line->palette();
    grey.setColor(QPalette::Window, QColor(128, 128, 128));
    line->setPalette(grey);
    line->setGeometry(twips(600), twips(2160), twips(3720), 1);

    addLabel(QStringLiteral("Lab5"), QStringLiteral("管路附件:"), 600, 2400);
    const QString elbows = elbowsCaption();
    addLabel(indexed("Lab1", kElbowsFormIndex), elbows, 600, 2760);
    elbowsField_ = addField(indexed("Txt1", kElbowsFormIndex),
                            QString::fromStdString(defaults.elbows), elbows, kThicknessLeft, 2760);

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("Command1"));
    okButton_->setAccessibleName(QStringLiteral("OK"));
    okButton_->setFont(timesFont(10.5));
    okButton_->setAutoDefault(false);
    okButton_->setGeometry(twipsRect(2040, 3240, 975, 375));

    // Keyboard order: row by row, thickness before conductivity, then the
    // elbow count and OK.
    QWidget* previous = nullptr;
    auto chain = [&previous](QWidget* next) {
        if (previous != nullptr)
            QWidget::setTabOrder(previous, next);
        previous = next;
    };
    for (int row = 0; row < zorva::kConstructionRows; ++row) {
        chain(thicknessFields_[row]);
        chain(conductivityFields_[row]);
    }
    chain(elbowsField_);
    chain(okButton_);
}

void ConstructionWindow::connectHandlers() {
    for (QLineEdit* field : thicknessFields_)
        connect(field, &QLineEdit::textChanged, this, [this, field] { onThicknessChanged(field); });
    connect(elbowsField_, &QLineEdit::textChanged, this,
            [this] { onThicknessChanged(elbowsField_); });
    for (QLineEdit* field : conductivityFields_)
        connect(field, &QLineEdit::textChanged, this,
                [this, field] { onConductivityChanged(field); });
    connect(okButton_, &QPushButton::clicked, this, &ConstructionWindow::onOkClicked);
}

QLineEdit* ConstructionWindow::thicknessField(zorva::ConstructionRow row) const {
    Q_ASSERT(row >= 0 && row < zorva::kConstructionRows);
    return thicknessFields_[row];
}

QLineEdit* ConstructionWindow::conductivityField(zorva::ConstructionRow row) const {
    Q_ASSERT(row >= 0 && row < zorva::kConstructionRows);
    return conductivityFields_[row];
}

void ConstructionWindow::readInto(zorva::FieldRecord& record) const {
    for (int row = 0; row < zorva::kConstructionRows; ++row) {
        record.thickness[row] = thicknessFields_[row]->text().toStdString();
        record.conductivity[row] = conductivityFields_[row]->text().toStdString();
    }
    record.elbows = elbowsField_->text().toStdString();
}

// A thickness or the elbow count changed: no negative numbers, and the main
// window's burial depth follows the sum of the three layers.
void ConstructionWindow::onThicknessChanged(QLineEdit* field) {
    try {
        if (fieldNumber(field) < 0)
            rewriteField(field, QStringLiteral("0"));
        zorva::LinkNumbers now;
        now.surface = fieldNumber(thicknessFields_[zorva::SurfaceLayerRow]);
        now.level = fieldNumber(thicknessFields_[zorva::LevellingLayerRow]);
        now.fill = fieldNumber(thicknessFields_[zorva::FillingLayerRow]);
        const zorva::LinkWrite write = zorva::depthLinkWrite(zorva::LinkEvent::LayerChanged, now);
        main_.setDepthText(zorva::toQString(write.text));
    } catch (const zorva::ArithmeticError& e) {
        showArithmeticFault(dialogs_, this, e.fault(), FaultSite::DepthFromLayers);
    }
}

// A conductivity changed: only a negative number is refused.
void ConstructionWindow::onConductivityChanged(QLineEdit* field) {
    if (fieldNumber(field) < 0)
        rewriteField(field, QStringLiteral("0"));
}

void ConstructionWindow::onOkClicked() {
    main_.focusCalculate();
}

} // namespace zorva::ui
