#include "shezhi.h"

#include "checked.h"
#include "dialogseam.h"
#include "inputs.h"
#include "mainlink.h"
#include "messages.h"
#include "uikit.h"
#include "zorvaresources.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using zorva::ui::leadingNumber;
using zorva::ui::twips;
using zorva::ui::twipsRect;

namespace {

constexpr int kElbowIndex = 5;
constexpr int kLayerRows = 4;
constexpr std::array<int, kLayerRows> kRowTop{480, 840, 1200, 1560};
constexpr int kFieldWidth = 855;
constexpr int kFieldHeight = 270;
constexpr int kThicknessLeft = 1800;
constexpr int kConductivityLeft = 3000;

const char* const kRowCaption[kLayerRows] = {"1、地面层", "2、找平层", "3、填充层", "4、塑料管壁"};
const char* const kRowTooltip[kLayerRows] = {
    "大理石λ=2.91 瓷砖λ=1.10 木质地板λ=0.14 化纤地毯λ=0.036",
    "混凝土λ=1.28~1.84 厚度可以为0",
    "混凝土λ=1.28~1.84 厚度≥加热管径",
    "λ视PB、PE-X、PP-B等材料而定",
};

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

QString indexed(const char* name, int index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

} // namespace

shezhi::shezhi(MainLink& main, DialogSeam& dialogs, QWidget* parent)
    : QWidget(parent), main_(main), dialogs_(dialogs) {
    setObjectName(QStringLiteral("shezhi"));
    setWindowTitle(QStringLiteral("Zorva"));
    setWindowIcon(zorva::programIcon());
    buildLayout();
    resize(twips(5040), twips(4170));
    zorva::ui::centreOnScreen(*this);
    txt1_[0]->setFocus();
    // The default texts are in place: from here on every change counts.
    connectHandlers();
}

QLabel* shezhi::addLabel(const QString& name, const QString& caption, int left, int top) {
    auto* label = new QLabel(caption, this);
    label->setObjectName(name);
    label->setFont(zorva::ui::timesFont(9));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->move(twips(left), twips(top));
    label->adjustSize();
    return label;
}

QLineEdit* shezhi::addField(const QString& name, const QString& text, const QString& accessible,
                            int left, int top) {
    auto* field = new QLineEdit(text, this);
    field->setObjectName(name);
    field->setAccessibleName(accessible);
    field->setFont(zorva::ui::timesFont(9));
    field->setGeometry(twipsRect(left, top, kFieldWidth, kFieldHeight));
    return field;
}

void shezhi::buildLayout() {
    const zorva::FieldRecord defaults = zorva::FieldRecord::defaults();

    addLabel(QStringLiteral("Lab2"), QStringLiteral("地板构造:"), 600, 120)
        ->setToolTip(QStringLiteral("主窗口总厚度与填充层厚度关联"));
    addLabel(QStringLiteral("Lab3"), QStringLiteral("厚度:mm"), 1800, 120);
    addLabel(QStringLiteral("Lab4"), QStringLiteral("导热系数:W/m/℃"), 3000, 120);

    for (int i = 0; i < kLayerRows; ++i) {
        const QString caption = QString::fromUtf8(kRowCaption[i]);
        addLabel(indexed("Lab1", i), caption, 600, kRowTop[i])
            ->setToolTip(QString::fromUtf8(kRowTooltip[i]));
        txt1_[i] = addField(indexed("Txt1", i), qs(defaults.thickness[i]),
                            caption + QStringLiteral("厚度"), kThicknessLeft, kRowTop[i]);
        text1_[i] = addField(indexed("Text1", i), qs(defaults.conductivity[i]),
                             caption + QStringLiteral("导热系数"), kConductivityLeft, kRowTop[i]);
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
    const QString elbows = QStringLiteral("90度弯头数");
    addLabel(indexed("Lab1", kElbowIndex), elbows, 600, 2760);
    txt1_[kElbowIndex] =
        addField(indexed("Txt1", kElbowIndex), qs(defaults.elbows), elbows, kThicknessLeft, 2760);

    command1_ = new QPushButton(QStringLiteral("OK"), this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setAccessibleName(QStringLiteral("OK"));
    command1_->setFont(zorva::ui::timesFont(10.5));
    command1_->setAutoDefault(false);
    command1_->setGeometry(twipsRect(2040, 3240, 975, 375));

    // Keyboard order: row by row, thickness before conductivity, then the
    // elbow count and OK.
    QWidget* previous = nullptr;
    auto chain = [&previous](QWidget* next) {
        if (previous != nullptr)
            QWidget::setTabOrder(previous, next);
        previous = next;
    };
    for (int i = 0; i < kLayerRows; ++i) {
        chain(txt1_[i]);
        chain(text1_[i]);
    }
    chain(txt1_[kElbowIndex]);
    chain(command1_);
}

void shezhi::connectHandlers() {
    for (int i = 0; i < static_cast<int>(txt1_.size()); ++i) {
        if (txt1_[i] != nullptr)
            connect(txt1_[i], &QLineEdit::textChanged, this, [this, i] { txt1Change(i); });
    }
    for (int i = 0; i < static_cast<int>(text1_.size()); ++i)
        connect(text1_[i], &QLineEdit::textChanged, this, [this, i] { text1Change(i); });
    connect(command1_, &QPushButton::clicked, this, &shezhi::command1Click);
}

QLineEdit* shezhi::txt1(int index) const {
    Q_ASSERT(index >= 0 && index < static_cast<int>(txt1_.size()) && txt1_[index] != nullptr);
    return txt1_[index];
}

QLineEdit* shezhi::text1(int index) const {
    Q_ASSERT(index >= 0 && index < static_cast<int>(text1_.size()));
    return text1_[index];
}

void shezhi::readInto(zorva::FieldRecord& record) const {
    for (int i = 0; i < kLayerRows; ++i) {
        record.thickness[i] = txt1_[i]->text().toStdString();
        record.conductivity[i] = text1_[i]->text().toStdString();
    }
    record.elbows = txt1_[kElbowIndex]->text().toStdString();
}

// A thickness or the elbow count changed: no negative numbers, and the main
// window's burial depth follows the sum of the three layers.
void shezhi::txt1Change(int index) {
    try {
        if (leadingNumber(txt1_[index]) < 0)
            txt1_[index]->setText(QStringLiteral("0"));
        const double level = leadingNumber(txt1_[1]);
        const double fill = leadingNumber(txt1_[2]);
        const double surface = leadingNumber(txt1_[0]);
        main_.setDepthText(zorva::ui::toQString(zorva::layerSumText(surface, level, fill)));
    } catch (const zorva::ArithmeticError& e) {
        dialogs_.message(this, QMessageBox::Critical, messageTitle(),
                         arithmeticErrorText(e.fault()));
    }
}

// A conductivity changed: only a negative number is refused.
void shezhi::text1Change(int index) {
    if (leadingNumber(text1_[index]) < 0)
        text1_[index]->setText(QStringLiteral("0"));
}

void shezhi::command1Click() {
    main_.focusCalculate();
}

void shezhi::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closing();
}
