// Helpers of the tray icon tests: an owner window that records what it gets and answers the
// icon's callback message as told, a tray icon whose shell can be made an older one, and a
// fixture with a fresh machine root and an empty notification area.
#pragma once
#include <string>
#include <vector>

#include "XTTrayIcon.h"
#include "machine_fixture.h"
#include "zx/tray.h"

namespace zx::test {

constexpr UINT kMenuId = 5021;
constexpr UINT kIconId = 5022;
constexpr UINT kTipStringId = 5040;
constexpr UINT kExitCommand = 5001;
constexpr UINT kRestoreCommand = 5000;

struct OwnerMessage {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

class TestTrayIcon : public CXTTrayIcon {
 public:
  void UseOlderShell() { m_bNewerShell = FALSE; }
  HWND MinimizeParent() const { return m_wndMinimize.GetSafeHwnd(); }
};

class TrayTest : public MachineTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes machine.ini: the screen's size and whether minimising is animated.
  void UseMachine(int width, int height, bool animate);
  // Creates the icon for the owner (tip, icon 5022, menu 5021, default item by position).
  bool CreateIcon(TestTrayIcon& tray, LPCTSTR tip = u"Zephrin Tunevo", UINT defaultItem = 4);
  user::TrayIcon ShellIcon(const TestTrayIcon& tray) const;
  bool InTray(const TestTrayIcon& tray) const;
  // What the owner got of that message.
  std::vector<OwnerMessage> OwnerGot(UINT message) const;

  HWND owner_ = nullptr;
  CWnd* ownerWnd_ = nullptr;
};

// The owner's answer to the callback message (0: not handled).
void SetOwnerCallbackAnswer(LRESULT answer);
// Dispatches every message waiting for this thread.
void PumpWaiting();

}  // namespace zx::test
