#include "report/output_files.h"

#include "core/replacing_file.h"
#include "report/io_error.h"
#include "report/report_text.h"

#include <stdexcept>

namespace {

void throwIfReportFailed(int error) {
    if (error != 0)
        throw std::runtime_error(ioErrorMessage(error));
}

} // namespace

void writeReportFile(const std::string &name, const LastResults &last,
                     const std::string &routNote) {
    ReplacingFile file(name);
    throwIfReportFailed(file.create());
    for (const std::string &line : reportLines(last, routNote))
        throwIfReportFailed(file.write(reportFileLine(line)));
    throwIfReportFailed(file.commit());
}

std::string savedFilesNotice(const std::string &folder, bool withSchematic) {
    std::vector<std::string> names{reportFileName};
    if (withSchematic)
        names.emplace_back(schematicFileName);
    names.insert(names.end(), {chartBitmapFileName, chartMetafileFileName});
    return savedNotice(folder, names);
}
