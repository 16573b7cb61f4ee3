// The kernel object behind a file handle: an open host file descriptor and the access the
// handle was opened with. Platform-internal; other components (pipes, process start-up) may
// wrap their own descriptors in it so that ReadFile, WriteFile and CloseHandle work on them.
#pragma once
#include <string>

#include "fileapi.h"
#include "zx/handles.h"

namespace zx {

class FileObject : public KernelObject {
 public:
  // Takes ownership of fd. access is the Win32 access mask; hostPath may be empty for
  // descriptors that name no file. deleteOnClose removes hostPath when the object goes.
  FileObject(int fd, DWORD access, std::string hostPath, bool deleteOnClose = false);
  ~FileObject() override;
  FileObject(const FileObject&) = delete;
  FileObject& operator=(const FileObject&) = delete;

  int fd() const { return fd_; }
  const std::string& hostPath() const { return hostPath_; }
  bool CanRead() const { return (access_ & (GENERIC_READ | GENERIC_ALL | FILE_READ_DATA)) != 0; }
  bool CanWrite() const {
    return (access_ & (GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA | FILE_APPEND_DATA)) != 0;
  }

 private:
  int fd_;
  DWORD access_;
  std::string hostPath_;
  bool deleteOnClose_;
};

}  // namespace zx
