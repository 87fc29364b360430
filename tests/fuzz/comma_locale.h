#pragma once

// The fuzzers run under a comma locale, as the program does on the users' desktops, so that a
// number text that follows the process locale fails here. Their own reference readings name the
// C locale explicitly.

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

// strtod in the C locale, whatever the process locale is.
inline double readPointText(const char *text) {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    return strtod_l(text, nullptr, c);
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    if (!std::setlocale(LC_ALL, "ru_RU.UTF-8")) {
        std::fprintf(stderr, "locale ru_RU.UTF-8 is not installed\n");
        std::abort();
    }
    return 0;
}
