// Parsing for CMarkup: the element grammar run as a loop over a stack of the open elements.
#include "MarkupParser.h"

#include <algorithm>

#include "MarkupScanner.h"

namespace {

constexpr LPCTSTR kNoElementTag = _T("Element tag not found");
constexpr LPCTSTR kAbruptEnd = _T("Abrupt end within tag");
constexpr LPCTSTR kQuotedTag = _T("Tag starts with quote");
constexpr LPCTSTR kInvalidNode = _T("Invalid node");
constexpr LPCTSTR kNoTagEnd = _T("End of tag not found");
constexpr LPCTSTR kNoEndTag = _T("Expecting end tag of element %s");
constexpr LPCTSTR kWrongEndTag = _T("End tag does not correspond to %s");
constexpr LPCTSTR kOpenEndTag = _T("End tag not completed for element %s");

// One parse of one document. The scan position within each open element's content is kept
// on a stack beside it; its end-tag-left field is set once its end tag is found. With a leaf
// sink, each element is let go as it ends, leaves handed to the sink first: its slot is then
// the last one, as every element ends after the elements within it, so the positions hold the
// open elements only and siblings are not linked.
class Parser {
 public:
  Parser(std::u16string_view doc, MarkupPositions& positions, CString& error, MarkupLeafSink* sink = nullptr)
      : doc_(doc), positions_(positions), error_(error), sink_(sink) {}

  int ParseRoot();

 private:
  // An element whose content is being scanned, with the scan position within it.
  struct Open {
    // Made where it is stored, from its parts: a copy through memory would be read back
    // before its parts are written.
    Open(int openSlot, int openFrom, std::u16string_view openName) : slot(openSlot), from(openFrom), name(openName) {}

    int slot;
    int lastChild = 0;  // the last child linked so far
    int from;           // the scan position within its content
    std::u16string_view name;
  };

  int NextTagLeft(int from) const;
  int ReadLeaves(Open& parent, std::u16string_view& name, bool& stopped);
  void Link(Open& parent, int slot);
  int ParseStartTag(int parent, int& from, std::u16string_view& name);
  int ParseEndTag(int slot, std::u16string_view name);
  int Fail(LPCTSTR message, std::u16string_view name = {});
  // The element at `slot` has ended. With a sink, it is handed to the sink when it has no
  // child elements, and let go; false when the sink asked for the end.
  bool Ended(int slot, std::u16string_view name);

  std::u16string_view doc_;
  MarkupPositions& positions_;
  CString& error_;
  MarkupLeafSink* sink_;
};

bool Parser::Ended(int slot, std::u16string_view name) {
  // Without a sink nothing is read back: the position was just written, part by part.
  if (sink_ == nullptr) return true;
  const CMarkup::ElemPos& pos = positions_[static_cast<std::size_t>(slot)];
  const bool goOn = pos.iElemChild != 0 || sink_->Leaf(name, pos);
  positions_.pop_back();
  return goOn;
}

// The top of the stack is the parent whose content is being scanned. The document's own
// end-tag-left field is left on the "<" of its root.
int Parser::ParseRoot() {
  std::vector<Open> open;
  open.emplace_back(0, 0, std::u16string_view());
  for (;;) {
    Open& parent = open.back();
    std::u16string_view name;
    if (parent.slot != 0) {
      bool stopped = false;
      const int opened = ReadLeaves(parent, name, stopped);
      if (stopped) return kMarkupSinkStopped;
      if (opened != 0) {
        open.emplace_back(opened, positions_[opened].nEndL, name);
        continue;
      }
    }
    const int slot = ParseStartTag(parent.slot, parent.from, name);
    if (slot < 0) return -1;
    if (slot == 0) {
      // The end tag of the parent; at document level there is no root element.
      positions_[parent.slot].nEndL = parent.from;
      if (parent.slot == 0) return 0;
      if (ParseEndTag(parent.slot, parent.name) < 0) return -1;
      const int after = positions_[parent.slot].nEndR + 1;
      if (!Ended(parent.slot, parent.name)) return kMarkupSinkStopped;
      open.pop_back();
      if (open.back().slot == 0) break;
      open.back().from = after;
      continue;
    }
    Link(parent, slot);
    const CMarkup::ElemPos& pos = positions_[slot];
    if (!pos.IsEmptyElement()) {
      open.emplace_back(slot, pos.nEndL, name);
      continue;
    }
    const int after = pos.nEndR + 1;
    if (!Ended(slot, name)) return kMarkupSinkStopped;
    if (parent.slot == 0) break;
    parent.from = after;
  }
  positions_[0].nEndL = open.front().from;
  return open.front().lastChild;
}

// The first "<" at or after `from`, or the length of the text. Tags are mostly apart by a line
// break or nothing: that gap is passed over before any search.
int Parser::NextTagLeft(int from) const {
  const int length = static_cast<int>(doc_.size());
  int lt = from;
  if (lt + 1 < length && doc_[lt] == '\r' && doc_[lt + 1] == '\n') lt += 2;
  if (lt < length && doc_[lt] != '<') lt = CMarkupScanner::Find(doc_, lt, '<');
  return lt;
}

void Parser::Link(Open& parent, int slot) {
  if (parent.lastChild == 0) {
    positions_[parent.slot].iElemChild = slot;
  } else if (sink_ == nullptr) {
    positions_[parent.lastChild].iElemNext = slot;
  }
  parent.lastChild = slot;
}

// Reads the elements under `parent` from its scan position on while they stand in the usual
// shape: "<name>data</name>", "<name/>" and "<name>" whose content goes on otherwise. Each is
// linked; the scan position is left after the last element closed. Answers the slot of an
// element left open, with its name in `name`, or 0 where anything else stands, for the token
// by token path, or when the sink asked for the end (`stopped`).
int Parser::ReadLeaves(Open& parent, std::u16string_view& name, bool& stopped) {
  const WCHAR* const doc = doc_.data();
  const int length = static_cast<int>(doc_.size());
  int from = parent.from;
  for (;;) {
    CMarkupScanner::ReadAhead(doc + from);
    const int lt = NextTagLeft(from);
    if (lt + 2 >= length || doc[lt + 1] == 0 || !CMarkupScanner::StartsName(doc[lt + 1])) break;
    const int after = CMarkupScanner::FindDelimiter(doc_, lt + 2);
    if (after + 1 >= length) break;
    const std::u16string_view tagName(doc + lt + 1, static_cast<std::size_t>(after - lt - 1));
    // Left open unless closed at once by its own end tag written without blanks.
    int startRight = after;
    int endLeft = after + 1;
    int endRight = 0;
    if (doc[after] == '>') {
      const int close = CMarkupScanner::Find(doc_, after + 1, '<');
      if (CMarkupScanner::ClosesWith(doc_, static_cast<std::size_t>(close), tagName)) {
        endLeft = close;
        endRight = close + 2 + static_cast<int>(tagName.size());
      }
    } else if (doc[after] == '/' && doc[after + 1] == '>') {
      startRight = after + 1;
      endLeft = after;
      endRight = after + 1;
    } else {
      break;
    }
    // Built in place: a copy through memory would be read back before its parts are written.
    positions_.push_back({lt, startRight, endLeft, endRight, parent.slot, 0, 0});
    const int slot = static_cast<int>(positions_.size()) - 1;
    Link(parent, slot);
    if (endRight == 0) {
      parent.from = lt;
      name = tagName;
      return slot;
    }
    if (!Ended(slot, tagName)) {
      stopped = true;
      return 0;
    }
    from = endRight + 1;
  }
  parent.from = from;
  return 0;
}

// The start of the next element under `parent`, scanning from `from`, which is left on the
// "<" of the last tag read: its new slot, 0 when the parent's end tag comes first, -1 on an
// error. An element written "<name/>" is complete; any other is left open with its name in
// `name`.
int Parser::ParseStartTag(int parent, int& from, std::u16string_view& name) {
  const int length = static_cast<int>(doc_.size());
  int lt = 0;
  int after = 0;  // just after the name
  for (;;) {
    lt = NextTagLeft(from);
    if (lt == length) return Fail(kNoElementTag);
    from = lt;
    // The usual "<name" and "</" are read directly, anything else token by token.
    const WCHAR next = lt + 1 < length ? doc_[lt + 1] : 0;
    if (next != 0 && CMarkupScanner::StartsName(next)) {
      after = CMarkupScanner::FindDelimiter(doc_, lt + 2);
      name = std::u16string_view(doc_.data() + lt + 1, static_cast<std::size_t>(after - lt - 1));
      break;
    }
    if (next == '/') return 0;
    CMarkupScanner scanner(doc_, lt + 1);
    if (!scanner.NextToken()) return Fail(kAbruptEnd);
    if (scanner.IsQuoted()) return Fail(kQuotedTag);
    if (scanner.TokenIs('/')) return 0;
    if (!scanner.TokenIs('!') && !scanner.TokenIs('?')) {
      name = scanner.Token();
      after = scanner.Position();
      break;
    }
    if (!scanner.SkipNode(lt)) return Fail(kInvalidNode);
    from = scanner.Position();
  }
  // The usual start tag ends right after its name.
  const int right = after < length && doc_[static_cast<std::size_t>(after)] == '>' ? after : CMarkupScanner::Find(doc_, after, '>');
  if (right == length) return Fail(kNoTagEnd);
  // The content starts after the start tag, if any; "<name/>" is complete.
  const bool empty = doc_[static_cast<std::size_t>(right) - 1] == '/';
  positions_.push_back({lt, right, empty ? right - 1 : right + 1, empty ? right : 0, parent, 0, 0});
  return static_cast<int>(positions_.size()) - 1;
}

// The end tag of `slot`, named `name`, whose scan position stands on its "<" (the parse of
// its content stopped there): the slot, or -1 on an error.
int Parser::ParseEndTag(int slot, std::u16string_view name) {
  const int lt = positions_[slot].nEndL;
  // The usual "</name>" needs no tokens.
  if (CMarkupScanner::ClosesWith(doc_, static_cast<std::size_t>(lt), name)) {
    positions_[slot].nEndR = lt + 2 + static_cast<int>(name.size());
    return slot;
  }
  CMarkupScanner scanner(doc_, lt + 1);
  for (int count = 0;; ++count) {
    if (!scanner.NextToken()) return Fail(kOpenEndTag, name);
    if (scanner.IsQuoted()) continue;
    if (count == 0 && !scanner.TokenIs('/')) return Fail(kNoEndTag, name);
    if (count == 1 && !scanner.TokenMatches(name)) return Fail(kWrongEndTag, name);
    if (count >= 2 && scanner.TokenIs('>')) {
      positions_[slot].nEndR = scanner.TokenStart();
      return slot;
    }
  }
}

// Records the message, with the element's name for "%s", and answers -1. The slots of a
// failed parse are all given back by the caller.
int Parser::Fail(LPCTSTR message, std::u16string_view name) {
  error_ = message;
  if (!name.empty()) error_.Replace(_T("%s"), CString(name.data(), static_cast<int>(name.size())));
  return -1;
}

}  // namespace

int TakeMarkupSlot(MarkupPositions& positions) {
  positions.emplace_back();
  return static_cast<int>(positions.size()) - 1;
}

std::u16string_view MarkupElementName(std::u16string_view doc, int startLeft) {
  // The usual "<name" is read directly, anything else token by token.
  const std::size_t first = static_cast<std::size_t>(startLeft) + 1;
  if (first < doc.size() && CMarkupScanner::StartsName(doc[first])) {
    const int end = CMarkupScanner::FindDelimiter(doc, startLeft + 2);
    return doc.substr(first, static_cast<std::size_t>(end) - first);
  }
  CMarkupScanner scanner(doc, startLeft + 1);
  scanner.NextToken();
  return scanner.Token();
}

int ParseMarkupRoot(std::u16string_view doc, MarkupPositions& positions, CString& error) {
  return Parser(doc, positions, error).ParseRoot();
}

int ReadMarkupLeaves(std::u16string_view doc, MarkupLeafSink& sink, CString& error) {
  MarkupPositions open(1);
  return Parser(doc, open, error, &sink).ParseRoot();
}
