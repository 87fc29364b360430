#include "input/key_filter.h"

std::optional<char32_t> numericKeyFilter(char32_t typed, bool backspaceDown) {
    if (backspaceDown)
        return typed;
    if (typed == U'.')
        return U',';
    if ((typed >= U'0' && typed <= U'9') || typed == U',')
        return typed;
    return std::nullopt;
}
