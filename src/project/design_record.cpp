#include "project/design_record.h"

#include "core/decimal_text.h"
#include "driver_load/driver_load_fields.h"
#include "input/field_table.h"
#include "tolerance/tolerance_fields.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr std::array<std::string_view, 8> calculations{"FormShow", "Button1", "Button2", "Button3",
                                                       "Button4",  "Button5", "Button6", "Button7"};

std::string_view groupName(FieldGroup group) {
    switch (group) {
    case FieldGroup::InvertingVariant1:
        return "Инвертирующий, Вариант 1";
    case FieldGroup::InvertingVariant2:
        return "Инвертирующий, Вариант 2";
    case FieldGroup::InvertingVariant3:
        return "Инвертирующий, Вариант 3";
    case FieldGroup::NonInvertingVariant1:
        return "Неинвертирующий, Вариант 1";
    case FieldGroup::NonInvertingVariant2:
        return "Неинвертирующий, Вариант 2";
    case FieldGroup::NonInvertingVariant3:
        return "Неинвертирующий, Вариант 3";
    case FieldGroup::Speaker:
        break;
    }
    return "Пример применения";
}

// A text as a reason quotes it, cut after 20 characters.
std::string quoted(std::string_view text) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((static_cast<std::uint8_t>(text[i]) & 0xC0) != 0x80 && ++characters > 20)
            return "«" + std::string(text.substr(0, i)) + "…»";
    return "«" + std::string(text) + "»";
}

// Why a field refuses its text; empty when it takes it.
std::string refusal(std::string_view text, FieldVerdict verdict, const char *minText,
                    const char *maxText) {
    switch (verdict) {
    case FieldVerdict::Accepted:
        return {};
    case FieldVerdict::CommaFault:
        return quoted(text) + " — запятая не на месте";
    case FieldVerdict::NotANumber:
        return text.empty() ? std::string("пусто") : quoted(text) + " — не число";
    case FieldVerdict::BelowMin:
    case FieldVerdict::AboveMax:
        break;
    }
    return quoted(text) + " — вне диапазона " + minText + " … " + maxText;
}

// The fault of one window's texts against its table, in the window's words.
template <class Table>
std::string windowFault(const std::vector<std::string> &texts, Table table,
                        std::string_view window) {
    if (texts.size() != table.size())
        return "у окна «" + std::string(window) + "» не то число полей";
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const auto &field = table[i];
        const FieldCheck check = checkNumberText(texts[i], field.min, field.max);
        if (auto why = refusal(texts[i], check.verdict, field.minText, field.maxText); !why.empty())
            return "поле «" + std::string(field.caption) + "» окна «" + std::string(window) +
                   "»: " + why;
    }
    return {};
}

std::string calculatedFault(const std::vector<std::string> &names) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string &name = names[i];
        if (std::find(calculations.begin(), calculations.end(), name) == calculations.end())
            return "неизвестный расчёт " + quoted(name);
        if (std::count(names.begin(), names.end(), name) > 1)
            return "расчёт «" + name + "» назван дважды";
        if (name == "FormShow" && i > 0)
            return "расчёт при запуске (FormShow) не первый";
    }
    const auto named = [&names](std::string_view n) {
        return std::find(names.begin(), names.end(), n) != names.end();
    };
    if (named("FormShow") && named("Button7"))
        return "страница «Пример применения» рассчитана дважды (FormShow и Button7)";
    return {};
}

double fieldValue(const std::string &text) { return parseDecimalComma(text).value_or(0); }

} // namespace

DesignRecord defaultDesign() {
    DesignRecord design;
    for (const FieldSpec &field : fieldTable())
        design.fields[static_cast<std::size_t>(field.edit - 1)] = field.defaultText;
    for (const DriverLoadField &field : driverLoadFields())
        design.driverWindow.emplace_back(startingText(field));
    for (const ToleranceField &field : toleranceFields())
        design.tolerances.emplace_back(field.defaultText);
    return design;
}

bool sameInputs(const DesignRecord &a, const DesignRecord &b) {
    return a.fields == b.fields && a.driverWindow == b.driverWindow && a.box == b.box &&
           a.tolerances == b.tolerances && a.note == b.note;
}

std::span<const std::string_view> calculationNames() { return calculations; }

std::string designFault(const DesignRecord &design) {
    for (const FieldSpec &field : fieldTable()) {
        const std::string &text = design.fields[static_cast<std::size_t>(field.edit - 1)];
        if (auto why =
                refusal(text, checkFieldText(text, field).verdict, field.minText, field.maxText);
            !why.empty())
            return "поле Edit" + std::to_string(field.edit) + " (" +
                   std::string(groupName(field.group)) + "): " + why;
    }
    if (auto why = driverWindowFault(design.driverWindow); !why.empty())
        return why;
    if (auto why = windowFault(design.tolerances, toleranceFields(), "Разброс параметров");
        !why.empty())
        return why;
    if (design.page < 1 || design.page > 3)
        return "страницы " + std::to_string(design.page) + " нет, есть 1, 2 и 3";
    return calculatedFault(design.calculated);
}

std::string driverWindowFault(const std::vector<std::string> &texts) {
    return windowFault(texts, driverLoadFields(), "Динамик и усилитель");
}

std::optional<DriverValuePlace> driverValuePlace(DriverValue value) {
    const auto index = static_cast<int>(value);
    if (index < static_cast<int>(DriverValue::Le))
        return DriverValuePlace{31 + index, std::nullopt};
    const auto table = driverLoadFields();
    for (std::size_t row = 0; row < table.size(); ++row)
        if (table[row].key == wdrKey(value))
            return DriverValuePlace{0, row};
    return std::nullopt;
}

DriverFile designDriver(const Driver &driver, const std::vector<std::string> &driverWindow,
                        const std::optional<DriverName> &name) {
    DriverFile file;
    if (name) {
        file.brand = name->brand;
        file.model = name->model;
    }
    file.fs = driver.fs;
    file.re = driver.re;
    file.qms = driver.qms;
    file.qes = driver.qes;
    file.vas = toFileUnit(DriverValue::Vas, driver.vas);
    const std::pair<DriverValue, std::optional<double> DriverFile::*> optional[] = {
        {DriverValue::Le, &DriverFile::le},
        {DriverValue::Sd, &DriverFile::sd},
        {DriverValue::Xmax, &DriverFile::xmax},
        {DriverValue::Pe, &DriverFile::pe}};
    for (const auto &[value, member] : optional)
        if (const auto place = driverValuePlace(value))
            if (const double v = fieldValue(driverWindow.at(*place->windowRow)); v > 0)
                file.*member = toFileUnit(value, v); // a 0 in the field is "not given"
    return file;
}

DriverFile designDriver(const DesignRecord &design) {
    const auto text = [&design](int edit) {
        return fieldValue(design.fields[static_cast<std::size_t>(edit - 1)]);
    };
    return designDriver(Driver{text(31), text(32), text(33), text(34), text(35)},
                        design.driverWindow, design.driverName);
}

std::vector<std::string> driverValueTexts(const DesignRecord &design) {
    std::vector<std::string> texts;
    for (const DriverValue value : driverValues)
        if (const auto place = driverValuePlace(value))
            texts.push_back(place->windowRow
                                ? design.driverWindow.at(*place->windowRow)
                                : design.fields[static_cast<std::size_t>(place->edit - 1)]);
    return texts;
}
