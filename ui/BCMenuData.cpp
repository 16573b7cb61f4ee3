// BCMenuData: the item record's text.
#include "BCMenuData.h"

#include <cstring>

void BCMenuData::SetWideString(LPCWSTR text) {
  delete[] m_szMenuText;
  m_szMenuText = nullptr;
  if (!text) return;
  std::size_t length = 0;
  while (text[length]) ++length;
  m_szMenuText = new WCHAR[length + 1];
  std::memcpy(m_szMenuText, text, (length + 1) * sizeof(WCHAR));
}
