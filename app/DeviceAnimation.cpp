// The busy animation of the main program's pages and the class picture of a device row.
#include "DeviceAnimation.h"

#include <commctrl.h>
#include <objbase.h>

namespace {

constexpr UINT kBusyClipId = 1399;
constexpr UINT kLastFrame = 0xFFFF;

}  // namespace

BOOL PlayAnimation(CAnimateCtrl& animation) {
  // The clip lies in the resource library or in the program, whichever holds it.
  const HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCE(kBusyClipId), _T("AVI"));
  if (!animation.SendMessage(ACM_OPENW, reinterpret_cast<WPARAM>(module),
                             reinterpret_cast<LPARAM>(MAKEINTRESOURCE(kBusyClipId))))
    return FALSE;
  animation.Play(0, kLastFrame, static_cast<UINT>(-1));
  animation.ShowWindow(SW_SHOW);
  return TRUE;
}

void StopAnimation(CAnimateCtrl& animation) {
  animation.Stop();
  animation.Close();
}

int GetClassImageIndex(LPCTSTR classGuid, PSP_CLASSIMAGELIST_DATA imageList) {
  GUID guid{};
  int index = -1;
  if (!classGuid || FAILED(CLSIDFromString(classGuid, &guid)) ||
      !SetupDiGetClassImageIndex(imageList, &guid, &index))
    return -1;
  return index;
}
