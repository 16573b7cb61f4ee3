// The security of files, folders and keys: stored parts, inheritance and defaults.
#include "objectsecurity.h"

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "accounts.h"
#include "fileapi.h"
#include "winreg.h"
#include "zx/keysecurity.h"
#include "zx/machine.h"

namespace zx::security {
namespace {

// Where a file keeps its own descriptor.
constexpr char kAttribute[] = "user.zx.security";

GENERIC_MAPPING FileMapping() {
  return {FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE, FILE_ALL_ACCESS};
}
GENERIC_MAPPING KeyMapping() { return {KEY_READ, KEY_WRITE, KEY_EXECUTE, KEY_ALL_ACCESS}; }

using Stored = std::optional<Parts>;

// An object's own parts from its stored bytes (none stored: empty bytes).
DWORD ParseStored(const std::vector<BYTE>& bytes, Stored& stored) {
  stored.reset();
  if (bytes.empty()) return ERROR_SUCCESS;
  Parts parts;
  if (!ReadSelfRelative(bytes.data(), bytes.size(), parts)) return ERROR_INVALID_SECURITY_DESCR;
  stored = std::move(parts);
  return ERROR_SUCCESS;
}

// The entries of an ancestor `distance` levels up (1: the parent) that reach an object, as
// the object inherits them.
void Inherit(const Parts& ancestor, int distance, bool container, std::vector<Ace>& out) {
  for (const Ace& ace : ancestor.dacl) {
    const BYTE flags = ace.flags;
    const bool objects = (flags & OBJECT_INHERIT_ACE) != 0;
    const bool containers = (flags & CONTAINER_INHERIT_ACE) != 0;
    const bool noPropagate = (flags & NO_PROPAGATE_INHERIT_ACE) != 0;
    if ((!objects && !containers) || (distance > 1 && noPropagate)) continue;
    Ace inherited = ace;
    if (!container) {
      if (!objects) continue;
      inherited.flags = INHERITED_ACE;
    } else if (noPropagate) {
      if (!containers) continue;
      inherited.flags = INHERITED_ACE;
    } else {
      inherited.flags = static_cast<BYTE>((flags & (OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE)) |
                                          INHERITED_ACE | (containers ? 0 : INHERIT_ONLY_ACE));
    }
    out.push_back(std::move(inherited));
  }
}

// What a reader sees: the object's own parts, the entries its ancestors (nearest first) pass
// down, and those every object inherits from the top.
Parts Compose(const Stored& own, const std::vector<Stored>& ancestors, bool container,
              const std::vector<Ace>& topEntries, const Sid& defaultOwner) {
  Parts parts;
  parts.owner = own && !own->owner.empty() ? own->owner : defaultOwner;
  parts.group = own && !own->group.empty() ? own->group : UsersSid();
  parts.daclPresent = true;
  if (own && own->daclPresent) {
    parts.daclProtected = own->daclProtected;
    parts.daclNull = own->daclNull;
    parts.dacl = own->dacl;
    if (own->daclNull || own->daclProtected) return parts;
  }
  int distance = 1;
  for (const Stored& ancestor : ancestors) {
    if (ancestor && ancestor->daclPresent) {
      if (!ancestor->daclNull) Inherit(*ancestor, distance, container, parts.dacl);
      // A list that inherits nothing passes nothing from above it.
      if (ancestor->daclNull || ancestor->daclProtected) return parts;
    }
    ++distance;
  }
  parts.dacl.insert(parts.dacl.end(), topEntries.begin(), topEntries.end());
  return parts;
}

// Applies a write of the parts named by info to an object's own parts.
DWORD Merge(Parts& own, SECURITY_INFORMATION info, const Parts& given, GENERIC_MAPPING mapping) {
  if ((info & SACL_SECURITY_INFORMATION) != 0) return ERROR_NOT_SUPPORTED;
  if ((info & OWNER_SECURITY_INFORMATION) != 0) {
    if (given.owner.empty()) return ERROR_INVALID_OWNER;
    own.owner = given.owner;
  }
  if ((info & GROUP_SECURITY_INFORMATION) != 0) {
    if (given.group.empty()) return ERROR_INVALID_PRIMARY_GROUP;
    own.group = given.group;
  }
  if ((info & DACL_SECURITY_INFORMATION) != 0) {
    own.daclPresent = true;
    own.daclNull = !given.daclPresent || given.daclNull;
    own.dacl.clear();
    for (Ace ace : given.dacl) {
      if ((ace.flags & INHERITED_ACE) != 0) continue;  // those come from the parents
      MapGenericMask(&ace.mask, &mapping);
      own.dacl.push_back(std::move(ace));
    }
    // Without either flag the list keeps whether it inherits.
    if ((info & PROTECTED_DACL_SECURITY_INFORMATION) != 0) own.daclProtected = true;
    if ((info & UNPROTECTED_DACL_SECURITY_INFORMATION) != 0) own.daclProtected = false;
  }
  return ERROR_SUCCESS;
}

Ace Allow(const Sid& sid, DWORD mask, BYTE flags) { return Ace{ACCESS_ALLOWED_ACE_TYPE, flags, mask, sid}; }

// ---- files ----------------------------------------------------------------------------

DWORD FromErrno(int error) {
  switch (error) {
    case ENOENT:
      return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
      return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
      return ERROR_ACCESS_DENIED;
    case ENOTSUP:
      return ERROR_NOT_SUPPORTED;
    case ENOSPC:
    case E2BIG:
      return ERROR_DISK_FULL;
    default:
      return ERROR_GEN_FAILURE;
  }
}

DWORD ReadStoredFile(const std::string& host, Stored& stored) {
  std::vector<BYTE> bytes;
  for (int attempt = 0; attempt < 3; ++attempt) {
    const ssize_t size = ::getxattr(host.c_str(), kAttribute, nullptr, 0);
    if (size < 0) {
      stored.reset();
      return errno == ENODATA || errno == ENOTSUP ? ERROR_SUCCESS : FromErrno(errno);
    }
    bytes.resize(static_cast<std::size_t>(size));
    const ssize_t got = ::getxattr(host.c_str(), kAttribute, bytes.data(), bytes.size());
    if (got >= 0) {
      bytes.resize(static_cast<std::size_t>(got));
      return ParseStored(bytes, stored);
    }
    if (errno != ERANGE) return FromErrno(errno);  // ERANGE: it grew in between
  }
  return ERROR_GEN_FAILURE;
}

DWORD WriteStoredFile(const std::string& host, const struct stat& st, const std::vector<BYTE>& bytes) {
  if (::setxattr(host.c_str(), kAttribute, bytes.data(), bytes.size(), 0) == 0) return ERROR_SUCCESS;
  // The owner of a file no one may write may still change its security, as on Windows.
  if (errno != EACCES || st.st_uid != ::geteuid()) return FromErrno(errno);
  if (::chmod(host.c_str(), st.st_mode | S_IWUSR) != 0) return FromErrno(errno);
  const int result = ::setxattr(host.c_str(), kAttribute, bytes.data(), bytes.size(), 0);
  const int error = errno;
  ::chmod(host.c_str(), st.st_mode & 07777);
  return result == 0 ? ERROR_SUCCESS : FromErrno(error);
}

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// The folder above which nothing is inherited: the C: folder for its files, else "/".
std::string TopFolder(const std::string& host) {
  const std::string driveC = WithoutTrailingSlash(machine::DriveCFolder());
  if (host == driveC || host.compare(0, driveC.size() + 1, driveC + "/") == 0) return driveC;
  return "/";
}

// The entries of the host's permission bits (owner, Everyone) and of Administrators.
std::vector<Ace> PermissionEntries(const struct stat& st) {
  const bool folder = S_ISDIR(st.st_mode);
  auto rights = [&](mode_t read, mode_t write, mode_t execute) {
    DWORD mask = 0;
    if ((st.st_mode & read) != 0) mask |= FILE_GENERIC_READ;
    if ((st.st_mode & write) != 0) mask |= FILE_GENERIC_WRITE | DELETE | (folder ? FILE_DELETE_CHILD : 0u);
    if ((st.st_mode & execute) != 0) mask |= FILE_GENERIC_EXECUTE;
    return mask;
  };
  const BYTE flags =
      static_cast<BYTE>(INHERITED_ACE | (folder ? OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE : 0));
  std::vector<Ace> entries = {
      Allow(UserSid(st.st_uid),
            rights(S_IRUSR, S_IWUSR, S_IXUSR) | READ_CONTROL | WRITE_DAC | WRITE_OWNER | SYNCHRONIZE, flags),
      Allow(AdministratorsSid(), FILE_ALL_ACCESS, flags)};
  if (const DWORD others = rights(S_IROTH, S_IWOTH, S_IXOTH); others != 0)
    entries.push_back(Allow(EveryoneSid(), others, flags));
  return entries;
}

// ---- keys -----------------------------------------------------------------------------

std::vector<Ace> KeyEntries(bool userHive) {
  const BYTE flags = INHERITED_ACE | CONTAINER_INHERIT_ACE;
  std::vector<Ace> entries = {Allow(AdministratorsSid(), KEY_ALL_ACCESS, flags),
                              Allow(SystemSid(), KEY_ALL_ACCESS, flags)};
  entries.push_back(userHive ? Allow(CurrentUserSid(), KEY_ALL_ACCESS, flags)
                             : Allow(UsersSid(), KEY_READ, flags));
  return entries;
}

DWORD ReadKeyChain(HKEY key, REGSAM needed, Stored& own, std::vector<Stored>& ancestors, bool& userHive) {
  registry::KeySecurityChain chain;
  if (const LONG error = registry::ReadKeySecurity(key, needed, chain); error != ERROR_SUCCESS)
    return static_cast<DWORD>(error);
  userHive = chain.userHive;
  if (const DWORD error = ParseStored(chain.descriptors.front(), own); error != ERROR_SUCCESS) return error;
  ancestors.resize(chain.descriptors.size() - 1);
  for (std::size_t i = 1; i < chain.descriptors.size(); ++i)
    if (const DWORD error = ParseStored(chain.descriptors[i], ancestors[i - 1]); error != ERROR_SUCCESS)
      return error;
  return ERROR_SUCCESS;
}

}  // namespace

DWORD ReadFileSecurity(const std::string& hostPath, Parts& parts) {
  const std::string host = WithoutTrailingSlash(hostPath);
  struct stat st {};
  if (::stat(host.c_str(), &st) != 0) return FromErrno(errno);
  Stored own;
  if (const DWORD error = ReadStoredFile(host, own); error != ERROR_SUCCESS) return error;
  std::vector<Stored> ancestors;
  const std::string top = TopFolder(host);
  for (std::string folder = host; folder != top && folder != "/";) {
    const std::size_t cut = folder.rfind('/');
    folder = cut == 0 ? "/" : folder.substr(0, cut);
    ancestors.emplace_back();
    if (const DWORD error = ReadStoredFile(folder, ancestors.back()); error != ERROR_SUCCESS) return error;
  }
  parts = Compose(own, ancestors, S_ISDIR(st.st_mode), PermissionEntries(st), UserSid(st.st_uid));
  return ERROR_SUCCESS;
}

DWORD WriteFileSecurity(const std::string& hostPath, SECURITY_INFORMATION info, const Parts& given) {
  const std::string host = WithoutTrailingSlash(hostPath);
  struct stat st {};
  if (::stat(host.c_str(), &st) != 0) return FromErrno(errno);
  Stored own;
  ReadStoredFile(host, own);  // a damaged descriptor is replaced
  Parts next = own.value_or(Parts{});
  if (const DWORD error = Merge(next, info, given, FileMapping()); error != ERROR_SUCCESS) return error;
  return WriteStoredFile(host, st,
                         SelfRelative(next, OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION |
                                                DACL_SECURITY_INFORMATION));
}

DWORD ReadKeySecurity(HKEY key, Parts& parts) {
  Stored own;
  std::vector<Stored> ancestors;
  bool userHive = false;
  if (const DWORD error = ReadKeyChain(key, READ_CONTROL, own, ancestors, userHive); error != ERROR_SUCCESS)
    return error;
  parts =
      Compose(own, ancestors, true, KeyEntries(userHive), userHive ? CurrentUserSid() : AdministratorsSid());
  return ERROR_SUCCESS;
}

DWORD WriteKeySecurity(HKEY key, SECURITY_INFORMATION info, const Parts& given) {
  const REGSAM needed =
      ((info & DACL_SECURITY_INFORMATION) != 0 ? WRITE_DAC : 0u) |
      ((info & (OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION)) != 0 ? WRITE_OWNER : 0u);
  registry::KeySecurityChain chain;
  if (const LONG error = registry::ReadKeySecurity(key, needed, chain); error != ERROR_SUCCESS)
    return static_cast<DWORD>(error);
  Stored own;
  ParseStored(chain.descriptors.front(), own);  // a damaged descriptor is replaced
  Parts next = own.value_or(Parts{});
  if (const DWORD error = Merge(next, info, given, KeyMapping()); error != ERROR_SUCCESS) return error;
  return static_cast<DWORD>(registry::WriteKeySecurity(
      key, needed,
      SelfRelative(next,
                   OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION)));
}

}  // namespace zx::security
