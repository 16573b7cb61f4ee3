// Bringing fresh memory in before it is written: a large buffer that is about to be filled
// from its start to its end takes its pages at once, and in huge pages where the system has
// them, rather than one fault a small page as the writing reaches them.
#pragma once
#include <cstddef>

namespace zx {

// The whole pages within [start, start + bytes) are made resident and writable; their
// contents do not change. Where the system cannot do it at once, each page is touched.
void PrefaultForWriting(void* start, std::size_t bytes);

// Asks the system to back the whole huge pages within [start, start + bytes) with huge pages
// when they are first touched, so that a large buffer costs a fault for each 2 MB rather than
// for each 4 KB. Nothing changes where the system has none to give.
void AdviseHugePages(void* start, std::size_t bytes);

}  // namespace zx
