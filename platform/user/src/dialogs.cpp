// Dialogs from templates: the dialog window and its items, WM_INITDIALOG, modeless and modal
// dialogs (owner disabled, a nested loop with the dialog keys until EndDialog) and EndDialog.
#include <mutex>
#include <string>
#include <unordered_map>

#include "dialog.h"
#include "winresource.h"
#include "zx/restemplates.h"
#include "zx/windowstate.h"

namespace zx::user {
namespace {

// A template given by its address alone is read within this many bytes of its start (the
// reader checks every field against it); one found in resources, within its own size.
constexpr std::size_t kTemplateBound = 64 * 1024;

const char16_t* const kPredefinedClasses[] = {u"Button",    u"Edit",    u"Static",
                                              u"ListBox",   u"ScrollBar", u"ComboBox"};

// The class name (or atom) to create a control or dialog of; empty text means none given.
LPCWSTR ClassOf(const res::NameOrNumber& name, LPCWSTR fallback) {
  switch (name.kind) {
    case res::NameOrNumber::Kind::Number:
      if (name.number >= 0x80 && name.number <= 0x85) return kPredefinedClasses[name.number - 0x80];
      return MAKEINTATOM(name.number);
    case res::NameOrNumber::Kind::Text: return name.text.c_str();
    case res::NameOrNumber::Kind::None: break;
  }
  return fallback;
}

// A picture static names its resource by number.
LPCWSTR ItemText(const res::DialogItem& item) {
  switch (item.title.kind) {
    case res::NameOrNumber::Kind::Text: return item.title.text.c_str();
    case res::NameOrNumber::Kind::Number: return MAKEINTRESOURCEW(item.title.number);
    case res::NameOrNumber::Kind::None: break;
  }
  return u"";
}

bool CreateItems(HWND dialog, HINSTANCE instance, const res::DialogTemplate& layout,
                 const DialogFont& font) {
  for (const res::DialogItem& item : layout.items) {
    const RECT rect = DialogUnitsToPixels(
        font.baseUnits, RECT{item.x, item.y, item.x + item.cx, item.y + item.cy});
    const LPCWSTR text = ItemText(item);
    LPVOID creationData = item.extra.empty() ? nullptr : const_cast<BYTE*>(item.extra.data());
    const HWND control = CreateWindowExW(
        item.exStyle | WS_EX_NOPARENTNOTIFY, ClassOf(item.windowClass, u""), text,
        (item.style | WS_CHILD) & ~WS_POPUP, rect.left, rect.top, rect.right - rect.left,
        rect.bottom - rect.top, dialog, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item.id)),
        instance, creationData);
    if (!control) return false;
    if (font.font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.font), FALSE);
    // The first default push button gives the dialog its default id.
    if (!DialogDefaultId(dialog) &&
        (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON))
      SetDialogDefaultId(dialog, static_cast<int>(item.id));
  }
  return true;
}

// The first visible, enabled item with WS_TABSTOP: where the focus goes.
HWND FirstTabStop(HWND dialog) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
    if ((style & WS_TABSTOP) && (style & WS_VISIBLE) && !(style & WS_DISABLED)) return child;
  }
  return nullptr;
}

HWND CreateFromTemplate(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, std::size_t size,
                        HWND owner, DLGPROC procedure, LPARAM initParam, bool modal) {
  res::DialogTemplate layout;
  std::string error;
  if (!dialogTemplate ||
      !res::ReadDialogTemplate(dialogTemplate, size, layout, error)) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  const DialogFont font =
      layout.hasFont
          ? DialogFontOf(layout.face, layout.pointSize, layout.weight, layout.italic != 0)
                     : DefaultDialogFont();
  if (!font.baseUnits) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  const DWORD style = layout.style & ~WS_VISIBLE;
  RECT frame = DialogUnitsToPixels(
      font.baseUnits, RECT{layout.x, layout.y, layout.x + layout.cx, layout.y + layout.cy});
  AdjustWindowRectEx(&frame, style, FALSE, layout.exStyle);
  POINT origin{frame.left, frame.top};
  if (owner && !(style & WS_CHILD)) ClientToScreen(owner, &origin);
  // A dialog made as a control of another holds controls of its own: the dialog keys walk
  // into it.
  const DWORD exStyle = layout.exStyle | ((layout.style & DS_CONTROL) ? WS_EX_CONTROLPARENT : 0u);
  const HWND dialog = CreateWindowExW(
      exStyle, ClassOf(layout.windowClass, WC_DIALOG), layout.title.c_str(), style,
      origin.x, origin.y, frame.right - frame.left, frame.bottom - frame.top, owner, nullptr,
      instance, nullptr);
  if (!dialog) return nullptr;
  SetWindowLongPtrW(dialog, kDialogUnitsSlot, font.baseUnits);
  SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(procedure));
  if (font.font) SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font.font), FALSE);
  if (!CreateItems(dialog, instance, layout, font)) {
    const DWORD failure = GetLastError();
    DestroyWindow(dialog);
    SetLastError(failure);
    return nullptr;
  }
  const HWND first = FirstTabStop(dialog);
  if (SendMessageW(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), initParam) && first)
    SetFocus(first);
  if (!IsWindow(dialog)) return nullptr;  // the dialog procedure destroyed it
  if ((layout.style & WS_VISIBLE) || modal) ShowWindow(dialog, SW_SHOWNORMAL);
  return dialog;
}

struct FoundTemplate {
  const DLGTEMPLATE* data = nullptr;
  std::size_t size = 0;
};

FoundTemplate FindTemplate(HINSTANCE instance, LPCWSTR name) {
  const HRSRC found = FindResourceW(instance, name, RT_DIALOG);
  if (!found) return {};
  return {static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(instance, found))),
          SizeofResource(instance, found)};
}

INT_PTR RunModal(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, std::size_t size, HWND owner,
                 DLGPROC procedure, LPARAM initParam) {
  const bool ownerEnabled = owner && IsWindowEnabled(owner);
  if (ownerEnabled) EnableWindow(owner, FALSE);
  const HWND dialog =
      CreateFromTemplate(instance, dialogTemplate, size, owner, procedure, initParam, true);
  INT_PTR result = -1;
  if (dialog) {
    result = 0;
    MSG msg;
    while (IsWindow(dialog) && !GetWindowLongPtrW(dialog, kDialogEndedSlot)) {
      if (!GetMessageW(&msg, nullptr, 0, 0)) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      if (CallMsgFilterW(&msg, MSGF_DIALOGBOX)) continue;
      if (!IsDialogMessageW(dialog, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
    if (IsWindow(dialog) && GetWindowLongPtrW(dialog, kDialogEndedSlot))
      result = GetWindowLongPtrW(dialog, kDialogResultSlot);
  }
  // The owner is enabled again before the dialog goes, so activation can return to it.
  if (ownerEnabled) EnableWindow(owner, TRUE);
  if (dialog && IsWindow(dialog)) DestroyWindow(dialog);
  return result;
}

struct SavedFocus {
  std::mutex lock;
  std::unordered_map<HWND, HWND> byDialog;
};

SavedFocus& Saved() {
  static SavedFocus* saved = [] {
    auto* made = new SavedFocus;
    AddDestroyObserver([made](HWND window) {
      std::lock_guard<std::mutex> guard(made->lock);
      made->byDialog.erase(window);
    });
    return made;
  }();
  return *saved;
}

}  // namespace

void SaveDialogFocus(HWND dialog) {
  const HWND focus = GetFocus();
  if (!focus || !IsChild(dialog, focus)) return;
  SavedFocus& saved = Saved();
  std::lock_guard<std::mutex> guard(saved.lock);
  saved.byDialog[dialog] = focus;
}

bool RestoreDialogFocus(HWND dialog) {
  HWND control = nullptr;
  {
    SavedFocus& saved = Saved();
    std::lock_guard<std::mutex> guard(saved.lock);
    const auto found = saved.byDialog.find(dialog);
    if (found != saved.byDialog.end()) control = found->second;
  }
  if (!control || !IsChild(dialog, control) || !IsWindowVisible(control) || !IsWindowEnabled(control))
    return false;
  SetFocus(control);
  return true;
}

LONG DialogUnitsOf(HWND dialog) {
  return static_cast<LONG>(GetWindowLongPtrW(dialog, kDialogUnitsSlot) & 0xFFFFFFFF);
}

int DialogDefaultId(HWND dialog) {
  return static_cast<int>(static_cast<ULONG_PTR>(GetWindowLongPtrW(dialog, kDialogUnitsSlot)) >> 32);
}

void SetDialogDefaultId(HWND dialog, int id) {
  const auto units = static_cast<ULONG_PTR>(static_cast<DWORD>(DialogUnitsOf(dialog)));
  const auto high = static_cast<ULONG_PTR>(static_cast<WORD>(id)) << 32;
  SetWindowLongPtrW(dialog, kDialogUnitsSlot, static_cast<LONG_PTR>(units | high));
}

}  // namespace zx::user

HWND CreateDialogIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND parent,
                                DLGPROC procedure, LPARAM initParam) {
  return zx::user::CreateFromTemplate(instance, dialogTemplate, zx::user::kTemplateBound, parent,
                                      procedure, initParam, false);
}

HWND CreateDialogParamW(HINSTANCE instance, LPCWSTR templateName, HWND parent, DLGPROC procedure,
                        LPARAM initParam) {
  const auto found = zx::user::FindTemplate(instance, templateName);
  if (!found.data) return nullptr;
  return zx::user::CreateFromTemplate(instance, found.data, found.size, parent, procedure,
                                      initParam, false);
}

INT_PTR DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND parent,
                                DLGPROC procedure, LPARAM initParam) {
  return zx::user::RunModal(instance, dialogTemplate, zx::user::kTemplateBound, parent, procedure,
                            initParam);
}

INT_PTR DialogBoxParamW(HINSTANCE instance, LPCWSTR templateName, HWND parent, DLGPROC procedure,
                        LPARAM initParam) {
  const auto found = zx::user::FindTemplate(instance, templateName);
  if (!found.data) return -1;
  return zx::user::RunModal(instance, found.data, found.size, parent, procedure, initParam);
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
  if (!zx::user::DialogUnitsOf(dialog)) return FALSE;
  SetWindowLongPtrW(dialog, zx::user::kDialogResultSlot, result);
  SetWindowLongPtrW(dialog, zx::user::kDialogEndedSlot, 1);
  ShowWindow(dialog, SW_HIDE);
  // Wakes the modal loop if it is waiting for a message.
  PostMessageW(dialog, WM_NULL, 0, 0);
  return TRUE;
}
