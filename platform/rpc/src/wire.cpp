// Endpoint sockets and call frames of the RPC transport.
#include "wire.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "zx/casefold.h"
#include "zx/machine.h"

namespace zx::rpc {
namespace {

constexpr char kMagic[4] = {'Z', 'X', 'R', 'P'};

std::string Folder() {
  const std::string folder = machine::RuntimeFolder() + "/rpc";
  ::mkdir(folder.c_str(), 0700);
  return folder;
}

// Runs action on the socket address of name; a folder path too long for an address is
// reached through a descriptor of the folder.
template <class Action>
int WithAddress(const std::string& name, Action action) {
  const std::string folder = Folder();
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::string path = folder + "/" + name;
  int folderFd = -1;
  if (path.size() >= sizeof address.sun_path) {
    folderFd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    path = "/proc/self/fd/" + std::to_string(folderFd) + "/" + name;
  }
  int result = -1;
  if (path.size() < sizeof address.sun_path) {
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    result = action(address);
  }
  if (folderFd >= 0) ::close(folderFd);
  return result;
}

bool WriteAll(int fd, const void* data, std::size_t size) {
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  while (size > 0) {
    const ssize_t sent = ::send(fd, bytes, size, MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return false;
    bytes += sent;
    size -= static_cast<std::size_t>(sent);
  }
  return true;
}

bool ReadAll(int fd, void* data, std::size_t size) {
  auto* bytes = static_cast<std::uint8_t*>(data);
  while (size > 0) {
    const ssize_t got = ::recv(fd, bytes, size, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    bytes += got;
    size -= static_cast<std::size_t>(got);
  }
  return true;
}

}  // namespace

bool EndpointName(const std::u16string& protseq, const std::u16string& endpoint, std::string& name,
                  RPC_STATUS& status) {
  std::u16string leaf = endpoint;
  if (EqualNoCase(protseq.c_str(), u"ncacn_np")) {
    const std::u16string prefix = u"\\pipe\\";
    if (leaf.size() <= prefix.size() || !EqualNoCase(leaf.substr(0, prefix.size()).c_str(), prefix.c_str())) {
      status = RPC_S_INVALID_ENDPOINT_FORMAT;
      return false;
    }
    leaf = leaf.substr(prefix.size());
  } else if (!EqualNoCase(protseq.c_str(), u"ncalrpc")) {
    status = RPC_S_PROTSEQ_NOT_SUPPORTED;
    return false;
  }
  if (leaf.empty() || leaf.size() > 100) {
    status = RPC_S_INVALID_ENDPOINT_FORMAT;
    return false;
  }
  name.clear();
  for (char16_t c : leaf) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    const bool plain = (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'.' ||
                       c == u'-' || c == u'_';
    name += plain ? static_cast<char>(c) : '_';
  }
  if (name == "." || name == "..") name = "_" + name;
  return true;
}

int ListenOn(const std::string& name, RPC_STATUS& status) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    status = RPC_S_OUT_OF_RESOURCES;
    return -1;
  }
  const int bound = WithAddress(name, [&](const sockaddr_un& address) {
    // A socket left by a server that ended is taken over; a live one is not.
    const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool alive = ::connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(probe);
    if (alive) {
      status = RPC_S_DUPLICATE_ENDPOINT;
      return -1;
    }
    ::unlink(address.sun_path);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::chmod(address.sun_path, 0600) != 0 || ::listen(fd, 64) != 0) {
      status = RPC_S_CANT_CREATE_ENDPOINT;
      return -1;
    }
    return 0;
  });
  if (bound != 0) {
    if (status == RPC_S_OK) status = RPC_S_CANT_CREATE_ENDPOINT;
    ::close(fd);
    return -1;
  }
  return fd;
}

int ConnectTo(const std::string& name, RPC_STATUS& status) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const int connected = fd < 0 ? -1 : WithAddress(name, [&](const sockaddr_un& address) {
    return ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  });
  if (connected != 0) {
    if (fd >= 0) ::close(fd);
    status = RPC_S_SERVER_UNAVAILABLE;
    return -1;
  }
  unsigned uid = 0, pid = 0;
  if (!PeerOf(fd, uid, pid) || uid != ::getuid()) {
    ::close(fd);
    status = ERROR_ACCESS_DENIED;
    return -1;
  }
  return fd;
}

bool PeerOf(int fd, unsigned& uid, unsigned& pid) {
  ucred credentials{};
  socklen_t length = sizeof credentials;
  if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0) return false;
  uid = credentials.uid;
  pid = static_cast<unsigned>(credentials.pid);
  return true;
}

bool WriteRequest(int fd, const Request& request) {
  const auto length = static_cast<std::uint32_t>(request.payload.size());
  return WriteAll(fd, kMagic, sizeof kMagic) &&
         WriteAll(fd, &request.interfaceId.SyntaxGUID, sizeof(GUID)) &&
         WriteAll(fd, &request.interfaceId.SyntaxVersion, sizeof(RPC_VERSION)) &&
         WriteAll(fd, &request.procNum, sizeof request.procNum) &&
         WriteAll(fd, &length, sizeof length) &&
         WriteAll(fd, request.payload.data(), request.payload.size());
}

bool ReadRequest(int fd, Request& request) {
  char magic[4];
  std::uint32_t length = 0;
  if (!ReadAll(fd, magic, sizeof magic) || std::memcmp(magic, kMagic, sizeof magic) != 0 ||
      !ReadAll(fd, &request.interfaceId.SyntaxGUID, sizeof(GUID)) ||
      !ReadAll(fd, &request.interfaceId.SyntaxVersion, sizeof(RPC_VERSION)) ||
      !ReadAll(fd, &request.procNum, sizeof request.procNum) || !ReadAll(fd, &length, sizeof length) ||
      length > kMaxPayload)
    return false;
  request.payload.resize(length);
  return ReadAll(fd, request.payload.data(), length);
}

bool WriteReply(int fd, RPC_STATUS status, const void* payload, std::uint32_t length) {
  return WriteAll(fd, &status, sizeof status) && WriteAll(fd, &length, sizeof length) &&
         WriteAll(fd, payload, length);
}

bool ReadReply(int fd, RPC_STATUS& status, std::vector<std::uint8_t>& payload) {
  std::uint32_t length = 0;
  if (!ReadAll(fd, &status, sizeof status) || !ReadAll(fd, &length, sizeof length) ||
      length > kMaxPayload)
    return false;
  payload.resize(length);
  return ReadAll(fd, payload.data(), length);
}

}  // namespace zx::rpc
