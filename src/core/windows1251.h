#pragma once

#include <string>
#include <string_view>
#include <vector>

// Text for the files the program writes: one Windows-1251 byte per character. UTF-8 in; a
// character the code page lacks (or a broken UTF-8 sequence) is written as "?".
std::string toWindows1251(std::string_view utf8);

// Text from an old Windows file: UTF-8 out. The one byte the code page leaves unassigned, 0x98,
// comes out as U+FFFD.
std::string fromWindows1251(std::string_view bytes);

// The text with the signs that Windows-1251 lacks spelt in signs it has, for a file that has to
// read right: "−" as "-", "≥" as ">=", "≤" as "<=", "√" as "sqrt".
std::string withWindows1251Symbols(std::string_view utf8);

// The characters of a text that the code page lacks, each once, in the order they first appear
// (UTF-8, one string a character).
std::vector<std::string> lackingInWindows1251(std::string_view utf8);
