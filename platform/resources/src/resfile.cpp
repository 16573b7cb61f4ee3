// Writing and reading resource files.
#include "zx/resfile.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "bytes.h"
#include "versiontree.h"
#include "zx/restemplates.h"

namespace zx::res {
namespace {

DWORD Crc(const BYTE* data, std::size_t size) {
  uLong crc = crc32(0L, Z_NULL, 0);
  while (size > 0) {
    const uInt chunk = static_cast<uInt>(std::min<std::size_t>(size, 1u << 30));
    crc = crc32(crc, data, chunk);
    data += chunk;
    size -= chunk;
  }
  return static_cast<DWORD>(crc);
}

std::string Describe(const ResourceId& id) {
  if (id.isNumber) return std::to_string(id.number);
  std::string text;
  for (char16_t c : id.name) text.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return "\"" + text + "\"";
}

std::string KindName(const ResourceId& type) {
  if (!type.isNumber) return Describe(type);
  switch (type.number) {
    case kDialog: return "dialog";
    case kMenu: return "menu";
    case kString: return "string block";
    case kVersion: return "version record";
    case kGroupIcon: return "icon directory";
    case kGroupCursor: return "cursor directory";
    default: return "resource type " + std::to_string(type.number);
  }
}

bool CheckStringBlock(const BYTE* data, std::size_t size, std::string& error) {
  ByteReader r(data, size);
  for (int i = 0; i < 16; ++i) r.Skip(std::size_t{r.U16()} * 2);
  if (!r.ok()) error = "the strings run past the end of the block";
  return r.ok();
}

// An icon or cursor directory whose images all exist.
bool CheckGroup(const ResourceFile& file, const ResourceFile::Resource& group, std::string& error) {
  const bool cursor = group.type.number == kGroupCursor;
  ByteReader r(group.data, group.size);
  const WORD reserved = r.U16();
  const WORD type = r.U16();
  const WORD count = r.U16();
  if (!r.ok() || reserved != 0 || type != (cursor ? 2 : 1)) {
    error = "the directory header is malformed";
    return false;
  }
  for (WORD i = 0; i < count; ++i) {
    r.Skip(12);
    const WORD id = r.U16();
    if (!r.ok()) {
      error = "the directory runs past its end";
      return false;
    }
    if (!file.Find(ResourceId::Number(cursor ? kCursor : kIcon), ResourceId::Number(id))) {
      error = "image " + std::to_string(id) + " of the directory is missing";
      return false;
    }
  }
  return true;
}

bool CheckContent(const ResourceFile& file, const ResourceFile::Resource& resource,
                  std::string& error) {
  if (!resource.type.isNumber) return true;
  switch (resource.type.number) {
    case kDialog: {
      DialogTemplate dialog;
      return ReadDialogTemplate(resource.data, resource.size, dialog, error);
    }
    case kMenu: {
      std::vector<MenuTemplateItem> items;
      return ReadMenuTemplate(resource.data, resource.size, items, error);
    }
    case kString: return CheckStringBlock(resource.data, resource.size, error);
    case kVersion: return CheckVersionResource(resource.data, resource.size, error);
    case kGroupIcon:
    case kGroupCursor: return CheckGroup(file, resource, error);
    default: return true;
  }
}

struct NameRef {
  bool ok;
  ResourceId id;
};

NameRef ReadId(DWORD value, const BYTE* pool, std::size_t poolSize) {
  if (!(value & kNameFlag)) return {value <= 0xFFFF, ResourceId::Number(static_cast<WORD>(value))};
  const std::size_t at = value & ~kNameFlag;
  ByteReader r(pool, poolSize);
  r.Skip(at);
  const WORD count = r.U16();
  std::u16string name;
  for (WORD i = 0; i < count && r.ok(); ++i) name.push_back(static_cast<char16_t>(r.U16()));
  return {r.ok() && count > 0, ResourceId::Name(std::move(name))};
}

}  // namespace

bool ResourceId::operator<(const ResourceId& other) const {
  if (isNumber != other.isNumber) return isNumber;
  return isNumber ? number < other.number : name < other.name;
}

bool WriteResourceFile(std::vector<ResourceInput> resources, std::vector<BYTE>& file,
                       std::string& error) {
  std::sort(resources.begin(), resources.end(), [](const ResourceInput& a, const ResourceInput& b) {
    if (!(a.type == b.type)) return a.type < b.type;
    if (!(a.name == b.name)) return a.name < b.name;
    return a.language < b.language;
  });
  for (std::size_t i = 1; i < resources.size(); ++i) {
    const ResourceInput& a = resources[i - 1];
    const ResourceInput& b = resources[i];
    if (a.type == b.type && a.name == b.name && a.language == b.language) {
      error = KindName(a.type) + " " + Describe(a.name) + " is defined twice";
      return false;
    }
  }
  // The name pool, each name once.
  ByteWriter pool;
  std::map<std::u16string, DWORD> placed;
  auto reference = [&](const ResourceId& id) -> DWORD {
    if (id.isNumber) return id.number;
    auto it = placed.find(id.name);
    if (it != placed.end()) return it->second;
    pool.Align(4);
    const DWORD at = kNameFlag | static_cast<DWORD>(pool.size());
    pool.U16(static_cast<WORD>(id.name.size()));
    for (char16_t c : id.name) pool.U16(c);
    placed.emplace(id.name, at);
    return at;
  };
  std::vector<std::pair<DWORD, DWORD>> ids;
  for (const ResourceInput& r : resources) ids.emplace_back(reference(r.type), reference(r.name));
  pool.Align(8);

  ByteWriter out;
  const DWORD count = static_cast<DWORD>(resources.size());
  const DWORD poolOffset = kHeaderSize + count * kEntrySize;
  out.Bytes(reinterpret_cast<const BYTE*>(kMagic), 4);
  out.U16(kFormatVersion);
  out.U16(static_cast<WORD>(kHeaderSize));
  out.U32(count);
  out.U32(0);  // file size, patched below
  out.U32(0);  // checksum, patched below
  out.U32(poolOffset);
  out.U32(static_cast<DWORD>(pool.size()));
  out.U32(0);
  std::size_t dataAt = (poolOffset + pool.size() + 7) & ~std::size_t{7};
  for (std::size_t i = 0; i < resources.size(); ++i) {
    out.U32(ids[i].first);
    out.U32(ids[i].second);
    out.U16(resources[i].language);
    out.U16(0);
    out.U32(static_cast<DWORD>(dataAt));
    out.U32(static_cast<DWORD>(resources[i].data.size()));
    out.U32(0);
    dataAt = (dataAt + resources[i].data.size() + 7) & ~std::size_t{7};
  }
  out.Bytes(pool.bytes().data(), pool.size());
  for (const ResourceInput& r : resources) {
    out.Align(8);
    out.Bytes(r.data.data(), r.data.size());
  }
  if (out.size() > 0xFFFFFFF0u) {
    error = "the resources do not fit in one resource file";
    return false;
  }
  file = std::move(out.bytes());
  SealResourceFile(file);
  return true;
}

void SealResourceFile(std::vector<BYTE>& file) {
  if (file.size() < kHeaderSize) return;
  ByteWriter patch;
  patch.U32(static_cast<DWORD>(file.size()));
  patch.U32(Crc(file.data() + kHeaderSize, file.size() - kHeaderSize));
  std::copy(patch.bytes().begin(), patch.bytes().end(), file.begin() + 12);
}

std::shared_ptr<const ResourceFile> ResourceFile::Parse(std::vector<BYTE> bytes, std::string& error) {
  std::shared_ptr<ResourceFile> file(new ResourceFile);
  const std::size_t size = bytes.size();
  file->storage_.reset(new std::uint64_t[(size + 7) / 8 + 1]());
  BYTE* data = reinterpret_cast<BYTE*>(file->storage_.get());
  if (size) std::memcpy(data, bytes.data(), size);

  ByteReader header(data, size);
  char magic[4];
  for (char& c : magic) c = static_cast<char>(header.U8());
  const WORD version = header.U16();
  const WORD headerSize = header.U16();
  const DWORD count = header.U32();
  const DWORD fileSize = header.U32();
  const DWORD crc = header.U32();
  const DWORD poolOffset = header.U32();
  const DWORD poolSize = header.U32();
  const DWORD reserved = header.U32();
  if (!header.ok() || std::memcmp(magic, kMagic, 4) != 0) {
    error = "not a resource file";
    return nullptr;
  }
  if (version != kFormatVersion || headerSize != kHeaderSize || reserved != 0) {
    error = "resource file format " + std::to_string(version) + " is not known";
    return nullptr;
  }
  if (fileSize != size) {
    error = "the resource file is " + std::to_string(size) + " bytes long, its header says " +
            std::to_string(fileSize);
    return nullptr;
  }
  if (Crc(data + kHeaderSize, size - kHeaderSize) != crc) {
    error = "the resource file is damaged: its checksum does not match";
    return nullptr;
  }
  const std::size_t entriesEnd = kHeaderSize + std::size_t{count} * kEntrySize;
  if (count > size / kEntrySize || poolOffset < entriesEnd || poolOffset > size ||
      poolSize > size - poolOffset) {
    error = "the resource directory runs past the end of the file";
    return nullptr;
  }
  const std::size_t dataStart = poolOffset + std::size_t{poolSize};
  ByteReader entries(data + kHeaderSize, std::size_t{count} * kEntrySize);
  for (DWORD i = 0; i < count; ++i) {
    const NameRef type = ReadId(entries.U32(), data + poolOffset, poolSize);
    const NameRef name = ReadId(entries.U32(), data + poolOffset, poolSize);
    const WORD language = entries.U16();
    entries.Skip(2);
    const DWORD offset = entries.U32();
    const DWORD length = entries.U32();
    entries.Skip(4);
    const std::string which = "entry " + std::to_string(i + 1);
    if (!type.ok || !name.ok) {
      error = which + " names a type or name outside the name pool";
      return nullptr;
    }
    if (offset % 8 != 0 || offset < dataStart || offset > size || length > size - offset) {
      error = which + " (" + KindName(type.id) + " " + Describe(name.id) +
              ") has data outside the file";
      return nullptr;
    }
    file->resources_.push_back({type.id, name.id, language, data + offset, length});
  }
  for (std::size_t i = 1; i < file->resources_.size(); ++i) {
    const Resource& a = file->resources_[i - 1];
    const Resource& b = file->resources_[i];
    const bool ordered = a.type < b.type ||
                         (a.type == b.type && (a.name < b.name ||
                                               (a.name == b.name && a.language < b.language)));
    if (!ordered) {
      error = "the resource directory is out of order or repeats " + KindName(b.type) + " " +
              Describe(b.name);
      return nullptr;
    }
  }
  for (const Resource& resource : file->resources_) {
    std::string problem;
    if (!CheckContent(*file, resource, problem)) {
      error = KindName(resource.type) + " " + Describe(resource.name) + ": " + problem;
      return nullptr;
    }
  }
  return file;
}

const ResourceFile::Resource* ResourceFile::Find(const ResourceId& type, const ResourceId& name,
                                                 WORD language) const {
  const Resource* best = nullptr;
  int bestRank = 4;
  for (const Resource& r : resources_) {
    if (!(r.type == type) || !(r.name == name)) continue;
    int rank;
    if (language != 0) rank = r.language == language ? 0 : 4;
    else rank = r.language == 0 ? 1 : r.language == kDefaultLanguage ? 2 : 3;
    if (rank < bestRank) {
      best = &r;
      bestRank = rank;
    }
  }
  return best;
}

bool ResourceFile::HasType(const ResourceId& type) const {
  return std::any_of(resources_.begin(), resources_.end(),
                     [&](const Resource& r) { return r.type == type; });
}

}  // namespace zx::res
