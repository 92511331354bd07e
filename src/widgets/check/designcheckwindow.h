// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window "设计校核": the design rules checked on the last converged
// calculation of the main window, what to change when one fails (the output
// the floor limit allows, the supply temperature a heat load needs, the part
// left to other heating), and the EN 1264-2 cross-check beside this
// program's method. It follows the design session: a new calculation
// refreshes it, an edit of the inputs marks it as the last calculation's,
// and an edited limit re-checks the last calculation. It never calculates
// in the main window.

#include "core/engine/designreview.h"
#include "core/method/loopresult.h"

#include <QWidget>

#include <optional>

class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QTableView;

namespace zorva::models {
class CrossCheckModel;
class DesignSession;
class RuleTableModel;
} // namespace zorva::models

namespace zorva::ui {

class CoolingPanel;
class LimitsPanel;

class DesignCheckWindow : public QWidget {
    Q_OBJECT

public:
    // A top-level window (also when given a parent) following `session`,
    // which must outlive it.
    explicit DesignCheckWindow(models::DesignSession& session, QWidget* parent = nullptr);
    ~DesignCheckWindow() override;

    // The review shown, empty before the first calculation.
    const std::optional<DesignReview>& review() const { return review_; }

    LimitsPanel* limitsPanel() const { return limits_; }
    models::RuleTableModel* rules() const { return rules_; }
    models::CrossCheckModel* crossCheck() const { return crossCheck_; }
    // The tables as shown: the models above with the verdicts' icons.
    QTableView* rulesView() const { return rulesView_; }
    QTableView* crossCheckView() const { return crossView_; }
    // The calculation method and the season, bound to the session's choices.
    QComboBox* methodChoice() const { return methodChoice_; }
    QComboBox* seasonChoice() const { return seasonChoice_; }
    CoolingPanel* coolingPanel() const { return cooling_; }
    // The chosen method's result for the loop, when it is not the program's.
    const std::optional<method::MethodLoopResult>& methodLoop() const { return methodLoop_; }

private:
    QGroupBox* buildRules();
    QGroupBox* buildAdvice();
    QGroupBox* buildCrossCheck();
    void refresh();
    void showStatus();
    void showAdvice(const DesignReview& review);
    void showCrossCheck(const DesignReview& review);
    QHBoxLayout* buildChoices();
    void showSeason();

    models::DesignSession& session_;
    std::optional<DesignReview> review_;
    std::optional<method::MethodLoopResult> methodLoop_;
    QComboBox* methodChoice_ = nullptr;
    QComboBox* seasonChoice_ = nullptr;
    CoolingPanel* cooling_ = nullptr;

    LimitsPanel* limits_;
    QLabel* notice_ = nullptr; // limits moved to new defaults, shown once
    models::RuleTableModel* rules_;
    models::CrossCheckModel* crossCheck_;
    QLabel* statusIcon_ = nullptr;
    QLabel* status_ = nullptr;
    QGroupBox* rulesGroup_ = nullptr;
    QTableView* rulesView_ = nullptr;
    QGroupBox* adviceGroup_ = nullptr;
    QLabel* maxOutput_ = nullptr;
    QLabel* supply_ = nullptr;
    QLabel* shortfall_ = nullptr;
    QGroupBox* enGroup_ = nullptr;
    QLabel* enReason_ = nullptr;
    QLabel* enFlags_ = nullptr;
    QTableView* crossView_ = nullptr;
    QLabel* difference_ = nullptr;
};

} // namespace zorva::ui
