// zxtaskscheduler: the stand-in of the Windows Task Scheduler service over the job files of
// the machine's Tasks folder.
//   zxtaskscheduler            runs every job that is due now, waits for them, and ends:
//                              exit code 0, or 1 when a job file could not be read or a
//                              program could not be started
//   zxtaskscheduler -service   the "Schedule" service (started by the service control
//                              manager): runs each job when its time comes, until SIGTERM
//                              or until its machine root is gone or made anew; it keeps no
//                              terminal of its starter open; exit code 3 when another one
//                              already serves this machine
// Anything else: usage on standard error, exit code 2.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "jobrunner.h"
#include "synchapi.h"
#include "zx/machine.h"

namespace {

// One service per machine root and user: a lock held while it serves. The lock file's
// identity is kept: a root removed, or removed and seeded again under the same path, no longer
// holds this lock file, and the service of the new root is the next start's.
struct ServiceLock {
  std::string path;
  dev_t device = 0;
  ino_t inode = 0;
};

bool HoldServiceLock(ServiceLock& lock) {
  lock.path = zx::machine::RuntimeFolder() + "/taskscheduler.lock";
  const int file = ::open(lock.path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  struct stat held {};
  if (file < 0 || ::flock(file, LOCK_EX | LOCK_NB) != 0 || ::fstat(file, &held) != 0) return false;
  lock.device = held.st_dev;  // the lock is released when the process ends
  lock.inode = held.st_ino;
  return true;
}

// Whether the lock file this service holds is still its machine root's.
bool StillTheRootsLock(const ServiceLock& lock) {
  struct stat now {};
  if (::stat(lock.path.c_str(), &now) != 0) return errno != ENOENT && errno != ENOTDIR;
  return now.st_dev == lock.device && now.st_ino == lock.inode;
}

int Serve() {
  // SIGTERM and SIGINT reach one thread, which asks the runner to stop.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  ServiceLock lock;
  if (!HoldServiceLock(lock)) {
    std::fprintf(stderr, "zxtaskscheduler: another Task Scheduler already serves this machine\n");
    return 3;
  }
  // A service has no terminal: the starter's output streams are let go, so whoever waits for
  // them to close (a shell pipe, a test runner) is not held until the service ends.
  if (const int null = ::open("/dev/null", O_RDWR | O_CLOEXEC); null >= 0) {
    for (int stream = 0; stream <= 2; ++stream) ::dup2(null, stream);
    ::close(null);
  }
  const HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread([stopSignals, stop] {
    int received = 0;
    sigwait(&stopSignals, &received);
    SetEvent(stop);
  }).detach();
  // A machine root that has been removed (or made again) has nothing left for it to serve.
  std::thread([stop, lock] {
    while (StillTheRootsLock(lock)) std::this_thread::sleep_for(std::chrono::seconds(1));
    SetEvent(stop);
  }).detach();
  zx::taskscheduler::JobRunner().Serve(stop);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 1) return zx::taskscheduler::JobRunner().RunDueNow() < 0 ? 1 : 0;
  if (argc == 2 && std::strcmp(argv[1], "-service") == 0) return Serve();
  std::fprintf(stderr, "usage: zxtaskscheduler [-service]\n");
  return 2;
}
