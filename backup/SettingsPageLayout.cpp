// The settings pages' shared texts, button placement and reports.
#include "SettingsPageLayout.h"

#include "DlgBaseMessageBoxWndBase.h"
#include "DlgBaseShared.h"
#include "DlgButtonStyles.h"
#include "IniReader.h"
#include "PageLayout.h"

namespace {

constexpr int kButtonWidth = 120;
constexpr int kButtonHeight = 28;
constexpr int kButtonTop = 40;

}  // namespace

CString SettingsText(LPCTSTR id) { return GetLangString(id, _T("Tunevo")); }

void PlaceActionButton(CWnd& page, CHoverButtonWithText& button, UINT id, LPCTSTR section, LPCTSTR key,
                       int fromRight) {
  button.SubclassDlgItem(id, &page);
  CRect client;
  page.GetClientRect(&client);
  button.MoveWindow(client.right - fromRight, client.bottom - kButtonTop, kButtonWidth, kButtonHeight);
  ApplyDarkTextButtonStyle(button);
  button.SetWindowText(GetLangString(key, section));
}

void ReportSaved(CWnd* page, bool saved, LPCTSTR successText) {
  if (saved) {
    AppMessageBox(SettingsText(successText), MB_OK | MB_ICONINFORMATION, page);
  } else {
    AppMessageBox(SettingsText(_T("IDS_UNABLE_SAVE_SETTING")), MB_OK | MB_ICONSTOP, page);
  }
}

void DrawSettingsText(CDC* pDC, LPCTSTR id, POINT at, LPCTSTR section) {
  DrawPageText(pDC, section != nullptr ? GetLangString(id, section) : SettingsText(id), at.x, at.y,
               GetSharedDialogFont(), kDialogTextColour, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}
