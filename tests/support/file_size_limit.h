// FileSizeLimit: a full disk for the tests, made by limiting the size of every file the
// process writes while the object lives; writes past it fail instead of raising SIGXFSZ.
#pragma once
#include <signal.h>
#include <sys/resource.h>

namespace zx::test {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old_); }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit old_{};
};

}  // namespace zx::test
