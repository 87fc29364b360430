#pragma once

// An input of a window of its own: the key a project keeps its text under, which never changes,
// the caption, the default text and the inclusive range, whose bound texts replace a value
// beyond them. Each window builds its fields from a table of these, the help lists the ranges.
struct WindowField {
    const char *key;
    const char *caption;
    const char *defaultText;
    double min;
    const char *minText;
    double max;
    const char *maxText;
};
