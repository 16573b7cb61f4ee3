// The script subset of HTML dialog pages: `function name(a, b) { ... }` whose statements set
// an element's text, `document.getElementById("x").innerText = a;` (or innerHTML, or a
// string literal); every other statement, and anything outside functions, is skipped.
#include "dhtml_page.h"

namespace zx::html {
namespace {

bool IsNameChar(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_' || c == u'$';
}

// Script text cut into tokens: names, string literals (decoded, `isString`) and single
// punctuation characters. Comments and white space are dropped.
struct Token {
  std::u16string text;
  bool isString = false;
  bool Is(std::u16string_view s) const { return !isString && text == s; }
};

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Reads the literal opened at s[i]; answers the position after it.
std::size_t ReadString(std::u16string_view s, std::size_t i, std::u16string& out) {
  const char16_t quote = s[i++];
  while (i < s.size() && s[i] != quote) {
    char16_t c = s[i++];
    if (c == u'\\' && i < s.size()) {
      c = s[i++];
      if (c == u'n') c = u'\n';
      else if (c == u't') c = u'\t';
      else if (c == u'r') c = u'\r';
      else if (c == u'u' && i + 4 <= s.size()) {
        int value = 0;
        bool ok = true;
        for (std::size_t k = 0; k < 4; ++k) {
          const int d = HexDigit(s[i + k]);
          ok = ok && d >= 0;
          value = value * 16 + d;
        }
        if (ok) {
          c = static_cast<char16_t>(value);
          i += 4;
        }
      }
    }
    out += c;
  }
  return i < s.size() ? i + 1 : i;
}

std::vector<Token> Tokens(std::u16string_view s) {
  std::vector<Token> tokens;
  std::size_t i = 0;
  while (i < s.size()) {
    const char16_t c = s[i];
    if (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n') {
      ++i;
    } else if (s.substr(i, 2) == u"//") {
      const std::size_t end = s.find(u'\n', i);
      i = end == std::u16string_view::npos ? s.size() : end;
    } else if (s.substr(i, 2) == u"/*") {
      const std::size_t end = s.find(u"*/", i + 2);
      i = end == std::u16string_view::npos ? s.size() : end + 2;
    } else if (c == u'"' || c == u'\'') {
      Token t;
      t.isString = true;
      i = ReadString(s, i, t.text);
      tokens.push_back(std::move(t));
    } else if (IsNameChar(c)) {
      Token t;
      while (i < s.size() && IsNameChar(s[i])) t.text += s[i++];
      tokens.push_back(std::move(t));
    } else {
      tokens.push_back(Token{std::u16string(1, c), false});
      ++i;
    }
  }
  return tokens;
}

class Reader {
 public:
  explicit Reader(std::vector<Token> tokens) : t_(std::move(tokens)) {}

  std::vector<ScriptFunction> Functions() {
    std::vector<ScriptFunction> functions;
    while (i_ < t_.size()) {
      if (!t_[i_++].Is(u"function")) continue;
      ScriptFunction f;
      if (ReadHead(f) && ReadBody(f)) functions.push_back(std::move(f));
    }
    return functions;
  }

 private:
  bool Next(std::u16string_view s) {
    if (i_ < t_.size() && t_[i_].Is(s)) {
      ++i_;
      return true;
    }
    return false;
  }
  bool Name(std::u16string* out) {
    if (i_ >= t_.size() || t_[i_].isString || t_[i_].text.empty() || !IsNameChar(t_[i_].text[0])) return false;
    *out = t_[i_++].text;
    return true;
  }

  bool ReadHead(ScriptFunction& f) {
    if (!Name(&f.name) || !Next(u"(")) return false;
    std::u16string parameter;
    while (Name(&parameter)) {
      f.parameters.push_back(parameter);
      if (!Next(u",")) break;
    }
    return Next(u")") && Next(u"{");
  }

  // Statements up to the function's closing brace; the ones outside the subset are skipped.
  bool ReadBody(ScriptFunction& f) {
    int depth = 1;
    while (i_ < t_.size()) {
      const std::size_t start = i_;
      Assignment a;
      if (depth == 1 && ReadAssignment(f, a)) {
        f.body.push_back(std::move(a));
        continue;
      }
      i_ = start;
      const Token& t = t_[i_++];
      if (t.Is(u"{")) ++depth;
      if (t.Is(u"}") && --depth == 0) return true;
    }
    return false;
  }

  // document.getElementById("x").innerText = value ;
  bool ReadAssignment(const ScriptFunction& f, Assignment& a) {
    if (!Next(u"document") || !Next(u".") || !Next(u"getElementById") || !Next(u"(")) return false;
    if (i_ >= t_.size() || !t_[i_].isString) return false;
    a.element = t_[i_++].text;
    std::u16string property;
    if (!Next(u")") || !Next(u".") || !Name(&property) || !Next(u"=")) return false;
    if (property != u"innerText" && property != u"innerHTML") return false;
    a.html = property == u"innerHTML";
    if (i_ >= t_.size()) return false;
    const Token& value = t_[i_++];
    if (value.isString) {
      a.literal = value.text;
    } else {
      for (std::size_t k = 0; k < f.parameters.size(); ++k)
        if (f.parameters[k] == value.text) a.parameter = static_cast<int>(k);
      if (a.parameter < 0) return false;
    }
    return Next(u";") || (i_ < t_.size() && t_[i_].Is(u"}"));
  }

  std::vector<Token> t_;
  std::size_t i_ = 0;
};

void CollectScripts(const Node& node, std::vector<ScriptFunction>& out) {
  if (node.tag == u"script") {
    for (ScriptFunction& f : ReadScript(node.InnerText())) out.push_back(std::move(f));
    return;
  }
  for (const auto& child : node.children) CollectScripts(*child, out);
}

}  // namespace

std::vector<ScriptFunction> ReadScript(std::u16string_view script) { return Reader(Tokens(script)).Functions(); }

std::vector<ScriptFunction> ReadScripts(const Node& root) {
  std::vector<ScriptFunction> functions;
  CollectScripts(root, functions);
  return functions;
}

void RunScript(const ScriptFunction& function, Page& page, const std::vector<std::u16string>& arguments) {
  for (const Assignment& a : function.body) {
    Node* element = page.Find(a.element);
    if (!element) continue;
    const std::size_t index = static_cast<std::size_t>(a.parameter);
    const std::u16string value =
        a.parameter < 0 ? a.literal : index < arguments.size() ? arguments[index] : u"undefined";
    if (a.html) page.SetHtml(*element, value);
    else page.SetText(*element, value);
  }
}

}  // namespace zx::html
