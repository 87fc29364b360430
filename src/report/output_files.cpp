#include "report/output_files.h"

#include "core/whole_file.h"

std::string savedFilesNotice(const std::string &folder, bool withSchematic) {
    std::vector<std::string> names{reportFileName};
    if (withSchematic)
        names.emplace_back(schematicFileName);
    names.insert(names.end(), {chartBitmapFileName, chartMetafileFileName});
    return savedNotice(folder, names);
}
