#include "core/read_file.h"

#include "core/file_error.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::string readErrorReason(int error) {
    switch (error) {
    case ENOENT:
        return "нет такого файла";
    case EACCES:
    case EPERM:
        return "нет прав на чтение";
    case EISDIR:
        return "это папка, а не файл";
    case ENOTDIR:
        return "в пути к нему файл вместо папки";
    case EIO:
        return "ошибка чтения с диска";
    default:
        return fileErrorReason(error);
    }
}

FileRead readFileUpTo(const std::string &path, std::size_t limit) {
    // Without O_NONBLOCK opening a pipe would wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {{}, readErrorReason(errno)};
    FileRead read;
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        read.whyNot = readErrorReason(errno);
    } else if (S_ISDIR(status.st_mode)) {
        read.whyNot = readErrorReason(EISDIR);
    } else if (!S_ISREG(status.st_mode)) {
        read.whyNot = "это не обычный файл, а канал или устройство";
    } else {
        char buffer[65536];
        while (read.bytes.size() <= limit) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                read.whyNot = readErrorReason(errno);
                break;
            }
            if (got == 0)
                break;
            read.bytes.append(buffer, static_cast<std::size_t>(got));
        }
        if (read.bytes.size() > limit + 1)
            read.bytes.resize(limit + 1);
    }
    ::close(fd);
    if (!read.whyNot.empty())
        read.bytes.clear();
    return read;
}
