// Thread objects: CreateThread, suspension, exit codes, ids, pseudo-handles and priorities.
// A thread's object is signalled when the thread ends, whoever started it.
#include <pthread.h>
#include <unistd.h>

#include <optional>
#include <system_error>
#include <thread>

#include "errhandlingapi.h"
#include "handleref.h"
#include "processthreadsapi.h"
#include "zx/waits.h"

namespace {

// All fields are guarded by WaitLock.
class ThreadObject : public zx::Waitable {
 public:
  bool IsSignalled(const zx::WaitTicket& /*waiter*/) override { return ended; }

  DWORD id = 0;
  std::optional<DWORD> exitCode;
  bool ended = false;
  DWORD suspendCount = 0;
  int priority = THREAD_PRIORITY_NORMAL;
};

// The calling thread's object; its end signals the object.
class CurrentThread {
 public:
  ~CurrentThread() {
    if (!object_) return;
    {
      std::lock_guard<std::mutex> g(zx::WaitLock());
      object_->ended = true;
    }
    zx::NotifyWaiters();
  }
  const std::shared_ptr<ThreadObject>& Get() {
    if (!object_) {
      auto made = std::make_shared<ThreadObject>();
      made->id = GetCurrentThreadId();
      object_ = std::move(made);
    }
    return object_;
  }
  void Adopt(std::shared_ptr<ThreadObject> object) { object_ = std::move(object); }

 private:
  std::shared_ptr<ThreadObject> object_;
};

thread_local CurrentThread t_current;

void RunThread(std::shared_ptr<ThreadObject> self, LPTHREAD_START_ROUTINE routine,
               LPVOID parameter) {
  t_current.Adopt(self);
  {
    std::unique_lock<std::mutex> lock(zx::WaitLock());
    self->id = GetCurrentThreadId();
    zx::NotifyWaiters();
    zx::WaitUntil(lock, [&] { return self->suspendCount == 0; }, INFINITE);
  }
  const DWORD code = routine(parameter);
  std::lock_guard<std::mutex> g(zx::WaitLock());
  self->exitCode = code;
}

std::shared_ptr<ThreadObject> ThreadOf(HANDLE handle) {
  auto thread = zx::ReferenceObjectAs<ThreadObject>(handle);
  if (!thread) SetLastError(ERROR_INVALID_HANDLE);
  return thread;
}

bool ValidPriority(int priority) {
  return (priority >= THREAD_PRIORITY_LOWEST && priority <= THREAD_PRIORITY_HIGHEST) ||
         priority == THREAD_PRIORITY_IDLE || priority == THREAD_PRIORITY_TIME_CRITICAL;
}

}  // namespace

namespace zx {
std::shared_ptr<KernelObject> CurrentThreadObject() { return t_current.Get(); }
}  // namespace zx

HANDLE CreateThread(LPSECURITY_ATTRIBUTES /*attributes*/, SIZE_T /*stackSize*/,
                    LPTHREAD_START_ROUTINE startAddress, LPVOID parameter, DWORD creationFlags,
                    LPDWORD threadId) {
  if (!startAddress) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto object = std::make_shared<ThreadObject>();
  object->suspendCount = (creationFlags & CREATE_SUSPENDED) ? 1 : 0;
  try {
    std::thread(RunThread, object, startAddress, parameter).detach();
  } catch (const std::system_error&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  {
    // The id is the host's: the new thread publishes it.
    std::unique_lock<std::mutex> lock(zx::WaitLock());
    zx::WaitUntil(lock, [&] { return object->id != 0; }, INFINITE);
    if (threadId) *threadId = object->id;
  }
  return zx::InsertHandle(object);
}

DWORD ResumeThread(HANDLE thread) {
  auto object = ThreadOf(thread);
  if (!object) return static_cast<DWORD>(-1);
  DWORD previous;
  {
    std::lock_guard<std::mutex> g(zx::WaitLock());
    previous = object->suspendCount;
    if (previous > 0) --object->suspendCount;
  }
  zx::NotifyWaiters();
  return previous;
}

BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode) {
  auto object = ThreadOf(thread);
  if (!object) return FALSE;
  std::lock_guard<std::mutex> g(zx::WaitLock());
  // A thread the layer did not start ends without a code: 0.
  *exitCode = object->exitCode.value_or(object->ended ? 0 : STILL_ACTIVE);
  return TRUE;
}

void ExitThread(DWORD exitCode) {
  {
    std::lock_guard<std::mutex> g(zx::WaitLock());
    t_current.Get()->exitCode = exitCode;
  }
  ::pthread_exit(nullptr);
}

DWORD GetCurrentThreadId() {
  thread_local const DWORD id = static_cast<DWORD>(::gettid());
  return id;
}

DWORD GetCurrentProcessId() { return static_cast<DWORD>(::getpid()); }

HANDLE GetCurrentThread() { return reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-2)); }

HANDLE GetCurrentProcess() { return reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1)); }

BOOL SetThreadPriority(HANDLE thread, int priority) {
  auto object = ThreadOf(thread);
  if (!object) return FALSE;
  if (!ValidPriority(priority)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard<std::mutex> g(zx::WaitLock());
  object->priority = priority;
  return TRUE;
}

int GetThreadPriority(HANDLE thread) {
  auto object = ThreadOf(thread);
  if (!object) return THREAD_PRIORITY_ERROR_RETURN;
  std::lock_guard<std::mutex> g(zx::WaitLock());
  return object->priority;
}
