// The stream over a global memory block: a position over the block's bytes (size from
// GlobalSize), growing the block when written past its end. Streams of one block share it,
// as clones do.
#include <algorithm>
#include <cstring>
#include <mutex>

#include "errhandlingapi.h"
#include "objidl.h"
#include "zx/com.h"

const IID IID_ISequentialStream = {0x0C733A30, 0x2A1C, 0x11CE, {0xAD, 0xE5, 0x00, 0xAA, 0x00, 0x44, 0x77, 0x3D}};
const IID IID_IStream = {0x0000000C, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

namespace {

class HGlobalStream : public zx::com::Object<IStream> {
 public:
  HGlobalStream(HGLOBAL memory, bool deleteOnRelease) : Object(IID_IStream), memory_(memory), owns_(deleteOnRelease) {}
  ~HGlobalStream() override {
    if (owns_) GlobalFree(memory_);
  }
  HGLOBAL memory() const { return memory_; }

  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (object && iid == IID_ISequentialStream) {
      *object = static_cast<ISequentialStream*>(this);
      AddRef();
      return S_OK;
    }
    return Object::QueryInterface(iid, object);
  }

  HRESULT Read(void* buffer, ULONG bytes, ULONG* read) override {
    if (!buffer) return STG_E_INVALIDPOINTER;
    std::lock_guard<std::mutex> guard(lock_);
    const SIZE_T size = GlobalSize(memory_);
    const ULONG n = position_ >= size ? 0 : static_cast<ULONG>(std::min<SIZE_T>(bytes, size - position_));
    if (n) {
      std::memcpy(buffer, static_cast<const BYTE*>(GlobalLock(memory_)) + position_, n);
      GlobalUnlock(memory_);
    }
    position_ += n;
    if (read) *read = n;
    return n == bytes ? S_OK : S_FALSE;
  }

  HRESULT Write(const void* buffer, ULONG bytes, ULONG* written) override {
    if (!buffer) return STG_E_INVALIDPOINTER;
    std::lock_guard<std::mutex> guard(lock_);
    if (written) *written = 0;
    const SIZE_T end = position_ + bytes;
    if (end > GlobalSize(memory_) && !GlobalReAlloc(memory_, end, GMEM_MOVEABLE)) return STG_E_MEDIUMFULL;
    if (bytes) {
      std::memcpy(static_cast<BYTE*>(GlobalLock(memory_)) + position_, buffer, bytes);
      GlobalUnlock(memory_);
    }
    position_ = end;
    if (written) *written = bytes;
    return S_OK;
  }

  HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override {
    std::lock_guard<std::mutex> guard(lock_);
    long long base = 0;
    switch (origin) {
      case STREAM_SEEK_SET: base = 0; break;
      case STREAM_SEEK_CUR: base = static_cast<long long>(position_); break;
      case STREAM_SEEK_END: base = static_cast<long long>(GlobalSize(memory_)); break;
      default: return STG_E_INVALIDFUNCTION;
    }
    const long long target = base + move.QuadPart;
    if (target < 0) return STG_E_INVALIDFUNCTION;
    position_ = static_cast<SIZE_T>(target);
    if (newPosition) newPosition->QuadPart = position_;
    return S_OK;
  }

  HRESULT SetSize(ULARGE_INTEGER newSize) override {
    std::lock_guard<std::mutex> guard(lock_);
    return GlobalReAlloc(memory_, static_cast<SIZE_T>(newSize.QuadPart), GMEM_MOVEABLE) ? S_OK : STG_E_MEDIUMFULL;
  }

  HRESULT CopyTo(IStream* target, ULARGE_INTEGER bytes, ULARGE_INTEGER* read, ULARGE_INTEGER* written) override {
    if (!target) return STG_E_INVALIDPOINTER;
    BYTE chunk[4096];
    ULONGLONG left = bytes.QuadPart;
    ULONGLONG in = 0;
    ULONGLONG out = 0;
    while (left > 0) {
      ULONG got = 0;
      Read(chunk, static_cast<ULONG>(std::min<ULONGLONG>(left, sizeof chunk)), &got);
      if (got == 0) break;
      ULONG put = 0;
      const HRESULT wrote = target->Write(chunk, got, &put);
      in += got;
      out += put;
      left -= got;
      if (FAILED(wrote)) return wrote;
    }
    if (read) read->QuadPart = in;
    if (written) written->QuadPart = out;
    return S_OK;
  }

  HRESULT Commit(DWORD) override { return S_OK; }
  HRESULT Revert() override { return S_OK; }
  HRESULT LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
  HRESULT UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }

  HRESULT Stat(STATSTG* stat, DWORD) override {
    if (!stat) return STG_E_INVALIDPOINTER;
    *stat = STATSTG{};
    stat->type = STGTY_STREAM;
    stat->cbSize.QuadPart = GlobalSize(memory_);
    return S_OK;
  }

  // Clones share the block and never free it.
  HRESULT Clone(IStream** stream) override {
    if (!stream) return STG_E_INVALIDPOINTER;
    auto* clone = new HGlobalStream(memory_, false);
    {
      std::lock_guard<std::mutex> guard(lock_);
      clone->position_ = position_;
    }
    *stream = clone;
    return S_OK;
  }

 private:
  std::mutex lock_;
  HGLOBAL memory_;
  bool owns_;
  SIZE_T position_ = 0;
};

}  // namespace

HRESULT CreateStreamOnHGlobal(HGLOBAL memory, BOOL deleteOnRelease, IStream** stream) {
  if (!stream) return E_INVALIDARG;
  *stream = nullptr;
  if (!memory) {
    memory = GlobalAlloc(GMEM_MOVEABLE, 0);
    if (!memory) return E_OUTOFMEMORY;
  } else {
    SetLastError(ERROR_SUCCESS);
    if (GlobalSize(memory) == 0 && GetLastError() == ERROR_INVALID_HANDLE) return E_INVALIDARG;
  }
  *stream = new HGlobalStream(memory, deleteOnRelease != FALSE);
  return S_OK;
}

HRESULT GetHGlobalFromStream(IStream* stream, HGLOBAL* memory) {
  if (!stream || !memory) return E_INVALIDARG;
  auto* ours = dynamic_cast<HGlobalStream*>(stream);
  if (!ours) return E_INVALIDARG;
  *memory = ours->memory();
  return S_OK;
}
