// Tree view items: insertion in order or sorted, deletion with TVN_DELETEITEM, the
// relatives of an item, texts, data and states, expansion (TVN_ITEMEXPANDING/ED) and
// selection (TVN_SELCHANGING/ED).
#include <algorithm>

#include "treeview.h"
#include "zx/casefold.h"

namespace zx::comctl::treeview {
namespace {

LRESULT SendTreeNotify(TreeView& tv, UINT code, UINT action, Node* oldNode, Node* newNode) {
  NMTREEVIEWW nm{};
  nm.action = action;
  auto fill = [](TVITEMW& item, Node* node) {
    if (!node) return;
    item.mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM;
    item.hItem = node->handle;
    item.state = node->state;
    item.lParam = node->param;
  };
  fill(nm.itemOld, oldNode);
  fill(nm.itemNew, newNode);
  return Notify(tv.window, code, &nm.hdr);
}

std::u16string Folded(const std::u16string& text) {
  std::u16string out = text;
  zx::MakeUpper(out.data(), out.size());
  return out;
}

void Forget(TreeView& tv, Node* node) {
  for (Node* child : node->children) Forget(tv, child);
  SendTreeNotify(tv, TVN_DELETEITEMW, 0, node, nullptr);
  if (tv.selected == node) tv.selected = nullptr;
  tv.nodes.erase(reinterpret_cast<ULONG_PTR>(node->handle));
}

bool TakeText(const TVITEMW& item, std::u16string& out) {
  out.clear();
  if (!item.pszText || item.pszText == LPSTR_TEXTCALLBACKW) return true;
  return ReadText(item.pszText, out);
}

}  // namespace

Node* Find(const TreeView& tv, HTREEITEM handle) {
  const auto it = tv.nodes.find(reinterpret_cast<ULONG_PTR>(handle));
  return it == tv.nodes.end() ? nullptr : it->second.get();
}

std::vector<Node*>& Siblings(TreeView& tv, Node* node) { return node->parent ? node->parent->children : tv.roots; }

bool HasChildren(const Node& node) { return !node.children.empty() || node.childrenFlag > 0; }
bool IsExpanded(const Node& node) { return (node.state & TVIS_EXPANDED) != 0; }

HTREEITEM Insert(TreeView& tv, const TVINSERTSTRUCTW* insert) {
  if (!insert) return nullptr;
  Node* parent = nullptr;
  if (insert->hParent && insert->hParent != TVI_ROOT && !(parent = Find(tv, insert->hParent))) return nullptr;
  const TVITEMW& item = insert->item;
  auto node = std::make_unique<Node>();
  if ((item.mask & TVIF_TEXT) && !TakeText(item, node->text)) return nullptr;
  if (item.mask & TVIF_IMAGE) node->image = item.iImage;
  if (item.mask & TVIF_SELECTEDIMAGE) node->selectedImage = item.iSelectedImage;
  if (item.mask & TVIF_CHILDREN) node->childrenFlag = item.cChildren;
  if (item.mask & TVIF_PARAM) node->param = item.lParam;
  if (item.mask & TVIF_STATE) node->state = item.state & item.stateMask & ~TVIS_SELECTED;
  if ((GetWindowLongW(tv.window, GWL_STYLE) & TVS_CHECKBOXES) && !(node->state & TVIS_STATEIMAGEMASK))
    node->state |= INDEXTOSTATEIMAGEMASK(1);
  node->parent = parent;
  std::vector<Node*>& siblings = parent ? parent->children : tv.roots;
  auto at = siblings.end();
  if (insert->hInsertAfter == TVI_FIRST) {
    at = siblings.begin();
  } else if (insert->hInsertAfter == TVI_SORT) {
    const std::u16string key = Folded(node->text);
    at = std::find_if(siblings.begin(), siblings.end(), [&](Node* n) { return Folded(n->text) > key; });
  } else if (insert->hInsertAfter != TVI_LAST) {
    const auto after = std::find(siblings.begin(), siblings.end(), Find(tv, insert->hInsertAfter));
    if (after != siblings.end()) at = after + 1;
  }
  const ULONG_PTR id = tv.nextHandle++;
  node->handle = reinterpret_cast<HTREEITEM>(id);
  Node* raw = node.get();
  tv.nodes[id] = std::move(node);
  siblings.insert(at, raw);
  InvalidateRect(tv.window, nullptr, TRUE);
  return raw->handle;
}

BOOL Delete(TreeView& tv, HTREEITEM handle) {
  if (!handle || handle == TVI_ROOT) {
    const std::vector<Node*> roots = tv.roots;
    tv.roots.clear();
    for (Node* root : roots) Forget(tv, root);
    tv.top = 0;
    InvalidateRect(tv.window, nullptr, TRUE);
    return TRUE;
  }
  Node* node = Find(tv, handle);
  if (!node) return FALSE;
  std::vector<Node*>& siblings = Siblings(tv, node);
  siblings.erase(std::remove(siblings.begin(), siblings.end(), node), siblings.end());
  Forget(tv, node);
  ScrollTo(tv, tv.top);
  InvalidateRect(tv.window, nullptr, TRUE);
  return TRUE;
}

HTREEITEM Next(const TreeView& tv, UINT code, HTREEITEM handle) {
  Node* node = Find(tv, handle);
  auto& self = const_cast<TreeView&>(tv);
  switch (code) {
    case TVGN_ROOT:
      return tv.roots.empty() ? nullptr : tv.roots.front()->handle;
    case TVGN_CARET:
      return tv.selected ? tv.selected->handle : nullptr;
    case TVGN_CHILD: {
      if (!handle || handle == TVI_ROOT) return tv.roots.empty() ? nullptr : tv.roots.front()->handle;
      return node && !node->children.empty() ? node->children.front()->handle : nullptr;
    }
    case TVGN_PARENT:
      return node && node->parent ? node->parent->handle : nullptr;
    case TVGN_NEXT:
    case TVGN_PREVIOUS: {
      if (!node) return nullptr;
      const std::vector<Node*>& siblings = Siblings(self, node);
      const auto it = std::find(siblings.begin(), siblings.end(), node);
      if (code == TVGN_NEXT) return it + 1 < siblings.end() ? (*(it + 1))->handle : nullptr;
      return it != siblings.begin() ? (*(it - 1))->handle : nullptr;
    }
    case TVGN_FIRSTVISIBLE:
    case TVGN_LASTVISIBLE:
    case TVGN_NEXTVISIBLE:
    case TVGN_PREVIOUSVISIBLE: {
      const std::vector<Node*> rows = VisibleRows(tv);
      if (rows.empty()) return nullptr;
      if (code == TVGN_FIRSTVISIBLE) return tv.top < static_cast<int>(rows.size()) ? rows[tv.top]->handle : nullptr;
      if (code == TVGN_LASTVISIBLE) return rows.back()->handle;
      const auto it = std::find(rows.begin(), rows.end(), node);
      if (it == rows.end()) return nullptr;
      if (code == TVGN_NEXTVISIBLE) return it + 1 < rows.end() ? (*(it + 1))->handle : nullptr;
      return it != rows.begin() ? (*(it - 1))->handle : nullptr;
    }
    default:
      return nullptr;
  }
}

BOOL GetItem(const TreeView& tv, TVITEMW* item) {
  if (!item) return FALSE;
  const Node* node = Find(tv, item->hItem);
  if (!node) return FALSE;
  if (item->mask & TVIF_TEXT) CopyText(node->text, item->pszText, item->cchTextMax);
  if (item->mask & TVIF_IMAGE) item->iImage = node->image;
  if (item->mask & TVIF_SELECTEDIMAGE) item->iSelectedImage = node->selectedImage;
  if (item->mask & TVIF_CHILDREN) item->cChildren = HasChildren(*node) ? 1 : 0;
  if (item->mask & TVIF_PARAM) item->lParam = node->param;
  if (item->mask & TVIF_STATE) item->state = node->state & item->stateMask;
  return TRUE;
}

BOOL SetItem(TreeView& tv, const TVITEMW* item) {
  if (!item) return FALSE;
  Node* node = Find(tv, item->hItem);
  if (!node) return FALSE;
  std::u16string text;
  if ((item->mask & TVIF_TEXT) && !TakeText(*item, text)) return FALSE;
  if (item->mask & TVIF_TEXT) node->text = std::move(text);
  if (item->mask & TVIF_IMAGE) node->image = item->iImage;
  if (item->mask & TVIF_SELECTEDIMAGE) node->selectedImage = item->iSelectedImage;
  if (item->mask & TVIF_CHILDREN) node->childrenFlag = item->cChildren;
  if (item->mask & TVIF_PARAM) node->param = item->lParam;
  InvalidateRect(tv.window, nullptr, TRUE);
  // Selection and expansion have their own ways; the other bits change here.
  if (item->mask & TVIF_STATE)
    return ChangeState(tv, node, item->state, item->stateMask & ~(TVIS_SELECTED | TVIS_EXPANDED)) ? TRUE : FALSE;
  return TRUE;
}

// Tells the parent that an item's selected state has changed.
void NotifySelectedState(TreeView& tv, const Node& node, UINT old) {
  NMTVITEMCHANGE nm{};
  nm.uChanged = TVIF_STATE;
  nm.hItem = node.handle;
  nm.uStateNew = node.state;
  nm.uStateOld = old;
  nm.lParam = node.param;
  Notify(tv.window, TVN_ITEMCHANGEDW, &nm.hdr);
}

bool ChangeState(TreeView& tv, Node* node, UINT state, UINT mask) {
  const UINT old = node->state;
  const UINT wanted = (old & ~mask) | (state & mask);
  if (wanted == old) return true;
  const HTREEITEM handle = node->handle;
  NMTVITEMCHANGE nm{};
  nm.uChanged = TVIF_STATE;
  nm.hItem = handle;
  nm.uStateNew = wanted;
  nm.uStateOld = old;
  nm.lParam = node->param;
  if (Notify(tv.window, TVN_ITEMCHANGINGW, &nm.hdr)) return false;
  node = Find(tv, handle);  // the handler may have deleted it
  if (!node) return false;
  node->state = wanted;
  InvalidateRect(tv.window, nullptr, TRUE);
  nm = NMTVITEMCHANGE{};
  nm.uChanged = TVIF_STATE;
  nm.hItem = handle;
  nm.uStateNew = wanted;
  nm.uStateOld = old;
  nm.lParam = node->param;
  Notify(tv.window, TVN_ITEMCHANGEDW, &nm.hdr);
  return true;
}

void ToggleStateImage(TreeView& tv, Node* node) {
  const int images = tv.stateImages ? ImageList_GetImageCount(tv.stateImages) : 2;
  const UINT index = (node->state & TVIS_STATEIMAGEMASK) >> 12;
  const UINT next = static_cast<int>(index) + 1 > images ? 1 : index + 1;
  ChangeState(tv, node, INDEXTOSTATEIMAGEMASK(next), TVIS_STATEIMAGEMASK);
}

BOOL Expand(TreeView& tv, UINT code, HTREEITEM handle) {
  Node* node = Find(tv, handle);
  if (!node) return FALSE;
  const UINT action = code & 0x3u;
  const bool expand = action == TVE_EXPAND || (action == TVE_TOGGLE && !IsExpanded(*node));
  if (action == 0 || expand == IsExpanded(*node) || !HasChildren(*node)) return FALSE;
  const UINT notifyAction = expand ? TVE_EXPAND : TVE_COLLAPSE;
  if (SendTreeNotify(tv, TVN_ITEMEXPANDINGW, notifyAction, nullptr, node)) return FALSE;
  if (!(node = Find(tv, handle))) return FALSE;
  node->state = expand ? node->state | TVIS_EXPANDED | TVIS_EXPANDEDONCE : node->state & ~TVIS_EXPANDED;
  // A collapsed branch gives up the selection to its parent.
  if (!expand && tv.selected)
    for (Node* up = tv.selected->parent; up; up = up->parent)
      if (up == node) {
        Select(tv, TVGN_CARET, node->handle, TVC_UNKNOWN);
        break;
      }
  ScrollTo(tv, tv.top);
  InvalidateRect(tv.window, nullptr, TRUE);
  if ((node = Find(tv, handle))) SendTreeNotify(tv, TVN_ITEMEXPANDEDW, notifyAction, nullptr, node);
  return TRUE;
}

BOOL Select(TreeView& tv, UINT code, HTREEITEM handle, UINT action) {
  Node* node = handle ? Find(tv, handle) : nullptr;
  if (handle && !node) return FALSE;
  if (code == TVGN_FIRSTVISIBLE) return node ? EnsureVisible(tv, handle) : FALSE;
  if (code == TVGN_DROPHILITE) return TRUE;
  if (code != TVGN_CARET) return FALSE;
  if (node == tv.selected) return TRUE;
  Node* old = tv.selected;
  if (SendTreeNotify(tv, TVN_SELCHANGINGW, action, old, node)) return FALSE;
  if (handle && !(node = Find(tv, handle))) return FALSE;
  if (old && Find(tv, old->handle)) old->state &= ~TVIS_SELECTED;
  else old = nullptr;
  tv.selected = node;
  if (node) node->state |= TVIS_SELECTED;
  InvalidateRect(tv.window, nullptr, TRUE);
  // Each item whose selected state changed is told as a state change too.
  // (A handler may delete items: both are looked up again after each.)
  const HTREEITEM oldHandle = old ? old->handle : nullptr;
  if (old) NotifySelectedState(tv, *old, old->state | TVIS_SELECTED);
  if (handle && (node = Find(tv, handle))) NotifySelectedState(tv, *node, node->state & ~TVIS_SELECTED);
  old = oldHandle ? Find(tv, oldHandle) : nullptr;
  if (handle && !(node = Find(tv, handle))) return FALSE;
  SendTreeNotify(tv, TVN_SELCHANGEDW, action, old, node);
  // Collapsed parents open (with their own notifications) to show the new selection.
  if (node && Find(tv, handle)) EnsureVisible(tv, handle);
  return TRUE;
}

}  // namespace zx::comctl::treeview
