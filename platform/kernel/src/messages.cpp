// The system's message texts and FormatMessage.
#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "errhandlingapi.h"
#include "heapapi.h"
#include "winbase.h"

namespace {

struct Message {
  DWORD code;
  std::u16string_view text;
};

constexpr Message kMessages[] = {
    {ERROR_SUCCESS, u"The operation completed successfully."},
    {ERROR_INVALID_FUNCTION, u"Incorrect function."},
    {ERROR_FILE_NOT_FOUND, u"The system cannot find the file specified."},
    {ERROR_PATH_NOT_FOUND, u"The system cannot find the path specified."},
    {ERROR_TOO_MANY_OPEN_FILES, u"The system cannot open the file."},
    {ERROR_ACCESS_DENIED, u"Access is denied."},
    {ERROR_INVALID_HANDLE, u"The handle is invalid."},
    {ERROR_NOT_ENOUGH_MEMORY, u"Not enough memory resources are available to process this command."},
    {ERROR_INVALID_DATA, u"The data is invalid."},
    {ERROR_OUTOFMEMORY, u"Not enough storage is available to complete this operation."},
    {ERROR_INVALID_DRIVE, u"The system cannot find the drive specified."},
    {ERROR_NO_MORE_FILES, u"There are no more files."},
    {ERROR_CRC, u"Data error (cyclic redundancy check)."},
    {ERROR_BAD_LENGTH, u"The program issued a command but the command length is incorrect."},
    {ERROR_SHARING_VIOLATION,
     u"The process cannot access the file because it is being used by another process."},
    {ERROR_HANDLE_EOF, u"Reached the end of the file."},
    {ERROR_NOT_SUPPORTED, u"The request is not supported."},
    {ERROR_FILE_EXISTS, u"The file exists."},
    {ERROR_INVALID_PARAMETER, u"The parameter is incorrect."},
    {ERROR_INSUFFICIENT_BUFFER, u"The data area passed to a system call is too small."},
    {ERROR_INVALID_NAME, u"The filename, directory name, or volume label syntax is incorrect."},
    {ERROR_DIR_NOT_EMPTY, u"The directory is not empty."},
    {ERROR_ALREADY_EXISTS, u"Cannot create a file when that file already exists."},
    {ERROR_MORE_DATA, u"More data is available."},
    {ERROR_NO_MORE_ITEMS, u"No more data is available."},
    {ERROR_NO_TOKEN, u"An attempt was made to reference a token that does not exist."},
    {ERROR_KEY_DELETED, u"Illegal operation attempted on a registry key that has been marked for deletion."},
    {ERROR_SERVICE_NOT_ACTIVE, u"The service has not been started."},
    {ERROR_NONE_MAPPED, u"No mapping between account names and security IDs was done."},
    {ERROR_NO_SUCH_DOMAIN, u"The specified domain either does not exist or could not be contacted."},
    {ERROR_INVALID_ACL, u"The access control list (ACL) structure is invalid."},
    {ERROR_INVALID_SID, u"The security ID structure is invalid."},
    {ERROR_INVALID_SECURITY_DESCR, u"The security descriptor structure is invalid."},
    {static_cast<DWORD>(DISP_E_MEMBERNOTFOUND), u"Member not found."},
    {static_cast<DWORD>(DISP_E_TYPEMISMATCH), u"Type mismatch."},
    {static_cast<DWORD>(DISP_E_UNKNOWNNAME), u"Unknown name."},
    {static_cast<DWORD>(DISP_E_EXCEPTION), u"Exception occurred."},
    {static_cast<DWORD>(DISP_E_BADPARAMCOUNT), u"Invalid number of parameters."},
};

DWORD Fail(DWORD error) {
  SetLastError(error);
  return 0;
}

bool LanguageFound(DWORD languageId) {
  const DWORD primary = PRIMARYLANGID(languageId);
  return languageId == 0 || primary == LANG_NEUTRAL || primary == LANG_ENGLISH;
}

}  // namespace

DWORD FormatMessageW(DWORD flags, LPCVOID, DWORD messageId, DWORD languageId, LPWSTR buffer, DWORD size,
                     void*) {
  if ((flags & FORMAT_MESSAGE_FROM_SYSTEM) == 0 ||
      (flags & (FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_FROM_HMODULE)) != 0 || buffer == nullptr)
    return Fail(ERROR_INVALID_PARAMETER);
  const auto found = std::find_if(std::begin(kMessages), std::end(kMessages),
                                  [messageId](const Message& m) { return m.code == messageId; });
  if (found == std::end(kMessages)) return Fail(ERROR_MR_MID_NOT_FOUND);
  if (!LanguageFound(languageId)) return Fail(ERROR_RESOURCE_LANG_NOT_FOUND);

  const std::u16string text = std::u16string(found->text) + u"\r\n";
  const DWORD length = static_cast<DWORD>(text.size());
  LPWSTR target = buffer;
  if ((flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) != 0) {
    target = static_cast<LPWSTR>(LocalAlloc(LMEM_FIXED, (std::max(length, size) + 1) * sizeof(WCHAR)));
    if (target == nullptr) return 0;
    *reinterpret_cast<LPWSTR*>(buffer) = target;
  } else if (size <= length) {
    return Fail(ERROR_INSUFFICIENT_BUFFER);
  }
  std::memcpy(target, text.data(), length * sizeof(WCHAR));
  target[length] = 0;
  return length;
}
