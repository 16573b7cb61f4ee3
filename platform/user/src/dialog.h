// What the dialog manager keeps with each dialog window (in the dialog class's extra bytes,
// after the DWLP_* slots) and the fonts its templates name.
#pragma once
#include <string>

#include "errhandlingapi.h"
#include "windlg.h"
#include "wingdi.h"

namespace zx::user {

constexpr int kDialogEndedSlot = DWLP_USER + 8;    // nonzero once EndDialog ran
constexpr int kDialogResultSlot = DWLP_USER + 16;  // EndDialog's result
// MAKELONG(base x, base y) of its font in the low 32 bits, the default id in the high ones.
constexpr int kDialogUnitsSlot = DWLP_USER + 24;

// The base units of a dialog of this manager (0 for any other window), and its default id
// (0 when none).
LONG DialogUnitsOf(HWND dialog);
int DialogDefaultId(HWND dialog);
void SetDialogDefaultId(HWND dialog, int id);

struct DialogFont {
  HFONT font = nullptr;  // kept for the life of the process, shared by every dialog using it
  LONG baseUnits = 0;    // MAKELONG(x, y)
};

// The font of the given face, size in points, weight and italic flag, with its base units:
// x is the average width of the 52 letters (rounded), y the text height.
DialogFont DialogFontOf(const std::u16string& face, int points, int weight, bool italic);
// The font of dialogs whose template names none.
DialogFont DefaultDialogFont();

// The control that had the focus when the dialog was last deactivated, saved and given the
// focus back when it is activated again (false when there is none to give it to).
void SaveDialogFocus(HWND dialog);
bool RestoreDialogFocus(HWND dialog);

// A rectangle in dialog units to pixels for the base units MAKELONG(x, y).
RECT DialogUnitsToPixels(LONG baseUnits, const RECT& units);

}  // namespace zx::user
