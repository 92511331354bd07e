#pragma once
// The settings window: the floor construction (thickness and conductivity of
// the three layers and of the pipe wall) and the elbow count of one loop.
// Its fields are the only store of these values. A change of a layer
// thickness rewrites the main window's burial depth.

#include <QWidget>

#include <array>

class DialogSeam;
class MainLink;
class QCloseEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zorva {
struct FieldRecord;
}

class shezhi : public QWidget {
    Q_OBJECT

public:
    // Builds the window hidden, with its default texts.
    shezhi(MainLink& main, DialogSeam& dialogs, QWidget* parent = nullptr);

    // Thickness fields Txt1(0) .. Txt1(3) and the elbow count Txt1(5).
    QLineEdit* txt1(int index) const;
    // Conductivity fields Text1(0) .. Text1(3).
    QLineEdit* text1(int index) const;
    QPushButton* okButton() const { return command1_; }

    // Copies the construction texts into the record.
    void readInto(zorva::FieldRecord& record) const;

signals:
    // The user closed the window; it goes away with everything typed in it.
    void closing();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    QLabel* addLabel(const QString& name, const QString& caption, int left, int top);
    QLineEdit* addField(const QString& name, const QString& text, const QString& accessible,
                        int left, int top);
    void connectHandlers();

    void txt1Change(int index);
    void text1Change(int index);
    void command1Click();

    MainLink& main_;
    DialogSeam& dialogs_;
    std::array<QLineEdit*, 6> txt1_{}; // no element 4
    std::array<QLineEdit*, 4> text1_{};
    QPushButton* command1_ = nullptr;
};
