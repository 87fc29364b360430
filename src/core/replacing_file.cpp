#include "core/replacing_file.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string directoryOf(const std::string &path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string fileNameOf(const std::string &path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A write into a pipe whose reader has gone raises SIGPIPE, which would end the program. The
// signal is held back during the write and, if the write raised it, taken off again, so that
// the write just fails with EPIPE.
ssize_t writeWithoutSigpipe(int fd, std::string_view bytes) {
    sigset_t sigpipe, previousMask, pending;
    ::sigemptyset(&sigpipe);
    ::sigaddset(&sigpipe, SIGPIPE);
    ::pthread_sigmask(SIG_BLOCK, &sigpipe, &previousMask);
    ::sigpending(&pending);
    const bool pendingBefore = ::sigismember(&pending, SIGPIPE) == 1;

    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    const int error = errno;

    ::sigpending(&pending);
    if (!pendingBefore && ::sigismember(&pending, SIGPIPE) == 1) {
        const timespec noWait{};
        ::sigtimedwait(&sigpipe, nullptr, &noWait);
    }
    ::pthread_sigmask(SIG_SETMASK, &previousMask, nullptr);
    errno = error;
    return written;
}

mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

ReplacingFile::ReplacingFile(std::string p) : path(std::move(p)) {}

ReplacingFile::~ReplacingFile() {
    if (fd >= 0)
        ::close(fd);
    if (!temporary.empty())
        ::unlink(temporary.c_str());
}

int ReplacingFile::create() {
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        return EISDIR;
    if (exists && !S_ISREG(existing.st_mode)) {
        // A device or pipe (perhaps behind a link): write into it, never replace it. Opened
        // without blocking, so that a pipe nobody reads fails (ENXIO) instead of hanging the
        // window; the writes then block as usual.
        fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0)
            return errno;
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
            return errno;
        return 0;
    }
    if (!exists) {
        struct stat link {};
        if (::lstat(path.c_str(), &link) == 0) {
            // A dangling link: create its target as any program would.
            fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
            return fd < 0 ? errno : 0;
        }
    }

    target = path;
    if (exists) {
        // A read-only file stays as it is, as it would when written in place.
        if (::access(path.c_str(), W_OK) != 0)
            return errno;
        char resolved[PATH_MAX];
        if (!::realpath(path.c_str(), resolved))
            return errno;
        target = resolved;
    }

    std::string pattern = directoryOf(target) + "/." + fileNameOf(target) + ".XXXXXX";
    fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        return errno;
    temporary = pattern;
    const mode_t mode = exists ? (existing.st_mode & 07777) : newFileMode();
    if (::fchmod(fd, mode) != 0)
        return errno;
    return 0;
}

int ReplacingFile::write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = writeWithoutSigpipe(fd, bytes);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

int ReplacingFile::commit() {
    // The data reaches the disk before the name does: after a crash the name holds the old file
    // or the new one, not an empty file.
    if (!temporary.empty() && fd >= 0 && ::fdatasync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        fd = -1;
        return error;
    }
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0)
        return errno;
    if (temporary.empty())
        return 0;
    if (::rename(temporary.c_str(), target.c_str()) != 0)
        return errno;
    temporary.clear();
    return 0;
}

int replaceFile(const std::string &path, std::string_view bytes) {
    ReplacingFile file(path);
    if (const int error = file.create())
        return error;
    if (const int error = file.write(bytes))
        return error;
    return file.commit();
}
