// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/jsonkeys.h"

#include <QSet>

#include <vector>

namespace zorva::io {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 0;
}

// Walks valid JSON; every object's keys are kept in a set while the object
// is open.
class KeyScanner {
public:
    explicit KeyScanner(QByteArrayView json) : json_(json) {}

    std::optional<RepeatedKey> run() {
        while (pos_ < json_.size()) {
            const char c = json_[pos_];
            if (c == '{') {
                open_.emplace_back(true);
                ++pos_;
                expectKey_ = true;
            } else if (c == '[') {
                open_.emplace_back(false);
                ++pos_;
            } else if (c == '}' || c == ']') {
                open_.pop_back();
                expectKey_ = false;
                ++pos_;
            } else if (c == ',') {
                expectKey_ = !open_.empty() && open_.back().object;
                ++pos_;
            } else if (c == '"') {
                const qsizetype start = pos_;
                const QString text = readString();
                if (expectKey_) {
                    expectKey_ = false;
                    QSet<QString>& keys = open_.back().keys;
                    if (keys.contains(text))
                        return RepeatedKey{text, start};
                    keys.insert(text);
                }
            } else {
                ++pos_; // blanks, colons, numbers and literals
            }
        }
        return std::nullopt;
    }

private:
    struct Open {
        explicit Open(bool isObject) : object(isObject) {}
        bool object;
        QSet<QString> keys;
    };

    // The string at pos_, unescaped; pos_ ends after its closing mark.
    QString readString() {
        QString text;
        qsizetype run = ++pos_;
        const auto flush = [&] { text += QString::fromUtf8(json_.sliced(run, pos_ - run)); };
        while (pos_ < json_.size() && json_[pos_] != '"') {
            if (json_[pos_] != '\\') {
                ++pos_;
                continue;
            }
            flush();
            const char e = pos_ + 1 < json_.size() ? json_[pos_ + 1] : '\\';
            pos_ += 2;
            switch (e) {
            case 'b':
                text += u'\b';
                break;
            case 'f':
                text += u'\f';
                break;
            case 'n':
                text += u'\n';
                break;
            case 'r':
                text += u'\r';
                break;
            case 't':
                text += u'\t';
                break;
            case 'u': {
                char16_t unit = 0;
                for (int i = 0; i < 4 && pos_ < json_.size(); ++i)
                    unit = char16_t(unit << 4 | hexDigit(json_[pos_++]));
                text += QChar(unit);
                break;
            }
            default: // " \ /
                text += QChar(char16_t(static_cast<unsigned char>(e)));
                break;
            }
            run = pos_;
        }
        flush();
        ++pos_;
        return text;
    }

    QByteArrayView json_;
    qsizetype pos_ = 0;
    std::vector<Open> open_;
    bool expectKey_ = false;
};

} // namespace

std::optional<RepeatedKey> findRepeatedKey(QByteArrayView json) {
    return KeyScanner(json).run();
}

} // namespace zorva::io
