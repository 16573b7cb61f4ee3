// The window procedure of the tree view "SysTreeView32": creation with its check-box state
// images (TVS_CHECKBOXES), fonts, focus, and the TVM_ messages.
#include <algorithm>

#include "treeview.h"

namespace zx::comctl::treeview {
namespace {

void Create(TreeView& tv) {
  if (GetWindowLongW(tv.window, GWL_STYLE) & TVS_CHECKBOXES) {
    tv.ownCheckImages = CreateCheckBoxImages();
    tv.stateImages = tv.ownCheckImages;
  }
}

void SetFocusState(TreeView& tv, bool focused) {
  tv.focused = focused;
  InvalidateRect(tv.window, nullptr, TRUE);
  NMHDR nm{};
  Notify(tv.window, focused ? NM_SETFOCUS : NM_KILLFOCUS, &nm);
}

HIMAGELIST SetImageList(TreeView& tv, WPARAM which, HIMAGELIST list) {
  HIMAGELIST* slot = which == TVSIL_NORMAL ? &tv.normalImages : which == TVSIL_STATE ? &tv.stateImages : nullptr;
  if (!slot) return nullptr;
  HIMAGELIST old = *slot;
  *slot = list;
  InvalidateRect(tv.window, nullptr, TRUE);
  return old;
}

LRESULT Handle(HTREEITEM item) { return reinterpret_cast<LRESULT>(item); }

LRESULT TreeMessage(TreeView& tv, UINT message, WPARAM wParam, LPARAM lParam) {
  auto item = reinterpret_cast<HTREEITEM>(lParam);
  switch (message) {
    case TVM_INSERTITEMW: return Handle(Insert(tv, reinterpret_cast<const TVINSERTSTRUCTW*>(lParam)));
    case TVM_DELETEITEM: return Delete(tv, item);
    case TVM_GETNEXTITEM: return Handle(Next(tv, static_cast<UINT>(wParam), item));
    case TVM_GETITEMW: return GetItem(tv, reinterpret_cast<TVITEMW*>(lParam));
    case TVM_SETITEMW: return SetItem(tv, reinterpret_cast<const TVITEMW*>(lParam));
    case TVM_GETITEMSTATE: {
      const Node* node = Find(tv, reinterpret_cast<HTREEITEM>(wParam));
      return node ? static_cast<LRESULT>(node->state & static_cast<UINT>(lParam)) : 0;
    }
    case TVM_EXPAND: return Expand(tv, static_cast<UINT>(wParam), item);
    case TVM_SELECTITEM: return Select(tv, static_cast<UINT>(wParam), item, TVC_UNKNOWN);
    case TVM_HITTEST: return Handle(HitTest(tv, reinterpret_cast<TVHITTESTINFO*>(lParam)));
    case TVM_GETITEMRECT: return GetItemRect(tv, static_cast<BOOL>(wParam), reinterpret_cast<RECT*>(lParam));
    case TVM_GETCOUNT: return static_cast<LRESULT>(tv.nodes.size());
    case TVM_GETINDENT: return tv.indent;
    case TVM_SETINDENT:
      tv.indent = std::max(0, std::min(static_cast<int>(wParam), 1000));
      InvalidateRect(tv.window, nullptr, TRUE);
      return 0;
    case TVM_SETIMAGELIST: return reinterpret_cast<LRESULT>(SetImageList(tv, wParam, reinterpret_cast<HIMAGELIST>(lParam)));
    case TVM_GETIMAGELIST:
      return reinterpret_cast<LRESULT>(wParam == TVSIL_NORMAL ? tv.normalImages
                                       : wParam == TVSIL_STATE ? tv.stateImages
                                                               : nullptr);
    case TVM_GETVISIBLECOUNT: return VisibleCount(tv);
    case TVM_ENSUREVISIBLE: return EnsureVisible(tv, item);
    case TVM_SETITEMHEIGHT: {
      const int old = ItemHeight(tv);
      const int height = static_cast<int>(static_cast<SHORT>(LOWORD(wParam)));
      tv.itemHeight = height == -1 ? 0 : std::max(1, std::min(height, 4096));
      InvalidateRect(tv.window, nullptr, TRUE);
      return old;
    }
    case TVM_GETITEMHEIGHT: return ItemHeight(tv);
    case TVM_SETBKCOLOR: {
      const COLORREF old = tv.background;
      tv.background = static_cast<COLORREF>(lParam);
      InvalidateRect(tv.window, nullptr, TRUE);
      return static_cast<LRESULT>(old == CLR_NONE ? static_cast<COLORREF>(-1) : old);
    }
    case TVM_GETBKCOLOR: return static_cast<LRESULT>(tv.background == CLR_NONE ? static_cast<COLORREF>(-1) : tv.background);
    case TVM_SETTEXTCOLOR: {
      const COLORREF old = tv.textColour;
      tv.textColour = static_cast<COLORREF>(lParam);
      InvalidateRect(tv.window, nullptr, TRUE);
      return static_cast<LRESULT>(old == CLR_NONE ? static_cast<COLORREF>(-1) : old);
    }
    case TVM_GETTEXTCOLOR: return static_cast<LRESULT>(tv.textColour == CLR_NONE ? static_cast<COLORREF>(-1) : tv.textColour);
    default: return DefWindowProcW(tv.window, message, wParam, lParam);
  }
}

LRESULT CALLBACK TreeViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  TreeView* tv = StateOf<TreeView>(window);
  if (message == WM_NCCREATE) {
    auto* state = new TreeView;
    state->window = window;
    AttachState(window, state);
    return DefWindowProcW(window, message, wParam, lParam);
  }
  if (!tv) return DefWindowProcW(window, message, wParam, lParam);
  const POINT pt{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
  switch (message) {
    case WM_CREATE:
      Create(*tv);
      return 0;
    case WM_DESTROY:
      Delete(*tv, TVI_ROOT);
      if (tv->ownCheckImages) ImageList_Destroy(tv->ownCheckImages);
      tv->ownCheckImages = nullptr;
      return 0;
    case WM_NCDESTROY:
      AttachState<TreeView>(window, nullptr);
      delete tv;
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_PAINT:
      Paint(*tv);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETFONT:
      tv->font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) InvalidateRect(window, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(tv->font);
    case WM_SIZE:
      ScrollTo(*tv, tv->top);
      return 0;
    case WM_SETFOCUS:
      SetFocusState(*tv, true);
      return 0;
    case WM_KILLFOCUS:
      SetFocusState(*tv, false);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnButtonDown(*tv, pt, message == WM_LBUTTONDBLCLK);
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(*tv, wParam);
      return 0;
    case WM_VSCROLL: {
      const int page = std::max(1, VisibleCount(*tv));
      switch (LOWORD(wParam)) {
        case SB_LINEUP: ScrollTo(*tv, tv->top - 1); break;
        case SB_LINEDOWN: ScrollTo(*tv, tv->top + 1); break;
        case SB_PAGEUP: ScrollTo(*tv, tv->top - page); break;
        case SB_PAGEDOWN: ScrollTo(*tv, tv->top + page); break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: ScrollTo(*tv, static_cast<SHORT>(HIWORD(wParam))); break;
        case SB_TOP: ScrollTo(*tv, 0); break;
        case SB_BOTTOM: ScrollTo(*tv, static_cast<int>(tv->nodes.size())); break;
        default: break;
      }
      return 0;
    }
    case WM_MOUSEWHEEL:
      ScrollTo(*tv, tv->top - 3 * (static_cast<SHORT>(HIWORD(wParam)) / WHEEL_DELTA));
      return 0;
    default:
      return TreeMessage(*tv, message, wParam, lParam);
  }
}

}  // namespace
}  // namespace zx::comctl::treeview

namespace zx::comctl {
bool RegisterTreeViewClass() {
  return RegisterControlClass(WC_TREEVIEWW, treeview::TreeViewProc, CS_DBLCLKS);
}
}  // namespace zx::comctl
