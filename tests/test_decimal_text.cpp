// Number texts of the window: reading fields, the keystroke filter, the field table's checks
// and the rounding and general format of the result labels.

#include "core/decimal_text.h"
#include "input/field_table.h"
#include "input/key_filter.h"
#include "user_locales.h"

#include <QTest>
#include <cmath>
#include <limits>

class DecimalTextTest : public QObject {
    Q_OBJECT

private slots:
    void readsFieldTexts() {
        QCOMPARE(parseDecimalComma("5,"), std::optional<double>(5.0));
        QCOMPARE(parseDecimalComma("0,05"), std::optional<double>(0.05));
        QCOMPARE(parseDecimalComma("1000"), std::optional<double>(1000.0));
        QCOMPARE(parseDecimalComma("007,50"), std::optional<double>(7.5));
        // What only a paste can bring: not a number of this window.
        for (const char *text :
             {"", ",5", "1.5", "-5", "+5", "1e3", " 5", "5 ", "1,2,3", "0x10", "inf", "nan", "５"})
            QVERIFY2(!parseDecimalComma(text), text);
        // Beyond the double range there is no number; below it, zero.
        QVERIFY(!parseDecimalComma(std::string(400, '9')));
        QCOMPARE(parseDecimalComma("0," + std::string(400, '0') + "1"), std::optional<double>(0.0));
    }

    void keystrokeFilterAdmitsDigitsAndComma() {
        for (char32_t c = U'0'; c <= U'9'; ++c)
            QCOMPARE(numericKeyFilter(c, false), std::optional<char32_t>(c));
        QCOMPARE(numericKeyFilter(U',', false), std::optional<char32_t>(U','));
        QCOMPARE(numericKeyFilter(U'.', false), std::optional<char32_t>(U','));
        for (char32_t c : {U'-', U'+', U'e', U'E', U' ', U'a', U'Ж', U'\b', U'\r', U'\t', U'\x16'})
            QVERIFY(!numericKeyFilter(c, false));
        // Right after Backspace went down everything passes, the backspace character included.
        QCOMPARE(numericKeyFilter(U'\b', true), std::optional<char32_t>(U'\b'));
        QCOMPARE(numericKeyFilter(U'x', true), std::optional<char32_t>(U'x'));
    }

    void fieldChecksFollowTheTable() {
        const FieldSpec &r1 = fieldSpec(16);
        QCOMPARE(checkFieldText(",5", r1).verdict, FieldVerdict::CommaFault);
        QCOMPARE(checkFieldText("1,2,5", r1).verdict, FieldVerdict::CommaFault);
        QCOMPARE(checkFieldText("1-2", r1).verdict, FieldVerdict::NotANumber);
        QCOMPARE(checkFieldText("0,05", r1).verdict, FieldVerdict::Accepted);
        const FieldCheck low = checkFieldText("0,04", r1);
        QCOMPARE(low.verdict, FieldVerdict::BelowMin);
        QCOMPARE(low.value, 0.04);
        QCOMPARE(checkFieldText("1000", r1).verdict, FieldVerdict::Accepted);
        QCOMPARE(checkFieldText("1000,5", r1).verdict, FieldVerdict::AboveMax);
        QCOMPARE(checkFieldText("9,99", fieldSpec(31)).verdict, FieldVerdict::BelowMin);
        QCOMPARE(checkFieldText("300", fieldSpec(37)).verdict, FieldVerdict::AboveMax);
    }

    // A typo in the table would show as a default or a clamp text the field itself refuses.
    void everyDefaultAndClampTextPassesItsField() {
        int fields = 0;
        for (const FieldSpec &field : fieldTable()) {
            ++fields;
            for (const char *text : {field.defaultText, field.minText, field.maxText})
                QVERIFY2(checkFieldText(text, field).verdict == FieldVerdict::Accepted,
                         qPrintable(QString("Edit%1 '%2'").arg(field.edit).arg(text)));
            QCOMPARE(*parseDecimalComma(field.minText), field.min);
            QCOMPARE(*parseDecimalComma(field.maxText), field.max);
        }
        QCOMPARE(fields, 37);
    }

    void groupsListTheirFieldsInCheckOrder() {
        const auto edits = [](FieldGroup g) {
            QList<int> numbers;
            for (const FieldSpec &field : groupFields(g))
                numbers << field.edit;
            return numbers;
        };
        QCOMPARE(edits(FieldGroup::InvertingVariant1), QList<int>({1, 2, 3, 4, 5}));
        QCOMPARE(edits(FieldGroup::NonInvertingVariant2), QList<int>({21, 22, 23, 24, 25}));
        QCOMPARE(edits(FieldGroup::Speaker), QList<int>({31, 32, 33, 34, 35, 36, 37}));
        QCOMPARE(fieldSpec(21).destination, &LastResults::targetGain);
        QVERIFY(fieldSpec(28).kiloOhm);
        QVERIFY(!fieldSpec(29).kiloOhm);
    }

    void resultsRoundHalfToEven() {
        QCOMPARE(displayRounded(0.25, 1), std::string("0,2"));
        QCOMPARE(displayRounded(0.75, 1), std::string("0,8"));
        QCOMPARE(displayRounded(2.5, 0), std::string("2"));
        QCOMPARE(displayRounded(2.19956, 2), std::string("2,2"));
        QCOMPARE(displayRounded(6.452, 1), std::string("6,5"));
        QCOMPARE(displayRounded(0.70022, 3), std::string("0,7"));
        QCOMPARE(displayRounded(103.886, 2), std::string("103,89"));
        QCOMPARE(displayRounded(4167.003, 2), std::string("4167"));
        QCOMPARE(displayRounded(-1.9557, 3), std::string("-1,956"));
        QCOMPARE(displayRounded(0.0000417, 1), std::string("0"));
        QCOMPARE(displayRounded(-0.004, 2), std::string("0"));
        // Kilo-ohms from ohms: 125 Ω and 10 075 Ω lie on ties after the division by 10.
        QCOMPARE(displayKiloOhms(125), std::string("0,12"));
        QCOMPARE(displayKiloOhms(135), std::string("0,14"));
        QCOMPARE(displayKiloOhms(10075), std::string("10,08"));
        QCOMPARE(displayKiloOhms(10065), std::string("10,06"));
        QCOMPARE(displayKiloOhms(999.78), std::string("1"));
        QCOMPARE(displayKiloOhms(20000), std::string("20"));
        // Rounding stays in floating point: no integer conversion to overflow.
        QCOMPARE(displayRounded(1e300, 2), std::string("1E300"));
    }

    void generalFormat() {
        QCOMPARE(formatGeneral(20), std::string("20"));
        QCOMPARE(formatGeneral(6.5), std::string("6,5"));
        QCOMPARE(formatGeneral(1234567), std::string("1234567"));
        QCOMPARE(formatGeneral(1.0 / 3), std::string("0,333333333333333"));
        QCOMPARE(formatGeneral(2.0 / 3 * 1000), std::string("666,666666666667"));
        QCOMPARE(formatGeneral(123456789012345.6), std::string("123456789012346"));
        QCOMPARE(formatGeneral(1e15), std::string("1E15"));
        QCOMPARE(formatGeneral(0.00001), std::string("0,00001"));
        QCOMPARE(formatGeneral(0.0000015), std::string("1,5E-6"));
        QCOMPARE(formatGeneral(-0.0), std::string("0"));
        QCOMPARE(formatGeneral(-12.5), std::string("-12,5"));
        QCOMPARE(formatGeneral(std::numeric_limits<double>::max()),
                 std::string("1,79769313486232E308"));
        QCOMPARE(formatGeneral(std::numeric_limits<double>::denorm_min()),
                 std::string("4,94065645841247E-324"));
    }
};

int main(int argc, char **argv) { return runUnderEachLocale<DecimalTextTest>(argc, argv); }

#include "test_decimal_text.moc"
