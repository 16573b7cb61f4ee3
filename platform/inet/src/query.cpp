// HttpQueryInfo: the status and headers of a response.
#include "errhandlingapi.h"
#include "inetobjects.h"
#include "wininet.h"
#include "zx/httpheaders.h"

using namespace zx::inet;

namespace {

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

}  // namespace

BOOL HttpQueryInfoW(HINTERNET request, DWORD infoLevel, LPVOID buffer, LPDWORD bufferLength,
                    LPDWORD index) {
  if (!bufferLength) return Fail(ERROR_INVALID_PARAMETER);
  auto target = LookupAs<Request>(request, Kind::Request);
  if (!target) return FALSE;
  if (target->connection->ftp()) return Fail(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
  const DWORD modifiers = infoLevel & HTTP_QUERY_MODIFIER_FLAGS_MASK;
  if (modifiers & ~HTTP_QUERY_FLAG_NUMBER) return Fail(ERROR_HTTP_INVALID_QUERY_REQUEST);

  std::lock_guard<std::mutex> busy(target->busy);
  if (!target->transfer.responded()) return Fail(ERROR_INTERNET_INCORRECT_HANDLE_STATE);
  const auto values = HttpQueryValues(target->transfer.headers(), infoLevel & HTTP_QUERY_HEADER_MASK,
                                      static_cast<const WCHAR*>(buffer));
  if (!values) return Fail(ERROR_HTTP_INVALID_QUERY_REQUEST);
  const DWORD occurrence = index ? *index : 0;
  if (occurrence >= values->size()) return Fail(ERROR_HTTP_HEADER_NOT_FOUND);
  const DWORD error =
      CopyHttpQueryValue((*values)[occurrence], (modifiers & HTTP_QUERY_FLAG_NUMBER) != 0, buffer, bufferLength);
  if (error != 0) return Fail(error);
  if (index) ++*index;
  return TRUE;
}
