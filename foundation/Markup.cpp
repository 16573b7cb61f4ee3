// CMarkup: setting the document, the navigation cursors and reading names and data.
#include "Markup.h"

#include "MarkupParser.h"
#include "MarkupScanner.h"
#include "MarkupText.h"
#include "zx/casefold.h"

namespace {

CString ToCString(std::u16string_view text) {
  return CString(text.data(), static_cast<int>(text.size()));
}

}  // namespace

CMarkup::CMarkup() : m_doc(std::make_shared<Document>()), m_iPosParent(0), m_iPos(0), m_iPosChild(0), m_nNodeType(0) {
  m_doc->positions.emplace_back();
}

CMarkup::~CMarkup() = default;

void CMarkup::SetPositions(int parent, int current, int child) {
  m_iPosParent = parent;
  m_iPos = current;
  m_iPosChild = child;
  m_nNodeType = current != 0 ? 1 : 0;
}

std::u16string_view CMarkup::Name(int slot) const {
  return slot != 0 ? MarkupElementName(Text(), At(slot).nStartL) : std::u16string_view();
}

CMarkup::Document& CMarkup::Own() {
  if (m_doc.use_count() > 1) m_doc = std::make_shared<Document>(*m_doc);
  return *m_doc;
}

bool CMarkup::SetDocumentText(LPCTSTR text) { return SetDocumentText(CString(text)); }

bool CMarkup::SetDocumentText(const CString& text) {
  // A document of its own keeps its room: the text is copied into it.
  if (m_doc.use_count() > 1) m_doc = std::make_shared<Document>();
  m_doc->text = text;
  return Parse();
}

bool CMarkup::SetDocumentText(CString&& text) {
  if (m_doc.use_count() > 1) m_doc = std::make_shared<Document>();
  m_doc->text = std::move(text);
  return Parse();
}

bool CMarkup::Parse() {
  SetPositions(0, 0, 0);
  m_strError.Empty();
  std::vector<ElemPos>& positions = m_doc->positions;
  positions.clear();
  positions.emplace_back();
  if (!m_doc->text.IsEmpty()) {
    // Documents hold about one element in 30 characters: room for one in 24 is asked for at
    // once, untouched until used, so that the array seldom moves while parsing. That is less
    // than the text's own size, so the allocator serves it from the room of texts already let
    // go instead of fresh pages. The room a document already has is kept from one parse to
    // the next.
    positions.reserve(static_cast<std::size_t>(m_doc->text.GetLength() / 24 + 8));
    const int root = ParseMarkupRoot(Text(), positions, m_strError);
    if (root > 0) {
      positions[0].iElemChild = root;
      return true;
    }
  }
  positions.resize(1);
  positions[0] = ElemPos{};
  return false;
}

CString CMarkup::GetDocumentText() const { return m_doc->text; }

CString CMarkup::GetError() const { return m_strError; }

bool CMarkup::EnterElement() {
  if (m_iPos == 0 || m_nNodeType != 1) return false;
  SetPositions(m_iPos, m_iPosChild, 0);
  return true;
}

bool CMarkup::LeaveElement() {
  if (m_iPosParent == 0) return false;
  SetPositions(At(m_iPosParent).iElemParent, m_iPosParent, m_iPos);
  return true;
}

bool CMarkup::NextElement() {
  if (!HasElements()) return false;
  const int next = m_iPos != 0 ? At(m_iPos).iElemNext : At(m_iPosParent).iElemChild;
  if (next == 0) return false;
  SetPositions(At(next).iElemParent, next, 0);
  return true;
}

bool CMarkup::NextLeafElement() {
  if (!HasElements()) return false;
  int slot = m_iPos != 0 ? At(m_iPos).iElemNext : At(m_iPosParent).iElemChild;
  int parent = m_iPos != 0 ? At(m_iPos).iElemParent : m_iPosParent;
  while (slot == 0) {
    if (parent == 0) return false;
    slot = At(parent).iElemNext;
    parent = At(parent).iElemParent;
  }
  while (At(slot).iElemChild != 0) slot = At(slot).iElemChild;
  SetPositions(At(slot).iElemParent, slot, 0);
  return true;
}

bool CMarkup::NextChildElement() {
  if (m_iPos == 0 && !NextElement()) return false;
  const int next = m_iPosChild != 0 ? At(m_iPosChild).iElemNext : At(m_iPos).iElemChild;
  if (next == 0) return false;
  const int current = At(next).iElemParent;
  SetPositions(At(current).iElemParent, current, next);
  return true;
}

CString CMarkup::GetElementName() const { return ToCString(Name(m_iPos)); }

bool CMarkup::ElementNameIs(std::u16string_view lowerName) const {
  if (m_iPos == 0) return false;
  const std::u16string_view doc = Text();
  const std::size_t first = static_cast<std::size_t>(At(m_iPos).nStartL) + 1;
  if (first + lowerName.size() >= doc.size()) return false;
  return zx::MatchesLowerAscii(doc.data() + first, lowerName.data(), lowerName.size()) &&
         CMarkupScanner::IsDelimiter(doc[first + lowerName.size()]);
}

CString CMarkup::GetElementText() const {
  CString text;
  GetElementText(text);
  return text;
}

void CMarkup::GetElementText(CString& text) const {
  text.Empty();
  if (m_iPos == 0) return;
  const ElemPos& pos = At(m_iPos);
  if (pos.iElemChild == 0) ReadMarkupLeafData(Text(), pos, text);
}
