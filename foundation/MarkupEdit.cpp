// CMarkup: adding elements. The new text goes into the document in one replacement and every
// recorded position behind it moves by the change in length.
#include "Markup.h"

#include "MarkupParser.h"
#include "MarkupScanner.h"
#include "MarkupText.h"

namespace {

// A name the scanner reads back as one token and that needs no escaping.
bool IsTagName(LPCTSTR name) {
  if (name == nullptr || *name == 0) return false;
  for (LPCTSTR ch = name; *ch != 0; ++ch) {
    if (CMarkupScanner::IsDelimiter(*ch) || *ch == '"' || *ch == '\'' || *ch == '&') return false;
  }
  return true;
}

}  // namespace

// Moves everything at or behind `offset` by `delta`: all four offsets of the elements that
// start there or later, and the end tags of `parent` and its ancestors.
void CMarkup::ShiftBehind(Document& doc, int offset, int parent, int delta) {
  for (std::size_t slot = 1; slot < doc.positions.size(); ++slot) {
    ElemPos& pos = doc.positions[slot];
    if (pos.nStartL < offset) continue;
    pos.nStartL += delta;
    pos.nStartR += delta;
    pos.nEndL += delta;
    pos.nEndR += delta;
  }
  for (int slot = parent; slot != 0; slot = doc.positions[slot].iElemParent) {
    doc.positions[slot].nEndL += delta;
    doc.positions[slot].nEndR += delta;
  }
}

// Links the new slot after its reference sibling, or as the last child of the parent.
void CMarkup::Link(Document& doc, int slot, int parent, int reference) {
  std::vector<ElemPos>& positions = doc.positions;
  positions[slot].iElemParent = parent;
  if (reference != 0) {
    positions[slot].iElemNext = positions[reference].iElemNext;
    positions[reference].iElemNext = slot;
    return;
  }
  int last = positions[parent].iElemChild;
  if (last == 0) {
    positions[parent].iElemChild = slot;
    return;
  }
  while (positions[last].iElemNext != 0) last = positions[last].iElemNext;
  positions[last].iElemNext = slot;
}

bool CMarkup::AppendElement(LPCTSTR name, LPCTSTR value, bool asChild) {
  if (!IsTagName(name)) return false;
  if (asChild && m_iPos == 0) return false;
  const int parent = asChild ? m_iPos : m_iPosParent;
  const int reference = asChild ? m_iPosChild : m_iPos;
  if (parent == 0 && At(0).iElemChild != 0) return false;
  Document& doc = Own();
  std::vector<ElemPos>& positions = doc.positions;
  if (parent == 0) positions[0].nEndL = doc.text.GetLength();

  // Where the text goes.
  const ElemPos parentPos = positions[parent];
  const bool parentEmpty = parent != 0 && parentPos.IsEmptyElement();
  int offset = reference != 0 ? positions[reference].nEndR + 1 : parentEmpty ? parentPos.nStartR : parentPos.nEndL;
  if (!parentEmpty) {
    CMarkupScanner scanner(Text(), offset);
    if (!scanner.SkipWhiteSpace() || doc.text[scanner.Position()] == '<') offset = scanner.Position();
  }

  // The element's own line.
  const CString tagName = name;
  const CString data = EscapeMarkupText(value != nullptr ? std::u16string_view(value) : std::u16string_view());
  CString element = _T("<") + tagName;
  element += data.IsEmpty() ? _T("/>\r\n") : _T(">") + data + _T("</") + tagName + _T(">\r\n");

  // An empty parent "<p/>" is opened around it: its closing slashes (one, or a run such as
  // "<p//>") give way to the new text. A parent "<p></p>" gets it on a line of its own.
  int start = offset;
  int replaced = 0;
  CString inserted = element;
  int elementStart = offset;
  if (parentEmpty) {
    const std::u16string_view nameView = Name(parent);
    const CString parentName(nameView.data(), static_cast<int>(nameView.size()));
    while (Text()[static_cast<std::size_t>(offset - replaced - 1)] == '/') ++replaced;
    inserted = _T(">\r\n") + element + _T("</") + parentName;
    start = offset - replaced;
    elementStart = start + 3;
    positions[parent].nStartR -= replaced;
    positions[parent].nEndL -= parentName.GetLength() + 1;
  } else if (reference == 0 && parent != 0 && parentPos.nEndL == parentPos.nStartR + 1) {
    inserted = _T("\r\n") + element;
    elementStart = offset + 2;
  }

  // Spliced by length: a document may hold zero characters, even inside names.
  doc.text = doc.text.Left(start) + inserted + doc.text.Mid(start + replaced);
  ShiftBehind(doc, offset, parent, inserted.GetLength() - replaced);

  const int slot = TakeMarkupSlot(positions);
  ElemPos& pos = positions[slot];
  pos.nStartL = elementStart;
  if (data.IsEmpty()) {
    pos.nEndL = elementStart + tagName.GetLength() + 1;
    pos.nStartR = pos.nEndR = pos.nEndL + 1;
  } else {
    pos.nStartR = elementStart + tagName.GetLength() + 1;
    pos.nEndL = pos.nStartR + 1 + data.GetLength();
    pos.nEndR = pos.nEndL + tagName.GetLength() + 2;
  }
  Link(doc, slot, parent, reference);

  if (asChild) {
    SetPositions(m_iPosParent, m_iPos, slot);
  } else {
    SetPositions(parent, slot, 0);
  }
  return true;
}
