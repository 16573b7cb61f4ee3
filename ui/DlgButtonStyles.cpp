// The light and dark text-button looks and icons of the resource chain.
#include "DlgButtonStyles.h"

#include <winresource.h>

namespace {

constexpr COLORREF kLightShadow = 0xA7A49E;
constexpr COLORREF kDarkShadow = 0xA29990;

}  // namespace

void ApplyLightTextButtonStyle(CHoverButtonWithText& button) {
  CHoverButtonWithText::SetStyle(button, TRUE, TRUE, FALSE);
  button.SetShadow(TRUE);
  button.SetShadowColour(kLightShadow);
}

void ApplyDarkTextButtonStyle(CHoverButtonWithText& button) {
  CHoverButtonWithText::SetStyle(button, TRUE, FALSE, FALSE);
  button.SetShadow(TRUE);
  button.SetShadowColour(kDarkShadow);
}

HICON LoadIconFromResources(UINT nID) {
  const LPCTSTR name = MAKEINTRESOURCEW(nID);
  const HINSTANCE module = AfxFindResourceHandle(name, RT_GROUP_ICON);
  return module ? ::LoadIconW(module, name) : nullptr;
}
