// Device contexts: memory, display and surface DCs, their objects, saved states and device
// capabilities.
#include "dc.h"

#include <cstring>
#include <mutex>

#include "errhandlingapi.h"
#include "zx/gdi.h"

namespace zx::gdi {
namespace {

struct Display {
  std::mutex lock;
  std::shared_ptr<BitmapObject> bitmap;
  HBITMAP handle = nullptr;
};

Display& TheDisplay() {
  static Display* display = new Display;  // lives past static destruction
  return *display;
}

std::shared_ptr<BitmapObject> DisplaySurface() {
  Display& d = TheDisplay();
  std::lock_guard<std::mutex> g(d.lock);
  if (!d.bitmap) {
    d.bitmap = BitmapObject::Create(1024, 768, 0xFF000000u);
    d.handle = static_cast<HBITMAP>(InsertObject(d.bitmap, true));
  }
  return d.bitmap;
}

// The 1 x 1 bitmap a new memory DC holds; any number of DCs may hold it.
HGDIOBJ DefaultBitmap() {
  static HGDIOBJ handle = InsertObject(BitmapObject::Create(1, 1, 0xFF000000u), true);
  return handle;
}

template <class T>
void Select(HGDIOBJ handle, std::shared_ptr<T>& slot, HGDIOBJ& slotHandle) {
  slot = ReferenceAs<T>(handle);
  slotHandle = handle;
}

void InitialObjects(DcState& s, bool memory) {
  Select(GetStockObject(BLACK_PEN), s.pen, s.penHandle);
  Select(GetStockObject(WHITE_BRUSH), s.brush, s.brushHandle);
  Select(GetStockObject(SYSTEM_FONT), s.font, s.fontHandle);
  if (memory) Select(DefaultBitmap(), s.bitmap, s.bitmapHandle);
}

bool IsSharedBitmap(HGDIOBJ handle) { return IsStockObject(handle); }

// Takes the bitmap for a memory DC; false when another DC holds it.
bool ClaimBitmap(BitmapObject& bitmap, HGDIOBJ handle, const void* dc) {
  if (IsSharedBitmap(handle)) return true;
  const void* expected = nullptr;
  return bitmap.selectedIn.compare_exchange_strong(expected, dc) || expected == dc;
}

void ReleaseBitmap(DcState& s, const void* dc) {
  if (!s.bitmap || IsSharedBitmap(s.bitmapHandle)) return;
  const void* expected = dc;
  s.bitmap->selectedIn.compare_exchange_strong(expected, nullptr);
}

}  // namespace

DcObject::DcObject(Target target, std::shared_ptr<BitmapObject> surface)
    : GdiObject(target == Target::Memory ? OBJ_MEMDC : OBJ_DC), target_(target),
      surface_(std::move(surface)) {
  InitialObjects(state_, target == Target::Memory);
}

DcObject::~DcObject() {
  if (cairo_) cairo_destroy(cairo_);
}

BitmapObject* DcObject::Bitmap() const {
  return target_ == Target::Memory ? state_.bitmap.get() : surface_.get();
}

std::shared_ptr<BitmapObject> DcObject::BitmapRef() const {
  return target_ == Target::Memory ? state_.bitmap : surface_;
}

void DcObject::SetArea(POINT origin, std::optional<Region> visible) {
  origin_ = origin;
  visible_ = std::move(visible);
  Invalidate();
}

POINT DcObject::LogicalOffset() const {
  return {state_.viewportOrg.x - state_.windowOrg.x, state_.viewportOrg.y - state_.windowOrg.y};
}

POINT DcObject::ToSurface(int x, int y) const {
  const POINT offset = LogicalOffset();
  return {x + offset.x + origin_.x, y + offset.y + origin_.y};
}

RECT DcObject::DeviceBounds() const {
  const BitmapObject* b = Bitmap();
  if (!b) return {0, 0, 0, 0};
  return {-origin_.x, -origin_.y, b->width() - origin_.x, b->height() - origin_.y};
}

const Region& DcObject::Drawable() {
  if (!drawable_) {
    const BitmapObject* b = Bitmap();
    Region area(RECT{0, 0, b ? b->width() : 0, b ? b->height() : 0});
    for (const std::optional<Region>* limit : {&visible_, &state_.clip}) {
      if (!*limit) continue;
      Region shifted = **limit;
      shifted.Translate(origin_.x, origin_.y);
      area.Intersect(shifted);
    }
    drawable_ = std::move(area);
  }
  return *drawable_;
}

Region DcObject::DeviceClip() {
  Region clip = Drawable();
  clip.Translate(-origin_.x, -origin_.y);
  return clip;
}

void DcObject::Invalidate() {
  drawable_.reset();
  prepared_ = false;
}

cairo_t* DcObject::Cairo() {
  BitmapObject* b = Bitmap();
  if (!b) return nullptr;
  cairo_surface_t* surface = b->Surface();
  if (surface != cairoSurface_ || !cairo_) {
    if (cairo_) cairo_destroy(cairo_);
    cairo_ = cairo_create(surface);
    cairo_set_antialias(cairo_, CAIRO_ANTIALIAS_NONE);
    cairoSurface_ = surface;
    prepared_ = false;
  }
  if (!prepared_) {
    cairo_reset_clip(cairo_);
    cairo_identity_matrix(cairo_);
    cairo_new_path(cairo_);
    const Region& area = Drawable();
    for (int i = 0; i < area.RectCount(); ++i) {
      const RECT r = area.RectAt(i);
      cairo_rectangle(cairo_, r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
    cairo_clip(cairo_);
    const POINT offset = LogicalOffset();
    cairo_translate(cairo_, offset.x + origin_.x, offset.y + origin_.y);
    prepared_ = true;
  }
  return cairo_;
}

void DcObject::Finish() {
  if (BitmapObject* b = Bitmap()) b->Changed();
}

std::shared_ptr<DcObject> DcFromHandle(HDC dc) {
  auto object = ReferenceAs<DcObject>(dc);
  if (!object) SetLastError(ERROR_INVALID_HANDLE);
  return object;
}

HDC CreateSurfaceDC(HBITMAP surface) {
  auto bitmap = ReferenceAs<BitmapObject>(surface);
  if (!bitmap) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return Insert<HDC>(std::make_shared<DcObject>(DcObject::Target::Surface, std::move(bitmap)));
}

BOOL SetSurfaceDCArea(HDC dc, POINT origin, HRGN visible) {
  auto object = DcFromHandle(dc);
  if (!object || object->target() != DcObject::Target::Surface) return FALSE;
  std::optional<Region> area;
  if (visible) {
    auto region = ReferenceAs<RegionObject>(visible);
    if (!region) {
      SetLastError(ERROR_INVALID_HANDLE);
      return FALSE;
    }
    area = region->region;
  }
  object->SetArea(origin, std::move(area));
  return TRUE;
}

void SetDisplayBitmap(HBITMAP screen) {
  auto bitmap = ReferenceAs<BitmapObject>(screen);
  if (!bitmap) return;
  Display& d = TheDisplay();
  std::lock_guard<std::mutex> g(d.lock);
  d.bitmap = std::move(bitmap);
  d.handle = screen;
}

HBITMAP DisplayBitmap() {
  DisplaySurface();
  Display& d = TheDisplay();
  std::lock_guard<std::mutex> g(d.lock);
  return d.handle;
}

}  // namespace zx::gdi

using namespace zx::gdi;

HDC CreateDCW(LPCWSTR driver, LPCWSTR /*device*/, LPCWSTR /*port*/, const void* /*devMode*/) {
  static const char16_t kDisplay[] = u"DISPLAY";
  bool display = driver != nullptr;
  for (int i = 0; display && i < 8; ++i) {
    char16_t c = driver[i];
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
    display = c == kDisplay[i];
  }
  if (!display) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return Insert<HDC>(std::make_shared<DcObject>(DcObject::Target::Display, DisplaySurface()));
}

HDC CreateCompatibleDC(HDC dc) {
  if (dc && !DcFromHandle(dc)) return nullptr;
  return Insert<HDC>(std::make_shared<DcObject>(DcObject::Target::Memory, nullptr));
}

BOOL DeleteDC(HDC dc) {
  auto object = DcFromHandle(dc);
  if (!object) return FALSE;
  ReleaseBitmap(object->state(), object.get());
  for (DcState& s : object->saved()) ReleaseBitmap(s, object.get());
  RemoveObject(dc);
  return TRUE;
}

int SaveDC(HDC dc) {
  auto object = DcFromHandle(dc);
  if (!object) return 0;
  object->saved().push_back(object->state());
  return static_cast<int>(object->saved().size());
}

BOOL RestoreDC(HDC dc, int savedDc) {
  auto object = DcFromHandle(dc);
  if (!object) return FALSE;
  auto& saved = object->saved();
  const int count = static_cast<int>(saved.size());
  const int level = savedDc < 0 ? count + 1 + savedDc : savedDc;
  if (level < 1 || level > count) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DcState restored = saved[level - 1];
  if (restored.bitmap && restored.bitmap != object->state().bitmap &&
      !ClaimBitmap(*restored.bitmap, restored.bitmapHandle, object.get()))
    return FALSE;
  if (restored.bitmap != object->state().bitmap) ReleaseBitmap(object->state(), object.get());
  object->state() = std::move(restored);
  saved.resize(level - 1);
  object->Invalidate();
  return TRUE;
}

int GetDeviceCaps(HDC dc, int index) {
  auto object = DcFromHandle(dc);
  if (!object) return 0;
  auto screen = DisplaySurface();
  switch (index) {
    case DRIVERVERSION: return 0x4000;
    case TECHNOLOGY: return DT_RASDISPLAY;
    case HORZRES:
    case DESKTOPHORZRES: return screen->width();
    case VERTRES:
    case DESKTOPVERTRES: return screen->height();
    case HORZSIZE: return screen->width() * 254 / 960;  // millimetres at 96 pixels per inch
    case VERTSIZE: return screen->height() * 254 / 960;
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case RASTERCAPS:
      return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB;
    case ASPECTX:
    case ASPECTY: return 36;
    case ASPECTXY: return 51;
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    case SIZEPALETTE: return 0;
    case COLORRES: return 24;
    case VREFRESH: return 60;
    case SHADEBLENDCAPS: return SB_CONST_ALPHA | SB_PIXEL_ALPHA | SB_PREMULT_ALPHA;
    default: return 0;
  }
}

BOOL GdiFlush() { return TRUE; }

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  auto target = DcFromHandle(dc);
  if (!target) return nullptr;
  auto selected = ReferenceObject(object);
  if (!selected) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  DcState& s = target->state();
  HGDIOBJ previous = nullptr;
  switch (selected->type()) {
    case OBJ_PEN:
      previous = s.penHandle;
      Select(object, s.pen, s.penHandle);
      return previous;
    case OBJ_BRUSH:
      previous = s.brushHandle;
      Select(object, s.brush, s.brushHandle);
      return previous;
    case OBJ_FONT:
      previous = s.fontHandle;
      Select(object, s.font, s.fontHandle);
      return previous;
    case OBJ_REGION:
      return reinterpret_cast<HGDIOBJ>(
          static_cast<LONG_PTR>(SelectClipRgn(dc, static_cast<HRGN>(object))));
    case OBJ_BITMAP: {
      if (target->target() != DcObject::Target::Memory) break;
      auto bitmap = std::static_pointer_cast<BitmapObject>(selected);
      if (bitmap == s.bitmap) return object;
      if (!ClaimBitmap(*bitmap, object, target.get())) break;
      ReleaseBitmap(s, target.get());
      previous = s.bitmapHandle;
      s.bitmap = std::move(bitmap);
      s.bitmapHandle = object;
      target->Invalidate();
      return previous;
    }
    default:
      break;
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return nullptr;
}

HGDIOBJ GetCurrentObject(HDC dc, UINT type) {
  auto target = DcFromHandle(dc);
  if (!target) return nullptr;
  const DcState& s = target->state();
  switch (type) {
    case OBJ_PEN: return s.penHandle;
    case OBJ_BRUSH: return s.brushHandle;
    case OBJ_FONT: return s.fontHandle;
    case OBJ_BITMAP: return target->target() == DcObject::Target::Memory ? s.bitmapHandle : nullptr;
    default: return nullptr;
  }
}

BOOL DeleteObject(HGDIOBJ object) {
  const auto value = reinterpret_cast<ULONG_PTR>(object);
  if (value >= 1 && value <= 31) return TRUE;  // system-colour brushes
  auto found = ReferenceObject(object);
  if (!found || found->type() == OBJ_DC || found->type() == OBJ_MEMDC ||
      found->type() == kIconType) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return RemoveObject(object) ? TRUE : FALSE;
}

DWORD GetObjectType(HGDIOBJ object) {
  auto found = ReferenceObject(object);
  if (!found || found->type() == kIconType) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return found->type();
}

namespace {
template <class T>
int CopyOut(const T& value, int size, LPVOID buffer) {
  if (!buffer) return sizeof(T);
  if (size < static_cast<int>(sizeof(T))) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(buffer, &value, sizeof(T));
  return sizeof(T);
}
}  // namespace

int GetObjectW(HGDIOBJ object, int size, LPVOID buffer) {
  auto found = ReferenceObject(object);
  if (!found) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  switch (found->type()) {
    case OBJ_BITMAP: {
      auto& b = static_cast<BitmapObject&>(*found);
      BITMAP bm{0, b.width(), b.height(), b.width() * 4, 1, 32, b.dibBits()};
      if (b.isDib() && (!buffer || size >= static_cast<int>(sizeof(DIBSECTION)))) {
        DIBSECTION ds{};
        ds.dsBm = bm;
        ds.dsBmih = {sizeof(BITMAPINFOHEADER), b.width(), b.bottomUp() ? b.height() : -b.height(),
                     1, 32, BI_RGB, static_cast<DWORD>(b.width() * b.height() * 4), 0, 0, 0, 0};
        return CopyOut(ds, size, buffer);
      }
      return CopyOut(bm, size, buffer);
    }
    case OBJ_PEN: {
      auto& p = static_cast<PenObject&>(*found);
      return CopyOut(LOGPEN{static_cast<UINT>(p.style), {p.width, 0}, p.color}, size, buffer);
    }
    case OBJ_BRUSH: {
      auto& b = static_cast<BrushObject&>(*found);
      return CopyOut(LOGBRUSH{b.hollow ? UINT{BS_NULL} : UINT{BS_SOLID}, b.color, 0}, size, buffer);
    }
    case OBJ_FONT:
      return CopyOut(static_cast<FontObject&>(*found).logFont, size, buffer);
    default:
      SetLastError(ERROR_INVALID_HANDLE);
      return 0;
  }
}
