#pragma once

#include <string>

// What the error report says when a file cannot be written, the same for every file the program
// writes: "Не удалось сохранить «<full path>»: <reason>." The reasons are the program's own
// Russian texts, whatever the language of the system's messages.

// The reason for an errno value or a refusal of the file writer (ReplacingFile); for a value
// without a text of its own "ошибка ввода-вывода (код <value>)".
std::string fileErrorReason(int error);

// The text for the file at `path` (made absolute, fullPath()) and a reason.
std::string cannotSaveText(const std::string &path, const std::string &reason);
std::string fileErrorText(const std::string &path, int error);
