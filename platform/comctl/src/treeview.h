// The state of a tree view ("SysTreeView32") and the operations its window procedure is made
// of: items and their states, expansion and selection with their notifications
// (treeview_items.cpp), and rows, hit tests, painting and input (treeview_view.cpp).
#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "control.h"

namespace zx::comctl::treeview {

struct Node {
  HTREEITEM handle = nullptr;
  Node* parent = nullptr;  // null for top-level items
  std::vector<Node*> children;
  std::u16string text;
  UINT state = 0;
  int image = 0;
  int selectedImage = 0;
  int childrenFlag = 0;  // cChildren as given (1: show a button before children exist)
  LPARAM param = 0;
};

struct TreeView {
  HWND window = nullptr;
  // Handles are numbers never used again, so a stale handle finds nothing.
  std::map<ULONG_PTR, std::unique_ptr<Node>> nodes;
  ULONG_PTR nextHandle = 0x100;
  std::vector<Node*> roots;
  Node* selected = nullptr;
  HFONT font = nullptr;
  HIMAGELIST normalImages = nullptr;
  HIMAGELIST stateImages = nullptr;
  HIMAGELIST ownCheckImages = nullptr;
  int indent = 19;
  int itemHeight = 0;  // 0: from the font and images
  int top = 0;         // first visible row shown
  COLORREF background = CLR_NONE;
  COLORREF textColour = CLR_NONE;
  bool focused = false;
};

// Items.
Node* Find(const TreeView& tv, HTREEITEM handle);
std::vector<Node*>& Siblings(TreeView& tv, Node* node);
HTREEITEM Insert(TreeView& tv, const TVINSERTSTRUCTW* insert);
BOOL Delete(TreeView& tv, HTREEITEM handle);
HTREEITEM Next(const TreeView& tv, UINT code, HTREEITEM handle);
BOOL GetItem(const TreeView& tv, TVITEMW* item);
BOOL SetItem(TreeView& tv, const TVITEMW* item);
// Changes an item's state bits (mask), with TVN_ITEMCHANGING first (refusable) and
// TVN_ITEMCHANGED after.
bool ChangeState(TreeView& tv, Node* node, UINT state, UINT mask);
BOOL Expand(TreeView& tv, UINT code, HTREEITEM handle);
BOOL Select(TreeView& tv, UINT code, HTREEITEM handle, UINT action);
bool HasChildren(const Node& node);
bool IsExpanded(const Node& node);
// The state image shown after the next click: one more, back to 1 past the last image.
void ToggleStateImage(TreeView& tv, Node* node);

// Rows and geometry: the items shown, top to bottom, through expanded parents.
std::vector<Node*> VisibleRows(const TreeView& tv);
int Depth(const Node& node);
int ItemHeight(const TreeView& tv);
int VisibleCount(const TreeView& tv);
BOOL GetItemRect(const TreeView& tv, BOOL textOnly, RECT* rect);
HTREEITEM HitTest(const TreeView& tv, TVHITTESTINFO* info);
void ScrollTo(TreeView& tv, int top);
BOOL EnsureVisible(TreeView& tv, HTREEITEM handle);
void Paint(TreeView& tv);
void OnButtonDown(TreeView& tv, POINT pt, bool doubleClick);
void OnKeyDown(TreeView& tv, WPARAM key);

}  // namespace zx::comctl::treeview
