// The element tree of an HTML dialog's page: HTML read by gumbo into nodes, finding elements,
// replacing their contents, and the page written back for the layout.
#include <gumbo.h>

#include <algorithm>

#include "dhtml_page.h"
#include "litepage.h"
#include "shown_css.h"

namespace zx::html {
namespace {

constexpr std::size_t kMaxDepth = 200;
// Bigger pages are refused: the parser's and the layout's trees are walked recursively.
constexpr std::size_t kMaxPage = 256 * 1024;
// The most tables one inside another that the layout is given.
constexpr int kMaxShownTables = 6;
// The widest spans of a table cell that the layout is given, a browser's own limits.
constexpr long kMaxColumnSpan = 1000;
constexpr long kMaxRowSpan = 65534;
// The layout makes a slot for every row and column of a table's grid, each row as wide as the
// widest: a table of more slots than this is shown as the blocks of its rows and cells.
constexpr std::size_t kMaxShownSlots = 250000;

bool IsOneOf(std::u16string_view tag, std::initializer_list<std::u16string_view> tags) {
  return std::find(tags.begin(), tags.end(), tag) != tags.end();
}

// Elements that never hold anything.
bool IsVoid(std::u16string_view tag) {
  return IsOneOf(tag, {u"br", u"img", u"input", u"hr", u"meta", u"link", u"base", u"col", u"area", u"param",
                       u"frame", u"isindex", u"basefont", u"embed", u"source", u"track", u"wbr"});
}
// Elements whose text is written back as it is.
bool IsRawText(std::u16string_view tag) { return IsOneOf(tag, {u"script", u"style", u"xmp"}); }

std::size_t Depth(const Node* node) {
  std::size_t depth = 0;
  for (; node->parent; node = node->parent) ++depth;
  return depth;
}

Node& Add(Node& parent, std::unique_ptr<Node> child) {
  child->parent = &parent;
  parent.children.push_back(std::move(child));
  return *parent.children.back();
}

void AddText(Node& parent, std::u16string text) {
  if (text.empty()) return;
  if (!parent.children.empty() && parent.children.back()->IsText()) {
    parent.children.back()->text += text;
    return;
  }
  auto node = std::make_unique<Node>();
  node->text = std::move(text);
  Add(parent, std::move(node));
}

std::u16string TagName(const GumboElement& element) {
  if (element.tag != GUMBO_TAG_UNKNOWN) return Utf16Of(gumbo_normalized_tagname(element.tag));
  GumboStringPiece original = element.original_tag;
  gumbo_tag_from_original_text(&original);
  std::u16string name = Utf16Of(std::string_view(original.data ? original.data : "", original.length));
  for (char16_t& c : name)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  return name;
}

// The text under a node that lies too deep for elements, in document order.
void AppendTextsBelow(const GumboNode* top, Node& into) {
  std::vector<const GumboNode*> pending{top};
  while (!pending.empty()) {
    const GumboNode* node = pending.back();
    pending.pop_back();
    if (node->type == GUMBO_NODE_TEXT || node->type == GUMBO_NODE_WHITESPACE || node->type == GUMBO_NODE_CDATA) {
      AddText(into, Utf16Of(node->v.text.text));
    } else if (node->type == GUMBO_NODE_ELEMENT || node->type == GUMBO_NODE_TEMPLATE) {
      const GumboVector& children = node->v.element.children;
      for (unsigned i = children.length; i-- > 0;) pending.push_back(static_cast<const GumboNode*>(children.data[i]));
    }
  }
}

void Convert(const GumboNode* node, Node& into) {
  switch (node->type) {
    case GUMBO_NODE_TEXT:
    case GUMBO_NODE_WHITESPACE:
    case GUMBO_NODE_CDATA:
      AddText(into, Utf16Of(node->v.text.text));
      return;
    case GUMBO_NODE_ELEMENT:
    case GUMBO_NODE_TEMPLATE:
      break;
    default:
      return;  // comments and the document node
  }
  if (Depth(&into) >= kMaxDepth) return AppendTextsBelow(node, into);
  auto element = std::make_unique<Node>();
  element->tag = TagName(node->v.element);
  const GumboVector& attributes = node->v.element.attributes;
  for (unsigned i = 0; i < attributes.length; ++i) {
    const auto* a = static_cast<const GumboAttribute*>(attributes.data[i]);
    element->attributes.emplace_back(Utf16Of(a->name), Utf16Of(a->value));
  }
  Node& added = Add(into, std::move(element));
  const GumboVector& children = node->v.element.children;
  for (unsigned i = 0; i < children.length; ++i) Convert(static_cast<const GumboNode*>(children.data[i]), added);
}

std::u16string Escaped(const std::u16string& text) {
  std::u16string out;
  for (char16_t c : text) {
    if (c == u'&') out += u"&amp;";
    else if (c == u'<') out += u"&lt;";
    else if (c == u'>') out += u"&gt;";
    else if (c == u'"') out += u"&quot;";
    else out += c;
  }
  return out;
}

// The style a <font> element's color, face and size stand for (sizes 1 to 7, or CSS lengths).
std::u16string FontStyle(const Node& font) {
  static const char16_t* const kSizes[] = {u"x-small", u"small", u"medium", u"large", u"x-large", u"xx-large", u"48px"};
  std::u16string style;
  if (const std::u16string* colour = font.Attribute(u"color")) style += u"color:" + *colour + u";";
  if (const std::u16string* face = font.Attribute(u"face")) style += u"font-family:" + *face + u";";
  if (const std::u16string* size = font.Attribute(u"size"); size && !size->empty()) {
    const bool plain = size->find_first_not_of(u"0123456789") == std::u16string::npos;
    const int number = plain && size->size() < 3 ? std::stoi(Utf8Of(*size)) : 3;
    style += u"font-size:" + (plain ? std::u16string(kSizes[std::clamp(number, 1, 7) - 1]) : *size) + u";";
  }
  if (const std::u16string* own = font.Attribute(u"style")) style += *own;
  return Escaped(style);
}

// A cell's column span (`columns`) or row span as a browser reads it: the number its leading
// digits write, after blanks, within the widths above; 1 where it writes none, and for a
// column span of 0.
long CellSpan(const Node& cell, bool columns) {
  const std::u16string* value = cell.Attribute(columns ? u"colspan" : u"rowspan");
  if (value == nullptr) return 1;
  const long limit = columns ? kMaxColumnSpan : kMaxRowSpan;
  std::size_t at = value->find_first_not_of(u" \t\n\f\r");
  if (at != std::u16string::npos && (*value)[at] == u'+') ++at;
  long span = -1;
  for (; at < value->size() && (*value)[at] >= u'0' && (*value)[at] <= u'9'; ++at)
    span = std::min(limit, std::max(span, 0L) * 10 + ((*value)[at] - u'0'));
  return span < 0 || (columns && span == 0) ? 1 : span;
}

bool IsCell(const Node& node) { return node.tag == u"td" || node.tag == u"th"; }

// An attribute as the layout is given it: a cell's spans as read above, a style as the layout
// is given CSS, the rest as they are.
std::u16string ShownAttribute(const Node& element, std::u16string_view name, const std::u16string& value) {
  if (IsCell(element) && (name == u"colspan" || name == u"rowspan"))
    return Utf16Of(std::to_string(CellSpan(element, name == u"colspan")));
  return Escaped(name == u"style" ? ShownCss(value) : value);
}

// At least the slots of the table's grid: its rows times its widest row, where a cell that
// spans rows is counted in every row.
std::size_t TableSlots(const Node& table) {
  std::size_t rows = 0, widest = 0, spanningRows = 0;
  const auto row = [&](const Node& tr) {
    std::size_t width = 0;
    for (const auto& cell : tr.children) {
      if (cell->IsText() || !IsCell(*cell)) continue;
      const auto span = static_cast<std::size_t>(CellSpan(*cell, true));
      width += span;
      if (CellSpan(*cell, false) != 1) spanningRows += span;
    }
    ++rows;
    widest = std::max(widest, width);
  };
  for (const auto& part : table.children) {
    if (part->tag == u"tr") row(*part);
    if (part->tag == u"thead" || part->tag == u"tbody" || part->tag == u"tfoot")
      for (const auto& tr : part->children)
        if (tr->tag == u"tr") row(*tr);
  }
  return rows * (widest + spanningRows);
}

bool IsTablePart(std::u16string_view tag) {
  return IsOneOf(tag, {u"table", u"caption", u"thead", u"tbody", u"tfoot", u"tr", u"td", u"th"});
}

// Writes the node's contents, `tables` tables in; with `elements`, each element gets its
// mark.
void WriteChildren(const Node& node, std::u16string& out, std::vector<const Node*>* elements, int tables = 0) {
  for (const auto& child : node.children) {
    if (child->IsText()) {
      out += elements && node.tag == u"style" ? ShownCss(child->text) : IsRawText(node.tag) ? child->text : Escaped(child->text);
      continue;
    }
    // The layout's own <font> ignores styles: it is shown as the span it stands for.
    const bool font = elements && child->tag == u"font";
    // The layout lays a table's cells out again for each width it tries, so that each table
    // around another multiplies the work: tables deeper than a page ever nests them, and
    // tables of too many slots, are shown as the blocks of their rows and cells (and so is
    // every table within those).
    const bool table = child->tag == u"table";
    const int depth = !table ? tables
                      : elements && TableSlots(*child) > kMaxShownSlots ? kMaxShownTables + 1
                                                                         : tables + 1;
    const bool flattened = elements && IsTablePart(child->tag) && depth > kMaxShownTables;
    const std::u16string tag = font ? u"span" : flattened ? u"div" : child->tag;
    out += u"<" + tag;
    for (const auto& [name, value] : child->attributes)
      if (!font || name != u"style")
        out += u" " + name + u"=\"" + (elements ? ShownAttribute(*child, name, value) : Escaped(value)) + u"\"";
    if (font) out += u" style=\"" + FontStyle(*child) + u"\"";
    if (elements) {
      out += u" data-zxel=\"" + Utf16Of(std::to_string(elements->size())) + u"\"";
      elements->push_back(child.get());
    }
    out += u">";
    if (IsVoid(child->tag)) continue;
    WriteChildren(*child, out, elements, depth);
    out += u"</" + tag + u">";
  }
}

}  // namespace

const std::u16string* Node::Attribute(std::u16string_view name) const {
  for (const auto& [n, value] : attributes)
    if (n == name) return &value;
  return nullptr;
}

std::u16string Node::InnerText() const {
  if (IsText()) return text;
  std::u16string out;
  for (const auto& child : children) out += child->InnerText();
  return out;
}

void ReadHtml(const std::u16string& html, Node& into, bool fragment) {
  const std::string utf8 = Utf8Of(html);
  if (utf8.size() > kMaxPage) return;
  GumboOptions options = kGumboDefaultOptions;
  options.max_errors = 0;
  if (fragment) options.fragment_context = GUMBO_TAG_DIV;
  GumboOutput* output = gumbo_parse_with_options(&options, utf8.data(), utf8.size());
  if (!output) return;
  if (fragment) {
    const GumboVector& children = output->root->v.element.children;
    for (unsigned i = 0; i < children.length; ++i) Convert(static_cast<const GumboNode*>(children.data[i]), into);
  } else {
    Convert(output->root, into);
  }
  gumbo_destroy_output(&options, output);
}

Page::Page(const std::u16string& html) : root_(std::make_unique<Node>()) {
  root_->tag = u"#document";
  ReadHtml(html, *root_, false);
}

namespace {
Node* FindBy(Node& node, std::u16string_view attribute, std::u16string_view key) {
  if (node.IsText()) return nullptr;
  const std::u16string* value = node.Attribute(attribute);
  if (value && *value == key) return &node;
  for (const auto& child : node.children)
    if (Node* found = FindBy(*child, attribute, key)) return found;
  return nullptr;
}
}  // namespace

Node* Page::Find(std::u16string_view key) {
  if (key.empty()) return nullptr;
  if (Node* found = FindBy(*root_, u"id", key)) return found;
  return FindBy(*root_, u"name", key);
}

namespace {
bool Held(const Node& node) {
  if (node.handles > 0) return true;
  return std::any_of(node.children.begin(), node.children.end(), [](const auto& c) { return Held(*c); });
}
}  // namespace

void Page::Replace(Node& element, std::vector<std::unique_ptr<Node>> children) {
  ++generation_;
  for (auto& old : element.children) {
    old->parent = nullptr;
    if (Held(*old)) removed_.push_back(std::move(old));
  }
  element.children = std::move(children);
  for (auto& child : element.children) child->parent = &element;
}

void Page::SetText(Node& element, const std::u16string& text) {
  std::vector<std::unique_ptr<Node>> children;
  if (!text.empty()) {
    children.push_back(std::make_unique<Node>());
    children.back()->text = text;
  }
  Replace(element, std::move(children));
}

void Page::SetHtml(Node& element, const std::u16string& html) {
  Node fragment;
  fragment.parent = &element;  // so that nesting is counted from the root
  ReadHtml(html, fragment, true);
  Replace(element, std::move(fragment.children));
}

void Page::SetAttribute(Node& element, const std::u16string& name, const std::u16string& value) {
  ++generation_;
  for (auto& [n, v] : element.attributes)
    if (n == name) {
      v = value;
      return;
    }
  element.attributes.emplace_back(name, value);
}

std::u16string InnerHtml(const Node& node) {
  std::u16string out;
  WriteChildren(node, out, nullptr);
  return out;
}

std::u16string DisplayHtml(const Node& root, std::vector<const Node*>* elements) {
  std::u16string out;
  WriteChildren(root, out, elements);
  return out;
}

}  // namespace zx::html
