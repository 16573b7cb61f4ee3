// Mutex objects: recursive ownership, abandonment when the owner thread ends, and named
// mutexes shared with other processes through NamedMutexFile.
#include <algorithm>
#include <vector>

#include "errhandlingapi.h"
#include "handleref.h"
#include "kerneltext.h"
#include "namedmutex.h"
#include "objectnames.h"
#include "processthreadsapi.h"
#include "synchapi.h"
#include "zx/waits.h"

namespace {

class Mutex;

// The mutexes the calling thread owns; when the thread ends they are abandoned.
class OwnedMutexes {
 public:
  ~OwnedMutexes();
  void Add(const std::shared_ptr<Mutex>& mutex) { held_.push_back(mutex); }
  void Remove(const Mutex* mutex) {
    std::erase_if(held_, [&](const std::weak_ptr<Mutex>& w) {
      auto m = w.lock();
      return !m || m.get() == mutex;
    });
  }

 private:
  const DWORD threadId_ = GetCurrentThreadId();
  std::vector<std::weak_ptr<Mutex>> held_;
};

thread_local OwnedMutexes t_owned;

// All members run with WaitLock held.
class Mutex : public zx::Waitable, public std::enable_shared_from_this<Mutex> {
 public:
  explicit Mutex(std::unique_ptr<zx::NamedMutexFile> shared) : shared_(std::move(shared)) {}

  // A free named mutex is free only if this process gets the cross-process lock; it keeps
  // that lock (even when a wait-all then finds another object unready) until the mutex is
  // next released or its last handle closes.
  bool IsSignalled(const zx::WaitTicket& waiter) override {
    if (owner_ == waiter.threadId) return true;
    return owner_ == 0 && (!shared_ || shared_->TryOwn());
  }
  bool Acquire(const zx::WaitTicket& waiter) override {
    if (owner_ == waiter.threadId) {
      ++recursion_;
      return false;
    }
    owner_ = waiter.threadId;
    recursion_ = 1;
    t_owned.Add(shared_from_this());
    const bool abandoned = abandoned_;
    abandoned_ = false;
    return abandoned;
  }
  // Another process may release it at any time.
  DWORD PollMs() const override { return shared_ ? 5 : 0; }

  bool Release(DWORD threadId) {
    if (owner_ != threadId || recursion_ == 0) return false;
    if (--recursion_ == 0) {
      Free();
      t_owned.Remove(this);
    }
    return true;
  }
  void Abandon(DWORD threadId) {
    if (owner_ != threadId) return;
    Free();
    abandoned_ = true;
  }

 private:
  void Free() {
    owner_ = 0;
    recursion_ = 0;
    if (shared_) shared_->Disown();
  }

  std::unique_ptr<zx::NamedMutexFile> shared_;
  DWORD owner_ = 0;
  DWORD recursion_ = 0;
  bool abandoned_ = false;
};

OwnedMutexes::~OwnedMutexes() {
  {
    std::lock_guard<std::mutex> g(zx::WaitLock());
    for (const auto& w : held_)
      if (auto m = w.lock()) m->Abandon(threadId_);
  }
  zx::NotifyWaiters();
}

HANDLE Fail(DWORD error) {
  SetLastError(error);
  return nullptr;
}

// Files the mutex under its name: in this process first, else through the runtime folder.
std::shared_ptr<zx::KernelObject> FindOrMakeNamed(const std::u16string& name, bool create,
                                                  bool* existed, DWORD* error) {
  bool elsewhere = false;
  auto object = zx::names::FindOrMake(
      name,
      [&]() -> std::shared_ptr<zx::KernelObject> {
        auto file = zx::NamedMutexFile::Open(name, create, &elsewhere, error);
        if (!file) return nullptr;
        return std::make_shared<Mutex>(std::move(file));
      },
      existed);
  *existed = *existed || elsewhere;
  return object;
}

}  // namespace

HANDLE CreateMutexW(LPSECURITY_ATTRIBUTES /*attributes*/, BOOL initialOwner, LPCWSTR name) {
  std::u16string filed;
  DWORD error = 0;
  if (!zx::names::Normalise(name, filed, &error)) return Fail(error);
  std::shared_ptr<Mutex> mutex;
  bool existed = false;
  if (filed.empty()) {
    mutex = std::make_shared<Mutex>(nullptr);
  } else {
    auto object = FindOrMakeNamed(filed, true, &existed, &error);
    if (!object) return Fail(error);
    mutex = std::dynamic_pointer_cast<Mutex>(object);
    if (!mutex) return Fail(ERROR_INVALID_HANDLE);
  }
  if (initialOwner && !existed) {
    std::lock_guard<std::mutex> g(zx::WaitLock());
    const zx::WaitTicket me{GetCurrentThreadId(), 0};
    if (mutex->IsSignalled(me)) mutex->Acquire(me);
  }
  SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return zx::InsertHandle(mutex);
}

HANDLE CreateMutexA(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCSTR name) {
  if (!name) return CreateMutexW(attributes, initialOwner, nullptr);
  return CreateMutexW(attributes, initialOwner, zx::text::FromAnsi(name).c_str());
}

HANDLE OpenMutexW(DWORD /*desiredAccess*/, BOOL /*inheritHandle*/, LPCWSTR name) {
  std::u16string filed;
  DWORD error = 0;
  if (!zx::names::Normalise(name, filed, &error)) return Fail(error);
  if (filed.empty()) return Fail(ERROR_INVALID_PARAMETER);
  bool existed = false;
  auto object = FindOrMakeNamed(filed, false, &existed, &error);
  if (!object) return Fail(error);
  auto mutex = std::dynamic_pointer_cast<Mutex>(object);
  if (!mutex) return Fail(ERROR_INVALID_HANDLE);
  return zx::InsertHandle(mutex);
}

BOOL ReleaseMutex(HANDLE handle) {
  auto mutex = zx::ReferenceObjectAs<Mutex>(handle);
  if (!mutex) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  {
    std::lock_guard<std::mutex> g(zx::WaitLock());
    if (!mutex->Release(GetCurrentThreadId())) {
      SetLastError(ERROR_NOT_OWNER);
      return FALSE;
    }
  }
  zx::NotifyWaiters();
  return TRUE;
}
