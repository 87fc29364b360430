#include "core/replacing_file.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
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

// The temporary file's name in `directory`, short whatever the name it stands in for, so that it
// fits wherever that name does. The old file's backup takes the same name with '~' for '-': free
// while the temporary file is ours, unless a crash left one behind, which only costs the backup.
std::string temporaryPattern(const std::string &directory) {
    return directory + "/.ooscalc-XXXXXX";
}
constexpr std::size_t randomPart = 6;

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

// Follows the chain of links at `name` to the name that is no link (which may not exist) and
// answers 0, or what stops it. A link in a sticky, world-writable directory (a /tmp) is followed
// only when it belongs to us or to the directory's owner, as the kernel's protected_symlinks has
// it: anyone may plant a link there, aimed at a file of ours.
int resolveLinks(std::string &name) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat link {};
        if (::lstat(name.c_str(), &link) != 0)
            return errno == ENOENT ? 0 : errno;
        if (!S_ISLNK(link.st_mode))
            return 0;
        const std::string directory = directoryOf(name);
        struct stat folder {};
        if (::stat(directory.c_str(), &folder) != 0)
            return errno;
        const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
        if (shared && link.st_uid != ::geteuid() && link.st_uid != folder.st_uid)
            return ReplacingFile::foreignLink;
        std::string next(PATH_MAX, '\0');
        const ssize_t length = ::readlink(name.c_str(), next.data(), next.size());
        if (length < 0)
            return errno;
        next.resize(static_cast<std::size_t>(length));
        name = next.starts_with('/') ? next : directory + "/" + next;
    }
    return ELOOP;
}

} // namespace

ReplacingFile::ReplacingFile(std::string p) : path(std::move(p)) {}

ReplacingFile::~ReplacingFile() {
    if (fd >= 0)
        ::close(fd);
    if (!temporary.empty())
        ::unlink(temporary.c_str());
    if (!backup.empty())
        ::unlink(backup.c_str());
}

int ReplacingFile::create() {
    target = path;
    if (const int error = resolveLinks(target))
        return error;
    // The name found is never followed again (O_NOFOLLOW; rename replaces a name, not what it
    // leads to), so a link planted there after the check is not followed either.
    struct stat old {};
    existed = ::lstat(target.c_str(), &old) == 0;
    if (!existed && errno != ENOENT)
        return errno;
    if (existed && S_ISDIR(old.st_mode))
        return EISDIR;
    if (existed && !S_ISREG(old.st_mode)) {
        // A device or pipe: written into, never replaced. Without blocking, so that a pipe
        // nobody reads fails at once (ENXIO) and one nobody empties fails in write().
        writesInPlace = true;
        fd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
        if (fd >= 0)
            return 0;
        return errno == ENXIO && S_ISFIFO(old.st_mode) ? noReader : errno;
    }
    // A read-only file stays as it is, as it would when written in place.
    if (existed && ::access(target.c_str(), W_OK) != 0)
        return errno;

    std::string pattern = temporaryPattern(directoryOf(target));
    fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        return errno;
    temporary = pattern;
    return ::fchmod(fd, existed ? (old.st_mode & 07777) : newFileMode()) != 0 ? errno : 0;
}

int ReplacingFile::write(std::string_view bytes) {
    const auto deadline = std::chrono::steady_clock::now() + inPlaceWait;
    while (!bytes.empty()) {
        const ssize_t written = writeWithoutSigpipe(fd, bytes);
        if (written >= 0) {
            bytes.remove_prefix(static_cast<std::size_t>(written));
            continue;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN)
            return errno;
        // A pipe or device that takes nothing now: wait for room, but not past the deadline.
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd room{fd, POLLOUT, 0};
        const int ready = left.count() > 0 ? ::poll(&room, 1, static_cast<int>(left.count())) : 0;
        if (ready == 0)
            return stalled;
        if (ready < 0 && errno != EINTR)
            return errno;
    }
    return 0;
}

int ReplacingFile::close() {
    // The data reaches the disk before the name does: after a crash the name holds the old file
    // or the new one, not an empty file.
    const int synced = !writesInPlace && ::fdatasync(fd) != 0 ? errno : 0;
    const int closed = ::close(fd) != 0 ? errno : 0;
    fd = -1;
    return synced ? synced : closed;
}

bool ReplacingFile::backUp() {
    if (writesInPlace || !existed)
        return true;
    std::string name = temporary;
    name[name.size() - randomPart - 1] = '~';
    if (::link(target.c_str(), name.c_str()) != 0)
        return false;
    backup = name;
    return true;
}

int ReplacingFile::replace() {
    if (writesInPlace)
        return 0;
    if (::rename(temporary.c_str(), target.c_str()) != 0)
        return errno;
    temporary.clear();
    replaced = true;
    return 0;
}

void ReplacingFile::restore() {
    if (!replaced)
        return;
    // Should the backup not go back, the old file stays under its name rather than being lost.
    if (!backup.empty())
        ::rename(backup.c_str(), target.c_str());
    else if (!existed)
        ::unlink(target.c_str());
    backup.clear();
    replaced = false;
}
