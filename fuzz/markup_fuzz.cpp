// Fuzz target: hostile text (read as UTF-8) parsed by CMarkup. Parsing and walking must never
// crash; a document that parsed must still parse after an element is added to it, and must
// keep its root. Read from its text without positions (as the update answer is), a document
// gives the leaves its walk gives, and fails where its parse fails.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "../tests/foundation/exchange/MarkupOutline.h"
#include "Markup.h"

namespace {

CString Widen(const uint8_t* data, size_t size) {
  if (size == 0) return CString();
  const char* text = reinterpret_cast<const char*>(data);
  const int length = MultiByteToWideChar(CP_UTF8, 0, text, static_cast<int>(size), nullptr, 0);
  if (length <= 0) return CString();
  std::vector<WCHAR> wide(static_cast<size_t>(length));
  MultiByteToWideChar(CP_UTF8, 0, text, static_cast<int>(size), wide.data(), length);
  return CString(wide.data(), length);
}

// Depth first over every element, reading names and data; answers the number of elements.
int Walk(CMarkup& markup) {
  int elements = 0;
  if (!markup.NextElement()) return 0;
  for (;;) {
    ++elements;
    markup.GetElementName();
    markup.GetElementText();
    if (markup.NextChildElement()) {
      markup.EnterElement();
      continue;
    }
    // No further child: climb until a level with a further child.
    for (;;) {
      if (!markup.LeaveElement()) return elements;
      if (markup.NextChildElement()) {
        markup.EnterElement();
        break;
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CMarkup markup;
  const CString text = Widen(data, size);
  const zx::test::LeavesReading read(std::u16string_view(text.GetString(), static_cast<size_t>(text.GetLength())), -1);
  if (!markup.SetDocumentText(text)) {
    if (markup.NextElement() || read.result > 0) __builtin_trap();
    return 0;
  }
  CMarkup leaves = markup;
  if (read.result <= 0 || read.leaves != zx::test::LeavesOfDocument(leaves)) __builtin_trap();
  markup.NextElement();
  const CString rootName = markup.GetElementName();
  CMarkup walked = markup;
  Walk(walked);
  // Add a child below the deepest first child, then a sibling after it.
  while (markup.NextChildElement()) markup.EnterElement();
  const bool added = markup.AppendElement(_T("added"), _T("v<&>"), true) && markup.AppendElement(_T("next"));
  if (added) {
    CMarkup reparsed;
    if (!reparsed.SetDocumentText(markup.GetDocumentText())) __builtin_trap();
    if (!reparsed.NextElement() || reparsed.GetElementName() != rootName) __builtin_trap();
    Walk(reparsed);
  }
  return 0;
}
