// The answer records' texts, kept block by block.
#include "AnswerText.h"

#include <algorithm>

CAnswerText CAnswerTexts::Add(std::u16string_view text) {
  if (text.empty()) return CAnswerText();
  const std::size_t units = text.size() + 1;
  WCHAR* room = nullptr;
  if (units > kBlockUnits) {
    m_long.push_back(std::make_unique_for_overwrite<WCHAR[]>(units));
    room = m_long.back().get();
  } else {
    if (m_blocks.empty() || m_used + units > kBlockUnits) {
      if (!m_blocks.empty()) ++m_block;
      if (m_block == m_blocks.size()) m_blocks.push_back(std::make_unique_for_overwrite<WCHAR[]>(kBlockUnits));
      m_used = 0;
    }
    room = m_blocks[m_block].get() + m_used;
    m_used += units;
  }
  std::copy(text.begin(), text.end(), room);
  room[text.size()] = 0;
  return CAnswerText(room, static_cast<std::uint32_t>(text.size()));
}

void CAnswerTexts::Reuse() {
  m_long.clear();
  m_block = 0;
  m_used = 0;
}
