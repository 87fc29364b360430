#pragma once

// Inputs for the benchmarks, taken through the field table as the window would store them.

#include "input/field_table.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <span>

// Stops the benchmark program when its setup does not hold: a figure measured on the wrong path
// is worse than none.
inline void require(bool condition, const char *what) {
    if (!condition) {
        std::fprintf(stderr, "benchmark setup failed: %s\n", what);
        std::abort();
    }
}

// The values a group's fields store for the given texts (in check order), or for the field
// defaults when no texts are given.
inline LastResults groupInputs(FieldGroup group, std::span<const char *const> texts = {}) {
    const auto fields = groupFields(group);
    require(texts.empty() || texts.size() == fields.size(), "one text per field");
    LastResults last;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const FieldSpec &field = fields[i];
        const FieldCheck check =
            checkFieldText(texts.empty() ? field.defaultText : texts[i], field);
        require(check.verdict == FieldVerdict::Accepted, "input within the field's range");
        last.*field.destination = field.kiloOhm ? check.value * 1000 : check.value;
    }
    return last;
}

// Variant 2 inputs (Ку, Roc in kΩ, Rн, Rт, Rвых) on which Newton's method uses all ten attempts
// of 101 counted steps and ends without converging: 3030 network evaluations, the longest
// calculation either page can be asked for (the inverting one then bisects on the line of Rвых).
// Found by a sweep of Ку 3…300, Roc 0,05…1000 kΩ, Rн 1…100, Rт 0,05…20, Rвых 0,1…200; every such
// case made exactly those 3030 evaluations.
constexpr std::array<const char *, 5> nonInvertingNewtonWorst{"200", "1", "50", "0,2", "200"};
constexpr std::array<const char *, 5> invertingNewtonWorst{"300", "1000", "1", "0,2", "200"};
