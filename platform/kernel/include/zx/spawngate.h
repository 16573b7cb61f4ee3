// Starting a program and the share-mode checks of open files, kept apart. While the host
// starts a child, the child holds a copy of every open file of this process (until its new
// image replaces it), and with it the share-mode locks those files hold: a check made in that
// moment would see a file this process has just closed as still open, and refuse a rename or
// a delete that Windows allows. A start holds the gate alone; every share-mode check waits
// for it.
#pragma once
#include <shared_mutex>

namespace zx::file {

std::shared_mutex& SpawnGate();

// Held around the host's start of a child, until the child holds none of our files.
class StartingProgram {
 public:
  StartingProgram() : hold_(SpawnGate()) {}

 private:
  std::unique_lock<std::shared_mutex> hold_;
};

}  // namespace zx::file
