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
void CMarkup::ShiftBehind(int offset, int parent, int delta) {
  for (int slot = 1; slot < m_iPosFree; ++slot) {
    ElemPos& pos = m_aPos[slot];
    if (pos.nStartL < offset) continue;
    pos.nStartL += delta;
    pos.nStartR += delta;
    pos.nEndL += delta;
    pos.nEndR += delta;
  }
  for (int slot = parent; slot != 0; slot = m_aPos[slot].iElemParent) {
    m_aPos[slot].nEndL += delta;
    m_aPos[slot].nEndR += delta;
  }
}

// Links the new slot after its reference sibling, or as the last child of the parent.
void CMarkup::Link(int slot, int parent, int reference) {
  m_aPos[slot].iElemParent = parent;
  if (reference != 0) {
    m_aPos[slot].iElemNext = m_aPos[reference].iElemNext;
    m_aPos[reference].iElemNext = slot;
    return;
  }
  int last = m_aPos[parent].iElemChild;
  if (last == 0) {
    m_aPos[parent].iElemChild = slot;
    return;
  }
  while (m_aPos[last].iElemNext != 0) last = m_aPos[last].iElemNext;
  m_aPos[last].iElemNext = slot;
}

bool CMarkup::AppendElement(LPCTSTR name, LPCTSTR value, bool asChild) {
  if (!IsTagName(name)) return false;
  if (asChild && m_iPos == 0) return false;
  const int parent = asChild ? m_iPos : m_iPosParent;
  const int reference = asChild ? m_iPosChild : m_iPos;
  if (parent == 0) {
    if (m_aPos[0].iElemChild != 0) return false;
    m_aPos[0].nEndL = m_strDoc.GetLength();
  }

  // Where the text goes.
  const ElemPos parentPos = m_aPos[parent];
  const bool parentEmpty = parent != 0 && parentPos.IsEmptyElement();
  int offset = reference != 0 ? m_aPos[reference].nEndR + 1 : parentEmpty ? parentPos.nStartR : parentPos.nEndL;
  if (!parentEmpty) {
    CMarkupScanner scanner(Text(), offset);
    if (!scanner.SkipWhiteSpace() || m_strDoc[scanner.Position()] == '<') offset = scanner.Position();
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
    m_aPos[parent].nStartR -= replaced;
    m_aPos[parent].nEndL -= parentName.GetLength() + 1;
  } else if (reference == 0 && parent != 0 && parentPos.nEndL == parentPos.nStartR + 1) {
    inserted = _T("\r\n") + element;
    elementStart = offset + 2;
  }

  // Spliced by length: a document may hold zero characters, even inside names.
  m_strDoc = m_strDoc.Left(start) + inserted + m_strDoc.Mid(start + replaced);
  ShiftBehind(offset, parent, inserted.GetLength() - replaced);

  const int slot = TakeMarkupSlot(m_aPos, m_iPosFree);
  ElemPos& pos = m_aPos[slot];
  pos.nStartL = elementStart;
  if (data.IsEmpty()) {
    pos.nEndL = elementStart + tagName.GetLength() + 1;
    pos.nStartR = pos.nEndR = pos.nEndL + 1;
  } else {
    pos.nStartR = elementStart + tagName.GetLength() + 1;
    pos.nEndL = pos.nStartR + 1 + data.GetLength();
    pos.nEndR = pos.nEndL + tagName.GetLength() + 2;
  }
  Link(slot, parent, reference);

  if (asChild) {
    SetPositions(m_iPosParent, m_iPos, slot);
  } else {
    SetPositions(parent, slot, 0);
  }
  return true;
}
