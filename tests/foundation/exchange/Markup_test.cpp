// CMarkup reading: what parses, the failures with their messages, non-element nodes, element
// data with entities and character data sections, and the cursors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Markup.h"
#include "MarkupOutline.h"
#include "MarkupScanner.h"
#include "cstring_printer.h"

namespace {

using zx::test::Outline;
using zx::test::OutlineOf;
using zx::test::OutlineOfCurrent;

std::string Narrow(const CString& text) { return CStringA(text).GetString(); }

TEST(MarkupParse, AnEmptyOrAbsentDocumentHasNoRoot) {
  CMarkup markup;
  EXPECT_FALSE(markup.SetDocumentText(nullptr));
  EXPECT_FALSE(markup.SetDocumentText(_T("")));
  EXPECT_FALSE(markup.NextElement());
  EXPECT_TRUE(markup.GetElementName().IsEmpty());
  ASSERT_TRUE(markup.AppendElement(_T("root")));
  EXPECT_EQ(markup.GetDocumentText(), CString(_T("<root/>\r\n")));
}

TEST(MarkupParse, AnElementHoldingOneEmptyElement) {
  CMarkup markup;
  ASSERT_TRUE(markup.SetDocumentText(_T("<a><b/></a>")));
  EXPECT_TRUE(markup.GetError().IsEmpty());
  EXPECT_EQ(Outline(markup), "a()[b()]");
}

TEST(MarkupParse, ElementsWithAttributesTextAndSiblings) {
  CMarkup markup;
  ASSERT_TRUE(markup.SetDocumentText(
      _T("<Root version=\"1\">\r\n  <Item id='1'>first</Item>\r\n  <Item>second</Item>\r\n  <Empty a=\"x\"/>\r\n</Root>")));
  EXPECT_EQ(Outline(markup), "Root()[Item(first) Item(second) Empty()]");
}

struct Failure {
  LPCTSTR document;
  LPCTSTR error;
};

class MarkupFailure : public ::testing::TestWithParam<Failure> {};

TEST_P(MarkupFailure, FailsWithItsMessageAndKeepsTheText) {
  CMarkup markup;
  EXPECT_FALSE(markup.SetDocumentText(GetParam().document));
  EXPECT_EQ(markup.GetError(), CString(GetParam().error));
  EXPECT_EQ(markup.GetDocumentText(), CString(GetParam().document));
  EXPECT_FALSE(markup.NextElement());
  EXPECT_FALSE(markup.NextChildElement());
  EXPECT_TRUE(markup.GetElementName().IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Messages, MarkupFailure,
    ::testing::Values(Failure{_T("<a><b></a>"), _T("End tag does not correspond to b")},
                      Failure{_T("<a>"), _T("Element tag not found")},
                      Failure{_T("just text"), _T("Element tag not found")},
                      Failure{_T("<a></a"), _T("End tag not completed for element a")},
                      Failure{_T("<a></a x"), _T("End tag not completed for element a")},
                      Failure{_T("<a></ab>"), _T("End tag does not correspond to a")},
                      Failure{_T("<ab></a>"), _T("End tag does not correspond to ab")},
                      Failure{_T("<ab>x</aB>"), _T("End tag does not correspond to ab")},
                      Failure{_T("<a>x<b>y</a></b>"), _T("End tag does not correspond to b")},
                      Failure{_T("<a></>"), _T("End tag does not correspond to a")},
                      Failure{_T("<!-- never closed <a/>"), _T("Invalid node")},
                      Failure{_T("<?xml version=\"1.0\"<a/>"), _T("Invalid node")},
                      Failure{_T("<!"), _T("Invalid node")},
                      Failure{_T("<![CDATA[ open <a/>"), _T("Invalid node")},
                      Failure{_T("<!DOCTYPE a [ <a/>"), _T("Invalid node")},
                      Failure{_T("<"), _T("Abrupt end within tag")},
                      Failure{_T("<   "), _T("Abrupt end within tag")},
                      Failure{_T("<\"a\">x</a>"), _T("Tag starts with quote")},
                      Failure{_T("<a"), _T("End of tag not found")},
                      Failure{_T("<a><b>x</b><c"), _T("End of tag not found")}));

TEST(MarkupParse, AnEndTagAtDocumentLevelIsNoRoot) {
  CMarkup markup;
  EXPECT_FALSE(markup.SetDocumentText(_T("</a>")));
  EXPECT_FALSE(markup.NextElement());
}

TEST(MarkupParse, DeclarationsAndCommentsAreSkipped) {
  CMarkup markup;
  ASSERT_TRUE(markup.SetDocumentText(
      _T("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<!-- first -->\r\n<!DOCTYPE r [<!ENTITY x \"y>\">]>")
          _T("<r><!-- between --><a/><?pi here?><b>t</b><!-- last --></r>")));
  EXPECT_EQ(Outline(markup), "r()[a() b(t)]");
}

TEST(MarkupParse, EndTagsMayCarryExtraTokens) {
  CMarkup markup;
  EXPECT_TRUE(markup.SetDocumentText(_T("<a>x</a junk=\"q>\" more >")));
  EXPECT_EQ(Outline(markup), "a(x)");
  EXPECT_TRUE(markup.SetDocumentText(_T("<ab></ab>")));
  EXPECT_TRUE(markup.SetDocumentText(_T("<a  >\n</ a\t>")));
}

TEST(MarkupParse, OnlyTheRootElementIsParsed) {
  CMarkup markup;
  ASSERT_TRUE(markup.SetDocumentText(_T("<a/><b/> and <broken")));
  ASSERT_TRUE(markup.NextElement());
  EXPECT_EQ(markup.GetElementName(), CString(_T("a")));
  EXPECT_FALSE(markup.NextElement());
}

TEST(MarkupText, EntitiesAreUnescaped) {
  CMarkup markup;
  ASSERT_TRUE(markup.SetDocumentText(_T("<a>&lt;x&gt; &amp; &unknown; &quot;&apos; &amp;lt; &lt</a>")));
  ASSERT_TRUE(markup.NextElement());
  EXPECT_EQ(markup.GetElementText(), CString(_T("<x> & &unknown; \"' &lt; &lt")));
}

TEST(MarkupText, ACharacterDataSectionIsTakenAsItStands) {
  CMarkup markup;
  ASSERT_TRUE(markup.SetDocumentText(_T("<a> <![CDATA[x<y &amp; z]]></a>")));
  ASSERT_TRUE(markup.NextElement());
  EXPECT_EQ(markup.GetElementText(), CString(_T("x<y &amp; z")));
  ASSERT_TRUE(markup.SetDocumentText(_T("<a><![CDATA[]]></a>")));
  ASSERT_TRUE(markup.NextElement());
  EXPECT_EQ(markup.GetElementText(), CString(_T("")));
}

TEST(MarkupText, AnElementWithChildrenOrNoContentHasNoData) {
  CMarkup markup;
  ASSERT_TRUE(markup.SetDocumentText(_T("<a>text<b>inner</b>more</a>")));
  ASSERT_TRUE(markup.NextElement());
  EXPECT_TRUE(markup.GetElementText().IsEmpty());
  ASSERT_TRUE(markup.SetDocumentText(_T("<a/>")));
  ASSERT_TRUE(markup.NextElement());
  EXPECT_TRUE(markup.GetElementText().IsEmpty());
  ASSERT_TRUE(markup.SetDocumentText(_T("<a>  spaced  </a>")));
  ASSERT_TRUE(markup.NextElement());
  EXPECT_EQ(markup.GetElementText(), CString(_T("  spaced  ")));
}

TEST(MarkupText, DataWrittenIntoAStringReplacesWhatItHeld) {
  CMarkup markup;
  ASSERT_TRUE(markup.SetDocumentText(
      _T("<r><a>&lt;x&gt; &amp;</a><b> <![CDATA[c<d]]></b><c/><d>t<e>u</e></d><f>plain</f></r>")));
  CString held(_T('#'), 200);
  ASSERT_TRUE(markup.NextElement());
  ASSERT_TRUE(markup.EnterElement());
  int elements = 0;
  while (markup.NextElement()) {
    markup.GetElementText(held);
    EXPECT_EQ(held, markup.GetElementText()) << Narrow(markup.GetElementName());
    ++elements;
  }
  EXPECT_EQ(elements, 5);
  EXPECT_EQ(held, CString(_T("plain")));
}

// The leaves in the order, and with the cursors, that stepping into every element and out
// again gives.
std::vector<std::string> LeavesStepByStep(CMarkup& markup) {
  std::vector<std::string> leaves;
  bool walking = markup.NextElement();
  while (walking) {
    markup.EnterElement();
    if (markup.NextElement()) continue;
    markup.LeaveElement();
    CMarkup parent = markup;
    const bool left = parent.LeaveElement();
    leaves.push_back(Narrow(markup.GetElementName() + _T("=") + markup.GetElementText() + _T(" in ") +
                                      (left ? parent.GetElementName() : CString(_T("-")))));
    while (!markup.NextElement()) {
      if (!markup.LeaveElement()) {
        walking = false;
        break;
      }
    }
  }
  return leaves;
}

std::vector<std::string> LeavesAtOnce(CMarkup& markup) {
  std::vector<std::string> leaves;
  while (markup.NextLeafElement()) {
    CMarkup parent = markup;
    const bool left = parent.LeaveElement();
    leaves.push_back(Narrow(markup.GetElementName() + _T("=") + markup.GetElementText() + _T(" in ") +
                                      (left ? parent.GetElementName() : CString(_T("-")))));
  }
  return leaves;
}

TEST(MarkupCursors, TheNextLeafIsTheOneTheStepByStepWalkReaches) {
  std::u16string dense = u"<r>";
  for (int i = 0; i < 20000; ++i) dense += u"<a/>";
  dense += u"</r>";
  for (const std::u16string& text :
       {std::u16string(u"<a/>"), std::u16string(u"<a>1</a>"), std::u16string(u"<r><a>1</a><b>2</b></r>"),
        std::u16string(u"<r><g><a>1</a><h><b/></h></g><c>3</c><g><g><d>4</d></g></g></r>"),
        std::u16string(u"<?xml version='1.0'?><!-- c --><r><x a='1'>t</x><y/></r>"), dense}) {
    CMarkup stepped, direct;
    ASSERT_TRUE(stepped.SetDocumentText(CString(text.c_str(), static_cast<int>(text.size()))));
    ASSERT_TRUE(direct.SetDocumentText(CString(text.c_str(), static_cast<int>(text.size()))));
    const std::vector<std::string> expected = LeavesStepByStep(stepped);
    EXPECT_EQ(LeavesAtOnce(direct), expected) << Narrow(CString(text.c_str()).Left(60));
    EXPECT_FALSE(direct.NextLeafElement());
  }
  CMarkup empty;
  EXPECT_FALSE(empty.NextLeafElement());
  ASSERT_FALSE(empty.SetDocumentText(_T("<a>")));
  EXPECT_FALSE(empty.NextLeafElement());
}

// Documents of every shape, each read by a document that has just held another: what it
// held before leaves nothing behind, and both walks agree with a document of its own.
TEST(MarkupParse, AReusedDocumentReadsEveryShapeAsAFreshOne) {
  std::u16string deep, wide = u"<w>", dense = u"<r>";
  for (int i = 0; i < 3000; ++i) deep += u"<d" + std::u16string(1, static_cast<char16_t>('a' + i % 26)) + u">";
  deep += u"leaf";
  for (int i = 2999; i >= 0; --i) deep += u"</d" + std::u16string(1, static_cast<char16_t>('a' + i % 26)) + u">";
  for (int i = 0; i < 3000; ++i) wide += u"<item n='" + std::u16string(1, static_cast<char16_t>('0' + i % 10)) + u"'>v</item>\r\n";
  wide += u"</w>";
  for (int i = 0; i < 3000; ++i) dense += u"<a/><b></b>";
  dense += u"</r>";
  const std::u16string shapes[] = {
      deep, wide, dense,
      u"<r><e>&lt;&amp;&gt;&quot;&apos;&unknown;</e><f>&amp;amp;</f></r>",
      u"<r><c> <![CDATA[<x>&amp;]]></c><c><![CDATA[]]></c></r>",
      u"<!-- before --><r><!-- a <b/> --><x>1</x><?pi <y/> ?><!-- after --></r>",
      u"<?xml version='1.0'?>\r\n<!DOCTYPE r [<!ENTITY e '>'>]>\r\n<r a=\"1\"><x/></r>",
      u"<r><broken></r>",
      u"<r/>",
  };
  CMarkup reused;
  for (int round = 0; round < 2; ++round) {
    for (const std::u16string& shape : shapes) {
      const CString text(shape.c_str(), static_cast<int>(shape.size()));
      CMarkup fresh, stepped;
      const bool parsed = fresh.SetDocumentText(text);
      stepped.SetDocumentText(text);
      const std::string label = Narrow(text.Left(40));
      if (round == 0) {
        EXPECT_EQ(reused.SetDocumentText(text), parsed) << label;
      } else {
        EXPECT_EQ(reused.SetDocumentText(CString(text)), parsed) << label;
      }
      EXPECT_EQ(reused.GetError(), fresh.GetError()) << label;
      const std::vector<std::string> expected = LeavesStepByStep(stepped);
      EXPECT_EQ(LeavesAtOnce(reused), expected) << label;
      EXPECT_EQ(LeavesAtOnce(fresh), expected) << label;
      reused.SetDocumentText(text);
      EXPECT_EQ(Outline(reused), OutlineOf(text)) << label;
    }
  }
}

TEST(MarkupText, ANameIsComparedWhereItStands) {
  CMarkup markup;
  ASSERT_TRUE(markup.SetDocumentText(_T("<r><Version a='1'>x</Version><versions/><ver/><md5 >y</md5 ><\u00c9t/></r>")));
  ASSERT_TRUE(markup.NextElement());
  EXPECT_TRUE(markup.ElementNameIs(u"r"));
  ASSERT_TRUE(markup.EnterElement());
  std::vector<std::string> answers;
  while (markup.NextElement()) {
    std::string line;
    for (const std::u16string_view name : {u"version", u"ver", u"md5", u"versions", u"\u00e9t"})
      line += markup.ElementNameIs(name) ? "1" : "0";
    answers.push_back(line);
  }
  EXPECT_EQ(answers, (std::vector<std::string>{"10000", "00010", "01000", "00100", "00000"}));
}

// Names of every length up to 20, one character changed at every place: "A" to "Z" match
// their lower case, the characters beside the letters and beyond ASCII do not.
TEST(MarkupText, ANameIsComparedInFullAtEveryLength) {
  const auto nameIs = [](const std::u16string& written, const std::u16string& asked) {
    CMarkup markup;
    const std::u16string text = u"<r><" + written + u">x</" + written + u"></r>";
    EXPECT_TRUE(markup.SetDocumentText(CString(text.c_str()))) << CStringA(text.c_str()).GetString();
    markup.NextElement();
    markup.EnterElement();
    markup.NextElement();
    return markup.ElementNameIs(asked);
  };
  struct Change {
    WCHAR written;
    WCHAR asked;
    bool same;
  };
  constexpr Change kChanges[] = {{'A', 'a', true},   {'Z', 'z', true},    {'@', '`', false}, {'[', '{', false},
                                 {'a', 'b', false},  {0x8041, 'a', false}, {0xFF41, 'a', false}};
  for (std::size_t length = 1; length <= 20; ++length) {
    std::u16string lower, written;
    for (std::size_t i = 0; i < length; ++i) {
      lower += static_cast<WCHAR>('a' + (i * 7 + length) % 26);
      written += static_cast<WCHAR>(i % 2 == 0 ? lower[i] - 'a' + 'A' : lower[i]);
    }
    EXPECT_TRUE(nameIs(written, lower)) << length;
    EXPECT_FALSE(nameIs(written, lower + u"s")) << length;
    EXPECT_FALSE(nameIs(written, lower.substr(0, length - 1))) << length;
    for (std::size_t at = 1; at < length; ++at) {
      for (const Change& change : kChanges) {
        std::u16string changedWritten = written, changedAsked = lower;
        changedWritten[at] = change.written;
        changedAsked[at] = change.asked;
        EXPECT_EQ(nameIs(changedWritten, changedAsked), change.same) << length << " at " << at << " " << static_cast<int>(change.written);
      }
    }
  }
}

TEST(MarkupCursors, WalkingChildrenAndBack) {
  CMarkup markup;
  ASSERT_TRUE(markup.SetDocumentText(_T("<r><a>1</a><b>2</b></r>")));
  EXPECT_FALSE(markup.EnterElement());  // no current element yet
  EXPECT_FALSE(markup.LeaveElement());
  // With no current element, the first child is found after finding the root.
  ASSERT_TRUE(markup.NextChildElement());
  EXPECT_EQ(markup.GetElementName(), CString(_T("r")));
  ASSERT_TRUE(markup.NextChildElement());
  EXPECT_FALSE(markup.NextChildElement());
  ASSERT_TRUE(markup.EnterElement());
  EXPECT_EQ(markup.GetElementText(), CString(_T("2")));
  EXPECT_FALSE(markup.NextElement());
  ASSERT_TRUE(markup.LeaveElement());
  EXPECT_EQ(markup.GetElementName(), CString(_T("r")));
  EXPECT_FALSE(markup.LeaveElement());
  // Entering an element with no child position leaves no current element; NextElement then
  // finds the first child.
  ASSERT_TRUE(markup.EnterElement());
  EXPECT_EQ(markup.GetElementName(), CString(_T("b")));
  ASSERT_TRUE(markup.LeaveElement());
  ASSERT_TRUE(markup.SetDocumentText(_T("<r><a>1</a><b>2</b></r>")));
  ASSERT_TRUE(markup.NextElement());
  ASSERT_TRUE(markup.EnterElement());
  EXPECT_TRUE(markup.GetElementName().IsEmpty());
  EXPECT_FALSE(markup.EnterElement());
  ASSERT_TRUE(markup.NextElement());
  EXPECT_EQ(markup.GetElementName(), CString(_T("a")));
  ASSERT_TRUE(markup.NextElement());
  EXPECT_EQ(markup.GetElementName(), CString(_T("b")));
}

TEST(MarkupCursors, ACopyWalksOnItsOwn) {
  CMarkup markup;
  ASSERT_TRUE(markup.SetDocumentText(_T("<r><a/><b/></r>")));
  ASSERT_TRUE(markup.NextElement());
  CMarkup copy = markup;
  ASSERT_TRUE(copy.NextChildElement());
  ASSERT_TRUE(copy.NextChildElement());
  ASSERT_TRUE(copy.EnterElement());
  EXPECT_EQ(copy.GetElementName(), CString(_T("b")));
  ASSERT_TRUE(markup.NextChildElement());
  ASSERT_TRUE(markup.EnterElement());
  EXPECT_EQ(markup.GetElementName(), CString(_T("a")));
}

// Copies share one document until one of them changes it: the change is its own alone.
TEST(MarkupCursors, AChangedCopyLeavesTheOtherAsItWas) {
  CMarkup markup;
  ASSERT_TRUE(markup.SetDocumentText(_T("<r><a>1</a></r>")));
  ASSERT_TRUE(markup.NextElement());
  CMarkup appended = markup;
  ASSERT_TRUE(appended.AppendElement(_T("b"), _T("2"), true));
  CMarkup replaced = markup;
  ASSERT_TRUE(replaced.SetDocumentText(_T("<x/>")));
  CMarkup parsedAgain = markup;
  ASSERT_TRUE(markup.SetDocumentText(_T("<r><c>3</c></r>")));

  EXPECT_EQ(zx::test::OutlineOf(appended.GetDocumentText()), "r()[a(1) b(2)]");
  EXPECT_EQ(Outline(replaced), "x()");
  EXPECT_EQ(OutlineOfCurrent(parsedAgain), "r()[a(1)]");
  EXPECT_EQ(Outline(markup), "r()[c(3)]");
}

TEST(MarkupParse, ThousandsOfElementsThenAppendsKeepEveryOne) {
  std::u16string text = u"<root>";
  for (int n = 0; n < 3000; ++n) {
    text += u"<e>";
    text += static_cast<char16_t>('a' + n % 26);
    text += u"</e><f/>";
  }
  text += u"</root>";
  CMarkup markup;
  ASSERT_TRUE(markup.SetDocumentText(CString(text.c_str())));
  ASSERT_TRUE(markup.NextElement());
  for (int n = 0; n < 500; ++n) ASSERT_TRUE(markup.AppendElement(_T("g"), _T("x"), true));
  CMarkup reread;
  ASSERT_TRUE(reread.SetDocumentText(markup.GetDocumentText()));
  for (CMarkup* document : {&markup, &reread}) {
    document->SetDocumentText(document->GetDocumentText());
    ASSERT_TRUE(document->NextElement());
    int e = 0, f = 0, g = 0;
    while (document->NextChildElement()) {
      document->EnterElement();
      const CString name = document->GetElementName();
      if (name == _T("e")) {
        EXPECT_EQ(document->GetElementText(), CString(static_cast<WCHAR>('a' + e % 26)));
        ++e;
      }
      f += name == _T("f") ? 1 : 0;
      g += name == _T("g") ? 1 : 0;
      document->LeaveElement();
    }
    EXPECT_EQ(e, 3000);
    EXPECT_EQ(f, 3000);
    EXPECT_EQ(g, 500);
  }
}

TEST(MarkupText, NamesEndAtEveryDelimiter) {
  CMarkup markup;
  ASSERT_TRUE(markup.SetDocumentText(_T("<r><a/><bb\tx='1'/><ccc\r\n></ccc><d\\/><e=1/><f?/></r>")));
  ASSERT_TRUE(markup.NextElement());
  EXPECT_EQ(markup.GetElementName(), _T("r"));
  CString names;
  while (markup.NextChildElement()) {
    markup.EnterElement();
    names += markup.GetElementName() + _T(",");
    markup.LeaveElement();
  }
  EXPECT_EQ(names, _T("a,bb,ccc,d,e,f,"));
  // Digits and punctuation in a name, before its ">" in the same block of eight or a later one.
  for (const CString name : {_T("g1"), _T("h-2.3:k"), _T("abcdefgh9"), _T("a1b2c3d4e5f6g7")}) {
    ASSERT_TRUE(markup.SetDocumentText(_T("<") + name + _T(">t</") + name + _T(">"))) << Narrow(name);
    ASSERT_TRUE(markup.NextElement());
    EXPECT_EQ(markup.GetElementName() + markup.GetElementText(), name + _T("t"));
  }
}

// End tags are compared in blocks of characters: names of every length up to past two blocks,
// with one character wrong at each place, within a text and at its very end, where the text
// holds no further block.
TEST(MarkupParse, AnEndTagMustRepeatTheNameAtEveryPlace) {
  const std::u16string letters = u"abcdefghijklmnopqrst";
  for (std::size_t length = 1; length <= letters.size(); ++length) {
    const std::u16string name = letters.substr(0, length);
    for (std::size_t wrong = 0; wrong <= length; ++wrong) {
      std::u16string end = name;
      if (wrong < length) end[wrong] = u'X';
      for (const bool last : {false, true}) {
        const std::u16string text = last ? u"<" + name + u">x</" + end + u">"
                                         : u"<r><" + name + u">x</" + end + u"></r>\r\n<!-- padding to fill a block -->";
        CMarkup markup;
        const CString document(text.c_str(), static_cast<int>(text.size()));
        const std::string label = Narrow(document);
        EXPECT_EQ(markup.SetDocumentText(document), wrong == length) << label;
        if (wrong < length) {
          EXPECT_EQ(markup.GetError(), _T("End tag does not correspond to ") + CString(name.c_str())) << label;
        }
      }
    }
  }
}

}  // namespace
