// Event objects: manual and auto reset, named within the process, PulseEvent.
#include "errhandlingapi.h"
#include "handleref.h"
#include "kerneltext.h"
#include "objectnames.h"
#include "synchapi.h"
#include "zx/waits.h"

namespace {

class Event : public zx::Waitable {
 public:
  Event(bool manualReset, bool signalled) : manualReset_(manualReset), signalled_(signalled) {}

  bool IsSignalled(const zx::WaitTicket& waiter) override {
    return signalled_ || (pulsePending_ && pulsedAt_ > waiter.since);
  }
  bool Acquire(const zx::WaitTicket& /*waiter*/) override {
    if (!manualReset_) {
      if (signalled_)
        signalled_ = false;
      else
        pulsePending_ = false;
    }
    return false;
  }

  void Set() {
    signalled_ = true;
    pulsePending_ = false;
  }
  void Reset() {
    signalled_ = false;
    pulsePending_ = false;
  }
  // Only waits that began before the pulse see it.
  void Pulse() {
    signalled_ = false;
    pulsePending_ = true;
    pulsedAt_ = zx::NextWaitEpoch();
  }

 private:
  const bool manualReset_;
  bool signalled_;
  bool pulsePending_ = false;
  std::uint64_t pulsedAt_ = 0;
};

HANDLE Fail(DWORD error) {
  SetLastError(error);
  return nullptr;
}

// Applies a state change to the event a handle names and wakes the waiters.
template <class Change>
BOOL ChangeEvent(HANDLE handle, Change change) {
  auto event = zx::ReferenceObjectAs<Event>(handle);
  if (!event) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  {
    std::lock_guard<std::mutex> g(zx::WaitLock());
    change(*event);
  }
  zx::NotifyWaiters();
  return TRUE;
}

}  // namespace

HANDLE CreateEventW(LPSECURITY_ATTRIBUTES /*attributes*/, BOOL manualReset, BOOL initialState,
                    LPCWSTR name) {
  std::u16string filed;
  DWORD error = 0;
  if (!zx::names::Normalise(name, filed, &error)) return Fail(error);
  auto make = [&] { return std::make_shared<Event>(manualReset != FALSE, initialState != FALSE); };
  if (filed.empty()) {
    SetLastError(ERROR_SUCCESS);
    return zx::InsertHandle(make());
  }
  bool existed = false;
  auto event = std::dynamic_pointer_cast<Event>(zx::names::FindOrMake(filed, make, &existed));
  if (!event) return Fail(ERROR_INVALID_HANDLE);
  SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return zx::InsertHandle(event);
}

HANDLE CreateEventA(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState,
                    LPCSTR name) {
  if (!name) return CreateEventW(attributes, manualReset, initialState, nullptr);
  return CreateEventW(attributes, manualReset, initialState, zx::text::FromAnsi(name).c_str());
}

HANDLE OpenEventW(DWORD /*desiredAccess*/, BOOL /*inheritHandle*/, LPCWSTR name) {
  std::u16string filed;
  DWORD error = 0;
  if (!zx::names::Normalise(name, filed, &error)) return Fail(error);
  if (filed.empty()) return Fail(ERROR_INVALID_PARAMETER);
  bool existed = false;
  auto found = zx::names::FindOrMake(filed, [] { return nullptr; }, &existed);
  if (!found) return Fail(ERROR_FILE_NOT_FOUND);
  auto event = std::dynamic_pointer_cast<Event>(found);
  if (!event) return Fail(ERROR_INVALID_HANDLE);
  return zx::InsertHandle(event);
}

BOOL SetEvent(HANDLE event) {
  return ChangeEvent(event, [](Event& e) { e.Set(); });
}

BOOL ResetEvent(HANDLE event) {
  return ChangeEvent(event, [](Event& e) { e.Reset(); });
}

BOOL PulseEvent(HANDLE event) {
  return ChangeEvent(event, [](Event& e) { e.Pulse(); });
}
