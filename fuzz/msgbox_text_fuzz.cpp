// Fuzz target: hostile message-box text (read as UTF-8, as texts from answers and files
// arrive), made into the box's text and measured and drawn by the HTML text control at the
// box's text-area width. Nothing may crash or read past the text.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "DlgBaseMessageBoxWndBase.h"
#include "qhtm.h"

namespace {

CString Widen(const uint8_t* data, size_t size) {
  if (size == 0) return CString();
  const char* text = reinterpret_cast<const char*>(data);
  const int length = MultiByteToWideChar(CP_UTF8, 0, text, static_cast<int>(size), nullptr, 0);
  if (length <= 0) return CString();
  std::vector<WCHAR> wide(static_cast<size_t>(length));
  MultiByteToWideChar(CP_UTF8, 0, text, static_cast<int>(size), wide.data(), length);
  return CString(wide.data(), length);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  static const HDC dc = [] {
    const HDC made = CreateCompatibleDC(nullptr);
    SelectObject(made, CreateCompatibleBitmap(made, 245, 120));
    return made;
  }();
  const CString raw = Widen(data, size);
  for (BOOL wrap : {TRUE, FALSE}) {
    const CString text = MakeMessageBoxText(raw, wrap);
    QHTM_GetHTMLHeight(dc, text, nullptr, QHTM_SOURCE_TEXT, 245);
    RECT area{0, 0, 245, 120};
    QHTM_RenderHTMLRect(dc, text, nullptr, QHTM_SOURCE_TEXT | QHTM_RENDER_TRANSPARENT, &area);
  }
  return 0;
}
