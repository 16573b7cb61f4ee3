// The window channel: claiming a slot, the listening socket, the one thread that reads every
// connection, and calls that wait for their answer.
#include "channel.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>

#include "errhandlingapi.h"
#include "queue.h"
#include "window.h"
#include "zx/clock.h"
#include "zx/machine.h"
#include "zx/waits.h"

namespace zx::user::channel {

class Connection {
 public:
  explicit Connection(int fd, DWORD peerProcess = 0) : fd_(fd), peerProcess_(peerProcess) {}
  ~Connection() { ::close(fd_); }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  int fd() const { return fd_; }
  // The process at the other end, for a connection this process accepted.
  DWORD peerProcess() const { return peerProcess_; }
  bool closed() const { return closed_; }
  // The descriptor stays open until the last holder lets go, so no writer ever writes to a
  // reused descriptor.
  void Close() {
    closed_ = true;
    ::shutdown(fd_, SHUT_RDWR);
  }
  bool Write(const std::string& bytes) {
    std::lock_guard<std::mutex> guard(writeLock_);
    std::size_t done = 0;
    while (!closed_ && done < bytes.size()) {
      const ssize_t n = ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        Close();
        return false;
      }
      done += static_cast<std::size_t>(n);
    }
    return !closed_;
  }

  // Used by the one thread that reads the connection: the channel thread for a connection
  // this process accepted, the calling thread for one it opened.
  wire::Parser parser;
  std::map<std::uint32_t, wire::Frame> answers;  // answers read while waiting for another

 private:
  int fd_;
  DWORD peerProcess_;
  std::mutex writeLock_;
  std::atomic<bool> closed_{false};
};

namespace {

constexpr int kSendTimeoutSeconds = 5;

std::string SlotFile(int slot, const char* suffix) {
  return "slot-" + std::to_string(slot) + suffix;
}

// The process at the other end when it is this user's; 0 otherwise.
pid_t SameUserProcess(int fd) {
  ucred cred{};
  socklen_t length = sizeof cred;
  if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &length) != 0 || cred.uid != ::getuid()) return 0;
  return cred.pid;
}

bool SameUser(int fd) { return SameUserProcess(fd) != 0; }

void LimitSendTime(int fd) {
  timeval limit{kSendTimeoutSeconds, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
}

// A folder of this user that nobody else may enter (made, or tightened, when needed).
bool PrivateFolder(const std::string& path) {
  ::mkdir(path.c_str(), 0700);
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
    return false;
  return (st.st_mode & 077) == 0 || ::chmod(path.c_str(), 0700) == 0;
}

std::string ChannelFolder() { return machine::RuntimeFolder() + "/user"; }

std::uint64_t NextChannelId() {
  static std::atomic<std::uint64_t> next{1};
  return next++;
}

// The connections the calling thread opened, for the channel they belong to.
struct ThreadConnectionSet {
  std::uint64_t channel = 0;
  std::map<int, ConnectionRef> bySlot;
};

ThreadConnectionSet& ThreadConnections() {
  thread_local ThreadConnectionSet set;
  return set;
}

enum class Await { kAnswered, kTimedOut, kBroken };

// A caller spins this long for its answer before it sleeps: most answers come sooner, and a
// sleeping caller costs a wake-up on the way back.
constexpr auto kSpin = std::chrono::microseconds(200);
// With a clock that moves only on request, a timed wait looks at it this often.
constexpr int kManualClockSliceMs = 5;

bool Drain(int fd) {
  std::uint64_t count = 0;
  return ::read(fd, &count, sizeof count) == sizeof count;
}

// Reads the calling thread's connection until the answer to request id is there, serving the
// thread's incoming sent messages meanwhile.
Await AwaitAnswer(Connection& connection, std::uint32_t id, DWORD timeoutMs, wire::Frame* answer) {
  const int wake = QueueWakeFd();
  const std::uint64_t start = NowMs();
  const auto spinEnd = std::chrono::steady_clock::now() + kSpin;
  ServeIncomingSent();
  for (;;) {
    if (const auto it = connection.answers.find(id); it != connection.answers.end()) {
      *answer = std::move(it->second);
      connection.answers.erase(it);
      return Await::kAnswered;
    }
    char buffer[65536];
    const ssize_t n = ::recv(connection.fd(), buffer, sizeof buffer, MSG_DONTWAIT);
    if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) return Await::kBroken;
    if (n > 0) {
      connection.parser.Feed(buffer, static_cast<std::size_t>(n));
      wire::Frame frame;
      wire::Parser::Result result;
      while ((result = connection.parser.Next(&frame)) == wire::Parser::Result::kFrame) {
        if (!(frame.flags & wire::kAnswerFlag)) return Await::kBroken;
        connection.answers[frame.id] = std::move(frame);
      }
      if (result == wire::Parser::Result::kBad) return Await::kBroken;
      continue;
    }
    if (wake >= 0 && Drain(wake)) ServeIncomingSent();
    DWORD remaining = INFINITE;
    if (timeoutMs != INFINITE) {
      const std::uint64_t elapsed = NowMs() - start;
      if (elapsed >= timeoutMs) return Await::kTimedOut;
      remaining = static_cast<DWORD>(timeoutMs - elapsed);
    }
    if (std::chrono::steady_clock::now() < spinEnd) continue;
    int sliceMs = -1;
    if (remaining != INFINITE)
      sliceMs = CurrentClock().MovesByItself() ? static_cast<int>(std::min<DWORD>(remaining, 0x7FFFFFFF))
                                                : kManualClockSliceMs;
    pollfd fds[2] = {{connection.fd(), POLLIN, 0}, {wake, POLLIN, 0}};
    ::poll(fds, wake >= 0 ? 2 : 1, sliceMs);
  }
}

class Channel {
 public:
  Channel();
  ~Channel();
  Channel(const Channel&) = delete;
  Channel& operator=(const Channel&) = delete;

  int slot() const { return slot_; }
  std::uint64_t id() const { return id_; }
  bool Call(int slot, wire::Op op, std::string body, std::string* answer, DWORD timeoutMs);

 private:
  bool Claim();
  bool Listen();
  // A socket address for a file of the folder; through the folder's descriptor when the
  // full path is too long for an address.
  bool Address(const std::string& name, sockaddr_un* address) const;
  // The calling thread's own connection to a slot, opened when needed.
  ConnectionRef ConnectTo(int slot);
  void Run();
  void Accept();
  void ReadFrom(const ConnectionRef& connection);
  void Drop(const ConnectionRef& connection);
  void Wake() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(wake_, &one, sizeof one);
  }

  std::string folder_;
  int folderFd_ = -1;
  int slot_ = 0;
  int lockFd_ = -1;
  int listen_ = -1;
  int wake_ = -1;
  std::atomic<bool> stopping_{false};
  std::atomic<std::uint32_t> nextId_{1};
  const std::uint64_t id_ = NextChannelId();
  std::mutex connectionsLock_;
  std::vector<ConnectionRef> connections_;  // accepted, read by the channel thread
  std::thread thread_;
};

Channel::Channel() : folder_(ChannelFolder()) {
  if (!PrivateFolder(machine::RuntimeFolder()) || !PrivateFolder(folder_)) return;
  folderFd_ = ::open(folder_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  wake_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (folderFd_ < 0 || wake_ < 0 || !Claim() || !Listen()) {
    slot_ = 0;
    return;
  }
  thread_ = std::thread([this] { Run(); });
}

Channel::~Channel() {
  if (thread_.joinable()) {
    stopping_ = true;
    Wake();
    thread_.join();
  }
  if (listen_ >= 0) {
    ::unlink((folder_ + "/" + SlotFile(slot_, ".sock")).c_str());
    ::close(listen_);
  }
  for (const auto& connection : connections_) connection->Close();
  if (lockFd_ >= 0) ::close(lockFd_);
  if (wake_ >= 0) ::close(wake_);
  if (folderFd_ >= 0) ::close(folderFd_);
}

bool Channel::Claim() {
  for (int slot = 1; slot <= kMaxSlot; ++slot) {
    const std::string path = folder_ + "/" + SlotFile(slot, ".lock");
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      lockFd_ = fd;
      slot_ = slot;
      return true;
    }
    ::close(fd);
  }
  return false;
}

bool Channel::Address(const std::string& name, sockaddr_un* address) const {
  *address = sockaddr_un{};
  address->sun_family = AF_UNIX;
  std::string path = folder_ + "/" + name;
  if (path.size() >= sizeof address->sun_path)
    path = "/proc/self/fd/" + std::to_string(folderFd_) + "/" + name;
  if (path.size() >= sizeof address->sun_path) return false;
  std::memcpy(address->sun_path, path.c_str(), path.size() + 1);
  return true;
}

bool Channel::Listen() {
  sockaddr_un address;
  if (!Address(SlotFile(slot_, ".sock"), &address)) return false;
  listen_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (listen_ < 0) return false;
  ::unlink(address.sun_path);  // left by an earlier holder of the slot that ended
  if (::bind(listen_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::chmod(address.sun_path, 0600) != 0 || ::listen(listen_, 128) != 0) {
    ::close(listen_);
    listen_ = -1;
    return false;
  }
  return true;
}

ConnectionRef Channel::ConnectTo(int slot) {
  auto& mine = ThreadConnections();
  if (mine.channel != id_) {
    mine.bySlot.clear();
    mine.channel = id_;
  }
  const auto it = mine.bySlot.find(slot);
  if (it != mine.bySlot.end() && !it->second->closed()) return it->second;
  mine.bySlot.erase(slot);
  sockaddr_un address;
  if (folderFd_ < 0 || !Address(SlotFile(slot, ".sock"), &address)) return nullptr;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return nullptr;
  int rc;
  do {
    rc = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0 || !SameUser(fd)) {
    ::close(fd);
    return nullptr;
  }
  LimitSendTime(fd);
  auto connection = std::make_shared<Connection>(fd);
  mine.bySlot[slot] = connection;
  return connection;
}

bool Channel::Call(int slot, wire::Op op, std::string body, std::string* answer, DWORD timeoutMs) {
  const ConnectionRef connection = slot == slot_ ? nullptr : ConnectTo(slot);
  if (!connection) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  std::uint32_t id = nextId_++;
  if (id == 0) id = nextId_++;
  wire::Frame reply;
  const Await result = connection->Write(wire::Encode(wire::Frame{op, 0, id, 0, std::move(body)}))
                           ? AwaitAnswer(*connection, id, timeoutMs, &reply)
                           : Await::kBroken;
  if (result == Await::kBroken) {
    connection->Close();
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  if (result == Await::kTimedOut) {
    SetLastError(ERROR_TIMEOUT);
    return false;
  }
  if (reply.status != 0) {
    SetLastError(reply.status);
    return false;
  }
  *answer = std::move(reply.body);
  return true;
}

void Channel::Run() {
  std::vector<pollfd> fds;
  std::vector<ConnectionRef> polled;
  while (!stopping_) {
    {
      std::lock_guard<std::mutex> guard(connectionsLock_);
      polled = connections_;
    }
    fds.assign({pollfd{wake_, POLLIN, 0}, pollfd{listen_, POLLIN, 0}});
    for (const auto& connection : polled) fds.push_back(pollfd{connection->fd(), POLLIN, 0});
    if (::poll(fds.data(), fds.size(), -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (fds[0].revents) {
      std::uint64_t count;
      [[maybe_unused]] const ssize_t n = ::read(wake_, &count, sizeof count);
    }
    if (fds[1].revents) Accept();
    for (std::size_t i = 0; i < polled.size(); ++i)
      if (fds[i + 2].revents) ReadFrom(polled[i]);
  }
}

void Channel::Accept() {
  for (;;) {
    const int fd = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) return;
    const pid_t peer = SameUserProcess(fd);
    if (peer == 0) {  // another user's process: no word is read from it
      ::close(fd);
      continue;
    }
    LimitSendTime(fd);
    std::lock_guard<std::mutex> guard(connectionsLock_);
    connections_.push_back(std::make_shared<Connection>(fd, static_cast<DWORD>(peer)));
  }
}

void Channel::ReadFrom(const ConnectionRef& connection) {
  char buffer[65536];
  const ssize_t n = ::recv(connection->fd(), buffer, sizeof buffer, MSG_DONTWAIT);
  if (n < 0 && (errno == EINTR || errno == EAGAIN)) return;
  if (n <= 0) {
    Drop(connection);
    return;
  }
  connection->parser.Feed(buffer, static_cast<std::size_t>(n));
  for (;;) {
    wire::Frame frame;
    const auto result = connection->parser.Next(&frame);
    if (result == wire::Parser::Result::kNeedMore) return;
    if (result == wire::Parser::Result::kBad) {
      Drop(connection);
      return;
    }
    if (frame.flags & wire::kAnswerFlag) {  // nobody asked this process's listener anything
      Drop(connection);
      return;
    }
    Serve(connection, std::move(frame));
  }
}

void Channel::Drop(const ConnectionRef& connection) {
  connection->Close();
  std::lock_guard<std::mutex> guard(connectionsLock_);
  std::erase(connections_, connection);
}

// The channel of the current machine root; replaced when the root changes.
struct Current {
  std::mutex lock;
  std::shared_ptr<Channel> channel;
  std::uint64_t generation = 0;
  ~Current() {
    std::lock_guard<std::mutex> guard(lock);
    channel.reset();
  }
};

std::shared_ptr<Channel> TheChannel() {
  static Current current;
  std::lock_guard<std::mutex> guard(current.lock);
  const std::uint64_t generation = machine::RootGeneration();
  if (!current.channel || current.generation != generation) {
    current.channel.reset();
    current.channel = std::make_shared<Channel>();
    current.generation = generation;
  }
  return current.channel;
}

// A slot whose holder ended leaves its socket behind: removed once its lock is free.
void ReapSlot(const std::string& folder, int slot) {
  const int fd = ::open((folder + "/" + SlotFile(slot, ".lock")).c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return;
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink((folder + "/" + SlotFile(slot, ".sock")).c_str());
  ::close(fd);
}

}  // namespace

int LocalSlot() { return TheChannel()->slot(); }

std::string UsableFolder() {
  const std::string folder = ChannelFolder();
  return PrivateFolder(machine::RuntimeFolder()) && PrivateFolder(folder) ? folder : std::string();
}

std::string SocketPath(int slot) { return ChannelFolder() + "/" + SlotFile(slot, ".sock"); }

std::vector<int> PeerSlots() {
  const int own = LocalSlot();
  const std::string folder = ChannelFolder();
  std::vector<int> slots;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return slots;
  while (const dirent* entry = ::readdir(dir)) {
    int slot = 0;
    char tail[8] = {};
    if (std::sscanf(entry->d_name, "slot-%d.%7s", &slot, tail) == 2 &&
        std::strcmp(tail, "sock") == 0 && slot > 0 && slot <= kMaxSlot && slot != own &&
        entry->d_name == SlotFile(slot, ".sock"))
      slots.push_back(slot);
  }
  ::closedir(dir);
  std::sort(slots.begin(), slots.end());
  std::vector<int> live;
  for (int slot : slots) {
    const int fd = ::open((folder + "/" + SlotFile(slot, ".lock")).c_str(), O_RDWR | O_CLOEXEC);
    const bool held = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    if (fd >= 0) ::close(fd);
    if (held)
      live.push_back(slot);
    else
      ReapSlot(folder, slot);
  }
  return live;
}

bool Call(int slot, wire::Op op, std::string body, std::string* answer, DWORD timeoutMs) {
  return TheChannel()->Call(slot, op, std::move(body), answer, timeoutMs);
}

DWORD PeerProcessId(const ConnectionRef& connection) { return connection->peerProcess(); }

void Answer(const ConnectionRef& connection, const wire::Frame& request, std::uint32_t status,
            std::string body) {
  connection->Write(wire::Encode(
      wire::Frame{request.op, wire::kAnswerFlag, request.id, status, std::move(body)}));
}

void WriteForeground(HWND window) {
  const int fd = ::open((ChannelFolder() + "/foreground").c_str(),
                        O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return;
  wire::Writer out;
  const std::string bytes = out.U32(HandleValue(window)).Take();
  [[maybe_unused]] const ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), 0);
  ::close(fd);
}

HWND ReadForeground() {
  const int fd = ::open((ChannelFolder() + "/foreground").c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  char bytes[4];
  const ssize_t n = ::pread(fd, bytes, sizeof bytes, 0);
  ::close(fd);
  std::uint32_t value = 0;
  wire::Reader in(std::string_view(bytes, n == 4 ? 4 : 0));
  return in.U32(&value) ? MakeHandle(value) : nullptr;
}

}  // namespace zx::user::channel
