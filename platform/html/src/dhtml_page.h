// The page of an HTML dialog inside: the element tree read from the HTML, the script
// functions of its <script> elements, and the HTML the dialog draws from the tree.
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

 private:
  void Replace(Node& element, std::vector<std::unique_ptr<Node>> children);

  std::unique_ptr<Node> root_;
  std::vector<std::unique_ptr<Node>> removed_;
};

// Reads HTML into nodes under `into` (unknown tags are kept as elements; text inside
// script, style, textarea and title is kept as written; nesting stops deepening 200 levels
// below the root).
void ReadHtml(const std::u16string& html, Node& into);

// The HTML of the node's contents, written back from the tree.
std::u16string InnerHtml(const Node& node);

// The HTML the text control draws for the page: body text with the inline tags it knows,
// block elements on lines of their own, head, script and style left out. With `elements`,
// each element's contents are marked <zxel n=i> (i its place in `elements`), so that the
// layout's pieces tell which element they show.
std::u16string DisplayHtml(const Node& root, std::vector<const Node*>* elements = nullptr);

// One statement of a script function: element `element`'s innerText or innerHTML set from
// a parameter (by index) or a literal.
struct Assignment {
  std::u16string element;
  bool html = false;
  int parameter = -1;  // -1: the literal
  std::u16string literal;
};
struct ScriptFunction {
  std::u16string name;
  std::vector<std::u16string> parameters;
  std::vector<Assignment> body;
};
// The functions of every <script> element, in document order.
std::vector<ScriptFunction> ReadScripts(const Node& root);
// Parses the functions of one script text.
std::vector<ScriptFunction> ReadScript(std::u16string_view script);
// Runs the function with these arguments (a missing one reads "undefined"); assignments to
// elements the page lacks do nothing.
void RunScript(const ScriptFunction& function, Page& page, const std::vector<std::u16string>& arguments);

}  // namespace zx::html
