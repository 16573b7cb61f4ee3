// The element tree of an HTML dialog's page: reading HTML into nodes, finding elements,
// replacing their contents, and the HTML the dialog draws from the tree.
#include <algorithm>

#include "dhtml_page.h"
#include "htmltext.h"

namespace zx::html {
namespace {

constexpr std::size_t kMaxDepth = 200;

bool IsOneOf(std::u16string_view tag, std::initializer_list<std::u16string_view> tags) {
  return std::find(tags.begin(), tags.end(), tag) != tags.end();
}

// Elements that never hold anything.
bool IsVoid(std::u16string_view tag) {
  return IsOneOf(tag, {u"br", u"img", u"input", u"hr", u"meta", u"link", u"base", u"col", u"area",
                       u"param", u"frame", u"isindex", u"basefont"});
}
// Elements whose contents are text up to their closing tag.
bool IsRawText(std::u16string_view tag) { return IsOneOf(tag, {u"script", u"style", u"textarea", u"title", u"xmp"}); }
// Elements that an element of the same tag closes when it opens inside them.
bool ClosesItself(std::u16string_view tag) {
  return IsOneOf(tag, {u"p", u"li", u"option", u"tr", u"td", u"th", u"dt", u"dd"});
}
bool IsBlock(std::u16string_view tag) {
  return IsOneOf(tag, {u"div", u"h1", u"h2", u"h3", u"h4", u"h5", u"h6", u"li", u"tr", u"table", u"ul",
                       u"ol", u"center", u"blockquote", u"pre", u"form", u"hr", u"dl", u"dt", u"dd",
                       u"address", u"fieldset", u"xmp"});
}
bool IsHidden(std::u16string_view tag) { return IsOneOf(tag, {u"head", u"script", u"style", u"title"}); }
bool IsInline(std::u16string_view tag) {
  return IsOneOf(tag, {u"b", u"strong", u"i", u"em", u"u", u"a", u"font", u"br", u"p"});
}

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

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

void AddText(Node& parent, const std::u16string& text) {
  if (text.empty()) return;
  auto node = std::make_unique<Node>();
  node->text = text;
  Add(parent, std::move(node));
}

// The position of "</tag" (any case) from `from`, or npos.
std::size_t FindClosing(const std::u16string& html, std::size_t from, const std::u16string& tag) {
  for (std::size_t i = html.find(u"</", from); i != std::u16string::npos; i = html.find(u"</", i + 2)) {
    bool same = i + 2 + tag.size() <= html.size();
    for (std::size_t k = 0; same && k < tag.size(); ++k) same = Lower(html[i + 2 + k]) == tag[k];
    if (same) return i;
  }
  return std::u16string::npos;
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

class Display {
 public:
  explicit Display(std::vector<const Node*>* elements) : elements_(elements) {}

  void Walk(const Node& node) {
    if (node.IsText()) return Text(Escaped(node.text));
    if (IsHidden(node.tag)) return;
    const bool block = IsBlock(node.tag);
    if (block) Break();
    const bool marked = elements_ && (!node.children.empty() || node.tag == u"input");
    if (marked) {
      const std::string n = std::to_string(elements_->size());
      out_ += u"<zxel n=" + std::u16string(n.begin(), n.end()) + u">";
      elements_->push_back(&node);
    }
    if (node.tag == u"input") {
      const std::u16string* value = node.Attribute(u"value");
      if (value) Text(u"[" + Escaped(*value) + u"]");
    } else if (IsInline(node.tag)) {
      out_ += u"<" + node.tag;
      for (const auto& [name, value] : node.attributes) out_ += u" " + name + u"=\"" + Escaped(value) + u"\"";
      out_ += u">";
      if (node.tag == u"br" || node.tag == u"p") lineEmpty_ = true;
    }
    const bool heading = node.tag.size() == 2 && node.tag[0] == u'h' && node.tag[1] >= u'1' && node.tag[1] <= u'6';
    if (heading) out_ += u"<b>";
    for (const auto& child : node.children) Walk(*child);
    if (heading) out_ += u"</b>";
    if (IsInline(node.tag) && !IsVoid(node.tag) && node.tag != u"p") out_ += u"</" + node.tag + u">";
    if (marked) out_ += u"</zxel>";
    if (block) Break();
  }
  std::u16string Take() { return std::move(out_); }

 private:
  void Text(const std::u16string& text) {
    out_ += text;
    if (text.find_first_not_of(u" \t\r\n") != std::u16string::npos) lineEmpty_ = false;
  }
  void Break() {
    if (lineEmpty_) return;
    out_ += u"<br>";
    lineEmpty_ = true;
  }

  std::vector<const Node*>* elements_;
  std::u16string out_;
  bool lineEmpty_ = true;
};

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

void ReadHtml(const std::u16string& html, Node& into) {
  Node* current = &into;
  std::size_t i = 0;
  while (i < html.size()) {
    const std::size_t open = html.find(u'<', i);
    if (open == std::u16string::npos) {
      AddText(*current, Decoded(html.substr(i)));
      break;
    }
    AddText(*current, Decoded(html.substr(i, open - i)));
    if (html.compare(open, 4, u"<!--") == 0) {
      const std::size_t end = html.find(u"-->", open + 4);
      i = end == std::u16string::npos ? html.size() : end + 3;
      continue;
    }
    const std::size_t close = html.find(u'>', open);
    if (close == std::u16string::npos) {
      AddText(*current, Decoded(html.substr(open)));
      break;
    }
    i = close + 1;
    const Tag tag = ReadTag(html.substr(open + 1, close - open - 1));
    if (tag.name.empty() || tag.name[0] == u'!' || tag.name[0] == u'?') continue;
    if (tag.closing) {
      for (Node* n = current; n != &into; n = n->parent)
        if (n->tag == tag.name) {
          current = n->parent;
          break;
        }
      continue;
    }
    if (ClosesItself(tag.name) && current != &into && current->tag == tag.name) current = current->parent;
    if (Depth(current) >= kMaxDepth) continue;  // too deep: the text stays, the tags go
    auto element = std::make_unique<Node>();
    element->tag = tag.name;
    element->attributes = tag.attributes;
    Node& added = Add(*current, std::move(element));
    if (IsRawText(tag.name)) {
      const std::size_t end = FindClosing(html, i, tag.name);
      const std::u16string raw = html.substr(i, end == std::u16string::npos ? std::u16string::npos : end - i);
      AddText(added, tag.name == u"script" || tag.name == u"style" ? raw : Decoded(raw));
      const std::size_t gt = end == std::u16string::npos ? end : html.find(u'>', end);
      i = gt == std::u16string::npos ? html.size() : gt + 1;
      continue;
    }
    if (!IsVoid(tag.name) && Depth(&added) < kMaxDepth) current = &added;
  }
}

Page::Page(const std::u16string& html) : root_(std::make_unique<Node>()) {
  root_->tag = u"#document";
  ReadHtml(html, *root_);
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
  ReadHtml(html, fragment);
  Replace(element, std::move(fragment.children));
}

std::u16string InnerHtml(const Node& node) {
  std::u16string out;
  for (const auto& child : node.children) {
    if (child->IsText()) {
      out += IsRawText(node.tag) ? child->text : Escaped(child->text);
      continue;
    }
    out += u"<" + child->tag;
    for (const auto& [name, value] : child->attributes) out += u" " + name + u"=\"" + Escaped(value) + u"\"";
    out += u">";
    if (IsVoid(child->tag)) continue;
    out += InnerHtml(*child) + u"</" + child->tag + u">";
  }
  return out;
}

std::u16string DisplayHtml(const Node& root, std::vector<const Node*>* elements) {
  Display display(elements);
  display.Walk(root);
  return display.Take();
}

}  // namespace zx::html
