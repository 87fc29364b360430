#include "project/widgets/window_inputs.h"

#include "core/decimal_text.h"
#include "driver_load/driver_load_fields.h"
#include "driver_load/widgets/driver_window.h"
#include "tolerance/tolerance_fields.h"
#include "tolerance/widgets/tolerance_window.h"

WindowInputs::WindowInputs(const FollowingWindows &w, DriverLoadInputs &driverInputs)
    : windows(w), kept(driverInputs), driverGiven(driverLoadFields().size()) {
    for (const ToleranceField &field : toleranceFields())
        toleranceGiven.emplace_back(field.defaultText);
}

// The text given while it still reads as the value kept, else the value as the window shows it.
std::string WindowInputs::keptDriverText(std::size_t row) const {
    const double value = kept.*driverLoadFields()[row].destination;
    const std::string &given = driverGiven[row];
    return !given.empty() && parseDecimalComma(given) == value ? given : formatGeneral(value);
}

std::vector<std::string> WindowInputs::driverTexts() const {
    std::vector<std::string> texts;
    const DriverWindow *window = windows.made<DriverWindow>();
    for (std::size_t row = 0; row < driverGiven.size(); ++row)
        texts.push_back(window ? window->inputText(row).toStdString() : keptDriverText(row));
    return texts;
}

void WindowInputs::setDriverText(std::size_t row, const std::string &text, bool clamped) {
    if (DriverWindow *window = windows.made<DriverWindow>()) {
        window->setInputText(row, QString::fromStdString(text), clamped);
        return;
    }
    driverGiven[row] = text;
    if (const auto value = parseDecimalComma(text))
        kept.*driverLoadFields()[row].destination = *value;
}

BoxKind WindowInputs::driverBox() const {
    const DriverWindow *window = windows.made<DriverWindow>();
    return window ? window->box() : kept.box;
}

void WindowInputs::setDriverBox(BoxKind box) {
    if (DriverWindow *window = windows.made<DriverWindow>())
        window->setBox(box);
    else
        kept.box = box;
}

std::vector<std::string> WindowInputs::toleranceTexts() const {
    const ToleranceWindow *window = windows.made<ToleranceWindow>();
    if (!window)
        return toleranceGiven;
    std::vector<std::string> texts;
    for (std::size_t row = 0; row < toleranceGiven.size(); ++row)
        texts.push_back(window->inputText(row).toStdString());
    return texts;
}

void WindowInputs::setToleranceText(std::size_t row, const std::string &text) {
    if (ToleranceWindow *window = windows.made<ToleranceWindow>())
        window->setInputText(row, QString::fromStdString(text));
    else
        toleranceGiven[row] = text;
}

void WindowInputs::fill(DriverWindow &window) const {
    for (std::size_t row = 0; row < driverGiven.size(); ++row)
        if (const QString text = QString::fromStdString(keptDriverText(row));
            window.inputText(row) != text)
            window.setInputText(row, text);
}

void WindowInputs::fill(ToleranceWindow &window) const {
    for (std::size_t row = 0; row < toleranceGiven.size(); ++row)
        if (const QString text = QString::fromStdString(toleranceGiven[row]);
            window.inputText(row) != text)
            window.setInputText(row, text);
}
