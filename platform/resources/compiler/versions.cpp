// VERSIONINFO statements into version records (VS_VERSIONINFO):
//   1 VERSIONINFO
//   FILEVERSION a, b, c, d    PRODUCTVERSION a, b, c, d
//   FILEFLAGSMASK n  FILEFLAGS n  FILEOS n  FILETYPE n  FILESUBTYPE n
//   BEGIN
//     BLOCK "StringFileInfo" BEGIN BLOCK "040904b0" BEGIN VALUE "CompanyName", "..." END END
//     BLOCK "VarFileInfo" BEGIN VALUE "Translation", 0x409, 1200 END
//   END
// A VALUE holds one text, or numbers stored as 16-bit words (32-bit with an L suffix).
#include "../src/bytes.h"
#include "compiler.h"

namespace zx::rc {
namespace {

constexpr int kMaxDepth = 6;

struct Node {
  std::u16string key;
  bool text = true;
  std::vector<BYTE> value;
  WORD valueLength = 0;  // units of a text with its terminator, or bytes
  std::vector<Node> children;
};

void Write(Lexer& lexer, res::ByteWriter& out, const Node& node) {
  out.Align(4);
  const std::size_t start = out.size();
  out.U16(0);  // length, patched below
  out.U16(node.valueLength);
  out.U16(node.text ? 1 : 0);
  out.String(node.key);
  out.Align(4);
  out.Bytes(node.value.data(), node.value.size());
  for (const Node& child : node.children) Write(lexer, out, child);
  const std::size_t length = out.size() - start;
  if (length > 0xFFFF) lexer.Fail("the version block \"" + std::string(node.key.begin(), node.key.end()) +
                                   "\" is larger than 65535 bytes");
  out.PatchU16(start, static_cast<WORD>(length));
}

Node ReadValue(Lexer& lexer) {
  Node node;
  const Token key = Expect(lexer, Token::Kind::String, "the value's name in quotes");
  node.key = ToUtf16(key, lexer, key.text);
  Expect(lexer, Token::Kind::Comma, "',' and the value");
  if (lexer.Peek().kind == Token::Kind::String) {
    const Token text = lexer.Next();
    res::ByteWriter value;
    const std::u16string units = ToUtf16(text, lexer, text.text);
    value.String(units);
    node.value = std::move(value.bytes());
    node.valueLength = static_cast<WORD>(units.size() + 1);
    return node;
  }
  node.text = false;
  res::ByteWriter value;
  do {
    const bool wide = lexer.Peek().kind == Token::Kind::Number && lexer.Peek().wide;
    const long long number = Expression(lexer);
    if (wide) value.U32(static_cast<DWORD>(number));
    else if (number < -32768 || number > 0xFFFF) lexer.FailAt(key, "a word value is out of range (an L suffix makes 32 bits)");
    else value.U16(static_cast<WORD>(number));
  } while (Accept(lexer, Token::Kind::Comma));
  node.value = std::move(value.bytes());
  node.valueLength = static_cast<WORD>(node.value.size());
  return node;
}

std::vector<Node> ReadBlock(Lexer& lexer, int depth) {
  if (depth > kMaxDepth) lexer.Fail("version blocks nest deeper than " + std::to_string(kMaxDepth));
  Expect(lexer, Token::Kind::Begin, "BEGIN");
  std::vector<Node> nodes;
  while (!Accept(lexer, Token::Kind::Finish)) {
    const Token keyword = Expect(lexer, Token::Kind::Word, "BLOCK, VALUE or END");
    if (keyword.text == "VALUE") {
      nodes.push_back(ReadValue(lexer));
    } else if (keyword.text == "BLOCK") {
      const Token key = Expect(lexer, Token::Kind::String, "the block's name in quotes");
      Node block;
      block.key = ToUtf16(key, lexer, key.text);
      block.children = ReadBlock(lexer, depth + 1);
      nodes.push_back(std::move(block));
    } else {
      lexer.FailAt(keyword, "expected BLOCK, VALUE or END");
    }
  }
  return nodes;
}

void FourPart(Lexer& lexer, DWORD& high, DWORD& low) {
  DWORD parts[4];
  for (int i = 0; i < 4; ++i) {
    if (i > 0) Expect(lexer, Token::Kind::Comma, "',' between the version's four parts");
    const Token where = lexer.Peek();
    const long long v = Expression(lexer);
    if (v < 0 || v > 0xFFFF) lexer.FailAt(where, "a version part is 0 to 65535");
    parts[i] = static_cast<DWORD>(v);
  }
  high = (parts[0] << 16) | parts[1];
  low = (parts[2] << 16) | parts[3];
}

}  // namespace

void CompileVersion(Context& context, const res::ResourceId& name) {
  Lexer& lexer = context.lexer;
  DWORD fixed[13] = {0xFEEF04BDu, 0x00010000u, 0, 0, 0, 0, 0x3Fu, 0, 0x00040004u, 1, 0, 0, 0};
  while (lexer.Peek().kind == Token::Kind::Word) {
    const Token option = lexer.Next();
    auto value = [&] { return static_cast<DWORD>(Expression(lexer)); };
    if (option.text == "FILEVERSION") FourPart(lexer, fixed[2], fixed[3]);
    else if (option.text == "PRODUCTVERSION") FourPart(lexer, fixed[4], fixed[5]);
    else if (option.text == "FILEFLAGSMASK") fixed[6] = value();
    else if (option.text == "FILEFLAGS") fixed[7] = value();
    else if (option.text == "FILEOS") fixed[8] = value();
    else if (option.text == "FILETYPE") fixed[9] = value();
    else if (option.text == "FILESUBTYPE") fixed[10] = value();
    else lexer.FailAt(option, "unknown VERSIONINFO statement " + option.text);
  }
  Node root;
  root.key = u"VS_VERSION_INFO";
  root.text = false;
  res::ByteWriter value;
  for (DWORD v : fixed) value.U32(v);
  root.value = std::move(value.bytes());
  root.valueLength = static_cast<WORD>(root.value.size());
  root.children = ReadBlock(lexer, 1);
  res::ByteWriter out;
  Write(lexer, out, root);
  context.Add(res::ResourceId::Number(res::kVersion), name, std::move(out.bytes()));
}

}  // namespace zx::rc
