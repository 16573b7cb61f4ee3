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
};

// A selection the user made: CBN_SELCHANGE to the parent when it moved.
void UserSelect(HWND combo, ComboState& state, int index);
// Drops the list below the combo box (CBN_DROPDOWN) or closes it (CBN_CLOSEUP).
void ShowList(HWND combo, ComboState& state, bool show);

LRESULT CALLBACK ComboListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace zx::user::ctl
