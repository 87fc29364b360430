#include "report/output_files.h"

#include "core/replacing_file.h"
#include "report/io_error.h"
#include "report/report_text.h"
#include "speaker/response_export.h"

#include <climits>
#include <cstring>
#include <stdexcept>
#include <unistd.h>

namespace {

std::string fullPath(const std::string &name) {
    char directory[PATH_MAX];
    if (name.starts_with('/') || !::getcwd(directory, sizeof directory))
        return name;
    const std::string base(directory);
    return base.ends_with('/') ? base + name : base + "/" + name;
}

void throwIfReportFailed(int error) {
    if (error != 0)
        throw std::runtime_error(ioErrorMessage(error));
}

} // namespace

void writeWholeFile(const std::string &name, std::string_view bytes) {
    ReplacingFile file(name);
    if (const int error = file.create())
        throw std::runtime_error("Cannot create file \"" + fullPath(name) + "\". " +
                                 std::strerror(error));
    if (file.write(bytes) != 0 || file.commit() != 0)
        throw std::runtime_error("Stream write error");
}

void writeResponseFiles(const std::string &folder, const SpeakerRun &run) {
    for (const ResponseCurve curve : {ResponseCurve::IdealSource, ResponseCurve::RunRout})
        writeWholeFile(folder + '/' + frdFileName(run, curve), frdText(run, curve));
}

void writeReportFile(const std::string &name, const LastResults &last) {
    ReplacingFile file(name);
    throwIfReportFailed(file.create());
    for (const std::string &line : reportLines(last))
        throwIfReportFailed(file.write(reportFileLine(line)));
    throwIfReportFailed(file.commit());
}

std::string savedFilesNotice(const std::string &folder, bool withSchematic) {
    std::string text = "Сохранено в " + folder + ": " + reportFileName + ", ";
    if (withSchematic)
        text += std::string(schematicFileName) + ", ";
    return text + chartBitmapFileName + ", " + chartMetafileFileName;
}
