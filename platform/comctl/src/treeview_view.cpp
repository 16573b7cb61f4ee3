// Tree view rows: the items shown through expanded parents, their parts (button, state
// image, image, label), hit tests, scrolling, painting, and the mouse and keys.
#include <algorithm>

#include "treeview.h"
#include "windraw.h"

namespace zx::comctl::treeview {
namespace {

constexpr int kLabelPadding = 3;

DWORD Style(const TreeView& tv) { return static_cast<DWORD>(GetWindowLongW(tv.window, GWL_STYLE)); }

void AddRows(const std::vector<Node*>& nodes, std::vector<Node*>& rows) {
  for (Node* node : nodes) {
    rows.push_back(node);
    if (IsExpanded(*node)) AddRows(node->children, rows);
  }
}

int ImageWidth(HIMAGELIST list) {
  int cx = 0, cy = 0;
  return list && ImageList_GetIconSize(list, &cx, &cy) ? cx : 0;
}
int ImageHeight(HIMAGELIST list) {
  int cx = 0, cy = 0;
  return list && ImageList_GetIconSize(list, &cx, &cy) ? cy : 0;
}

struct RowParts {
  RECT row;
  RECT button;
  RECT state;
  RECT icon;
  RECT label;
};

RowParts Parts(const TreeView& tv, const Node& node, int rowIndex) {
  RECT client{};
  GetClientRect(tv.window, &client);
  const int h = ItemHeight(tv);
  const int top = (rowIndex - tv.top) * h;
  const int lead = (Style(tv) & TVS_LINESATROOT) ? tv.indent : 0;
  int x = Depth(node) * tv.indent + lead;
  RowParts p{};
  p.row = RECT{0, top, client.right, top + h};
  p.button = RECT{x - tv.indent, top, x, top + h};
  const int stateWidth = tv.stateImages ? ImageWidth(tv.stateImages) : 0;
  p.state = RECT{x, top, x + stateWidth, top + h};
  x += stateWidth;
  const int iconWidth = ImageWidth(tv.normalImages);
  p.icon = RECT{x, top, x + iconWidth, top + h};
  x += iconWidth;
  p.label = RECT{x, top, x + TextWidth(tv.font, node.text) + 2 * kLabelPadding, top + h};
  return p;
}

bool Inside(const RECT& r, POINT pt) { return pt.x >= r.left && pt.x < r.right && pt.y >= r.top && pt.y < r.bottom; }

int RowOf(const std::vector<Node*>& rows, const Node* node) {
  const auto it = std::find(rows.begin(), rows.end(), node);
  return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
}

void Fill(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

// The expand button: a box with a minus, or a plus when collapsed.
void DrawButton(HDC dc, const RECT& area, bool expanded) {
  const int cx = (area.left + area.right) / 2;
  const int cy = (area.top + area.bottom) / 2;
  const RECT box{cx - 4, cy - 4, cx + 5, cy + 5};
  Fill(dc, box, GetSysColor(COLOR_BTNSHADOW));
  Fill(dc, RECT{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1}, GetSysColor(COLOR_WINDOW));
  Fill(dc, RECT{cx - 2, cy, cx + 3, cy + 1}, GetSysColor(COLOR_WINDOWTEXT));
  if (!expanded) Fill(dc, RECT{cx, cy - 2, cx + 1, cy + 3}, GetSysColor(COLOR_WINDOWTEXT));
}

bool HasNextSibling(const TreeView& tv, const Node& node) {
  const std::vector<Node*>& siblings = node.parent ? node.parent->children : tv.roots;
  return !siblings.empty() && siblings.back() != &node;
}

// Dotted lines, every other pixel, from (x, top) down to bottom or from left to right at y.
void DottedLine(HDC dc, int x0, int y0, int x1, int y1, COLORREF colour) {
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x)
      if (((x + y) & 1) == 0) SetPixelV(dc, x, y, colour);
}

// The lines of TVS_HASLINES: one from the item's button column to the item, down to the next
// sibling, and through the row for every ancestor that has siblings below it.
void DrawLines(const TreeView& tv, HDC dc, const Node& node, const RowParts& p) {
  const bool atRoot = (Style(tv) & TVS_LINESATROOT) != 0;
  if (!node.parent && !atRoot) return;
  const COLORREF colour = GetSysColor(COLOR_GRAYTEXT);
  const int mid = (p.row.top + p.row.bottom) / 2;
  const int x = (p.button.left + p.button.right) / 2;
  DottedLine(dc, x, mid, p.button.right - 1, mid, colour);
  const bool above = node.parent || tv.roots.front() != &node;
  DottedLine(dc, x, above ? p.row.top : mid, x, HasNextSibling(tv, node) ? p.row.bottom - 1 : mid, colour);
  int column = x;
  for (const Node* up = node.parent; up; up = up->parent) {
    column -= tv.indent;
    if ((up->parent || atRoot) && HasNextSibling(tv, *up)) DottedLine(dc, column, p.row.top, column, p.row.bottom - 1, colour);
  }
}

void DrawRow(TreeView& tv, HDC dc, const Node& node, int rowIndex) {
  const RowParts p = Parts(tv, node, rowIndex);
  const DWORD style = Style(tv);
  if (style & TVS_HASLINES) DrawLines(tv, dc, node, p);
  if ((style & TVS_HASBUTTONS) && HasChildren(node) && (node.parent || (style & TVS_LINESATROOT)))
    DrawButton(dc, p.button, IsExpanded(node));
  const UINT stateImage = (node.state & TVIS_STATEIMAGEMASK) >> 12;
  if (tv.stateImages && stateImage > 0)
    ImageList_Draw(tv.stateImages, static_cast<int>(stateImage) - 1, dc, p.state.left,
                   p.row.top + (p.row.bottom - p.row.top - ImageHeight(tv.stateImages)) / 2, ILD_NORMAL);
  if (tv.normalImages) {
    const int image = (node.state & TVIS_SELECTED) ? node.selectedImage : node.image;
    ImageList_Draw(tv.normalImages, image, dc, p.icon.left,
                   p.row.top + (p.row.bottom - p.row.top - ImageHeight(tv.normalImages)) / 2, ILD_NORMAL);
  }
  const bool selected = (node.state & TVIS_SELECTED) && (tv.focused || (style & TVS_SHOWSELALWAYS));
  const RECT band = (style & TVS_FULLROWSELECT) ? RECT{p.label.left, p.row.top, p.row.right, p.row.bottom} : p.label;
  if (selected) Fill(dc, band, GetSysColor(tv.focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
  const COLORREF normal = tv.textColour == CLR_NONE ? GetSysColor(COLOR_WINDOWTEXT) : tv.textColour;
  SetTextColor(dc, selected ? GetSysColor(tv.focused ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT) : normal);
  RECT text{p.label.left + kLabelPadding, p.label.top, p.label.right, p.label.bottom};
  DrawTextW(dc, node.text.c_str(), static_cast<int>(node.text.size()), &text,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (tv.focused && (node.state & TVIS_SELECTED)) DrawFocusRect(dc, &band);
}

}  // namespace

std::vector<Node*> VisibleRows(const TreeView& tv) {
  std::vector<Node*> rows;
  AddRows(tv.roots, rows);
  return rows;
}

int Depth(const Node& node) {
  int depth = 0;
  for (const Node* up = node.parent; up; up = up->parent) ++depth;
  return depth;
}

int ItemHeight(const TreeView& tv) {
  if (tv.itemHeight > 0) return tv.itemHeight;
  return std::max({LineHeight(tv.font) + 3, ImageHeight(tv.normalImages), ImageHeight(tv.stateImages)});
}

int VisibleCount(const TreeView& tv) {
  RECT client{};
  GetClientRect(tv.window, &client);
  return std::max(0, static_cast<int>(client.bottom) / ItemHeight(tv));
}

BOOL GetItemRect(const TreeView& tv, BOOL textOnly, RECT* rect) {
  if (!rect) return FALSE;
  const Node* node = Find(tv, *reinterpret_cast<HTREEITEM*>(rect));
  if (!node) return FALSE;
  const int row = RowOf(VisibleRows(tv), node);
  if (row < 0) return FALSE;
  const RowParts p = Parts(tv, *node, row);
  *rect = textOnly ? p.label : p.row;
  return TRUE;
}

HTREEITEM HitTest(const TreeView& tv, TVHITTESTINFO* info) {
  if (!info) return nullptr;
  RECT client{};
  GetClientRect(tv.window, &client);
  const POINT pt = info->pt;
  info->hItem = nullptr;
  info->flags = 0;
  if (pt.y < 0) info->flags |= TVHT_ABOVE;
  if (pt.y >= client.bottom) info->flags |= TVHT_BELOW;
  if (pt.x < 0) info->flags |= TVHT_TOLEFT;
  if (pt.x >= client.right) info->flags |= TVHT_TORIGHT;
  if (info->flags) return nullptr;
  const std::vector<Node*> rows = VisibleRows(tv);
  const int row = tv.top + pt.y / ItemHeight(tv);
  if (row >= static_cast<int>(rows.size())) {
    info->flags = TVHT_NOWHERE;
    return nullptr;
  }
  const Node& node = *rows[static_cast<std::size_t>(row)];
  const RowParts p = Parts(tv, node, row);
  if (pt.x < p.state.left)
    info->flags = Inside(p.button, pt) && HasChildren(node) && (Style(tv) & TVS_HASBUTTONS) ? TVHT_ONITEMBUTTON
                                                                                           : TVHT_ONITEMINDENT;
  else if (Inside(p.state, pt))
    info->flags = TVHT_ONITEMSTATEICON;
  else if (Inside(p.icon, pt))
    info->flags = TVHT_ONITEMICON;
  else if (Inside(p.label, pt))
    info->flags = TVHT_ONITEMLABEL;
  else
    info->flags = TVHT_ONITEMRIGHT;
  info->hItem = node.handle;
  return node.handle;
}

void ScrollTo(TreeView& tv, int top) {
  const int rows = static_cast<int>(VisibleRows(tv).size());
  top = std::clamp(top, 0, std::max(0, rows - std::max(1, VisibleCount(tv))));
  if (top == tv.top) return;
  tv.top = top;
  InvalidateRect(tv.window, nullptr, TRUE);
}

BOOL EnsureVisible(TreeView& tv, HTREEITEM handle) {
  Node* node = Find(tv, handle);
  if (!node) return FALSE;
  for (Node* up = node->parent; up; up = up->parent)
    if (!IsExpanded(*up)) Expand(tv, TVE_EXPAND, up->handle);
  if (!(node = Find(tv, handle))) return FALSE;
  const int row = RowOf(VisibleRows(tv), node);
  const int page = std::max(1, VisibleCount(tv));
  if (row < tv.top) ScrollTo(tv, row);
  else if (row >= tv.top + page) ScrollTo(tv, row - page + 1);
  return TRUE;
}

void Paint(TreeView& tv) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(tv.window, &ps);
  if (!dc) return;
  RECT client{};
  GetClientRect(tv.window, &client);
  Fill(dc, client, tv.background == CLR_NONE ? GetSysColor(COLOR_WINDOW) : tv.background);
  HGDIOBJ oldFont = SelectObject(dc, tv.font ? tv.font : DefaultFont());
  SetBkMode(dc, TRANSPARENT);
  const std::vector<Node*> rows = VisibleRows(tv);
  const int h = ItemHeight(tv);
  for (int r = tv.top; r < static_cast<int>(rows.size()) && (r - tv.top) * h < client.bottom; ++r)
    DrawRow(tv, dc, *rows[static_cast<std::size_t>(r)], r);
  SelectObject(dc, oldFont);
  EndPaint(tv.window, &ps);
}

void OnButtonDown(TreeView& tv, POINT pt, bool doubleClick) {
  if (GetFocus() != tv.window) SetFocus(tv.window);
  TVHITTESTINFO hit{};
  hit.pt = pt;
  const HTREEITEM item = HitTest(tv, &hit);
  if (item) {
    if (hit.flags & TVHT_ONITEMBUTTON) {
      Expand(tv, TVE_TOGGLE, item);
    } else if ((hit.flags & TVHT_ONITEMSTATEICON) && (Style(tv) & TVS_CHECKBOXES)) {
      if (Node* node = Find(tv, item)) ToggleStateImage(tv, node);
    } else if ((hit.flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL)) || (Style(tv) & TVS_FULLROWSELECT)) {
      Select(tv, TVGN_CARET, item, TVC_BYMOUSE);
      if (doubleClick) Expand(tv, TVE_TOGGLE, item);
    }
  }
  NMHDR nm{};
  Notify(tv.window, doubleClick ? NM_DBLCLK : NM_CLICK, &nm);
}

void OnKeyDown(TreeView& tv, WPARAM key) {
  NMTVKEYDOWN nm{};
  nm.wVKey = static_cast<WORD>(key);
  Notify(tv.window, TVN_KEYDOWN, &nm.hdr);
  Node* node = tv.selected;
  const std::vector<Node*> rows = VisibleRows(tv);
  if (rows.empty()) return;
  if (!node) {
    Select(tv, TVGN_CARET, rows.front()->handle, TVC_BYKEYBOARD);
    return;
  }
  const int row = RowOf(rows, node);
  Node* target = nullptr;
  switch (key) {
    case VK_SPACE:
      if (Style(tv) & TVS_CHECKBOXES) ToggleStateImage(tv, node);
      return;
    case VK_UP: target = row > 0 ? rows[static_cast<std::size_t>(row - 1)] : nullptr; break;
    case VK_DOWN: target = row + 1 < static_cast<int>(rows.size()) ? rows[static_cast<std::size_t>(row + 1)] : nullptr; break;
    case VK_HOME: target = rows.front(); break;
    case VK_END: target = rows.back(); break;
    case VK_LEFT:
      if (IsExpanded(*node) && HasChildren(*node)) Expand(tv, TVE_COLLAPSE, node->handle);
      else target = node->parent;
      break;
    case VK_RIGHT:
      if (!IsExpanded(*node)) Expand(tv, TVE_EXPAND, node->handle);
      else if (!node->children.empty()) target = node->children.front();
      break;
    default: break;
  }
  if (target) Select(tv, TVGN_CARET, target->handle, TVC_BYKEYBOARD);
}

}  // namespace zx::comctl::treeview
