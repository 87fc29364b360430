#pragma once

#include <optional>

// The keystroke filter of every input field: only digits and the decimal comma get in, a typed
// point becomes a comma. While the last key-down in any field was Backspace, whatever character
// it produced passes unchanged, so Backspace still edits.
std::optional<char32_t> numericKeyFilter(char32_t typed, bool backspaceDown);
