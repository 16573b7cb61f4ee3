// Global memory blocks: a table of the live blocks by handle, so that a stale or foreign
// handle is refused instead of followed.
#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <unordered_map>

#include "errhandlingapi.h"
#include "winglobal.h"

#ifndef ERROR_NOT_LOCKED
#define ERROR_NOT_LOCKED 158L
#endif

namespace {

struct Block {
  std::unique_ptr<BYTE[]> bytes;
  SIZE_T size = 0;
  bool movable = false;
  int locks = 0;
};

struct Table {
  std::mutex lock;
  std::unordered_map<HGLOBAL, std::unique_ptr<Block>> blocks;
};

Table& TheTable() {
  static Table* table = new Table;  // lives past static destruction
  return *table;
}

std::unique_ptr<BYTE[]> Bytes(SIZE_T size, bool zero) {
  std::unique_ptr<BYTE[]> bytes(new (std::nothrow) BYTE[std::max<SIZE_T>(size, 1)]);
  if (bytes && zero) std::memset(bytes.get(), 0, std::max<SIZE_T>(size, 1));
  return bytes;
}

// The block a handle names. The table's lock held.
Block* FindLocked(Table& table, HGLOBAL memory) {
  const auto found = table.blocks.find(memory);
  if (found != table.blocks.end()) return found->second.get();
  SetLastError(ERROR_INVALID_HANDLE);
  return nullptr;
}

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  if ((flags & ~(GMEM_MOVEABLE | GMEM_ZEROINIT)) != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto block = std::make_unique<Block>();
  block->bytes = Bytes(bytes, (flags & GMEM_ZEROINIT) != 0);
  if (!block->bytes) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  block->size = bytes;
  block->movable = (flags & GMEM_MOVEABLE) != 0;
  // A movable block is named by its record, a fixed one by its address.
  const HGLOBAL handle = block->movable ? static_cast<HGLOBAL>(block.get()) : static_cast<HGLOBAL>(block->bytes.get());
  Table& table = TheTable();
  std::lock_guard<std::mutex> guard(table.lock);
  table.blocks[handle] = std::move(block);
  return handle;
}

LPVOID GlobalLock(HGLOBAL memory) {
  Table& table = TheTable();
  std::lock_guard<std::mutex> guard(table.lock);
  Block* block = FindLocked(table, memory);
  if (!block) return nullptr;
  if (block->movable) ++block->locks;
  return block->bytes.get();
}

BOOL GlobalUnlock(HGLOBAL memory) {
  Table& table = TheTable();
  std::lock_guard<std::mutex> guard(table.lock);
  Block* block = FindLocked(table, memory);
  if (!block) return FALSE;
  if (block->locks == 0) {
    SetLastError(block->movable ? ERROR_NOT_LOCKED : NO_ERROR);
    return FALSE;
  }
  if (--block->locks > 0) return TRUE;
  SetLastError(NO_ERROR);
  return FALSE;
}

HGLOBAL GlobalReAlloc(HGLOBAL memory, SIZE_T bytes, UINT flags) {
  Table& table = TheTable();
  std::lock_guard<std::mutex> guard(table.lock);
  Block* block = FindLocked(table, memory);
  if (!block) return nullptr;
  std::unique_ptr<BYTE[]> grown = Bytes(bytes, (flags & GMEM_ZEROINIT) != 0);
  if (!grown) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  std::memcpy(grown.get(), block->bytes.get(), std::min(block->size, bytes));
  block->bytes = std::move(grown);
  block->size = bytes;
  if (block->movable) return memory;
  // A fixed block is named by its new address.
  auto node = table.blocks.extract(memory);
  node.key() = block->bytes.get();
  const HGLOBAL handle = node.key();
  table.blocks.insert(std::move(node));
  return handle;
}

HGLOBAL GlobalFree(HGLOBAL memory) {
  Table& table = TheTable();
  std::lock_guard<std::mutex> guard(table.lock);
  if (table.blocks.erase(memory) == 1) return nullptr;
  SetLastError(ERROR_INVALID_HANDLE);
  return memory;
}

SIZE_T GlobalSize(HGLOBAL memory) {
  Table& table = TheTable();
  std::lock_guard<std::mutex> guard(table.lock);
  const Block* block = FindLocked(table, memory);
  return block ? block->size : 0;
}
