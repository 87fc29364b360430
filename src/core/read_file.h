#pragma once

#include <cstddef>
#include <string>

// A file the program opens (a project, a driver file): its bytes, at most `limit` + 1 of them so
// that the caller sees a file beyond its limit without reading it all; or, in Russian, why it
// cannot be read. Only a regular file is read: a folder, a pipe or a device is refused without
// waiting for it.
struct FileRead {
    std::string bytes;
    std::string whyNot; // empty when read
};

FileRead readFileUpTo(const std::string &path, std::size_t limit);

// The reason for an errno value as a file that cannot be opened or read has it: «нет такого
// файла», «нет прав на чтение»; else as file_error.h names it.
std::string readErrorReason(int error);
