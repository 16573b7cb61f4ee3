// AfxBeginThread and CWinThread's own thread: the parameter, the exit code, held starts,
// priorities and the object deleted at the thread's end.
#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "afxwin.h"
#include "handleapi.h"
#include "synchapi.h"

namespace {

struct Seen {
  LPVOID param = nullptr;
  CWinThread* thread = nullptr;
  DWORD threadId = 0;
  int priority = 0;
};

UINT RecordAndAnswer(LPVOID param) {
  auto* seen = static_cast<Seen*>(param);
  seen->param = param;
  seen->thread = AfxGetThread();
  seen->threadId = GetCurrentThreadId();
  seen->priority = GetThreadPriority(GetCurrentThread());
  return 42;
}

TEST(BeginThread, AHeldWorkerRunsWithItsParameterOnceResumed) {
  Seen seen;
  CWinThread* thread = AfxBeginThread(RecordAndAnswer, &seen, THREAD_PRIORITY_BELOW_NORMAL, 0,
                                      CREATE_SUSPENDED);
  ASSERT_NE(thread, nullptr);
  thread->m_bAutoDelete = FALSE;
  ASSERT_NE(thread->m_hThread, nullptr);
  EXPECT_NE(thread->m_nThreadID, 0u);
  EXPECT_NE(thread->m_nThreadID, GetCurrentThreadId());
  EXPECT_EQ(thread->GetThreadPriority(), THREAD_PRIORITY_BELOW_NORMAL);
  EXPECT_EQ(WaitForSingleObject(thread->m_hThread, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(seen.thread, nullptr);  // held: the function has not run
  EXPECT_EQ(thread->ResumeThread(), 1u);
  ASSERT_EQ(WaitForSingleObject(*thread, INFINITE), static_cast<DWORD>(WAIT_OBJECT_0));
  DWORD code = 0;
  ASSERT_TRUE(GetExitCodeThread(thread->m_hThread, &code));
  EXPECT_EQ(code, 42u);
  EXPECT_EQ(seen.param, &seen);
  EXPECT_EQ(seen.thread, thread);
  EXPECT_EQ(seen.threadId, thread->m_nThreadID);
  EXPECT_EQ(seen.priority, THREAD_PRIORITY_BELOW_NORMAL);
  delete thread;
}

UINT Fulfil(LPVOID param) {
  static_cast<std::promise<int>*>(param)->set_value(7);
  return 0;
}

TEST(BeginThread, AWorkerStartsAtOnceAndCleansUpAfterItself) {
  std::promise<int> done;
  std::future<int> answer = done.get_future();
  ASSERT_NE(AfxBeginThread(Fulfil, &done), nullptr);
  ASSERT_EQ(answer.wait_for(std::chrono::seconds(30)), std::future_status::ready);
  EXPECT_EQ(answer.get(), 7);
}

TEST(BeginThread, NoFunctionIsRefused) {
  EXPECT_EQ(AfxBeginThread(nullptr, nullptr), nullptr);
}

// A thread object that says when it is deleted.
class CNotingThread : public CWinThread {
 public:
  CNotingThread(AFX_THREADPROC proc, std::promise<void>* deleted)
      : CWinThread(proc, nullptr), deleted_(deleted) {}
  ~CNotingThread() override { deleted_->set_value(); }

 private:
  std::promise<void>* deleted_;
};

UINT Nothing(LPVOID) { return 0; }

TEST(BeginThread, AnAutoDeletingObjectIsDeletedWhenItsThreadEnds) {
  std::promise<void> deleted;
  std::future<void> gone = deleted.get_future();
  auto* thread = new CNotingThread(Nothing, &deleted);
  ASSERT_TRUE(thread->CreateThread());
  EXPECT_EQ(gone.wait_for(std::chrono::seconds(30)), std::future_status::ready);
}

TEST(BeginThread, AnObjectStartsOnlyOnce) {
  Seen seen;
  CWinThread thread(RecordAndAnswer, &seen);
  thread.m_bAutoDelete = FALSE;
  ASSERT_TRUE(thread.CreateThread(CREATE_SUSPENDED));
  EXPECT_FALSE(thread.CreateThread());
  thread.ResumeThread();
  EXPECT_EQ(WaitForSingleObject(thread.m_hThread, INFINITE), static_cast<DWORD>(WAIT_OBJECT_0));
  EXPECT_EQ(seen.thread, &thread);
}

}  // namespace
