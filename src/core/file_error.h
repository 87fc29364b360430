#pragma once

#include <string>

// Why a file could not be written, in the program's own Russian words whatever the language of
// the system's messages: the reason for an errno value or a refusal of the file writer
// (ReplacingFile); for a value without a text of its own "ошибка ввода-вывода (код <value>)".
std::string fileErrorReason(int error);
