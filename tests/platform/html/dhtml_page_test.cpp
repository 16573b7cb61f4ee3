// The HTML dialog's page inside: the element tree read from HTML (damaged HTML included),
// the scripts on the engine with its limits, and the HTML the dialog lays out.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "dhtml_page.h"
#include "dhtml_script.h"
#include "litepage.h"
#include "shown_css.h"

using zx::html::DisplayHtml;
using zx::html::InnerHtml;
using zx::html::Node;
using zx::html::Page;
using zx::html::ScriptEngine;
using zx::html::ScriptValue;

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

int Deepest(const Node& node) {
  int deepest = 0;
  for (const auto& child : node.children) deepest = std::max(deepest, 1 + Deepest(*child));
  return deepest;
}

TEST(DhtmlTree, DeepNestingStopsDeepeningAndKeepsTheText) {
  std::u16string html;
  for (int i = 0; i < 5000; ++i) html += u"<div>";
  html += u"<p id=deep>x</p>";
  Page page(html);
  EXPECT_LE(Deepest(page.Root()), 201);
  EXPECT_EQ(page.Root().InnerText(), u"x");
  // Fragments set into the deepest element do not go deeper either.
  Node* last = &page.Root();
  while (!last->children.empty() && !last->children.back()->IsText()) last = last->children.back().get();
  page.SetHtml(*last, html);
  EXPECT_LE(Deepest(page.Root()), 201);
  // A page too big to read shows empty.
  EXPECT_TRUE(Page(std::u16string(300 * 1024, u'x')).Root().children.empty());
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

// Runs the page's scripts and calls `function` with texts.
std::u16string AfterCall(const char16_t* html, const char16_t* function, std::vector<std::u16string> texts,
                         const char16_t* element) {
  Page page(html);
  ScriptEngine engine(page, nullptr);
  std::vector<ScriptValue> arguments;
  for (auto& t : texts) arguments.push_back({ScriptValue::Kind::Text, t});
  engine.Call(engine.FunctionId(function), arguments);
  Node* node = page.Find(element);
  return node ? node->InnerText() : u"(none)";
}

TEST(DhtmlScript, RealScriptsRunOnTheTree) {
  struct Row {
    const char16_t* html;
    const char16_t* function;
    std::vector<std::u16string> arguments;
    const char16_t* element;
    const char16_t* expected;
  } rows[] = {
      {u"<script>function f(a, b, c) { document.getElementById('x').innerText = c;"
       u" document.getElementById('y').innerText = a; document.getElementById('gone').innerText = b; }"
       u"</script><p id=x>-</p><p id=y>-</p>",
       u"f", {u"first", u"second", u"third"}, u"x", u"third"},
      {u"<script>function f(a) { document.getElementById('x').innerText = a; }</script><p id=x>-</p>", u"f", {},
       u"x", u"undefined"},
      {u"<script>function f(n) { var s = ''; for (var i = 1; i <= 3; i++) s += i + '.'; "
       u"document.getElementById('x').innerText = s + n.toUpperCase(); }</script><p id=x></p>",
       u"f", {u"go"}, u"x", u"1.2.3.GO"},
      {u"<script>function f() { var e = document.getElementById('x'); e.innerHTML = '<b id=n>' + e.tagName + '</b>';"
       u" document.getElementById('n').style.fontWeight = 'normal'; }</script><div id=x>old</div>",
       u"f", {}, u"n", u"DIV"},
      {u"<title>T</title><p id=x>-</p><script>document.getElementById('x').innerText = document.title;</script>",
       u"none", {}, u"x", u"T"},  // a script outside functions runs as the page loads
      {u"<script>function f() { throw new Error('no'); }</script><p id=x>kept</p>", u"f", {}, u"x", u"kept"},
      {u"<script>syntax error here (</script><script>function f() { document.getElementById('x').innerText = 'ok'; }"
       u"</script><p id=x>-</p>", u"f", {}, u"x", u"ok"},
  };
  for (const Row& row : rows)
    EXPECT_EQ(AfterCall(row.html, row.function, row.arguments, row.element), row.expected)
        << std::string(row.html, row.html + std::char_traits<char16_t>::length(row.html));
}

TEST(DhtmlScript, StylesAreWrittenIntoTheStyleAttribute) {
  Page page(u"<script>function f() { var s = document.getElementById('x').style; s.color = 'red';"
            u" s.marginLeft = '4px'; s.color = 'blue'; }</script><p id=x style='font-size: 9pt'>-</p>");
  ScriptEngine engine(page, nullptr);
  engine.Call(engine.FunctionId(u"f"), {});
  EXPECT_EQ(*page.Find(u"x")->Attribute(u"style"), u"font-size: 9pt; color: blue; margin-left: 4px;");
}

TEST(DhtmlScript, FunctionsAreFoundByExactName) {
  Page page(u"<script>function SetText() {} var notAFunction = 1;</script>");
  ScriptEngine engine(page, nullptr);
  EXPECT_EQ(engine.FunctionId(u"SetText"), 1);
  EXPECT_EQ(engine.FunctionId(u"SetText"), 1);
  EXPECT_EQ(engine.FunctionId(u"settext"), 0);
  EXPECT_EQ(engine.FunctionId(u"notAFunction"), 0);
  EXPECT_EQ(engine.FunctionId(u""), 0);
  EXPECT_FALSE(engine.Call(7, {}));
}

TEST(DhtmlScript, HostileScriptsAreStoppedByTheLimits) {
  for (const char16_t* script : {u"while (true) {}", u"var a = []; for (;;) a.push('xxxxxxxxxxxxxxxx' + a.length);",
                                 u"function r() { return r() + 1; } r();"}) {
    Page page(u"<script>" + std::u16string(script) + u"</script><script>function f() {"
              u" document.getElementById('x').innerText = 'after'; }</script><p id=x>-</p>");
    ScriptEngine engine(page, nullptr);
    // The page's other scripts still ran, and its functions still answer.
    engine.Call(engine.FunctionId(u"f"), {});
    EXPECT_EQ(page.Find(u"x")->InnerText(), u"after");
  }
}

TEST(DhtmlDisplay, TheTreeIsWrittenBackWithMarks) {
  Page page(u"<html><head><title>T</title><style>p{}</style></head><body><p id=a>one &lt;x&gt;</p></body></html>");
  std::vector<const Node*> marked;
  const std::u16string html = DisplayHtml(page.Root(), &marked);
  EXPECT_EQ(html, u"<html data-zxel=\"0\"><head data-zxel=\"1\"><title data-zxel=\"2\">T</title>"
                  u"<style data-zxel=\"3\">p{}</style></head><body data-zxel=\"4\">"
                  u"<p id=\"a\" data-zxel=\"5\">one &lt;x&gt;</p></body></html>");
  ASSERT_EQ(marked.size(), 6u);
  EXPECT_EQ(marked[5], page.Find(u"a"));
}

TEST(DhtmlDisplay, TablesDeeperThanAnyPageNestsThemAreLaidOutAsBlocks) {
  // Each table around another multiplies the layout's work: forty never end laid out as tables.
  std::u16string html;
  for (int i = 0; i < 40; ++i) html += u"<table><tr><td>";
  Page page(html + u"deep");
  std::vector<const Node*> marked;
  const std::u16string display = DisplayHtml(page.Root(), &marked);
  const auto count = [](const std::u16string& text, std::u16string_view what) {
    std::size_t n = 0;
    for (std::size_t at = 0; (at = text.find(what, at)) != std::u16string::npos; ++at) ++n;
    return n;
  };
  EXPECT_EQ(count(display, u"<table "), 6u);
  EXPECT_EQ(count(InnerHtml(page.Root()), u"<table>"), 40u) << "the page itself keeps them";
  EXPECT_GT(zx::html::PageLayout(zx::html::Utf8Of(display), zx::html::BaseStyle{}, 400).Height(), 0);
}

// Pages the layout would spend hours or gigabytes on go to it within bounds, and keep what they
// wrote: a cell's spans as a browser reads them, a table of too many grid slots (rows of one
// cell under a row of many) as blocks, and the page's own CSS without table displays.
TEST(DhtmlDisplay, PagesGoToTheLayoutWithinBounds) {
  for (const auto& [css, shown] : {std::pair{u"color:red; DISPLAY : Inline-Table !important", u"color:red; DISPLAY : block !important"},
                                   {u"display:/*c*/table-cell;x:y", u"display: block;x:y"},
                                   {u"dis/**/play:table;xdisplay:table", u"dis play:table;xdisplay:table"},
                                   {u"td{display:t\\able}a{display:none}/* open", u"td{display: block}a{display:none}"},
                                   {u"<//**/style>", u"</ style>"}})  // no end tag of the sheet comes of it
    EXPECT_EQ(zx::html::ShownCss(css), shown);
  const auto table = [](int rows, int columns) {
    std::u16string html = u"<table><tr>";
    for (int i = 0; i < columns; ++i) html += u"<td>c";
    for (int i = 0; i < rows; ++i) html += u"<tr><td>r";
    return html + u"</table>";
  };
  const auto cell = [](std::u16string_view colspan, std::u16string_view rowspan) {
    return u"<table><tr><td colspan=\"" + std::u16string(colspan) + u"\" rowspan=\"" + std::u16string(rowspan) + u"\">a<td>b</table>";
  };
  std::u16string nested = u"<style>div { display: table } p { display: table-cell }</style>";
  for (int i = 0; i < 30; ++i) nested += u"<div><p><span style=\"display:table\">";
  struct Case {
    std::u16string html;
    std::u16string_view shown;  // in what the layout is given, or not there when `gone`
    bool gone;
    std::u16string_view kept;  // in the page as written
  } const cases[] = {
      {cell(u"2999999999999999999", u"99999999999"), u"<td colspan=\"1000\" rowspan=\"65534\"", false, u"colspan=\"2999999999999999999"},
      {cell(u" +7x", u"0"), u"<td colspan=\"7\" rowspan=\"0\"", false, u"colspan=\" +7x"},
      {cell(u"0", u"many"), u"<td colspan=\"1\" rowspan=\"1\"", false, u"colspan=\"0"},
      {table(40, 40), u"<table ", false, u"<table>"},
      {table(700, 700), u"<table ", true, u"<table>"},
      {nested, u"table", true, u"display:table"},
      {u"<div style=\"display:table-cell\" colspan=\"999999999\">x</div>", u"table", true, u"display:table"},
  };
  for (const Case& c : cases) {
    Page page(c.html);
    std::vector<const Node*> marked;
    const std::u16string display = DisplayHtml(page.Root(), &marked);
    // (Laid out as written, the last three would take the layout hours or 2 GB.)
    ASSERT_EQ(display.find(c.shown) == std::u16string::npos, c.gone) << zx::html::Utf8Of(display);
    EXPECT_NE(InnerHtml(page.Root()).find(c.kept), std::u16string::npos);
    EXPECT_GT(zx::html::PageLayout(zx::html::Utf8Of(display), zx::html::BaseStyle{}, 400).Height(), 0);
  }
}

}  // namespace
