// CMarkup on hostile documents: nesting 100,000 deep (closed and unclosed), bad entities,
// binary noise and damaged copies of a good document. None may crash or overflow the stack.
#include <gtest/gtest.h>

#include <string>

#include "Markup.h"
#include "MarkupOutline.h"
#include "cstring_printer.h"

namespace {

constexpr int kDepth = 100000;

CString Nested(int depth, bool closed) {
  std::u16string text;
  for (int i = 0; i < depth; ++i) text += u"<e>";
  text += u"deep";
  if (closed) {
    for (int i = 0; i < depth; ++i) text += u"</e>";
  }
  return CString(text.c_str(), static_cast<int>(text.size()));
}

TEST(MarkupHostile, NestingAHundredThousandDeepParses) {
  CMarkup markup;
  ASSERT_TRUE(markup.SetDocumentText(Nested(kDepth, true)));
  ASSERT_TRUE(markup.NextElement());
  int depth = 1;
  while (markup.NextChildElement()) {
    ASSERT_TRUE(markup.EnterElement());
    ++depth;
  }
  EXPECT_EQ(depth, kDepth);
  EXPECT_EQ(markup.GetElementText(), CString(_T("deep")));
  // Adding below the deepest element moves the end tags of all its ancestors.
  ASSERT_TRUE(markup.AppendElement(_T("x"), nullptr, false));
  while (markup.LeaveElement()) {
  }
  EXPECT_EQ(markup.GetElementName(), CString(_T("e")));
  EXPECT_TRUE(markup.GetDocumentText().Right(8) == CString(_T("</e></e>")));
}

TEST(MarkupHostile, NestingAHundredThousandDeepUnclosedFailsCleanly) {
  CMarkup markup;
  EXPECT_FALSE(markup.SetDocumentText(Nested(kDepth, false)));
  EXPECT_EQ(markup.GetError(), CString(_T("Element tag not found")));
  EXPECT_FALSE(markup.NextElement());
}

TEST(MarkupHostile, NestingClosedByTheWrongTagFailsCleanly) {
  CString text = Nested(kDepth, true);
  text.Replace(_T("deep</e>"), _T("deep</f>"));
  CMarkup markup;
  EXPECT_FALSE(markup.SetDocumentText(text));
  EXPECT_EQ(markup.GetError(), CString(_T("End tag does not correspond to e")));
}

TEST(MarkupHostile, BadEntitiesStayAsTheyAre) {
  CMarkup markup;
  ASSERT_TRUE(markup.SetDocumentText(_T("<a>&#xZZ; &#0; &; && &lt &amp &quot;x&</a>")));
  ASSERT_TRUE(markup.NextElement());
  EXPECT_EQ(markup.GetElementText(), CString(_T("&#xZZ; &#0; &; && &lt &amp \"x&")));
}

// A small generator so every run sees the same noise.
class Noise {
 public:
  explicit Noise(unsigned seed) : state_(seed) {}
  unsigned Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ >> 8;
  }

 private:
  unsigned state_;
};

TEST(MarkupHostile, BinaryNoiseNeverCrashes) {
  Noise noise(7);
  const WCHAR alphabet[] = u"<>/!?-[]\"'= \r\nabAB&;";
  for (int round = 0; round < 400; ++round) {
    std::u16string text;
    const unsigned length = noise.Next() % 400;
    for (unsigned i = 0; i < length; ++i) {
      const unsigned pick = noise.Next();
      // Half markup characters, half any non-zero unit.
      text += (pick & 1) ? alphabet[(pick >> 1) % (sizeof(alphabet) / sizeof(WCHAR) - 1)]
                         : static_cast<WCHAR>(1 + (pick >> 1) % 0xFFFF);
    }
    CMarkup markup;
    const bool parsed = markup.SetDocumentText(CString(text.c_str(), static_cast<int>(text.size())));
    EXPECT_EQ(parsed, markup.GetError().IsEmpty() && markup.NextElement());
    if (parsed) zx::test::OutlineOf(markup.GetDocumentText());
  }
}

TEST(MarkupHostile, DamagedCopiesOfAGoodDocumentNeverCrash) {
  const CString good = _T("<?xml version=\"1.0\"?><!-- c --><Answer><Device id=\"1\"><Name>A &amp; B</Name>")
                       _T("<Data><![CDATA[x<y]]></Data></Device><Device/></Answer>");
  Noise noise(11);
  for (int round = 0; round < 400; ++round) {
    CString text = good;
    const int cuts = 1 + static_cast<int>(noise.Next() % 3);
    for (int c = 0; c < cuts; ++c) {
      const int at = static_cast<int>(noise.Next() % static_cast<unsigned>(text.GetLength()));
      switch (noise.Next() % 3) {
        case 0: text.Delete(at, 1 + static_cast<int>(noise.Next() % 8)); break;
        case 1: text.Insert(at, static_cast<WCHAR>(u"<>/\"'&!?["[noise.Next() % 9])); break;
        default: text = text.Left(at); break;
      }
      if (text.IsEmpty()) text = _T("<");
    }
    CMarkup markup;
    if (markup.SetDocumentText(text)) {
      ASSERT_TRUE(markup.NextElement());
      EXPECT_FALSE(markup.GetElementName().IsEmpty());
      markup.AppendElement(_T("added"), _T("v"), true);
      zx::test::OutlineOf(markup.GetDocumentText());
    } else {
      EXPECT_FALSE(markup.NextElement());
    }
  }
}

}  // namespace
