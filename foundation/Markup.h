// CMarkup, the system's XML document: the whole document as one wide string and, beside it,
// an array of element positions. Parsing records positions only; names and data are cut from
// the string when read; writing inserts text and shifts the positions behind it. Callers walk
// a document with three cursors (parent, current element, current child). Copies share the
// text and the positions until one of them changes its document, so a copy costs the same
// whatever the size of the document.
#pragma once
#include <afx.h>

#include <memory>
#include <string_view>
#include <vector>

#include "HelperApi.h"

class ZXHELPER_API CMarkup {
 public:
  // Positions of one element; offsets are character indexes into the document.
  struct ElemPos {
    int nStartL;      // "<" of the start tag
    int nStartR;      // ">" of the start tag
    int nEndL;        // "<" of the end tag; for "<name/>" the "/"
    int nEndR;        // ">" of the end tag; for "<name/>" equal to nStartR
    int iElemParent;  // slot of the parent (0 = the document)
    int iElemChild;   // slot of the first child, 0 if none
    int iElemNext;    // slot of the next sibling, 0 if none
    bool IsEmptyElement() const { return nStartR == nEndL + 1; }
  };

  CMarkup();
  CMarkup(const CMarkup&) = default;
  CMarkup& operator=(const CMarkup&) = default;
  virtual ~CMarkup();

  // Replaces the document (an absent text reads as empty) and parses its root element; true
  // when one was parsed. On false the text is kept and no element is known (see GetError).
  // Parsing keeps no recursion: any depth of nesting is parsed on the heap. The CString form
  // takes the text by its length, zero characters included; a text handed over with
  // std::move becomes the document without a copy. A document not shared with a copy keeps
  // the room of its positions (and, for a copied text, of its text) for the next text.
  bool SetDocumentText(LPCTSTR text);
  bool SetDocumentText(const CString& text);
  bool SetDocumentText(CString&& text);
  CString GetDocumentText() const;
  // Message of the last failed parse, empty when there was none.
  CString GetError() const;

  // Adds an element, as the current element's child after the child position, or else after
  // the current element at its level. False when the position does not allow it (no current
  // element for a child; a second root) or the name is empty or holds characters that cannot
  // stand in a tag name (blanks, "<>=/\?!&" and quotes).
  bool AppendElement(LPCTSTR name, LPCTSTR value = nullptr, bool asChild = false);

  bool EnterElement();
  bool LeaveElement();
  bool NextElement();
  bool NextChildElement();
  // Depth first to the next element without children: to the next sibling of the current
  // element (with none current, to the first element under the parent position) and down
  // through first children; with no next sibling, out to the parent and on to its next
  // sibling. The cursors stand as stepping into the element and out again leaves them. False
  // when the document has no further element.
  bool NextLeafElement();
  // Name and data of the current element; empty when there is none.
  CString GetElementName() const;
  CString GetElementText() const;
  // The data written into `text`, whose room is reused: for reading many elements into
  // records without a new string for each.
  void GetElementText(CString& text) const;
  // Whether the current element's name is `lowerName` (lower-case ASCII, starting with a
  // letter) without regard to ASCII case: compared where the name stands, without finding
  // its end first.
  bool ElementNameIs(std::u16string_view lowerName) const;

 private:
  // The text and one entry per slot taken (slot 0 stands for the document itself).
  struct Document {
    CString text;
    std::vector<ElemPos> positions;
  };

  // Parses the document's text afresh into its positions.
  bool Parse();
  void SetPositions(int parent, int current, int child);
  std::u16string_view Name(int slot) const;
  std::u16string_view Text() const {
    return {m_doc->text.GetString(), static_cast<std::size_t>(m_doc->text.GetLength())};
  }
  const ElemPos& At(int slot) const { return m_doc->positions[static_cast<std::size_t>(slot)]; }
  bool HasElements() const { return m_doc->positions.size() > 1; }
  // The document to change: made this object's own first while a copy shares it.
  Document& Own();
  void ShiftBehind(Document& doc, int offset, int parent, int delta);
  static void Link(Document& doc, int slot, int parent, int reference);

  std::shared_ptr<Document> m_doc;
  CString m_strError;
  int m_iPosParent;
  int m_iPos;
  int m_iPosChild;
  int m_nNodeType;
};
