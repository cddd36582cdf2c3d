#include <QTest>

#include "app/decimal_separator.h"
#include "test_registry.h"

namespace orvane::app::testing {

class DecimalSeparatorTest : public QObject {
    Q_OBJECT

private slots:
    void takesTheLocalesSingleAsciiSeparator_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<char>("separator");
        QTest::newRow("C") << QLocale::c() << '.';
        QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates) << '.';
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << ',';
        QTest::newRow("French") << QLocale(QLocale::French, QLocale::France) << ',';
    }
    void takesTheLocalesSingleAsciiSeparator() {
        QFETCH(QLocale, locale);
        QFETCH(char, separator);
        QCOMPARE(decimalSeparator(locale), separator);
    }

    void anyOtherSeparatorBecomesAFullStop() {
        // Arabic as written in Egypt separates decimals with U+066B.
        const QLocale arabic(QLocale::Arabic, QLocale::Egypt);
        QVERIFY(arabic.decimalPoint() != QStringLiteral("."));
        QCOMPARE(decimalSeparator(arabic), '.');
    }
};

static RegisterTest registration("DecimalSeparatorTest",
                                 [] { return std::make_unique<DecimalSeparatorTest>(); });

} // namespace orvane::app::testing

#include "decimal_separator_test.moc"
