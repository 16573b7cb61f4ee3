// Test helper: a one-line outline of a CMarkup document, read through its cursors.
#pragma once
#include <string>

#include "Markup.h"

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

}  // namespace zx::test
