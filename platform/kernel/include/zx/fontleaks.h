// Sanitizer builds of a program that draws text: fontconfig keeps its font caches behind
// encoded offsets that the leak checker can't follow, so blocks it still uses look lost. Only
// its own blocks are excused. Included by one source file of each program or library that
// sets up fonts.
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#define ZX_FONT_LEAKS_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZX_FONT_LEAKS_CHECKED 1
#endif
#endif
#ifdef ZX_FONT_LEAKS_CHECKED
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif
