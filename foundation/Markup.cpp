// CMarkup: parsing without recursion, the navigation cursors and reading names and data.
#include "Markup.h"

#include "MarkupScanner.h"
#include "MarkupText.h"

namespace {

constexpr LPCTSTR kNoElementTag = _T("Element tag not found");
constexpr LPCTSTR kAbruptEnd = _T("Abrupt end within tag");
constexpr LPCTSTR kQuotedTag = _T("Tag starts with quote");
constexpr LPCTSTR kInvalidNode = _T("Invalid node");
constexpr LPCTSTR kNoTagEnd = _T("End of tag not found");
constexpr LPCTSTR kNoEndTag = _T("Expecting end tag of element %s");
constexpr LPCTSTR kWrongEndTag = _T("End tag does not correspond to %s");
constexpr LPCTSTR kOpenEndTag = _T("End tag not completed for element %s");

constexpr std::u16string_view kCDataOpen = u"<![CDATA[";
constexpr std::u16string_view kCDataClose = u"]]>";

CString ToCString(std::u16string_view text) {
  return CString(text.data(), static_cast<int>(text.size()));
}

}  // namespace

CMarkup::CMarkup() : m_iPosParent(0), m_iPos(0), m_iPosChild(0), m_iPosFree(1), m_nNodeType(0) {
  SetDocumentText(nullptr);
}

CMarkup::~CMarkup() = default;

void CMarkup::SetPositions(int parent, int current, int child) {
  m_iPosParent = parent;
  m_iPos = current;
  m_iPosChild = child;
  m_nNodeType = current != 0 ? 1 : 0;
}

int CMarkup::NewSlot() {
  if (m_iPosFree == static_cast<int>(m_aPos.size())) m_aPos.resize(m_aPos.size() + m_aPos.size() / 2);
  const int slot = m_iPosFree++;
  m_aPos[slot] = ElemPos{};
  return slot;
}

std::u16string_view CMarkup::Name(int slot) const {
  if (slot == 0) return {};
  CMarkupScanner scanner(Text(), m_aPos[slot].nStartL + 1);
  scanner.NextToken();
  return scanner.Token();
}

bool CMarkup::SetDocumentText(LPCTSTR text) { return SetDocumentText(CString(text)); }

bool CMarkup::SetDocumentText(const CString& text) {
  m_iPosFree = 1;
  SetPositions(0, 0, 0);
  m_strDoc = text;
  m_strError.Empty();
  const std::size_t wanted = static_cast<std::size_t>(m_strDoc.GetLength() / 64 + 8);
  if (m_aPos.size() < wanted) m_aPos.resize(wanted);
  m_aPos[0] = ElemPos{};
  if (!m_strDoc.IsEmpty()) {
    const int root = ParseDocument();
    if (root > 0) {
      m_aPos[0].iElemChild = root;
      return true;
    }
  }
  m_aPos[0] = ElemPos{};
  m_iPosFree = 1;
  return false;
}

// The recursive element grammar run as a loop over a stack of the open elements: the top one
// is the parent whose content is being scanned (its end-tag-left field is the scan position).
int CMarkup::ParseDocument() {
  struct Open {
    int slot;
    int lastChild;  // the last child linked so far
    std::u16string_view name;
  };
  std::vector<Open> open{{0, 0, {}}};
  for (;;) {
    Open& parent = open.back();
    std::u16string_view name;
    const int slot = ParseStartTag(parent.slot, name);
    if (slot < 0) return -1;
    if (slot == 0) {
      // The end tag of the parent; at document level there is no root element.
      if (parent.slot == 0) return 0;
      if (ParseEndTag(parent.slot, parent.name) < 0) return -1;
      const int closed = parent.slot;
      open.pop_back();
      if (open.back().slot == 0) return closed;
      m_aPos[open.back().slot].nEndL = m_aPos[closed].nEndR + 1;
      continue;
    }
    if (parent.lastChild == 0) {
      m_aPos[parent.slot].iElemChild = slot;
    } else {
      m_aPos[parent.lastChild].iElemNext = slot;
    }
    parent.lastChild = slot;
    if (!m_aPos[slot].IsEmptyElement()) {
      m_aPos[slot].nEndL = m_aPos[slot].nStartR + 1;
      open.push_back({slot, 0, name});
    } else {
      if (parent.slot == 0) return slot;
      m_aPos[parent.slot].nEndL = m_aPos[slot].nEndR + 1;
    }
  }
}

// The start of the next element under `parent`, from the parent's scan position: its new
// slot, 0 when the parent's end tag comes first, -1 on an error. An element written
// "<name/>" is complete; any other is left open with its name in `name`.
int CMarkup::ParseStartTag(int parent, std::u16string_view& name) {
  const std::u16string_view doc = Text();
  const int length = static_cast<int>(doc.size());
  CMarkupScanner scanner(doc);
  int from = m_aPos[parent].nEndL;
  int lt = 0;
  for (;;) {
    lt = CMarkupScanner::Find(doc, from, '<');
    if (lt == length) return Fail(kNoElementTag, 0);
    m_aPos[parent].nEndL = lt;
    // The usual "<name" and "</" are read directly, anything else token by token.
    const WCHAR next = lt + 1 < length ? doc[lt + 1] : 0;
    if (next != 0 && CMarkupScanner::StartsName(next)) {
      const int end = CMarkupScanner::FindDelimiter(doc, lt + 2);
      name = doc.substr(static_cast<std::size_t>(lt) + 1, static_cast<std::size_t>(end - lt - 1));
      scanner.MoveTo(end);
      break;
    }
    scanner.MoveTo(lt + 1);
    if (next != '/') {
      if (!scanner.NextToken()) return Fail(kAbruptEnd, 0);
      if (scanner.IsQuoted()) return Fail(kQuotedTag, 0);
    }
    if (next == '/' || scanner.TokenIs('/')) return 0;
    if (!scanner.TokenIs('!') && !scanner.TokenIs('?')) {
      name = scanner.Token();
      break;
    }
    if (!scanner.SkipNode(lt)) return Fail(kInvalidNode, 0);
    from = scanner.Position();
  }
  if (!scanner.FindChar('>')) return Fail(kNoTagEnd, 0);
  const int slot = NewSlot();
  ElemPos& pos = m_aPos[slot];
  pos.nStartL = lt;
  pos.iElemParent = parent;
  pos.nStartR = scanner.Position();
  pos.nEndL = pos.nStartR + 1;  // the content starts here, if any
  if (Text()[static_cast<std::size_t>(pos.nStartR) - 1] == '/') {
    pos.nEndL = pos.nStartR - 1;
    pos.nEndR = pos.nStartR;
  }
  return slot;
}

// The end tag of `slot`, named `name`, whose scan position stands on its "<" (the parse of
// its content stopped there): the slot, or -1 on an error.
int CMarkup::ParseEndTag(int slot, std::u16string_view name) {
  const std::u16string_view doc = Text();
  CMarkupScanner scanner(doc, m_aPos[slot].nEndL);
  const std::size_t lt = static_cast<std::size_t>(scanner.Position());
  // The usual "</name>" needs no tokens.
  const std::size_t close = lt + 2 + name.size();
  if (close < doc.size() && doc[lt + 1] == '/' && doc[close] == '>' && doc.substr(lt + 2, name.size()) == name) {
    m_aPos[slot].nEndR = static_cast<int>(close);
    return slot;
  }
  scanner.MoveTo(static_cast<int>(lt) + 1);
  for (int count = 0;; ++count) {
    if (!scanner.NextToken()) return Fail(kOpenEndTag, slot);
    if (scanner.IsQuoted()) continue;
    if (count == 0 && !scanner.TokenIs('/')) return Fail(kNoEndTag, slot);
    if (count == 1 && !scanner.TokenMatches(name)) return Fail(kWrongEndTag, slot);
    if (count >= 2 && scanner.TokenIs('>')) {
      m_aPos[slot].nEndR = scanner.TokenStart();
      return slot;
    }
  }
}

// Records the message, with the name of element `named` for "%s", and answers -1. The slots
// of a failed parse are all given back by SetDocumentText.
int CMarkup::Fail(LPCTSTR message, int named) {
  m_strError = message;
  if (named != 0) m_strError.Replace(_T("%s"), ToCString(Name(named)));
  return -1;
}

CString CMarkup::GetDocumentText() const { return m_strDoc; }

CString CMarkup::GetError() const { return m_strError; }

bool CMarkup::EnterElement() {
  if (m_iPos == 0 || m_nNodeType != 1) return false;
  SetPositions(m_iPos, m_iPosChild, 0);
  return true;
}

bool CMarkup::LeaveElement() {
  if (m_iPosParent == 0) return false;
  SetPositions(m_aPos[m_iPosParent].iElemParent, m_iPosParent, m_iPos);
  return true;
}

bool CMarkup::NextElement() {
  if (m_iPosFree == 1) return false;
  const int next = m_iPos != 0 ? m_aPos[m_iPos].iElemNext : m_aPos[m_iPosParent].iElemChild;
  if (next == 0) return false;
  SetPositions(m_aPos[next].iElemParent, next, 0);
  return true;
}

bool CMarkup::NextChildElement() {
  if (m_iPos == 0 && !NextElement()) return false;
  const int next = m_iPosChild != 0 ? m_aPos[m_iPosChild].iElemNext : m_aPos[m_iPos].iElemChild;
  if (next == 0) return false;
  const int current = m_aPos[next].iElemParent;
  SetPositions(m_aPos[current].iElemParent, current, next);
  return true;
}

CString CMarkup::GetElementName() const { return ToCString(Name(m_iPos)); }

CString CMarkup::GetElementText() const {
  if (m_iPos == 0) return CString();
  const ElemPos& pos = m_aPos[m_iPos];
  if (pos.iElemChild != 0 || pos.IsEmptyElement()) return CString();
  const std::u16string_view doc = Text();
  const int end = pos.nEndL;
  CMarkupScanner scanner(doc, pos.nStartR + 1);
  scanner.SkipWhiteSpace();
  const int first = scanner.Position();
  if (end - first >= 12 && doc.substr(static_cast<std::size_t>(first), kCDataOpen.size()) == kCDataOpen) {
    const std::size_t close = doc.find(kCDataClose, static_cast<std::size_t>(first) + kCDataOpen.size());
    if (close != std::u16string_view::npos && close + kCDataClose.size() <= static_cast<std::size_t>(end)) {
      const std::size_t data = static_cast<std::size_t>(first) + kCDataOpen.size();
      return ToCString(doc.substr(data, close - data));
    }
  }
  const std::size_t start = static_cast<std::size_t>(pos.nStartR) + 1;
  return UnescapeMarkupText(doc.substr(start, static_cast<std::size_t>(end) - start));
}
