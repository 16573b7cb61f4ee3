// CMarkup parsing documents of every shape: each document of the table reads to its outline
// (names, data and nesting) or fails with its message.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Markup.h"
#include "MarkupOutline.h"

namespace {

struct Shape {
  std::u16string document;
  std::string expected;  // the outline, or "error: " and the message
};

std::string Read(const std::u16string& document) {
  CMarkup markup;
  if (!markup.SetDocumentText(CString(document.c_str(), static_cast<int>(document.size())))) {
    return "error: " + std::string(CStringA(markup.GetError()).GetString());
  }
  return zx::test::Outline(markup);
}

std::u16string Repeat(const std::u16string& text, int count) {
  std::u16string out;
  for (int i = 0; i < count; ++i) out += text;
  return out;
}

std::string Repeat(const std::string& text, int count, const std::string& between) {
  std::string out;
  for (int i = 0; i < count; ++i) out += (i == 0 ? "" : between) + text;
  return out;
}

std::vector<Shape> Shapes() {
  std::vector<Shape> shapes = {
      {u"<r>" + Repeat(u"<d>", 300) + u"leaf" + Repeat(u"</d>", 300) + u"</r>",
       "r()[" + Repeat("d()[", 299, "") + "d(leaf)" + std::string(300, ']')},
      {u"<w>\r\n" + Repeat(u"  <item>v</item>\r\n", 200) + u"</w>", "w()[" + Repeat("item(v)", 200, " ") + "]"},
      {u"<r>" + Repeat(u"<a/><b></b><c>1</c>", 100) + u"</r>", "r()[" + Repeat("a() b() c(1)", 100, " ") + "]"},
      {u"<r><e>&lt;&amp;&gt;&quot;&apos;&unknown;</e><f>&amp;amp;</f></r>", "r()[e(<&>\"'&unknown;) f(&amp;)]"},
      {u"<r><c> <![CDATA[<x>&amp;</c>]]></c><c><![CDATA[]]></c></r>", "r()[c(<x>&amp;</c>) c()]"},
      {u"<!-- a <b/> --><r><!-- <x/> --><a>1</a><?pi <y/> ?><b/><!-- --></r><!-- after -->", "r()[a(1) b()]"},
      {u"<?xml version='1.0'?>\r\n<!DOCTYPE r [<!ENTITY e '>'><!ELEMENT r ANY>]>\r\n<r><x/></r>", "r()[x()]"},
      // A ">" in a quoted value ends the start tag all the same.
      {u"<r><a x='1>'>t</a><b y=\"2\" z='3'>u</b><c k='v'/></r>", "r()[a('>t) b(u) c()]"},
      {u"<r><a >x</a ><b\t>y</b\r\n><c>z</c  ></r >", "r()[a(x) b(y) c(z)]"},
      {u"<r>\r\n<a>x</a>\r\n<b>y</b>text<c>z</c></r>", "r()[a(x) b(y) c(z)]"},
      {u"<r><a>x</a junk='>' more></r>", "r()[a(x)]"},
      {u"<r><a>1<b>2</b>3</a></r>", "r()[a()[b(2)]]"},
      {u"<a/>", "a()"},
      {u"<a>x</a><b/>", "a(x)"},
      {u"</a>", "error: "},  // no root, and no message
      {u"<r><a>x</b></r>", "error: End tag does not correspond to a"},
      {u"<r><a>x</ab></r>", "error: End tag does not correspond to a"},
      {u"<r><ab>x</a></r>", "error: End tag does not correspond to ab"},
      {u"<r><a>x</A></r>", "error: End tag does not correspond to a"},
      {u"<r><a><b>x</a></b></r>", "error: End tag does not correspond to b"},
      {u"<r><a>x</a></s>", "error: End tag does not correspond to r"},
      // The text ends inside a tag.
      {u"<r><a>x</a><b", "error: End of tag not found"},
      {u"<r><a>x</a><b x='1'", "error: End of tag not found"},
      {u"<r><a>x</a", "error: End tag not completed for element a"},
      {u"<r><a>x</", "error: End tag not completed for element a"},
      {u"<r><a>x<", "error: Abrupt end within tag"},
      {u"<r><a>x</a>", "error: Element tag not found"},
      {u"<r><!-- open", "error: Invalid node"},
      {u"<r><![CDATA[ open", "error: Invalid node"},
      {u"<r><?pi", "error: Invalid node"},
      {u"<r><a>'x</a></r>", "r()[a('x)]"},
      {u"<r><\"a\">x</a></r>", "error: Tag starts with quote"},
  };
  // Names, start tags and end tags across every place of a 64-character block.
  const std::u16string name = u"hardwareidentifier_long";
  for (int pad = 0; pad < 70; ++pad) {
    shapes.push_back({u"<r><p>" + std::u16string(static_cast<std::size_t>(pad), u'.') + u"</p>\r\n<" + name + u">v</" + name +
                          u">\r\n<e" + std::u16string(static_cast<std::size_t>(pad % 7), u' ') + u"/>\r\n</r>",
                      "r()[p(" + std::string(static_cast<std::size_t>(pad), '.') + ") hardwareidentifier_long(v) e()]"});
  }
  return shapes;
}

// Read from the text without positions, a document gives the leaves its own walk gives, and
// fails where its parse fails; a reading stopped gives the leaves before the stop.
TEST(MarkupShapes, EveryShapesLeavesReadFromItsTextAreThoseItsWalkVisits) {
  for (const Shape& shape : Shapes()) {
    const CString text(shape.document.c_str(), static_cast<int>(shape.document.size()));
    CMarkup markup;
    const bool parsed = markup.SetDocumentText(text);
    const zx::test::LeavesReading all(shape.document, -1);
    const std::string context = CStringA(CString(shape.document.substr(0, 80).c_str())).GetString();
    EXPECT_EQ(all.result > 0, parsed) << context;
    if (!parsed) continue;
    EXPECT_EQ(all.leaves, zx::test::LeavesOfDocument(markup)) << context;
    const zx::test::LeavesReading one(shape.document, 1);
    EXPECT_EQ(one.count, std::min(all.count, 1)) << context;
    EXPECT_EQ(one.result, all.count > 1 ? kMarkupSinkStopped : all.result) << context;
    EXPECT_EQ(one.leaves, all.leaves.substr(0, one.leaves.size())) << context;
  }
}

TEST(MarkupShapes, EveryShapeReadsToItsOutlineOrItsError) {
  for (const Shape& shape : Shapes()) {
    EXPECT_EQ(Read(shape.document), shape.expected) << CStringA(CString(shape.document.substr(0, 80).c_str())).GetString();
  }
}

}  // namespace
