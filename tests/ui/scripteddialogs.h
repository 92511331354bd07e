#pragma once
// A DialogSeam for tests: message boxes are recorded, file dialogs answer
// from queues the test fills beforehand. Any call the test did not announce
// (a message beyond those expected, a file dialog with no queued answer)
// fails the running test and is recorded in unexpected().

#include "dialogseam.h"

#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QQueue>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QWidget>

class ScriptedDialogs : public DialogSeam {
public:
    struct Message {
        QPointer<QWidget> parent;
        QMessageBox::Icon icon;
        QString title;
        QString text;
    };

    struct FileRequest {
        QPointer<QWidget> parent;
        QString nameFilter;
        QString selected;
    };

    // Allows `count` more message boxes.
    void expectMessages(int count = 1) { allowedMessages_ += count; }

    // Queues the name the next save or open dialog returns; an empty name
    // answers as a cancelled dialog.
    void answerSave(const QString& fileName) { saveAnswers_.enqueue(fileName); }
    void answerOpen(const QString& fileName) { openAnswers_.enqueue(fileName); }

    const QList<Message>& messages() const { return messages_; }
    const QList<FileRequest>& saveRequests() const { return saveRequests_; }
    const QList<FileRequest>& openRequests() const { return openRequests_; }
    const QStringList& unexpected() const { return unexpected_; }

    // Expected messages not shown and file answers not taken.
    int pendingExpectations() const {
        return allowedMessages_ + static_cast<int>(saveAnswers_.size() + openAnswers_.size());
    }

    void message(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                 const QString& text) override {
        messages_.append(Message{parent, icon, title, text});
        if (allowedMessages_ > 0)
            --allowedMessages_;
        else
            fail(QStringLiteral("unexpected message box \"%1\": %2").arg(title, text));
    }

    QString saveFileName(QWidget* parent, const QString& nameFilter,
                         const QString& selected) override {
        saveRequests_.append(FileRequest{parent, nameFilter, selected});
        if (saveAnswers_.isEmpty()) {
            fail(QStringLiteral("unexpected save dialog (%1)").arg(nameFilter));
            return {};
        }
        return saveAnswers_.dequeue();
    }

    QString openFileName(QWidget* parent, const QString& nameFilter,
                         const QString& selected) override {
        openRequests_.append(FileRequest{parent, nameFilter, selected});
        if (openAnswers_.isEmpty()) {
            fail(QStringLiteral("unexpected open dialog (%1)").arg(nameFilter));
            return {};
        }
        return openAnswers_.dequeue();
    }

private:
    void fail(const QString& what) {
        unexpected_.append(what);
        QTest::qFail(qPrintable(what), __FILE__, __LINE__);
    }

    int allowedMessages_ = 0;
    QQueue<QString> saveAnswers_;
    QQueue<QString> openAnswers_;
    QList<Message> messages_;
    QList<FileRequest> saveRequests_;
    QList<FileRequest> openRequests_;
    QStringList unexpected_;
};
