#pragma once

// The program's number texts may not depend on the process locale, which an application takes
// from the environment. These tests run their slots once under C and once under each of the
// comma locales the users have.

#include <QTest>
#include <clocale>
#include <cstdio>

inline constexpr const char *userLocales[] = {"C", "ru_RU.UTF-8", "de_DE.UTF-8"};

// Runs `Test` under each locale in turn. A locale that is not installed fails the run: it is
// not skipped (scripts/install-deps.sh test makes them).
template <class Test>
int runUnderEachLocale(int argc, char **argv) {
    int failures = 0;
    for (const char *name : userLocales) {
        if (!std::setlocale(LC_ALL, name)) {
            std::fprintf(stderr, "FAIL! locale %s is not installed\n", name);
            return 1;
        }
        std::printf("********* Locale %s *********\n", name);
        Test test;
        failures += QTest::qExec(&test, argc, argv);
    }
    return failures;
}
