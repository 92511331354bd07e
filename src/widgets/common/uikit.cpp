// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/common/uikit.h"

#include "core/engine/inputtext.h"
#include "widgets/common/zorvaresources.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QStringList>
#include <QValidator>
#include <QWidget>

#include <climits>
#include <string_view>

namespace zorva::ui {

namespace {

// Song-style faces: the Windows name first, then faces shipped by Linux
// distributions (fonts-arphic-uming gives "AR PL UMing CN").
QStringList songFamilies() {
    return {QStringLiteral("宋体"),
            QStringLiteral("SimSun"),
            QStringLiteral("AR PL UMing CN"),
            QStringLiteral("AR PL SungtiL GB"),
            QStringLiteral("Noto Serif CJK SC"),
            QStringLiteral("Source Han Serif SC")};
}

QStringList timesFamilies() {
    return QStringList{QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                       QStringLiteral("Tinos")} +
           songFamilies();
}

// The face asked for by name, then those of its stand-ins that are
// installed. Asking the font database once spares every control the search
// through faces the system does not have.
QStringList withInstalledFallbacks(const QStringList& wanted) {
    const QStringList present = QFontDatabase::families();
    QStringList families{wanted.constFirst()};
    for (const QString& family : wanted.mid(1)) {
        if (present.contains(family, Qt::CaseInsensitive))
            families << family;
    }
    return families;
}

QFont fontOf(const QStringList& families, double pointSize) {
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(pointSize);
    font.setStyleHint(QFont::Serif);
    return font;
}

} // namespace

QFont songFont(double pointSize) {
    static const QStringList families = withInstalledFallbacks(songFamilies());
    return fontOf(families, pointSize);
}

QFont timesFont(double pointSize) {
    static const QStringList families = withInstalledFallbacks(timesFamilies());
    return fontOf(families, pointSize);
}

namespace {

// Accepts every text, in the plain forms of its digits, signs and spaces.
class NumberTextValidator final : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override {
        const std::u16string_view text(reinterpret_cast<const char16_t*>(input.utf16()),
                                       static_cast<std::size_t>(input.size()));
        if (zorva::needsNumberNormalizing(text)) {
            const auto caret = static_cast<std::size_t>(qMax(pos, 0));
            pos = static_cast<int>(zorva::normalizedPosition(text, caret));
            input = QString::fromStdU16String(zorva::normalizeNumberText(text));
        }
        return Acceptable;
    }
};

} // namespace

void makeNumberField(QLineEdit* field) {
    field->setMaxLength(INT_MAX);
    field->setValidator(new NumberTextValidator(field));
}

void rewriteField(QLineEdit* field, const QString& text) {
    field->setText(text);
    if (field->hasFocus())
        field->selectAll();
}

double fieldNumber(const QLineEdit* field) {
    return zorva::leadingNumber(field->text());
}

void setUpWindow(QWidget& window, const QString& objectName, const QString& caption) {
    window.setObjectName(objectName);
    window.setWindowTitle(caption);
    window.setWindowIcon(programIcon());
}

void centreOnScreen(QWidget& window) {
    QScreen* screen = window.screen();
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect free = screen->availableGeometry();
    const QSize size = window.frameGeometry().size();
    window.move(free.x() + (free.width() - size.width()) / 2,
                free.y() + (free.height() - size.height()) / 2);
}

} // namespace zorva::ui
