// CWinAppEx: construction, the registry base and section paths, the managers' start-up
// answers and the workspace hooks' defaults.
#include <afxwinappex.h>
#include <gtest/gtest.h>

namespace {

class Hooks : public CWinAppEx {
 public:
  Hooks() : CWinAppEx(_T("Scheduler")) {}
  void PreLoadState() override { ++preLoad; }
  int preLoad = 0;
};

TEST(WinAppEx, IsTheApplicationObjectOfTheProcess) {
  CWinAppEx app(_T("Checking for Updates"));
  EXPECT_EQ(AfxGetApp(), &app);
  EXPECT_EQ(CString(app.m_pszAppName), _T("Checking for Updates"));
  EXPECT_FALSE(app.m_bResourceSmartUpdate);
  EXPECT_TRUE(app.IsKindOf(RUNTIME_CLASS(CWinApp)));
  EXPECT_STREQ(app.GetRuntimeClass()->m_lpszClassName, "CWinAppEx");
}

TEST(WinAppEx, TheDefaultConstructorKeepsNoNameAndTheSmartUpdateSwitch) {
  CWinAppEx app(TRUE);
  EXPECT_EQ(app.m_pszAppName, nullptr);
  EXPECT_TRUE(app.m_bResourceSmartUpdate);
  EXPECT_EQ(CString(app.GetRegistryBase()), _T("Workspace"));
}

TEST(WinAppExRegistry, SectionPathsFollowTheRegistryKeyProfileAndBase) {
  CWinAppEx app(_T("zephrinkx"));
  EXPECT_EQ(app.GetRegSectionPath(), _T("Software\\zephrinkx\\Workspace\\"));
  app.SetRegistryKey(_T("Zephrin\\ZephrinKX\\zephrinkx"));
  EXPECT_EQ(CString(app.SetRegistryBase(_T("zephrinkx"))), _T("zephrinkx"));
  EXPECT_EQ(app.GetRegSectionPath(),
            _T("Software\\Zephrin\\ZephrinKX\\zephrinkx\\zephrinkx\\zephrinkx\\"));
  EXPECT_EQ(app.GetRegSectionPath(_T("Pane")),
            _T("Software\\Zephrin\\ZephrinKX\\zephrinkx\\zephrinkx\\zephrinkx\\Pane\\"));
  EXPECT_EQ(app.GetRegSectionPath(nullptr),
            _T("Software\\Zephrin\\ZephrinKX\\zephrinkx\\zephrinkx\\zephrinkx\\"));
}

TEST(WinAppExRegistry, ANullBaseSetsTheDefaultBack) {
  CWinAppEx app;
  app.SetRegistryBase(_T("Other"));
  EXPECT_EQ(CString(app.GetRegistryBase()), _T("Other"));
  EXPECT_EQ(CString(app.SetRegistryBase()), _T("Workspace"));
  EXPECT_EQ(app.GetRegSectionPath(), _T("Software\\Workspace\\"));
}

TEST(WinAppExManagers, EachStartsOnceAndAnswersFalseAfterwards) {
  CWinAppEx app;
  EXPECT_TRUE(app.InitContextMenuManager());
  EXPECT_TRUE(app.InitKeyboardManager());
  EXPECT_TRUE(app.InitTooltipManager());
  EXPECT_FALSE(app.InitContextMenuManager());
  EXPECT_FALSE(app.InitKeyboardManager());
  EXPECT_FALSE(app.InitTooltipManager());
  EXPECT_TRUE(app.InitMouseManager());
  EXPECT_TRUE(app.InitShellManager());
  EXPECT_FALSE(app.InitMouseManager());
  EXPECT_FALSE(app.InitShellManager());
}

TEST(WinAppExHooks, DefaultsDoNothingAndOverridesAreCalledThroughTheBase) {
  Hooks app;
  CWinAppEx& base = app;
  EXPECT_FALSE(base.OnWorkspaceIdle(nullptr));
  base.PreLoadState();
  base.LoadCustomState();
  base.PreSaveState();
  base.SaveCustomState();
  EXPECT_EQ(app.preLoad, 1);
  EXPECT_EQ(CString(app.GetRegistryBase()), _T("Workspace"));
}

}  // namespace
