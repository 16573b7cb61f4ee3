// The window channel's frames and the carrying of message parameters, byte by byte, and what
// damaged or hostile frames get.
#include <gtest/gtest.h>

#include <cstring>

#include "drive.h"
#include "errhandlingapi.h"
#include "marshal.h"
#include "wire.h"

namespace zx::user {
namespace {

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if (!out.empty()) out += ' ';
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

TEST(WireFrames, HeaderLayout) {
  const wire::Frame frame{wire::Op::kSend, wire::kAnswerFlag, 0x01020304, 1400, "ab"};
  EXPECT_EQ(Hex(wire::Encode(frame)),
            "02 00 00 00 03 00 01 00 04 03 02 01 78 05 00 00 61 62");
}

TEST(WireFrames, ParserCutsAStreamFedByteByByte) {
  const std::string stream = wire::Encode({wire::Op::kList, 0, 1, 0, ""}) +
                             wire::Encode({wire::Op::kPost, 0, 2, 0, "xyz"});
  wire::Parser parser;
  std::vector<wire::Frame> frames;
  for (char c : stream) {
    parser.Feed(&c, 1);
    wire::Frame f;
    while (parser.Next(&f) == wire::Parser::Result::kFrame) frames.push_back(f);
  }
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].op, wire::Op::kList);
  EXPECT_EQ(frames[1].id, 2u);
  EXPECT_EQ(frames[1].body, "xyz");
}

TEST(WireFrames, ParserRefusesOversizedAndUnknownFrames) {
  wire::Frame f;
  wire::Parser oversized;
  const std::string huge = Bytes({0x01, 0x00, 0x00, 0x04, 0x01, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  oversized.Feed(huge.data(), huge.size());
  EXPECT_EQ(oversized.Next(&f), wire::Parser::Result::kBad);
  wire::Parser unknown;
  const std::string op9 = Bytes({0, 0, 0, 0, 0x09, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  unknown.Feed(op9.data(), op9.size());
  EXPECT_EQ(unknown.Next(&f), wire::Parser::Result::kBad);
  wire::Parser cut;
  const std::string partial = wire::Encode({wire::Op::kPost, 0, 1, 0, "abcdef"}).substr(0, 19);
  cut.Feed(partial.data(), partial.size());
  EXPECT_EQ(cut.Next(&f), wire::Parser::Result::kNeedMore);
}

TEST(WireFrames, ReaderNeverReadsPastTheEnd) {
  // A text that claims 0x7FFFFFFF units in a body of six bytes.
  const std::string claim = Bytes({0xFF, 0xFF, 0xFF, 0x7F, 0x41, 0x00});
  wire::Reader in(claim);
  std::u16string text;
  EXPECT_FALSE(in.Text(&text));
  std::uint8_t byte;
  EXPECT_FALSE(in.U8(&byte)) << "a failed read fails every later one";
  const std::string odd = Bytes({0x03, 0, 0, 0, 0x41, 0x00, 0x42});
  wire::Reader oddBytes(odd);
  std::string bytes;
  EXPECT_TRUE(oddBytes.Bytes(&bytes));
  EXPECT_TRUE(oddBytes.AtEnd());
}

TEST(Marshalling, TextTravelsAsUtf16AndNeverAsAnAddress) {
  const char16_t* text = u"Hi\u00e9";
  wire::Writer out;
  ASSERT_TRUE(PackParam(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), out));
  EXPECT_EQ(Hex(out.Take()), "00 00 00 00 00 00 00 00 01 06 00 00 00 48 00 69 00 E9 00");
}

TEST(Marshalling, CopyDataCarriesDwDataAndItsBytes) {
  const unsigned char data[] = {0xAA, 0x00, 0xBB};
  COPYDATASTRUCT copy{0x1122334455667788ull, 3, const_cast<unsigned char*>(data)};
  wire::Writer out;
  ASSERT_TRUE(PackParam(WM_COPYDATA, 0x123, reinterpret_cast<LPARAM>(&copy), out));
  const std::string packed = out.Take();
  EXPECT_EQ(Hex(packed),
            "00 00 00 00 00 00 00 00 02 0B 00 00 00 88 77 66 55 44 33 22 11 AA 00 BB");
  wire::Reader in(packed);
  LPARAM lParam = 0;
  std::shared_ptr<Payload> payload;
  ParamKind kind;
  ASSERT_TRUE(UnpackParam(WM_COPYDATA, 0x123, in, &lParam, &payload, &kind));
  const auto* received = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  EXPECT_EQ(received->dwData, 0x1122334455667788ull);
  ASSERT_EQ(received->cbData, 3u);
  EXPECT_EQ(std::memcmp(received->lpData, data, 3), 0);
  EXPECT_NE(received->lpData, static_cast<const void*>(data)) << "the receiver has its own copy";
}

TEST(Marshalling, NumbersTravelAsTheyAre) {
  wire::Writer out;
  ASSERT_TRUE(PackParam(WM_USER + 5, 0, -2, out));
  EXPECT_EQ(Hex(out.Take()), "FE FF FF FF FF FF FF FF 00 00 00 00 00");
}

TEST(Marshalling, PointersToStructuresDoNotCross) {
  NMHDR header{};
  wire::Writer out;
  EXPECT_FALSE(PackParam(WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&header), out));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  wire::Writer zero;
  EXPECT_TRUE(PackParam(WM_NOTIFY, 1, 0, zero));
}

struct Hostile {
  UINT message;
  WPARAM wParam;
  std::string body;
};

TEST(Marshalling, HostileParametersAreRefused) {
  const std::vector<Hostile> cases = {
      // An address where the receiver would read text or a structure.
      {WM_SETTEXT, 0, Bytes({0x10, 0x20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
      {WM_NOTIFY, 0, Bytes({0x10, 0x20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
      // Text for a message that takes none, and an odd count of text bytes.
      {WM_USER, 0, Bytes({0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 0, 0, 0, 0x41, 0})},
      {WM_SETTEXT, 0, Bytes({0, 0, 0, 0, 0, 0, 0, 0, 1, 3, 0, 0, 0, 0x41, 0, 0x42})},
      // WM_COPYDATA without its dwData, and on another message.
      {WM_COPYDATA, 0, Bytes({0, 0, 0, 0, 0, 0, 0, 0, 2, 4, 0, 0, 0, 1, 2, 3, 4})},
      {WM_USER, 0, Bytes({0, 0, 0, 0, 0, 0, 0, 0, 2, 8, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8})},
      // A text buffer far over the limit, an unknown kind, a body cut short, trailing bytes.
      {WM_GETTEXT, 0x40000000, Bytes({0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0})},
      {WM_USER, 0, Bytes({0, 0, 0, 0, 0, 0, 0, 0, 9, 0, 0, 0, 0})},
      // A rectangle on a message that takes none, a rectangle cut short, and a list view's
      // rectangle message carrying an address.
      {WM_USER, 0, Bytes({0, 0, 0, 0, 0, 0, 0, 0, 4, 16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
      {0x100E, 0, Bytes({0, 0, 0, 0, 0, 0, 0, 0, 4, 12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
      {0x100E, 0, Bytes({0x10, 0x20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
      {WM_USER, 0, Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0, 0})},
      {WM_USER, 0, Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x99})},
  };
  for (const Hostile& h : cases) {
    wire::Reader in(h.body);
    LPARAM lParam = 0;
    std::shared_ptr<Payload> payload;
    ParamKind kind;
    EXPECT_FALSE(UnpackParam(h.message, h.wParam, in, &lParam, &payload, &kind))
        << "message " << h.message << " body " << Hex(h.body);
  }
}

TEST(Marshalling, AnsweredTextStaysWithinItsBuffer) {
  const std::string body = Bytes({0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0});
  wire::Reader request(body);
  LPARAM lParam = 0;
  std::shared_ptr<Payload> payload;
  ParamKind kind;
  ASSERT_TRUE(UnpackParam(WM_GETTEXT, 4, request, &lParam, &payload, &kind));
  auto* buffer = reinterpret_cast<char16_t*>(lParam);
  for (int i = 0; i < 5; ++i) buffer[i] = u'z';  // a careless receiver fills past the terminator
  wire::Writer out;
  PackAnswer(kind, payload.get(), 4, out);
  const std::string packed = out.Take();
  wire::Reader answer(packed);
  std::int64_t result;
  ASSERT_TRUE(answer.I64(&result));
  char16_t mine[4] = {u'a', u'a', u'a', u'a'};
  ASSERT_TRUE(UnpackAnswer(WM_GETTEXT, 4, reinterpret_cast<LPARAM>(mine), answer));
  EXPECT_EQ(std::u16string(mine), u"zzz");
}

TEST(Marshalling, AListViewsItemRectangleTravelsBothWays) {
  constexpr UINT kGetItemRect = 0x100E;
  RECT asked{2, 0, 0, 0};  // LVIR_SELECTBOUNDS in left, as the caller sets it
  wire::Writer request;
  ASSERT_TRUE(PackParam(kGetItemRect, 1, reinterpret_cast<LPARAM>(&asked), request));
  const std::string body = request.Take();
  wire::Reader in(body);
  LPARAM lParam = 0;
  std::shared_ptr<Payload> payload;
  ParamKind kind;
  ASSERT_TRUE(UnpackParam(kGetItemRect, 1, in, &lParam, &payload, &kind));
  auto* theirs = reinterpret_cast<RECT*>(lParam);
  EXPECT_EQ(theirs, &payload->rect) << "the receiver's own copy";
  EXPECT_EQ(theirs->left, 2);
  *theirs = RECT{-4, 30, 500, 104};
  wire::Writer out;
  PackAnswer(kind, payload.get(), 1, out);
  const std::string packed = out.Take();
  wire::Reader answer(packed);
  std::int64_t result;
  ASSERT_TRUE(answer.I64(&result));
  ASSERT_TRUE(UnpackAnswer(kGetItemRect, 1, reinterpret_cast<LPARAM>(&asked), answer));
  EXPECT_EQ(asked.left, -4);
  EXPECT_EQ(asked.bottom, 104);
}

TEST(WireFrames, DriveRequestsAreReadOnlyWhenWellFormed) {
  const HWND window = reinterpret_cast<HWND>(std::uintptr_t{0x20003});
  const drive::InputEvent click{window, WM_LBUTTONDOWN, 0, POINT{-5, 70}};
  const std::string body = drive::EncodeInput(click);
  const struct {
    std::string body;
    bool read;
  } inputs[] = {
      {body, true},
      {body.substr(0, body.size() - 1), false},                                    // cut short
      {body + "x", false},                                                          // overlong
      {drive::EncodeInput({window, WM_KEYDOWN, 'A', {}}), true},
      {drive::EncodeInput({window, WM_KEYDOWN, 0, {}}), false},                     // no key
      {drive::EncodeInput({window, WM_KEYUP, 0x100, {}}), false},                   // beyond the keys
      {drive::EncodeInput({window, WM_MOUSEWHEEL, 40000, {}}), false},              // wheel past a short
      {drive::EncodeInput({window, WM_SETTEXT, 0, {}}), false},                     // not input
  };
  for (const auto& c : inputs) {
    drive::InputEvent read;
    EXPECT_EQ(drive::DecodeInput(c.body, &read), c.read) << Hex(c.body);
  }
  drive::InputEvent read;
  ASSERT_TRUE(drive::DecodeInput(body, &read));
  EXPECT_EQ(read.window, window);
  EXPECT_EQ(read.screen.x, -5);
  EXPECT_EQ(read.screen.y, 70);
  drive::PictureRequest picture;
  EXPECT_TRUE(drive::DecodePicture(drive::EncodePicture({window, true}), &picture));
  EXPECT_TRUE(picture.redrawn);
  EXPECT_FALSE(drive::DecodePicture(drive::EncodePicture({window, true}) + "\1", &picture));
  std::string two = drive::EncodePicture({window, false});
  two.back() = 2;
  EXPECT_FALSE(drive::DecodePicture(two, &picture));
}

}  // namespace
}  // namespace zx::user
