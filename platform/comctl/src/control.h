// What every control of this component shares: its state object kept in the window's extra
// bytes, notifications to the parent, the font it draws with, and the class registrations.
#pragma once
#include <string>

#include "commctrl.h"

namespace zx::comctl {

// Longest text a control keeps (in UTF-16 units); longer texts are refused.
constexpr int kMaxText = 0x10000;

// The state object of a control window: made on WM_NCCREATE, freed on WM_NCDESTROY.
template <class State>
State* StateOf(HWND window) {
  return reinterpret_cast<State*>(GetWindowLongPtrW(window, 0));
}
template <class State>
void AttachState(HWND window, State* state) {
  SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(state));
}

// Fills the header of a notification and sends it to the control's parent; the parent's
// answer.
LRESULT Notify(HWND control, UINT code, NMHDR* header);
// WM_COMMAND with a notification code to the parent.
void NotifyCommand(HWND control, int code);

// A text given by pointer, refused (false) when null, the text callback or too long.
bool ReadText(LPCWSTR text, std::u16string& out);
// Copies text into a caller's buffer of `capacity` units, truncated and terminated; answers
// the units copied (0 for no buffer).
int CopyText(const std::u16string& text, LPWSTR buffer, int capacity);

// The font a control draws with when none was set (WM_SETFONT).
HFONT DefaultFont();
// The height of a line of the font (its cell height).
int LineHeight(HFONT font);
// The width of a text in the font.
int TextWidth(HFONT font, const std::u16string& text);

// A new image list of the two check-box state images (empty, ticked), 16 x 16.
HIMAGELIST CreateCheckBoxImages();

// Registers a global class whose windows keep a state pointer in their extra bytes; true
// when registered now or before.
bool RegisterControlClass(LPCWSTR name, WNDPROC procedure, UINT style);

// Registers each family's class (true when registered now or before).
bool RegisterHeaderClass();
bool RegisterListViewClass();
bool RegisterTreeViewClass();
bool RegisterProgressClass();
bool RegisterAnimateClass();
bool RegisterToolTipsClass();
bool RegisterDateTimeClass();
// Gives each control class its class-library kind for the temporary objects GetDlgItem
// answers (afx_kinds.cpp).
void AddTemporaryKinds();

}  // namespace zx::comctl
