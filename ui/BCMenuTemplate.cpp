// The menu template and toolbar readers of BCMenu.
#include "BCMenuTemplate.h"

#include "winmenu.h"

namespace {

bool ReadWord(const BYTE* bytes, DWORD size, DWORD& pos, WORD& value) {
  if (pos > size || size - pos < 2) return false;
  value = static_cast<WORD>(bytes[pos] | (bytes[pos + 1] << 8));
  pos += 2;
  return true;
}

}  // namespace

bool ReadMenuTemplate(const BYTE* bytes, DWORD size, std::vector<BCMenuTemplateItem>& items) {
  items.clear();
  DWORD pos = 0;
  WORD version = 0, offset = 0;
  if (!bytes || !ReadWord(bytes, size, pos, version) || !ReadWord(bytes, size, pos, offset)) return false;
  pos += offset;
  std::vector<bool> ended{false};  // one entry per open level
  while (!ended.empty()) {
    BCMenuTemplateItem item;
    item.level = static_cast<int>(ended.size()) - 1;
    if (!ReadWord(bytes, size, pos, item.flags)) return false;
    if (!(item.flags & MF_POPUP) && !ReadWord(bytes, size, pos, item.id)) return false;
    for (WORD c = 0;;) {
      if (!ReadWord(bytes, size, pos, c)) return false;
      if (c == 0) break;
      item.text.push_back(static_cast<char16_t>(c));
    }
    const bool popup = item.flags & MF_POPUP;
    if (item.flags & MF_END) ended.back() = true;
    items.push_back(std::move(item));
    if (popup) {
      if (static_cast<int>(ended.size()) >= kMaxMenuDepth) return false;
      ended.push_back(false);
    } else {
      while (!ended.empty() && ended.back()) ended.pop_back();
    }
  }
  return true;
}

bool ReadToolbarTemplate(const BYTE* bytes, DWORD size, BCMenuToolbar& toolbar) {
  DWORD pos = 0;
  WORD version = 0, count = 0;
  BCMenuToolbar read;
  if (!bytes || !ReadWord(bytes, size, pos, version) || !ReadWord(bytes, size, pos, read.width) ||
      !ReadWord(bytes, size, pos, read.height) || !ReadWord(bytes, size, pos, count))
    return false;
  if (version != 1 || read.width == 0 || read.height == 0) return false;
  read.ids.resize(count);
  for (WORD& id : read.ids)
    if (!ReadWord(bytes, size, pos, id)) return false;
  toolbar = std::move(read);
  return true;
}
