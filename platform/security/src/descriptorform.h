// Security descriptors and access-control lists as values: reading them from either form
// (checked against the bytes they may use) and writing the self-relative form.
// Component-internal.
#pragma once
#include <cstddef>
#include <vector>

#include "securitybaseapi.h"

namespace zx::security {

using Sid = std::vector<BYTE>;

struct Ace {
  BYTE type = ACCESS_ALLOWED_ACE_TYPE;
  BYTE flags = 0;
  DWORD mask = 0;
  Sid sid;
};

// The parts of a descriptor. Without daclPresent the descriptor says nothing about a DACL;
// with it and daclNull there is no list (everyone may do everything).
struct Parts {
  Sid owner;  // empty: none
  Sid group;
  bool daclPresent = false;
  bool daclNull = false;
  bool daclProtected = false;
  std::vector<Ace> dacl;
};

// A SID of at most `room` bytes at `at`.
bool ReadSid(const BYTE* at, std::size_t room, Sid& sid);
// The allow and deny entries of a list of at most `room` bytes; false for anything else.
bool ReadAcl(const ACL* acl, std::size_t room, std::vector<Ace>& aces);
// A self-relative descriptor whose parts all lie within `size` bytes (stored descriptors).
bool ReadSelfRelative(const void* descriptor, std::size_t size, Parts& parts);
// A caller's descriptor in either form.
bool ReadDescriptor(const void* descriptor, Parts& parts);

std::vector<BYTE> AclBytes(const std::vector<Ace>& aces);
// The self-relative form of the parts named by info (owner, group, DACL).
std::vector<BYTE> SelfRelative(const Parts& parts, SECURITY_INFORMATION info);

// Where the parts of a descriptor in either form are, for the getters.
struct DescriptorView {
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  BYTE* owner = nullptr;
  BYTE* group = nullptr;
  ACL* dacl = nullptr;
};
bool ViewDescriptor(PSECURITY_DESCRIPTOR descriptor, DescriptorView& view);

// Copies bytes into a new LocalAlloc block; null when memory runs out.
void* LocalCopy(const std::vector<BYTE>& bytes);

}  // namespace zx::security
