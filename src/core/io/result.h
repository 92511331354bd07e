// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The outcome of an operation that may fail with a message for the user:
// the value, or a Problem saying what failed (in Chinese, naming the file,
// line or field) and, when the system refused, the system's own reason.
// Files, CSV, project files, the manifold sheet and zorva-calc all report
// failures this way. (The engine's ArithmeticError is different: it stops a
// run at the faulting step and is caught where the run is made.)

#include <QString>

#include <utility>
#include <variant>

namespace zorva {

struct Problem {
    QString message; // Chinese: what failed and where
    QString reason;  // the system's text (strerror and the like); may be empty
    // A number the caller may sort problems by (zorva-calc: its exit
    // status); 0 when unused.
    int code = 0;

    // The message, then "：" and the reason when there is one; characters
    // that would cut or garble the text (NUL and the other control
    // characters but tab and line ends) are shown escaped.
    QString text() const;
};

// `text` with NUL shown as \0 and the other control characters except tab,
// CR and LF as \xHH, so that a value quoted from a file reaches the user
// whole and cannot steer a terminal.
QString escapedControls(const QString& text);

template <typename T> class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Problem problem) : state_(std::in_place_index<1>, std::move(problem)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    // The value; only when ok().
    const T& value() const& { return std::get<0>(state_); }
    T& value() & { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    const T& operator*() const& { return value(); }
    T& operator*() & { return value(); }
    const T* operator->() const { return &value(); }
    T* operator->() { return &value(); }

    // What failed; only when !ok().
    const Problem& problem() const { return std::get<1>(state_); }
    // problem().text(), or empty when ok.
    QString error() const { return ok() ? QString() : problem().text(); }

private:
    std::variant<T, Problem> state_;
};

template <> class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Problem problem) : problem_(std::move(problem)), ok_(false) {}

    bool ok() const { return ok_; }
    explicit operator bool() const { return ok_; }
    const Problem& problem() const { return problem_; }
    QString error() const { return ok_ ? QString() : problem_.text(); }

private:
    Problem problem_;
    bool ok_ = true;
};

} // namespace zorva
