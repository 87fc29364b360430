// Any bytes as a project file. The reader gives a design or a reason, never both; a design it
// accepts passes every field's check, and the file this program writes for it reads back as the
// same design and writes the same bytes again, under a comma locale.

#include "project/project_text.h"
#include "project/widgets/project_reader.h"

#include "comma_locale.h"

#include <cstdint>
#include <string>

namespace {

void require(bool condition, const char *what, const std::string &text) {
    if (!condition) {
        std::fprintf(stderr, "%s: '%s'\n", what, text.c_str());
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string input(reinterpret_cast<const char *>(data), size);
    const ProjectRead read = readProject(input);
    require(read.design.has_value() == read.whyNot.empty(), "both a design and a reason, or none",
            input);
    if (!read.design)
        return 0;
    require(designFault(*read.design).empty(), "a design with a text its field refuses", input);
    const std::string written = projectText(*read.design);
    const ProjectRead back = readProject(written);
    require(back.design && *back.design == *read.design, "a written design reads back otherwise",
            written);
    require(projectText(*back.design) == written, "a written design writes otherwise", written);
    return 0;
}
