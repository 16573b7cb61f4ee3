// Helpers of the main-window tests: a test main window derived from the bases as the
// programs derive theirs, its settings record, the page-change codes it was asked, and a
// fixture that opens it at (0, 0) on the test clock with the shared texts it reads.
#pragma once
#include <ostream>
#include <utility>
#include <vector>

#include "DlgBaseAppDlg.h"
#include "DlgLeftSideChild.h"
#include "dialogs_testing.h"

// Rectangles, sizes and points printed as numbers in failure messages.
inline void PrintTo(const CRect& r, std::ostream* out) {
  *out << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
inline void PrintTo(const CSize& s, std::ostream* out) { *out << s.cx << " x " << s.cy; }
inline void PrintTo(const CPoint& p, std::ostream* out) { *out << "(" << p.x << ", " << p.y << ")"; }

namespace zx::test {

inline constexpr UINT kPageTemplate = 4102;
inline constexpr UINT kLogoBitmap = 4001;

// The main window of a program: the bases' handlers entered in its own map.
class TestMainDlg : public CDlgBaseAppDlg {
 public:
  TestMainDlg() = default;

 protected:
  DECLARE_MESSAGE_MAP()
};

class TestPage : public CDlgLeftSideChild {
 public:
  TestPage() : CDlgLeftSideChild(kPageTemplate, nullptr) {}
};

// What the page-change callback was asked: (the dialog or panel, code).
struct PageChangeLog {
  std::vector<std::pair<CDlgBaseWnd*, int>> calls;
  // Codes answered 0 (the switch refused).
  std::vector<int> refused;
  std::vector<int> Codes() const;
};
PageChangeLog& PageChanges();
int RecordPageChange(CDlgBaseWnd* dialog, int code);

// Three tabs: tab 1 with three buttons, tab 2 with four buttons but three captions, tab 3
// with two buttons carrying icons.
void FillThreeTabSettings(tagAppDlgSettings& settings);

class MainWindowTest : public DialogTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Hands the settings over and opens the window, shown, at (0, 0).
  void Open(const tagAppDlgSettings& settings);
  // A client point of the window in screen coordinates.
  POINT Screen(int x, int y) const;
  // A left press and let go at the client point, with the pointer moving there first.
  void ClickClient(int x, int y);

  // Filled by FillThreeTabSettings for each test.
  tagAppDlgSettings settings_;
  TestMainDlg dialog_;
};

}  // namespace zx::test
