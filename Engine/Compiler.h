// The compiler-specific spellings the engine and the game use, each behind one name.
#pragma once

#if defined(_MSC_VER) && !defined(__clang__)

// MSVC checks printf formats only through its code analysis.
#define PW_PRINTF(fmtIndex, argIndex)
// MSVC orders static construction by section, not by object: a file whose statics must
// come first says PW_STATICS_FIRST once, before them.
#define PW_STATICS_FIRST __pragma(init_seg(lib))
#define PW_CONSTRUCT_FIRST
#define PW_CONSTRUCT_CONSOLE
#define PW_CONSTRUCT_EARLY

#else

#if defined(__MINGW32__)
// MinGW's C++ library formats with its own C99 printf (%zu, %lld), not Windows' own.
#define PW_PRINTF(fmtIndex, argIndex) __attribute__((format(gnu_printf, fmtIndex, argIndex)))
#else
#define PW_PRINTF(fmtIndex, argIndex) __attribute__((format(printf, fmtIndex, argIndex)))
#endif
#define PW_STATICS_FIRST
// Constructed before, and destroyed after, every static object without a priority. The engine's
// singletons are split between two files (the core's console, the windowed rest), so their
// order is set by three steps: the application first, then the console, then the others.
#define PW_CONSTRUCT_FIRST __attribute__((init_priority(998)))
#define PW_CONSTRUCT_CONSOLE __attribute__((init_priority(999)))
#define PW_CONSTRUCT_EARLY __attribute__((init_priority(1000)))

#endif
