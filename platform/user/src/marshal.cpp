// Carrying message parameters to another process: texts and WM_COPYDATA as bytes, numbers as
// they are, pointers never.
#include "marshal.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <set>

#include "errhandlingapi.h"
#include "usertext.h"

namespace zx::user {

const char16_t* const kTextMessageNames[] = {
    u"QVX_SCHEDULER_MESSAGE_TO_BE_PASSED_TO_RUNNING_INSTANCE",
    nullptr,
};

namespace {

constexpr std::size_t kMaxTextUnits = 1u << 20;

std::mutex g_textIdsLock;
std::set<UINT>& TextIds() {
  static auto* ids = new std::set<UINT>;
  return *ids;
}

// System messages whose lParam points at a structure that does not cross processes.
bool PointsAtStructure(UINT message) {
  switch (message) {
    case WM_CREATE: case WM_NCCREATE: case WM_GETMINMAXINFO: case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED: case WM_NCCALCSIZE: case WM_DRAWITEM: case WM_MEASUREITEM:
    case WM_DELETEITEM: case WM_COMPAREITEM: case WM_NOTIFY: case WM_STYLECHANGING:
    case WM_STYLECHANGED: case WM_HELP: case WM_TIMER:
      return true;
    default:
      return false;
  }
}

// The common controls' messages whose lParam is a RECT read and filled by the control.
constexpr UINT kListItemRect = 0x100E;     // LVM_GETITEMRECT
constexpr UINT kListSubItemRect = 0x1038;  // LVM_GETSUBITEMRECT
constexpr UINT kHeaderItemRect = 0x1207;   // HDM_GETITEMRECT
constexpr UINT kTreeItemRect = 0x1104;     // TVM_GETITEMRECT (the item's handle in the RECT)

bool CarriesRect(UINT message) {
  return message == kListItemRect || message == kListSubItemRect || message == kHeaderItemRect ||
         message == kTreeItemRect;
}

std::string RectBytes(const RECT& r) {
  wire::Writer out;
  out.U32(static_cast<std::uint32_t>(r.left)).U32(static_cast<std::uint32_t>(r.top));
  out.U32(static_cast<std::uint32_t>(r.right)).U32(static_cast<std::uint32_t>(r.bottom));
  return out.Take();
}

bool ReadRect(const std::string& bytes, RECT* r) {
  wire::Reader in(bytes);
  std::uint32_t v[4];
  for (auto& part : v)
    if (!in.U32(&part)) return false;
  if (!in.AtEnd()) return false;
  *r = RECT{static_cast<LONG>(static_cast<std::int32_t>(v[0])), static_cast<LONG>(static_cast<std::int32_t>(v[1])),
            static_cast<LONG>(static_cast<std::int32_t>(v[2])), static_cast<LONG>(static_cast<std::int32_t>(v[3]))};
  return true;
}

bool Refuse() {
  SetLastError(ERROR_INVALID_PARAMETER);
  return false;
}

}  // namespace

void NoteRegisteredMessage(UINT id, const std::u16string& foldedName) {
  for (const char16_t* const* name = kTextMessageNames; *name; ++name) {
    if (FoldedName(*name) != foldedName) continue;
    std::lock_guard<std::mutex> guard(g_textIdsLock);
    TextIds().insert(id);
  }
}

ParamKind KindOf(UINT message) {
  switch (message) {
    case WM_SETTEXT: return ParamKind::kTextIn;
    case WM_GETTEXT: return ParamKind::kTextOut;
    case WM_COPYDATA: return ParamKind::kCopyData;
    default: break;
  }
  if (CarriesRect(message)) return ParamKind::kRect;
  if (message < 0xC000) return ParamKind::kValue;
  std::lock_guard<std::mutex> guard(g_textIdsLock);
  return TextIds().count(message) ? ParamKind::kTextIn : ParamKind::kValue;
}

bool PackParam(UINT message, WPARAM wParam, LPARAM lParam, wire::Writer& out) {
  ParamKind kind = lParam ? KindOf(message) : ParamKind::kValue;
  if (kind == ParamKind::kValue && lParam && PointsAtStructure(message)) return Refuse();
  if (kind == ParamKind::kTextOut && wParam > kMaxTextUnits) return Refuse();
  out.U64(kind == ParamKind::kValue ? static_cast<std::uint64_t>(lParam) : 0);
  out.U8(static_cast<std::uint8_t>(kind));
  switch (kind) {
    case ParamKind::kValue:
    case ParamKind::kTextOut:
      out.Bytes(nullptr, 0);
      break;
    case ParamKind::kTextIn: {
      const auto* text = reinterpret_cast<const char16_t*>(lParam);
      const std::u16string_view view(text);
      if (view.size() > kMaxTextUnits) return Refuse();
      out.Bytes(wire::Utf16Bytes(view));
      break;
    }
    case ParamKind::kRect:
      out.Bytes(RectBytes(*reinterpret_cast<const RECT*>(lParam)));
      break;
    case ParamKind::kCopyData: {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      if (data->cbData > wire::kMaxBody - 64 || (data->cbData && !data->lpData)) return Refuse();
      wire::Writer inner;
      inner.U64(data->dwData);
      std::string bytes = inner.Take();
      bytes.append(static_cast<const char*>(data->lpData), data->cbData);
      out.Bytes(bytes);
      break;
    }
  }
  return true;
}

bool UnpackParam(UINT message, WPARAM wParam, wire::Reader& in, LPARAM* lParam,
                 std::shared_ptr<Payload>* payload, ParamKind* kind) {
  std::uint64_t value;
  std::uint8_t rawKind;
  std::string bytes;
  if (!in.U64(&value) || !in.U8(&rawKind) || !in.Bytes(&bytes) || !in.AtEnd() || rawKind > 4)
    return Refuse();
  *kind = static_cast<ParamKind>(rawKind);
  *lParam = static_cast<LPARAM>(value);
  payload->reset();
  switch (*kind) {
    case ParamKind::kValue:
      // A number where this side expects an address is refused unless it is 0.
      if (value && (PointsAtStructure(message) || KindOf(message) != ParamKind::kValue))
        return Refuse();
      return true;
    case ParamKind::kTextIn: {
      auto p = std::make_shared<Payload>();
      if ((message != WM_SETTEXT && message < 0xC000) || bytes.size() / 2 > kMaxTextUnits ||
          !wire::FromUtf16Bytes(bytes, &p->text))
        return Refuse();
      *lParam = reinterpret_cast<LPARAM>(p->text.c_str());
      *payload = std::move(p);
      return true;
    }
    case ParamKind::kCopyData: {
      if (message != WM_COPYDATA || bytes.size() < 8) return Refuse();
      wire::Reader head(std::string_view(bytes).substr(0, 8));
      std::uint64_t dwData = 0;
      head.U64(&dwData);
      auto p = std::make_shared<Payload>();
      p->bytes.assign(bytes.begin() + 8, bytes.end());
      p->copyData.dwData = static_cast<ULONG_PTR>(dwData);
      p->copyData.cbData = static_cast<DWORD>(p->bytes.size());
      p->copyData.lpData = p->bytes.empty() ? nullptr : p->bytes.data();
      *lParam = reinterpret_cast<LPARAM>(&p->copyData);
      *payload = std::move(p);
      return true;
    }
    case ParamKind::kRect: {
      auto p = std::make_shared<Payload>();
      if (!CarriesRect(message) || !ReadRect(bytes, &p->rect)) return Refuse();
      *lParam = reinterpret_cast<LPARAM>(&p->rect);
      *payload = std::move(p);
      return true;
    }
    case ParamKind::kTextOut: {
      if (message != WM_GETTEXT || !bytes.empty() || wParam > kMaxTextUnits) return Refuse();
      auto p = std::make_shared<Payload>();
      p->buffer.assign(wParam + 1, u'\0');
      *lParam = reinterpret_cast<LPARAM>(p->buffer.data());
      *payload = std::move(p);
      return true;
    }
  }
  return Refuse();
}

void PackAnswer(ParamKind kind, const Payload* payload, LRESULT result, wire::Writer& out) {
  out.I64(result);
  if (kind == ParamKind::kRect && payload) {
    out.U8(static_cast<std::uint8_t>(ParamKind::kRect));
    out.Bytes(RectBytes(payload->rect));
    return;
  }
  if (kind != ParamKind::kTextOut || !payload) {
    out.U8(static_cast<std::uint8_t>(ParamKind::kValue));
    out.Bytes(nullptr, 0);
    return;
  }
  // What the receiver wrote, up to its terminator and never past the room it was given.
  const std::u16string& buffer = payload->buffer;
  const std::size_t room = buffer.empty() ? 0 : buffer.size() - 1;
  std::size_t n = 0;
  while (n < room && buffer[n]) ++n;
  out.U8(static_cast<std::uint8_t>(ParamKind::kTextOut));
  out.Bytes(wire::Utf16Bytes(std::u16string_view(buffer).substr(0, n)));
}

bool UnpackAnswer(UINT message, WPARAM wParam, LPARAM lParam, wire::Reader& in) {
  std::uint8_t kind;
  std::string bytes;
  std::u16string text;
  if (!in.U8(&kind) || !in.Bytes(&bytes) || !in.AtEnd()) return false;
  if (kind == static_cast<std::uint8_t>(ParamKind::kRect))
    return CarriesRect(message) && lParam && ReadRect(bytes, reinterpret_cast<RECT*>(lParam));
  if (!wire::FromUtf16Bytes(bytes, &text)) return false;
  if (kind != static_cast<std::uint8_t>(ParamKind::kTextOut)) return true;
  if (message != WM_GETTEXT || !lParam || wParam == 0) return false;
  CopyOut(text, reinterpret_cast<LPWSTR>(lParam), static_cast<int>(std::min<WPARAM>(wParam, 0x7FFFFFFF)));
  return true;
}

}  // namespace zx::user
