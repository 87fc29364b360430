#pragma once

#include <string>
#include <string_view>

// The file the help text is saved to, in the current directory.
inline constexpr char helpFileName[] = "Ломитар_help.txt";

// The file's bytes for the text of the help window (UTF-8): every line followed by CR LF, the
// last one too, one Windows-1251 byte a character and "?" for a character the code page lacks.
// A line break that ends the text opens no further line, and an empty text gives an empty file.
std::string helpFileBytes(std::string_view utf8Text);

// Replaces the file at `path` with the text as a whole; an old file survives any failure, which
// throws with the error report's text (whole_file.h).
void saveHelpFile(const std::string &path, std::string_view utf8Text);
