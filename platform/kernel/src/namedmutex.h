// The cross-process side of a named mutex: a lock file in the machine's runtime folder.
// Kernel-internal.
#pragma once
#include <memory>
#include <string>

#include "wintypes.h"

namespace zx {

// One open lock file per name and process. Byte 0 carries the name: every process with the
// mutex open holds a shared lock on it, so a process that can lock it exclusively knows
// nobody else has the name. Byte 1 carries ownership: the process whose thread owns the mutex
// holds it exclusively. The host drops both when a process ends.
class NamedMutexFile {
 public:
  // create: takes the name; *existed tells whether another process already had it.
  // Otherwise opens the name only when another process has it (ERROR_FILE_NOT_FOUND if not).
  static std::unique_ptr<NamedMutexFile> Open(const std::u16string& name, bool create,
                                              bool* existed, DWORD* error);
  ~NamedMutexFile();
  NamedMutexFile(const NamedMutexFile&) = delete;
  NamedMutexFile& operator=(const NamedMutexFile&) = delete;

  // Takes ownership for this process unless another process has it.
  bool TryOwn();
  void Disown();

 private:
  explicit NamedMutexFile(int fd) : fd_(fd) {}
  int fd_;
  bool owned_ = false;
};

}  // namespace zx
