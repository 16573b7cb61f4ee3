// Export marker of the shared library zephrinkxhelper.
#pragma once

#if defined(ZEPHRINKXHELPER_BUILD)
#define ZXHELPER_API __attribute__((visibility("default")))
#else
#define ZXHELPER_API
#endif
