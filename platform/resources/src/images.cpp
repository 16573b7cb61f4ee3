// LoadBitmapW, LoadImageW, LoadIconW and LoadCursorW: bitmaps from packed DIBs, icons and
// cursors from their directories (in the resources, or .ico and .cur files), shared handles
// for LR_SHARED, and the system's placeholder icons and cursors.
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <tuple>
#include <vector>

#include "bytes.h"
#include "errhandlingapi.h"
#include "lookup.h"
#include "windraw.h"
#include "zx/gdi.h"
#include "zx/pathmap.h"

using namespace zx::res;

namespace {

constexpr int kDefaultSide = 32;

// One image of an icon or cursor directory.
struct DirectoryEntry {
  int width = 0;
  int height = 0;
  int bits = 0;
  WORD id = 0;           // resources
  DWORD offset = 0;      // files
  DWORD size = 0;        // files
  POINT hotspot{0, 0};   // cursor files
};

// Entries of a directory: 6-byte header, then 14-byte (resources) or 16-byte (files)
// entries. False when it is malformed.
bool ReadDirectory(const BYTE* data, std::size_t size, bool cursor, bool file,
                   std::vector<DirectoryEntry>& entries) {
  ByteReader r(data, size);
  const WORD reserved = r.U16();
  const WORD type = r.U16();
  const WORD count = r.U16();
  if (!r.ok() || reserved != 0 || type != (cursor ? 2 : 1) || count == 0) return false;
  for (WORD i = 0; i < count; ++i) {
    DirectoryEntry e;
    if (cursor && !file) {
      e.width = r.U16();
      e.height = r.U16() / 2;  // colour and mask rows
      r.U16();
      e.bits = r.U16();
      r.U32();
      e.id = r.U16();
    } else {
      e.width = r.U8();
      e.height = r.U8();
      r.Skip(2);
      const WORD planesOrX = r.U16();
      const WORD bitsOrY = r.U16();
      if (cursor) e.hotspot = {planesOrX, bitsOrY};
      else e.bits = bitsOrY;
      e.size = r.U32();
      if (file) e.offset = r.U32();
      else e.id = r.U16();
      if (e.width == 0) e.width = 256;
      if (e.height == 0) e.height = 256;
    }
    if (!r.ok()) return false;
    entries.push_back(e);
  }
  return true;
}

const DirectoryEntry& Closest(const std::vector<DirectoryEntry>& entries, int width, int height) {
  const DirectoryEntry* best = &entries.front();
  auto score = [&](const DirectoryEntry& e) {
    return std::make_tuple(std::abs(e.width - width) + std::abs(e.height - height), -e.bits);
  };
  for (const DirectoryEntry& e : entries)
    if (score(e) < score(*best)) best = &e;
  return *best;
}

HICON IconFromResources(HMODULE module, LPCWSTR name, bool cursor, int width, int height) {
  const auto* group = Lookup(module, ResourceId::Number(cursor ? kGroupCursor : kGroupIcon),
                             ToResourceId(name));
  std::vector<DirectoryEntry> entries;
  if (!group || !ReadDirectory(group->data, group->size, cursor, false, entries)) return nullptr;
  const DirectoryEntry& chosen = Closest(entries, width, height);
  const auto* image =
      Lookup(module, ResourceId::Number(cursor ? kCursor : kIcon), ResourceId::Number(chosen.id));
  if (!image) return nullptr;
  return CreateIconFromResourceEx(image->data, image->size, cursor ? FALSE : TRUE, 0x00030000,
                                  width, height, LR_DEFAULTCOLOR);
}

bool ReadHostFile(LPCWSTR windowsPath, std::vector<BYTE>& bytes) {
  std::string host;
  DWORD error = ERROR_FILE_NOT_FOUND;
  if (!windowsPath || !zx::path::WindowsToHost(windowsPath, host, &error)) {
    SetLastError(error);
    return false;
  }
  std::ifstream in(host, std::ios::binary);
  if (!in) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return false;
  }
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

HANDLE ImageFromFile(LPCWSTR path, UINT type, int width, int height) {
  std::vector<BYTE> bytes;
  if (!ReadHostFile(path, bytes)) return nullptr;
  if (type == IMAGE_BITMAP) {
    if (bytes.size() <= sizeof(BITMAPFILEHEADER) || bytes[0] != 'B' || bytes[1] != 'M') {
      SetLastError(ERROR_INVALID_DATA);
      return nullptr;
    }
    return zx::gdi::CreateBitmapFromPackedDib(bytes.data() + sizeof(BITMAPFILEHEADER),
                                              bytes.size() - sizeof(BITMAPFILEHEADER));
  }
  const bool cursor = type == IMAGE_CURSOR;
  std::vector<DirectoryEntry> entries;
  if (!ReadDirectory(bytes.data(), bytes.size(), cursor, true, entries)) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  const DirectoryEntry& chosen = Closest(entries, width, height);
  if (chosen.offset > bytes.size() || chosen.size > bytes.size() - chosen.offset) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  // A cursor resource starts with its hot spot.
  std::vector<BYTE> image(cursor ? 4 : 0);
  if (cursor) {
    image[0] = static_cast<BYTE>(chosen.hotspot.x);
    image[1] = static_cast<BYTE>(chosen.hotspot.x >> 8);
    image[2] = static_cast<BYTE>(chosen.hotspot.y);
    image[3] = static_cast<BYTE>(chosen.hotspot.y >> 8);
  }
  const auto first = bytes.begin() + static_cast<std::ptrdiff_t>(chosen.offset);
  image.insert(image.end(), first, first + static_cast<std::ptrdiff_t>(chosen.size));
  return CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()),
                                  cursor ? FALSE : TRUE, 0x00030000, width, height, LR_DEFAULTCOLOR);
}

// The system's icons and cursors: a disc (icons) or an arrow (cursors) in a colour of its own.
HICON SystemImage(WORD id, bool cursor) {
  static const COLORREF kColours[] = {RGB(0x1F, 0x77, 0xB4), RGB(0xD6, 0x27, 0x28),
                                      RGB(0x2C, 0xA0, 0x2C), RGB(0xFF, 0x7F, 0x0E),
                                      RGB(0x94, 0x67, 0xBD), RGB(0x8C, 0x56, 0x4B),
                                      RGB(0xE3, 0x77, 0xC2), RGB(0x7F, 0x7F, 0x7F)};
  const COLORREF colour = kColours[id % (sizeof(kColours) / sizeof(kColours[0]))];
  std::vector<DWORD> pixels(kDefaultSide * kDefaultSide, 0);
  for (int y = 0; y < kDefaultSide; ++y) {
    for (int x = 0; x < kDefaultSide; ++x) {
      const int dx = 2 * x + 1 - kDefaultSide;
      const int dy = 2 * y + 1 - kDefaultSide;
      const bool inside = cursor ? (x <= y && y < 20 && x < 14) : dx * dx + dy * dy < 28 * 28;
      if (inside) pixels[y * kDefaultSide + x] = 0xFF000000u | (GetRValue(colour) << 16) |
                                                 (GetGValue(colour) << 8) | GetBValue(colour);
    }
  }
  HBITMAP image = CreateBitmap(kDefaultSide, kDefaultSide, 1, 32, pixels.data());
  HICON icon = zx::gdi::CreateIconFromBitmap(image, !cursor, POINT{0, 0});
  DeleteObject(image);
  return icon;
}

bool StillValid(HANDLE handle, UINT type) {
  if (type == IMAGE_BITMAP) return GetObjectType(handle) == OBJ_BITMAP;
  SIZE size{};
  return zx::gdi::GetIconSize(static_cast<HICON>(handle), size);
}

// Shared images: one handle per module, type, name and size.
struct SharedImages {
  std::mutex lock;
  std::map<std::tuple<HMODULE, UINT, bool, WORD, std::u16string, int, int>, HANDLE> handles;
};

SharedImages& TheShared() {
  static SharedImages* shared = new SharedImages;  // lives past static destruction
  return *shared;
}

HANDLE Load(HINSTANCE instance, LPCWSTR name, UINT type, int width, int height, UINT flags) {
  if (flags & LR_LOADFROMFILE) return ImageFromFile(name, type, width, height);
  if (!instance) {
    if (type == IMAGE_BITMAP || !IS_INTRESOURCE(name)) {
      SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
      return nullptr;
    }
    return SystemImage(static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)), type == IMAGE_CURSOR);
  }
  if (type == IMAGE_BITMAP) return LoadBitmapW(instance, name);
  return IconFromResources(instance, name, type == IMAGE_CURSOR, width, height);
}

}  // namespace

HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name) {
  if (!instance || !name) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  const auto* bitmap = Lookup(instance, ResourceId::Number(kBitmap), ToResourceId(name));
  if (!bitmap) return nullptr;
  return zx::gdi::CreateBitmapFromPackedDib(bitmap->data, bitmap->size);
}

HANDLE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int width, int height, UINT flags) {
  if (!name || type > IMAGE_CURSOR || width < 0 || height < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (type != IMAGE_BITMAP && width == 0 && height == 0) width = height = kDefaultSide;
  if (!(flags & LR_SHARED)) return Load(instance, name, type, width, height, flags);
  const ResourceId id = IS_INTRESOURCE(name) ? ToResourceId(name) : ResourceId::Name(name);
  const auto key = std::make_tuple(instance, type, id.isNumber, id.number, id.name, width, height);
  SharedImages& s = TheShared();
  std::lock_guard<std::mutex> g(s.lock);
  auto it = s.handles.find(key);
  if (it != s.handles.end() && StillValid(it->second, type)) return it->second;
  HANDLE loaded = Load(instance, name, type, width, height, flags);
  if (loaded) s.handles[key] = loaded;
  return loaded;
}

HICON LoadIconW(HINSTANCE instance, LPCWSTR name) {
  return static_cast<HICON>(LoadImageW(instance, name, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
}

HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name) {
  return static_cast<HCURSOR>(
      LoadImageW(instance, name, IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
}
