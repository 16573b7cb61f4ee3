// Parsing for CMarkup: the element grammar run as a loop over a stack of the open elements
// (no recursion, so any depth of nesting fits), recording positions only.
#pragma once
#include <string_view>
#include <vector>

#include "HelperApi.h"
#include "Markup.h"

using MarkupPositions = std::vector<CMarkup::ElemPos>;

// Takes the next free slot, cleared, at the end of the array.
int TakeMarkupSlot(MarkupPositions& positions);

// The name token of the element whose start tag opens at `startLeft`.
std::u16string_view MarkupElementName(std::u16string_view doc, int startLeft);

// Parses the root element of `doc` into `positions` (slot 0 stands for the document), adding
// slots at its end. Answers the root's slot; 0 when an end tag comes first; -1 on an error,
// whose message goes to `error`.
int ParseMarkupRoot(std::u16string_view doc, MarkupPositions& positions, CString& error);

// Receives the elements without child elements of a document read by ReadMarkupLeaves.
class MarkupLeafSink {
 public:
  // The element named `name` at `pos` has ended; false asks for the end of the reading.
  virtual bool Leaf(std::u16string_view name, const CMarkup::ElemPos& pos) = 0;

 protected:
  ~MarkupLeafSink() = default;
};

// What ReadMarkupLeaves answers when its sink asked for the end.
constexpr int kMarkupSinkStopped = -2;

// Reads the root element of `doc` as ParseMarkupRoot parses it, without positions: each
// element without child elements goes to `sink` as it ends, in the document's order, and only
// the open elements are held meanwhile. Answers as ParseMarkupRoot (a positive value for a
// root read), or kMarkupSinkStopped; what the sink was given before an error still stands, the
// caller lets it go.
ZXHELPER_API int ReadMarkupLeaves(std::u16string_view doc, MarkupLeafSink& sink, CString& error);
