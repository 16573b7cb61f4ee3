// Parsing for CMarkup: the element grammar run as a loop over a stack of the open elements
// (no recursion, so any depth of nesting fits), recording positions only.
#pragma once
#include <string_view>
#include <vector>

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
