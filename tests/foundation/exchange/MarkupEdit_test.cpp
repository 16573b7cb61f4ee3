// CMarkup writing: documents built from nothing, children added to "<a/>" and "<a></a>",
// elements inserted between others with every position behind them moved, escaping, and the
// additions that are refused.
#include <gtest/gtest.h>

#include <iterator>

#include "Markup.h"
#include "MarkupOutline.h"
#include "cstring_printer.h"

namespace {

using zx::test::OutlineOf;

TEST(MarkupEdit, ADocumentBuiltFromNothingHasOneElementALine) {
  CMarkup markup;
  ASSERT_TRUE(markup.AppendElement(_T("Feedback")));
  ASSERT_TRUE(markup.AppendElement(_T("Email"), _T("me@example.com"), true));
  ASSERT_TRUE(markup.AppendElement(_T("Type"), _T("2"), true));
  ASSERT_TRUE(markup.AppendElement(_T("Empty"), _T(""), true));
  ASSERT_TRUE(markup.AppendElement(_T("Text"), nullptr, true));
  EXPECT_EQ(markup.GetDocumentText(), CString(_T("<Feedback>\r\n<Email>me@example.com</Email>\r\n<Type>2</Type>\r\n")
                                                  _T("<Empty/>\r\n<Text/>\r\n</Feedback>\r\n")));
  // The positions follow the text: the last child is readable in place.
  ASSERT_TRUE(markup.EnterElement());
  EXPECT_EQ(markup.GetElementName(), CString(_T("Text")));
  EXPECT_EQ(OutlineOf(markup.GetDocumentText()), "Feedback()[Email(me@example.com) Type(2) Empty() Text()]");
}

TEST(MarkupEdit, AChildSplitsAnEmptyElement) {
  CMarkup markup;
  ASSERT_TRUE(markup.SetDocumentText(_T("<r><a/><z>after</z></r>")));
  ASSERT_TRUE(markup.NextElement());
  ASSERT_TRUE(markup.NextChildElement());
  ASSERT_TRUE(markup.EnterElement());
  ASSERT_TRUE(markup.AppendElement(_T("b"), nullptr, true));
  EXPECT_EQ(markup.GetDocumentText(), CString(_T("<r><a>\r\n<b/>\r\n</a><z>after</z></r>")));
  EXPECT_EQ(markup.GetElementName(), CString(_T("a")));
  // A second child goes after the first, inside the split element.
  ASSERT_TRUE(markup.AppendElement(_T("c"), _T("v"), true));
  EXPECT_EQ(markup.GetDocumentText(), CString(_T("<r><a>\r\n<b/>\r\n<c>v</c>\r\n</a><z>after</z></r>")));
  // The element behind was moved along: it is still read correctly.
  ASSERT_TRUE(markup.NextElement());
  EXPECT_EQ(markup.GetElementName(), CString(_T("z")));
  EXPECT_EQ(markup.GetElementText(), CString(_T("after")));
  EXPECT_EQ(OutlineOf(markup.GetDocumentText()), "r()[a()[b() c(v)] z(after)]");
}

TEST(MarkupEdit, AllClosingSlashesOfAnEmptyElementGiveWay) {
  CMarkup markup;
  ASSERT_TRUE(markup.SetDocumentText(_T("<r><a x='/'//><z/></r>")));
  ASSERT_TRUE(markup.NextElement());
  ASSERT_TRUE(markup.NextChildElement());
  ASSERT_TRUE(markup.EnterElement());
  ASSERT_TRUE(markup.AppendElement(_T("b"), nullptr, true));
  EXPECT_EQ(markup.GetDocumentText(), CString(_T("<r><a x='/'>\r\n<b/>\r\n</a><z/></r>")));
  EXPECT_EQ(OutlineOf(markup.GetDocumentText()), "r()[a()[b()] z()]");
}

TEST(MarkupEdit, AChildGoesOnItsOwnLineInsideAnElementWithNoContent) {
  CMarkup markup;
  ASSERT_TRUE(markup.SetDocumentText(_T("<p></p>")));
  ASSERT_TRUE(markup.NextElement());
  ASSERT_TRUE(markup.AppendElement(_T("b"), _T("v"), true));
  EXPECT_EQ(markup.GetDocumentText(), CString(_T("<p>\r\n<b>v</b>\r\n</p>")));
  ASSERT_TRUE(markup.AppendElement(_T("c"), nullptr, true));
  EXPECT_EQ(markup.GetDocumentText(), CString(_T("<p>\r\n<b>v</b>\r\n<c/>\r\n</p>")));
}

TEST(MarkupEdit, ASiblingIsInsertedBetweenElements) {
  CMarkup markup;
  ASSERT_TRUE(markup.SetDocumentText(_T("<r><a>1</a><c>3</c></r><!-- tail -->")));
  ASSERT_TRUE(markup.NextElement());
  ASSERT_TRUE(markup.EnterElement());
  ASSERT_TRUE(markup.NextElement());
  ASSERT_TRUE(markup.AppendElement(_T("b"), _T("2")));
  EXPECT_EQ(markup.GetDocumentText(), CString(_T("<r><a>1</a><b>2</b>\r\n<c>3</c></r><!-- tail -->")));
  EXPECT_EQ(markup.GetElementText(), CString(_T("2")));
  ASSERT_TRUE(markup.NextElement());
  EXPECT_EQ(markup.GetElementText(), CString(_T("3")));
  // Adding to the element behind uses its moved positions.
  ASSERT_TRUE(markup.AppendElement(_T("d")));
  ASSERT_TRUE(markup.LeaveElement());
  ASSERT_TRUE(markup.AppendElement(_T("last"), nullptr, true));
  EXPECT_EQ(markup.GetDocumentText(),
            CString(_T("<r><a>1</a><b>2</b>\r\n<c>3</c><d/>\r\n<last/>\r\n</r><!-- tail -->")));
  EXPECT_EQ(OutlineOf(markup.GetDocumentText()), "r()[a(1) b(2) c(3) d() last()]");
}

TEST(MarkupEdit, InsertionMovesOverBlanksBeforeTheNextTag) {
  CMarkup markup;
  ASSERT_TRUE(markup.SetDocumentText(_T("<r>\r\n  <a/>\r\n  <c/>\r\n</r>")));
  ASSERT_TRUE(markup.NextElement());
  ASSERT_TRUE(markup.NextChildElement());
  ASSERT_TRUE(markup.AppendElement(_T("b"), nullptr, true));
  EXPECT_EQ(markup.GetDocumentText(), CString(_T("<r>\r\n  <a/>\r\n  <b/>\r\n<c/>\r\n</r>")));
}

TEST(MarkupEdit, ValuesAreEscaped) {
  CMarkup markup;
  ASSERT_TRUE(markup.AppendElement(_T("v"), _T("a<b & c>d \"q\" 'a'")));
  EXPECT_EQ(markup.GetDocumentText(), CString(_T("<v>a&lt;b &amp; c&gt;d \"q\" 'a'</v>\r\n")));
  EXPECT_EQ(markup.GetElementText(), CString(_T("a<b & c>d \"q\" 'a'")));
}

TEST(MarkupEdit, ASecondRootIsRefused) {
  CMarkup markup;
  ASSERT_TRUE(markup.SetDocumentText(_T("<r/>")));
  ASSERT_TRUE(markup.NextElement());
  EXPECT_FALSE(markup.AppendElement(_T("other")));
  CMarkup built;
  ASSERT_TRUE(built.AppendElement(_T("r")));
  EXPECT_FALSE(built.AppendElement(_T("other")));
  EXPECT_EQ(built.GetDocumentText(), CString(_T("<r/>\r\n")));
}

TEST(MarkupEdit, AChildNeedsACurrentElement) {
  CMarkup markup;
  ASSERT_TRUE(markup.SetDocumentText(_T("<r/>")));
  EXPECT_FALSE(markup.AppendElement(_T("c"), nullptr, true));
  EXPECT_EQ(markup.GetDocumentText(), CString(_T("<r/>")));
}

TEST(MarkupEdit, NamesThatCannotStandInATagAreRefused) {
  CMarkup markup;
  for (LPCTSTR name : {static_cast<LPCTSTR>(nullptr), _T(""), _T("a b"), _T("a<"), _T("x/"), _T("q\""), _T("e&"),
                       _T("n>"), _T("a=b"), _T("?"), _T("!")}) {
    EXPECT_FALSE(markup.AppendElement(name));
  }
  EXPECT_TRUE(markup.GetDocumentText().IsEmpty());
  EXPECT_TRUE(markup.AppendElement(_T("ns:name-1.x")));
}

TEST(MarkupEdit, ZeroCharactersInTheDocumentSurviveAnAddition) {
  const WCHAR text[] = u"<r><b\0x/><c/></r>";
  CMarkup markup;
  ASSERT_TRUE(markup.SetDocumentText(CString(text, static_cast<int>(std::size(text)) - 1)));
  ASSERT_TRUE(markup.NextElement());
  ASSERT_TRUE(markup.NextChildElement());
  ASSERT_TRUE(markup.EnterElement());
  ASSERT_TRUE(markup.AppendElement(_T("d"), nullptr, true));
  const WCHAR expected[] = u"<r><b\0x>\r\n<d/>\r\n</b\0x><c/></r>";
  EXPECT_EQ(markup.GetDocumentText(), CString(expected, static_cast<int>(std::size(expected)) - 1));
  ASSERT_TRUE(markup.NextElement());
  EXPECT_EQ(markup.GetElementName(), CString(_T("c")));
}

TEST(MarkupEdit, ARootAfterADeclarationGoesAtTheEnd) {
  CMarkup markup;
  EXPECT_FALSE(markup.SetDocumentText(_T("<?xml version=\"1.0\"?>\r\n")));
  ASSERT_TRUE(markup.AppendElement(_T("r")));
  EXPECT_EQ(markup.GetDocumentText(), CString(_T("<?xml version=\"1.0\"?>\r\n<r/>\r\n")));
  EXPECT_EQ(OutlineOf(markup.GetDocumentText()), "r()");
}

}  // namespace
