#include "core/whole_file.h"

#include "core/current_folder.h"
#include "core/file_error.h"

#include <stdexcept>

std::string cannotSaveText(const std::string &path, const std::string &reason) {
    return "Не удалось сохранить «" + fullPath(path) + "»: " + reason + ".";
}

void writeWholeFiles(const std::vector<FileBytes> &files) {
    if (const auto fault = writeFileSet(files))
        throw std::runtime_error(
            cannotSaveText(files[fault->file].path, fileErrorReason(fault->error)));
}

void writeWholeFile(const std::string &path, std::string_view bytes) {
    writeWholeFiles({{path, bytes}});
}

std::string savedNotice(const std::string &folder, const std::vector<std::string> &names) {
    std::string text = "Сохранено в ";
    if (!folder.empty()) {
        text += folder;
    } else {
        const CurrentFolder current = currentFolder();
        text += current.path.empty() ? "текущую папку (" + current.whyUnknown + ")" : current.path;
    }
    text += ":";
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i ? ", " : " ") + names[i];
    return text;
}
