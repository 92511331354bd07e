// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's controls at their fixed places.

#include "widgets/main/mainwindow.h"

#include "core/engine/inputs.h"
#include "core/wording/designwording.h"
#include "widgets/common/uikit.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace zorva::ui {

namespace {

const QColor kWindowColour(128, 255, 255);
const QColor kFrameColour(255, 192, 128);

enum FrameId { InputFrame, ResultFrame, LowerResultFrame };

// One row of the field table: where the caption, field and unit stand. The
// texts are the fields' captions and units (designwording.h).
struct Row {
    FrameId frame;
    int top;
    int captionWidth, captionHeight; // only for the fixed-size caption Lab(1)
    int unitLeft, unitWidth, unitHeight;
    int raisedTwo; // index of the label holding the raised "2" of "W/m²", or 0
};

const Row kRows[MainWindow::kFieldCount] = {
    {InputFrame, 360, 0, 0, 2520, 315, 255, 0},
    {InputFrame, 960, 855, 210, 2520, 315, 315, 0},
    {InputFrame, 1320, 0, 0, 2520, 315, 315, 0},
    {InputFrame, 2040, 0, 0, 2520, 315, 315, 0},
    {InputFrame, 2400, 0, 0, 2520, 315, 315, 0},
    {InputFrame, 3240, 0, 0, 2520, 315, 315, 0},
    {InputFrame, 3600, 0, 0, 2520, 315, 315, 0},
    {ResultFrame, 360, 0, 0, 2880, 435, 255, 20},
    {ResultFrame, 840, 0, 0, 2880, 555, 255, 0},
    {ResultFrame, 1320, 0, 0, 2880, 555, 255, 0},
    {LowerResultFrame, 360, 0, 0, 2880, 675, 255, 21},
    {LowerResultFrame, 720, 0, 0, 2880, 675, 255, 22},
    {LowerResultFrame, 1080, 0, 0, 2880, 555, 255, 0},
    {LowerResultFrame, 1440, 0, 0, 2880, 555, 255, 0},
};

constexpr int kCaptionLeft = 600;
constexpr int kFieldWidth = 855;
constexpr int kFieldHeight = 315;
constexpr int kRaisedTwoLeft = 3300;

void paintBackground(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QString indexed(const char* name, int index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

QLabel* addLabel(QWidget* frame, const QString& name, const QString& text, const QFont& font) {
    auto* label = new QLabel(text, frame);
    label->setObjectName(name);
    label->setFont(font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    paintBackground(label, kFrameColour);
    return label;
}

} // namespace

QGroupBox* MainWindow::addFrame(QWidget* parent, const char* name, const QString& caption, int left,
                                int top, int width, int height) {
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(QLatin1String(name));
    frame->setFont(songFont(10.5));
    frame->setGeometry(twipsRect(left, top, width, height));
    paintBackground(frame, kFrameColour);
    return frame;
}

void MainWindow::buildLayout() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    paintBackground(client, kWindowColour);
    setCentralWidget(client);

    QGroupBox* frames[] = {
        addFrame(client, "Frame1", QStringLiteral("设计参数"), 720, 480, 3735, 4215),
        addFrame(client, "Frame2", QStringLiteral("计算结果"), 4440, 480, 3735, 1815),
        addFrame(client, "Frame4", QString(), 4440, 2280, 3735, 2415),
    };

    const zorva::FieldRecord defaults = zorva::FieldRecord::defaults();
    for (int i = 0; i < kFieldCount; ++i) {
        const Row& row = kRows[i];
        QGroupBox* frame = frames[row.frame];
        const QString caption = zorva::fieldCaption(i);

        captionLabels_[i] =
            addLabel(frame, indexed("Lab", i), caption, songFont(i == 8 ? 9 : 10.5));
        captionLabels_[i]->move(twips(kCaptionLeft), twips(row.top));
        if (row.captionWidth > 0)
            captionLabels_[i]->resize(twips(row.captionWidth), twips(row.captionHeight));
        else
            captionLabels_[i]->adjustSize();

        auto* field = new QLineEdit(frame);
        field->setObjectName(indexed("Txt", i));
        field->setAccessibleName(caption);
        field->setFont(timesFont(10.5));
        makeNumberField(field);
        if (i < static_cast<int>(defaults.design.size()))
            field->setText(QString::fromStdString(defaults.design[i]));
        const int fieldLeft = row.frame == InputFrame ? 1560 : 1800;
        field->setGeometry(twipsRect(fieldLeft, row.top, kFieldWidth, kFieldHeight));
        fields_[i] = field;

        // The "2" of "W/m²" stands raised in a label of its own.
        const QString unit = zorva::fieldUnit(i);
        unitLabels_[i] = addLabel(frame, indexed("Lb", i),
                                  row.raisedTwo != 0 ? unit.chopped(1) : unit, timesFont(10.5));
        unitLabels_[i]->setGeometry(
            twipsRect(row.unitLeft, row.top, row.unitWidth, row.unitHeight));
        if (row.raisedTwo != 0) {
            QLabel* two =
                addLabel(frame, indexed("Lb", row.raisedTwo), QStringLiteral("2"), timesFont(6));
            two->setGeometry(twipsRect(kRaisedTwoLeft, row.top, 195, 255));
            unitLabels_[row.raisedTwo] = two;
        }
    }
    captionLabels_[zorva::LoopLengthField]->setToolTip(QStringLiteral("单个环路里加热盘管的长度"));

    calculateButton_ = new QPushButton(QStringLiteral("计算"), client);
    calculateButton_->setObjectName(QStringLiteral("Command1"));
    calculateButton_->setAccessibleName(QStringLiteral("计算"));
    calculateButton_->setFont(songFont(10.5));
    calculateButton_->setAutoDefault(false);
    calculateButton_->setGeometry(twipsRect(3960, 5160, 975, 375));

    // Keyboard order through the fields and the button.
    const int order[] = {7, 8, 9, 4, 3, 2, 1, 0, 10, 12, 5, 6, 11, -1, 13};
    QWidget* previous = nullptr;
    for (int index : order) {
        QWidget* next = index < 0 ? static_cast<QWidget*>(calculateButton_) : fields_[index];
        if (previous != nullptr)
            setTabOrder(previous, next);
        previous = next;
    }
    resultField(0)->setFocus();
}

} // namespace zorva::ui
