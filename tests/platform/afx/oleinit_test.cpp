// OLE start-up of the class library: the thread's message filter made by AfxOleInit and
// counted like CoInitializeEx, refused in a multithreaded thread, and control containment.
#include <gtest/gtest.h>

#include <thread>

#include "afxdisp.h"
#include "objbase.h"

namespace {

TEST(AfxOleInit, GivesTheThreadAFilterWithItsDefaults) {
  std::thread([] {
    EXPECT_EQ(AfxOleGetMessageFilter(), nullptr);
    ASSERT_TRUE(AfxOleInit());
    COleMessageFilter* filter = AfxOleGetMessageFilter();
    ASSERT_NE(filter, nullptr);
    EXPECT_EQ(filter->GetMessagePendingDelay(), 5000u);
    EXPECT_TRUE(filter->IsBusyDialogEnabled());
    EXPECT_TRUE(filter->IsNotRespondingDialogEnabled());
    filter->SetMessagePendingDelay(8192);
    filter->EnableBusyDialog(FALSE);
    filter->EnableNotRespondingDialog(FALSE);
    ASSERT_TRUE(AfxOleInit());
    EXPECT_EQ(AfxOleGetMessageFilter(), filter) << "a second start keeps the thread's filter";
    EXPECT_EQ(filter->GetMessagePendingDelay(), 8192u);
    EXPECT_FALSE(filter->IsBusyDialogEnabled());
    // Each start is counted: a single-threaded apartment stays until both are undone.
    CoUninitialize();
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
    CoUninitialize();
    std::thread([] { EXPECT_EQ(AfxOleGetMessageFilter(), nullptr) << "filters belong to their thread"; }).join();
  }).join();
}

TEST(AfxOleInit, RefusedWhereCOMRunsMultithreaded) {
  std::thread([] {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    EXPECT_FALSE(AfxOleInit());
    EXPECT_EQ(AfxOleGetMessageFilter(), nullptr);
    CoUninitialize();
  }).join();
}

TEST(AfxEnableControlContainer, LastsForTheProcess) {
  AfxEnableControlContainer();
  EXPECT_TRUE(zx::afx::IsControlContainerEnabled());
  std::thread([] { EXPECT_TRUE(zx::afx::IsControlContainerEnabled()); }).join();
}

}  // namespace
