// TOOLBAR statements into the class library's toolbar resource:
//   id TOOLBAR width, height BEGIN
//     BUTTON id
//     SEPARATOR
//   END
// The resource: version 1, the button width and height, the item count, then one command id
// per item (0 for a separator), each a little-endian word. The button pictures are the
// BITMAP of the same id, one button width apart.
#include "../src/bytes.h"
#include "compiler.h"

namespace zx::rc {

void CompileToolbar(Context& context, const res::ResourceId& name) {
  Lexer& lexer = context.lexer;
  const Token start = lexer.Peek();
  const long long width = Expression(lexer);
  Expect(lexer, Token::Kind::Comma, "',' and the button height");
  const long long height = Expression(lexer);
  if (width <= 0 || width > 0xFFFF || height <= 0 || height > 0xFFFF)
    lexer.FailAt(start, "a toolbar's button size is 1 to 65535 each way");
  Expect(lexer, Token::Kind::Begin, "BEGIN and the toolbar's buttons");
  std::vector<WORD> ids;
  while (!Accept(lexer, Token::Kind::Finish)) {
    const Token keyword = Expect(lexer, Token::Kind::Word, "BUTTON, SEPARATOR or END");
    if (keyword.text == "SEPARATOR") {
      ids.push_back(0);
    } else if (keyword.text == "BUTTON") {
      const long long id = Expression(lexer);
      if (id <= 0 || id > 0xFFFF) lexer.FailAt(keyword, "a toolbar button's command id is 1 to 65535");
      ids.push_back(static_cast<WORD>(id));
    } else {
      lexer.FailAt(keyword, "expected BUTTON, SEPARATOR or END");
    }
    if (ids.size() > 0xFFFF) lexer.FailAt(keyword, "a toolbar has at most 65535 items");
  }
  res::ByteWriter out;
  out.U16(1);  // version
  out.U16(static_cast<WORD>(width));
  out.U16(static_cast<WORD>(height));
  out.U16(static_cast<WORD>(ids.size()));
  for (WORD id : ids) out.U16(id);
  context.Add(res::ResourceId::Number(res::kToolbar), name, std::move(out.bytes()));
}

}  // namespace zx::rc
