// Helpers of the road tests.
#include "road_testing.h"

#include <filesystem>

#include "HalvoranApp.h"

CVelquorApp theApp;

namespace zx::test {

void RoadTest::SetUp() {
  PopupTest::SetUp();
  // The program's own shared texts replace the popup tests' ones.
  PrepareTheProgram();
}

void RoadTest::TearDown() {
  if (main_ && main_->GetSafeHwnd()) main_->DestroyWindow();
  theApp.m_pMainWnd = nullptr;
  main_.reset();
  Pump();
  PopupTest::TearDown();
}

void RoadTest::OpenMainWindow() {
  theApp.FillMainWindowSettings(settings_);
  main_ = std::make_unique<TestVelquorDlg>(theApp);
  main_->SetAppInfo(settings_);
  ASSERT_TRUE(main_->Create(CDlgBaseAppDlg::kTemplateId, nullptr));
  theApp.m_pMainWnd = main_.get();
  main_->ShowWindow(SW_SHOW);
  Pump();
}

std::string RoadTest::ShutdownRequests() const {
  const std::string log = root() + "/shutdowns.log";
  return std::filesystem::exists(log) ? ReadHostFile(log) : "";
}

}  // namespace zx::test
