#pragma once
// The main window: the seven design parameters of one heating loop, the
// Calculate button and the seven results, all held as field texts; the
// calculation's working variables; the menus; the record buffer and the
// file dialog shared by the file commands.

#include "commondialog.h"
#include "workingvars.h"

#include <QMainWindow>
#include <QString>

#include <array>

class DialogSeam;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class WindowRegistry;
class shezhi;

namespace zorva {
class ArithmeticError;
struct FieldRecord;
} // namespace zorva

// How a Calculate run ended.
enum class CalcOutcome {
    Converged,    // the seven result fields show this run's results
    NotConverged, // the pass limit was reached; the result fields were left alone
    Fault,        // an arithmetic fault stopped the run; the user has been told
};

class Zorva : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kFieldCount = 14; // Txt(0) .. Txt(13)

    // Builds the window hidden, with its default texts. The windows registry
    // gives access to the settings window and the dialogs.
    explicit Zorva(WindowRegistry& windows);
    ~Zorva() override;

    // The load step: copies the construction values of the settings window
    // (creating it hidden when needed) into the working variables.
    void load();

    // The click of Command1 "计算": runs the calculation on the fields as
    // they stand and writes the results. Faults and a run that does not
    // converge are reported in a message box before this returns.
    CalcOutcome calculate();

    QLineEdit* txt(int index) const;
    QPushButton* calculateButton() const { return command1_; }

    const zorva::WorkingVars& workingVars() const { return vars_; }
    CommonDialog& commonDialog() { return commonDialog1_; }
    DialogSeam& dialogs() const;
    WindowRegistry& windows() const { return windows_; }

    // The hidden record buffer Text1(0) of the file commands.
    const QString& recordBuffer() const { return recordBuffer_; }
    void setRecordBuffer(const QString& text) { recordBuffer_ = text; }

    // Menu commands.
    void saveClick();
    void openClick();
    void imageClick();
    void printClick();
    void settingClick();
    void principleClick();
    void introdceClick();
    void characterClick();
    void aboutClick();

signals:
    // The main window was closed: the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void buildMenus();
    QGroupBox* addFrame(QWidget* parent, const char* name, const QString& caption, int left,
                        int top, int width, int height);
    void connectHandlers();

    shezhi& settings() const;
    zorva::FieldRecord currentFields() const;
    void readSettings();
    void reportFault(const zorva::ArithmeticError& error);
    bool isTxt(const QObject* object) const;

    void txtChange(int index);

    WindowRegistry& windows_;
    zorva::WorkingVars vars_;
    CommonDialog commonDialog1_;
    QString recordBuffer_;

    std::array<QLineEdit*, kFieldCount> txt_{};
    std::array<QLabel*, kFieldCount> lab_{};
    std::array<QLabel*, 23> lb_{}; // 0 .. 13 units, 20 .. 22 the raised "2"
    QPushButton* command1_ = nullptr;
};
