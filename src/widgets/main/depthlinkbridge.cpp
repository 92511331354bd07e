// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/main/depthlinkbridge.h"

#include "widgets/common/uikit.h"
#include "widgets/common/windowslot.h"
#include "widgets/construction/constructionwindow.h"
#include "widgets/main/mainwindow.h"

#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace zorva::ui {

DepthLinkBridge::DepthLinkBridge(std::function<MainWindow&()> main,
                                 std::function<ConstructionWindow&()> construction)
    : main_(std::move(main)), construction_(std::move(construction)) {}

void DepthLinkBridge::setDepthText(const QString& text) {
    rewriteField(main_().designField(DepthField), text);
}

void DepthLinkBridge::focusCalculate() {
    MainWindow& window = main_();
    if (window.isVisible())
        bringToFront(window);
    window.calculateButton()->setFocus(Qt::OtherFocusReason);
}

void DepthLinkBridge::readConstruction(FieldRecord& record) {
    construction_().readInto(record);
}

void DepthLinkBridge::setFillText(const QString& text) {
    if (nesting_ >= kNestingLimit)
        return;
    ++nesting_;
    nestingPeak_ = std::max(nestingPeak_, nesting_);
    // The handlers catch every fault, so the count always comes back down.
    rewriteField(construction_().thicknessField(FillingLayerRow), text);
    --nesting_;
}

} // namespace zorva::ui
