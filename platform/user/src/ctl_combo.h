// What the drop-down list combo box shares with its dropped list: its state and the changes
// the list makes.
#pragma once
#include <string>
#include <vector>

#include "ctl_common.h"

namespace zx::user::ctl {

struct ComboItem {
  std::u16string text;
  ULONG_PTR data = 0;
};

struct ComboState {
  HFONT font = nullptr;
  std::vector<ComboItem> items;
  int selected = CB_ERR;
  bool dropped = false;
  bool focus = false;
  HWND list = nullptr;  // the dropped list while it is shown
  int fieldItemHeight = 0;  // heights of the selection field's item and of the list's items;
  int itemHeight = 0;       // 0: from the font
};

// The height of the list's items and of the whole selection field.
int ListItemHeight(HWND combo, const ComboState& state);
int FieldHeight(HWND combo, const ComboState& state);

// A selection the user made: CBN_SELCHANGE to the parent when it moved.
void UserSelect(HWND combo, ComboState& state, int index);
// Drops the list below the combo box (CBN_DROPDOWN) or closes it (CBN_CLOSEUP).
void ShowList(HWND combo, ComboState& state, bool show);

LRESULT CALLBACK ComboListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace zx::user::ctl
