// Any bytes as a driver file. The reader gives a whole driver or a reason, never both; a driver
// it accepts has positive finite values, a brand and a model that are one line of UTF-8 each and
// field texts the window reads back to six digits, and the file this program writes for it reads
// back as the same doubles. CR LF line ends in place of LF change nothing.

#include "core/decimal_text.h"
#include "driver_file/wdr_file.h"

#include "comma_locale.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iconv.h>
#include <string>

namespace {

void require(bool condition, const char *what, const std::string &text) {
    if (!condition) {
        std::fprintf(stderr, "%s: '%s'\n", what, text.c_str());
        std::abort();
    }
}

// By the C library's converter, not the reader's own check.
bool isUtf8(std::string text) {
    static const iconv_t converter = iconv_open("UTF-32LE", "UTF-8");
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    std::string out(text.size() * 4, '\0');
    char *in = text.data(), *at = out.data();
    std::size_t inLeft = text.size(), outLeft = out.size();
    return iconv(converter, &in, &inLeft, &at, &outLeft) != static_cast<std::size_t>(-1);
}

bool isOneLine(const std::string &text) {
    return std::none_of(text.begin(), text.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; }) &&
           text.find('\x7F') == std::string::npos && !text.starts_with(' ') &&
           !text.ends_with(' ') && !text.starts_with('\t') && !text.ends_with('\t');
}

bool sameRead(const DriverFileRead &a, const DriverFileRead &b) {
    return a.driver == b.driver && a.whyNot == b.whyNot;
}

void checkDriver(const DriverFile &driver, const std::string &input) {
    require(isUtf8(driver.brand) && isOneLine(driver.brand), "brand not one line of UTF-8", input);
    require(isUtf8(driver.model) && isOneLine(driver.model), "model not one line of UTF-8", input);
    for (const DriverValue value : driverValues) {
        const auto si = valueOf(driver, value);
        if (!si)
            continue;
        require(std::isfinite(*si) && *si > 0, "a value not positive and finite", input);
        const double field = toFieldUnit(value, *si);
        const std::string text = fieldText(field);
        const auto shown = parseDecimalComma(text);
        require(shown.has_value(), "a field text the window does not read", input + " -> " + text);
        // Six significant digits are within half a unit of the sixth.
        std::string digits = text;
        digits.erase(std::remove(digits.begin(), digits.end(), ','), digits.end());
        digits.erase(0, digits.find_first_not_of('0'));
        digits.erase(digits.find_last_not_of('0') + 1);
        require(digits.size() <= 6, "more than six digits in a field", input + " -> " + text);
        if (field > 1e-300)
            require(std::fabs(*shown - field) <= 5.000001e-6 * field, "a field text off",
                    input + " -> " + text);
    }

    const std::string written = wdrText(driver);
    require(written.starts_with("[Driver]\r\n") && written.ends_with("\r\n"),
            "a written file without [Driver] first or its last line end", written);
    for (std::size_t at = written.find('\n'); at != std::string::npos;
         at = written.find('\n', at + 1))
        require(written[at - 1] == '\r', "a written line end not CR LF", written);
    const DriverFileRead back = readWdr(written);
    require(back.driver == driver, "a written driver reads back otherwise", written);
    require(wdrText(*back.driver) == written, "a written driver writes otherwise", written);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string input(reinterpret_cast<const char *>(data), size);
    const DriverFileRead read = readWdr(input);
    require(read.driver.has_value() == read.whyNot.empty(), "both a driver and a reason, or none",
            input);
    require(isUtf8(read.whyNot), "a reason not UTF-8", read.whyNot);
    if (read.driver)
        checkDriver(*read.driver, input);

    std::string crlf;
    for (const char c : input)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    if (crlf.size() <= driverFileLimit)
        require(sameRead(readWdr(crlf), read), "CR LF read otherwise than LF", input);
    return 0;
}
