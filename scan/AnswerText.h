// The texts of the answer records: each a view of characters kept, with a terminator, in the
// answer texts of the engine that read them (CAnswerTexts), which are written over when the
// next answer is read. A record so holds no allocation of its own per text.
#pragma once
#include <afx.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

class CAnswerText {
 public:
  CAnswerText() = default;

  std::u16string_view View() const { return {m_text, m_length}; }
  // The characters, ended by a zero.
  LPCWSTR GetString() const { return m_text; }
  int GetLength() const { return static_cast<int>(m_length); }
  bool IsEmpty() const { return m_length == 0; }
  CString Text() const { return CString(m_text, GetLength()); }
  void Empty() { *this = CAnswerText(); }

 private:
  friend class CAnswerTexts;
  CAnswerText(LPCWSTR text, std::uint32_t length) : m_text(text), m_length(length) {}

  LPCWSTR m_text = u"";
  std::uint32_t m_length = 0;
};

inline std::u16string_view View(const CAnswerText& text) { return text.View(); }

// The characters of one answer's texts, in blocks that never move while the answer is kept.
class CAnswerTexts {
 public:
  // A text kept until Reuse.
  CAnswerText Add(std::u16string_view text);
  // The texts handed out so far are done with: their room takes the next answer's texts.
  void Reuse();

 private:
  static constexpr std::size_t kBlockUnits = 32 * 1024;

  std::vector<std::unique_ptr<WCHAR[]>> m_blocks;  // of kBlockUnits each
  std::vector<std::unique_ptr<WCHAR[]>> m_long;    // texts longer than a block, one each
  std::size_t m_block = 0;                         // the block being filled
  std::size_t m_used = 0;                          // units of it taken
};
