// Bringing fresh memory in before it is written: a large buffer that is about to be filled
// from its start to its end takes its pages at once, rather than one fault a page as the
// writing reaches them.
#pragma once
#include <cstddef>

namespace zx {

// The whole pages within [start, start + bytes) are made resident and writable; their
// contents do not change. Where the system cannot do it at once, each page is touched.
void PrefaultForWriting(void* start, std::size_t bytes);

}  // namespace zx
