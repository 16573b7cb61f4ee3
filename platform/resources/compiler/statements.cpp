// The script's statements: LANGUAGE, STRINGTABLE, resources from files (BITMAP, ICON,
// CURSOR, HTML, RCDATA and types of the script's own naming), and the dispatch to DIALOGEX,
// MENU, TOOLBAR and VERSIONINFO; plus the token helpers they share.
#include <array>
#include <fstream>
#include <iterator>
#include <map>

#include "../src/bytes.h"
#include "compiler.h"

namespace zx::rc {
namespace {

using res::ResourceId;

bool Exists(const std::string& path) { return std::ifstream(path, std::ios::binary).good(); }

// The strings of all STRINGTABLE statements gathered into blocks of 16.
void EmitStringBlocks(Context& context, const std::map<StringKey, std::u16string>& strings) {
  std::map<StringKey, std::array<const std::u16string*, 16>> blocks;
  for (const auto& [key, text] : strings) {
    auto& block = blocks[{key.first, static_cast<WORD>(key.second / 16 + 1)}];
    block[key.second % 16] = &text;
  }
  for (const auto& [key, slots] : blocks) {
    res::ByteWriter out;
    for (const std::u16string* text : slots) {
      out.U16(text ? static_cast<WORD>(text->size()) : 0);
      if (text)
        for (char16_t c : *text) out.U16(c);
    }
    const WORD saved = context.language;
    context.language = key.first;
    context.Add(ResourceId::Number(res::kString), ResourceId::Number(key.second),
                std::move(out.bytes()));
    context.language = saved;
  }
}

WORD ReadWord(const std::vector<BYTE>& bytes, std::size_t at) {
  return static_cast<WORD>(bytes[at] | (bytes[at + 1] << 8));
}
DWORD ReadDword(const std::vector<BYTE>& bytes, std::size_t at) {
  return ReadWord(bytes, at) | (static_cast<DWORD>(ReadWord(bytes, at + 2)) << 16);
}

void CompileFile(Context& context, const ResourceId& name, const Token& typeToken) {
  const Token file = Expect(context.lexer, Token::Kind::String, "a file name in quotes");
  const std::string& type = typeToken.text;
  if (typeToken.kind == Token::Kind::Word && type == "ICON") return CompileIconFile(context, name, false, file);
  if (typeToken.kind == Token::Kind::Word && type == "CURSOR") return CompileIconFile(context, name, true, file);
  std::vector<BYTE> bytes = context.ReadFile(file, file.text);
  ResourceId kind;
  if (typeToken.kind == Token::Kind::Number) {
    if (typeToken.number < 1 || typeToken.number > 0xFFFF) context.lexer.FailAt(typeToken, "a resource type is 1 to 65535");
    kind = ResourceId::Number(static_cast<WORD>(typeToken.number));
  } else if (typeToken.kind == Token::Kind::Word && type == "BITMAP") {
    // A bitmap resource is the BMP file without its 14-byte file header.
    if (bytes.size() < 14 + 40 || bytes[0] != 'B' || bytes[1] != 'M')
      context.lexer.FailAt(file, file.text + " is not a BMP file");
    bytes.erase(bytes.begin(), bytes.begin() + 14);
    kind = ResourceId::Number(res::kBitmap);
  } else if (typeToken.kind == Token::Kind::Word && type == "HTML") {
    kind = ResourceId::Number(res::kHtml);
  } else if (typeToken.kind == Token::Kind::Word && type == "RCDATA") {
    kind = ResourceId::Number(res::kRcData);
  } else {
    kind = ResourceId::Name(UpperName(type));
  }
  context.Add(kind, name, std::move(bytes));
}

}  // namespace

void Context::Add(res::ResourceId type, res::ResourceId name, std::vector<BYTE> data) {
  resources.push_back({std::move(type), std::move(name), language, std::move(data)});
}

std::vector<BYTE> Context::ReadFile(const Token& where, const std::string& name) {
  if (name.empty() || name[0] == '/' || name.find("..") != std::string::npos)
    lexer.FailAt(where, "file names are relative to the script and stay below it: " + name);
  for (const std::string& folder : searchFolders) {
    const std::string path = folder + "/" + name;
    if (!Exists(path)) continue;
    std::ifstream in(path, std::ios::binary);
    std::vector<BYTE> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    dependencies.push_back(path);
    return bytes;
  }
  lexer.FailAt(where, "file " + name + " is not found");
}

Token Expect(Lexer& lexer, Token::Kind kind, const char* what) {
  Token t = lexer.Next();
  if (t.kind != kind) lexer.FailAt(t, std::string("expected ") + what);
  return t;
}

bool Accept(Lexer& lexer, Token::Kind kind) {
  if (lexer.Peek().kind != kind) return false;
  lexer.Next();
  return true;
}

bool AcceptWord(Lexer& lexer, const char* word) {
  if (lexer.Peek().kind != Token::Kind::Word || lexer.Peek().text != word) return false;
  lexer.Next();
  return true;
}

namespace {
long long Unary(Lexer& lexer) {
  const Token t = lexer.Next();
  switch (t.kind) {
    case Token::Kind::Minus: return -Unary(lexer);
    case Token::Kind::Number: return t.number;
    case Token::Kind::Open: {
      const long long value = Expression(lexer);
      Expect(lexer, Token::Kind::Close, "')'");
      return value;
    }
    case Token::Kind::Word: {
      long long value = 0;
      if (!Symbol(t.text, value)) lexer.FailAt(t, "unknown symbol " + t.text);
      return value;
    }
    default: lexer.FailAt(t, "expected a number or a symbol");
  }
}
}  // namespace

long long Expression(Lexer& lexer, long long initial) {
  long long value = initial;
  bool add = false;  // the first term joins by OR
  for (;;) {
    const bool clear = AcceptWord(lexer, "NOT");
    const long long term = Unary(lexer);
    if (clear) value &= ~term;
    else if (add) value += term;
    else value |= term;
    if (Accept(lexer, Token::Kind::Bar)) add = false;
    else if (Accept(lexer, Token::Kind::Plus)) add = true;
    else if (lexer.Peek().kind == Token::Kind::Word && lexer.Peek().text == "NOT") add = false;
    else return value;
  }
}

std::u16string ToUtf16(const Token& where, Lexer& lexer, const std::string& utf8) {
  std::u16string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
    if (extra < 0 || i + extra >= utf8.size())
      lexer.FailAt(where, "a string is not valid UTF-8");
    char32_t c = extra == 0 ? b : b & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(utf8[i + k]);
      if ((next & 0xC0) != 0x80) lexer.FailAt(where, "a string is not valid UTF-8");
      c = (c << 6) | (next & 0x3F);
    }
    i += extra + 1;
    if (c >= 0x10000) {
      c -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
  }
  return out;
}

std::u16string UpperName(const std::string& text) {
  std::u16string name;
  for (char c : text) name.push_back(static_cast<char16_t>(c >= 'a' && c <= 'z' ? c - 32 : c));
  return name;
}

res::ResourceId NameOrNumber(Lexer& lexer, const Token& token) {
  switch (token.kind) {
    case Token::Kind::Number:
      if (token.number < 0 || token.number > 0xFFFF) lexer.FailAt(token, "a resource number is 0 to 65535");
      return ResourceId::Number(static_cast<WORD>(token.number));
    case Token::Kind::Word: return ResourceId::Name(UpperName(token.text));
    case Token::Kind::String: {
      std::u16string name = ToUtf16(token, lexer, token.text);
      for (char16_t& c : name)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
      if (name.empty()) lexer.FailAt(token, "a resource name is empty");
      return ResourceId::Name(std::move(name));
    }
    default: lexer.FailAt(token, "expected a resource name or number");
  }
}

void CompileStringTable(Context& context) {
  Lexer& lexer = context.lexer;
  Expect(lexer, Token::Kind::Begin, "BEGIN");
  auto& strings = context.strings;
  while (!Accept(lexer, Token::Kind::Finish)) {
    const Token id = lexer.Next();
    const long long number = id.kind == Token::Kind::Number ? id.number : -1;
    if (number < 0 || number > 0xFFFF) lexer.FailAt(id, "expected a string id from 0 to 65535");
    Accept(lexer, Token::Kind::Comma);
    const Token text = Expect(lexer, Token::Kind::String, "the string's text in quotes");
    std::u16string value = ToUtf16(text, lexer, text.text);
    if (value.size() > 0xFFFF) lexer.FailAt(text, "a string is longer than 65535 units");
    if (!strings.emplace(StringKey{context.language, static_cast<WORD>(number)}, std::move(value)).second)
      lexer.FailAt(id, "string " + std::to_string(number) + " is defined twice");
  }
}

void CompileIconFile(Context& context, const ResourceId& name, bool cursor, const Token& file) {
  const std::vector<BYTE> bytes = context.ReadFile(file, file.text);
  auto fail = [&](const std::string& why) { context.lexer.FailAt(file, file.text + ": " + why); };
  if (bytes.size() < 6 || ReadWord(bytes, 0) != 0 || ReadWord(bytes, 2) != (cursor ? 2 : 1))
    fail(cursor ? "not a cursor file" : "not an icon file");
  const WORD count = ReadWord(bytes, 4);
  if (count == 0 || bytes.size() < 6 + std::size_t{count} * 16) fail("the image list is cut short");
  res::ByteWriter group;
  group.U16(0);
  group.U16(cursor ? 2 : 1);
  group.U16(count);
  for (WORD i = 0; i < count; ++i) {
    const std::size_t entry = 6 + std::size_t{i} * 16;
    const DWORD size = ReadDword(bytes, entry + 8);
    const DWORD offset = ReadDword(bytes, entry + 12);
    if (offset > bytes.size() || size > bytes.size() - offset || size < 16) fail("an image lies outside the file");
    const bool png = bytes[offset] == 0x89 && bytes[offset + 1] == 'P';
    if (!png && size < 40) fail("an image is cut short");
    const WORD bits = png ? 32 : ReadWord(bytes, offset + 14);
    std::vector<BYTE> image;
    if (cursor) {  // the hot spot leads the image
      for (int k = 0; k < 4; ++k) image.push_back(bytes[entry + 4 + k]);
    }
    image.insert(image.end(), bytes.begin() + offset, bytes.begin() + offset + size);
    const WORD id = cursor ? context.nextCursorImage++ : context.nextIconImage++;
    const int width = bytes[entry] ? bytes[entry] : 256;
    const int height = bytes[entry + 1] ? bytes[entry + 1] : 256;
    if (cursor) {
      group.U16(static_cast<WORD>(width));
      group.U16(static_cast<WORD>(height * 2));
    } else {
      group.U8(bytes[entry]);
      group.U8(bytes[entry + 1]);
      group.U8(bytes[entry + 2]);
      group.U8(0);
    }
    group.U16(1);
    group.U16(bits);
    group.U32(static_cast<DWORD>(image.size()));
    group.U16(id);
    context.Add(ResourceId::Number(cursor ? res::kCursor : res::kIcon), ResourceId::Number(id),
                std::move(image));
  }
  context.Add(ResourceId::Number(cursor ? res::kGroupCursor : res::kGroupIcon), name,
              std::move(group.bytes()));
}

void CompileScript(Context& context) {
  Lexer& lexer = context.lexer;
  for (;;) {
    const Token first = lexer.Next();
    if (first.kind == Token::Kind::End) break;
    if (first.kind == Token::Kind::Word && first.text == "LANGUAGE") {
      const long long primary = Expression(lexer);
      Expect(lexer, Token::Kind::Comma, "','");
      const long long sub = Expression(lexer);
      context.language = static_cast<WORD>((sub << 10) | (primary & 0x3FF));
      continue;
    }
    if (first.kind == Token::Kind::Word && first.text == "STRINGTABLE") {
      CompileStringTable(context);
      continue;
    }
    const ResourceId name = NameOrNumber(lexer, first);
    const Token type = lexer.Next();
    if (type.kind == Token::Kind::Word && type.text == "DIALOGEX") CompileDialog(context, name);
    else if (type.kind == Token::Kind::Word && type.text == "MENU") CompileMenu(context, name);
    else if (type.kind == Token::Kind::Word && type.text == "TOOLBAR") CompileToolbar(context, name);
    else if (type.kind == Token::Kind::Word && type.text == "VERSIONINFO") CompileVersion(context, name);
    else if (type.kind == Token::Kind::Word || type.kind == Token::Kind::Number ||
             type.kind == Token::Kind::String)
      CompileFile(context, name, type);
    else
      lexer.FailAt(type, "expected a resource type after the resource's name");
  }
  EmitStringBlocks(context, context.strings);
}

}  // namespace zx::rc
