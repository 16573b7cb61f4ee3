// Test helper: a one-line outline of a CMarkup document, read through its cursors; and the
// leaves of a document, walked by the document and read from its text without positions.
#pragma once
#include <string>

#include "Markup.h"
#include "MarkupParser.h"
#include "MarkupText.h"

namespace zx::test {

// "name(data)[child child ...]" of the current element and, below it, of its children, for
// an element whose child position is still unset.
inline std::string OutlineOfCurrent(CMarkup& markup) {
  std::string out = CStringA(markup.GetElementName()).GetString();
  out += "(" + std::string(CStringA(markup.GetElementText()).GetString()) + ")";
  std::string children;
  while (markup.NextChildElement()) {
    markup.EnterElement();
    children += (children.empty() ? "" : " ") + OutlineOfCurrent(markup);
    markup.LeaveElement();
  }
  return children.empty() ? out : out + "[" + children + "]";
}

// The outline of a document just parsed; empty when there is no root element.
inline std::string Outline(CMarkup& markup) { return markup.NextElement() ? OutlineOfCurrent(markup) : ""; }

// The outline of a document text, parsed afresh.
inline std::string OutlineOf(const CString& document) {
  CMarkup markup;
  markup.SetDocumentText(document);
  return Outline(markup);
}

// "name(data) name(data) ..." of the elements without children, walked depth first through
// the document just parsed.
inline std::string LeavesOfDocument(CMarkup& markup) {
  std::string out;
  while (markup.NextLeafElement())
    out += std::string(CStringA(markup.GetElementName()).GetString()) + "(" +
           std::string(CStringA(markup.GetElementText()).GetString()) + ") ";
  return out;
}

// The same leaves read from the text by ReadMarkupLeaves: the first `limit` of them (the
// reading is stopped at the next), their count and the reading's answer.
struct LeavesReading : MarkupLeafSink {
  LeavesReading(std::u16string_view text, int limit) : text_(text), limit_(limit) {
    CString error;
    result = ReadMarkupLeaves(text, *this, error);
  }

  bool Leaf(std::u16string_view name, const CMarkup::ElemPos& pos) override {
    if (count == limit_) return false;
    ++count;
    CString data;
    ReadMarkupLeafData(text_, pos, data);
    leaves += std::string(CStringA(CString(name.data(), static_cast<int>(name.size()))).GetString()) + "(" +
              std::string(CStringA(data).GetString()) + ") ";
    return true;
  }

  std::string leaves;
  int count = 0;
  int result = 0;

 private:
  std::u16string_view text_;
  int limit_;
};

}  // namespace zx::test
