// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The depth link between the two original windows: the main window's burial
// depth and the construction window's filling layer follow each other, and
// OK in the construction window hands the focus back to Calculate. Each
// window sees only its side of the link (ConstructionLink, MainLink); this
// class reaches the other window, building it hidden when it does not exist.

#include "widgets/construction/mainlink.h"
#include "widgets/main/constructionlink.h"

#include <functional>

namespace zorva::ui {

class ConstructionWindow;
class MainWindow;

class DepthLinkBridge final : public MainLink, public ConstructionLink {
public:
    // How the two windows are reached (built when they do not exist).
    DepthLinkBridge(std::function<MainWindow&()> main,
                    std::function<ConstructionWindow&()> construction);

    // The link rewrites the two windows in turn, each write nested in the
    // handling of the one before. Beyond 15 significant digits a round trip
    // can round differently every time, so the nesting is bounded: a
    // filling-layer write this deep is dropped, and both windows keep the
    // last pair the construction window wrote (the depth is the sum of the
    // three layers as they stand). Every exchange that settles within the
    // bound is untouched by it.
    static constexpr int kNestingLimit = 1000;
    // The deepest the filling-layer writes have been nested so far.
    int nestingPeak() const { return nestingPeak_; }

    // MainLink
    void setDepthText(const QString& text) override;
    void focusCalculate() override;

    // ConstructionLink
    void readConstruction(FieldRecord& record) override;
    void setFillText(const QString& text) override;

private:
    std::function<MainWindow&()> main_;
    std::function<ConstructionWindow&()> construction_;
    int nesting_ = 0;
    int nestingPeak_ = 0;
};

} // namespace zorva::ui
