#pragma once

#include "input/window_field.h"

#include <span>

// The inputs of the window «Разброс параметров»; a key is also the field's object name.
using ToleranceField = WindowField;

// In the order of the window's fields: the parts' tolerance, Rт's, the power in the load.
std::span<const ToleranceField> toleranceFields();
