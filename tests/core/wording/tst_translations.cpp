// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's own texts follow the locale: Chinese for zh_CN, English where Qt has
// no translation.

#include "core/wording/translations.h"

#include <QLocale>
#include <QTest>

class TranslationsTest : public QObject {
    Q_OBJECT

private slots:
    void qtTexts_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<QString>("cancel");
        QTest::newRow("zh_CN") << QLocale(QLocale::Chinese, QLocale::China) << true << "取消";
        QTest::newRow("no translation") << QLocale(QLocale::Esperanto) << false << "Cancel";
    }

    void qtTexts() {
        QFETCH(QLocale, locale);
        QFETCH(bool, loaded);
        QFETCH(QString, cancel);
        int argc = 1;
        char name[] = "tst_translations";
        char* argv[] = {name, nullptr};
        QCoreApplication app(argc, argv);
        QCOMPARE(zorva::installQtTranslations(app, locale), loaded);
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), cancel);
    }
};

QTEST_APPLESS_MAIN(TranslationsTest)
#include "tst_translations.moc"
