// The in-memory key tree of a hive and how changes apply to it.
#include <utility>

#include "zx/casefold.h"
#include "zx/hive.h"

namespace zx::registry {
namespace {

// Splits a '\'-separated path into its names; false for an empty name or a path too deep.
bool SplitPath(std::u16string_view path, std::vector<std::u16string_view>& names) {
  names.clear();
  if (path.empty()) return true;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = path.find(u'\\', start);
    const std::u16string_view name = path.substr(start, end == path.npos ? path.npos : end - start);
    if (name.empty() || name.size() > kMaxKeyNameLength || names.size() == kMaxKeyDepth)
      return false;
    names.push_back(name);
    if (end == path.npos) return true;
    start = end + 1;
  }
}

}  // namespace

std::u16string FoldName(std::u16string_view name) {
  std::u16string folded(name);
  for (char16_t& c : folded) c = zx::FoldCase(c);
  return folded;
}

std::shared_ptr<Key> Key::FindSubkey(std::u16string_view name) const {
  auto it = subkeys_.find(FoldName(name));
  return it == subkeys_.end() ? nullptr : it->second;
}

const Value* Key::FindValue(std::u16string_view name) const {
  auto it = valueIndex_.find(FoldName(name));
  return it == valueIndex_.end() ? nullptr : &values_[it->second];
}

Key& Key::AddSubkey(std::u16string_view name) {
  std::shared_ptr<Key>& slot = subkeys_[FoldName(name)];
  if (!slot) {
    slot = std::make_shared<Key>(std::u16string(name));
    ++subkeyChanges_;
  }
  return *slot;
}

void Key::SetValue(std::u16string_view name, DWORD type, std::vector<BYTE> data) {
  auto [it, added] = valueIndex_.try_emplace(FoldName(name), values_.size());
  if (added) values_.push_back(Value{std::u16string(name), type, std::move(data)});
  else {
    Value& value = values_[it->second];
    value.type = type;
    value.data = std::move(data);
  }
}

bool Key::DeleteValue(std::u16string_view name) {
  auto it = valueIndex_.find(FoldName(name));
  if (it == valueIndex_.end()) return false;
  const std::size_t position = it->second;
  valueIndex_.erase(it);
  values_.erase(values_.begin() + static_cast<std::ptrdiff_t>(position));
  for (auto& [folded, index] : valueIndex_)
    if (index > position) --index;
  return true;
}

void Key::Clear() {
  for (auto& [folded, subkey] : subkeys_) subkey->MarkDeleted();
  subkeys_.clear();
  ++subkeyChanges_;
  values_.clear();
  valueIndex_.clear();
}

void Key::MarkDeleted() {
  deleted_ = true;
  for (auto& [folded, subkey] : subkeys_) subkey->MarkDeleted();
}

std::shared_ptr<Key> Tree::Find(std::u16string_view path) const {
  std::vector<std::u16string_view> names;
  if (!SplitPath(path, names)) return nullptr;
  std::shared_ptr<Key> key = root_;
  for (std::u16string_view name : names) {
    key = key->FindSubkey(name);
    if (!key) return nullptr;
  }
  return key;
}

bool Tree::Apply(const Change& change) {
  if (change.op == ChangeOp::CreateKey) {
    std::vector<std::u16string_view> names;
    if (!SplitPath(change.path, names)) return false;
    Key* key = root_.get();
    for (std::u16string_view name : names) key = &key->AddSubkey(name);
    return true;
  }
  if (change.op == ChangeOp::DeleteTree) {
    // The parent's path and the key's name; the root itself cannot go.
    const std::u16string_view path(change.path);
    const std::size_t cut = path.rfind(u'\\');
    const std::u16string_view name = path.substr(cut == path.npos ? 0 : cut + 1);
    std::shared_ptr<Key> parent = path.empty() ? nullptr : Find(path.substr(0, cut == path.npos ? 0 : cut));
    if (!parent) return false;
    auto it = parent->subkeys_.find(FoldName(name));
    if (it == parent->subkeys_.end()) return false;
    it->second->MarkDeleted();
    parent->subkeys_.erase(it);
    ++parent->subkeyChanges_;
    return true;
  }
  std::shared_ptr<Key> key = Find(change.path);
  if (!key) return false;
  switch (change.op) {
    case ChangeOp::ClearKey:
      key->Clear();
      return true;
    case ChangeOp::SetValue:
      if (change.name.size() > kMaxValueNameLength) return false;
      key->SetValue(change.name, change.type, change.data);
      return true;
    case ChangeOp::DeleteValue:
      return key->DeleteValue(change.name);
    case ChangeOp::SetSecurity:
      key->security_ = change.data;
      return true;
    default:
      return false;
  }
}

}  // namespace zx::registry
