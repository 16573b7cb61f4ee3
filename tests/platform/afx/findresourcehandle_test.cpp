// AfxFindResourceHandle: the class library's resource module first, then the application's
// own module, and the resource module again when neither holds the resource.
#include <afxdlg.h>
#include <afxwinappex.h>
#include <gtest/gtest.h>
#include <winresource.h>

#include <string>
#include <vector>

#include "machine_fixture.h"
#include "zx/resfile.h"
#include "zx/resmodule.h"

namespace zx::test {
namespace {

class FindResourceHandle : public MachineTest {
 protected:
  void TearDown() override {
    AfxSetResourceHandle(nullptr);
    for (HMODULE module : modules_) zx::res::CloseResourceModule(module);
    MachineTest::TearDown();
  }

  // A resource-only module holding a menu and a data item under these ids, and an empty
  // popup dialog template when a dialog id is given.
  HMODULE Module(const std::string& name, WORD menuId, WORD dataId, WORD dialogId = 0) {
    std::vector<zx::res::ResourceInput> resources = {
        {zx::res::ResourceId::Number(zx::res::kMenu), zx::res::ResourceId::Number(menuId),
         zx::res::kDefaultLanguage, {0, 0, 0, 0, 0x80, 0, 0x65, 0, 0, 0}},
        {zx::res::ResourceId::Number(zx::res::kRcData), zx::res::ResourceId::Number(dataId),
         zx::res::kDefaultLanguage, {1, 2, 3}},
        {zx::res::ResourceId::Number(zx::res::kRcData), zx::res::ResourceId::Name(u"SHARED"),
         zx::res::kDefaultLanguage, {4}}};
    if (dialogId != 0) {
      // DLGTEMPLATEEX: version 1, 0xFFFF, help id, extended style, WS_POPUP, no items, at
      // 0,0 of 100 x 50 units, no menu, class or title.
      const std::vector<BYTE> popup = {1, 0, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80, 0, 0,
                                       0, 0, 0, 0, 100, 0, 50, 0, 0, 0, 0, 0, 0, 0};
      resources.push_back({zx::res::ResourceId::Number(zx::res::kDialog), zx::res::ResourceId::Number(dialogId),
                           zx::res::kDefaultLanguage, popup});
    }
    std::vector<BYTE> bytes;
    std::string error;
    EXPECT_TRUE(zx::res::WriteResourceFile(std::move(resources), bytes, error)) << error;
    const std::string path = root() + "/" + name + ".res";
    WriteHostFile(path, std::string(bytes.begin(), bytes.end()));
    HMODULE module = zx::res::OpenResourceModule(path);
    EXPECT_NE(module, nullptr);
    modules_.push_back(module);
    return module;
  }

  std::vector<HMODULE> modules_;
};

TEST_F(FindResourceHandle, TheResourceModuleComesFirst) {
  CWinAppEx app(_T("zephrinkx"));
  app.m_hInstance = Module("program", 7, 8);
  HMODULE library = Module("library", 7, 9);
  AfxSetResourceHandle(library);
  EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(7), RT_MENU), library);
  EXPECT_EQ(AfxFindResourceHandle(_T("SHARED"), RT_RCDATA), library);
  EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(9), RT_RCDATA), library);
}

TEST_F(FindResourceHandle, TheProgramsOwnModuleHoldsWhatTheResourceModuleLacks) {
  CWinAppEx app(_T("zephrinkx"));
  HMODULE program = Module("program", 7, 8);
  app.m_hInstance = program;
  AfxSetResourceHandle(Module("library", 17, 9));
  EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(7), RT_MENU), program);
  EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(8), RT_RCDATA), program);
  // The same id under another type is a different resource.
  EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(8), RT_MENU), AfxGetResourceHandle());
}

TEST_F(FindResourceHandle, NeitherModuleHoldingItAnswersTheResourceModule) {
  CWinAppEx app(_T("zephrinkx"));
  app.m_hInstance = Module("program", 7, 8);
  HMODULE library = Module("library", 17, 9);
  AfxSetResourceHandle(library);
  EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(4242), RT_MENU), library);
  EXPECT_EQ(FindResourceW(library, MAKEINTRESOURCE(4242), RT_MENU), nullptr);
  EXPECT_EQ(AfxFindResourceHandle(_T("ABSENT"), RT_RCDATA), library);
}

TEST_F(FindResourceHandle, MissingArgumentsAnswerTheResourceModule) {
  CWinAppEx app(_T("zephrinkx"));
  app.m_hInstance = Module("program", 7, 8);
  HMODULE library = Module("library", 17, 9);
  AfxSetResourceHandle(library);
  EXPECT_EQ(AfxFindResourceHandle(nullptr, RT_MENU), library);
  EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(7), nullptr), library);
}

TEST_F(FindResourceHandle, WithoutAResourceModuleTheProgramsModuleIsSearched) {
  CWinAppEx app(_T("zephrinkx"));
  HMODULE program = Module("program", 7, 8);
  app.m_hInstance = program;
  EXPECT_EQ(AfxGetResourceHandle(), GetModuleHandleW(nullptr));
  EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(7), RT_MENU), program);
}

// Dialogs take their template from the module that holds it, as every other resource.
TEST_F(FindResourceHandle, DialogsAreMadeFromTheModuleHoldingTheirTemplate) {
  CWinAppEx app(_T("zephrinkx"));
  app.m_hInstance = Module("program", 7, 8, 300);
  AfxSetResourceHandle(Module("library", 17, 9, 301));
  for (UINT id : {300u, 301u}) {
    CDialog dialog(id);
    EXPECT_TRUE(dialog.Create(id)) << id;
    dialog.DestroyWindow();
  }
  CDialog missing(302);
  EXPECT_FALSE(missing.Create(302));
  EXPECT_EQ(missing.DoModal(), -1);
}

}  // namespace
}  // namespace zx::test
