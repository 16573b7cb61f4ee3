// The build-time tools: the resource compiler's output for small scripts, byte for byte,
// its messages for mistakes, and the picture generator's images: flat ones, and the programs'
// own lists drawn the same on every run with every state of a strip told apart.
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "hex_bytes.h"
#include "machine_fixture.h"
#include "picturelist.h"
#include "zx/resfile.h"

namespace zx::test {
namespace {

class Tools : public ::testing::Test {
 protected:
  // Runs a tool; answers its exit code, with its messages in `output`.
  int Run(const std::string& command) {
    const std::string log = folder_.path() + "/log.txt";
    const int status = std::system((command + " >" + log + " 2>&1").c_str());
    output = Read(log);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  int Compile(const std::string& script) {
    Write(folder_.path() + "/script.rc.txt", script);
    return Run(std::string(ZX_RC_TOOL) + " " + folder_.path() + "/script.rc.txt -o " + Output());
  }
  std::string Output() const { return folder_.path() + "/out.res"; }
  static void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  // The one resource of the compiled file.
  std::vector<BYTE> Only(WORD type) {
    const std::string bytes = Read(Output());
    std::string error;
    auto file = res::ResourceFile::Parse(std::vector<BYTE>(bytes.begin(), bytes.end()), error);
    EXPECT_TRUE(file) << error;
    if (!file) return {};
    for (const auto& r : file->resources())
      if (r.type == res::ResourceId::Number(type)) return std::vector<BYTE>(r.data, r.data + r.size);
    ADD_FAILURE() << "no resource of type " << type;
    return {};
  }

  TempFolder folder_;
  std::string output;
};

TEST_F(Tools, DialogTemplateByteForByte) {
  ASSERT_EQ(Compile("7 DIALOGEX 1, 2, 30, 20\n"
                    "FONT 8, \"Ta\"\n"
                    "BEGIN\n"
                    "  CONTROL \"OK\", 1, \"Button\", BS_DEFPUSHBUTTON | NOT WS_VISIBLE, 3, 4, 5, 6\n"
                    "END\n"),
            0)
      << output;
  const std::vector<BYTE> expected = Hex(
      "01 00 ff ff  00 00 00 00  00 00 00 00  40 00 88 80  01 00  01 00 02 00 1e 00 14 00"
      " 00 00 00 00 00 00  08 00 90 01 00 01  54 00 61 00 00 00"
      " 00 00 00 00  00 00 00 00  01 00 00 40  03 00 04 00 05 00 06 00  01 00 00 00"
      " ff ff 80 00  4f 00 4b 00 00 00  00 00");
  EXPECT_EQ(Only(5), expected);
}

TEST_F(Tools, MenuAndStringsByteForByte) {
  ASSERT_EQ(Compile("2 MENU BEGIN POPUP \"F\" BEGIN MENUITEM \"O\", 100, GRAYED END END\n"
                    "STRINGTABLE BEGIN 17 \"Ab\" END\n"),
            0)
      << output;
  EXPECT_EQ(Only(4), Hex("00 00 00 00  90 00 46 00 00 00  81 00 64 00 4f 00 00 00"));
  // Block 2 holds strings 16 to 31; string 17 is its second.
  EXPECT_EQ(Only(6), Hex("00 00  02 00 41 00 62 00  00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
                         " 00 00 00 00 00 00 00 00 00 00 00 00"));
}

TEST_F(Tools, ToolbarByteForByte) {
  ASSERT_EQ(Compile("9 TOOLBAR 16, 15\nBEGIN\n  BUTTON 32771\n  SEPARATOR\n  BUTTON 0x102\nEND\n"), 0) << output;
  // Version 1, 16 x 15 buttons, three items: 32771, a separator, 258.
  EXPECT_EQ(Only(241), Hex("01 00 10 00 0f 00 03 00  03 80 00 00 02 01"));
}

TEST_F(Tools, VersionRecordByteForByte) {
  ASSERT_EQ(Compile("1 VERSIONINFO FILEVERSION 1,2,3,4 BEGIN\n"
                    " BLOCK \"VarFileInfo\" BEGIN VALUE \"Translation\", 0x409, 1200 END\n"
                    "END\n"),
            0)
      << output;
  const std::vector<BYTE> record = Only(16);
  std::vector<BYTE> expected = Hex(
      "a0 00 34 00 00 00"  // 160 bytes, a 52-byte value, binary
      " 56 00 53 00 5f 00 56 00 45 00 52 00 53 00 49 00 4f 00 4e 00 5f 00 49 00 4e 00 46 00 4f 00 00 00"
      " 00 00"  // padding to 40
      " bd 04 ef fe  00 00 01 00  02 00 01 00  04 00 03 00  00 00 00 00  00 00 00 00"
      " 3f 00 00 00  00 00 00 00  04 00 04 00  01 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00"
      // VarFileInfo at 92: 68 bytes, no value, text
      " 44 00 00 00 01 00  56 00 61 00 72 00 46 00 69 00 6c 00 65 00 49 00 6e 00 66 00 6f 00 00 00"
      " 00 00"
      // Translation at 124: 36 bytes, a 4-byte value, binary
      " 24 00 04 00 00 00  54 00 72 00 61 00 6e 00 73 00 6c 00 61 00 74 00 69 00 6f 00 6e 00 00 00"
      " 00 00  09 04 b0 04");
  EXPECT_EQ(record, expected);
}

TEST_F(Tools, MistakesNameTheLineAndWriteNothing) {
  struct Case {
    const char* script;
    const char* message;
  };
  const Case cases[] = {
      {"1 DIALOGEX 0,0,1,1\nSTYLE WS_NOSUCH\nBEGIN END\n", ":2: unknown symbol WS_NOSUCH"},
      {"STRINGTABLE BEGIN 1 \"a\" 1 \"b\" END\n", ":1: string 1 is defined twice"},
      {"STRINGTABLE BEGIN\n 1 \"open\nEND\n", ":2: a string is not closed on its line"},
      {"5 BITMAP \"missing.bmp\"\n", "file missing.bmp is not found"},
      {"5 BITMAP \"../outside.bmp\"\n", "stay below it"},
      {"2 MENU BEGIN POPUP \"F\" BEGIN END END\n", "a POPUP needs at least one item"},
      {"1 RCDATA \"a.bin\"\n1 RCDATA \"a.bin\"\n", "is defined twice"},
      {"70000 RCDATA \"a.bin\"\n", "a resource number is 0 to 65535"},
      {"/* never closed\n", "a comment is not closed"},
      {"3 TOOLBAR 0, 15 BEGIN BUTTON 1 END\n", "button size is 1 to 65535"},
      {"3 TOOLBAR 16, 15 BEGIN BUTTON 0 END\n", "command id is 1 to 65535"},
      {"3 TOOLBAR 16, 15 BEGIN MENUITEM 1 END\n", "expected BUTTON, SEPARATOR or END"},
      {"1 DIALOGEX 0,0,1,1 BEGIN CONTROL \"x\", 1, \"Button\", 0, 0, 0, 0 END\n", "expected ','"},
  };
  Write(folder_.path() + "/a.bin", "abc");
  for (const Case& c : cases) {
    EXPECT_EQ(Compile(c.script), 1) << c.script;
    EXPECT_NE(output.find(c.message), std::string::npos) << c.script << " said: " << output;
    EXPECT_FALSE(std::ifstream(Output()).good()) << c.script;
  }
}

TEST_F(Tools, GeneratorDrawsStripsOfDistinctColours) {
  Write(folder_.path() + "/list.txt",
        "# comment\n"
        "strip.bmp 3x2 states 2\n"
        "fixed.bmp 1x1 colour #102030\n"
        "image.png 2x2\n"
        "app.ico 16x16 32x32\n"
        "hand.cur 32x32 hotspot 4,2\n");
  ASSERT_EQ(Run(std::string(ZX_RESGEN_TOOL) + " " + folder_.path() + "/list.txt -o " + folder_.path() +
                " --stamp " + folder_.path() + "/stamp"),
            0)
      << output;
  const std::string strip = Read(folder_.path() + "/strip.bmp");
  ASSERT_EQ(strip.size(), 14u + 40u + 2u * 20u);  // 6 pixels of 3 bytes padded to 20 a row
  EXPECT_EQ(strip.substr(0, 2), "BM");
  EXPECT_EQ(strip[14 + 14], 24);  // bits per pixel
  const std::string first = strip.substr(54, 3);
  EXPECT_EQ(strip.substr(54 + 6, 3), first);  // state 1 is flat
  EXPECT_NE(strip.substr(54 + 9, 3), first);   // state 2 differs
  const std::string fixed = Read(folder_.path() + "/fixed.bmp");
  EXPECT_EQ(fixed.substr(54, 3), std::string("\x30\x20\x10", 3));
  EXPECT_EQ(Read(folder_.path() + "/image.png").substr(1, 3), "PNG");
  const std::string icon = Read(folder_.path() + "/app.ico");
  EXPECT_EQ(icon.substr(0, 6), std::string("\0\0\1\0\2\0", 6));
  const std::string cursor = Read(folder_.path() + "/hand.cur");
  EXPECT_EQ(cursor.substr(0, 6), std::string("\0\0\2\0\1\0", 6));
  EXPECT_EQ(cursor[6 + 4], 4);  // hot spot x
  EXPECT_EQ(cursor[6 + 6], 2);  // hot spot y
}

TEST_F(Tools, GeneratorMistakesWriteNothing) {
  Write(folder_.path() + "/list.txt", "good.bmp 2x2\nbad.gif 2x2\n");
  EXPECT_EQ(Run(std::string(ZX_RESGEN_TOOL) + " " + folder_.path() + "/list.txt -o " + folder_.path()), 1);
  EXPECT_NE(output.find(":2: bad.gif"), std::string::npos) << output;
  EXPECT_FALSE(std::ifstream(folder_.path() + "/good.bmp").good());
  Write(folder_.path() + "/list.txt", "x.bmp 2x2 states 2 colour #000000\n");
  EXPECT_EQ(Run(std::string(ZX_RESGEN_TOOL) + " " + folder_.path() + "/list.txt -o " + folder_.path()), 1);
  EXPECT_NE(output.find("one colour per state"), std::string::npos) << output;
  Write(folder_.path() + "/list.txt", "../x.bmp 2x2\n");
  EXPECT_EQ(Run(std::string(ZX_RESGEN_TOOL) + " " + folder_.path() + "/list.txt -o " + folder_.path()), 1);
  // Kinds take only their own words, and a cursor's hot spot lies in it.
  const struct {
    const char* line;
    const char* message;
  } mistakes[] = {{"x.bmp 8x8 kind nosuch", "kind nosuch is not a painter"},
                  {"x.bmp 8x8 states 2 kind button:shiny", "kind button:shiny is not a painter"},
                  {"x.bmp 8x8 kind frame", "kind frame is not a painter"},
                  {"x.bmp 8x8 states 3 kind title:close,minimise", "one per state"},
                  {"x.cur 32x32 hotspot 32,0 kind hand", "hot spot lies outside"}};
  for (const auto& m : mistakes) {
    Write(folder_.path() + "/list.txt", std::string("fine.bmp 2x2\n") + m.line + "\n");
    EXPECT_EQ(Run(std::string(ZX_RESGEN_TOOL) + " " + folder_.path() + "/list.txt -o " + folder_.path()), 1) << m.line;
    EXPECT_NE(output.find(std::string(":2: x.") + (m.line[2] == 'c' ? "cur" : "bmp")), std::string::npos) << output;
    EXPECT_NE(output.find(m.message), std::string::npos) << output;
    EXPECT_FALSE(std::ifstream(folder_.path() + "/fine.bmp").good()) << m.line;
  }
}

// The pictures of the programs' lists: the same bytes on every run, and in every strip each
// state (normal, pressed, hover, disabled, or the list's check states) drawn apart from the
// others, so a reference picture catches a wrong state.
TEST_F(Tools, TheProgramsPicturesAreTheSameOnEveryRunWithTheirStatesApart) {
  const char* lists[] = {"ui/resources/placeholders.txt", "app/resources/placeholders.txt",
                         "checkupdate/resources/checkupdate.placeholders.txt",
                         "scheduler/resources/newscheduler.placeholders.txt"};
  int strips = 0;
  for (const char* name : lists) {
    const std::string list = std::string(ZX_SOURCE_DIR) + "/" + name;
    const std::string once = folder_.path() + "/once", twice = folder_.path() + "/twice";
    for (const std::string& out : {once, twice}) {
      std::filesystem::create_directories(out);
      ASSERT_EQ(Run(std::string(ZX_RESGEN_TOOL) + " " + list + " -o " + out), 0) << output;
    }
    std::ifstream in(list);
    std::string line;
    while (std::getline(in, line)) {
      if (line.empty() || line[0] == '#') continue;
      const resgen::Picture p = resgen::ParsePictureLine(line);
      EXPECT_EQ(Read(once + "/" + p.file), Read(twice + "/" + p.file)) << p.file;
      const resgen::Image image = resgen::Draw(p, p.sizes[0]);
      const int w = p.sizes[0].width;
      auto state = [&](int i) {
        std::vector<std::uint32_t> pixels;
        for (int y = 0; y < image.height; ++y)
          for (int x = 0; x < w; ++x) pixels.push_back(image.At(i * w + x, y));
        return pixels;
      };
      for (int i = 0; i < p.states; ++i)
        for (int j = i + 1; j < p.states; ++j) EXPECT_NE(state(i), state(j)) << p.file << " states " << i << ", " << j;
      strips += p.states > 1;
    }
    std::filesystem::remove_all(once);
    std::filesystem::remove_all(twice);
  }
  EXPECT_GT(strips, 10);
}

}  // namespace
}  // namespace zx::test
