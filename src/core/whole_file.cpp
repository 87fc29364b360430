#include "core/whole_file.h"

#include "core/replacing_file.h"

#include <climits>
#include <cstring>
#include <stdexcept>
#include <unistd.h>

std::string fullPath(const std::string &name) {
    char directory[PATH_MAX];
    if (name.starts_with('/') || !::getcwd(directory, sizeof directory))
        return name;
    const std::string base(directory);
    return base.ends_with('/') ? base + name : base + "/" + name;
}

void writeWholeFile(const std::string &path, std::string_view bytes) {
    ReplacingFile file(path);
    if (const int error = file.create())
        throw std::runtime_error("Cannot create file \"" + fullPath(path) + "\". " +
                                 std::strerror(error));
    if (file.write(bytes) != 0 || file.commit() != 0)
        throw std::runtime_error("Stream write error");
}

std::string savedNotice(const std::string &folder, const std::vector<std::string> &names) {
    std::string text = "Сохранено в " + folder + ":";
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i ? ", " : " ") + names[i];
    return text;
}
