#pragma once

#include <QString>
#include <string>

// A text of the Qt-free core (UTF-8) as the windows show it.
inline QString shown(const std::string &text) { return QString::fromStdString(text); }
