// System message texts: FormatMessage from the system's table of error messages.
#pragma once
#include "wintypes.h"

#define FORMAT_MESSAGE_ALLOCATE_BUFFER 0x00000100u
#define FORMAT_MESSAGE_IGNORE_INSERTS 0x00000200u
#define FORMAT_MESSAGE_FROM_STRING 0x00000400u
#define FORMAT_MESSAGE_FROM_HMODULE 0x00000800u
#define FORMAT_MESSAGE_FROM_SYSTEM 0x00001000u
#define FORMAT_MESSAGE_ARGUMENT_ARRAY 0x00002000u
#define FORMAT_MESSAGE_MAX_WIDTH_MASK 0x000000FFu

#define LANG_NEUTRAL 0x00
#define LANG_ENGLISH 0x09
#define SUBLANG_NEUTRAL 0x00
#define SUBLANG_DEFAULT 0x01
#define SUBLANG_SYS_DEFAULT 0x02
#define LANG_SYSTEM_DEFAULT MAKELANGID(LANG_NEUTRAL, SUBLANG_SYS_DEFAULT)
#define MAKELANGID(primary, sub) \
  (static_cast<WORD>((static_cast<WORD>(sub) << 10) | static_cast<WORD>(primary)))
#define PRIMARYLANGID(lang) (static_cast<WORD>(lang) & 0x3FF)

// Only FORMAT_MESSAGE_FROM_SYSTEM is a source here (the system's texts have no inserts, so
// IGNORE_INSERTS changes nothing). The texts are English, each ending in "\r\n"; language 0
// or any neutral or English language finds them, others answer ERROR_RESOURCE_LANG_NOT_FOUND.
// A code without a text answers ERROR_MR_MID_NOT_FOUND. With ALLOCATE_BUFFER, buffer is
// really an LPWSTR* that receives a LocalAlloc block (free it with LocalFree); otherwise
// size is the buffer's capacity in characters. Answers the length without the terminator,
// 0 on failure.
DWORD FormatMessageW(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId, LPWSTR buffer,
                     DWORD size, void* arguments);
inline DWORD FormatMessage(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId, LPWSTR buffer,
                           DWORD size, void* arguments) {
  return FormatMessageW(flags, source, messageId, languageId, buffer, size, arguments);
}
