#include "project/project_text.h"

#include "core/plain_decimal.h"
#include "driver_load/driver_load_fields.h"
#include "tolerance/tolerance_fields.h"

#include <cstdio>

std::string jsonString(std::string_view text) {
    std::string json = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            json += "\\\"";
            break;
        case '\\':
            json += "\\\\";
            break;
        case '\n':
            json += "\\n";
            break;
        case '\r':
            json += "\\r";
            break;
        case '\t':
            json += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                json += escaped;
            } else {
                json += c;
            }
        }
    }
    return json + "\"";
}

namespace {

// An object's members, one a line, indented by its depth.
class Members {
public:
    Members(std::string &text, int depth) : text(text), indent(2 * depth, ' ') {}
    void add(std::string_view key, const std::string &json) {
        text += (first ? "" : ",\n") + indent + jsonString(key) + ": " + json;
        first = false;
    }

private:
    std::string &text;
    std::string indent;
    bool first = true;
};

// A nested object of texts under the keys of a window's table, and what else it has.
template <class Table>
std::string textsObject(Table table, const std::vector<std::string> &texts,
                        const std::vector<std::pair<const char *, std::string>> &more = {}) {
    std::string object = "{\n";
    Members members(object, 2);
    for (std::size_t i = 0; i < table.size(); ++i)
        members.add(table[i].key, jsonString(texts.at(i)));
    for (const auto &[key, text] : more)
        members.add(key, jsonString(text));
    return object + "\n  }";
}

std::string driverObject(const DesignRecord &design) {
    const DriverFile driver = designDriver(design);
    std::string object = "{\n";
    Members members(object, 2);
    if (design.driverName) {
        members.add("Brand", jsonString(driver.brand));
        members.add("Model", jsonString(driver.model));
    }
    for (const DriverValue value : driverValues) {
        if (!driverValuePlace(value))
            continue; // a value the window does not take
        members.add(wdrKey(value), plainDecimal(valueOf(driver, value).value_or(0)));
        if (value == DriverValue::Qes)
            members.add("Qts", plainDecimal(1 / (1 / driver.qms + 1 / driver.qes)));
    }
    return object + "\n  }";
}

} // namespace

std::string projectText(const DesignRecord &design) {
    std::string text = "{\n";
    Members members(text, 1);
    members.add("format", jsonString(projectFormat));
    members.add("version", std::to_string(projectVersion));
    members.add("page", std::to_string(design.page));
    std::string fields = "{\n";
    Members edits(fields, 2);
    for (std::size_t i = 0; i < design.fields.size(); ++i)
        edits.add("Edit" + std::to_string(i + 1), jsonString(design.fields[i]));
    members.add("fields", fields + "\n  }");
    members.add(
        "driverWindow",
        textsObject(driverLoadFields(), design.driverWindow,
                    {{boxKey, design.box == BoxKind::Vented ? ventedBoxName : closedBoxName}}));
    members.add("tolerances", textsObject(toleranceFields(), design.tolerances));
    std::string calculated = "[";
    for (std::size_t i = 0; i < design.calculated.size(); ++i)
        calculated += (i ? ", " : "") + jsonString(design.calculated[i]);
    members.add("calculated", calculated + "]");
    members.add("driver", driverObject(design));
    members.add("note", jsonString(design.note));
    return text + "\n}\n";
}
