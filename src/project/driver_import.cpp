#include "project/driver_import.h"

#include "driver_load/driver_load_fields.h"
#include "input/field_table.h"
#include "speaker/speaker_design.h"

namespace {

struct Range {
    double min;
    const char *minText;
    double max;
    const char *maxText;
};

Range rangeOf(const DriverValuePlace &place) {
    if (place.windowRow) {
        const DriverLoadField &field = driverLoadFields()[*place.windowRow];
        return {field.min, field.minText, field.max, field.maxText};
    }
    const FieldSpec &field = fieldSpec(place.edit);
    return {field.min, field.minText, field.max, field.maxText};
}

// A field as the notice names it: «Vas, л», «Xmax, мм».
std::string fieldName(const DriverValuePlace &place) {
    if (place.windowRow)
        return driverLoadFields()[*place.windowRow].caption;
    const SpeakerInputRow &row = speakerInputRows[static_cast<std::size_t>(place.edit - 31)];
    return std::string(row.name) + (*row.unit ? std::string(", ") + row.unit : "");
}

} // namespace

DriverImport importDriver(const DriverFile &driver) {
    DriverImport import;
    for (const DriverValue value : driverValues) {
        const auto place = driverValuePlace(value);
        if (!place)
            continue;
        const std::optional<double> si = valueOf(driver, value);
        if (!si) {
            import.missing.push_back(value);
            continue;
        }
        const std::string text = fieldText(toFieldUnit(value, *si));
        const Range range = rangeOf(*place);
        const FieldVerdict verdict = checkNumberText(text, range.min, range.max).verdict;
        const bool clamped = verdict == FieldVerdict::BelowMin || verdict == FieldVerdict::AboveMax;
        import.values.push_back({value, *place,
                                 !clamped                            ? text
                                 : verdict == FieldVerdict::BelowMin ? range.minText
                                                                     : range.maxText,
                                 text, clamped});
    }
    return import;
}

std::string driverTitle(const DriverFile &driver) {
    const std::string title =
        driver.brand + (driver.brand.empty() || driver.model.empty() ? "" : " ") + driver.model;
    return title.empty() ? "без марки и модели" : "«" + title + "»";
}

ImportNotice importNotice(const DriverFile &driver, const DriverImport &import,
                          const std::string &file) {
    std::string text = "Динамик " + driverTitle(driver) + " загружен из «" + file + "».";
    std::string clamped;
    for (const ImportedValue &value : import.values)
        if (value.clamped)
            clamped += (clamped.empty() ? "" : "; ") + fieldName(value.place) + ": " +
                       value.fileText + " → " + value.text;
    if (!clamped.empty())
        text += "\nЗа пределами полей, заменены границей (поля выделены жёлтым): " + clamped + ".";
    std::string missing;
    for (const DriverValue value : import.missing)
        missing += (missing.empty() ? "" : ", ") + fieldName(*driverValuePlace(value));
    if (!missing.empty())
        text += "\nВ файле нет значений для полей окна «Динамик и усилитель»: " + missing +
                " — в них оставлено прежнее.";
    return {text, !clamped.empty() || !missing.empty()};
}
