#include "uikit.h"

#include "zorvaresources.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QStringList>
#include <QWidget>

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

double fieldNumber(const QLineEdit* field) {
    return zorva::leadingNumber(field->text());
}

void setUpWindow(QWidget& window, const QString& objectName, const QString& caption) {
    window.setObjectName(objectName);
    window.setWindowTitle(caption);
    window.setWindowIcon(zorva::programIcon());
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
