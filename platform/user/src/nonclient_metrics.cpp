// The desktop's non-client metrics: the frame and bar sizes of the window system (the same
// figures GetSystemMetrics answers) and its fonts, all of the desktop's one face at 9 points.
#include "nonclient_metrics.h"

#include <cstddef>

#include "errhandlingapi.h"

namespace zx::user {
namespace {

constexpr std::size_t kOldSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
static_assert(kOldSize == 500 && sizeof(NONCLIENTMETRICSW) == 504);

LOGFONTW DesktopFont(LONG weight) {
  LOGFONTW font{};
  font.lfHeight = -12;
  font.lfWeight = weight;
  font.lfCharSet = DEFAULT_CHARSET;
  const char16_t face[] = u"Segoe UI";
  for (std::size_t i = 0; i < sizeof face / sizeof face[0]; ++i) font.lfFaceName[i] = face[i];
  return font;
}

}  // namespace

BOOL GetNonClientMetrics(UINT size, void* record) {
  auto* metrics = static_cast<NONCLIENTMETRICSW*>(record);
  if (!metrics || (size != kOldSize && size != sizeof(NONCLIENTMETRICSW)) || metrics->cbSize != size) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  NONCLIENTMETRICSW m{};
  m.cbSize = size;
  m.iBorderWidth = GetSystemMetrics(SM_CXBORDER);
  m.iScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
  m.iScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
  m.iCaptionWidth = m.iCaptionHeight = GetSystemMetrics(SM_CYCAPTION) - 1;
  m.lfCaptionFont = DesktopFont(FW_NORMAL);
  m.iSmCaptionWidth = m.iSmCaptionHeight = m.iCaptionHeight;
  m.lfSmCaptionFont = DesktopFont(FW_NORMAL);
  m.iMenuWidth = m.iMenuHeight = GetSystemMetrics(SM_CYMENU) - 1;
  m.lfMenuFont = DesktopFont(FW_NORMAL);
  m.lfStatusFont = DesktopFont(FW_NORMAL);
  m.lfMessageFont = DesktopFont(FW_NORMAL);
  m.iPaddedBorderWidth = GetSystemMetrics(SM_CXPADDEDBORDER);
  // An older caller's record ends before the padded border.
  const auto* from = reinterpret_cast<const BYTE*>(&m);
  auto* to = static_cast<BYTE*>(record);
  for (UINT i = 0; i < size; ++i) to[i] = from[i];
  return TRUE;
}

}  // namespace zx::user
