// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: the seven design parameters of one heating loop, the
// Calculate button and the seven results, all held as field texts; the
// calculation's working variables; the menus; the record buffer and the
// file dialog shared by the file commands.

#include "core/engine/inputs.h"
#include "core/engine/workingvars.h"
#include "core/wording/designwording.h"
#include "widgets/dialogs/filedialog.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zorva {
struct LinkNumbers;
}

namespace zorva::models {
class DesignSession;
}

namespace zorva::ui {

class ConstructionLink;
class DialogSeam;
class WindowCommands;

// How a Calculate run ended.
enum class CalcOutcome {
    Converged,    // the seven result fields show this run's results
    NotConverged, // the pass limit was reached; the result fields were left alone
    Fault,        // an arithmetic fault stopped the run; the user has been told
};

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kFieldCount = 14;                             // Txt(0) .. Txt(13)
    static constexpr int kFirstResultField = zorva::kFirstResultField; // Txt(7), the heat output
    static constexpr int kResultFieldCount = zorva::kResultCount;      // Txt(7) .. Txt(13)

    // Builds the window hidden, with its default texts. `construction` is its
    // side of the depth link, `dialogs` shows every dialog, `commands`
    // reaches the other windows for the menu; all three outlive the window.
    MainWindow(ConstructionLink& construction, DialogSeam& dialogs, WindowCommands& commands);
    ~MainWindow() override;

    // The load step: copies the construction values of the construction
    // window (creating it hidden when needed) into the working variables.
    void load();

    // The click of the Calculate button "计算": runs the calculation on the
    // fields as they stand and writes the results. Faults and a run that
    // does not converge are reported in a message box before this returns.
    CalcOutcome calculate();

    // Field Txt(index), 0 to 13: the design fields, then the results.
    QLineEdit* field(int index) const;
    QLineEdit* designField(zorva::DesignField which) const { return field(which); }
    // Result k (0 to 6, in the order of zorva::ResultTexts): Txt(7 + k).
    QLineEdit* resultField(int k) const;
    QPushButton* calculateButton() const { return calculateButton_; }

    const zorva::WorkingVars& workingVars() const { return vars_; }

    // The texts of both windows' design and construction fields as they
    // stand now.
    zorva::FieldRecord fieldRecord() const { return currentFields(); }

    // The tool windows' view of this window: told of every edit of an input
    // field and of every converged run. May be null.
    void setSession(models::DesignSession* session) { session_ = session; }
    FileDialog& fileDialog() { return fileDialog_; }
    DialogSeam& dialogs() const { return dialogs_; }
    WindowCommands& commands() const { return commands_; }

    // The hidden record buffer Text1(0) of the file commands.
    const QString& recordBuffer() const { return recordBuffer_; }
    void setRecordBuffer(const QString& text) { recordBuffer_ = text; }

    // Menu commands.
    void saveRecordClick();
    void openRecordClick();
    void savePictureClick();
    void printPictureClick();
    void constructionClick();
    void principleClick();
    void guidanceClick();
    void characteristicsClick();
    void aboutClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class WindowFields;

    void buildLayout();
    void buildMenus();
    QGroupBox* addFrame(QWidget* parent, const char* name, const QString& caption, int left,
                        int top, int width, int height);
    void connectHandlers();

    zorva::FieldRecord currentFields() const;
    zorva::LinkNumbers linkNumbers() const;
    void loadConstruction();
    bool resultsFromLastRun() const;
    bool isField(const QObject* object) const;

    void onFieldChanged();

    ConstructionLink& construction_;
    DialogSeam& dialogs_;
    WindowCommands& commands_;
    zorva::WorkingVars vars_;
    FileDialog fileDialog_;
    QString recordBuffer_;
    // The result texts the last converged run wrote; empty before one.
    QStringList lastResults_;

    std::array<QLineEdit*, kFieldCount> fields_{};
    std::array<QLabel*, kFieldCount> captionLabels_{};
    std::array<QLabel*, 23> unitLabels_{}; // 0 .. 13 units, 20 .. 22 the raised "2"
    QPushButton* calculateButton_ = nullptr;
    models::DesignSession* session_ = nullptr;
};

} // namespace zorva::ui
