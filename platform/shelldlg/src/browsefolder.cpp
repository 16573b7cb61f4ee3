// SHBrowseForFolderW: the modal folder dialog. The tree starts at C:\ (or the given root);
// an item's children are listed when it is expanded or a selection walks through it; each
// item's lParam indexes its path. The callback hears BFFM_INITIALIZED first, then each
// selection.
#include <algorithm>
#include <string>
#include <vector>

#include "browsetemplate.h"
#include "commctrl.h"
#include "fileapi.h"
#include "shlobj_browse.h"
#include "windlg.h"

namespace zx::shelldlg {
namespace {

struct Browse {
  LPBROWSEINFOW info = nullptr;
  HWND tree = nullptr;
  std::vector<std::u16string> paths;  // by item lParam
  std::vector<bool> listed;           // children inserted
  std::u16string chosen;
  bool ready = false;  // BFFM_INITIALIZED told: selections are told from then on
};

char16_t Folded(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

bool SamePath(const std::u16string& a, const std::u16string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return Folded(x) == Folded(y); });
}

std::u16string WithSlash(std::u16string path) {
  if (!path.empty() && path.back() != u'\\') path += u'\\';
  return path;
}

std::u16string LastName(const std::u16string& path) {
  std::u16string trimmed = path;
  while (trimmed.size() > 3 && trimmed.back() == u'\\') trimmed.pop_back();
  const std::size_t slash = trimmed.find_last_of(u'\\');
  return slash == std::u16string::npos || trimmed.size() <= 3 ? trimmed : trimmed.substr(slash + 1);
}

std::vector<std::u16string> Subfolders(const std::u16string& folder) {
  std::vector<std::u16string> names;
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW((WithSlash(folder) + u"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::u16string name = found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != u"." && name != u"..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end(), [](const std::u16string& a, const std::u16string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char16_t x, char16_t y) { return Folded(x) < Folded(y); });
  });
  return names;
}

HTREEITEM Insert(Browse& b, HTREEITEM parent, const std::u16string& path, const std::u16string& label) {
  b.paths.push_back(path);
  b.listed.push_back(false);
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM;
  insert.item.pszText = const_cast<LPWSTR>(label.c_str());
  insert.item.lParam = static_cast<LPARAM>(b.paths.size() - 1);
  return reinterpret_cast<HTREEITEM>(SendMessageW(b.tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

LPARAM IndexOf(const Browse& b, HTREEITEM item) {
  TVITEMW tv{};
  tv.mask = TVIF_PARAM;
  tv.hItem = item;
  if (!item || !SendMessageW(b.tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) return -1;
  return tv.lParam >= 0 && static_cast<std::size_t>(tv.lParam) < b.paths.size() ? tv.lParam : -1;
}

HTREEITEM Next(const Browse& b, UINT relation, HTREEITEM item) {
  return reinterpret_cast<HTREEITEM>(SendMessageW(b.tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

void ListChildren(Browse& b, HTREEITEM item) {
  const LPARAM index = IndexOf(b, item);
  if (index < 0 || b.listed[static_cast<std::size_t>(index)]) return;
  b.listed[static_cast<std::size_t>(index)] = true;
  const std::u16string folder = WithSlash(b.paths[static_cast<std::size_t>(index)]);
  for (const std::u16string& name : Subfolders(folder)) Insert(b, item, folder + name, name);
}

// Selects the folder's item, listing and expanding the items on the way; false when the
// folder is not in the tree.
bool SelectPath(Browse& b, const std::u16string& path) {
  const std::u16string wanted = WithSlash(path);
  HTREEITEM item = Next(b, TVGN_ROOT, nullptr);
  for (;;) {
    const LPARAM index = IndexOf(b, item);
    if (index < 0) return false;
    const std::u16string here = WithSlash(b.paths[static_cast<std::size_t>(index)]);
    if (SamePath(here, wanted)) break;
    if (wanted.size() <= here.size() || !SamePath(wanted.substr(0, here.size()), here)) return false;
    ListChildren(b, item);
    SendMessageW(b.tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    HTREEITEM child = Next(b, TVGN_CHILD, item);
    for (; child; child = Next(b, TVGN_NEXT, child)) {
      const LPARAM c = IndexOf(b, child);
      const std::u16string candidate = WithSlash(b.paths[static_cast<std::size_t>(c)]);
      if (wanted.size() >= candidate.size() && SamePath(wanted.substr(0, candidate.size()), candidate)) break;
    }
    if (!child) return false;
    item = child;
  }
  SendMessageW(b.tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  SendMessageW(b.tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
  return true;
}

void Tell(Browse& b, HWND dialog, UINT message, LPARAM lParam) {
  if (b.info->lpfn) b.info->lpfn(dialog, message, lParam, b.info->lParam);
}

void OnSelection(Browse& b, HWND dialog, HTREEITEM item) {
  const LPARAM index = IndexOf(b, item);
  if (index < 0 || !b.ready) return;
  PIDLIST_ABSOLUTE list = ILCreateFromPathW(b.paths[static_cast<std::size_t>(index)].c_str());
  Tell(b, dialog, BFFM_SELCHANGED, reinterpret_cast<LPARAM>(list));
  ILFree(list);
}

std::u16string RootPath(const BROWSEINFOW& info) {
  WCHAR root[MAX_PATH] = {};
  if (info.pidlRoot && SHGetPathFromIDListW(info.pidlRoot, root)) return root;
  return u"C:\\";
}

INT_PTR CALLBACK BrowseProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* b = reinterpret_cast<Browse*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (message == WM_INITDIALOG) {
    b = reinterpret_cast<Browse*>(lParam);
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    b->tree = GetDlgItem(dialog, kTreeId);
    if (b->info->lpszTitle) SetDlgItemTextW(dialog, kTitleId, b->info->lpszTitle);
    const std::u16string root = RootPath(*b->info);
    const HTREEITEM top = Insert(*b, TVI_ROOT, root, root.size() <= 3 ? root : LastName(root));
    ListChildren(*b, top);
    SendMessageW(b->tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(top));
    SendMessageW(b->tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(top));
    Tell(*b, dialog, BFFM_INITIALIZED, 0);
    // The selection the dialog opens with (the callback's, or the root) is told next.
    b->ready = true;
    OnSelection(*b, dialog, Next(*b, TVGN_CARET, nullptr));
    return TRUE;
  }
  if (!b) return FALSE;
  switch (message) {
    case WM_NOTIFY: {
      const auto* tv = reinterpret_cast<const NMTREEVIEWW*>(lParam);
      if (tv->hdr.code == TVN_ITEMEXPANDINGW) ListChildren(*b, tv->itemNew.hItem);
      if (tv->hdr.code == TVN_SELCHANGEDW) OnSelection(*b, dialog, tv->itemNew.hItem);
      return FALSE;
    }
    case BFFM_SETSELECTIONW: {
      WCHAR path[MAX_PATH] = {};
      const bool found = wParam ? lParam && SelectPath(*b, reinterpret_cast<LPCWSTR>(lParam))
                                : SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam), path) &&
                                      SelectPath(*b, path);
      SetWindowLongPtrW(dialog, DWLP_MSGRESULT, found);
      return TRUE;
    }
    case BFFM_SETSTATUSTEXTW:
      SetDlgItemTextW(dialog, kStatusId, reinterpret_cast<LPCWSTR>(lParam));
      return TRUE;
    case BFFM_ENABLEOK:
      EnableWindow(GetDlgItem(dialog, IDOK), lParam != 0);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        const LPARAM index = IndexOf(*b, Next(*b, TVGN_CARET, nullptr));
        if (index < 0) return TRUE;
        b->chosen = b->paths[static_cast<std::size_t>(index)];
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace
}  // namespace zx::shelldlg

using namespace zx::shelldlg;

PIDLIST_ABSOLUTE SHBrowseForFolderW(LPBROWSEINFOW info) {
  if (!info) return nullptr;
  InitCommonControls();
  const std::vector<WORD> dialog = BrowseTemplate((info->ulFlags & BIF_STATUSTEXT) != 0);
  Browse b;
  b.info = info;
  const INT_PTR answer = DialogBoxIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(dialog.data()),
                                                 info->hwndOwner, BrowseProc, reinterpret_cast<LPARAM>(&b));
  if (answer != IDOK || b.chosen.empty()) return nullptr;
  if (info->pszDisplayName) {
    const std::u16string name = LastName(b.chosen).substr(0, MAX_PATH - 1);
    std::copy(name.begin(), name.end(), info->pszDisplayName);
    info->pszDisplayName[name.size()] = 0;
  }
  return ILCreateFromPathW(b.chosen.c_str());
}
