// The class image list (SetupDiGetClassImageList and its companions): a comctl image list of
// the known device setup classes' icons, with the class GUIDs kept in the list's own data
// (the Reserved field), which the layer tracks so that a stale or foreign value is refused.
#include <algorithm>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "classicons.h"
#include "commctrl.h"
#include "errhandlingapi.h"
#include "guiddef.h"
#include "objbase.h"
#include "setupapi.h"
#include "wingdi.h"
#include "zx/deviceclasses.h"

namespace {

// What a class image list keeps beside its images: the class of each image, in order.
struct ClassImageData {
  std::vector<GUID> classes;
  int unknownIndex = 0;
};

std::mutex g_liveMutex;
std::set<const ClassImageData*> g_live;

bool IsLive(const ClassImageData* data) {
  std::lock_guard lock(g_liveMutex);
  return g_live.count(data) != 0;
}

// The list's data behind a caller's structure, or null (with the last error set).
ClassImageData* CheckedData(const SP_CLASSIMAGELIST_DATA* listData) {
  if (listData == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto* data = reinterpret_cast<ClassImageData*>(listData->Reserved);
  if (listData->cbSize != sizeof(SP_CLASSIMAGELIST_DATA) || data == nullptr || !IsLive(data)) {
    SetLastError(ERROR_INVALID_USER_BUFFER);
    return nullptr;
  }
  return data;
}

std::unique_ptr<ClassImageData> KnownClasses() {
  auto data = std::make_unique<ClassImageData>();
  const auto* unknown = zx::devices::FindDeviceClass(u"Unknown");
  for (const zx::devices::DeviceClass& known : zx::devices::KnownDeviceClasses()) {
    if (&known == unknown) data->unknownIndex = static_cast<int>(data->classes.size());
    const std::u16string text(known.guid);
    GUID guid{};
    CLSIDFromString(reinterpret_cast<LPCOLESTR>(text.c_str()), &guid);
    data->classes.push_back(guid);
  }
  return data;
}

HIMAGELIST MakeImages(const ClassImageData& data) {
  const int count = static_cast<int>(data.classes.size());
  const std::vector<std::uint32_t> strip = zx::devices::DrawClassIconStrip(
      data.classes.size(), static_cast<std::size_t>(data.unknownIndex));
  HIMAGELIST list = ImageList_Create(zx::devices::kClassIconSize, zx::devices::kClassIconSize,
                                     ILC_COLOR32 | ILC_MASK, count, 0);
  HBITMAP bitmap = CreateBitmap(count * zx::devices::kClassIconSize,
                                zx::devices::kClassIconSize, 1, 32, strip.data());
  const DWORD key = zx::devices::kClassIconKey;
  const bool added = list != nullptr && bitmap != nullptr &&
                     ImageList_AddMasked(list, bitmap, RGB(key >> 16, key >> 8 & 0xFF, key & 0xFF)) == 0;
  if (bitmap != nullptr) DeleteObject(bitmap);
  if (!added && list != nullptr) {
    ImageList_Destroy(list);
    return nullptr;
  }
  return list;
}

}  // namespace

BOOL SetupDiGetClassImageList(PSP_CLASSIMAGELIST_DATA classImageListData) {
  if (classImageListData == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (classImageListData->cbSize != sizeof(SP_CLASSIMAGELIST_DATA)) {
    SetLastError(ERROR_INVALID_USER_BUFFER);
    return FALSE;
  }
  std::unique_ptr<ClassImageData> data = KnownClasses();
  HIMAGELIST images = MakeImages(*data);
  if (images == nullptr) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
  {
    std::lock_guard lock(g_liveMutex);
    g_live.insert(data.get());
  }
  classImageListData->ImageList = images;
  classImageListData->Reserved = reinterpret_cast<ULONG_PTR>(data.release());
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

BOOL SetupDiGetClassImageIndex(PSP_CLASSIMAGELIST_DATA classImageListData, const GUID* classGuid,
                               int* imageIndex) {
  const ClassImageData* data = CheckedData(classImageListData);
  if (data == nullptr) return FALSE;
  if (classGuid == nullptr || imageIndex == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const auto found = std::find_if(data->classes.begin(), data->classes.end(),
                                  [classGuid](const GUID& g) { return IsEqualGUID(g, *classGuid); });
  *imageIndex = found == data->classes.end() ? data->unknownIndex
                                             : static_cast<int>(found - data->classes.begin());
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

BOOL SetupDiDestroyClassImageList(PSP_CLASSIMAGELIST_DATA classImageListData) {
  ClassImageData* data = CheckedData(classImageListData);
  if (data == nullptr) return FALSE;
  {
    std::lock_guard lock(g_liveMutex);
    // A second destroy racing this one finds the data gone and is refused.
    if (g_live.erase(data) == 0) {
      SetLastError(ERROR_INVALID_USER_BUFFER);
      return FALSE;
    }
  }
  delete data;
  ImageList_Destroy(classImageListData->ImageList);
  classImageListData->ImageList = nullptr;
  classImageListData->Reserved = 0;
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}
