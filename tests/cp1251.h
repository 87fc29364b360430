#pragma once

// Windows-1251 by the C library's converter, independent of the program's own table.

#include <QByteArray>
#include <QString>
#include <iconv.h>
#include <optional>

inline std::optional<QByteArray> convert(const char *to, const char *from, QByteArray in) {
    iconv_t converter = iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    QByteArray out(in.size() * 3 + 1, '\0');
    char *inAt = in.data(), *outAt = out.data();
    std::size_t inLeft = static_cast<std::size_t>(in.size());
    std::size_t outLeft = static_cast<std::size_t>(out.size());
    const std::size_t done = iconv(converter, &inAt, &inLeft, &outAt, &outLeft);
    iconv_close(converter);
    if (done == static_cast<std::size_t>(-1) || inLeft != 0)
        return std::nullopt;
    out.truncate(out.size() - static_cast<qsizetype>(outLeft));
    return out;
}

// Nothing when a character has no byte in Windows-1251.
inline std::optional<QByteArray> toCp1251(const QString &text) {
    return convert("CP1251", "UTF-8", text.toUtf8());
}

inline QString fromCp1251(const QByteArray &bytes) {
    return QString::fromUtf8(convert("UTF-8", "CP1251", bytes).value_or("?"));
}
