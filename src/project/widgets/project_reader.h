#pragma once

#include "project/design_record.h"

#include <optional>
#include <string>
#include <string_view>

// A project file read whole through QJsonDocument (Qt Core only, no widgets): either the design,
// every text checked by its field's own check, or in Russian why the file cannot be used: a file
// beyond the limit, broken or cut-off JSON, another format, a newer version, a value of the wrong
// type, a text a field would refuse. Keys a later version adds are left alone, a window's input
// the file lacks takes its default.
struct ProjectRead {
    std::optional<DesignRecord> design;
    std::string whyNot;
};

ProjectRead readProject(std::string_view bytes);
