// MENU statements into standard menu templates:
//   id MENU BEGIN
//     POPUP "text" [, options] BEGIN ... END
//     MENUITEM "text", id [, options]
//     MENUITEM SEPARATOR
//   END
// Options: GRAYED, INACTIVE, CHECKED, MENUBARBREAK, MENUBREAK, HELP.
#include "../src/bytes.h"
#include "compiler.h"

namespace zx::rc {
namespace {

constexpr WORD kPopup = 0x10;
constexpr WORD kEnd = 0x80;
constexpr int kMaxDepth = 16;

struct Item {
  WORD flags = 0;
  WORD id = 0;
  std::u16string text;
  std::vector<Item> items;
};

WORD Options(Lexer& lexer) {
  WORD flags = 0;
  for (;;) {
    if (lexer.Peek().kind == Token::Kind::Comma) lexer.Next();
    if (lexer.Peek().kind != Token::Kind::Word) return flags;
    const std::string& word = lexer.Peek().text;
    WORD flag = 0;
    if (word == "GRAYED") flag = 0x0001;
    else if (word == "INACTIVE") flag = 0x0002;
    else if (word == "CHECKED") flag = 0x0008;
    else if (word == "MENUBARBREAK") flag = 0x0020;
    else if (word == "MENUBREAK") flag = 0x0040;
    else if (word == "HELP") flag = 0x4000;
    else return flags;
    lexer.Next();
    flags |= flag;
  }
}

std::vector<Item> ReadItems(Lexer& lexer, int depth) {
  if (depth > kMaxDepth) lexer.Fail("menus nest deeper than " + std::to_string(kMaxDepth));
  Expect(lexer, Token::Kind::Begin, "BEGIN and the menu's items");
  std::vector<Item> items;
  while (!Accept(lexer, Token::Kind::Finish)) {
    const Token keyword = Expect(lexer, Token::Kind::Word, "MENUITEM, POPUP or END");
    Item item;
    if (keyword.text == "MENUITEM") {
      if (AcceptWord(lexer, "SEPARATOR")) {
        items.push_back(item);
        continue;
      }
      const Token text = Expect(lexer, Token::Kind::String, "the item's text in quotes");
      item.text = ToUtf16(text, lexer, text.text);
      Expect(lexer, Token::Kind::Comma, "',' and the item's command id");
      const long long id = Expression(lexer);
      if (id < 0 || id > 0xFFFF) lexer.FailAt(text, "a menu command id is 0 to 65535");
      item.id = static_cast<WORD>(id);
      item.flags = Options(lexer);
    } else if (keyword.text == "POPUP") {
      const Token text = Expect(lexer, Token::Kind::String, "the popup's text in quotes");
      item.text = ToUtf16(text, lexer, text.text);
      item.flags = static_cast<WORD>(Options(lexer) | kPopup);
      item.items = ReadItems(lexer, depth + 1);
      if (item.items.empty()) lexer.FailAt(text, "a POPUP needs at least one item");
    } else {
      lexer.FailAt(keyword, "expected MENUITEM, POPUP or END");
    }
    items.push_back(std::move(item));
  }
  return items;
}

void Write(res::ByteWriter& out, const std::vector<Item>& items) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    const Item& item = items[i];
    out.U16(static_cast<WORD>(item.flags | (i + 1 == items.size() ? kEnd : 0)));
    if (!(item.flags & kPopup)) out.U16(item.id);
    out.String(item.text);
    if (item.flags & kPopup) Write(out, item.items);
  }
}

}  // namespace

void CompileMenu(Context& context, const res::ResourceId& name) {
  const Token start = context.lexer.Peek();
  const std::vector<Item> items = ReadItems(context.lexer, 0);
  if (items.empty()) context.lexer.FailAt(start, "a MENU needs at least one item");
  res::ByteWriter out;
  out.U16(0);  // version
  out.U16(0);  // header size
  Write(out, items);
  context.Add(res::ResourceId::Number(res::kMenu), name, std::move(out.bytes()));
}

}  // namespace zx::rc
