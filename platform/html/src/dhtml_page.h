// The page of an HTML dialog inside: the element tree read from the HTML by gumbo, and the
// HTML the dialog lays out from the tree.
#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zx::html {

// An element (tag in lower case) or a text node (tag empty, text set).
struct Node {
  std::u16string tag;
  std::u16string text;
  std::vector<std::pair<std::u16string, std::u16string>> attributes;
  std::vector<std::unique_ptr<Node>> children;
  Node* parent = nullptr;
  int handles = 0;  // element objects standing for this node

  bool IsText() const { return tag.empty(); }
  // The attribute's value (names in lower case), or null.
  const std::u16string* Attribute(std::u16string_view name) const;
  // The text of the node and everything inside it, in document order.
  std::u16string InnerText() const;
};

// Nodes taken out of the tree are freed at once, unless an element object stands for one of
// them: those live as long as the page, so that the objects stay valid.
class Page {
 public:
  explicit Page(const std::u16string& html);

  Node& Root() { return *root_; }
  // The first element whose id, or else whose name, is `key` (ids compared exactly).
  Node* Find(std::u16string_view key);
  // Replaces the element's contents with plain text, or with the nodes of an HTML fragment.
  void SetText(Node& element, const std::u16string& text);
  void SetHtml(Node& element, const std::u16string& html);
  // Sets (or adds) an attribute (name in lower case).
  void SetAttribute(Node& element, const std::u16string& name, const std::u16string& value);
  // Counts the changes made through the calls above, so that a layout knows it is stale.
  unsigned Generation() const { return generation_; }

 private:
  void Replace(Node& element, std::vector<std::unique_ptr<Node>> children);

  std::unique_ptr<Node> root_;
  std::vector<std::unique_ptr<Node>> removed_;
  unsigned generation_ = 0;
};

// Reads HTML into nodes under `into` as a browser reads it (a whole page with its html, head
// and body; a fragment as the contents of `into`). Nesting stops deepening 200 levels below
// the root (the text inside stays); a page over 256 KB reads as empty.
void ReadHtml(const std::u16string& html, Node& into, bool fragment);

// The HTML of the node's contents, written back from the tree.
std::u16string InnerHtml(const Node& node);

// The HTML the browser lays out for the page: the whole tree written back. With `elements`,
// each element carries the attribute data-zxel="i" (i its place in `elements`), so that the
// layout's elements tell which node they show.
std::u16string DisplayHtml(const Node& root, std::vector<const Node*>* elements = nullptr);

}  // namespace zx::html
