// The name a zip entry stores, read as its writer meant it: UTF-8 when general-purpose bit 11
// says so, the Info-ZIP Unicode path (extra block 0x7075) when it belongs to the stored name,
// UTF-8 when the bytes are valid UTF-8, and the format's own code page, IBM 437, otherwise.
#pragma once
#include <afx.h>

#include <cstddef>

// The entry's name as UTF-16. `centralExtra` is the entry's extra field of the central
// directory. A trailing "/" stays, so callers can tell a folder by it.
CString DecodeZipEntryName(const char* stored, std::size_t length, unsigned long generalFlags,
                           const unsigned char* centralExtra, std::size_t extraLength);
