#include "help/help_file.h"

#include "core/whole_file.h"
#include "core/windows1251.h"

std::string helpFileBytes(std::string_view text) {
    std::string lines;
    lines.reserve(text.size() + text.size() / 50 + 2);
    std::size_t pos = 0;
    while (pos < text.size()) {
        // A pasted CR LF or lone CR is one line break, as LF is.
        const std::size_t end = text.find_first_of("\r\n", pos);
        lines.append(text.substr(pos, end == std::string_view::npos ? end : end - pos));
        lines += "\r\n";
        if (end == std::string_view::npos)
            break;
        pos = end + 1;
        if (text[end] == '\r' && pos < text.size() && text[pos] == '\n')
            ++pos;
    }
    return toWindows1251(lines);
}

void saveHelpFile(const std::string &path, std::string_view utf8Text) {
    writeWholeFile(path, helpFileBytes(utf8Text));
}
