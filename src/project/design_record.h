#pragma once

#include "driver_file/wdr_file.h"
#include "driver_load/driver_model.h"
#include "speaker/closed_box.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// A design as a project keeps it: every input as typed, and what the window showed of it.

// The driver's brand and model, as a driver file gave them.
struct DriverName {
    std::string brand, model;
    bool operator==(const DriverName &) const = default;
};

struct DesignRecord {
    std::array<std::string, 37> fields; // Edit1 … Edit37
    std::vector<std::string> driverWindow; // «Динамик и усилитель», in driverLoadFields() order
    BoxKind box = BoxKind::Closed; // its «Ящик»
    std::vector<std::string> tolerances; // «Разброс параметров», in toleranceFields() order
    int page = 1;                        // TabSheet1 … TabSheet3
    // The handlers that showed a result (or a group's message), in the order they run again:
    // FormShow first, the last amplifier run last.
    std::vector<std::string> calculated;
    std::optional<DriverName> driverName; // while the driver's values are the file's
    std::string note;
    bool operator==(const DesignRecord &) const = default;
};

// The design the program starts with: every field's default text, nothing calculated.
DesignRecord defaultDesign();

// What counts as a change: a field's text, a window's input, the note.
bool sameInputs(const DesignRecord &a, const DesignRecord &b);

// The handlers `calculated` may name: FormShow, Button1 … Button7.
std::span<const std::string_view> calculationNames();

// The first text a field would refuse, by that field's own check, or a name `calculated` may not
// hold, in Russian («поле Edit16 (Неинвертирующий, Вариант 1): «1000,5» — вне диапазона 0,05 …
// 1000»); empty when the design can be used.
std::string designFault(const DesignRecord &design);
// The same for the driver window's texts alone.
std::string driverWindowFault(const std::vector<std::string> &texts);

// The driver of a design whose texts pass their checks: page 3's values with the driver window's
// Le, Sd, Xmax (and Pe, where the window takes it), in the file's SI units; the name where known.
DriverFile designDriver(const DesignRecord &design);
// The same with page 3's values from a run.
DriverFile designDriver(const Driver &driver, const std::vector<std::string> &driverWindow,
                        const std::optional<DriverName> &name);

// The texts of the driver's values: Edit31 … Edit35, then the driver window's fields that a
// driver file fills. While they stay as a file gave them, the design keeps the file's name.
std::vector<std::string> driverValueTexts(const DesignRecord &design);

// Where a driver file's value goes: page 3's field Edit31 … Edit35 (`edit`), or the driver
// window's row of the same key; none for a value the window does not take.
struct DriverValuePlace {
    int edit = 0;
    std::optional<std::size_t> windowRow;
};
std::optional<DriverValuePlace> driverValuePlace(DriverValue value);
