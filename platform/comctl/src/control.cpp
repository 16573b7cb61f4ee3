// Shared pieces of the controls: notifications, texts given by pointer, fonts and metrics.
#include "control.h"

#include <algorithm>

#include "errhandlingapi.h"

namespace zx::comctl {

LRESULT Notify(HWND control, UINT code, NMHDR* header) {
  header->hwndFrom = control;
  header->idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(control));
  header->code = code;
  HWND parent = GetParent(control);
  if (!parent) return 0;
  return SendMessageW(parent, WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(header));
}

void NotifyCommand(HWND control, int code) {
  HWND parent = GetParent(control);
  if (!parent) return;
  const int id = GetDlgCtrlID(control);
  SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

bool ReadText(LPCWSTR text, std::u16string& out) {
  if (!text || text == LPSTR_TEXTCALLBACKW) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  int length = 0;
  while (length <= kMaxText && text[length]) ++length;
  if (length > kMaxText) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  out.assign(text, static_cast<std::size_t>(length));
  return true;
}

int CopyText(const std::u16string& text, LPWSTR buffer, int capacity) {
  if (!buffer || buffer == LPSTR_TEXTCALLBACKW || capacity <= 0) return 0;
  const int n = std::min(static_cast<int>(text.size()), capacity - 1);
  std::copy(text.begin(), text.begin() + n, buffer);
  buffer[n] = 0;
  return n;
}

bool RegisterControlClass(LPCWSTR name, WNDPROC procedure, UINT style) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = style | CS_GLOBALCLASS;
  wc.lpfnWndProc = procedure;
  wc.cbWndExtra = sizeof(void*);
  wc.lpszClassName = name;
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HFONT DefaultFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

namespace {
// A memory DC holding the font for one measurement.
class MeasureDc {
 public:
  explicit MeasureDc(HFONT font) : dc_(CreateCompatibleDC(nullptr)) {
    old_ = SelectObject(dc_, font ? font : DefaultFont());
  }
  ~MeasureDc() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  MeasureDc(const MeasureDc&) = delete;
  MeasureDc& operator=(const MeasureDc&) = delete;
  HDC dc() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_;
};
}  // namespace

int LineHeight(HFONT font) {
  MeasureDc m(font);
  TEXTMETRICW metrics{};
  if (!GetTextMetricsW(m.dc(), &metrics)) return 13;
  return metrics.tmHeight;
}

int TextWidth(HFONT font, const std::u16string& text) {
  MeasureDc m(font);
  SIZE size{};
  if (!GetTextExtentPoint32W(m.dc(), text.c_str(), static_cast<int>(text.size()), &size)) return 0;
  return size.cx;
}

}  // namespace zx::comctl
