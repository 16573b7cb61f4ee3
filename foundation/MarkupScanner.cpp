// The token scanner under CMarkup.
#include "MarkupScanner.h"

bool CMarkupScanner::FindText(std::u16string_view text) {
  const std::size_t found = doc_.find(text, static_cast<std::size_t>(pos_));
  if (found == std::u16string_view::npos) return false;
  pos_ = static_cast<int>(found + text.size());
  return true;
}

bool CMarkupScanner::NextToken() {
  quoted_ = false;
  if (!SkipWhiteSpace()) {
    start_ = pos_;
    end_ = pos_ - 1;
    return false;
  }
  const WCHAR first = doc_[pos_];
  if (first == '"' || first == '\'') {
    quoted_ = true;
    start_ = ++pos_;
    FindChar(first);
    end_ = pos_ - 1;
    if (pos_ < Length()) ++pos_;
    return true;
  }
  start_ = pos_;
  if (IsDelimiter(first)) {
    ++pos_;
  } else {
    while (pos_ < Length() && !IsDelimiter(doc_[pos_])) ++pos_;
  }
  end_ = pos_ - 1;
  return true;
}

std::u16string_view CMarkupScanner::Token() const {
  if (end_ < start_) return {};
  return doc_.substr(static_cast<std::size_t>(start_), static_cast<std::size_t>(end_ - start_ + 1));
}

bool CMarkupScanner::TokenMatches(std::u16string_view name) const {
  const std::u16string_view token = Token();
  if (name.size() < token.size() || name.substr(0, token.size()) != token) return false;
  if (name.size() == token.size()) return true;
  const WCHAR next = name[token.size()];
  return next == ' ' || next == '=' || next == '/' || next == '[';
}

bool CMarkupScanner::SkipNode(int lt) {
  if (lt + 2 >= Length()) return false;
  const WCHAR kind = doc_[lt + 1];
  pos_ = lt + 2;
  if (kind == '?') return FindText(u"?>");
  if (kind != '!') return false;
  const WCHAR next = doc_[lt + 2];
  if (next == '[') return FindText(u"]]>");
  if (next == '-') return FindText(u"-->");
  // Document type declaration: up to the first unquoted ">" outside brackets.
  int depth = 0;
  while (NextToken()) {
    if (quoted_) continue;
    const WCHAR ch = doc_[start_];
    if (ch == '[') {
      ++depth;
    } else if (ch == ']') {
      --depth;
    } else if (ch == '>' && depth == 0) {
      return true;
    }
  }
  return false;
}
