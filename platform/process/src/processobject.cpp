// Process objects: one per running process while handles to it are open; children this
// process started are reaped when they end, other processes are watched through /proc.
#include "processobject.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

#include "errhandlingapi.h"
#include "processthreadsapi.h"

namespace zx::process {
namespace {

// Start time of the process in clock ticks since boot (field 22 of its stat), 0 when gone. A
// process whose first thread has ended (a zombie) runs on while any other thread of it does:
// its files and memory are let go only when the last one has ended.
unsigned long long StartTime(DWORD id) {
  std::ifstream in("/proc/" + std::to_string(id) + "/stat");
  std::string stat;
  if (!std::getline(in, stat)) return 0;
  const auto close = stat.rfind(')');
  if (close == std::string::npos) return 0;
  std::istringstream fields(stat.substr(close + 1));
  std::string state, value;
  fields >> state;
  if (state == "X") return 0;
  unsigned long long threads = 0;
  for (int field = 4; field < 22 && fields >> value; ++field)
    if (field == 20) threads = std::strtoull(value.c_str(), nullptr, 10);
  if (state == "Z" && threads <= 1) return 0;
  unsigned long long start = 0;
  fields >> start;
  return start;
}

struct Table {
  std::mutex lock;
  std::map<DWORD, std::weak_ptr<ProcessObject>> objects;
};
Table& Objects() {
  static Table* table = new Table;  // outlives handles closed during exit
  return *table;
}

}  // namespace

ProcessObject::ProcessObject(DWORD id, bool child, unsigned long long startTime)
    : id(id), child(child), startTime(startTime) {}

ProcessObject::~ProcessObject() {
  if (child && !ended_) {
    // Nobody waits for it any more: reap it when it ends, so it leaves no zombie.
    const pid_t pid = static_cast<pid_t>(id);
    std::thread([pid] { ::waitpid(pid, nullptr, 0); }).detach();
  }
}

bool ProcessObject::IsSignalled(const WaitTicket&) { return Ended(); }

bool ProcessObject::Ended() {
  if (ended_ || id == static_cast<DWORD>(::getpid())) return ended_;
  if (child) {
    int status = 0;
    const pid_t reaped = ::waitpid(static_cast<pid_t>(id), &status, WNOHANG);
    if (reaped == 0) return false;
    ended_ = true;
    if (reaped > 0 && WIFEXITED(status)) {
      exitCode_ = static_cast<DWORD>(WEXITSTATUS(status));
    } else if (reaped > 0 && WIFSIGNALED(status)) {
      exitCode_ = terminatedWith.value_or(128u + static_cast<DWORD>(WTERMSIG(status)));
    }
    return true;
  }
  if (StartTime(id) == startTime) return false;
  ended_ = true;
  exitCode_ = terminatedWith.value_or(0);
  return true;
}

DWORD ProcessObject::ExitCode() { return Ended() ? exitCode_ : STILL_ACTIVE; }

std::shared_ptr<ProcessObject> ObjectOfProcess(DWORD id) {
  Table& table = Objects();
  std::lock_guard<std::mutex> guard(table.lock);
  const unsigned long long start = StartTime(id);
  auto known = table.objects[id].lock();
  if (known && known->startTime == start && start != 0) return known;
  if (known && known->child) {
    std::lock_guard<std::mutex> waits(WaitLock());
    if (!known->Ended()) return known;  // a child is ours until reaped
  }
  if (start == 0) {
    table.objects.erase(id);
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto made = std::make_shared<ProcessObject>(id, false, start);
  table.objects[id] = made;
  return made;
}

std::shared_ptr<ProcessObject> AdoptChild(DWORD id) {
  auto made = std::make_shared<ProcessObject>(id, true, StartTime(id));
  Table& table = Objects();
  std::lock_guard<std::mutex> guard(table.lock);
  table.objects[id] = made;
  return made;
}

std::shared_ptr<ProcessObject> ProcessOf(HANDLE handle) {
  if (handle == GetCurrentProcess()) return ObjectOfProcess(static_cast<DWORD>(::getpid()));
  auto object = ReferenceHandleAs<ProcessObject>(handle);
  if (!object) SetLastError(ERROR_INVALID_HANDLE);
  return object;
}

}  // namespace zx::process
