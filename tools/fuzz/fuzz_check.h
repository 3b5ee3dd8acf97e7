// What a fuzz target does when a property fails: say which, and stop so that libFuzzer
// keeps the input. Fuzz sources stay ASCII: they are built with clang, which knows no
// Windows-1252 execution character set.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition);  \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
