#include "core/current_folder.h"

#include "core/file_error.h"

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <unistd.h>

CurrentFolder currentFolder() {
    // Sized by the C library, so that a path longer than PATH_MAX is named too.
    const std::unique_ptr<char, decltype(&std::free)> path(::getcwd(nullptr, 0), &std::free);
    if (path)
        return {path.get(), {}};
    switch (errno) {
    case ENOENT:
        return {{}, "текущая папка удалена"};
    case ENAMETOOLONG:
    case ERANGE:
        return {{}, "путь к текущей папке слишком длинный"};
    default:
        return {{}, fileErrorReason(errno)};
    }
}

std::string fullPath(const std::string &name) {
    const std::string folder = currentFolder().path;
    if (name.starts_with('/') || folder.empty())
        return name;
    return folder.ends_with('/') ? folder + name : folder + "/" + name;
}
