// DIALOGEX statements into extended dialog templates (DLGTEMPLATEEX and its items):
//   id DIALOGEX x, y, cx, cy [, helpId]
//   STYLE ..., EXSTYLE ..., CAPTION "...", FONT points, "face" [, weight [, italic [, charset]]],
//   CLASS "..." | number, MENU name
//   BEGIN CONTROL "text" | number, id, "class" | number, style, x, y, cx, cy [, exstyle [, helpId]] ... END
// Without STYLE a dialog is WS_POPUP | WS_BORDER | WS_SYSMENU; CAPTION adds WS_CAPTION and
// FONT adds DS_SETFONT. A control's style starts as WS_CHILD | WS_VISIBLE (NOT clears bits).
// The class names Button, Edit, Static, ListBox, ScrollBar and ComboBox become their numbers.
#include <climits>

#include "../src/bytes.h"
#include "compiler.h"

namespace zx::rc {
namespace {

constexpr DWORD kDefaultStyle = 0x80880000u;  // WS_POPUP | WS_BORDER | WS_SYSMENU
constexpr DWORD kCaption = 0x00C00000u;
constexpr DWORD kSetFont = 0x40u;
constexpr DWORD kChildVisible = 0x50000000u;  // WS_CHILD | WS_VISIBLE

struct Field {  // absent, number or text
  bool present = false;
  bool isNumber = false;
  WORD number = 0;
  std::u16string text;
};

struct Control {
  Field text;
  DWORD id = 0;
  Field windowClass;
  DWORD style = 0;
  short box[4] = {};
  DWORD exStyle = 0;
  DWORD helpId = 0;
};

void WriteField(res::ByteWriter& out, const Field& field) {
  if (!field.present) {
    out.U16(0);
  } else if (field.isNumber) {
    out.U16(0xFFFF);
    out.U16(field.number);
  } else {
    out.String(field.text);
  }
}

short Coordinate(Lexer& lexer) {
  const Token where = lexer.Peek();
  const long long value = Expression(lexer);
  if (value < SHRT_MIN || value > SHRT_MAX) lexer.FailAt(where, "a dialog coordinate is out of range");
  return static_cast<short>(value);
}

DWORD Value32(Lexer& lexer, long long initial = 0) {
  const Token where = lexer.Peek();
  const long long value = Expression(lexer, initial);
  if (value < INT_MIN || value > static_cast<long long>(UINT_MAX)) lexer.FailAt(where, "a value does not fit 32 bits");
  return static_cast<DWORD>(value);
}

Field NumberOrText(Lexer& lexer, bool predefinedClasses) {
  const Token t = lexer.Next();
  Field f;
  f.present = true;
  if (t.kind == Token::Kind::Number) {
    if (t.number > 0xFFFF) lexer.FailAt(t, "a number here is 0 to 65535");
    f.isNumber = true;
    f.number = static_cast<WORD>(t.number);
    return f;
  }
  if (t.kind != Token::Kind::String && !(predefinedClasses && t.kind == Token::Kind::Word))
    lexer.FailAt(t, "expected a text in quotes or a number");
  f.text = ToUtf16(t, lexer, t.text);
  if (predefinedClasses) {
    static const char16_t* const kClasses[] = {u"BUTTON", u"EDIT", u"STATIC", u"LISTBOX",
                                               u"SCROLLBAR", u"COMBOBOX"};
    const std::u16string upper = UpperName(t.text);
    for (WORD i = 0; i < 6; ++i) {
      if (upper == kClasses[i]) {
        f.isNumber = true;
        f.number = static_cast<WORD>(0x80 + i);
      }
    }
  }
  return f;
}

Control ReadControl(Lexer& lexer) {
  Control c;
  c.text = NumberOrText(lexer, false);
  if (!c.text.isNumber && c.text.text.empty()) c.text.present = false;
  Expect(lexer, Token::Kind::Comma, "',' after the control's text");
  c.id = Value32(lexer);
  Expect(lexer, Token::Kind::Comma, "',' after the control's id");
  c.windowClass = NumberOrText(lexer, true);
  Expect(lexer, Token::Kind::Comma, "',' after the control's class");
  c.style = Value32(lexer, kChildVisible);
  for (short& v : c.box) {
    Expect(lexer, Token::Kind::Comma, "',' and the control's position and size");
    v = Coordinate(lexer);
  }
  if (Accept(lexer, Token::Kind::Comma)) {
    c.exStyle = Value32(lexer);
    if (Accept(lexer, Token::Kind::Comma)) c.helpId = Value32(lexer);
  }
  return c;
}

}  // namespace

void CompileDialog(Context& context, const res::ResourceId& name) {
  Lexer& lexer = context.lexer;
  short box[4];
  for (int i = 0; i < 4; ++i) {
    if (i > 0) Expect(lexer, Token::Kind::Comma, "',' and the dialog's position and size");
    box[i] = Coordinate(lexer);
  }
  DWORD helpId = Accept(lexer, Token::Kind::Comma) ? Value32(lexer) : 0;
  DWORD style = kDefaultStyle;
  DWORD exStyle = 0;
  bool hasCaption = false;
  bool hasFont = false;
  std::u16string caption;
  Field menu;
  Field windowClass;
  WORD points = 0;
  WORD weight = 400;
  BYTE italic = 0;
  BYTE charset = 1;
  std::u16string face;
  while (lexer.Peek().kind == Token::Kind::Word) {
    const Token option = lexer.Next();
    if (option.text == "STYLE") {
      style = Value32(lexer);
    } else if (option.text == "EXSTYLE") {
      exStyle = Value32(lexer);
    } else if (option.text == "CAPTION") {
      const Token text = Expect(lexer, Token::Kind::String, "the caption in quotes");
      caption = ToUtf16(text, lexer, text.text);
      hasCaption = true;
    } else if (option.text == "FONT") {
      const long long size = Expression(lexer);
      if (size < 0 || size > 0xFFFF) lexer.FailAt(option, "a font size is 0 to 65535 points");
      points = static_cast<WORD>(size);
      Expect(lexer, Token::Kind::Comma, "',' and the font's face");
      const Token faceToken = Expect(lexer, Token::Kind::String, "the font's face in quotes");
      face = ToUtf16(faceToken, lexer, faceToken.text);
      if (Accept(lexer, Token::Kind::Comma)) weight = static_cast<WORD>(Value32(lexer));
      if (Accept(lexer, Token::Kind::Comma)) italic = static_cast<BYTE>(Value32(lexer));
      if (Accept(lexer, Token::Kind::Comma)) charset = static_cast<BYTE>(Value32(lexer));
      hasFont = true;
    } else if (option.text == "CLASS") {
      windowClass = NumberOrText(lexer, false);
    } else if (option.text == "MENU") {
      const res::ResourceId id = NameOrNumber(lexer, lexer.Next());
      menu.present = true;
      menu.isNumber = id.isNumber;
      menu.number = id.number;
      menu.text = id.name;
    } else {
      lexer.FailAt(option, "unknown dialog option " + option.text);
    }
  }
  if (hasCaption) style |= kCaption;
  if (hasFont) style |= kSetFont;
  Expect(lexer, Token::Kind::Begin, "BEGIN and the dialog's controls");
  std::vector<Control> controls;
  while (!Accept(lexer, Token::Kind::Finish)) {
    const Token keyword = lexer.Next();
    if (keyword.kind != Token::Kind::Word || keyword.text != "CONTROL")
      lexer.FailAt(keyword, "expected CONTROL or END");
    controls.push_back(ReadControl(lexer));
    if (controls.size() > 0xFFFF) lexer.FailAt(keyword, "a dialog holds at most 65535 controls");
  }

  res::ByteWriter out;
  out.U16(1);
  out.U16(0xFFFF);
  out.U32(helpId);
  out.U32(exStyle);
  out.U32(style);
  out.U16(static_cast<WORD>(controls.size()));
  for (short v : box) out.U16(static_cast<WORD>(v));
  WriteField(out, menu);
  WriteField(out, windowClass);
  out.String(caption);
  if (style & kSetFont) {
    out.U16(points);
    out.U16(weight);
    out.U8(italic);
    out.U8(charset);
    out.String(face);
  }
  for (const Control& c : controls) {
    out.Align(4);
    out.U32(c.helpId);
    out.U32(c.exStyle);
    out.U32(c.style);
    for (short v : c.box) out.U16(static_cast<WORD>(v));
    out.U32(c.id);
    WriteField(out, c.windowClass);
    WriteField(out, c.text);
    out.U16(0);  // no creation data
  }
  context.Add(res::ResourceId::Number(res::kDialog), name, std::move(out.bytes()));
}

}  // namespace zx::rc
