#include "driver_file/wdr_file.h"

#include "core/decimal_text.h"
#include "core/plain_decimal.h"
#include "core/windows1251.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace {

// Each value the window shows: its key in the file, the power of ten from the file's SI unit to
// the field's unit, and where the driver holds it. The optional ones may be missing, and so may
// Qms, which is then derived; for them 0 in the file means "not given".
struct Row {
    std::string_view key;
    int fieldShift;
    double DriverFile::*required;
    std::optional<double> DriverFile::*optional;
};

constexpr std::array<Row, driverValues.size()> rows{{
    {"Fs", 0, &DriverFile::fs, nullptr},
    {"Re", 0, &DriverFile::re, nullptr},
    {"Qms", 0, &DriverFile::qms, nullptr},
    {"Qes", 0, &DriverFile::qes, nullptr},
    {"Vas", 3, &DriverFile::vas, nullptr},   // l
    {"Le", 3, nullptr, &DriverFile::le},     // mH
    {"Sd", 4, nullptr, &DriverFile::sd},     // cm²
    {"Xmax", 3, nullptr, &DriverFile::xmax}, // mm
    {"Pe", 0, nullptr, &DriverFile::pe},
}};

constexpr std::size_t qmsAt = static_cast<std::size_t>(DriverValue::Qms);
constexpr std::size_t qesAt = static_cast<std::size_t>(DriverValue::Qes);

const Row &row(DriverValue value) { return rows[static_cast<std::size_t>(value)]; }

// Spaces, tabs and the CR of a CR LF line end around keys, values and lines.
std::string_view trimmed(std::string_view s) {
    constexpr std::string_view blanks = " \t\r";
    const auto first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(blanks) + 1 - first);
}

// WinISD spells its keys one way; other tools and hand edits do not.
bool sameKey(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

// Bytes no text has: NUL (also of UTF-16) and the other control codes but tab and the line ends.
bool isControl(char c) {
    const auto b = static_cast<std::uint8_t>(c);
    return (b < 0x20 && b != '\t' && b != '\n' && b != '\r') || b == 0x7F;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing beyond U+10FFFF.
bool isUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto lead = static_cast<std::uint8_t>(s[i]);
        const std::size_t extra = lead < 0x80 ? 0 : lead >> 5 == 6 ? 1 : lead >> 4 == 14 ? 2 : 3;
        if ((lead >= 0x80 && lead < 0xC0) || lead >= 0xF8 || s.size() - i <= extra)
            return false;
        char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<std::uint8_t>(s[i + k]);
            if (next >> 6 != 2)
                return false;
            c = c << 6 | (next & 0x3F);
        }
        constexpr char32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (c < least[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

// The texts of the keys the program reads, the first of each where a key repeats (as the Windows
// profile functions, and so WinISD, take it).
struct Texts {
    std::array<std::optional<std::string_view>, rows.size()> values;
    std::optional<std::string_view> qts, brand, model;

    std::optional<std::string_view> *slot(std::string_view key) {
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (sameKey(key, rows[i].key))
                return &values[i];
        return sameKey(key, "Qts")     ? &qts
               : sameKey(key, "Brand") ? &brand
               : sameKey(key, "Model") ? &model
                                       : nullptr;
    }
};

// The [Driver] section's keys, or nothing when the file has no such section.
std::optional<Texts> driverSection(std::string_view text) {
    std::optional<Texts> texts;
    bool inDriver = false;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = trimmed(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            inDriver = sameKey(trimmed(line.substr(1, line.size() - 2)), "Driver");
            if (inDriver && !texts)
                texts.emplace();
            continue;
        }
        const auto equals = line.find('=');
        if (!inDriver || equals == std::string_view::npos)
            continue;
        if (const auto slot = texts->slot(trimmed(line.substr(0, equals))); slot && !*slot)
            *slot = trimmed(line.substr(equals + 1));
    }
    return texts;
}

// A value as a reason quotes it, cut after 20 characters.
std::string quoted(const std::string &text) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((static_cast<std::uint8_t>(text[i]) & 0xC0) != 0x80 && ++characters > 20)
            return "«" + text.substr(0, i) + "…»";
    return "«" + text + "»";
}

// A number as WinISD writes it: C notation with a decimal point ("0.0003", "3E-5"). One beyond
// the double range reads as infinite.
std::optional<double> fileNumber(std::string_view text) {
    double value = 0;
    const char *last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value);
    if (text.empty() || end != last || std::isnan(value))
        return std::nullopt;
    return error == std::errc::result_out_of_range ? HUGE_VAL : value;
}

DriverFileRead refusal(std::string whyNot) { return {std::nullopt, std::move(whyNot)}; }

// A brand or model on one line: a CR inside a line (not a line end) is a space.
std::string oneLine(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return isControl(c) || c == '\r' || c == '\n'; },
        ' ');
    return std::string(trimmed(text));
}

} // namespace

DriverFileRead readWdr(std::string_view bytes) {
    if (bytes.size() > driverFileLimit)
        return refusal("файл больше 1 МиБ, файлы динамиков много меньше");
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    if (std::any_of(bytes.begin(), bytes.end(), isControl))
        return refusal("это не текстовый файл: в нём есть нулевые или управляющие байты");
    // Old files come from Windows in its code page; 0x98 is the one byte that has no character.
    const bool utf8 = isUtf8(bytes);
    if (!utf8 && bytes.find('\x98') != std::string_view::npos)
        return refusal("текст файла не в UTF-8 и не в Windows-1251");
    const auto asText = [utf8](std::string_view s) {
        return utf8 ? std::string(s) : fromWindows1251(s);
    };

    const std::optional<Texts> texts = driverSection(bytes);
    if (!texts)
        return refusal("это не файл динамика: в нём нет раздела [Driver]");

    // Each value given: positive and finite, or 0 for one that may be missing.
    std::array<std::optional<double>, rows.size()> values;
    std::optional<double> qts;
    const auto fault = [&](std::string_view key, std::optional<std::string_view> text,
                           bool zeroIsMissing, std::optional<double> &value) -> std::string {
        const auto number = text ? fileNumber(*text) : std::nullopt;
        if (number && *number > 0 && !std::isinf(*number))
            value = number;
        if (!text || value || (number && *number == 0 && zeroIsMissing))
            return {};
        return std::string(key) + " = " + quoted(asText(*text)) + " — " +
               (!number               ? "не число"
                : std::isinf(*number) ? "за пределами чисел двойной точности"
                                      : "не положительное число");
    };
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (auto why =
                fault(rows[i].key, texts->values[i], rows[i].optional || i == qmsAt, values[i]);
            !why.empty())
            return refusal(why);
    if (auto why = fault("Qts", texts->qts, true, qts); !why.empty())
        return refusal(why);

    std::string missing;
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (!values[i] && !rows[i].optional && (i != qmsAt || !qts))
            missing.append(missing.empty() ? "" : ", ")
                .append(i == qmsAt ? "Qms (нет и Qts, чтобы её вычислить)" : rows[i].key);
    if (!missing.empty())
        return refusal("в файле нет " + missing);

    // 1/Qts = 1/Qms + 1/Qes: the total Q of a driver lies below its electrical Q.
    if (!values[qmsAt]) {
        const double qes = *values[qesAt];
        if (!(*qts < qes))
            return refusal("Qms не задана, а вычислить её по Qts и Qes нельзя: Qts = " +
                           formatGeneral(*qts) + " не меньше Qes = " + formatGeneral(qes) +
                           ", а полная добротность всегда меньше электрической");
        const double qms = *qts * qes / (qes - *qts);
        if (!std::isfinite(qms) || !(qms > 0))
            return refusal("Qms не задана, а по Qts и Qes она выходит за пределы чисел двойной "
                           "точности");
        values[qmsAt] = qms;
    }

    DriverFile driver;
    driver.brand = oneLine(asText(texts->brand.value_or("")));
    driver.model = oneLine(asText(texts->model.value_or("")));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].optional)
            driver.*rows[i].optional = values[i];
        else
            driver.*rows[i].required = *values[i];
    }
    return {driver, {}};
}

std::string wdrText(const DriverFile &driver) {
    std::string text = "[Driver]\r\n";
    const auto line = [&text](std::string_view key, std::string_view value) {
        text.append(key).append("=").append(value).append("\r\n");
    };
    line("Brand", oneLine(driver.brand));
    line("Model", oneLine(driver.model));
    for (const DriverValue value : driverValues) {
        if (const auto si = valueOf(driver, value))
            line(wdrKey(value), plainDecimal(*si));
        // In this form Qts stays finite whatever Qms and Qes are.
        if (value == DriverValue::Qes)
            line("Qts", plainDecimal(1 / (1 / driver.qms + 1 / driver.qes)));
    }
    return text;
}

std::string_view wdrKey(DriverValue value) { return row(value).key; }

std::optional<double> valueOf(const DriverFile &driver, DriverValue value) {
    const Row &r = row(value);
    return r.optional ? driver.*r.optional : driver.*r.required;
}

namespace {

// value · 10^shift, read back from the value's shortest digits with the exponent moved.
double decimalShift(double value, int shift) {
    if (value == 0 || !std::isfinite(value))
        return value;
    char buffer[32];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific).ptr;
    const std::string_view text(buffer, static_cast<std::size_t>(end - buffer)); // "1.5e-04"
    const auto e = text.find('e');
    int exponent = 0;
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), end, exponent);
    const std::string digits =
        std::string(text.substr(0, e)) + "e" + std::to_string(exponent + shift);
    double shifted = 0;
    if (std::from_chars(digits.data(), digits.data() + digits.size(), shifted).ec == std::errc())
        return shifted;
    return std::clamp(value * std::pow(10.0, shift), -DBL_MAX, DBL_MAX);
}

} // namespace

double toFieldUnit(DriverValue value, double si) { return decimalShift(si, row(value).fieldShift); }

double toFileUnit(DriverValue value, double inFieldUnit) {
    return decimalShift(inFieldUnit, -row(value).fieldShift);
}

std::string fieldText(double value) {
    std::string text = formatSignificant(value, 6);
    if (text.find(',') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == ',')
            text.pop_back();
    }
    return text;
}
