// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one fake DialogSeam of the tests. Message boxes are recorded; file
// dialogs answer from queues the test fills beforehand (an empty name
// answers as a cancelled dialog). A file dialog with no queued answer fails
// the running test in either mode, since the real one would wait for the
// user.
//
// Strict: every message box must be announced with expectMessages(); one
// beyond those fails the running test.
// Tolerant: any message box is accepted and recorded; the test claims or
// counts them afterwards.
// Whatever failed is also kept in unexpected().

#include "widgets/dialogs/dialogseam.h"

#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QPrinter>
#include <QQueue>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include <utility>

class FakeDialogs : public zorva::ui::DialogSeam {
public:
    enum class Mode { Strict, Tolerant };

    struct Message {
        QPointer<QWidget> parent;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString title;
        QString text;
    };

    struct FileRequest {
        QPointer<QWidget> parent;
        bool save = false;
        QString nameFilter;
        QString selected;
    };

    struct Question {
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
    };

    explicit FakeDialogs(Mode mode = Mode::Strict) : mode_(mode) {}

    // Queues the button the next question answers with, and whether the
    // next print dialog is accepted. A question or print dialog with no
    // queued answer fails the running test in either mode. An accepted
    // print dialog given `pdfFile` sets the printer up to print into that
    // PDF file, as choosing "print to file" in the real dialog does.
    void answerQuestion(QMessageBox::StandardButton button) { questionAnswers_.enqueue(button); }
    void answerPrint(bool accept, const QString& pdfFile = QString()) {
        printAnswers_.enqueue({accept, pdfFile});
    }
    const QList<Question>& questions() const { return questions_; }
    int printRequests() const { return printRequests_; }

    // Allows `count` more message boxes (strict mode).
    void expectMessages(int count = 1) { allowedMessages_ += count; }

    // Queues the name the next save or open dialog returns.
    void answerSave(const QString& fileName) { saveAnswers_.enqueue(fileName); }
    void answerOpen(const QString& fileName) { openAnswers_.enqueue(fileName); }

    const QList<Message>& messages() const { return messages_; }
    // Removes and returns the oldest recorded message (an empty one when
    // there is none).
    Message takeMessage() { return messages_.isEmpty() ? Message{} : messages_.takeFirst(); }

    // Every file dialog shown, in order, and those of one kind.
    const QList<FileRequest>& fileRequests() const { return fileRequests_; }
    QList<FileRequest> saveRequests() const { return requests(true); }
    QList<FileRequest> openRequests() const { return requests(false); }

    const QStringList& unexpected() const { return unexpected_; }

    // Expected messages not shown and file answers not taken.
    int pendingExpectations() const {
        return allowedMessages_ + static_cast<int>(saveAnswers_.size() + openAnswers_.size() +
                                                   questionAnswers_.size() + printAnswers_.size());
    }

    void message(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                 const QString& text) override {
        messages_.append(Message{parent, icon, title, text});
        if (mode_ == Mode::Tolerant)
            return;
        if (allowedMessages_ > 0)
            --allowedMessages_;
        else
            fail(QStringLiteral("unexpected message box \"%1\": %2").arg(title, text));
    }

    QString saveFileName(QWidget* parent, const QString& nameFilter,
                         const QString& selected) override {
        return answer(parent, true, nameFilter, selected);
    }

    QString openFileName(QWidget* parent, const QString& nameFilter,
                         const QString& selected) override {
        return answer(parent, false, nameFilter, selected);
    }

    QMessageBox::StandardButton question(QWidget*, const QString& title, const QString& text,
                                         QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton) override {
        questions_.append(Question{title, text, buttons});
        if (questionAnswers_.isEmpty()) {
            fail(QStringLiteral("unexpected question \"%1\": %2").arg(title, text));
            return QMessageBox::Cancel;
        }
        return questionAnswers_.dequeue();
    }

    bool choosePrinter(QWidget*, QPrinter& printer) override {
        ++printRequests_;
        if (printAnswers_.isEmpty()) {
            fail(QStringLiteral("unexpected print dialog"));
            return false;
        }
        const auto [accept, pdfFile] = printAnswers_.dequeue();
        if (accept && !pdfFile.isEmpty()) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdfFile);
        }
        return accept;
    }

private:
    QString answer(QWidget* parent, bool save, const QString& nameFilter, const QString& selected) {
        fileRequests_.append(FileRequest{parent, save, nameFilter, selected});
        QQueue<QString>& answers = save ? saveAnswers_ : openAnswers_;
        if (answers.isEmpty()) {
            fail(QStringLiteral("unexpected %1 dialog (%2)")
                     .arg(save ? QStringLiteral("save") : QStringLiteral("open"), nameFilter));
            return {};
        }
        return answers.dequeue();
    }

    QList<FileRequest> requests(bool save) const {
        QList<FileRequest> list;
        for (const FileRequest& request : fileRequests_) {
            if (request.save == save)
                list.append(request);
        }
        return list;
    }

    void fail(const QString& what) {
        unexpected_.append(what);
        QTest::qFail(qPrintable(what), __FILE__, __LINE__);
    }

    Mode mode_;
    int allowedMessages_ = 0;
    QQueue<QString> saveAnswers_;
    QQueue<QString> openAnswers_;
    QQueue<QMessageBox::StandardButton> questionAnswers_;
    QQueue<std::pair<bool, QString>> printAnswers_;
    QList<Question> questions_;
    int printRequests_ = 0;
    QList<Message> messages_;
    QList<FileRequest> fileRequests_;
    QStringList unexpected_;
};
