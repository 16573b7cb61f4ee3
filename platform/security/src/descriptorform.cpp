// Reading and writing descriptors and lists.
#include "descriptorform.h"

#include <cstring>

#include "heapapi.h"

namespace zx::security {
namespace {

constexpr std::size_t kAceFixed = sizeof(ACE_HEADER) + sizeof(DWORD);
constexpr std::size_t kMinSid = 8;

void Append(std::vector<BYTE>& out, const void* data, std::size_t size) {
  const auto* bytes = static_cast<const BYTE*>(data);
  out.insert(out.end(), bytes, bytes + size);
}

// Puts a part at the end of a self-relative block and its offset in the header field.
void AppendPart(std::vector<BYTE>& out, std::size_t field, const std::vector<BYTE>& part) {
  const DWORD offset = static_cast<DWORD>(out.size());
  std::memcpy(out.data() + field, &offset, sizeof offset);
  out.insert(out.end(), part.begin(), part.end());
}

// A part of a self-relative descriptor of `size` bytes: absent (offset 0) or within it.
bool Locate(const BYTE* bytes, std::size_t size, DWORD offset, const BYTE*& at, std::size_t& room) {
  at = nullptr;
  room = 0;
  if (offset == 0) return true;
  if (offset < sizeof(SECURITY_DESCRIPTOR_RELATIVE) || offset >= size) return false;
  at = bytes + offset;
  room = size - offset;
  return true;
}

}  // namespace

bool ReadSid(const BYTE* at, std::size_t room, Sid& sid) {
  if (room < kMinSid || at[0] != 1 || at[1] > 15) return false;
  const std::size_t length = 8 + 4u * at[1];
  if (length > room) return false;
  sid.assign(at, at + length);
  return true;
}

bool ReadAcl(const ACL* acl, std::size_t room, std::vector<Ace>& aces) {
  aces.clear();
  ACL header;
  if (room < sizeof header) return false;
  std::memcpy(&header, acl, sizeof header);
  if ((header.AclRevision != ACL_REVISION && header.AclRevision != 4) || header.AclSize < sizeof header ||
      header.AclSize > room)
    return false;
  const auto* base = reinterpret_cast<const BYTE*>(acl);
  std::size_t at = sizeof header;
  for (WORD i = 0; i < header.AceCount; ++i) {
    ACE_HEADER aceHeader;
    if (header.AclSize - at < kAceFixed) return false;
    std::memcpy(&aceHeader, base + at, sizeof aceHeader);
    if (aceHeader.AceSize < kAceFixed + kMinSid || aceHeader.AceSize > header.AclSize - at ||
        (aceHeader.AceType != ACCESS_ALLOWED_ACE_TYPE && aceHeader.AceType != ACCESS_DENIED_ACE_TYPE))
      return false;
    Ace ace;
    ace.type = aceHeader.AceType;
    ace.flags = aceHeader.AceFlags;
    std::memcpy(&ace.mask, base + at + sizeof aceHeader, sizeof ace.mask);
    if (!ReadSid(base + at + kAceFixed, aceHeader.AceSize - kAceFixed, ace.sid)) return false;
    aces.push_back(std::move(ace));
    at += aceHeader.AceSize;
  }
  return true;
}

namespace {

// The DACL flags of the control word, and the parts where they were found.
bool ReadParts(SECURITY_DESCRIPTOR_CONTROL control, const BYTE* owner, std::size_t ownerRoom, const BYTE* group,
               std::size_t groupRoom, const ACL* dacl, std::size_t daclRoom, Parts& parts) {
  parts.daclPresent = (control & SE_DACL_PRESENT) != 0;
  parts.daclProtected = (control & SE_DACL_PROTECTED) != 0;
  if (owner != nullptr && !ReadSid(owner, ownerRoom, parts.owner)) return false;
  if (group != nullptr && !ReadSid(group, groupRoom, parts.group)) return false;
  if (parts.daclPresent) {
    parts.daclNull = dacl == nullptr;
    if (dacl != nullptr && !ReadAcl(dacl, daclRoom, parts.dacl)) return false;
  }
  return true;
}

}  // namespace

bool ReadSelfRelative(const void* descriptor, std::size_t size, Parts& parts) {
  parts = Parts{};
  if (descriptor == nullptr || size < sizeof(SECURITY_DESCRIPTOR_RELATIVE)) return false;
  const auto* bytes = static_cast<const BYTE*>(descriptor);
  SECURITY_DESCRIPTOR_RELATIVE header;
  std::memcpy(&header, bytes, sizeof header);
  if (header.Revision != SECURITY_DESCRIPTOR_REVISION || (header.Control & SE_SELF_RELATIVE) == 0) return false;
  const BYTE *owner = nullptr, *group = nullptr, *dacl = nullptr;
  std::size_t ownerRoom = 0, groupRoom = 0, daclRoom = 0;
  return Locate(bytes, size, header.Owner, owner, ownerRoom) && Locate(bytes, size, header.Group, group, groupRoom) &&
         Locate(bytes, size, header.Dacl, dacl, daclRoom) &&
         ReadParts(header.Control, owner, ownerRoom, group, groupRoom, reinterpret_cast<const ACL*>(dacl), daclRoom,
                   parts);
}

bool ReadDescriptor(const void* descriptor, Parts& parts) {
  parts = Parts{};
  DescriptorView view;
  if (!ViewDescriptor(const_cast<void*>(descriptor), view)) return false;
  if ((view.control & SE_SELF_RELATIVE) != 0) {
    // The caller's block is as long as its parts say.
    return ReadSelfRelative(descriptor, GetSecurityDescriptorLength(const_cast<void*>(descriptor)), parts);
  }
  const auto* sd = static_cast<const SECURITY_DESCRIPTOR*>(descriptor);
  const auto* owner = static_cast<const BYTE*>(sd->Owner);
  const auto* group = static_cast<const BYTE*>(sd->Group);
  return ReadParts(view.control, owner, owner != nullptr ? GetLengthSid(sd->Owner) : 0, group,
                   group != nullptr ? GetLengthSid(sd->Group) : 0, sd->Dacl,
                   sd->Dacl != nullptr ? sd->Dacl->AclSize : 0, parts);
}

std::vector<BYTE> AclBytes(const std::vector<Ace>& aces) {
  std::vector<BYTE> out(sizeof(ACL), 0);
  for (const Ace& ace : aces) {
    const ACE_HEADER header{ace.type, ace.flags, static_cast<WORD>(kAceFixed + ace.sid.size())};
    Append(out, &header, sizeof header);
    Append(out, &ace.mask, sizeof ace.mask);
    Append(out, ace.sid.data(), ace.sid.size());
  }
  const ACL header{ACL_REVISION, 0, static_cast<WORD>(out.size()), static_cast<WORD>(aces.size()), 0};
  std::memcpy(out.data(), &header, sizeof header);
  return out;
}

std::vector<BYTE> SelfRelative(const Parts& parts, SECURITY_INFORMATION info) {
  std::vector<BYTE> out(sizeof(SECURITY_DESCRIPTOR_RELATIVE), 0);
  SECURITY_DESCRIPTOR_CONTROL control = SE_SELF_RELATIVE;
  if ((info & OWNER_SECURITY_INFORMATION) != 0 && !parts.owner.empty())
    AppendPart(out, offsetof(SECURITY_DESCRIPTOR_RELATIVE, Owner), parts.owner);
  if ((info & GROUP_SECURITY_INFORMATION) != 0 && !parts.group.empty())
    AppendPart(out, offsetof(SECURITY_DESCRIPTOR_RELATIVE, Group), parts.group);
  if ((info & DACL_SECURITY_INFORMATION) != 0 && parts.daclPresent) {
    control |= SE_DACL_PRESENT;
    if (parts.daclProtected) control |= SE_DACL_PROTECTED;
    if (!parts.daclNull) AppendPart(out, offsetof(SECURITY_DESCRIPTOR_RELATIVE, Dacl), AclBytes(parts.dacl));
  }
  out[0] = SECURITY_DESCRIPTOR_REVISION;
  std::memcpy(out.data() + 2, &control, sizeof control);
  return out;
}

bool ViewDescriptor(PSECURITY_DESCRIPTOR descriptor, DescriptorView& view) {
  auto* bytes = static_cast<BYTE*>(descriptor);
  if (bytes == nullptr || bytes[0] != SECURITY_DESCRIPTOR_REVISION) return false;
  std::memcpy(&view.control, bytes + 2, sizeof view.control);
  if ((view.control & SE_SELF_RELATIVE) != 0) {
    SECURITY_DESCRIPTOR_RELATIVE header;
    std::memcpy(&header, bytes, sizeof header);
    view.owner = header.Owner != 0 ? bytes + header.Owner : nullptr;
    view.group = header.Group != 0 ? bytes + header.Group : nullptr;
    view.dacl = header.Dacl != 0 ? reinterpret_cast<ACL*>(bytes + header.Dacl) : nullptr;
  } else {
    const auto* sd = static_cast<const SECURITY_DESCRIPTOR*>(descriptor);
    view.owner = static_cast<BYTE*>(sd->Owner);
    view.group = static_cast<BYTE*>(sd->Group);
    view.dacl = sd->Dacl;
  }
  if ((view.control & SE_DACL_PRESENT) == 0) view.dacl = nullptr;
  return true;
}

void* LocalCopy(const std::vector<BYTE>& bytes) {
  void* block = LocalAlloc(LMEM_FIXED, bytes.size());
  if (block != nullptr && !bytes.empty()) std::memcpy(block, bytes.data(), bytes.size());
  return block;
}

}  // namespace zx::security
