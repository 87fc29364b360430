#include "report/io_error.h"

#include <cerrno>

namespace {

std::string ioErrorNumbered(int number) {
    std::string text = "I/O error ";
    text += std::to_string(number);
    return text;
}

} // namespace

int ioErrorCode(int error) {
    switch (error) {
    case ENOENT:
        return 2;
    case EMFILE:
    case ENFILE:
        return 4;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return 5;
    case ENOSPC:
        return 101;
    default:
        return 0;
    }
}

std::string ioErrorCodeMessage(int code) {
    switch (code) {
    case 2:
        return "File not found";
    case 3:
        return "Invalid filename";
    case 4:
        return "Too many open files";
    case 5:
        return "File access denied";
    case 100:
        return "Read beyond end of file";
    case 101:
        return "Disk full";
    case 106:
        return "Invalid numeric input";
    default:
        return ioErrorNumbered(code);
    }
}

std::string ioErrorMessage(int error) {
    const int code = ioErrorCode(error);
    return code != 0 ? ioErrorCodeMessage(code) : ioErrorNumbered(error);
}
