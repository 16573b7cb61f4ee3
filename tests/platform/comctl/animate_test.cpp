// The animation control and the AVI reader: a clip opened from an "AVI" resource paints its
// first frame, play and stop are recorded and told to the parent, a missing clip leaves the
// control empty, and damaged clips are refused without reading past their bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "afxcmn.h"
#include "avi.h"
#include "comctl_testing.h"
#include "zx/comctl.h"

namespace zx::test {
namespace {

using zx::comctl::AnimationState;
using zx::comctl::AviClip;
using zx::comctl::GetAnimationState;
using zx::comctl::ReadAvi;

void Put32(std::string& out, DWORD v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
std::string Chunk(const char* fourcc, const std::string& data) {
  std::string out(fourcc, 4);
  Put32(out, static_cast<DWORD>(data.size()));
  out += data;
  if (data.size() % 2) out.push_back('\0');
  return out;
}
std::string List(const char* kind, const std::string& data) { return Chunk("LIST", std::string(kind, 4) + data); }

// A clip of `frames` frames of width x height in the given bit count and compression, the
// first frame's bytes as given.
std::string Clip(int width, int height, WORD bits, DWORD compression, const std::string& palette,
                 const std::string& frame, DWORD frames = 3) {
  std::string avih;
  for (DWORD v : {100000u, 0u, 0u, 0u, frames, 0u, 1u, 0u, static_cast<DWORD>(width), static_cast<DWORD>(height)})
    Put32(avih, v);
  avih.append(16, '\0');
  const std::string strh = std::string("vidsDIB ") + std::string(48, '\0');
  BITMAPINFOHEADER bih{};
  bih.biSize = 40;
  bih.biWidth = width;
  bih.biHeight = height;
  bih.biPlanes = 1;
  bih.biBitCount = bits;
  bih.biCompression = compression;
  bih.biClrUsed = palette.empty() ? 0 : static_cast<DWORD>(palette.size() / 4);
  const std::string strf = std::string(reinterpret_cast<const char*>(&bih), sizeof(bih)) + palette;
  const std::string body = std::string("AVI ") +
                           List("hdrl", Chunk("avih", avih) + List("strl", Chunk("strh", strh) + Chunk("strf", strf))) +
                           List("movi", Chunk("00db", frame));
  std::string out("RIFF");
  Put32(out, static_cast<DWORD>(body.size()));
  return out + body;
}

bool Read(const std::string& bytes, AviClip& clip) {
  return ReadAvi(reinterpret_cast<const BYTE*>(bytes.data()), bytes.size(), clip);
}

TEST(AviReader, UncompressedFirstFrame) {
  // 2 x 2, 24 bits: rows of 6 bytes padded to 8.
  const std::string frame = std::string("\x01\x02\x03\x04\x05\x06\0\0", 8) + std::string("\x07\x08\x09\x0A\x0B\x0C\0\0", 8);
  AviClip clip;
  ASSERT_TRUE(Read(Clip(2, 2, 24, BI_RGB, "", frame), clip));
  EXPECT_EQ(clip.width, 2);
  EXPECT_EQ(clip.height, 2);
  EXPECT_EQ(clip.frames, 3);
  ASSERT_EQ(clip.firstFrame.size(), 40u + 16u);
  EXPECT_EQ(std::memcmp(clip.firstFrame.data() + 40, frame.data(), 16), 0);
}

TEST(AviReader, RunLengthFramesAreExpanded) {
  std::string palette;
  for (DWORD colour : {0x000000u, 0xFF0000u, 0x00FF00u}) Put32(palette, colour);
  // Row 0: three of index 1, then three literal bytes (2, 1, 2) padded to a word; end of
  // line; row 1: four of 2; end of the picture.
  const std::string rle("\x03\x01\x00\x03\x02\x01\x02\x00\x00\x00\x04\x02\x00\x01", 14);
  AviClip clip;
  ASSERT_TRUE(Read(Clip(6, 2, 8, 1, palette, rle), clip));
  ASSERT_EQ(clip.firstFrame.size(), 40u + 12u + 16u);
  BITMAPINFOHEADER header{};
  std::memcpy(&header, clip.firstFrame.data(), sizeof(header));
  EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
  const BYTE* rows = clip.firstFrame.data() + 52;
  EXPECT_EQ(std::vector<BYTE>(rows, rows + 6), (std::vector<BYTE>{1, 1, 1, 2, 1, 2}));
  EXPECT_EQ(std::vector<BYTE>(rows + 8, rows + 12), (std::vector<BYTE>{2, 2, 2, 2}));
}

TEST(AviReader, OtherCompressionsKeepTheSizeWithoutAFrame) {
  AviClip clip;
  ASSERT_TRUE(Read(Clip(16, 8, 24, 0x64697663 /* 'cvid' */, "", std::string(10, 'x')), clip));
  EXPECT_EQ(clip.width, 16);
  EXPECT_TRUE(clip.firstFrame.empty());
}

TEST(AviReader, DamagedClipsAreRefused) {
  const std::string good = Clip(2, 2, 24, BI_RGB, "", std::string(16, '\x10'));
  AviClip clip;
  EXPECT_FALSE(Read("", clip));
  EXPECT_FALSE(Read("RIFF\x04\0\0\0WAVE", clip));
  EXPECT_FALSE(ReadAvi(nullptr, 100, clip));
  // Every cut of the clip is either refused or read without its missing frame.
  for (std::size_t n = 0; n < good.size(); ++n) {
    const std::string cut = good.substr(0, n);
    if (Read(cut, clip)) {
      EXPECT_LE(clip.firstFrame.size(), n);
    }
  }
  // A chunk claiming more than there is.
  std::string lying = good;
  lying[24] = '\xFF';
  lying[25] = '\xFF';
  EXPECT_FALSE(Read(lying, clip));
  // Too few frame bytes for the size.
  ASSERT_TRUE(Read(Clip(2, 2, 24, BI_RGB, "", std::string(5, 'x')), clip));
  EXPECT_TRUE(clip.firstFrame.empty());
  // Run-length data that runs out in a literal.
  ASSERT_TRUE(Read(Clip(4, 1, 8, 1, std::string(8, '\0'), std::string("\x00\x09\x01", 3)), clip));
  EXPECT_TRUE(clip.firstFrame.empty());
}

class Animation : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    animation_ = MakeChild(ANIMATE_CLASSW, 0, 12526, 100, 50);
    ASSERT_NE(animation_, nullptr);
  }
  AnimationState State() {
    AnimationState state;
    EXPECT_TRUE(GetAnimationState(animation_, state));
    return state;
  }
  std::vector<int> Codes() {
    std::vector<int> codes;
    for (WPARAM w : Log().commands)
      if (LOWORD(w) == 12526) codes.push_back(HIWORD(w));
    return codes;
  }
  HWND animation_ = nullptr;
};

TEST_F(Animation, AClipFromResourcesShowsItsFirstFrame) {
  ASSERT_TRUE(SendMessageW(animation_, ACM_OPENW, 0, reinterpret_cast<LPARAM>(MAKEINTRESOURCEW(1398))));
  const AnimationState state = State();
  EXPECT_TRUE(state.open);
  EXPECT_TRUE(state.decoded);
  EXPECT_EQ(state.frames, 2);
  EXPECT_EQ(state.frameSize.cx, 4);
  RECT client{};
  GetClientRect(animation_, &client);
  EXPECT_EQ(client.right, 4);  // without ACS_CENTER the control takes the clip's size
  EXPECT_EQ(client.bottom, 2);
  PaintNow(parent_);
  EXPECT_EQ(PixelOf(animation_, 0, 0), RGB(0xFF, 0, 0));     // top row red
  EXPECT_EQ(PixelOf(animation_, 3, 1), RGB(0, 0x64, 0xC8));  // bottom row blue
}

TEST_F(Animation, PlayAndStopAreRecordedAndTold) {
  EXPECT_FALSE(SendMessageW(animation_, ACM_PLAY, static_cast<WPARAM>(-1), MAKELPARAM(0, 0xFFFF)));
  ASSERT_TRUE(SendMessageW(animation_, ACM_OPENW, 0, reinterpret_cast<LPARAM>(MAKEINTRESOURCEW(1398))));
  ASSERT_TRUE(SendMessageW(animation_, ACM_PLAY, static_cast<WPARAM>(-1), MAKELPARAM(0, 0xFFFF)));
  AnimationState state = State();
  EXPECT_TRUE(state.playing);
  EXPECT_EQ(state.repeat, 0xFFFFFFFFu);
  EXPECT_EQ(state.to, 1);
  EXPECT_TRUE(SendMessageW(animation_, ACM_ISPLAYING, 0, 0));
  EXPECT_FALSE(SendMessageW(animation_, ACM_PLAY, 1, MAKELPARAM(0, 5)));  // past the last frame
  SendMessageW(animation_, ACM_STOP, 0, 0);
  EXPECT_FALSE(State().playing);
  SendMessageW(animation_, ACM_STOP, 0, 0);  // stopping again tells nothing
  EXPECT_EQ(Codes(), (std::vector<int>{ACN_START, ACN_STOP}));
  // Closing a playing clip stops it.
  SendMessageW(animation_, ACM_PLAY, 1, MAKELPARAM(1, 1));
  SendMessageW(animation_, ACM_OPENW, 0, 0);
  EXPECT_FALSE(State().open);
  EXPECT_EQ(Codes(), (std::vector<int>{ACN_START, ACN_STOP, ACN_START, ACN_STOP}));
}

TEST_F(Animation, AMissingClipLeavesTheControlEmpty) {
  PaintNow(parent_);
  const COLORREF before = PixelOf(animation_, 5, 5);
  EXPECT_FALSE(SendMessageW(animation_, ACM_OPENW, 0, reinterpret_cast<LPARAM>(MAKEINTRESOURCEW(1408))));
  EXPECT_FALSE(State().open);
  PaintNow(parent_);
  EXPECT_EQ(PixelOf(animation_, 5, 5), before);
  EXPECT_TRUE(Log().commands.empty());
}

TEST_F(Animation, CAnimateCtrlAutoPlaysAndCentres) {
  CAnimateCtrl animate;
  ASSERT_TRUE(animate.Create(WS_CHILD | WS_VISIBLE | ACS_CENTER | ACS_AUTOPLAY, CRect(0, 0, 40, 20),
                             CWnd::FromHandle(parent_), 1179));
  ASSERT_TRUE(animate.Open(1398));
  EXPECT_TRUE(animate.IsPlaying());
  PaintNow(parent_);
  EXPECT_EQ(PixelOf(animate, 18, 9), RGB(0xFF, 0, 0));  // the frame in the middle of 40 x 20
  EXPECT_EQ(PixelOf(animate, 2, 2), GetSysColor(COLOR_BTNFACE));
  EXPECT_TRUE(animate.Stop());
  EXPECT_FALSE(animate.IsPlaying());
  EXPECT_TRUE(animate.Close());
  animate.DestroyWindow();
}

}  // namespace
}  // namespace zx::test
