#include "core/windows1251.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace {

// Bytes 0x80–0xBF; 0x98 is unassigned. 0xC0–0xFF are А…я (U+0410–U+044F) in order.
// clang-format off
constexpr std::array<char32_t, 64> upperHalf{
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};
// clang-format on

char encode(char32_t c) {
    if (c < 0x80)
        return static_cast<char>(c);
    if (c >= 0x0410 && c <= 0x044F)
        return static_cast<char>(0xC0 + (c - 0x0410));
    for (std::size_t i = 0; i < upperHalf.size(); ++i)
        if (upperHalf[i] == c && c != 0)
            return static_cast<char>(0x80 + i);
    return '?';
}

// Decodes one UTF-8 sequence at `pos`, advancing it; 0xFFFD for a malformed one.
char32_t decode(std::string_view s, std::size_t &pos) {
    const auto lead = static_cast<std::uint8_t>(s[pos++]);
    int extra = 0;
    char32_t c = 0;
    if (lead < 0x80)
        return lead;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        c = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        c = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        c = lead & 0x07;
    } else {
        return 0xFFFD;
    }
    for (int i = 0; i < extra; ++i) {
        if (pos >= s.size() || (static_cast<std::uint8_t>(s[pos]) & 0xC0) != 0x80)
            return 0xFFFD;
        c = (c << 6) | (static_cast<std::uint8_t>(s[pos++]) & 0x3F);
    }
    return c;
}

} // namespace

std::string toWindows1251(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();)
        out += encode(decode(utf8, pos));
    return out;
}

std::string withWindows1251Symbols(std::string_view utf8) {
    constexpr std::pair<std::string_view, std::string_view> spellings[] = {
        {"−", "-"}, {"≥", ">="}, {"≤", "<="}, {"√", "sqrt"}};
    std::string text(utf8);
    for (const auto &[sign, spelt] : spellings)
        for (auto at = text.find(sign); at != std::string::npos;
             at = text.find(sign, at + spelt.size()))
            text.replace(at, sign.size(), spelt);
    return text;
}

std::string fromWindows1251(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char byte : bytes) {
        const auto b = static_cast<std::uint8_t>(byte);
        char32_t c = b < 0x80 ? b : b >= 0xC0 ? 0x0410 + (b - 0xC0) : upperHalf[b - 0x80];
        if (b == 0x98)
            c = 0xFFFD;
        // One to three bytes of UTF-8: every character here lies below U+10000.
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::vector<std::string> lackingInWindows1251(std::string_view utf8) {
    std::vector<std::string> lacking;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::size_t start = pos;
        const char32_t c = decode(utf8, pos);
        const std::string character(utf8.substr(start, pos - start));
        if (c != '?' && encode(c) == '?' &&
            std::find(lacking.begin(), lacking.end(), character) == lacking.end())
            lacking.push_back(character);
    }
    return lacking;
}
