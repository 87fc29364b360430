#pragma once

#include "core/file_set.h"

#include <string>
#include <string_view>
#include <vector>

// What the error report says when a file cannot be written, the same for every file the program
// writes: "Не удалось сохранить «<full path>»: <reason>.", the path made absolute (fullPath()).
std::string cannotSaveText(const std::string &path, const std::string &reason);

// Files written whole, as one set (file_set.h): a failure leaves every old file as it was and
// throws std::runtime_error with the error report's text for the file that failed, its reason
// from file_error.h.
void writeWholeFiles(const std::vector<FileBytes> &files);
void writeWholeFile(const std::string &path, std::string_view bytes);

// The word after files were written: "Сохранено в <folder>: <name>, <name>". An empty folder is
// the current directory when it cannot be named: "Сохранено в текущую папку (<why>): …".
std::string savedNotice(const std::string &folder, const std::vector<std::string> &names);
