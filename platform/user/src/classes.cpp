// Window classes of this process: registration by name (compared without regard to case) or
// atom, the built-in dialog class "#32770", and what GetClassInfo/GetClassName report.
#include <cstring>
#include <map>

#include "ctl_combo.h"
#include "errhandlingapi.h"
#include "remote.h"
#include "usertext.h"
#include "window.h"

namespace zx::user {
namespace {

constexpr ATOM kDialogAtom = 0x8002;
constexpr int kMaxExtraBytes = 4096;

struct ClassTable {
  std::map<std::u16string, std::shared_ptr<WindowClass>> byName;  // folded names
  std::map<ATOM, std::shared_ptr<WindowClass>> byAtom;
  ATOM nextAtom = 0xC000;
};

// The standard controls' classes, made with the table.
struct BuiltIn {
  const char16_t* name;
  WNDPROC proc;
  UINT style;
};
const BuiltIn kControls[] = {
    {u"Button", ctl::ButtonProc, CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW},
    {u"Static", ctl::StaticProc, CS_DBLCLKS | CS_PARENTDC},
    {u"Edit", ctl::EditProc, CS_DBLCLKS | CS_PARENTDC},
    {u"RichEdit20W", ctl::RichEditProc, CS_DBLCLKS | CS_PARENTDC},
    {u"ComboBox", ctl::ComboBoxProc, CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW},
    {u"ComboLBox", ctl::ComboListProc, CS_DBLCLKS | CS_SAVEBITS},
};

void AddControls(ClassTable& table) {
  for (const BuiltIn& control : kControls) {
    auto c = std::make_shared<WindowClass>();
    c->name = control.name;
    c->atom = table.nextAtom++;
    c->style = control.style;
    c->proc = control.proc;
    c->windowExtra = ctl::kControlExtra;
    table.byName[FoldedName(c->name)] = c;
    table.byAtom[c->atom] = c;
  }
}

ClassTable& MakeTable() {
  auto* table = new ClassTable;
  auto dialog = std::make_shared<WindowClass>();
  dialog->name = u"#32770";
  dialog->atom = kDialogAtom;
  dialog->style = CS_DBLCLKS | CS_SAVEBITS;
  dialog->proc = DefDlgProcW;
  dialog->windowExtra = DLGWINDOWEXTRA;
  table->byName[FoldedName(dialog->name)] = dialog;
  table->byAtom[kDialogAtom] = dialog;
  AddControls(*table);
  return *table;
}

// Under TableLock().
ClassTable& Classes() {
  static ClassTable& table = MakeTable();
  return table;
}

bool ValidExtra(int bytes) { return bytes >= 0 && bytes <= kMaxExtraBytes; }

ATOM Register(const WNDCLASSEXW& wc) {
  if (!wc.lpszClassName || (!IS_INTRESOURCE(wc.lpszClassName) && !*wc.lpszClassName) ||
      IS_INTRESOURCE(wc.lpszClassName) || !ValidExtra(wc.cbClsExtra) ||
      !ValidExtra(wc.cbWndExtra)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::lock_guard<std::mutex> guard(TableLock());
  ClassTable& table = Classes();
  const std::u16string key = FoldedName(wc.lpszClassName);
  if (table.byName.count(key)) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  while (table.byAtom.count(table.nextAtom)) ++table.nextAtom;
  if (table.nextAtom == 0) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  auto c = std::make_shared<WindowClass>();
  c->name = wc.lpszClassName;
  c->atom = table.nextAtom++;
  c->style = wc.style;
  c->proc = wc.lpfnWndProc;
  c->classExtra = wc.cbClsExtra;
  c->windowExtra = wc.cbWndExtra;
  c->instance = wc.hInstance;
  c->icon = wc.hIcon;
  c->smallIcon = wc.hIconSm;
  c->cursor = wc.hCursor;
  c->background = wc.hbrBackground;
  c->menuName = IS_INTRESOURCE(wc.lpszMenuName) ? wc.lpszMenuName : nullptr;
  c->extra.assign(static_cast<std::size_t>(wc.cbClsExtra), 0);
  table.byName[key] = c;
  table.byAtom[c->atom] = c;
  return c->atom;
}

}  // namespace

std::shared_ptr<WindowClass> FindClassLocked(LPCWSTR nameOrAtom) {
  if (!nameOrAtom) return nullptr;
  ClassTable& table = Classes();
  if (IS_INTRESOURCE(nameOrAtom)) {
    const auto it = table.byAtom.find(static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(nameOrAtom)));
    return it == table.byAtom.end() ? nullptr : it->second;
  }
  const auto it = table.byName.find(FoldedName(nameOrAtom));
  return it == table.byName.end() ? nullptr : it->second;
}

}  // namespace zx::user

using namespace zx::user;

ATOM RegisterClassExW(const WNDCLASSEXW* windowClass) {
  if (!windowClass || windowClass->cbSize != sizeof(WNDCLASSEXW)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return Register(*windowClass);
}

ATOM RegisterClassW(const WNDCLASSW* windowClass) {
  if (!windowClass) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const WNDCLASSW& w = *windowClass;
  const WNDCLASSEXW ex{sizeof(WNDCLASSEXW), w.style,         w.lpfnWndProc,   w.cbClsExtra,
                       w.cbWndExtra,        w.hInstance,     w.hIcon,         w.hCursor,
                       w.hbrBackground,     w.lpszMenuName,  w.lpszClassName, nullptr};
  return Register(ex);
}

BOOL UnregisterClassW(LPCWSTR className, HINSTANCE) {
  std::lock_guard<std::mutex> guard(TableLock());
  const auto c = FindClassLocked(className);
  if (!c || c->atom == kDialogAtom) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  if (c->windows > 0) {
    SetLastError(ERROR_CLASS_HAS_WINDOWS);
    return FALSE;
  }
  auto& table = Classes();
  table.byName.erase(FoldedName(c->name));
  table.byAtom.erase(c->atom);
  return TRUE;
}

BOOL GetClassInfoExW(HINSTANCE, LPCWSTR className, WNDCLASSEXW* out) {
  std::lock_guard<std::mutex> guard(TableLock());
  const auto c = FindClassLocked(className);
  if (!c || !out) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  *out = WNDCLASSEXW{sizeof(WNDCLASSEXW), c->style,      c->proc,       c->classExtra,
                     c->windowExtra,      c->instance,   c->icon,       c->cursor,
                     c->background,       c->menuName,   className,     c->smallIcon};
  return c->atom;
}

BOOL GetClassInfoW(HINSTANCE instance, LPCWSTR className, WNDCLASSW* out) {
  WNDCLASSEXW ex;
  if (!out || !GetClassInfoExW(instance, className, &ex)) return FALSE;
  *out = WNDCLASSW{ex.style,   ex.lpfnWndProc,   ex.cbClsExtra,    ex.cbWndExtra,
                   ex.hInstance, ex.hIcon,       ex.hCursor,       ex.hbrBackground,
                   ex.lpszMenuName, ex.lpszClassName};
  return TRUE;
}

int GetClassNameW(HWND window, LPWSTR className, int capacity) {
  std::u16string name;
  {
    std::lock_guard<std::mutex> guard(TableLock());
    if (const Window* w = FindLocked(window)) name = w->windowClass->name;
  }
  if (name.empty() && !remote::QueryText(window, remote::Query::kClassName, &name)) return 0;
  return CopyOut(name, className, capacity);
}

ULONG_PTR GetClassLongPtrW(HWND window, int index) {
  std::lock_guard<std::mutex> guard(TableLock());
  const Window* w = FindLocked(window);
  if (!w) {
    BadWindow();
    return 0;
  }
  const WindowClass& c = *w->windowClass;
  switch (index) {
    case GCLP_HBRBACKGROUND: return reinterpret_cast<ULONG_PTR>(c.background);
    case GCLP_HCURSOR: return reinterpret_cast<ULONG_PTR>(c.cursor);
    case GCLP_HICON: return reinterpret_cast<ULONG_PTR>(c.icon);
    case GCLP_HICONSM: return reinterpret_cast<ULONG_PTR>(c.smallIcon);
    case GCLP_HMODULE: return reinterpret_cast<ULONG_PTR>(c.instance);
    case GCLP_MENUNAME: return reinterpret_cast<ULONG_PTR>(c.menuName);
    case GCL_CBWNDEXTRA: return static_cast<ULONG_PTR>(c.windowExtra);
    case GCL_CBCLSEXTRA: return static_cast<ULONG_PTR>(c.classExtra);
    case GCLP_WNDPROC: return reinterpret_cast<ULONG_PTR>(c.proc);
    case GCL_STYLE: return c.style;
    case GCW_ATOM: return c.atom;
    default: break;
  }
  if (index >= 0 && static_cast<std::size_t>(index) + sizeof(ULONG_PTR) <= c.extra.size()) {
    ULONG_PTR value;
    std::memcpy(&value, c.extra.data() + index, sizeof value);
    return value;
  }
  SetLastError(ERROR_INVALID_INDEX);
  return 0;
}
