#pragma once

// Marks what the shared library offers to applications; everything else stays inside it (the library is
// built with hidden visibility).
#if defined(__GNUC__)
#define PRELIX10_EXPORT __attribute__((visibility("default")))
#else
#define PRELIX10_EXPORT
#endif
