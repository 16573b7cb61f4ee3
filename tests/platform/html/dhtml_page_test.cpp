// The HTML dialog's page inside: the element tree read from HTML (damaged HTML included),
// the script subset, and the HTML the dialog draws.
#include <gtest/gtest.h>

#include "dhtml_page.h"

using zx::html::DisplayHtml;
using zx::html::InnerHtml;
using zx::html::Node;
using zx::html::Page;
using zx::html::ReadScript;
using zx::html::RunScript;

namespace {

TEST(DhtmlTree, ElementsCarryTagsAttributesAndText) {
  Page page(u"<HTML><Body><P ID=\"a\" Class=x>Hello <B>big</B> world &amp; more</P></Body></HTML>");
  Node* p = page.Find(u"a");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->tag, u"p");
  ASSERT_NE(p->Attribute(u"class"), nullptr);
  EXPECT_EQ(*p->Attribute(u"class"), u"x");
  EXPECT_EQ(p->InnerText(), u"Hello big world & more");
  EXPECT_EQ(p->parent->tag, u"body");
}

TEST(DhtmlTree, FindsByIdBeforeNameAndComparesIdsExactly) {
  Page page(u"<p name=\"k\">by name</p><p id=\"k\">by id</p><p id=\"K2\">upper</p>");
  EXPECT_EQ(page.Find(u"k")->InnerText(), u"by id");
  EXPECT_EQ(page.Find(u"k2"), nullptr);
  EXPECT_EQ(page.Find(u""), nullptr);
}

TEST(DhtmlTree, VoidAndSelfClosingElementsHoldNothing) {
  Page page(u"<p id=a>one<br>two<input id=i value=v>three</p><p id=b>four");
  EXPECT_EQ(page.Find(u"a")->InnerText(), u"onetwothree");
  EXPECT_TRUE(page.Find(u"i")->children.empty());
  EXPECT_EQ(page.Find(u"b")->InnerText(), u"four");
}

TEST(DhtmlTree, AParagraphClosesTheOpenOne) {
  Page page(u"<body><p id=a>one<p id=b>two</body>");
  EXPECT_EQ(page.Find(u"a")->InnerText(), u"one");
  EXPECT_EQ(page.Find(u"b")->parent->tag, u"body");
}

TEST(DhtmlTree, ScriptTextIsKeptAsWrittenAndCommentsDropped) {
  Page page(u"<script id=s>if (a < b && c) x = '<p>';</script><!-- <p id=hidden> --><p id=v>v</p>");
  EXPECT_EQ(page.Find(u"s")->InnerText(), u"if (a < b && c) x = '<p>';");
  EXPECT_EQ(page.Find(u"hidden"), nullptr);
  EXPECT_NE(page.Find(u"v"), nullptr);
}

TEST(DhtmlTree, DamagedHtmlEndsCleanly) {
  for (const char16_t* html : {u"<p id=a>open", u"<p id=a", u"<script>never closed", u"<!-- never closed",
                               u"</p></div><p id=a>x</b>", u"<<<>>>&&;;", u"<textarea>a</textarea"}) {
    Page page(html);
    EXPECT_EQ(page.Root().tag, u"#document") << std::string(html, html + std::char_traits<char16_t>::length(html));
  }
}

TEST(DhtmlTree, DeepNestingStopsDeepening) {
  std::u16string html;
  for (int i = 0; i < 5000; ++i) html += u"<div>";
  html += u"<p id=deep>x</p>";
  Page page(html);
  Node* deep = page.Find(u"deep");
  ASSERT_NE(deep, nullptr);
  int depth = 0;
  for (Node* n = deep; n->parent; n = n->parent) ++depth;
  EXPECT_LE(depth, 201);
  // Fragments set into the deepest element do not go deeper either.
  Node* last = deep->parent;
  for (int i = 0; i < 3; ++i) {
    page.SetHtml(*last, html);
    while (!last->children.empty() && !last->children.front()->IsText()) last = last->children.front().get();
  }
  depth = 0;
  for (Node* n = last; n->parent; n = n->parent) ++depth;
  EXPECT_LE(depth, 201);
}

TEST(DhtmlTree, SettingTextReplacesContentsAndKeepsHeldNodesAlive) {
  Page page(u"<div id=d><b id=inner>old</b> tail</div>");
  Node* inner = page.Find(u"inner");
  ++inner->handles;  // as an element object does
  page.SetText(*page.Find(u"d"), u"<new> & text");
  EXPECT_EQ(page.Find(u"d")->InnerText(), u"<new> & text");
  EXPECT_EQ(page.Find(u"inner"), nullptr);
  EXPECT_EQ(inner->InnerText(), u"old");  // still readable, out of the tree
  EXPECT_EQ(inner->parent, nullptr);
}

TEST(DhtmlTree, SettingHtmlReadsTheFragment) {
  Page page(u"<div id=d>old</div>");
  page.SetHtml(*page.Find(u"d"), u"a <b id=n>bold</b> b");
  ASSERT_NE(page.Find(u"n"), nullptr);
  EXPECT_EQ(page.Find(u"n")->parent, page.Find(u"d"));
  EXPECT_EQ(InnerHtml(*page.Find(u"d")), u"a <b id=\"n\">bold</b> b");
}

TEST(DhtmlTree, InnerHtmlEscapesTextAndAttributes) {
  Page page(u"<div id=d><a title='say \"hi\"'>1 &lt; 2</a><br></div>");
  EXPECT_EQ(InnerHtml(*page.Find(u"d")), u"<a title=\"say &quot;hi&quot;\">1 &lt; 2</a><br>");
}

TEST(DhtmlScript, FunctionsWithTheirAssignments) {
  const auto functions = ReadScript(
      u"var x = 1; /* a comment { */ function SetText(a, b) { // {\n"
      u"  document.getElementById(\"one\").innerText = a;\n"
      u"  if (b) { alert(b); }\n"
      u"  document.getElementById('two').innerHTML = \"lit\\\"eral\\u0041\";\n"
      u"  document.getElementById(\"three\").innerText = unknownName;\n"
      u"}\nfunction other() {}\n");
  ASSERT_EQ(functions.size(), 2u);
  EXPECT_EQ(functions[0].name, u"SetText");
  EXPECT_EQ(functions[0].parameters, (std::vector<std::u16string>{u"a", u"b"}));
  ASSERT_EQ(functions[0].body.size(), 2u);
  EXPECT_EQ(functions[0].body[0].element, u"one");
  EXPECT_EQ(functions[0].body[0].parameter, 0);
  EXPECT_FALSE(functions[0].body[0].html);
  EXPECT_EQ(functions[0].body[1].literal, u"lit\"eralA");
  EXPECT_TRUE(functions[0].body[1].html);
  EXPECT_EQ(functions[1].name, u"other");
  EXPECT_TRUE(functions[1].body.empty());
}

TEST(DhtmlScript, UnfinishedFunctionsAreDropped) {
  EXPECT_TRUE(ReadScript(u"function f(a, b { document.getElementById(\"x\").innerText = a; }").empty());
  EXPECT_TRUE(ReadScript(u"function f(a) { document.getElementById(\"x\").innerText = a;").empty());
  EXPECT_TRUE(ReadScript(u"function").empty());
  EXPECT_TRUE(ReadScript(u"\"unclosed string function f() {}").empty());
}

TEST(DhtmlScript, RunningSetsTextsInArgumentOrder) {
  Page page(u"<script>function f(a, b, c) { document.getElementById('x').innerText = c;"
            u" document.getElementById('y').innerText = a; document.getElementById('gone').innerText = b; }"
            u"</script><p id=x>-</p><p id=y>-</p>");
  const auto functions = zx::html::ReadScripts(page.Root());
  ASSERT_EQ(functions.size(), 1u);
  RunScript(functions[0], page, {u"first", u"second", u"third"});
  EXPECT_EQ(page.Find(u"x")->InnerText(), u"third");
  EXPECT_EQ(page.Find(u"y")->InnerText(), u"first");
  RunScript(functions[0], page, {u"only"});
  EXPECT_EQ(page.Find(u"x")->InnerText(), u"undefined");
}

TEST(DhtmlDisplay, BodyTextWithInlineTagsAndBlocksOnLines) {
  Page page(u"<html><head><title>T</title><style>p{}</style></head><body>"
            u"<h1>Head</h1><div>one</div><div>two <b>bold</b> &lt;x&gt;</div>"
            u"<input value=\"v\"><script>function f() {}</script></body></html>");
  EXPECT_EQ(DisplayHtml(page.Root()), u"<b>Head</b><br>one<br>two <b>bold</b> &lt;x&gt;<br>[v]");
}

}  // namespace
