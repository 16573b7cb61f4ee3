// Key handles: predefined keys, opened keys and the rights they carry.
#include "keyhandle.h"

#include "winreg.h"

namespace zx::registry {
namespace {

constexpr DWORD kMaximumAllowed = 0x02000000;
constexpr DWORD kGenericRead = 0x80000000;
constexpr DWORD kGenericWrite = 0x40000000;
constexpr DWORD kGenericAll = 0x10000000;
constexpr std::u16string_view kClassesPath = u"SOFTWARE\\Classes";

struct Predefined {
  HKEY key;
  HiveId hive;
  std::u16string_view path;
};

const Predefined* FindPredefined(HKEY hKey) {
  static const Predefined kKeys[] = {
      {HKEY_CLASSES_ROOT, HiveId::kLocalMachine, kClassesPath},
      {HKEY_CURRENT_USER, HiveId::kCurrentUser, u""},
      {HKEY_LOCAL_MACHINE, HiveId::kLocalMachine, u""},
      {HKEY_USERS, HiveId::kUsers, u""},
  };
  for (const Predefined& p : kKeys)
    if (p.key == hKey) return &p;
  return nullptr;
}

// Generic and maximum rights become the key rights they stand for.
REGSAM GrantedRights(REGSAM desired) {
  REGSAM granted = desired & KEY_ALL_ACCESS;
  if (desired & (kMaximumAllowed | kGenericAll)) granted |= KEY_ALL_ACCESS;
  if (desired & kGenericRead) granted |= KEY_READ;
  if (desired & kGenericWrite) granted |= KEY_WRITE;
  return granted;
}

}  // namespace

KeyAccess::KeyAccess(HKEY hKey, HiveStore::Access::Mode mode, REGSAM needed) {
  rights_ = KEY_ALL_ACCESS;
  if (const Predefined* p = FindPredefined(hKey)) {
    store_ = OpenHive(p->hive);
    path_ = p->path;
  } else {
    object_ = zx::ReferenceHandleAs<KeyObject>(reinterpret_cast<HANDLE>(hKey));
    if (!object_) {
      status_ = ERROR_INVALID_HANDLE;
      return;
    }
    store_ = object_->hive;
    path_ = object_->path;
    rights_ = object_->access;
  }
  if ((rights_ & needed) != needed) {
    status_ = ERROR_ACCESS_DENIED;
    return;
  }
  access_.emplace(*store_, mode);
  if ((status_ = access_->status()) != ERROR_SUCCESS) return;

  if (object_ && object_->key && object_->epoch == access_->epoch()) {
    key_ = object_->key;
    if (key_->deleted()) status_ = ERROR_KEY_DELETED;
    return;
  }
  key_ = access_->tree().Find(path_);
  if (!key_ && !object_ && mode == HiveStore::Access::kWrite) {
    // HKEY_CLASSES_ROOT's key comes back when something is written under it.
    status_ = access_->Commit(Change{ChangeOp::CreateKey, std::u16string(path_), {}, 0, {}});
    if (status_ != ERROR_SUCCESS) return;
    key_ = access_->tree().Find(path_);
  }
  if (!key_) {
    status_ = object_ ? ERROR_KEY_DELETED : ERROR_FILE_NOT_FOUND;
    return;
  }
  if (object_) {
    object_->key = key_;
    object_->epoch = access_->epoch();
  }
}

HKEY KeyAccess::NewHandle(std::u16string path, REGSAM access, std::shared_ptr<Key> key) const {
  auto object = std::make_shared<KeyObject>();
  object->hive = store_;
  object->path = std::move(path);
  object->access = GrantedRights(access);
  object->key = std::move(key);
  object->epoch = access_->epoch();
  return reinterpret_cast<HKEY>(zx::InsertHandle(std::move(object)));
}

LONG SplitSubKey(LPCWSTR subKey, std::vector<std::u16string_view>& names) {
  names.clear();
  if (subKey == nullptr) return ERROR_SUCCESS;
  std::u16string_view rest(subKey);
  if (!rest.empty() && rest.front() == u'\\') return ERROR_BAD_PATHNAME;
  if (!rest.empty() && rest.back() == u'\\') rest.remove_suffix(1);
  while (!rest.empty()) {
    const std::size_t end = rest.find(u'\\');
    const std::u16string_view name = rest.substr(0, end);
    if (name.empty()) return ERROR_BAD_PATHNAME;
    if (name.size() > kMaxKeyNameLength) return ERROR_INVALID_PARAMETER;
    names.push_back(name);
    rest.remove_prefix(end == rest.npos ? rest.size() : end + 1);
  }
  return ERROR_SUCCESS;
}

void AppendName(std::u16string& path, std::u16string_view name) {
  if (!path.empty()) path += u'\\';
  path += name;
}

std::size_t Depth(std::u16string_view path) {
  if (path.empty()) return 0;
  std::size_t depth = 1;
  for (char16_t c : path) depth += c == u'\\';
  return depth;
}

}  // namespace zx::registry
