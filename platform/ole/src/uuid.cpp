// UUIDs of the RPC runtime: random (version 4) and time-ordered (version 1).
#include <mutex>
#include <random>

#include "objbase.h"
#include "sysinfoapi.h"
#include "zx/netadapters.h"

namespace {

// 100-ns intervals from the UUID epoch (15 October 1582) to the FILETIME epoch (1601).
constexpr ULONGLONG kUuidEpochToFileTime = 0x0146BF33E42C000ull;

std::mutex g_lock;

std::mt19937_64& Random() {
  static std::mt19937_64 engine{std::random_device{}()};
  return engine;
}

void FillRandom(BYTE* bytes, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<BYTE>(Random()() >> 56);
}

// The next version-1 time stamp: never the same twice, even when the clock stands still.
ULONGLONG NextTimeStamp() {
  static ULONGLONG last = 0;
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  ULONGLONG stamp =
      ((static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime) + kUuidEpochToFileTime;
  if (stamp <= last) stamp = last + 1;
  last = stamp;
  return stamp;
}

}  // namespace

RPC_STATUS UuidCreate(UUID* uuid) {
  if (!uuid) return ERROR_INVALID_PARAMETER;
  BYTE bytes[16];
  {
    std::lock_guard<std::mutex> guard(g_lock);
    FillRandom(bytes, sizeof bytes);
  }
  uuid->Data1 = (static_cast<std::uint32_t>(bytes[0]) << 24) | (bytes[1] << 16) | (bytes[2] << 8) | bytes[3];
  uuid->Data2 = static_cast<std::uint16_t>((bytes[4] << 8) | bytes[5]);
  uuid->Data3 = static_cast<std::uint16_t>((((bytes[6] << 8) | bytes[7]) & 0x0FFF) | 0x4000);
  uuid->Data4[0] = static_cast<BYTE>((bytes[8] & 0x3F) | 0x80);
  for (int i = 1; i < 8; ++i) uuid->Data4[i] = bytes[8 + i];
  return RPC_S_OK;
}

RPC_STATUS UuidCreateSequential(UUID* uuid) {
  if (!uuid) return ERROR_INVALID_PARAMETER;
  std::vector<BYTE> node;
  for (const zx::net::Adapter& adapter : zx::net::Adapters())
    if (adapter.address.size() == 6) {
      node = adapter.address;
      break;
    }
  std::lock_guard<std::mutex> guard(g_lock);
  static const std::uint16_t clockSequence = static_cast<std::uint16_t>(Random()() & 0x3FFF);
  const ULONGLONG stamp = NextTimeStamp();
  uuid->Data1 = static_cast<std::uint32_t>(stamp);
  uuid->Data2 = static_cast<std::uint16_t>(stamp >> 32);
  uuid->Data3 = static_cast<std::uint16_t>(((stamp >> 48) & 0x0FFF) | 0x1000);
  uuid->Data4[0] = static_cast<BYTE>((clockSequence >> 8) | 0x80);
  uuid->Data4[1] = static_cast<BYTE>(clockSequence);
  const bool local = node.empty();
  if (local) {
    node.resize(6);
    FillRandom(node.data(), node.size());
    node[0] |= 0x01;  // a multicast bit marks a node that is no adapter address
  }
  std::copy(node.begin(), node.end(), uuid->Data4 + 2);
  return local ? RPC_S_UUID_LOCAL_ONLY : RPC_S_OK;
}
