// SPDX-License-Identifier: GPL-3.0-or-later
// Number texts from Chinese input methods and pastes: full-width forms and
// odd spaces become ASCII, invisible direction controls go, and the result
// reads as the number the user sees.

#include "core/engine/inputtext.h"
#include "core/engine/numparse.h"

#include <QTest>

namespace {
std::u16string u16(const QString& text) {
    return text.toStdU16String();
}
} // namespace

class InputTextTest : public QObject {
    Q_OBJECT

private slots:
    void normalize_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("caret");       // before text[caret] ...
        QTest::addColumn<int>("mappedCaret"); // ... stands here afterwards
        QTest::newRow("full-width 18") << u"１８"_qs << "18" << 18.0 << 2 << 2;
        QTest::newRow("ideographic space") << u"\u300018"_qs << " 18" << 18.0 << 1 << 1;
        QTest::newRow("no-break space") << u"\u00A018"_qs << " 18" << 18.0 << 3 << 3;
        QTest::newRow("direction marks") << u"\u200E1\u200F8"_qs << "18" << 18.0 << 3 << 1;
        QTest::newRow("sign, point, exponent")
            << u"－１．５Ｅ＋２"_qs << "-1.5E+2" << -150.0 << 7 << 7;
        QTest::newRow("small e") << u"２ｅ１"_qs << "2e1" << 20.0 << 0 << 0;
        QTest::newRow("isolates, embeddings, bom")
            << u"\uFEFF\u2066\u202A4\u202C\u2069\u061C5"_qs << "45" << 45.0 << 8 << 2;
        QTest::newRow("full-width comma stays") << u"１２，５"_qs << u"12，5"_qs << 12.0 << 9 << 4;
        QTest::newRow("plain text unchanged") << "50mm"
                                              << "50mm" << 50.0 << 4 << 4;
        QTest::newRow("NUL and zero-width space stay")
            << QString(u"7\0\u200B"_qs) << QString(u"7\0\u200B"_qs) << 7.0 << 3 << 3;
        QTest::newRow("empty") << ""
                               << "" << 0.0 << 0 << 0;
    }

    void normalize() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QFETCH(double, value);
        QFETCH(int, caret);
        QFETCH(int, mappedCaret);
        const std::u16string result = zorva::normalizeNumberText(u16(text));
        QCOMPARE(QString::fromStdU16String(result), expected);
        QCOMPARE(zorva::needsNumberNormalizing(u16(text)), text != expected);
        QCOMPARE(zorva::parseLeadingNumber(result), value);
        QCOMPARE(zorva::normalizedPosition(u16(text), std::size_t(caret)),
                 std::size_t(mappedCaret));
    }
};

QTEST_APPLESS_MAIN(InputTextTest)
#include "tst_inputtext.moc"
