// Number texts of the window: reading fields, the keystroke filter, the field table's checks,
// the rounding and general format of the result labels, and the standard resistor values.

#include "core/decimal_text.h"
#include "core/standard_values.h"
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

    // Four digits behind a rounded label, in the unit the value reads best in; the unit follows
    // the rounded value.
    void significantDigits() {
        QCOMPARE(formatSignificant(0.7, 4), std::string("0,7000"));
        QCOMPARE(formatSignificant(-0.0012345, 3), std::string("-0,00123"));
        QCOMPARE(formatSignificant(12346, 4), std::string("12350"));
        QCOMPARE(resistanceText(26.50213), std::string("26,50 Ом"));
        QCOMPARE(resistanceText(999.96), std::string("1,000 кОм"));
        QCOMPARE(resistanceText(10075), std::string("10,08 кОм"));
        QCOMPARE(resistanceText(1e7), std::string("10,00 МОм"));
    }

    // E96 is the rounded geometric series exactly; E24 keeps its historic values within 5 %.
    void standardSeriesTables() {
        const auto e96 = seriesValues(StandardSeries::E96);
        QCOMPARE(e96.size(), std::size_t(96));
        for (std::size_t i = 0; i < e96.size(); ++i)
            QCOMPARE(e96[i], int(std::lround(100 * std::pow(10.0, i / 96.0))));
        const auto e24 = seriesValues(StandardSeries::E24);
        QCOMPARE(e24.size(), std::size_t(24));
        for (std::size_t i = 0; i < e24.size(); ++i) {
            QVERIFY(i == 0 || e24[i] > e24[i - 1]);
            QVERIFY(std::abs(e24[i] / (10 * std::pow(10.0, i / 24.0)) - 1) < 0.05);
        }
    }

    // In kΩ, as the Variant 3 fields receive them: 0,05 … 1000, and what Variant 1 finds beyond.
    void nearestStandardValues() {
        using enum StandardSeries;
        const struct {
            StandardSeries series;
            double kiloOhms;
            const char *nearest;
        } cases[] = {
            {E96, 6.0357, "6,04"}, {E24, 6.0357, "6,2"},   {E24, 0.05, "0,051"},
            {E96, 0.05, "0,0499"}, {E24, 0.0625, "0,062"}, {E96, 0.0123, "0,0124"},
            {E24, 95.3, "91"},     {E24, 95.5, "100"},     {E96, 0.987, "0,976"},
            {E96, 0.99, "1"},      {E96, 1000, "1000"},    {E96, 1010, "1020"},
            {E24, 1048, "1000"},   {E24, 1049, "1100"},    {E24, 9999, "10000"},
        };
        for (const auto &c : cases)
            QCOMPARE(formatGeneral(nearestStandardValue(c.series, c.kiloOhms)),
                     std::string(c.nearest));

        // Every value and the geometric mean to the next one, decade edges included, from
        // 10 Ω to 10 MΩ: a value keeps itself, the tie goes up, just below it goes down.
        for (const StandardSeries series : {E24, E96}) {
            const auto values = seriesValues(series);
            for (int decade = -2; decade <= 4; ++decade) {
                const double unit = std::pow(10.0, decade) / values.front();
                for (std::size_t i = 0; i < values.size(); ++i) {
                    const double value = values[i] * unit;
                    const double next =
                        (i + 1 < values.size() ? values[i + 1] : 10 * values[0]) * unit;
                    const double tie = std::sqrt(value * next);
                    QCOMPARE(nearestStandardValue(series, value), value);
                    QCOMPARE(nearestStandardValue(series, tie), next);
                    QCOMPARE(nearestStandardValue(series, tie * (1 - 1e-9)), value);
                }
            }
        }
    }
};

int main(int argc, char **argv) { return runUnderEachLocale<DecimalTextTest>(argc, argv); }

#include "test_decimal_text.moc"
