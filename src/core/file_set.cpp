#include "core/file_set.h"

#include "core/replacing_file.h"

#include <algorithm>
#include <deque>

std::optional<FileSetFault> writeFileSet(const std::vector<FileBytes> &files) {
    std::deque<ReplacingFile> set;
    for (std::size_t i = 0; i < files.size(); ++i)
        if (const int error = set.emplace_back(files[i].path).create())
            return FileSetFault{i, error};

    // The files that can still be taken back first, then those written in place.
    for (const bool inPlace : {false, true})
        for (std::size_t i = 0; i < files.size(); ++i) {
            if (set[i].inPlace() != inPlace)
                continue;
            int error = set[i].write(files[i].bytes);
            if (!error)
                error = set[i].close();
            if (error)
                return FileSetFault{i, error};
        }

    // Those that could not get a backup go last: only they cannot be put back.
    std::vector<std::size_t> order, unsure;
    for (std::size_t i = 0; i < files.size(); ++i)
        (set[i].backUp() ? order : unsure).push_back(i);
    order.insert(order.end(), unsure.begin(), unsure.end());
    for (auto next = order.begin(); next != order.end(); ++next)
        if (const int error = set[*next].replace()) {
            std::for_each(order.begin(), next, [&set](std::size_t i) { set[i].restore(); });
            return FileSetFault{*next, error};
        }
    return std::nullopt;
}
