// The stream over a global memory block: reading, seeking, writing that grows the block,
// clones sharing it, the block freed with the last release only when asked, and bad input.
#include <gtest/gtest.h>

#include <cstring>

#include "errhandlingapi.h"
#include "objidl.h"

namespace {

HGLOBAL BlockOf(const char* text) {
  const SIZE_T size = std::strlen(text);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  std::memcpy(GlobalLock(block), text, size);
  GlobalUnlock(block);
  return block;
}

LARGE_INTEGER At(LONGLONG offset) {
  LARGE_INTEGER l{};
  l.QuadPart = offset;
  return l;
}

TEST(HGlobalStream, ReadsTheBlockFromItsPosition) {
  HGLOBAL block = BlockOf("hello stream");
  IStream* stream = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(block, FALSE, &stream), S_OK);
  char buffer[16] = {};
  ULONG read = 0;
  EXPECT_EQ(stream->Read(buffer, 5, &read), S_OK);
  EXPECT_EQ(read, 5u);
  EXPECT_EQ(std::string(buffer, 5), "hello");
  ULARGE_INTEGER now{};
  EXPECT_EQ(stream->Seek(At(-6), STREAM_SEEK_END, &now), S_OK);
  EXPECT_EQ(now.QuadPart, 6u);
  EXPECT_EQ(stream->Read(buffer, 16, &read), S_FALSE);  // short: the end came first
  EXPECT_EQ(std::string(buffer, read), "stream");
  EXPECT_EQ(stream->Read(buffer, 16, &read), S_FALSE);
  EXPECT_EQ(read, 0u);
  EXPECT_EQ(stream->Seek(At(-1), STREAM_SEEK_SET, nullptr), STG_E_INVALIDFUNCTION);
  EXPECT_EQ(stream->Seek(At(0), 7, nullptr), STG_E_INVALIDFUNCTION);
  STATSTG stat{};
  EXPECT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
  EXPECT_EQ(stat.cbSize.QuadPart, 12u);
  EXPECT_EQ(stat.type, static_cast<DWORD>(STGTY_STREAM));
  EXPECT_EQ(stream->Release(), 0u);
  EXPECT_EQ(GlobalSize(block), 12u);  // still there: not the stream's to free
  GlobalFree(block);
}

TEST(HGlobalStream, WritingPastTheEndGrowsTheBlock) {
  IStream* stream = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
  ULONG written = 0;
  EXPECT_EQ(stream->Write("abc", 3, &written), S_OK);
  EXPECT_EQ(written, 3u);
  stream->Seek(At(1), STREAM_SEEK_SET, nullptr);
  stream->Write("XYZW", 4, nullptr);
  HGLOBAL block = nullptr;
  ASSERT_EQ(GetHGlobalFromStream(stream, &block), S_OK);
  ASSERT_EQ(GlobalSize(block), 5u);
  EXPECT_EQ(std::memcmp(GlobalLock(block), "aXYZW", 5), 0);
  GlobalUnlock(block);
  ULARGE_INTEGER size{};
  size.QuadPart = 2;
  EXPECT_EQ(stream->SetSize(size), S_OK);
  EXPECT_EQ(GlobalSize(block), 2u);
  stream->Release();
  SetLastError(0);
  EXPECT_EQ(GlobalSize(block), 0u);  // freed with the stream
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(HGlobalStream, ClonesShareTheBlockAndItsBytes) {
  HGLOBAL block = BlockOf("0123456789");
  IStream* stream = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(block, TRUE, &stream), S_OK);
  stream->Seek(At(4), STREAM_SEEK_SET, nullptr);
  IStream* clone = nullptr;
  ASSERT_EQ(stream->Clone(&clone), S_OK);
  char c = 0;
  clone->Read(&c, 1, nullptr);
  EXPECT_EQ(c, '4');
  IStream* copy = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &copy), S_OK);
  ULARGE_INTEGER bytes{};
  bytes.QuadPart = 100;
  ULARGE_INTEGER read{}, written{};
  EXPECT_EQ(stream->CopyTo(copy, bytes, &read, &written), S_OK);
  EXPECT_EQ(read.QuadPart, 6u);
  EXPECT_EQ(written.QuadPart, 6u);
  copy->Release();
  stream->Release();  // frees the block
  clone->Release();   // a clone never frees it
  SetLastError(0);
  EXPECT_EQ(GlobalSize(block), 0u);
}

TEST(HGlobalStream, AnswersItsInterfaces) {
  IStream* stream = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
  ISequentialStream* sequential = nullptr;
  ASSERT_EQ(stream->QueryInterface(IID_ISequentialStream, reinterpret_cast<void**>(&sequential)), S_OK);
  EXPECT_EQ(sequential->Write("z", 1, nullptr), S_OK);
  sequential->Release();
  IUnknown* unknown = nullptr;
  EXPECT_EQ(stream->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
  unknown->Release();
  void* other = nullptr;
  const IID somethingElse = {0x12345678, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
  EXPECT_EQ(stream->QueryInterface(somethingElse, &other), E_NOINTERFACE);
  EXPECT_EQ(stream->Release(), 0u);
}

TEST(HGlobalStream, BadArgumentsAreRefused) {
  IStream* stream = nullptr;
  EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, nullptr), E_INVALIDARG);
  int notABlock = 0;
  EXPECT_EQ(CreateStreamOnHGlobal(&notABlock, FALSE, &stream), E_INVALIDARG);
  EXPECT_EQ(stream, nullptr);
  HGLOBAL block = nullptr;
  EXPECT_EQ(GetHGlobalFromStream(nullptr, &block), E_INVALIDARG);
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
  EXPECT_EQ(stream->Read(nullptr, 1, nullptr), STG_E_INVALIDPOINTER);
  EXPECT_EQ(stream->Write(nullptr, 1, nullptr), STG_E_INVALIDPOINTER);
  EXPECT_EQ(stream->Stat(nullptr, 0), STG_E_INVALIDPOINTER);
  stream->Release();
}

}  // namespace
